#include "InfoReport.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "InfoParts.h"
#include "MapGis.h"
#include "SectionDirectory.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

const char* KindName(int type) {
  switch (type) {
    case MAPGIS_TYPE_LINE: return "line file";
    case MAPGIS_TYPE_POINT: return "point file";
    case MAPGIS_TYPE_POLYGON: return "polygon file";
    case MAPGIS_TYPE_NETWORK: return "network file";
    case MAPGIS_TYPE_TABLE: return "attribute table file";
    default: return "unknown";
  }
}

bool HasExtension(const std::string& path, const char* extension) {
  const size_t n = std::char_traits<char>::length(extension);
  if (path.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[path.size() - n + i]);
    if (std::tolower(c) != extension[i]) return false;
  }
  return true;
}

enum class FileKind { Layer, Project, ColorLibrary };

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

// Live count, readable slots, and the hint that deleted records are still held.
void ReportCount(std::ostream& out, const char* table, int live, int slots) {
  out << "  " << table << ": " << live << " live in " << slots << " slots";
  if (live != slots) out << ", not compacted";
  out << "\n";
}

void ReportCounts(std::ostream& out, MapGis_FastReader& reader) {
  int slots = 0;
  switch (reader.GetShapeType()) {
    case MAPGIS_TYPE_POINT: {
      const int live = reader.GetPointCount(&slots);
      ReportCount(out, "points", live, slots);
      break;
    }
    case MAPGIS_TYPE_LINE: {
      const int live = reader.GetArcCount(&slots);
      ReportCount(out, "lines", live, slots);
      break;
    }
    case MAPGIS_TYPE_POLYGON: {
      const int arcs = reader.GetArcCount(&slots);
      ReportCount(out, "lines", arcs, slots);
      const int polygons = reader.GetPolygonCount(&slots);
      ReportCount(out, "polygons", polygons, slots);
      break;
    }
    case MAPGIS_TYPE_NETWORK: {
      const int nodes = reader.GetPointCount(&slots);
      ReportCount(out, "nodes", nodes, slots);
      const int lines = reader.GetArcCount(&slots);
      ReportCount(out, "lines", lines, slots);
      break;
    }
    default:
      break;
  }
}

void ReportDirectory(std::ostream& out, const std::string& path) {
  std::vector<SectionEntry> entries;
  std::string error;
  if (!ReadSectionDirectory(path, entries, error)) {
    out << "  sections: unreadable (" << error << ")\n";
    return;
  }
  out << "  sections: " << entries.size() << "\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    out << "    " << i << ": offset " << entries[i].offset << ", length " << entries[i].length << "\n";
  }
}

}  // namespace

bool ReportFile(std::ostream& out, const std::string& path, const InfoOptions& options) {
  out << "file: " << Escaped(path) << "\n";
  if (options.colors) return ReportColorLibrary(out, path, true, options);
  switch (Detect(path)) {
    case FileKind::Project: return ReportProject(out, path);
    case FileKind::ColorLibrary: return ReportColorLibrary(out, path, false, options);
    case FileKind::Layer: break;
  }

  MapGis_FastReader reader;
  const long status = reader.Open(Utf8ToWide(path).c_str());
  out << "  status: " << status << " " << StatusText(status) << "\n";
  if (status != MAPGIS_OK) return false;

  const int type = reader.GetShapeType();
  out << "  kind: " << type << " " << KindName(type) << "\n";
  ReportCounts(out, reader);

  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  reader.GetExtentInfo(&xmin, &ymin, &xmax, &ymax);
  out << "  extent: xmin " << Fixed(xmin) << ", ymin " << Fixed(ymin) << ", xmax " << Fixed(xmax) << ", ymax "
      << Fixed(ymax) << "\n";
  MAP_PARAstruct projection{};
  reader.GetProjectionInfo(&projection);
  ReportProjection(out, projection);
  // Table files made by MapGIS start their table right after byte 592, so the
  // bytes where a layer keeps its tic directory are table bytes there.
  if (type == MAPGIS_TYPE_TABLE) {
    out << "  tics: not used by attribute table files\n";
  } else {
    out << "  tics: " << reader.GetTicCount() << "\n";
  }
  ReportDirectory(out, path);

  if (options.records > 0) ReportGeometryRecords(out, reader, options.records);
  ReportAttributeTables(out, reader, options.records);
  return true;
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

}  // namespace gridmoor
