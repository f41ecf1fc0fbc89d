// Polygon reads of MapGis_FastReader: records, arc lists and assembly.
#include "FastReaderState.h"
#include "MapGisFastReader.h"
#include "PolygonAssembly.h"

namespace MapGis {

namespace {

// The fast reader's arcs for assembly: its own ReadPolyArc.
class FastArcs : public detail::ArcSource {
 public:
  FastArcs(const detail::LayerFile& layer, const std::vector<MAPGIS_LineInfo>& lines)
      : layer_(layer), lines_(lines) {}
  long ReadArc(long arc, long* count, double* points, int64_t capacity) override {
    return detail::ReadArcPoints(layer_, lines_, arc, count, points, capacity);
  }

 private:
  const detail::LayerFile& layer_;
  const std::vector<MAPGIS_LineInfo>& lines_;
};

}  // namespace

long MapGis_FastReader::ReadPolyTopo(MAPGIS_RegInfo reg, long* total, long* arcs) {
  return detail::ReadArcList(s_->layer, reg, total, arcs);
}

long MapGis_FastReader::ReadPolyArc(int arc, long* count, double* points, int capacity) {
  long st = ReadGeomInfo();
  if (st != MAPGIS_OK) return st;
  return detail::ReadArcPoints(s_->layer, s_->lines, arc, count, points, capacity);
}

long MapGis_FastReader::ReadPolygonInfo(int i, MAPGIS_RegInfo* info, Geometry* geo) {
  if (s_->layer.Type() != MAPGIS_TYPE_POLYGON) return MAPGIS_READ_FAILED;
  long st = ReadGeomInfo();
  if (st != MAPGIS_OK) return st;
  if (i < 0 || static_cast<size_t>(i) + 1 >= s_->polygons.size()) return MAPGIS_READ_FAILED;
  const MAPGIS_RegInfo& rec = s_->polygons[static_cast<size_t>(i) + 1];
  if (rec.status != 1) return MAPGIS_DELETED;
  if (rec.arcCount < 1) return MAPGIS_BAD_ARC_LIST;
  if (info) *info = rec;
  if (!geo) return MAPGIS_OK;
  FastArcs arcs(s_->layer, s_->lines);
  return detail::AssemblePolygon(s_->layer, rec, arcs, false, geo);
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
