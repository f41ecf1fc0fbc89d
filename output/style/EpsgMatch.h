#pragma once
// Identifies the EPSG coordinate reference system that a MapGIS projection
// record describes, so that the .prj can carry the EPSG definition (as ESRI
// text from PROJ's database) and GIS programs recognise the CRS.
//
// Recognised: geographic coordinates in degrees and Gauss-Kruger (projection
// code 5) on Beijing 1954 (ellipsoid code 1), Xian 1980 (2) and CGCS2000
// (8, the GRS 1980 ellipsoid, which CGCS2000 uses); geographic coordinates
// and UTM north (projection code 1, or 8 with latitude of origin 0) on
// WGS 84 (7). Projected records must be in metres.
//
// Gauss-Kruger zones: eastings of 1,000,000 and more carry the zone number
// (zone z: false easting z * 1,000,000 + 500,000); a 3-degree zone z has
// central meridian 3z (zones 25 to 45), a 6-degree zone 6z - 3 (zones 13 to
// 23). Eastings below 1,000,000 have a false easting of 500,000: the
// "CM nnnE" systems. Every 6-degree central meridian is also a 3-degree
// one, and both definitions are the same; the 3-degree system is chosen
// unless the layer's extent reaches farther than 1.5 degrees of longitude
// from the central meridian, which only a 6-degree zone covers.
#include <string>
#include <vector>

#include "MapGisProjection.h"

namespace cartography {

// A layer's coordinates as written (after the coordinate factor).
struct Extent {
  double minX = 0.0;
  double minY = 0.0;
  double maxX = 0.0;
  double maxY = 0.0;
};

struct EpsgMatch {
  int code = 0;          // 0: no EPSG system matches
  std::string name;      // the system's name in the EPSG database
  std::string esriText;  // its ESRI well-known text, for the .prj
  // Why a record that looked like a recognised system was not matched
  // (log texts without their severity prefix).
  std::vector<std::string> warnings;
};

// `para` as the projection writer receives it (units folded as the
// spatial-reference mode does); `extent` may be null when it is not known,
// in which case eastings are taken to carry no zone number.
EpsgMatch IdentifyEpsg(const MapGis::MAP_PARAstruct& para, const Extent* extent);

}  // namespace cartography
