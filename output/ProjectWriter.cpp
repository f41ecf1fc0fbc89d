#include "ProjectWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "MapGisCodePage.h"
#include "MapGisStatus.h"

using MapGis::MAP_PARAstruct;

namespace {

// Opening of the GEOGCS clause per ellipsoid code; the writer appends the
// unit clause and the closing bracket.
const wchar_t* const kGeogcs[15] = {
    L"GEOGCS[\"GCS_UnDefine\",DATUM[\"D_UnDefine\",SPHEROID[\"UnDefine\",6370997,298.3]],PRIMEM[\"Greenwich\",0.0],",
    L"GEOGCS[\"GCS_Beijing_1954\",DATUM[\"D_Beijing_1954\",SPHEROID[\"Krasovsky_1940\",6378245,298.3]],PRIMEM[\"Greenwich\",0],",
    L"GEOGCS[\"GCS_Xian_1980\",DATUM[\"D_Xian_1980\",SPHEROID[\"Xian_1980\",6378140.0,298.257]],PRIMEM[\"Greenwich\",0.0],",
    L"GEOGCS[\"GCS_IUGG_1979\",DATUM[\"D_IUGG_1979\",SPHEROID[\"IUGG_1979\",6378137.0,298.257]],PRIMEM[\"Greenwich\",0.0],",
    L"GEOGCS[\"GCS_IUGG_1983\",DATUM[\"D_IUGG_1983\",SPHEROID[\"IUGG_1983\",6378136.0,298.257]],PRIMEM[\"Greenwich\",0.0],",
    // User-defined ellipsoid: its own parameters are not stored in the
    // record, so it is written as a sphere (inverse flattening 0).
    L"GEOGCS[\"GCS_UserDefine\",DATUM[\"D_UserDefine\",SPHEROID[\"UserDefine\",6370997,0.0]],PRIMEM[\"Greenwich\",0.0],",
    L"GEOGCS[\"GCS_IUGG_1967\",DATUM[\"D_IUGG_1967\",SPHEROID[\"IUGG_1967\",6378160.0,298.257]],PRIMEM[\"Greenwich\",0.0],",
    L"GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137,298.257223563]],PRIMEM[\"Greenwich\",0],",
    L"GEOGCS[\"GCS_GRS_1980\",DATUM[\"D_GRS_1980\",SPHEROID[\"GRS_1980\",6378137,298.257222101]],PRIMEM[\"Greenwich\",0],",
    L"GEOGCS[\"GCS_WGS_1972\",DATUM[\"D_WGS_1972\",SPHEROID[\"WGS_1972\",6378135,298.26]],PRIMEM[\"Greenwich\",0],",
    L"GEOGCS[\"GCS_Anna_1_1965\",DATUM[\"D_Anna_1_1965\",SPHEROID[\"Australian\",6378160,298.25]],PRIMEM[\"Greenwich\",0],",
    L"GEOGCS[\"GCS_Hayford_1910\",DATUM[\"D_Hayford_1910\",SPHEROID[\"Hayford_1910\",6378388,297]],PRIMEM[\"Greenwich\",0.0],",
    L"GEOGCS[\"GCS_Clarke_1880\",DATUM[\"D_Clarke_1880\",SPHEROID[\"Clarke_1880\",6378249.138,293.466307656]],PRIMEM[\"Greenwich\",0],",
    L"GEOGCS[\"GCS_Clarke_1866\",DATUM[\"D_Clarke_1866\",SPHEROID[\"Clarke_1866\",6378206.4,294.9786982]],PRIMEM[\"Greenwich\",0],",
    L"GEOGCS[\"GCS_Bessel_1841\",DATUM[\"D_Bessel_1841\",SPHEROID[\"Bessel_1841\",6377397.155,299.1528128]],PRIMEM[\"Greenwich\",0],",
};

// Unit clause per unit code, for linear and angular units alike.
const wchar_t* const kUnitClause[17] = {
    L"UNIT[\"Millimeters\",0.001]",
    L"UNIT[\"Millimeters\",0.001]",
    L"UNIT[\"Meter\",1.0]",
    L"UNIT[\"Second\",4.8481368110953598e-006]",
    L"UNIT[\"Degree\",0.017453292519943299]",
    L"UNIT[\"DMS\",1.0]",
    L"UNIT[\"Foot\",0.3048]",
    L"UNIT[\"Minute\",0.00029088820866572158]",
    L"UNIT[\"Radian\",1.0]",
    L"UNIT[\"Grad\",0.015707963267948967]",
    L"UNIT[\"Kilometer\",1000.0]",
    L"UNIT[\"DeciMeter\",0.1]",
    L"UNIT[\"CentiMeter\",0.01]",
    L"UNIT[\"Inch\",0.0254]",
    L"UNIT[\"Yard\",0.9144]",
    L"UNIT[\"SeaMile\",1852.00001]",
    L"UNIT[\"Mile\",1609.34721869444]",
};

// Metres (radians) per unit; DMS counts as 1.0 here, unlike the library's table.
const double kUnitFactor[17] = {
    0.001, 0.001, 1.0, 4.84813681109536e-06, 0.0174532925199433, 1.0, 0.3048, 0.0002908882086657216, 1.0,
    0.015707963267948967, 1000.0, 0.1, 0.01, 0.0254, 0.9144, 1852.00001, 1609.34721869444,
};

constexpr int kDegree = 4;
constexpr int kMillimeters = 0;
constexpr int kMeter = 2;

// The values that fill a template's "%.2f" placeholders, in order.
enum Value { kEnd, kFalseEasting, kCM, kLO, kP1, kP2, kH };

struct Projection {
  const wchar_t* opening;   // null: no template for this code
  const wchar_t* pattern;
  Value values[5];
};

// Projection templates per projection code. The projection name
// "Transverse_Mercator" and the parameter "Longitude_Of_Center" are spelt as
// PROJ and ArcGIS read them. Code 16 is written as ESRI's equidistant
// cylindrical projection; codes 0 and 19 have no template.
const Projection kProjections[21] = {
    {nullptr, nullptr, {kEnd}},
    {L"PROJCS[\"PRJ_UTM\",",
     L"PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"False_Easting\",%.2f],PARAMETER[\"False_Northing\",0.0],"
     L"PARAMETER[\"Central_Meridian\",%.2f],PARAMETER[\"Scale_Factor\",0.9996],PARAMETER[\"Latitude_Of_Origin\",0.0],",
     {kFalseEasting, kCM, kEnd}},
    {L"PROJCS[\"PRJ_Albers_Conical_EQ_Area\",",
     L"PROJECTION[\"Albers\"],PARAMETER[\"False_Easting\",0.0],PARAMETER[\"False_Northing\",0.0],"
     L"PARAMETER[\"Central_Meridian\",%.2f],PARAMETER[\"Standard_Parallel_1\",%.2f],"
     L"PARAMETER[\"Standard_Parallel_2\",%.2f],PARAMETER[\"Latitude_Of_Origin\",%.2f],",
     {kCM, kP1, kP2, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Lambert_Conformal_Conic\",",
     L"PROJECTION[\"Lambert_Conformal_Conic\"],PARAMETER[\"False_Easting\",0.0],PARAMETER[\"False_Northing\",0.0],"
     L"PARAMETER[\"Central_Meridian\",%.2f],PARAMETER[\"Standard_Parallel_1\",%.2f],"
     L"PARAMETER[\"Standard_Parallel_2\",%.2f],PARAMETER[\"Latitude_Of_Origin\",%.2f],",
     {kCM, kP1, kP2, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Mercator\",",
     L"PROJECTION[\"Mercator\"],PARAMETER[\"False_Easting\",0.0],PARAMETER[\"False_Northing\",0.0],"
     L"PARAMETER[\"Central_Meridian\",%.2f],PARAMETER[\"Standard_Parallel_1\",%.2f],",
     {kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Gauss_Kruger\",",
     L"PROJECTION[\"Gauss_Kruger\"],PARAMETER[\"False_Easting\",%.2f],PARAMETER[\"False_Northing\",0.0],"
     L"PARAMETER[\"Central_Meridian\",%.2f],PARAMETER[\"Scale_Factor\",1.0],PARAMETER[\"Latitude_Of_Origin\",0.0],",
     {kFalseEasting, kCM, kEnd}},
    {L"PROJCS[\"PRJ_Polyconic\",",
     L"PROJECTION[\"Polyconic\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],\tPARAMETER[\"Latitude_Of_Origin\",%.2f],",
     {kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_EQ_Dist_Conic\",",
     L"PROJECTION[\"Equidistant_Conic\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],\tPARAMETER[\"Standard_Parallel_1\",%.2f],"
     L"\tPARAMETER[\"Standard_Parallel_2\",%.2f],\tPARAMETER[\"Latitude_Of_Origin\",%.2f],",
     {kCM, kP1, kP2, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Transverse_Mecator\",",
     L"PROJECTION[\"Transverse_Mercator\"],\tPARAMETER[\"False_Easting\",%.2f],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],\tPARAMETER[\"Scale_Factor\",0.9996],"
     L"\tPARAMETER[\"Latitude_Of_Origin\",%.2f],",
     {kFalseEasting, kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_StereoGraphic\",",
     L"PROJECTION[\"Stereographic\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],\tPARAMETER[\"Scale_Factor\",1.0],\tPARAMETER[\"Latitude_Of_Origin\",%.2f],",
     {kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Lambert_Azimuthal_EQ_Area\",",
     L"PROJECTION[\"Lambert_Azimuthal_Equal_Area\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],\tPARAMETER[\"Latitude_Of_Origin\",%.2f],",
     {kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Azimuthal_EQ_Dist\",",
     L"PROJECTION[\"Azimuthal_Equidistant\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],\tPARAMETER[\"Latitude_Of_Origin\",%.2f],",
     {kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Gnomonic\",",
     L"PROJECTION[\"Gnomonic\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Longitude_Of_Center\",%.2f],\tPARAMETER[\"Latitude_Of_Center\",%.2f],",
     {kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Orthographic\",",
     L"PROJECTION[\"Orthographic\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Longitude_Of_Center\",%.2f],\tPARAMETER[\"Latitude_Of_Center\",%.2f],",
     {kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_General_VER_NS_Perspective\",",
     L"PROJECTION[\"Vertical_Near_Side_Perspective\"],\tPARAMETER[\"False_Easting\",0.0],"
     L"\tPARAMETER[\"False_Northing\",0.0],\tPARAMETER[\"Longitude_Of_Center\",%.2f],"
     L"\tPARAMETER[\"Latitude_Of_Center\",%.2f],\tPARAMETER[\"Height\",%.2f],",
     {kCM, kLO, kH, kEnd}},
    {L"PROJCS[\"PRJ_Sinusoidal\",",
     L"PROJECTION[\"Sinusoidal\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],",
     {kCM, kEnd}},
    {L"PROJCS[\"PRJ_Equirectangular\",",
     L"PROJECTION[\"Equidistant_Cylindrical\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],\tPARAMETER[\"Standard_Parallel_1\",%.2f],",
     {kCM, kLO, kEnd}},
    {L"PROJCS[\"PRJ_Miller_Cylindrical\",",
     L"PROJECTION[\"Miller_Cylindrical\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],",
     {kCM, kEnd}},
    {L"PROJCS[\"PRJ_V_D_Grinten_I\",",
     L"PROJECTION[\"Van_der_Grinten_I\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],",
     {kCM, kEnd}},
    {nullptr, nullptr, {kEnd}},
    {L"PROJCS[\"PRJ_Polar_Srereographic\",",
     L"PROJECTION[\"Stereographic_South_Pole\"],\tPARAMETER[\"False_Easting\",0.0],\tPARAMETER[\"False_Northing\",0.0],"
     L"\tPARAMETER[\"Central_Meridian\",%.2f],\tPARAMETER[\"Standard_Parallel_1\",%.2f],",
     {kCM, kLO, kEnd}},
};

const wchar_t kLocalTemplate[] =
    L"PROJECTION[\"Local\"],PARAMETER[\"False_Easting\",0.0],PARAMETER[\"False_Northing\",0.0],"
    L"PARAMETER[\"Scale_Factor\",1.0],PARAMETER[\"Azimuth\",0.0],PARAMETER[\"Longitude_Of_Center\",0.0],"
    L"PARAMETER[\"Latitude_Of_Center\",0.0],";

// Fixed-point text of a finite value, independent of the process locale
// (a comma as decimal separator would break the .prj).
std::wstring FixedText(double v, int decimals) {
  char buffer[400];  // a finite double has at most 309 integer digits
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return L"0.00";
  return std::wstring(buffer, r.ptr);
}

// An angle with two to ten decimals: trailing zeros go beyond the second.
std::wstring AngleText(double v) {
  std::wstring s = FixedText(v, 10);
  const size_t point = s.find(L'.');
  if (point == std::wstring::npos) return s;
  while (s.size() > point + 3 && s.back() == L'0') s.pop_back();
  // A value that rounds to zero prints without a sign.
  if (s[0] == L'-' && s.find_first_not_of(L"0.", 1) == std::wstring::npos) s.erase(0, 1);
  return s;
}

double ValueOf(Value v, const MAP_PARAstruct& p) {
  switch (v) {
    case kFalseEasting: return 500000.0 / kUnitFactor[p.unit];
    case kCM: return MapGis::DMS2Degree(p.centralMeridian);
    case kLO: return MapGis::DMS2Degree(p.originLatitude);
    case kP1: return MapGis::DMS2Degree(p.parallel1);
    case kP2: return MapGis::DMS2Degree(p.parallel2);
    case kH: return MapGis::DMS2Degree(p.height);
    case kEnd: break;
  }
  return 0.0;
}

bool CodesInRange(const MAP_PARAstruct& p) {
  return p.coordType >= 0 && p.coordType <= 4 && p.unit >= 0 && p.unit <= 16 && p.projType >= 0 &&
         p.projType <= 20 && p.ellipsoid >= 0 && p.ellipsoid <= 14;
}

// A projected system can be written only when its code has a template and
// every value the template prints is a finite number.
bool ProjectedWritable(const MAP_PARAstruct& p) {
  const Projection& proj = kProjections[p.projType];
  if (!proj.opening) return false;
  for (const Value v : proj.values) {
    if (v == kEnd) break;
    if (!std::isfinite(ValueOf(v, p))) return false;
  }
  return true;
}

// The template with each "%.2f" replaced by its value: false eastings with
// two decimals, angles with two to ten.
std::wstring FillTemplate(const Projection& proj, const MAP_PARAstruct& p) {
  static const std::wstring kPlaceholder = L"%.2f";
  const std::wstring pattern = proj.pattern;
  std::wstring out;
  size_t from = 0;
  size_t next = 0;
  for (;;) {
    const size_t at = pattern.find(kPlaceholder, from);
    if (at == std::wstring::npos || proj.values[next] == kEnd) break;
    const Value v = proj.values[next++];
    const double value = ValueOf(v, p);
    out.append(pattern, from, at - from);
    out += v == kFalseEasting ? FixedText(value, 2) : AngleText(value);
    from = at + kPlaceholder.size();
  }
  out.append(pattern, from, std::wstring::npos);
  return out;
}

std::wstring LocalText() {
  return std::wstring(L"PROJCS[\"PRJ_UNKNOWN\",") + kGeogcs[0] + kUnitClause[kDegree] + L"]," + kLocalTemplate +
         kUnitClause[kMillimeters] + L"]";
}

}  // namespace

double ProjectWriter::UnitFactor(int unit) {
  if (unit < 0 || unit > 16) return 1.0;
  return kUnitFactor[unit];
}

ProjectWriter::Text ProjectWriter::TranslateProjection(MAP_PARAstruct* para) {
  const bool valid = para && CodesInRange(*para) && (para->coordType != 3 || ProjectedWritable(*para));
  if (!valid) {
    if (para) para->coordType = 0;
    return {LocalText(), {L"------W__待转换文件无投影信息"}};
  }
  const MAP_PARAstruct& p = *para;
  switch (p.coordType) {
    case 1: return {std::wstring(kGeogcs[p.ellipsoid]) + kUnitClause[p.unit] + L"]", {}};
    case 2: return {};
    case 3: {
      const Projection& proj = kProjections[p.projType];
      return {std::wstring(proj.opening) + kGeogcs[p.ellipsoid] + kUnitClause[kDegree] + L"]," +
                  FillTemplate(proj, p) + kUnitClause[p.unit] + L"]",
              {}};
    }
    case 4: return {std::wstring(kGeogcs[p.ellipsoid]) + kUnitClause[kDegree] + L"]", {}};
    default: return {LocalText(), {}};
  }
}

void ProjectWriter::ConvertToMeters(MAP_PARAstruct* para) {
  if (!para) return;
  const int unit = para->unit;
  const bool linear = unit == 0 || unit == 1 || unit == 6 || (unit >= 10 && unit <= 16);
  if (!linear) return;
  para->scale *= kUnitFactor[unit];
  para->unit = kMeter;
}
