// Polygon reads of MapGis_FastReader: records, arc lists and assembly.
#include "FastReaderState.h"
#include "MapGisFastReader.h"
#include "PolygonAssembly.h"

namespace MapGis {


long MapGis_FastReader::ReadPolyTopo(MAPGIS_RegInfo reg, long* total, long* arcs) {
  return detail::ReadArcList(s_->layer, reg, total, arcs);
}

long MapGis_FastReader::ReadPolyArc(int arc, long* count, double* points, int capacity) {
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadArcPoints(s_->layer, arc, count, points, capacity) : st;
}

long MapGis_FastReader::ReadPolygonInfo(int i, MAPGIS_RegInfo* info, Geometry* geo) {
  if (s_->layer.Type() != MAPGIS_TYPE_POLYGON) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  return st == MAPGIS_OK ? s_->tables.ReadPolygon(s_->layer, i, info, geo, false) : st;
}

long MapGis_FastReader::ReadPolygonWKB(int i, MAPGIS_RegInfo* info, WKBPolygon* out) {
  MAPGIS_RegInfo rec;
  long st = ReadPolygonInfo(i, &rec, nullptr);
  if (st != MAPGIS_OK) return st;
  if (info) *info = rec;
  if (!out) return MAPGIS_OK;
  detail::ArcList list;
  st = detail::LoadArcList(s_->layer, rec, &list);
  if (st != MAPGIS_OK) return st;
  out->byteOrder = 1;
  out->wkbType = 3;
  out->numRings = static_cast<uint32_t>(detail::RingCount(list.entries));
  out->rings = nullptr;
  return MAPGIS_OK;
}

}  // namespace MapGis
