#pragma once
// The geometry buffer shared by the readers, the writer and shapefile output,
// the small value types exchanged with callers, and the geometry utilities.
#include <cstdint>

// Two doubles; index 0 is x, 1 is y, anything else throws the integer 0.
struct Vec2d {
  double x, y;
  Vec2d(double x_ = 0.0, double y_ = 0.0) : x(x_), y(y_) {}
  double& operator[](short i) {
    if (i == 0) return x;
    if (i == 1) return y;
    throw 0;
  }
  const double& operator[](short i) const {
    if (i == 0) return x;
    if (i == 1) return y;
    throw 0;
  }
};

// Two floats; indexed like Vec2d.
struct Vec2f {
  float x, y;
  Vec2f(float x_ = 0.0f, float y_ = 0.0f) : x(x_), y(y_) {}
  float& operator[](short i) {
    if (i == 0) return x;
    if (i == 1) return y;
    throw 0;
  }
  const float& operator[](short i) const {
    if (i == 0) return x;
    if (i == 1) return y;
    throw 0;
  }
};

namespace MapGis {

struct Point2D {
  double x, y;
};

struct D_3DOT {
  double x, y, z;
};

// Geometry has the fields, order and types of shapelib's shape object
// (without its measure flag), so a filled Geometry can stand in for it.
// The six arrays are calloc'ed and freed with free().
class Geometry {
 public:
  int32_t nSHPType;    // 1 point, 3 arc, 5 polygon
  int32_t nShapeId;    // -1 when filled by a reader
  int32_t nParts;
  int32_t* panPartStart;
  int32_t* panPartType;  // 5 ring (first part), 3 inner ring
  int32_t nVertices;
  double* padfX;
  double* padfY;
  double* padfZ;
  double* padfM;
  double dfXMin, dfYMin, dfZMin, dfMMin;
  double dfXMax, dfYMax, dfZMax, dfMMax;

  // Shallow copy: the copy shares the arrays.
  Geometry& operator=(const Geometry&) = default;

 private:
  Geometry() {}
  ~Geometry() {}
  Geometry(const Geometry&) = default;
  friend Geometry* CreateGeometry();
  friend void DestroyGeometry(Geometry*);
};

#pragma pack(push, 1)
struct WKBPoint {
  uint8_t byteOrder;
  uint32_t wkbType;
  double x;
  double y;
};

struct WKBLineString {
  uint8_t byteOrder;
  uint32_t wkbType;
  uint32_t numPoints;
  Point2D* points;
};

struct LinearRing {
  uint32_t numPoints;
  Point2D* points;
};

struct WKBPolygon {
  uint8_t byteOrder;
  uint32_t wkbType;
  uint32_t numRings;
  LinearRing* rings;
};
#pragma pack(pop)

static_assert(sizeof(WKBPoint) == 21, "WKBPoint is packed");
static_assert(sizeof(Point2D) == 16, "Point2D is two doubles");

Geometry* CreateGeometry();
void EmptyGeometry(Geometry* g);
void DestroyGeometry(Geometry* g);

double GetGeoLength(Geometry* g);
double GetGeoPerimeter(Geometry* g);
double GetGeoArea(Geometry* g);
Vec2d GetGeoCentroid(Geometry* g);

void FixGeoTopo(Geometry* g);
void FixUnclosedRing(Geometry* g);
void ReScaleGeometry(Geometry* g, double factor);
void OffsetGeometry(Geometry* g, D_3DOT d);

bool CheckEmptyGeo(Geometry* g);
bool CheckEmptyParts(Geometry* g);
bool CheckUnRingOrder(Geometry* g);
int32_t CheckUnclosedRing(Geometry* g, double tolerance);
bool CheckSelfIntersect(Geometry* g);
bool CheckShortSegment(Geometry* g, double tolerance);

}  // namespace MapGis
