#include "MapGisMemReader.h"

#include "AttributeTable.h"
#include "GeometryFill.h"
#include "LayerFile.h"
#include "LayerTables.h"
#include "RecordReads.h"

namespace MapGis {

namespace detail {

struct MemReaderState {
  LayerFile layer;
  LayerTables tables;
  AttributeTable attributes{true};
};

namespace {

// The one attribute table of each file type.
int MemAttributeSection(int type) {
  switch (type) {
    case MAPGIS_TYPE_POINT: return 2;
    case MAPGIS_TYPE_LINE: return 2;
    case MAPGIS_TYPE_POLYGON: return 9;
    case MAPGIS_TYPE_NETWORK: return 5;
    case MAPGIS_TYPE_TABLE: return 0;
    default: return -1;
  }
}

}  // namespace
}  // namespace detail

MapGis_MemReader::MapGis_MemReader() : s_(new detail::MemReaderState) {}

MapGis_MemReader::MapGis_MemReader(const MapGis_MemReader& other) : s_(new detail::MemReaderState(*other.s_)) {}

MapGis_MemReader& MapGis_MemReader::operator=(const MapGis_MemReader& other) {
  if (this != &other) *s_ = *other.s_;
  return *this;
}

MapGis_MemReader::~MapGis_MemReader() { Close(); }

long MapGis_MemReader::Open(const wchar_t* path) {
  Close();
  return s_->layer.Open(path, detail::BinaryFile::Mode::Read, detail::kAcceptAll);
}

void MapGis_MemReader::Close() {
  s_->layer.Close();
  s_->tables.Clear();
  s_->attributes.Reset();
}

int MapGis_MemReader::GetShapeType() {
  switch (s_->layer.Type()) {
    case MAPGIS_TYPE_POINT: return 1;
    case MAPGIS_TYPE_LINE: return 3;
    case MAPGIS_TYPE_POLYGON: return 5;
    case MAPGIS_TYPE_NETWORK: return 3;
    default: return -1;
  }
}

int MapGis_MemReader::GetPntCount(int* slots) {
  if (slots) *slots = s_->layer.Readable(1);
  return s_->layer.Element(0);
}

int MapGis_MemReader::GetArcCount(int* slots) { return GetPntCount(slots); }

int MapGis_MemReader::GetRegCount(int* slots) {
  if (slots) *slots = s_->layer.Readable(5);
  return s_->layer.Element(4);
}

int MapGis_MemReader::GetNetPntCount(int* slots) {
  if (slots) *slots = s_->layer.Readable(3);
  return s_->layer.Element(2);
}

int MapGis_MemReader::GetTicCount() { return detail::TicCount(s_->layer.tic); }

long MapGis_MemReader::GetTicInfo(int i, MAPGIS_Tic_Info* out) { return s_->tables.Tic(s_->layer, i, out); }

long MapGis_MemReader::GetTopoInfo(int i, MAPGIS_Topology* out) { return s_->tables.Topology(s_->layer, i, out); }

void MapGis_MemReader::GetExtentInfo(double* xmin, double* ymin, double* xmax, double* ymax) {
  const double* e = s_->layer.extent;
  if (xmin) *xmin = e[0];
  if (ymin) *ymin = e[1];
  if (xmax) *xmax = e[2];
  if (ymax) *ymax = e[3];
}

char MapGis_MemReader::GetProjection(MAP_PARAstruct* out) { return NormaliseProjection(s_->layer.projection, out); }

long MapGis_MemReader::ReadGeomInfo() { return s_->tables.Load(s_->layer, detail::LayerTables::Nodes::Raw); }

long MapGis_MemReader::ReadPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo) {
  if (s_->layer.Type() != MAPGIS_TYPE_POINT) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadPoint(i, info, geo) : st;
}

