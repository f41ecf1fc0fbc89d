#include "MapGisFastReader.h"

#include <cstdlib>

#include "FastReaderState.h"
#include "GeometryFill.h"
#include "RecordReads.h"

namespace MapGis {

using detail::FastReaderState;

namespace detail {

int FastAttributeSection(int type, int kind) {
  switch (type) {
    case MAPGIS_TYPE_POINT: return kind == 1 ? 2 : -1;
    case MAPGIS_TYPE_LINE: return kind == 0 ? 2 : kind == 1 ? 5 : -1;
    case MAPGIS_TYPE_POLYGON: return kind == 0 ? 2 : kind == 2 ? 9 : -1;
    case MAPGIS_TYPE_NETWORK: return kind == 0 ? 2 : kind == 1 ? 5 : -1;
    case MAPGIS_TYPE_TABLE: return kind == 7 ? 0 : -1;
    default: return -1;
  }
}

int DefaultAttributeKind(int type) {
  switch (type) {
    case MAPGIS_TYPE_POINT: return 1;
    case MAPGIS_TYPE_POLYGON: return 2;
    case MAPGIS_TYPE_TABLE: return 7;
    default: return 0;
  }
}

}  // namespace detail

MapGis_FastReader::MapGis_FastReader() : s_(new FastReaderState) {}

MapGis_FastReader::MapGis_FastReader(const MapGis_FastReader& other) : s_(new FastReaderState(*other.s_)) {}

MapGis_FastReader& MapGis_FastReader::operator=(const MapGis_FastReader& other) {
  if (this != &other) *s_ = *other.s_;
  return *this;
}

MapGis_FastReader::~MapGis_FastReader() { Close(); }

long MapGis_FastReader::Open(const wchar_t* path) {
  Close();
  long st = s_->layer.Open(path, detail::BinaryFile::Mode::Read, detail::kAcceptAll);
  if (st == MAPGIS_OK) s_->attributeKind = detail::DefaultAttributeKind(s_->layer.Type());
  return st;
}

void MapGis_FastReader::Close() {
  s_->layer.Close();
  ClearGeomBuffer();
  ClearAttrBuffer();
  s_->attributeKind = 0;
}

long MapGis_FastReader::ReadHeadInfo() {
  if (!s_->layer.IsOpen()) return MAPGIS_OPEN_FAILED;
  return s_->layer.ReadHeader(detail::kAcceptAll);
}

int MapGis_FastReader::GetShapeType() { return s_->layer.Type(); }

int MapGis_FastReader::GetPointCount(int* slots) {
  const auto& l = s_->layer;
  int live, readable;
  if (l.Type() == MAPGIS_TYPE_POINT) {
    live = l.Element(0), readable = l.Readable(1);
  } else if (l.Type() == MAPGIS_TYPE_NETWORK) {
    live = l.Element(2), readable = l.Readable(3);
  } else {
    return -1;
  }
  if (slots) *slots = readable;
  return live;
}

int MapGis_FastReader::GetArcCount(int* slots) {
  const auto& l = s_->layer;
  const int t = l.Type();
  if (t != MAPGIS_TYPE_LINE && t != MAPGIS_TYPE_POLYGON && t != MAPGIS_TYPE_NETWORK) return -1;
  if (slots) *slots = l.Readable(1);
  return l.Element(0);
}

int MapGis_FastReader::GetPolygonCount(int* slots) {
  const auto& l = s_->layer;
  if (l.Type() != MAPGIS_TYPE_POLYGON) return -1;
  if (slots) *slots = l.Readable(5);
  return l.Element(4);
}

int MapGis_FastReader::GetTicCount() { return detail::TicCount(s_->layer.tic); }

long MapGis_FastReader::GetTicInfo(int i, MAPGIS_Tic_Info* out) { return s_->tables.Tic(s_->layer, i, out); }

long MapGis_FastReader::GetTopoInfo(int i, MAPGIS_Topology* out) {
  return s_->tables.Topology(s_->layer, i, out);
}

void MapGis_FastReader::GetExtentInfo(double* xmin, double* ymin, double* xmax, double* ymax) {
  const double* e = s_->layer.extent;
  if (xmin) *xmin = e[0];
  if (ymin) *ymin = e[1];
  if (xmax) *xmax = e[2];
  if (ymax) *ymax = e[3];
}

char MapGis_FastReader::GetProjectionInfo(MAP_PARAstruct* out) {
  return NormaliseProjection(s_->layer.projection, out);
}

long MapGis_FastReader::ReadGeomInfo() {
  return s_->tables.Load(s_->layer, detail::LayerTables::Nodes::AsPoints);
}

void MapGis_FastReader::ClearGeomBuffer() { s_->tables.Clear(); }

void MapGis_FastReader::ClearAttrBuffer() { s_->attributes.Reset(); }

long MapGis_FastReader::ReadPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo) {
  const int t = s_->layer.Type();
  if (t != MAPGIS_TYPE_POINT && t != MAPGIS_TYPE_NETWORK) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadPoint(i, info, geo) : st;
}

long MapGis_FastReader::ReadArcInfo(int i, MAPGIS_LineInfo* info, Geometry* geo) {
  const int t = s_->layer.Type();
  if (t != MAPGIS_TYPE_LINE && t != MAPGIS_TYPE_POLYGON && t != MAPGIS_TYPE_NETWORK) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadArc(s_->layer, i, info, geo, true, false) : st;
}

long MapGis_FastReader::GetNoteInfo(int i, char* text) {
  if (s_->layer.Type() != MAPGIS_TYPE_POINT) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadNote(s_->layer, i, text) : st;
}

long MapGis_FastReader::ReadPointWKB(int i, MAPGIS_PntInfo* info, WKBPoint* out) {
  MAPGIS_PntInfo rec;
  long st = ReadPointInfo(i, &rec, nullptr);
  if (st != MAPGIS_OK) return st;
  if (info) *info = rec;
  if (out) {
    out->byteOrder = 1;
    out->wkbType = 1;
    out->x = rec.x;
    out->y = rec.y;
  }
  return MAPGIS_OK;
}

long MapGis_FastReader::ReadArcWKB(int i, MAPGIS_LineInfo* info, WKBLineString* out) {
  MAPGIS_LineInfo rec;
  long st = ReadArcInfo(i, &rec, nullptr);
  if (st != MAPGIS_OK) return st;
  if (info) *info = rec;
  if (!out) return MAPGIS_OK;
  Geometry* g = CreateGeometry();
  st = detail::ReadLineGeometry(s_->layer, rec, true, false, g);
  if (st == MAPGIS_OK) {
    const size_t n = static_cast<size_t>(g->nVertices);
    Point2D* pts = static_cast<Point2D*>(std::calloc(n > 0 ? n : 1, sizeof(Point2D)));
    if (!pts) {
      st = MAPGIS_OUT_OF_MEMORY;
    } else {
      for (size_t k = 0; k < n; ++k) pts[k] = Point2D{g->padfX[k], g->padfY[k]};
      out->byteOrder = 1;
      out->wkbType = 2;
      out->numPoints = static_cast<uint32_t>(n);
      out->points = pts;
    }
  }
  DestroyGeometry(g);
  return st;
}

}  // namespace MapGis
