#include "OutputNaming.h"

#include <cwctype>
#include <filesystem>

#include "GeoPackagePaths.h"
#include "MapGisCodePage.h"

namespace fs = std::filesystem;

namespace {

constexpr char kLogUnit[] = "MapViewFileName";

fs::path ToPath(const std::wstring& p) { return fs::u8path(MapGis::WideToUtf8(p)); }

bool FolderExists(const std::wstring& p) {
  std::error_code ec;
  return fs::exists(ToPath(p), ec);
}

std::wstring DirectoryOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'/');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'/');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

OutputNaming::OutputNaming(const ConversionOptions& options, OverwritePolicy& policy, ConvertHost* host,
                           std::function<bool(const std::wstring&)> exists)
    : options_(options), policy_(policy), host_(host), exists_(std::move(exists)) {}

void OutputNaming::SplitName(const std::wstring& fileName, std::wstring* base, std::wstring* ext) {
  const size_t dot = fileName.find_last_of(L'.');
  *base = dot == std::wstring::npos ? fileName : fileName.substr(0, dot);
  *ext = dot == std::wstring::npos ? std::wstring() : fileName.substr(dot);
  for (wchar_t& c : *ext) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}

OutputNaming::Affixes OutputNaming::AffixesOf(const std::wstring& ext) const {
  const ConversionOptions& o = options_;
  if (ext == L".MPJ") return {o.Mpjfix, L""};
  if (ext == L".WT") return {o.Pntfix, o.Annofix};
  if (ext == L".WL") return {o.Linfix, L""};
  if (ext == L".WP") return {o.Regfix, o.Arcfix};
  if (ext == L".WB") return {o.Wbfix, L""};
  if (ext == L".WN") return {o.Netfix, o.Nodefix};
  return {L"", L""};
}

// Whether this run writes the companion result of a kind.
bool OutputNaming::WritesCompanion(const std::wstring& ext) const {
  if (ext == L".WT") return options_.ExportAnnotation != 0;
  if (ext == L".WP") return options_.ExportPolyArc != 0;
  if (ext == L".WN") return options_.ExportNetNode != 0;
  return false;
}

std::vector<std::wstring> OutputNaming::WrittenFiles(const std::wstring& mainBase, const std::wstring& companionBase,
                                                     const std::wstring& ext, bool companionOnly) const {
  // A layer holds its whole result.
  if (options_.WritesGeoPackage()) return ResultFiles(mainBase, companionBase, ext, companionOnly);
  static const wchar_t* const kExtensions[] = {L".shp", L".shx", L".dbf", L".cpg", L".prj",
                                               L".avl", L".qml", L".sld", L".CSV"};
  std::vector<std::wstring> bases;
  if (!companionOnly) bases.push_back(mainBase);
  if (companionOnly || WritesCompanion(ext)) bases.push_back(companionBase);
  std::vector<std::wstring> files;
  for (const std::wstring& base : bases) {
    for (const wchar_t* e : kExtensions) files.push_back(base + e);
  }
  return files;
}

std::vector<std::wstring> OutputNaming::ResultFiles(const std::wstring& mainBase, const std::wstring& companionBase,
                                                    const std::wstring& ext, bool companionOnly) const {
  // Layers of a GeoPackage are named like files without an extension.
  const bool layers = options_.WritesGeoPackage();
  const std::wstring shapes = layers ? L"" : L".shp";
  std::vector<std::wstring> files;
  if (companionOnly) {
    files.push_back(companionBase + shapes);
    return files;
  }
  files.push_back(mainBase + (ext == L".WB" && !layers ? L".dbf" : shapes));
  if (ext == L".MPJ") files.push_back(mainBase + (layers ? MapGis::Utf8ToWide(kSideTableSuffix) : L".CSV"));
  if (WritesCompanion(ext)) files.push_back(companionBase + shapes);
  return files;
}

std::wstring OutputNaming::ResultName(const std::wstring& mainBase) const {
  return options_.WritesGeoPackage() ? mainBase : mainBase + L".shp";
}

void OutputNaming::BuildOutputDir(const FileNode* node, std::wstring& dir, ConversionLog& log) const {
  if (options_.WritesGeoPackage()) {
    dir = GeoPackageOf(node, dir);
    return;
  }
  if (dir.empty()) {
    dir = DirectoryOf(node->path);
    return;
  }
  if (node->parent) {
    dir = DirectoryOf(node->parent->result);
    return;
  }
  if (node->children.empty()) return;
  std::wstring base, ext;
  SplitName(node->name, &base, &ext);
  std::wstring name = base;
  std::wstring candidate = dir + L"/" + name;
  for (int i = 0; FolderExists(candidate); ++i) {
    name = base + FormatText(L"_%d", i);
    candidate = dir + L"/" + name;
  }
  if (name != base) CONVERT_LOG(log, L"----输出路径下存在同名文件夹，自动改名[%ls]", candidate.c_str());
  std::error_code ec;
  if (fs::create_directories(ToPath(candidate), ec) || FolderExists(candidate)) dir = candidate;
}

