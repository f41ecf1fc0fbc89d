#include "MapGisReader.h"

#include "AttributeTable.h"
#include "LayerFile.h"
#include "LayerTables.h"
#include "RecordReads.h"

namespace MapGis {

namespace detail {

struct ReaderState {
  LayerFile layer;
  LayerTables tables;
  AttributeTable attributes{false};
};

namespace {

int ReaderAttributeSection(int type) {
  switch (type) {
    case MAPGIS_TYPE_POINT: return 2;
    case MAPGIS_TYPE_LINE: return 2;
    case MAPGIS_TYPE_POLYGON: return 9;
    case MAPGIS_TYPE_TABLE: return 0;
    default: return -1;
  }
}

template <class Rec>
long ReplaceSlot(std::vector<Rec>& table, int i, const Rec& rec) {
  if (i < 0 || static_cast<size_t>(i) + 1 >= table.size()) return MAPGIS_READ_FAILED;
  table[static_cast<size_t>(i) + 1] = rec;
  return MAPGIS_OK;
}

template <class Rec>
long WriteTable(LayerFile& layer, int section, const std::vector<Rec>& table) {
  if (table.empty()) return MAPGIS_OK;
  if (!layer.HasSection(section)) return MAPGIS_WRITE_FAILED;
  const bool ok = layer.File().WriteAt(layer.SectionOffset(section), table.data(), table.size() * sizeof(Rec));
  return ok ? MAPGIS_OK : MAPGIS_WRITE_FAILED;
}

}  // namespace
}  // namespace detail

MapGis_Reader::MapGis_Reader() : s_(new detail::ReaderState) {}

MapGis_Reader::MapGis_Reader(const MapGis_Reader& other) : s_(new detail::ReaderState(*other.s_)) {}

MapGis_Reader& MapGis_Reader::operator=(const MapGis_Reader& other) {
  if (this != &other) *s_ = *other.s_;
  return *this;
}

MapGis_Reader::~MapGis_Reader() { Close(); }

long MapGis_Reader::Open(const wchar_t* path) {
  Close();
  long st = s_->layer.Open(path, detail::BinaryFile::Mode::ReadWrite, detail::kAcceptNoNetwork);
  if (st != MAPGIS_OK) s_->layer.Close();
  return st;
}

void MapGis_Reader::Close() {
  s_->layer.Close();
  s_->tables.Clear();
  s_->attributes.Reset();
}

int MapGis_Reader::GetInfo(int* slots, int* shapeType, int* ticCount) {
  const auto& l = s_->layer;
  const bool polygon = l.Type() == MAPGIS_TYPE_POLYGON;
  if (slots) *slots = l.Readable(polygon ? 5 : 1);
  if (shapeType) {
    switch (l.Type()) {
      case MAPGIS_TYPE_POINT: *shapeType = 1; break;
      case MAPGIS_TYPE_LINE: *shapeType = 3; break;
      case MAPGIS_TYPE_POLYGON: *shapeType = 5; break;
      default: break;
    }
  }
  if (ticCount) *ticCount = l.tic.ticCount;
  return l.Element(polygon ? 4 : 0);
}

void MapGis_Reader::GetExtentInfo(double* xmin, double* ymin, double* xmax, double* ymax) {
  const double* e = s_->layer.extent;
  if (xmin) *xmin = e[0];
  if (ymin) *ymin = e[1];
  if (xmax) *xmax = e[2];
  if (ymax) *ymax = e[3];
}

char MapGis_Reader::GetProjection(MAP_PARAstruct* out) { return NormaliseProjection(s_->layer.projection, out); }

long MapGis_Reader::GetTicInfo(int i, MAPGIS_Tic_Info* out) { return s_->tables.Tic(s_->layer, i, out); }

long MapGis_Reader::ReadGeomInfo() { return s_->tables.Load(s_->layer, detail::LayerTables::Nodes::Raw); }

long MapGis_Reader::GetNoteInfo(int i, char* text) {
  if (s_->layer.Type() != MAPGIS_TYPE_POINT) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadNote(s_->layer, i, text) : st;
}

long MapGis_Reader::ReadPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo) {
  if (s_->layer.Type() != MAPGIS_TYPE_POINT) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadPoint(i, info, geo) : st;
}

