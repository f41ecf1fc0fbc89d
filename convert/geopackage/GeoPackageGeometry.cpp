#include "GeoPackageGeometry.h"

#include <ogr_geometry.h>

#include <vector>

namespace {

// A part's vertex range; parts whose starts are out of order or out of
// range hold nothing.
struct Part {
  int start;
  int count;
};

std::vector<Part> PartsOf(const MapGis::Geometry& g) {
  std::vector<Part> parts;
  if (g.nParts < 1 || !g.panPartStart) {
    parts.push_back(Part{0, g.nVertices});
    return parts;
  }
  for (int i = 0; i < g.nParts; ++i) {
    const int start = g.panPartStart[i];
    const int end = i + 1 < g.nParts ? g.panPartStart[i + 1] : g.nVertices;
    if (start >= 0 && end <= g.nVertices && start < end) parts.push_back(Part{start, end - start});
  }
  return parts;
}

template <typename Curve>
Curve* CurveOf(const MapGis::Geometry& g, const Part& p) {
  auto* curve = new Curve();
  curve->setPoints(p.count, g.padfX + p.start, g.padfY + p.start);
  return curve;
}

OGRGeometry* Polygons(const MapGis::Geometry& g, const std::vector<Part>& parts) {
  std::vector<OGRGeometry*> rings;
  for (const Part& p : parts) {
    auto* polygon = new OGRPolygon();
    polygon->addRingDirectly(CurveOf<OGRLinearRing>(g, p));
    rings.push_back(polygon);
  }
  if (rings.size() == 1) return OGRGeometryFactory::forceToMultiPolygon(rings[0]);
  int valid = FALSE;
  const char* options[] = {"METHOD=ONLY_CCW", nullptr};
  OGRGeometry* organised =
      OGRGeometryFactory::organizePolygons(rings.data(), static_cast<int>(rings.size()), &valid, options);
  return OGRGeometryFactory::forceToMultiPolygon(organised);
}

}  // namespace

int GeoPackageGeometryType(ShapeKind kind) {
  switch (kind) {
    case ShapeKind::Point: return wkbPoint;
    case ShapeKind::Line: return wkbMultiLineString;
    default: return wkbMultiPolygon;
  }
}

std::unique_ptr<OGRGeometry> ToGeoPackageGeometry(const MapGis::Geometry& g, ShapeKind kind) {
  if (g.nVertices < 1 || !g.padfX || !g.padfY) return nullptr;
  if (kind == ShapeKind::Point) return std::make_unique<OGRPoint>(g.padfX[0], g.padfY[0]);
  const std::vector<Part> parts = PartsOf(g);
  if (parts.empty()) return nullptr;
  if (kind == ShapeKind::Polygon) return std::unique_ptr<OGRGeometry>(Polygons(g, parts));
  auto lines = std::make_unique<OGRMultiLineString>();
  for (const Part& p : parts) lines->addGeometryDirectly(CurveOf<OGRLineString>(g, p));
  return lines;
}
