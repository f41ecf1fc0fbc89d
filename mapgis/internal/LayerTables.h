#pragma once
// The record tables of an open layer file, loaded once on first use, and the
// record reads every reader shares. Type checks stay with each reader.
#include <vector>

#include "LayerFile.h"
#include "MapGisGeometry.h"
#include "PolygonAssembly.h"

namespace MapGis::detail {

class LayerTables {
 public:
  // How a network file's nodes are kept: converted into point records (fast
  // reader) or as the raw node records (memory reader).
  enum class Nodes { AsPoints, Raw };

  void Clear();
  bool Loaded() const { return loaded_; }
  // Loads every record table of the file's kind; on failure nothing stays loaded.
  long Load(const LayerFile& layer, Nodes nodes);

  // Record i (slot i + 1) of a table, or null when i is out of range.
  const MAPGIS_PntInfo* Point(int i) const { return Slot(points, i); }
  const MAPGIS_LineInfo* Line(int i) const { return Slot(lines, i); }
  const MAPGIS_RegInfo* Polygon(int i) const { return Slot(polygons, i); }
  const MAPGIS_NetPntInfo* Node(int i) const { return Slot(nodes, i); }

  long ReadPoint(int i, MAPGIS_PntInfo* info, Geometry* geo) const;
  long ReadArc(const LayerFile& layer, int i, MAPGIS_LineInfo* info, Geometry* geo, bool checkDataArea,
               bool allBounds) const;
  long ReadPolygon(const LayerFile& layer, int i, MAPGIS_RegInfo* info, Geometry* geo, bool deletedIsError) const;
  long ReadNote(const LayerFile& layer, int i, char* text) const;
  long ReadArcPoints(const LayerFile& layer, long arc, long* count, double* points, int64_t capacity) const;

  // Tic and topology tables load on their own first use.
  long Tic(const LayerFile& layer, int i, MAPGIS_Tic_Info* out);
  long Topology(const LayerFile& layer, int i, MAPGIS_Topology* out);

  std::vector<MAPGIS_PntInfo> points;
  std::vector<MAPGIS_LineInfo> lines;
  std::vector<MAPGIS_RegInfo> polygons;
  std::vector<MAPGIS_NetPntInfo> nodes;

 private:
  template <class Rec>
  static const Rec* Slot(const std::vector<Rec>& table, int i) {
    if (i < 0 || static_cast<size_t>(i) + 1 >= table.size()) return nullptr;
    return &table[static_cast<size_t>(i) + 1];
  }

  bool loaded_ = false;
  long failed_ = MAPGIS_OK;  // status of a load that failed, kept until Clear
  bool ticsLoaded_ = false;
  std::vector<MAPGIS_Tic_Info> tics_;
  bool topologyLoaded_ = false;
  std::vector<MAPGIS_Topology> topology_;
};

}  // namespace MapGis::detail
