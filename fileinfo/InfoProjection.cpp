// The projection record of a layer or project, field by field.
#include <ostream>

#include "InfoModel.h"
#include "InfoParts.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

const char* CoordTypeName(int coordType) {
  switch (coordType) {
    case 0: return "no projection information";
    case 1: return "geographic, in the layer unit";
    case 2: return "no spatial reference";
    case 3: return "projected";
    case 4: return "geographic, in degrees";
    default: return "unknown";
  }
}

const char* UnitName(int unit) {
  static const char* const names[] = {"Millimeters", "Millimeters", "Meter",     "Second",     "Degree", "DMS",
                                      "Foot",        "Minute",      "Radian",    "Grad",       "Kilometer",
                                      "DeciMeter",   "CentiMeter",  "Inch",      "Yard",       "SeaMile", "Mile"};
  return unit >= 0 && unit <= 16 ? names[unit] : "unknown";
}

void PrintProjection(std::ostream& out, const MAP_PARAstruct& p) {
  out << "  projection:\n";
  out << "    coordType: " << int(p.coordType) << " " << CoordTypeName(p.coordType) << "\n";
  out << "    unit: " << int(p.unit) << " " << UnitName(p.unit) << "\n";
  out << "    projType: " << int(p.projType) << "\n";
  out << "    ellipsoid: " << int(p.ellipsoid) << "\n";
  out << "    scale: " << Format("%.10g", p.scale) << "\n";
  out << "    centralMeridian: " << Angle(p.centralMeridian) << "\n";
  out << "    originLatitude: " << Angle(p.originLatitude) << "\n";
  out << "    parallel1: " << Angle(p.parallel1) << "\n";
  out << "    parallel2: " << Angle(p.parallel2) << "\n";
  out << "    height: " << Format("%.10g", p.height) << "\n";
  out << "    sizeFactorX: " << Format("%.10g", p.sizeFactorX) << "\n";
  out << "    sizeFactorY: " << Format("%.10g", p.sizeFactorY) << "\n";
}

}  // namespace gridmoor
