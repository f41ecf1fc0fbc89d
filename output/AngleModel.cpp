#include "AngleModel.h"

#include "MapGisProjection.h"

double AngleModel::StyleAngle(double angle, AngleUse use) const {
  if (rotateType != 1) return angle;
  if (symbolType == 3) {
    return use == AngleUse::NetworkNode ? MapGis::Arithmetic2Graphic(angle) : MapGis::Arithmetic2Geographic(angle);
  }
  if (symbolType == 4) return MapGis::Arithmetic2Geographic(angle);
  return angle;
}

double AngleModel::CodedAngle(double angle) const {
  return rotateType == 1 ? MapGis::Arithmetic2Geographic(angle) : angle;
}
