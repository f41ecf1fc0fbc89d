#include "LayerTables.h"

#include "GeometryFill.h"
#include "RecordReads.h"

namespace MapGis::detail {

namespace {

// Arcs of the assembly read from the loaded line table.
class TableArcs : public ArcSource {
 public:
  TableArcs(const LayerFile& layer, const LayerTables& tables) : layer_(layer), tables_(tables) {}
  long ReadArc(long arc, long* count, double* points, int64_t capacity) override {
    return tables_.ReadArcPoints(layer_, arc, count, points, capacity);
  }

 private:
  const LayerFile& layer_;
  const LayerTables& tables_;
};

// Network nodes served as point records: a deleted node keeps its status and
// its parameter block is not read.
long NodesAsPoints(const LayerFile& layer, const std::vector<MAPGIS_NetPntInfo>& nodes,
                   std::vector<MAPGIS_PntInfo>& points) {
  points.assign(nodes.size(), MAPGIS_PntInfo{});
  for (size_t k = 0; k < nodes.size(); ++k) {
    MAPGIS_PntInfo& p = points[k];
    p.status = nodes[k].status;
    p.textLength = 1;
    p.textOffset = 0;
    p.x = nodes[k].x;
    p.y = nodes[k].y;
    p.z = 0.0;
    if (nodes[k].status != 1) continue;
    if (!layer.ReadSection(1, nodes[k].paramOffset, reinterpret_cast<uint8_t*>(&p) + 31, 62)) {
      return MAPGIS_READ_FAILED;
    }
  }
  return MAPGIS_OK;
}

}  // namespace

void LayerTables::Clear() {
  loaded_ = false;
  failed_ = MAPGIS_OK;
  points.clear();
  points.shrink_to_fit();
  lines.clear();
  lines.shrink_to_fit();
  polygons.clear();
  polygons.shrink_to_fit();
  nodes.clear();
  nodes.shrink_to_fit();
  ticsLoaded_ = false;
  tics_.clear();
  topologyLoaded_ = false;
  topology_.clear();
}

long LayerTables::Load(const LayerFile& layer, Nodes nodeMode) {
  if (loaded_) return MAPGIS_OK;
  if (!layer.IsOpen()) return MAPGIS_READ_FAILED;
  // Tables that failed to load are not read again until the file is closed:
  // a damaged file would otherwise be reread once for every record asked for.
  if (failed_ != MAPGIS_OK) return failed_;
  long st = MAPGIS_OK;
  switch (layer.Type()) {
    case MAPGIS_TYPE_POINT:
      st = layer.LoadRecords(0, layer.Element(1), points);
      break;
    case MAPGIS_TYPE_LINE:
      st = layer.LoadRecords(0, layer.Element(1), lines);
      break;
    case MAPGIS_TYPE_POLYGON:
      st = layer.LoadRecords(0, layer.Element(1), lines);
      if (st == MAPGIS_OK) st = layer.LoadRecords(8, layer.Element(5), polygons);
      break;
    case MAPGIS_TYPE_NETWORK:
      st = layer.LoadRecords(4, layer.Element(3), nodes);
      if (st == MAPGIS_OK && nodeMode == Nodes::AsPoints) {
        st = NodesAsPoints(layer, nodes, points);
        nodes.clear();
      }
      if (st == MAPGIS_OK) st = layer.LoadRecords(0, layer.Element(1), lines);
      break;
    default:
      return MAPGIS_NO_TABLE;
  }
  if (st != MAPGIS_OK) {
    Clear();
    failed_ = st;
    return st;
  }
  loaded_ = true;
  return MAPGIS_OK;
}

long LayerTables::ReadPoint(int i, MAPGIS_PntInfo* info, Geometry* geo) const {
  const MAPGIS_PntInfo* rec = Point(i);
  if (!rec) return MAPGIS_READ_FAILED;
  if (rec->status != 1) return MAPGIS_DELETED;
  if (info) *info = *rec;
  return geo ? FillPoint(geo, rec->x, rec->y) : MAPGIS_OK;
}

long LayerTables::ReadArc(const LayerFile& layer, int i, MAPGIS_LineInfo* info, Geometry* geo, bool checkDataArea,
                          bool allBounds) const {
  const MAPGIS_LineInfo* rec = Line(i);
  if (!rec) return MAPGIS_READ_FAILED;
  if (rec->status != 1) return MAPGIS_DELETED;
  if (info) *info = *rec;
  return geo ? ReadLineGeometry(layer, *rec, checkDataArea, allBounds, geo) : MAPGIS_OK;
}

long LayerTables::ReadPolygon(const LayerFile& layer, int i, MAPGIS_RegInfo* info, Geometry* geo,
                              bool deletedIsError) const {
  const MAPGIS_RegInfo* rec = Polygon(i);
  if (!rec) return MAPGIS_READ_FAILED;
  if (rec->status != 1) return MAPGIS_DELETED;
  if (rec->arcCount < 1) return MAPGIS_BAD_ARC_LIST;
  if (info) *info = *rec;
  if (!geo) return MAPGIS_OK;
  TableArcs arcs(layer, *this);
  return AssemblePolygon(layer, *rec, arcs, deletedIsError, geo);
}

long LayerTables::ReadNote(const LayerFile& layer, int i, char* text) const {
  const MAPGIS_PntInfo* rec = Point(i);
  if (!rec) return MAPGIS_READ_FAILED;
  return ReadNoteText(layer, *rec, text);
}

long LayerTables::ReadArcPoints(const LayerFile& layer, long arc, long* count, double* points,
                                int64_t capacity) const {
  return detail::ReadArcPoints(layer, lines, arc, count, points, capacity);
}

long LayerTables::Tic(const LayerFile& layer, int i, MAPGIS_Tic_Info* out) {
  if (i < 0 || i >= TicCount(layer.tic)) return MAPGIS_READ_FAILED;
  if (!ticsLoaded_) {
    long st = LoadTics(layer, tics_);
    if (st != MAPGIS_OK) return st;
    ticsLoaded_ = true;
  }
  if (static_cast<size_t>(i) >= tics_.size()) return MAPGIS_READ_FAILED;
  if (out) *out = tics_[static_cast<size_t>(i)];
  return MAPGIS_OK;
}

long LayerTables::Topology(const LayerFile& layer, int i, MAPGIS_Topology* out) {
  if (!topologyLoaded_) {
    const int t = layer.Type();
    if (t != MAPGIS_TYPE_LINE && t != MAPGIS_TYPE_POLYGON && t != MAPGIS_TYPE_NETWORK) return MAPGIS_READ_FAILED;
    long st = layer.LoadRecords(3, layer.Element(1), topology_);
    if (st != MAPGIS_OK) return st;
    topologyLoaded_ = true;
  }
  if (i < 0 || static_cast<size_t>(i) >= topology_.size()) return MAPGIS_READ_FAILED;
  if (out) *out = topology_[static_cast<size_t>(i)];
  return MAPGIS_OK;
}

}  // namespace MapGis::detail
