#include "EntryConversion.h"

#include <cwctype>
#include <filesystem>

#include "MapGis.h"

namespace {

constexpr char kLogUnit[] = "MapViewConvert";

std::wstring UpperExtension(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  std::wstring ext = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
  for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return ext;
}

// Runs the converters of the node's kind; `converted` is false when the
// kind has nothing to convert in this run.
long RunConverters(const FileNode& node, const EntryNames& names, bool labelsOnly, const ConverterInputs& in,
                   bool* converted, bool* companionFailed) {
  const std::wstring& source = node.path;
  const std::wstring ext = UpperExtension(node.name);
  const ConversionOptions& o = in.options;
  *converted = true;
  auto companion = [&](long result) { *companionFailed = result == MapGis::MAPGIS_WRITE_FAILED; };
  if (labelsOnly) return ConvertAnnotations(in, source, names.companion);
  if (ext == L".MPJ" && o.ExportLayerIndex != 0) return ConvertProjectIndex(in, source, names.main);
  if (ext == L".WT") {
    if (o.ExportAnnotation == 0) return ConvertPoints(in, source, names.main);
    const long result = ConvertSubPictures(in, source, names.main);
    companion(ConvertAnnotations(in, source, names.companion));
    return result;
  }
  if (ext == L".WL") return ConvertLines(in, source, names.main);
  if (ext == L".WP") {
    const long result = ConvertPolygons(in, source, names.main);
    if (o.ExportPolyArc != 0) companion(ConvertPolygonArcs(in, source, names.companion));
    return result;
  }
  if (ext == L".WB") return ConvertTable(in, source, names.main);
  if (ext == L".WN") {
    const long result = ConvertNetworkArcs(in, source, names.main);
    if (o.ExportNetNode != 0) companion(ConvertNetworkNodes(in, source, names.companion));
    return result;
  }
  *converted = false;
  return 0;
}

}  // namespace

EntryOutcome OutcomeOf(long result) {
  if (result == MapGis::MAPGIS_OK) return {EntryResult::Done, result};
  if (result == kEmptyResult) return {EntryResult::Empty, result};
  return {EntryResult::Failed, result};
}

EntryOutcome ConvertEntry(const FileNode& node, const EntryNames& names, bool labelsOnly, const ConverterInputs& in) {
  ResultStaging staging(names.replace);
  ConverterInputs staged = in;
  staged.staging = &staging;
  bool converted = false, companionFailed = false;
  const long result = RunConverters(node, names, labelsOnly, staged, &converted, &companionFailed);
  if (!converted) return EntryOutcome{};
  if (result == MapGis::MAPGIS_WRITE_FAILED || companionFailed) return {EntryResult::Failed, MapGis::MAPGIS_WRITE_FAILED};
  if (in.written) in.written();
  WriteFailure failure;
  std::vector<std::string> placed;
  const bool committed = staging.Commit(in.log, &failure, &placed);
  if (in.report) {
    for (const std::string& path : placed) {
      std::error_code ec;
      const uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(path), ec);
      in.report->files.push_back(OutputFile{MapGis::Utf8ToWide(path), ec ? 0 : size});
    }
  }
  if (!committed) {
    CONVERT_LOG(in.log, L"------E__无法写入结果文件[%ls]：%ls", failure.file.c_str(), failure.reason.c_str());
    return {EntryResult::Failed, MapGis::MAPGIS_WRITE_FAILED};
  }
  return OutcomeOf(result);
}
