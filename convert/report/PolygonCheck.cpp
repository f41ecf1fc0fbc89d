#include "PolygonCheck.h"

#include <geos_c.h>

#include <cstdarg>
#include <vector>

struct PolygonCheck::Context {
  GEOSContextHandle_t handle = GEOS_init_r();
  ~Context() { GEOS_finish_r(handle); }
};

PolygonCheck::PolygonCheck() : context_(std::make_unique<Context>()) {}

PolygonCheck::~PolygonCheck() = default;

bool PolygonCheck::Valid(const MapGis::Geometry& g, InvalidPolygon* problem) {
  GEOSContextHandle_t h = context_->handle;
  if (g.nParts < 1 || g.nVertices < 1 || !g.padfX || !g.padfY || !g.panPartStart) return true;
  std::vector<GEOSGeometry*> rings;
  for (int part = 0; part < g.nParts; ++part) {
    const int start = g.panPartStart[part];
    const int end = part + 1 < g.nParts ? g.panPartStart[part + 1] : g.nVertices;
    if (start < 0 || end > g.nVertices || end - start < 1) continue;
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(end - start), 2);
    for (int i = start; i < end; ++i) {
      GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i - start), g.padfX[i], g.padfY[i]);
    }
    GEOSGeometry* ring = GEOSGeom_createLinearRing_r(h, seq);
    if (ring) rings.push_back(ring);
  }
  if (rings.empty()) return true;
  GEOSGeometry* polygon = GEOSGeom_createPolygon_r(h, rings[0], rings.size() > 1 ? &rings[1] : nullptr,
                                                    static_cast<unsigned>(rings.size() - 1));
  if (!polygon) {
    // Rings GEOS refuses (fewer than four points, not closed) are a problem of their own.
    for (GEOSGeometry* r : rings) GEOSGeom_destroy_r(h, r);
    problem->reason = "ring not closed or too short";
    problem->x = g.padfX[0];
    problem->y = g.padfY[0];
    return false;
  }
  char* reason = nullptr;
  GEOSGeometry* location = nullptr;
  const char valid = GEOSisValidDetail_r(h, polygon, 0, &reason, &location);
  if (valid == 0) {
    problem->reason = reason ? reason : "invalid";
    double x = g.padfX[0], y = g.padfY[0];
    if (location) {
      GEOSGeomGetX_r(h, location, &x);
      GEOSGeomGetY_r(h, location, &y);
    }
    problem->x = x;
    problem->y = y;
  }
  if (reason) GEOSFree_r(h, reason);
  if (location) GEOSGeom_destroy_r(h, location);
  GEOSGeom_destroy_r(h, polygon);
  return valid != 0;
}