std::wstring OutputNaming::GeoPackageOf(const FileNode* node, const std::wstring& dir) const {
  if (IsGeoPackagePath(dir)) return dir;                              // every result of the run in one
  if (node->parent) return DirectoryOf(node->parent->result);         // a project's layers in its own
  std::wstring base, ext;
  SplitName(node->name, &base, &ext);
  return (dir.empty() ? DirectoryOf(node->path) : dir) + L"/" + base + L".gpkg";
}

int OutputNaming::CheckOverwrite(const std::wstring& path, bool companionOnly, ConversionLog& log) {
  std::wstring base, ext;
  SplitName(FileNameOf(path), &base, &ext);
  const std::wstring mainBase = DirectoryOf(path) + L"/" + base;
  std::wstring clash;
  for (const std::wstring& f : ResultFiles(mainBase, mainBase + AffixesOf(ext).companion, ext, companionOnly)) {
    if (exists_(f)) {
      clash = f;
      break;
    }
  }
  if (clash.empty()) return ConvertHost::kNoClash;
  if (policy_.overwriteAll) {
    CONVERT_LOG(log, L"------I__存在同名文件，已覆盖原文件[%ls]", clash.c_str());
    return ConvertHost::kOverwriteAll;
  }
  if (policy_.skipAll) {
    CONVERT_LOG(log, L"------I__存在同名文件，已跳过此文件[%ls]", clash.c_str());
    return ConvertHost::kSkipAll;
  }
  if (policy_.renameAll) return ConvertHost::kRenameAll;
  if (beforeQuestion_) beforeQuestion_();
  int answer = host_ ? host_->AskDuplicate(clash) : ConvertHost::kSkipThis;
  // A question closed without an answer skips the file rather than overwriting it.
  if (answer < ConvertHost::kSkipThis || answer > ConvertHost::kRenameAll) answer = ConvertHost::kSkipThis;
  switch (answer) {
    case ConvertHost::kSkipThis: CONVERT_LOG(log, L"------I__存在同名文件，已跳过此文件[%ls]", clash.c_str()); break;
    case ConvertHost::kSkipAll: CONVERT_LOG(log, L"------I__后续如果存在同名文件，全部自动跳过"); break;
    case ConvertHost::kOverwriteThis: CONVERT_LOG(log, L"------I__存在同名文件，已覆盖原文件[%ls]", clash.c_str()); break;
    case ConvertHost::kOverwriteAll: CONVERT_LOG(log, L"------I__后续如果存在同名文件，全部自动覆盖"); break;
    case ConvertHost::kStopBatch: CONVERT_LOG(log, L"----结束转换[存在同名文件，终止后续转换]"); break;
    case ConvertHost::kRenameThis: CONVERT_LOG(log, L""); break;
    case ConvertHost::kRenameAll: CONVERT_LOG(log, L"------I__后续如果存在同名文件，全部自动改名"); break;
    default: break;
  }
  return answer;
}

void OutputNaming::BuildFinalName(const std::wstring& dir, const std::wstring& fileName, std::wstring& mainName,
                                  std::wstring& companionName, bool companionOnly, ConversionLog& log) const {
  std::wstring base, ext;
  SplitName(fileName, &base, &ext);
  const Affixes affix = AffixesOf(ext);
  mainName = base;
  companionName = base + affix.companion;
  auto anyExists = [&](const std::wstring& m, const std::wstring& c) {
    for (const std::wstring& f : ResultFiles(dir + L"/" + m, dir + L"/" + c, ext, companionOnly)) {
      if (exists_(f)) return true;
    }
    return false;
  };
  if ((policy_.renameThis || policy_.renameAll) && anyExists(mainName, companionName)) {
    for (long i = 0;; ++i) {
      mainName = base + FormatText(L"_%ls%ld", affix.type.c_str(), i);
      companionName = base + FormatText(L"_%ls%ld", affix.companion.c_str(), i);
      if (!anyExists(mainName, companionName)) break;
    }
    CONVERT_LOG(log, L"------I__存在同名文件，自动改名为[%ls]", mainName.c_str());
  }
  mainName = dir + L"/" + mainName;
  companionName = dir + L"/" + companionName;
}

std::wstring OutputNaming::BuildAnnotationName(const std::wstring& path) const {
  std::wstring base, ext;
  const std::wstring dir = DirectoryOf(path);
  SplitName(FileNameOf(path), &base, &ext);
  std::wstring companion;
  if (ext == L".WT") companion = options_.Annofix;
  if (ext == L".WP") companion = options_.Arcfix;
  if (ext == L".WN") companion = options_.Nodefix;
  return (dir.empty() ? base : dir + L"/" + base) + companion;
}
