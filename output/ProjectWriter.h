#pragma once
// Turns a layer's (or project's) projection record into the ESRI
// well-known text of a .prj file, from fixed tables: one geographic
// system per ellipsoid code, one projection template per projection code,
// one unit clause per unit code.
#include <string>
#include <vector>

#include "MapGisProjection.h"

class ProjectWriter {
 public:
  // The .prj text of a record and the log lines its translation gives.
  struct Text {
    std::wstring wkt;
    std::vector<std::wstring> warnings;  // whole log messages ("------W__...")
  };

  // The .prj text of the record. An invalid record (a code out of range,
  // a projected system without a template, an angle that is not a finite
  // number) gets coordType 0 in the caller's record and a warning, and is
  // written as the local system. coordType 2 gives "".
  static Text TranslateProjection(MapGis::MAP_PARAstruct* para);

  // Folds a linear unit other than Meter into `scale` and sets `unit` to
  // Meter; Meter and the angular units are left unchanged.
  static void ConvertToMeters(MapGis::MAP_PARAstruct* para);

  // Metres (or radians) per unit code, DMS counted as 1.0; 1.0 outside 0..16.
  static double UnitFactor(int unit);
};
