#pragma once
// Filling a Geometry from records: the shapes every reader hands out.
#include <cstdint>

#include "MapGisGeometry.h"
#include "MapGisStatus.h"

namespace MapGis::detail {

// Initial bounding box of a line or polygon before it is widened: the double
// nearest to 1.79769313486232e307, about a tenth of the largest double.
constexpr double kBoxStart = 1.79769313486232e307;

// Makes `g` a point at (x, y): shape 1, no parts, one vertex.
long FillPoint(Geometry* g, double x, double y);

// Makes `g` a polyline of one part with `count` vertices taken from `xy`
// (x, y pairs); Z and M are 0. `allBounds` also starts the Z and M bounds.
long FillLine(Geometry* g, int32_t count, const double* xy, bool allBounds);

// Replaces the coordinate arrays of `g` by zeroed arrays of `count` entries.
long AllocateVertices(Geometry* g, int32_t count);

// Widens the X/Y box of `g` over its first `count` vertices.
void WidenBox(Geometry* g, int32_t count);

}  // namespace MapGis::detail
