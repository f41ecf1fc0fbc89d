#include "VersionText.h"

#include "MapGisVersion.h"

std::string VersionText() {
  std::string text = "gridmoor " GRIDMOOR_VERSION "\n";
  text += std::string("brindle ") + MapGis::LibraryVersion() + "\n";
  text += "shapelib " GRIDMOOR_SHAPELIB_VERSION "\n";
  if (*GRIDMOOR_GDAL_VERSION) {
    text += "GDAL " GRIDMOOR_GDAL_VERSION " (the OGR plugin ogr_MAPGIS; gridmoor itself does not link GDAL)\n";
  } else {
    text += "GDAL: not found when built (no OGR plugin)\n";
  }
  text += "build: " GRIDMOOR_BUILD_TYPE ", " GRIDMOOR_COMPILER ", C++" + std::to_string(__cplusplus / 100 % 100) +
          ", no Qt";
  return text;
}
