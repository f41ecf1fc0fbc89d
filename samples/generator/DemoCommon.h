#pragma once
// What every file of the demo data set shares: its projection, its place on
// the ground, GBK text and the error the generator stops with.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "MapGisGeometry.h"
#include "MapGisProjection.h"

namespace demo {

struct DemoError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Throws unless the library reported success.
void Check(long status, const std::string& what);

// The town lies in the 3-degree Gauss-Kruger zone 39 (central meridian 117
// degrees), whose false easting carries the zone number. Coordinates of the
// map are given in metres from this corner.
constexpr double kOriginX = 39500000.0;
constexpr double kOriginY = 3500000.0;
// The town's extent in map metres.
constexpr double kWidth = 2000.0;
constexpr double kHeight = 1500.0;

struct Xy {
  double x, y;
};

// Ground coordinates of a map point.
inline double GroundX(double x) { return kOriginX + x; }
inline double GroundY(double y) { return kOriginY + y; }

// Colour numbers of the demo colour library used by the layers. Colours 1
// to 8 are plain process colours, 9 to 296 a grid of cyan, magenta and
// yellow, 297 to 300 mixed with spot inks.
enum Colour : int32_t {
  kBlack = 1,
  kRed = 2,
  kGreen = 3,
  kBlue = 4,
  kYellow = 5,
  kMagenta = 6,
  kCyan = 7,
  kWhite = 8,
  kWater = 17,        // cyan 102, magenta 51
  kResidential = 57,  // magenta 102, yellow 36
  kFarmland = 117,    // yellow 108
  kForest = 192,      // cyan 153, yellow 180
  kOrange = 297,      // spot ink 0 in full
  kTeal = 298,        // half of spot ink 1
  kGrey = 299,        // spot ink 2 over a light cyan
  kDeepRed = 300,     // magenta 200 saturated by spot ink 0
};
constexpr int32_t kColourCount = 300;

// Gauss-Kruger on the Xian 1980 ellipsoid, metres, central meridian 117
// degrees (DDDMMSS), scale 1, size factors 1.
MapGis::MAP_PARAstruct DemoProjection();

// The text in code page 936; throws if GBK cannot hold it.
std::string Gbk(const std::string& utf8);

// Wide form of a path for the library.
std::wstring WidePath(const std::filesystem::path& p);

// A geometry owned by the caller, freed with DestroyGeometry.
using GeometryPtr = std::unique_ptr<MapGis::Geometry, void (*)(MapGis::Geometry*)>;
// A one-part line through the given map points, in ground coordinates.
GeometryPtr LineGeometry(const std::vector<Xy>& points);

// Length of a polyline.
double PolylineLength(const std::vector<Xy>& points);

// A growing bounding box.
struct Extent {
  double xmin = 1e300, ymin = 1e300, xmax = -1e300, ymax = -1e300;
  void Add(double x, double y);
};

}  // namespace demo
