#include "DemoCommon.h"

#include <cmath>
#include <cstring>

#include "MapGisCodePage.h"
#include "MapGisStatus.h"

namespace demo {

void Check(long status, const std::string& what) {
  if (status != MapGis::MAPGIS_OK) {
    throw DemoError(what + ": status " + std::to_string(status) + " (" + MapGis::StatusText(status) + ")");
  }
}

MapGis::MAP_PARAstruct DemoProjection() {
  MapGis::MAP_PARAstruct p;
  std::memset(&p, 0, sizeof p);
  p.coordType = 3;  // projected
  p.unit = 2;       // metres
  p.projType = 5;   // Gauss-Kruger
  p.ellipsoid = 2;  // Xian 1980
  p.scale = 1.0;
  p.centralMeridian = 1170000.0;
  p.sizeFactorX = 1.0;
  p.sizeFactorY = 1.0;
  // The layer writer's default for this uninterpreted double; kept so every
  // file of the set carries the same record.
  const double one = 1.0;
  std::memcpy(reinterpret_cast<unsigned char*>(&p) + 141, &one, sizeof one);
  return p;
}

std::string Gbk(const std::string& utf8) {
  const std::string gbk = MapGis::Utf8ToAnsi(utf8);
  if (MapGis::AnsiToUtf8(gbk) != utf8) throw DemoError("not representable in GBK: " + utf8);
  return gbk;
}

std::wstring WidePath(const std::filesystem::path& p) { return MapGis::Utf8ToWide(p.u8string()); }

GeometryPtr LineGeometry(const std::vector<Xy>& points) {
  GeometryPtr g(MapGis::CreateGeometry(), MapGis::DestroyGeometry);
  const size_t n = points.size();
  g->nSHPType = 3;
  g->nParts = 1;
  g->nVertices = static_cast<int32_t>(n);
  g->panPartStart = static_cast<int32_t*>(std::calloc(1, sizeof(int32_t)));
  g->panPartType = static_cast<int32_t*>(std::calloc(1, sizeof(int32_t)));
  g->padfX = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfY = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfZ = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfM = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  if (!g->panPartStart || !g->panPartType || !g->padfX || !g->padfY || !g->padfZ || !g->padfM) {
    throw DemoError("out of memory");
  }
  g->panPartType[0] = 5;
  for (size_t i = 0; i < n; ++i) {
    g->padfX[i] = GroundX(points[i].x);
    g->padfY[i] = GroundY(points[i].y);
  }
  return g;
}

double PolylineLength(const std::vector<Xy>& points) {
  double length = 0.0;
  for (size_t i = 1; i < points.size(); ++i) {
    length += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
  }
  return length;
}

void Extent::Add(double x, double y) {
  if (x < xmin) xmin = x;
  if (x > xmax) xmax = x;
  if (y < ymin) ymin = y;
  if (y > ymax) ymax = y;
}

}  // namespace demo
