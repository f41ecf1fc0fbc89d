#include "MapGisFastReader.h"

#include <cstdlib>

#include "FastReaderState.h"
#include "GeometryFill.h"

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

long LoadTics(const LayerFile& layer, std::vector<MAPGIS_Tic_Info>& tics) {
  tics.clear();
  const int count = TicCount(layer.tic);
  if (count <= 0) return MAPGIS_OK;
  const uint64_t bytes = static_cast<uint64_t>(count) * sizeof(MAPGIS_Tic_Info);
  tics.resize(static_cast<size_t>(count));
  if (!layer.ReadSection(1, layer.tic.ticOffset, tics.data(), bytes)) {
    tics.clear();
    return MAPGIS_READ_FAILED;
  }
  return MAPGIS_OK;
}

long ReadNoteText(const LayerFile& layer, const MAPGIS_PntInfo& rec, char* text) {
  if (!text || rec.textLength < 1) return MAPGIS_OK;
  const size_t n = rec.textLength < 259 ? static_cast<size_t>(rec.textLength) : 259;
  char buffer[260];
  if (!layer.ReadSection(1, rec.textOffset, buffer, n)) return MAPGIS_READ_FAILED;
  buffer[n] = '\0';
  std::memcpy(text, buffer, n + 1);
  return MAPGIS_OK;
}