long MapGis_Reader::ReadArcInfo(int i, MAPGIS_LineInfo* info, Geometry* geo) {
  const int t = s_->layer.Type();
  if (t != MAPGIS_TYPE_LINE && t != MAPGIS_TYPE_POLYGON) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  // No data-area test here, but the run must still lie in the file.
  return st == MAPGIS_OK ? s_->tables.ReadArc(s_->layer, i, info, geo, false, true) : st;
}

long MapGis_Reader::ReadPolygonInfo(int i, MAPGIS_RegInfo* info, Geometry* geo) {
  if (s_->layer.Type() != MAPGIS_TYPE_POLYGON) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadPolygon(s_->layer, i, info, geo, true) : st;
}

long MapGis_Reader::ReadPolyTopo(MAPGIS_RegInfo reg, long* total, long* arcs) {
  return detail::ReadArcList(s_->layer, reg, total, arcs);
}

long MapGis_Reader::ReadPolyArc(int arc, long* count, double* points, int capacity) {
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadArcPoints(s_->layer, arc, count, points, capacity) : st;
}

long MapGis_Reader::GetPolyLab(int, MAPGIS_RegExt*) { return MAPGIS_READ_FAILED; }

long MapGis_Reader::SetPointInfo(int i, MAPGIS_PntInfo info) {
  if (s_->layer.Type() != MAPGIS_TYPE_POINT) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? detail::ReplaceSlot(s_->tables.points, i, info) : st;
}

long MapGis_Reader::SetArcInfo(int i, MAPGIS_LineInfo info) {
  const int t = s_->layer.Type();
  if (t != MAPGIS_TYPE_LINE && t != MAPGIS_TYPE_POLYGON) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? detail::ReplaceSlot(s_->tables.lines, i, info) : st;
}

long MapGis_Reader::SetPolygonInfo(int i, MAPGIS_RegInfo info) {
  if (s_->layer.Type() != MAPGIS_TYPE_POLYGON) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? detail::ReplaceSlot(s_->tables.polygons, i, info) : st;
}

long MapGis_Reader::WriteGeomInfo() {
  if (!s_->tables.Loaded()) return MAPGIS_OK;
  switch (s_->layer.Type()) {
    case MAPGIS_TYPE_POINT: return detail::WriteTable(s_->layer, 0, s_->tables.points);
    case MAPGIS_TYPE_LINE: return detail::WriteTable(s_->layer, 0, s_->tables.lines);
    case MAPGIS_TYPE_POLYGON: return detail::WriteTable(s_->layer, 8, s_->tables.polygons);
    default: return MAPGIS_OK;
  }
}

long MapGis_Reader::ReadFieldInfo() {
  const int section = detail::ReaderAttributeSection(s_->layer.Type());
  if (section < 0) return MAPGIS_NO_TABLE;
  return s_->attributes.LoadDefinitions(s_->layer, section);
}

long MapGis_Reader::ReadCurrentRecord(int record) {
  long st = ReadFieldInfo();
  if (st != MAPGIS_OK) return st;
  return s_->attributes.LoadRecord(s_->layer, detail::ReaderAttributeSection(s_->layer.Type()), record);
}

long MapGis_Reader::GetFieldCount() {
  long st = ReadFieldInfo();
  return st == MAPGIS_OK ? s_->attributes.FieldCount() : st;
}

long MapGis_Reader::GetRecordCount() {
  long st = ReadFieldInfo();
  return st == MAPGIS_OK ? s_->attributes.RecordCount() : st;
}

long MapGis_Reader::GetFieldInfo(int i, wchar_t* name, int* width, int* display, int* decimals) {
  return s_->attributes.FieldInfo(i, name, width, display, decimals);
}

long MapGis_Reader::GetFieldIndex(const wchar_t* name) { return s_->attributes.FieldIndex(name); }

void* MapGis_Reader::ReadAttribute(int record, int field, int type) {
  if (ReadFieldInfo() != MAPGIS_OK) return nullptr;
  return s_->attributes.Value(s_->layer, detail::ReaderAttributeSection(s_->layer.Type()), record, field, type);
}

}  // namespace MapGis
