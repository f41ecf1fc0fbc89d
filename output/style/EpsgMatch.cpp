#include "EpsgMatch.h"

#include <proj.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace cartography {

namespace {

constexpr int kGeographic3 = 1;
constexpr int kProjected = 3;
constexpr int kGeographicDegrees = 4;
constexpr int kUnitMeter = 2;
constexpr int kUnitDegree = 4;
constexpr int kProjUtm = 1;
constexpr int kProjGaussKruger = 5;
constexpr int kProjTransverseMercator = 8;

// The EPSG codes of one datum: its geographic system and the first code of
// each run of Gauss-Kruger systems (zone runs from the first zone number,
// central-meridian runs from 75 degrees east). 0: no such run.
struct Datum {
  int ellipsoid;  // MapGIS ellipsoid code
  const char* name;
  double semiMajor;
  double inverseFlattening;
  int geographic;
  int zones3;  // 3-degree zones 25..45
  int meridians3;  // 3-degree CM 75E..135E
  int zones6;  // 6-degree zones 13..23
  int meridians6;  // 6-degree CM 75E..135E
};

const Datum kDatums[] = {
    {1, "Beijing 1954", 6378245.0, 298.3, 4214, 2401, 2422, 21413, 21453},
    {2, "Xian 1980", 6378140.0, 298.257, 4610, 2349, 2370, 2327, 2338},
    {8, "CGCS2000", 6378137.0, 298.257222101, 4490, 4513, 4534, 4491, 4502},
    {7, "WGS 84", 6378137.0, 298.257223563, 4326, 0, 0, 0, 0},
};
constexpr int kUtmNorth = 32600;

const Datum* DatumOf(int ellipsoid) {
  for (const Datum& d : kDatums) {
    if (d.ellipsoid == ellipsoid) return &d;
  }
  return nullptr;
}

bool Near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

// The whole number of degrees of an angle, or -1000 when it is not one.
int WholeDegrees(double degrees) {
  if (!std::isfinite(degrees) || std::fabs(degrees) > 360.0) return -1000;
  const double r = std::round(degrees);
  return Near(degrees, r, 1e-7) ? static_cast<int>(r) : -1000;
}

struct Candidate {
  int code = 0;
  double centralMeridian = 0.0;
  double falseEasting = 500000.0;
  double scaleFactor = 1.0;
};

std::string Text(int value) { return std::to_string(value); }

struct PjDeleter {
  void operator()(PJ* p) const { proj_destroy(p); }
};
using PjPtr = std::unique_ptr<PJ, PjDeleter>;

// This thread's PROJ context: PROJ objects are used by one thread at a time.
// Its messages stay silent; a failed look-up is a warning of the match.
PJ_CONTEXT* Context() {
  struct Owned {
    PJ_CONTEXT* context = proj_context_create();
    Owned() { proj_log_level(context, PJ_LOG_NONE); }
    ~Owned() { proj_context_destroy(context); }
  };
  thread_local Owned owned;
  return owned.context;
}

// The system `code` of the EPSG database, or its successor when the code
// is deprecated and has exactly one; null when the database lacks it.
PjPtr FromDatabase(int code) {
  PJ_CONTEXT* ctx = Context();
  PjPtr crs(proj_create_from_database(ctx, "EPSG", Text(code).c_str(), PJ_CATEGORY_CRS, 1, nullptr));
  if (crs && proj_is_deprecated(crs.get())) {
    PJ_OBJ_LIST* successors = proj_get_non_deprecated(ctx, crs.get());
    if (successors && proj_list_get_count(successors) == 1) crs.reset(proj_list_get(ctx, successors, 0));
    proj_list_destroy(successors);
  }
  return crs;
}

// The transformation from the projected system `code` to its geographic
// system, longitude first; null when there is none. Made once per code and
// thread: making one costs far more than converting a layer's extent.
PJ* ToGeographic(int code) {
  thread_local std::map<int, PjPtr> made;
  const auto found = made.find(code);
  if (found != made.end()) return found->second.get();
  PjPtr& transformation = made[code];
  PJ_CONTEXT* ctx = Context();
  const PjPtr projected = FromDatabase(code);
  if (!projected) return nullptr;
  const PjPtr geographic(proj_crs_get_geodetic_crs(ctx, projected.get()));
  if (!geographic) return nullptr;
  const PjPtr raw(proj_create_crs_to_crs_from_pj(ctx, projected.get(), geographic.get(), nullptr, nullptr));
  if (!raw) return nullptr;
  transformation.reset(proj_normalize_for_visualization(ctx, raw.get()));
  return transformation.get();
}

// Whether the extent lies within 1.5 degrees of longitude of the central
// meridian of `code` (a Gauss-Kruger system whose eastings carry no zone).
bool WithinThreeDegreeZone(int code, double centralMeridian, const Extent& e) {
  PJ* toGeographic = ToGeographic(code);
  if (!toGeographic) return true;
  double x[4] = {e.minX, e.minX, e.maxX, e.maxX};
  double y[4] = {e.minY, e.maxY, e.minY, e.maxY};
  proj_trans_generic(toGeographic, PJ_FWD, x, sizeof(double), 4, y, sizeof(double), 4, nullptr, 0, 0, nullptr, 0, 0);
  for (int i = 0; i < 4; ++i) {
    // A corner that cannot be transformed comes back as HUGE_VAL, and is left out.
    if (std::isfinite(x[i]) && std::fabs(x[i] - centralMeridian) > 1.5 + 1e-9) return false;
  }
  return true;
}

// The Gauss-Kruger system of a datum for a whole-degree central meridian.
Candidate GaussKruger(const Datum& datum, int cm, const Extent* extent, std::vector<std::string>* warnings) {
  Candidate c;
  c.centralMeridian = cm;
  if (extent && std::isfinite(extent->minX) && std::isfinite(extent->maxX) && extent->minX >= 1000000.0) {
    const double zoneOfMin = std::floor(extent->minX / 1000000.0);
    const double zoneOfMax = std::floor(extent->maxX / 1000000.0);
    if (zoneOfMin != zoneOfMax || zoneOfMin > 60.0) {
      warnings->push_back("坐标横轴跨越多个投影带号，未匹配EPSG坐标系");
      return c;
    }
    const int zone = static_cast<int>(zoneOfMin);
    c.falseEasting = zone * 1000000.0 + 500000.0;
    if (zone >= 25 && zone <= 45 && cm == 3 * zone) {
      c.code = datum.zones3 + zone - 25;
    } else if (zone >= 13 && zone <= 23 && cm == 6 * zone - 3) {
      c.code = datum.zones6 + zone - 13;
    } else {
      warnings->push_back("坐标横轴带号[" + Text(zone) + "]与中央经线[" + Text(cm) + "]不符，未匹配EPSG坐标系");
    }
    return c;
  }
  if (cm < 75 || cm > 135 || cm % 3 != 0) return c;
  c.code = datum.meridians3 + (cm - 75) / 3;
  if ((cm - 75) % 6 == 0 && extent && !WithinThreeDegreeZone(c.code, cm, *extent)) {
    c.code = datum.meridians6 + (cm - 75) / 6;
  }
  return c;
}

Candidate Utm(int cm) {
  Candidate c;
  c.centralMeridian = cm;
  c.scaleFactor = 0.9996;
  if ((cm + 183) % 6 != 0) return c;
  const int zone = (cm + 183) / 6;
  if (zone >= 1 && zone <= 60) c.code = kUtmNorth + zone;
  return c;
}

// The candidate system for a projected record, code 0 when there is none.
Candidate ProjectedCandidate(const MapGis::MAP_PARAstruct& para, const Datum& datum, const Extent* extent,
                             std::vector<std::string>* warnings) {
  if (para.unit != kUnitMeter) return {};
  const int cm = WholeDegrees(MapGis::DMS2Degree(para.centralMeridian));
  if (cm == -1000) return {};
  if (para.projType == kProjGaussKruger && datum.zones3 != 0) return GaussKruger(datum, cm, extent, warnings);
  const bool utm = para.projType == kProjUtm ||
                   (para.projType == kProjTransverseMercator && MapGis::DMS2Degree(para.originLatitude) == 0.0);
  if (utm && datum.ellipsoid == 7) {
    if (extent && extent->minX >= 1000000.0) return {};  // UTM eastings carry no zone number
    return Utm(cm);
  }
  return {};
}

// A parameter of a map projection by its EPSG code, in degrees for angles
// and metres for lengths; `absent` when the projection has none.
double Parameter(PJ* conversion, int epsgCode, double absent) {
  PJ_CONTEXT* ctx = Context();
  const int count = proj_coordoperation_get_param_count(ctx, conversion);
  for (int i = 0; i < count; ++i) {
    const char* code = nullptr;
    const char* category = nullptr;
    double value = 0.0, toBase = 1.0;
    if (!proj_coordoperation_get_param(ctx, conversion, i, nullptr, nullptr, &code, &value, nullptr, &toBase, nullptr,
                                       nullptr, nullptr, &category) ||
        !code || std::strtol(code, nullptr, 10) != epsgCode) {
      continue;
    }
    const double base = value * toBase;
    return category && std::string(category) == "angular" ? base * 180.0 / M_PI : base;
  }
  return absent;
}

// The database's definition of `code` must be the system the record
// describes; a mismatch would mean a wrong table entry, never a silent guess.
bool Confirmed(PJ* crs, const Datum& datum, const Candidate* projected) {
  PJ_CONTEXT* ctx = Context();
  const PjPtr ellipsoid(proj_get_ellipsoid(ctx, crs));
  double semiMajor = 0.0, semiMinor = 0.0, inverseFlattening = 0.0;
  int computed = 0;
  if (!ellipsoid ||
      !proj_ellipsoid_get_parameters(ctx, ellipsoid.get(), &semiMajor, &semiMinor, &computed, &inverseFlattening) ||
      !Near(semiMajor, datum.semiMajor, 1e-3) || !Near(inverseFlattening, datum.inverseFlattening, 1e-6)) {
    return false;
  }
  const PJ_TYPE type = proj_get_type(crs);
  if (!projected) return type == PJ_TYPE_GEOGRAPHIC_2D_CRS || type == PJ_TYPE_GEOGRAPHIC_3D_CRS;
  if (type != PJ_TYPE_PROJECTED_CRS) return false;
  const PjPtr conversion(proj_crs_get_coordoperation(ctx, crs));
  const char* method = nullptr;
  if (!conversion || !proj_coordoperation_get_method_info(ctx, conversion.get(), nullptr, nullptr, &method) || !method ||
      std::string(method) != "9807") {  // Transverse Mercator
    return false;
  }
  const PjPtr axes(proj_crs_get_coordinate_system(ctx, crs));
  double toMetres = 0.0;
  if (!axes || !proj_cs_get_axis_info(ctx, axes.get(), 0, nullptr, nullptr, nullptr, &toMetres, nullptr, nullptr, nullptr)) {
    return false;
  }
  PJ* c = conversion.get();
  return Near(Parameter(c, 8802, 0.0), projected->centralMeridian, 1e-9) &&
         Near(Parameter(c, 8806, 0.0), projected->falseEasting, 1e-6) && Near(Parameter(c, 8807, 0.0), 0.0, 1e-6) &&
         Near(Parameter(c, 8805, 1.0), projected->scaleFactor, 1e-12) && Near(Parameter(c, 8801, 0.0), 0.0, 1e-12) &&
         Near(toMetres, 1.0, 1e-12);
}

// What the database holds for a code: its name and ESRI text, or why it
// cannot be used.
struct Description {
  std::string name;
  std::string esriText;
  std::string warning;
};

Description LookUp(int code, const Datum& datum, const Candidate* projected) {
  Description d;
  const PjPtr crs = FromDatabase(code);
  if (!crs || !Confirmed(crs.get(), datum, projected)) {
    d.warning = "EPSG:" + Text(code) + "在坐标系数据库中缺失或与投影参数不符，未使用";
    return d;
  }
  const char* name = proj_get_name(crs.get());
  d.name = name ? name : "";
  const char* const options[] = {"MULTILINE=NO", nullptr};
  const char* wkt = proj_as_wkt(Context(), crs.get(), PJ_WKT1_ESRI, options);
  if (!wkt) {
    d.warning = "EPSG:" + Text(code) + "无法转换为ESRI文本，未使用";
    return d;
  }
  d.esriText = wkt;
  return d;
}

// The description of a code, looked up once per process: the database's
// answers do not change, and looking them up costs more than converting a
// small layer. A code always stands for the same datum and candidate.
const Description& Describe(int code, const Datum& datum, const Candidate* projected) {
  static std::mutex mutex;
  static std::map<int, Description> described;
  const std::lock_guard<std::mutex> lock(mutex);
  const auto found = described.find(code);
  if (found != described.end()) return found->second;
  return described.emplace(code, LookUp(code, datum, projected)).first->second;
}

}  // namespace

EpsgMatch IdentifyEpsg(const MapGis::MAP_PARAstruct& para, const Extent* extent) {
  EpsgMatch match;
  const Datum* datum = DatumOf(para.ellipsoid);
  if (!datum) return match;

  Candidate projected;
  int code = 0;
  if (para.coordType == kGeographicDegrees || (para.coordType == kGeographic3 && para.unit == kUnitDegree)) {
    code = datum->geographic;
  } else if (para.coordType == kProjected) {
    projected = ProjectedCandidate(para, *datum, extent, &match.warnings);
    code = projected.code;
  }
  if (code == 0) return match;

  const Description& described = Describe(code, *datum, para.coordType == kProjected ? &projected : nullptr);
  if (!described.warning.empty()) {
    match.warnings.push_back(described.warning);
    return match;
  }
  match.code = code;
  match.name = described.name;
  match.esriText = described.esriText;
  return match;
}

}  // namespace cartography