long ReadLineGeometry(const LayerFile& layer, const MAPGIS_LineInfo& rec, bool checkDataArea, bool allBounds,
                      Geometry* geo) {
  if (rec.pointCount < 0) return MAPGIS_READ_FAILED;
  const uint64_t count = static_cast<uint64_t>(rec.pointCount);
  if (checkDataArea && count > layer.SectionLength(1) / 16) return MAPGIS_READ_FAILED;
  // Whatever the section says, the run must be in the file before anything is allocated.
  if (!layer.HasSection(1) || !layer.FitsFile(layer.SectionOffset(1) + rec.dataOffset, count * 16)) {
    return MAPGIS_READ_FAILED;
  }
  std::vector<double> xy(static_cast<size_t>(count) * 2);
  if (count > 0 && !layer.ReadSection(1, rec.dataOffset, xy.data(), static_cast<size_t>(count) * 16)) {
    return MAPGIS_READ_FAILED;
  }
  return FillLine(geo, static_cast<int32_t>(count), xy.data(), allBounds);
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
  s_->ticsLoaded = false;
  s_->tics.clear();
  s_->topologyLoaded = false;
  s_->topology.clear();
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

long MapGis_FastReader::GetTicInfo(int i, MAPGIS_Tic_Info* out) {
  if (i < 0 || i >= GetTicCount()) return MAPGIS_READ_FAILED;
  if (!s_->ticsLoaded) {
    long st = detail::LoadTics(s_->layer, s_->tics);
    if (st != MAPGIS_OK) return st;
    s_->ticsLoaded = true;
  }
  if (static_cast<size_t>(i) >= s_->tics.size()) return MAPGIS_READ_FAILED;
  if (out) *out = s_->tics[static_cast<size_t>(i)];
  return MAPGIS_OK;
}

long MapGis_FastReader::GetTopoInfo(int i, MAPGIS_Topology* out) {
  if (!s_->topologyLoaded) {
    const int t = s_->layer.Type();
    if (t != MAPGIS_TYPE_LINE && t != MAPGIS_TYPE_POLYGON && t != MAPGIS_TYPE_NETWORK) return MAPGIS_READ_FAILED;
    long st = s_->layer.LoadRecords(3, s_->layer.Element(1), s_->topology);
    if (st != MAPGIS_OK) return st;
    s_->topologyLoaded = true;
  }
  if (i < 0 || static_cast<size_t>(i) >= s_->topology.size()) return MAPGIS_READ_FAILED;
  if (out) *out = s_->topology[static_cast<size_t>(i)];
  return MAPGIS_OK;
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
  if (s_->geomLoaded) return MAPGIS_OK;
  auto& l = s_->layer;
  if (!l.IsOpen()) return MAPGIS_READ_FAILED;
  long st = MAPGIS_OK;
  switch (l.Type()) {
    case MAPGIS_TYPE_POINT:
      st = l.LoadRecords(0, l.Element(1), s_->points);
      break;
    case MAPGIS_TYPE_LINE:
      st = l.LoadRecords(0, l.Element(1), s_->lines);
      break;
    case MAPGIS_TYPE_POLYGON:
      st = l.LoadRecords(0, l.Element(1), s_->lines);
      if (st == MAPGIS_OK) st = l.LoadRecords(8, l.Element(5), s_->polygons);
      break;
    case MAPGIS_TYPE_NETWORK: {
      std::vector<MAPGIS_NetPntInfo> nodes;
      st = l.LoadRecords(4, l.Element(3), nodes);
      if (st != MAPGIS_OK) break;
      // Nodes are served as point records; a deleted node keeps its status
      // and its parameter block is not read.
      s_->points.assign(nodes.size(), MAPGIS_PntInfo{});
      for (size_t k = 0; k < nodes.size() && st == MAPGIS_OK; ++k) {
        MAPGIS_PntInfo& p = s_->points[k];
        p.status = nodes[k].status;
        p.textLength = 1;
        p.textOffset = 0;
        p.x = nodes[k].x;
        p.y = nodes[k].y;
        p.z = 0.0;
        if (nodes[k].status != 1) continue;
        if (!l.ReadSection(1, nodes[k].paramOffset, reinterpret_cast<uint8_t*>(&p) + 31, 62)) {
          st = MAPGIS_READ_FAILED;
        }
      }
      if (st == MAPGIS_OK) st = l.LoadRecords(0, l.Element(1), s_->lines);
      break;
    }
    default:
      return MAPGIS_NO_TABLE;
  }
  if (st != MAPGIS_OK) {
    ClearGeomBuffer();
    return st;
  }
  s_->geomLoaded = true;
  return MAPGIS_OK;
}

void MapGis_FastReader::ClearGeomBuffer() {
  s_->geomLoaded = false;
  s_->points.clear();
  s_->points.shrink_to_fit();
  s_->lines.clear();
  s_->lines.shrink_to_fit();
  s_->polygons.clear();
  s_->polygons.shrink_to_fit();
}

void MapGis_FastReader::ClearAttrBuffer() { s_->attributes.Reset(); }

long MapGis_FastReader::ReadPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo) {
  const int t = s_->layer.Type();
  if (t != MAPGIS_TYPE_POINT && t != MAPGIS_TYPE_NETWORK) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  if (st != MAPGIS_OK) return st;
  if (i < 0 || static_cast<size_t>(i) + 1 >= s_->points.size()) return MAPGIS_READ_FAILED;
  const MAPGIS_PntInfo& rec = s_->points[static_cast<size_t>(i) + 1];
  if (rec.status != 1) return MAPGIS_DELETED;
  if (info) *info = rec;
  if (geo) return detail::FillPoint(geo, rec.x, rec.y);
  return MAPGIS_OK;
}

long MapGis_FastReader::ReadArcInfo(int i, MAPGIS_LineInfo* info, Geometry* geo) {
  const int t = s_->layer.Type();
  if (t != MAPGIS_TYPE_LINE && t != MAPGIS_TYPE_POLYGON && t != MAPGIS_TYPE_NETWORK) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  if (st != MAPGIS_OK) return st;
  if (i < 0 || static_cast<size_t>(i) + 1 >= s_->lines.size()) return MAPGIS_READ_FAILED;
  const MAPGIS_LineInfo& rec = s_->lines[static_cast<size_t>(i) + 1];
  if (rec.status != 1) return MAPGIS_DELETED;
  if (info) *info = rec;
  if (geo) return detail::ReadLineGeometry(s_->layer, rec, true, false, geo);
  return MAPGIS_OK;
}

long MapGis_FastReader::GetNoteInfo(int i, char* text) {
  if (s_->layer.Type() != MAPGIS_TYPE_POINT) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  if (st != MAPGIS_OK) return st;
  if (i < 0 || static_cast<size_t>(i) + 1 >= s_->points.size()) return MAPGIS_READ_FAILED;
  return detail::ReadNoteText(s_->layer, s_->points[static_cast<size_t>(i) + 1], text);
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
