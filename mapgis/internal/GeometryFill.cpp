#include "GeometryFill.h"

#include <cstdlib>

namespace MapGis::detail {

namespace {

double* ZeroDoubles(int32_t count) {
  return static_cast<double*>(std::calloc(count > 0 ? static_cast<size_t>(count) : 1, sizeof(double)));
}

void FreeVertices(Geometry* g) {
  std::free(g->padfX);
  std::free(g->padfY);
  std::free(g->padfZ);
  std::free(g->padfM);
  g->padfX = g->padfY = g->padfZ = g->padfM = nullptr;
  g->nVertices = 0;
}

}  // namespace

long AllocateVertices(Geometry* g, int32_t count) {
  FreeVertices(g);
  g->padfX = ZeroDoubles(count);
  g->padfY = ZeroDoubles(count);
  g->padfZ = ZeroDoubles(count);
  g->padfM = ZeroDoubles(count);
  if (!g->padfX || !g->padfY || !g->padfZ || !g->padfM) {
    FreeVertices(g);
    return MAPGIS_OUT_OF_MEMORY;
  }
  g->nVertices = count;
  return MAPGIS_OK;
}

void WidenBox(Geometry* g, int32_t count) {
  // The bounds live in locals: the compiler cannot tell that writing them
  // leaves the coordinate arrays unchanged. Each comparison keeps its order
  // (a NaN coordinate never widens the box).
  double xMin = g->dfXMin, xMax = g->dfXMax, yMin = g->dfYMin, yMax = g->dfYMax;
  const double* x = g->padfX;
  const double* y = g->padfY;
  for (int32_t i = 0; i < count; ++i) {
    xMin = x[i] < xMin ? x[i] : xMin;
    xMax = x[i] > xMax ? x[i] : xMax;
    yMin = y[i] < yMin ? y[i] : yMin;
    yMax = y[i] > yMax ? y[i] : yMax;
  }
  g->dfXMin = xMin, g->dfXMax = xMax, g->dfYMin = yMin, g->dfYMax = yMax;
}

long FillPoint(Geometry* g, double x, double y) {
  long st = AllocateVertices(g, 1);
  if (st != MAPGIS_OK) return st;
  g->nSHPType = 1;
  g->nShapeId = -1;
  g->nParts = 0;
  g->padfX[0] = x;
  g->padfY[0] = y;
  g->dfXMin = g->dfXMax = x;
  g->dfYMin = g->dfYMax = y;
  g->dfZMin = g->dfZMax = 0.0;
  g->dfMMin = g->dfMMax = 0.0;
  return MAPGIS_OK;
}

long FillLine(Geometry* g, int32_t count, const double* xy, bool allBounds) {
  long st = AllocateVertices(g, count);
  if (st != MAPGIS_OK) return st;
  std::free(g->panPartStart);
  std::free(g->panPartType);
  g->panPartStart = static_cast<int32_t*>(std::calloc(1, sizeof(int32_t)));
  g->panPartType = static_cast<int32_t*>(std::calloc(1, sizeof(int32_t)));
  if (!g->panPartStart || !g->panPartType) {
    g->nParts = 0;
    return MAPGIS_OUT_OF_MEMORY;
  }
  g->nSHPType = 3;
  g->nShapeId = -1;
  g->nParts = 1;
  g->panPartStart[0] = 0;
  g->panPartType[0] = 5;
  for (int32_t i = 0; i < count; ++i) {
    g->padfX[i] = xy[2 * static_cast<size_t>(i)];
    g->padfY[i] = xy[2 * static_cast<size_t>(i) + 1];
  }
  g->dfXMin = g->dfYMin = kBoxStart;
  g->dfXMax = g->dfYMax = -kBoxStart;
  if (allBounds) {
    g->dfZMin = g->dfMMin = kBoxStart;
    g->dfZMax = g->dfMMax = -kBoxStart;
  }
  WidenBox(g, count);
  return MAPGIS_OK;
}

}  // namespace MapGis::detail
