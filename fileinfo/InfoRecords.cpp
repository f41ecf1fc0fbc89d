// The first records of the geometry tables of a layer, one line each.
#include <algorithm>
#include <ostream>

#include "InfoModel.h"
#include "InfoParts.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

std::string Real(float v) { return Format("%.7g", static_cast<double>(v)); }

// What a read that did not succeed reports in place of the record.
std::string Failure(long status) {
  if (status == MAPGIS_DELETED) return "deleted";
  return Format("status %ld %s", status, StatusText(status));
}

GeometryTable& AddTable(std::vector<GeometryTable>& tables, const char* name, GeometryKind kind, int slots,
                        int limit) {
  tables.push_back({name, kind, slots, {}});
  tables.back().records.resize(static_cast<size_t>(std::max(0, std::min(slots, limit))));
  return tables.back();
}

// Points of a point file, or nodes of a network file (which carry no text).
void ReadPoints(MapGis_FastReader& reader, GeometryTable& table, bool hasText) {
  for (size_t i = 0; i < table.records.size(); ++i) {
    GeometryRecord& r = table.records[i];
    const int index = static_cast<int>(i);
    r.status = reader.ReadPointInfo(index, &r.point, nullptr);
    const int kind = r.point.kind;
    if (r.status != MAPGIS_OK || !hasText || (kind != 0 && kind != 5)) continue;
    char text[260] = {0};
    r.textRead = true;
    r.textStatus = reader.GetNoteInfo(index, text);
    if (r.textStatus == MAPGIS_OK) r.text = FromGbk(text);
  }
}

void ReadLines(MapGis_FastReader& reader, GeometryTable& table) {
  for (size_t i = 0; i < table.records.size(); ++i) {
    GeometryRecord& r = table.records[i];
    r.status = reader.ReadArcInfo(static_cast<int>(i), &r.line, nullptr);
  }
}

void ReadPolygons(MapGis_FastReader& reader, GeometryTable& table) {
  for (size_t i = 0; i < table.records.size(); ++i) {
    GeometryRecord& r = table.records[i];
    Geometry* geometry = CreateGeometry();
    if (!geometry) {
      r.status = MAPGIS_OUT_OF_MEMORY;
      continue;
    }
    r.status = reader.ReadPolygonInfo(static_cast<int>(i), &r.polygon, geometry);
    r.rings = geometry->nParts;
    r.vertices = geometry->nVertices;
    DestroyGeometry(geometry);
  }
}

void PrintPoint(std::ostream& out, const GeometryRecord& r) {
  const MAPGIS_PntInfo& info = r.point;
  const int kind = info.kind;
  const int colour = info.color;
  const int layer = info.layer;
  out << "x " << Fixed(info.x) << ", y " << Fixed(info.y) << ", kind " << kind;
  if (kind == 0 || kind == 5) {
    out << " annotation";
  } else if (kind == 1) {
    out << " sub-picture";
  }
  out << ", colour " << colour << ", layer " << layer;
  if (kind == 0 || kind == 5) {
    if (r.textRead) {
      if (r.textStatus == MAPGIS_OK) {
        out << ", text " << Quoted(r.text);
      } else {
        out << ", text unreadable (" << Failure(r.textStatus) << ")";
      }
    }
    const MAPGIS_NoteParam note = info.param.note;
    out << ", height " << Real(note.height) << ", width " << Real(note.width) << ", spacing " << Real(note.space)
        << ", angle " << Real(note.angle) << ", fonts " << note.chFont << "/" << note.enFont << ", style "
        << int(note.fontStyle) << ", align " << int(note.align);
  } else if (kind == 1) {
    const MAPGIS_SubParam sub = info.param.sub;
    out << ", symbol " << sub.subNumber << ", height " << Real(sub.height) << ", width " << Real(sub.width)
        << ", angle " << Real(sub.angle);
  }
}

void PrintLine(std::ostream& out, const GeometryRecord& r) {
  const int vertices = r.line.pointCount;
  const int lineType = r.line.lineType;
  const int colour = r.line.color;
  const int layer = r.line.layer;
  out << "vertices " << vertices << ", line type " << lineType << ", colour " << colour << ", width "
      << Real(r.line.width) << ", layer " << layer;
}

void PrintPolygon(std::ostream& out, const GeometryRecord& r) {
  const int colour = r.polygon.fillColor;
  const int pattern = r.polygon.pattern;
  const int layer = r.polygon.layer;
  out << "rings " << r.rings << ", vertices " << r.vertices << ", fill colour " << colour << ", pattern " << pattern
      << ", layer " << layer;
}

}  // namespace

void ReadGeometryRecords(MapGis_FastReader& reader, int limit, std::vector<GeometryTable>& tables) {
  int slots = 0;
  switch (reader.GetShapeType()) {
    case MAPGIS_TYPE_POINT:
      reader.GetPointCount(&slots);
      ReadPoints(reader, AddTable(tables, "point", GeometryKind::Point, slots, limit), true);
      break;
    case MAPGIS_TYPE_LINE:
      reader.GetArcCount(&slots);
      ReadLines(reader, AddTable(tables, "line", GeometryKind::Line, slots, limit));
      break;
    case MAPGIS_TYPE_POLYGON:
      reader.GetArcCount(&slots);
      ReadLines(reader, AddTable(tables, "line", GeometryKind::Line, slots, limit));
      reader.GetPolygonCount(&slots);
      ReadPolygons(reader, AddTable(tables, "polygon", GeometryKind::Polygon, slots, limit));
      break;
    case MAPGIS_TYPE_NETWORK:
      reader.GetPointCount(&slots);
      ReadPoints(reader, AddTable(tables, "node", GeometryKind::Point, slots, limit), false);
      reader.GetArcCount(&slots);
      ReadLines(reader, AddTable(tables, "line", GeometryKind::Line, slots, limit));
      break;
    default:
      break;
  }
}

void PrintGeometryRecords(std::ostream& out, const std::vector<GeometryTable>& tables) {
  for (const GeometryTable& table : tables) {
    out << "  " << table.name << " records (first " << table.records.size() << " of " << table.slots
        << " slots):\n";
    for (size_t i = 0; i < table.records.size(); ++i) {
      const GeometryRecord& r = table.records[i];
      out << "    " << i << ": ";
      if (r.status != MAPGIS_OK) {
        out << Failure(r.status) << "\n";
        continue;
      }
      switch (table.kind) {
        case GeometryKind::Point: PrintPoint(out, r); break;
        case GeometryKind::Line: PrintLine(out, r); break;
        case GeometryKind::Polygon: PrintPolygon(out, r); break;
      }
      out << "\n";
    }
  }
}

}  // namespace gridmoor
