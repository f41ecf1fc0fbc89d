#pragma once
// The projection parameter record of layer and project files and the small
// numeric helpers that interpret it.
#include <cstddef>
#include <cstdint>

namespace MapGis {

#pragma pack(push, 1)
struct MAP_PARAstruct {
  int8_t coordType;        // 0 none, 1 geographic (unit), 2 no reference, 3 projected, 4 degrees
  int8_t unit;             // unit code 0..16
  uint8_t reserved2[16];
  int8_t projType;         // projection code 0..20
  int8_t ellipsoid;        // ellipsoid / datum code 0..14
  uint8_t reserved20[32];
  double scale;            // ground units per stored unit
  double centralMeridian;  // DDDMMSS.ss
  uint8_t reserved68[16];
  double originLatitude;   // DDDMMSS.ss
  double parallel1;        // DDDMMSS.ss
  double parallel2;        // DDDMMSS.ss
  uint8_t reserved108[17];
  double height;           // perspective height
  uint8_t reserved133[20];
  double sizeFactorX;      // width factor of sub-pictures and annotations
  double sizeFactorY;      // height factor of sub-pictures and annotations
};
#pragma pack(pop)

static_assert(sizeof(MAP_PARAstruct) == 169, "projection record is 169 bytes");
static_assert(offsetof(MAP_PARAstruct, projType) == 18, "layout");
static_assert(offsetof(MAP_PARAstruct, scale) == 52, "layout");
static_assert(offsetof(MAP_PARAstruct, centralMeridian) == 60, "layout");
static_assert(offsetof(MAP_PARAstruct, originLatitude) == 84, "layout");
static_assert(offsetof(MAP_PARAstruct, parallel2) == 100, "layout");
static_assert(offsetof(MAP_PARAstruct, height) == 125, "layout");
static_assert(offsetof(MAP_PARAstruct, sizeFactorX) == 153, "layout");
static_assert(offsetof(MAP_PARAstruct, sizeFactorY) == 161, "layout");

// DDDMMSS.ss to decimal degrees; the sign is kept in every part.
double DMS2Degree(double v);
// Metres (or radians) per unit of a unit code; 1.0 outside 0..16.
double QueryUnitScale(long unit);
// Mathematical angle (degrees, counter-clockwise from +x) to the graphic model.
double Arithmetic2Graphic(double a);
// Mathematical angle to the geographic (clockwise from north) model.
double Arithmetic2Geographic(double a);

// Copies a stored projection record into `out` with the reading rule of every
// reader: scale becomes 1.0 when there is no projection or the scale is
// below 0.001 or not finite. Returns coordType. `out` may be null.
char NormaliseProjection(const MAP_PARAstruct& stored, MAP_PARAstruct* out);

}  // namespace MapGis
