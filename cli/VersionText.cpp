#include "VersionText.h"

#include "MapGisVersion.h"

std::string VersionText() {
  std::string text = "gridmoor " GRIDMOOR_VERSION "\n";
  text += std::string("brindle ") + MapGis::LibraryVersion() + "\n";
  text += "shapelib " GRIDMOOR_SHAPELIB_VERSION "\n";
  // GDAL writes the GeoPackage output and hosts the OGR plugin ogr_MAPGIS.
  text += "GDAL " GRIDMOOR_GDAL_VERSION " (GeoPackage output, OGR plugin ogr_MAPGIS)\n";
  text += "build: " GRIDMOOR_BUILD_TYPE ", " GRIDMOOR_COMPILER ", C++" + std::to_string(__cplusplus / 100 % 100) +
          ", no Qt";
  return text;
}