long MapGis_MemReader::ReadNetPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo) {
  if (s_->layer.Type() != MAPGIS_TYPE_NETWORK) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  if (st != MAPGIS_OK) return st;
  const MAPGIS_NetPntInfo* node = s_->tables.Node(i);
  if (!node) return MAPGIS_READ_FAILED;
  if (node->status != 1) return MAPGIS_DELETED;
  if (info) {
    uint8_t block[94];
    if (!s_->layer.ReadSection(1, node->paramOffset, block, sizeof block)) return MAPGIS_READ_FAILED;
    uint8_t* rec = reinterpret_cast<uint8_t*>(info);
    info->status = node->status;
    info->textLength = 1;
    info->textOffset = 0;
    info->x = node->x;
    info->y = node->y;
    info->z = 0.0;
    std::memcpy(rec + 31, block, 26);       // point kind .. parameters up to byte 56
    std::memcpy(rec + 67, block + 36, 18);  // bytes 67 .. 84
    std::memset(rec + 85, 0, 8);
  }
  return geo ? detail::FillPoint(geo, node->x, node->y) : MAPGIS_OK;
}

long MapGis_MemReader::ReadArcInfo(int i, MAPGIS_LineInfo* info, Geometry* geo) {
  const int t = s_->layer.Type();
  if (t != MAPGIS_TYPE_LINE && t != MAPGIS_TYPE_POLYGON && t != MAPGIS_TYPE_NETWORK) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadArc(s_->layer, i, info, geo, true, false) : st;
}

long MapGis_MemReader::ReadPolygonInfo(int i, MAPGIS_RegInfo* info, Geometry* geo) {
  if (s_->layer.Type() != MAPGIS_TYPE_POLYGON) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadPolygon(s_->layer, i, info, geo, false) : st;
}

long MapGis_MemReader::ReadPolyTopo(MAPGIS_RegInfo reg, long* total, long* arcs) {
  return detail::ReadArcList(s_->layer, reg, total, arcs);
}

long MapGis_MemReader::ReadPolyArc(int arc, long* count, double* points, int capacity) {
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadArcPoints(s_->layer, arc, count, points, capacity) : st;
}

long MapGis_MemReader::GetNoteInfo(int i, char* text) {
  if (s_->layer.Type() != MAPGIS_TYPE_POINT) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadNote(s_->layer, i, text) : st;
}

void MapGis_MemReader::ReadAsPolyArc() {
  if (!s_->layer.IsOpen()) return;
  s_->layer.head.type = MAPGIS_TYPE_LINE;
  s_->tables.Clear();
  s_->attributes.Reset();
}

long MapGis_MemReader::ReadFieldInfo() {
  const int section = detail::MemAttributeSection(s_->layer.Type());
  if (section < 0) return MAPGIS_NO_TABLE;
  return s_->attributes.LoadDefinitions(s_->layer, section);
}

long MapGis_MemReader::ReadRecordAll() {
  long st = ReadFieldInfo();
  if (st != MAPGIS_OK) return st;
  return s_->attributes.LoadAllRecords(s_->layer, detail::MemAttributeSection(s_->layer.Type()));
}

long MapGis_MemReader::GetFieldCount() {
  long st = ReadFieldInfo();
  return st == MAPGIS_OK ? s_->attributes.FieldCount() : st;
}

long MapGis_MemReader::GetRecordCount() {
  long st = ReadFieldInfo();
  return st == MAPGIS_OK ? s_->attributes.RecordCount() : st;
}

long MapGis_MemReader::GetFieldInfo(int i, wchar_t* name, int* width, int* display, int* decimals) {
  return s_->attributes.FieldInfo(i, name, width, display, decimals);
}

long MapGis_MemReader::GetFieldIndex(const wchar_t* name) { return s_->attributes.FieldIndex(name); }

void* MapGis_MemReader::ReadAttribute(int record, int field, int type) {
  if (ReadFieldInfo() != MAPGIS_OK) return nullptr;
  return s_->attributes.Value(s_->layer, detail::MemAttributeSection(s_->layer.Type()), record, field, type);
}

}  // namespace MapGis
