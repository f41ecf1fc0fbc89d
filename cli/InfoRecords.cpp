// The first records of the geometry tables of a layer, one line each.
#include <algorithm>
#include <ostream>

#include "InfoParts.h"
#include "MapGis.h"
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

// The heading of a table's listing; returns how many slots to list.
int Heading(std::ostream& out, const char* table, int slots, int limit) {
  const int shown = std::max(0, std::min(slots, limit));
  out << "  " << table << " records (first " << shown << " of " << slots << " slots):\n";
  return shown;
}

// Points of a point file, or nodes of a network file (which carry no text).
void ReportPoints(std::ostream& out, MapGis_FastReader& reader, const char* table, int slots, int limit,
                  bool hasText) {
  const int shown = Heading(out, table, slots, limit);
  for (int i = 0; i < shown; ++i) {
    out << "    " << i << ": ";
    MAPGIS_PntInfo info{};
    const long status = reader.ReadPointInfo(i, &info, nullptr);
    if (status != MAPGIS_OK) {
      out << Failure(status) << "\n";
      continue;
    }
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
      if (hasText) {
        char text[260] = {0};
        const long textStatus = reader.GetNoteInfo(i, text);
        if (textStatus == MAPGIS_OK) {
          out << ", text " << Quoted(FromGbk(text));
        } else {
          out << ", text unreadable (" << Failure(textStatus) << ")";
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
    out << "\n";
  }
}

void ReportLines(std::ostream& out, MapGis_FastReader& reader, const char* table, int slots, int limit) {
  const int shown = Heading(out, table, slots, limit);
  for (int i = 0; i < shown; ++i) {
    out << "    " << i << ": ";
    MAPGIS_LineInfo info{};
    const long status = reader.ReadArcInfo(i, &info, nullptr);
    if (status != MAPGIS_OK) {
      out << Failure(status) << "\n";
      continue;
    }
    const int vertices = info.pointCount;
    const int lineType = info.lineType;
    const int colour = info.color;
    const int layer = info.layer;
    out << "vertices " << vertices << ", line type " << lineType << ", colour " << colour << ", width "
        << Real(info.width) << ", layer " << layer << "\n";
  }
}

void ReportPolygons(std::ostream& out, MapGis_FastReader& reader, int slots, int limit) {
  const int shown = Heading(out, "polygon", slots, limit);
  for (int i = 0; i < shown; ++i) {
    out << "    " << i << ": ";
    Geometry* geometry = CreateGeometry();
    if (!geometry) {
      out << Failure(MAPGIS_OUT_OF_MEMORY) << "\n";
      continue;
    }
    MAPGIS_RegInfo info{};
    const long status = reader.ReadPolygonInfo(i, &info, geometry);
    if (status != MAPGIS_OK) {
      out << Failure(status) << "\n";
    } else {
      const int colour = info.fillColor;
      const int pattern = info.pattern;
      const int layer = info.layer;
      out << "rings " << geometry->nParts << ", vertices " << geometry->nVertices << ", fill colour " << colour
          << ", pattern " << pattern << ", layer " << layer << "\n";
    }
    DestroyGeometry(geometry);
  }
}

}  // namespace

void ReportGeometryRecords(std::ostream& out, MapGis_FastReader& reader, int limit) {
  int slots = 0;
  switch (reader.GetShapeType()) {
    case MAPGIS_TYPE_POINT:
      reader.GetPointCount(&slots);
      ReportPoints(out, reader, "point", slots, limit, true);
      break;
    case MAPGIS_TYPE_LINE:
      reader.GetArcCount(&slots);
      ReportLines(out, reader, "line", slots, limit);
      break;
    case MAPGIS_TYPE_POLYGON:
      reader.GetArcCount(&slots);
      ReportLines(out, reader, "line", slots, limit);
      reader.GetPolygonCount(&slots);
      ReportPolygons(out, reader, slots, limit);
      break;
    case MAPGIS_TYPE_NETWORK:
      reader.GetPointCount(&slots);
      ReportPoints(out, reader, "node", slots, limit, false);
      reader.GetArcCount(&slots);
      ReportLines(out, reader, "line", slots, limit);
      break;
    default:
      break;
  }
}

}  // namespace gridmoor
