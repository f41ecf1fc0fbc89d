#include "MapGisGeometry.h"

#include <cmath>
#include <cstdlib>

namespace MapGis {
namespace {

// Start and end (exclusive) of part p as stored, widened so that e - s
// cannot overflow whatever the part starts hold.
void PartEnds(const Geometry* g, int p, int64_t* s, int64_t* e) {
  *s = g->panPartStart[p];
  *e = (p + 1 < g->nParts) ? g->panPartStart[p + 1] : g->nVertices;
}

bool ValidPart(const Geometry* g, int64_t s, int64_t e) {
  return !(s < 0 || s >= g->nVertices || e < 1 || e > g->nVertices);
}

double RingArea(const Geometry* g, int32_t s, int32_t n) {
  if (n <= 0) return 0.0;
  double sum = 0.0;
  for (int32_t k = 0; k < n; ++k) {
    int32_t i = s + k;
    int32_t j = (k + 1 < n) ? i + 1 : s;
    sum += g->padfX[i] * g->padfY[j] - g->padfX[j] * g->padfY[i];
  }
  return sum * 0.5;
}

// Part range for area tests: [start, end) clamped to the vertex array.
void PartRange(const Geometry* g, int p, int32_t* s, int32_t* n) {
  int32_t start = g->panPartStart ? g->panPartStart[p] : 0;
  int32_t end = (p + 1 < g->nParts && g->panPartStart) ? g->panPartStart[p + 1] : g->nVertices;
  if (start < 0) start = 0;
  if (end > g->nVertices) end = g->nVertices;
  *s = start;
  *n = end > start ? end - start : 0;
}

bool HasVertices(const Geometry* g) { return g && g->nVertices > 0 && g->padfX && g->padfY; }

}  // namespace

Geometry* CreateGeometry() {
  Geometry* g = new Geometry();
  g->nSHPType = 0;
  g->nShapeId = -1;
  g->nParts = 0;
  g->panPartStart = nullptr;
  g->panPartType = nullptr;
  g->nVertices = 0;
  g->padfX = g->padfY = g->padfZ = g->padfM = nullptr;
  g->dfXMin = g->dfYMin = g->dfZMin = g->dfMMin = 0.0;
  g->dfXMax = g->dfYMax = g->dfZMax = g->dfMMax = 0.0;
  return g;
}

void EmptyGeometry(Geometry* g) {
  if (!g) return;
  std::free(g->panPartStart);
  std::free(g->panPartType);
  std::free(g->padfX);
  std::free(g->padfY);
  std::free(g->padfZ);
  std::free(g->padfM);
  g->panPartStart = g->panPartType = nullptr;
  g->padfX = g->padfY = g->padfZ = g->padfM = nullptr;
  g->nVertices = 0;
  g->nParts = 0;
}

void DestroyGeometry(Geometry* g) {
  if (!g) return;
  EmptyGeometry(g);
  delete g;
}

double GetGeoLength(Geometry* g) {
  if (!HasVertices(g) || g->nVertices < 2) return 0.0;
  double len = 0.0;
  for (int32_t i = 1; i < g->nVertices; ++i) {
    len += std::hypot(g->padfX[i] - g->padfX[i - 1], g->padfY[i] - g->padfY[i - 1]);
  }
  return len;
}

double GetGeoPerimeter(Geometry* g) {
  if (!HasVertices(g) || g->nParts < 1) return 0.0;
  double len = 0.0;
  for (int p = 0; p < g->nParts; ++p) {
    int32_t s, n;
    PartRange(g, p, &s, &n);
    for (int32_t k = 1; k < n; ++k) {
      len += std::hypot(g->padfX[s + k] - g->padfX[s + k - 1], g->padfY[s + k] - g->padfY[s + k - 1]);
    }
  }
  return len;
}

double GetGeoArea(Geometry* g) {
  if (!HasVertices(g)) return 0.0;
  return RingArea(g, 0, g->nVertices);
}

Vec2d GetGeoCentroid(Geometry* g) {
  if (!HasVertices(g)) return Vec2d(0.0, 0.0);
  const int32_t n = g->nVertices;
  double a = 0.0, cx = 0.0, cy = 0.0;
  for (int32_t i = 0; i < n; ++i) {
    int32_t j = (i + 1 < n) ? i + 1 : 0;
    double c = g->padfX[i] * g->padfY[j] - g->padfX[j] * g->padfY[i];
    a += c;
    cx += (g->padfX[i] + g->padfX[j]) * c;
    cy += (g->padfY[i] + g->padfY[j]) * c;
  }
  a *= 0.5;
  // A degenerate (zero-area) chain has no area centroid: use the vertex mean.
  if (a == 0.0 || !std::isfinite(a)) {
    double sx = 0.0, sy = 0.0;
    for (int32_t i = 0; i < n; ++i) {
      sx += g->padfX[i];
      sy += g->padfY[i];
    }
    return Vec2d(sx / n, sy / n);
  }
  return Vec2d(cx / (6.0 * a), cy / (6.0 * a));
}

void FixGeoTopo(Geometry* g) {
  if (!HasVertices(g) || g->nParts < 1) return;
  for (int p = 0; p < g->nParts; ++p) {
    int32_t s, n;
    PartRange(g, p, &s, &n);
    double area = RingArea(g, s, n);
    bool reverse = (p == 0) ? area > 0.0 : area < 0.0;
    if (!reverse) continue;
    const int32_t e = s + n;
    for (int32_t k = s; k <= (s + e - 1) / 2; ++k) {
      int32_t m = s + e - 1 - k;
      if (m <= k) break;
      std::swap(g->padfX[k], g->padfX[m]);
      std::swap(g->padfY[k], g->padfY[m]);
    }
  }
}

void FixUnclosedRing(Geometry* g) {
  if (!HasVertices(g) || !g->panPartStart) return;
  for (int p = 0; p < g->nParts; ++p) {
    int64_t s, e;
    PartEnds(g, p, &s, &e);
    if (e - s < 1) continue;  // an empty part has nothing to close
    if (!ValidPart(g, s, e)) break;
    g->padfX[e - 1] = g->padfX[s];
    g->padfY[e - 1] = g->padfY[s];
    if (g->padfZ) g->padfZ[e - 1] = g->padfZ[s];
    if (g->padfM) g->padfM[e - 1] = g->padfM[s];
  }
}

void ReScaleGeometry(Geometry* g, double f) {
  if (!g) return;
  for (int32_t i = 0; g->padfX && g->padfY && i < g->nVertices; ++i) {
    g->padfX[i] *= f;
    g->padfY[i] *= f;
  }
  g->dfXMin *= f;
  g->dfYMin *= f;
  g->dfXMax *= f;
  g->dfYMax *= f;
}

void OffsetGeometry(Geometry* g, D_3DOT d) {
  if (!g) return;
  for (int32_t i = 0; g->padfX && g->padfY && i < g->nVertices; ++i) {
    g->padfX[i] = g->padfX[i] * d.z + d.x;
    g->padfY[i] = g->padfY[i] * d.z + d.y;
  }
  g->dfXMin = g->dfXMin * d.z + d.x;
  g->dfXMax = g->dfXMax * d.z + d.x;
  g->dfYMin = g->dfYMin * d.z + d.y;
  g->dfYMax = g->dfYMax * d.z + d.y;
}

bool CheckEmptyGeo(Geometry* g) {
  return !g || g->nSHPType == 0 || g->nVertices < 1 || g->nParts < 1;
}

bool CheckEmptyParts(Geometry* g) {
  if (!g || g->nParts < 1 || !g->panPartStart) return false;
  for (int p = 0; p < g->nParts; ++p) {
    int64_t s, e;
    PartEnds(g, p, &s, &e);
    if (e - s < 1) return true;
  }
  return false;
}

bool CheckUnRingOrder(Geometry* g) {
  if (!HasVertices(g) || g->nParts < 1) return false;
  for (int p = 0; p < g->nParts; ++p) {
    int32_t s, n;
    PartRange(g, p, &s, &n);
    double area = RingArea(g, s, n);
    if (p == 0 ? area > 0.0 : area < 0.0) return true;
  }
  return false;
}

int32_t CheckUnclosedRing(Geometry* g, double tolerance) {
  if (!HasVertices(g) || !g->panPartStart) return 0;
  int32_t open = 0;
  for (int p = 0; p < g->nParts; ++p) {
    int64_t s, e;
    PartEnds(g, p, &s, &e);
    if (e - s < 1) continue;
    if (!ValidPart(g, s, e)) break;
    if (std::fabs(g->padfX[s] - g->padfX[e - 1]) > tolerance ||
        std::fabs(g->padfY[s] - g->padfY[e - 1]) > tolerance) {
      ++open;
    }
  }
  return open;
}

bool CheckSelfIntersect(Geometry*) { return false; }

bool CheckShortSegment(Geometry*, double) { return false; }

}  // namespace MapGis
