// A layer file: header, counts, extent, projection, tics and the section
// directory, then its records and attribute tables.
#include <ostream>

#include "InfoModel.h"
#include "InfoParts.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

void ReadCounts(MapGis_FastReader& reader, std::vector<TableCount>& counts) {
  int slots = 0;
  switch (reader.GetShapeType()) {
    case MAPGIS_TYPE_POINT: {
      const int live = reader.GetPointCount(&slots);
      counts.push_back({"points", live, slots});
      break;
    }
    case MAPGIS_TYPE_LINE: {
      const int live = reader.GetArcCount(&slots);
      counts.push_back({"lines", live, slots});
      break;
    }
    case MAPGIS_TYPE_POLYGON: {
      const int arcs = reader.GetArcCount(&slots);
      counts.push_back({"lines", arcs, slots});
      const int polygons = reader.GetPolygonCount(&slots);
      counts.push_back({"polygons", polygons, slots});
      break;
    }
    case MAPGIS_TYPE_NETWORK: {
      const int nodes = reader.GetPointCount(&slots);
      counts.push_back({"nodes", nodes, slots});
      const int lines = reader.GetArcCount(&slots);
      counts.push_back({"lines", lines, slots});
      break;
    }
    default:
      break;
  }
}

// Live count, readable slots, and the hint that deleted records are still held.
void PrintCount(std::ostream& out, const TableCount& c) {
  out << "  " << c.table << ": " << c.live << " live in " << c.slots << " slots";
  if (c.live != c.slots) out << ", not compacted";
  out << "\n";
}

void PrintSections(std::ostream& out, const SectionList& sections) {
  if (!sections.readable) {
    out << "  sections: unreadable (" << sections.error << ")\n";
    return;
  }
  out << "  sections: " << sections.entries.size() << "\n";
  for (size_t i = 0; i < sections.entries.size(); ++i) {
    out << "    " << i << ": offset " << sections.entries[i].offset << ", length " << sections.entries[i].length
        << "\n";
  }
}

}  // namespace

const char* LayerKindName(int type) {
  switch (type) {
    case MAPGIS_TYPE_LINE: return "line file";
    case MAPGIS_TYPE_POINT: return "point file";
    case MAPGIS_TYPE_POLYGON: return "polygon file";
    case MAPGIS_TYPE_NETWORK: return "network file";
    case MAPGIS_TYPE_TABLE: return "attribute table file";
    default: return "unknown";
  }
}

LayerInfo ReadLayerInfo(const std::string& path, int recordLimit) {
  LayerInfo info;
  MapGis_FastReader reader;
  info.status = reader.Open(Utf8ToWide(path).c_str());
  if (info.status != MAPGIS_OK) return info;

  info.type = reader.GetShapeType();
  ReadCounts(reader, info.counts);
  Extent& e = info.extent;
  reader.GetExtentInfo(&e.xmin, &e.ymin, &e.xmax, &e.ymax);
  reader.GetProjectionInfo(&info.projection);
  // Table files made by MapGIS start their table right after byte 592, so the
  // bytes where a layer keeps its tic directory are table bytes there.
  info.usesTics = info.type != MAPGIS_TYPE_TABLE;
  if (info.usesTics) info.tics = reader.GetTicCount();
  SectionList& s = info.sections;
  s.readable = ReadSectionDirectory(path, s.entries, s.error);

  if (recordLimit > 0) ReadGeometryRecords(reader, recordLimit, info.geometry);
  ReadAttributeTables(reader, recordLimit, info.tables);
  return info;
}

void PrintExtent(std::ostream& out, const Extent& e) {
  out << "  extent: xmin " << Fixed(e.xmin) << ", ymin " << Fixed(e.ymin) << ", xmax " << Fixed(e.xmax) << ", ymax "
      << Fixed(e.ymax) << "\n";
}

bool PrintLayer(std::ostream& out, const LayerInfo& info) {
  out << "  status: " << info.status << " " << StatusText(info.status) << "\n";
  if (info.status != MAPGIS_OK) return false;
  out << "  kind: " << info.type << " " << LayerKindName(info.type) << "\n";
  for (const TableCount& c : info.counts) PrintCount(out, c);
  PrintExtent(out, info.extent);
  PrintProjection(out, info.projection);
  if (info.usesTics) {
    out << "  tics: " << info.tics << "\n";
  } else {
    out << "  tics: not used by attribute table files\n";
  }
  PrintSections(out, info.sections);
  PrintGeometryRecords(out, info.geometry);
  PrintAttributeTables(out, info.tables);
  return true;
}

}  // namespace gridmoor
