#include "InfoReport.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "InfoFile.h"
#include "InfoJson.h"
#include "InfoParts.h"
#include "TextFormat.h"

namespace gridmoor {

namespace {

bool HasExtension(const std::string& path, const char* extension) {
  const size_t n = std::char_traits<char>::length(extension);
  if (path.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[path.size() - n + i]);
    if (std::tolower(c) != extension[i]) return false;
  }
  return true;
}

// A file is a project when it carries the project magic or is named .MPJ (so
// that a damaged project reports the project reader's status), a colour
// library when it starts with the library magic, and a layer otherwise.
FileKind Detect(const std::string& path) {
  static const char kProjectMagic[8] = {'W', 'M', 'A', 'P', '`', 'D', '2', ':'};
  static const char kColorMagic[8] = {'P', 'C', 'O', 'L', 'O', 'R', ' ', '3'};
  if (HasExtension(path, ".mpj")) return FileKind::Project;
  char magic[8] = {0};
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  if (!in.read(magic, sizeof magic)) return FileKind::Layer;
  if (std::memcmp(magic, kProjectMagic, sizeof magic) == 0) return FileKind::Project;
  if (std::memcmp(magic, kColorMagic, sizeof magic) == 0) return FileKind::ColorLibrary;
  return FileKind::Layer;
}

bool PrintFile(std::ostream& out, const InspectedFile& file) {
  switch (file.kind) {
    case FileKind::Layer: return PrintLayer(out, file.layer);
    case FileKind::Project: return PrintProject(out, file.project);
    case FileKind::ColorLibrary: return PrintColorLibrary(out, file.colors);
  }
  return false;
}

}  // namespace

InspectedFile InspectFile(const std::string& path, const InfoOptions& options) {
  InspectedFile file;
  file.path = path;
  file.kind = options.colors ? FileKind::ColorLibrary : Detect(path);
  switch (file.kind) {
    case FileKind::Layer:
      file.layer = ReadLayerInfo(path, options.records);
      file.read = file.layer.status == MapGis::MAPGIS_OK;
      break;
    case FileKind::Project:
      file.project = ReadProjectInfo(path);
      file.read = file.project.status >= 0;
      break;
    case FileKind::ColorLibrary:
      file.colors = ReadColorLibraryInfo(path, options.colors, options);
      file.read = file.colors.status >= 0;
      break;
  }
  return file;
}

bool ReportFile(std::ostream& out, const std::string& path, const InfoOptions& options) {
  out << "file: " << Escaped(path) << "\n";
  return PrintFile(out, InspectFile(path, options));
}

int ReportFiles(std::ostream& out, const std::vector<std::string>& paths, const InfoOptions& options) {
  int failed = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) out << "\n";
    if (!ReportFile(out, paths[i], options)) ++failed;
  }
  out << "\nfiles: " << paths.size() << ", read " << (paths.size() - static_cast<size_t>(failed)) << ", failed "
      << failed << "\n";
  return failed;
}

int ReportFilesJson(std::ostream& out, const std::vector<std::string>& paths, const InfoOptions& options) {
  JsonReportWriter writer(out);
  int failed = 0;
  for (const std::string& path : paths) {
    const InspectedFile file = InspectFile(path, options);
    if (!file.read) ++failed;
    writer.Add(file);
  }
  writer.Finish();
  return failed;
}

}  // namespace gridmoor
