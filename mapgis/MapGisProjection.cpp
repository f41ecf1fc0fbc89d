#include "MapGisProjection.h"

#include <cmath>
#include <cstring>

namespace MapGis {

double DMS2Degree(double v) {
  const double d = std::trunc(v / 10000.0);
  const double m = std::trunc(v / 100.0) - d * 100.0;
  const double s = v - 10000.0 * d - 100.0 * m;
  return (d + m / 60.0) + s / 3600.0;
}

double QueryUnitScale(long unit) {
  static const double kScale[17] = {
      0.001, 0.001, 1.0, 4.84813681109536e-06, 0.0174532925199433, 174.533, 0.3048,
      0.0002908882086657216, 1.0, 0.015707963267948967, 1000.0, 0.1, 0.01, 0.0254, 0.9144,
      1852.00001, 1609.34721869444};
  if (unit < 0 || unit > 16) return 1.0;
  return kScale[unit];
}

namespace {

// Reduces an angle into (-360, 360] by whole turns, then into [0, 360].
// Angles that are not finite or too large to reduce become 0.
double ReduceAngle(double a) {
  if (!std::isfinite(a) || std::fabs(a) > 9.0e15) return 0.0;
  if (a > 360.0 || a < -360.0) {
    const long long turns = static_cast<long long>(std::trunc(a)) / 360;
    a -= 360.0 * static_cast<double>(turns);
  }
  if (a < 0.0) a += 360.0;
  return a;
}

}  // namespace

double Arithmetic2Graphic(double a) {
  a = ReduceAngle(a);
  if (a > 0.0 && a <= 90.0) return a + 270.0;
  if (a > 90.0 && a <= 360.0) return a - 90.0;
  return 0.0;
}

double Arithmetic2Geographic(double a) {
  a = ReduceAngle(a);
  if (a > 0.0 && a <= 90.0) return 90.0 - a;
  if (a > 90.0 && a <= 360.0) return 450.0 - a;
  return 0.0;
}

char NormaliseProjection(const MAP_PARAstruct& stored, MAP_PARAstruct* out) {
  if (!out) return static_cast<char>(stored.coordType);
  std::memset(out, 0, sizeof *out);
  std::memcpy(out, &stored, sizeof *out);
  if (stored.coordType == 0 || !(out->scale >= 0.001) || !std::isfinite(out->scale)) out->scale = 1.0;
  return static_cast<char>(stored.coordType);
}

}  // namespace MapGis
