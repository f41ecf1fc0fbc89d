#pragma once
// Builds a polygon Geometry from the arc list of a polygon record: the arcs
// are line records of the same file, 0 entries separate rings.
#include <cstdint>
#include <vector>

#include "LayerFile.h"
#include "MapGisGeometry.h"

namespace MapGis::detail {

// Reads one arc's coordinate run for the assembly (a reader's ReadPolyArc).
class ArcSource {
 public:
  virtual long ReadArc(long arc, long* count, double* points, int64_t capacity) = 0;

 protected:
  ~ArcSource() = default;
};

// The arc list of `reg`: the stored point total and its n - 1 entries, each a
// signed 32-bit arc number widened with its sign.
long ReadArcList(const LayerFile& layer, const MAPGIS_RegInfo& reg, long* total, long* arcs);

// One arc's run from a loaded line table, reversed for a negative number.
long ReadArcPoints(const LayerFile& layer, const std::vector<MAPGIS_LineInfo>& lines, long arc, long* count,
                   double* points, int64_t capacity);

// Ring count of an arc list of n entries (R in the documentation).
int64_t RingCount(const std::vector<long>& entries);

// Reads the arc list of `reg` and checks it: stored total, entries, zero count
// and vertex count (the total less the separators and one).
struct ArcList {
  long total = 0;
  std::vector<long> entries;
  int64_t zeros = 0;
  int64_t vertices = 0;
};
long LoadArcList(const LayerFile& layer, const MAPGIS_RegInfo& reg, ArcList* list);

// Fills `geo` from the arc list of `reg`. A deleted arc is skipped, or ends
// the assembly with -9981 when `deletedIsError`. The polygon is trimmed to
// the vertices its arcs filled.
long AssemblePolygon(const LayerFile& layer, const MAPGIS_RegInfo& reg, ArcSource& arcs, bool deletedIsError,
                     Geometry* geo);

}  // namespace MapGis::detail
