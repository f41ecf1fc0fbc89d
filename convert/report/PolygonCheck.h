#pragma once
// A validity check of polygons for the run report: GEOS tells whether rings
// cross themselves or each other and where.
#include <memory>

#include "MapGisGeometry.h"
#include "RunReport.h"

class PolygonCheck {
 public:
  PolygonCheck();
  ~PolygonCheck();
  PolygonCheck(const PolygonCheck&) = delete;
  PolygonCheck& operator=(const PolygonCheck&) = delete;

  // False, with the reason and a point near the problem, when the polygon
  // (first ring the shell, the others holes) is not valid.
  bool Valid(const MapGis::Geometry& g, InvalidPolygon* problem);

 private:
  struct Context;
  std::unique_ptr<Context> context_;
};
