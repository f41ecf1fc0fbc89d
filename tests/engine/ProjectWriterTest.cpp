// Spatial-reference text of projection records, the .prj file, unit folding,
// and a parse of every written text by GDAL's spatial-reference reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "MapGisCodePage.h"
#include "MapGisStatus.h"
#include "ProjectWriter.h"
#include "TempDir.h"

#ifdef GRIDMOOR_HAVE_GDAL
#include <cpl_error.h>
#include <ogr_spatialref.h>
#endif

using MapGis::MAP_PARAstruct;
using testing_support::ReadAll;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const std::wstring kWarning = L">------W__待转换文件无投影信息";

const std::wstring kLocal =
    L"PROJCS[\"PRJ_UNKNOWN\",GEOGCS[\"GCS_UnDefine\",DATUM[\"D_UnDefine\",SPHEROID[\"UnDefine\",6370997,298.3]],"
    L"PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.017453292519943299]],PROJECTION[\"Local\"],"
    L"PARAMETER[\"False_Easting\",0.0],PARAMETER[\"False_Northing\",0.0],PARAMETER[\"Scale_Factor\",1.0],"
    L"PARAMETER[\"Azimuth\",0.0],PARAMETER[\"Longitude_Of_Center\",0.0],PARAMETER[\"Latitude_Of_Center\",0.0],"
    L"UNIT[\"Millimeters\",0.001]]";

const std::wstring kXian1980 =
    L"GEOGCS[\"GCS_Xian_1980\",DATUM[\"D_Xian_1980\",SPHEROID[\"Xian_1980\",6378140.0,298.257]],"
    L"PRIMEM[\"Greenwich\",0.0],";
const std::wstring kWgs1984 =
    L"GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137,298.257223563]],"
    L"PRIMEM[\"Greenwich\",0],";
const std::wstring kDegreeClose = L"UNIT[\"Degree\",0.017453292519943299]],";

MAP_PARAstruct Record(int coordType, int unit, int projType, int ellipsoid) {
  MAP_PARAstruct p;
  std::memset(&p, 0xA5, sizeof p);  // the uninterpreted bytes must not matter
  p.coordType = static_cast<int8_t>(coordType);
  p.unit = static_cast<int8_t>(unit);
  p.projType = static_cast<int8_t>(projType);
  p.ellipsoid = static_cast<int8_t>(ellipsoid);
  p.scale = 1.0;
  p.centralMeridian = 0.0;
  p.originLatitude = 0.0;
  p.parallel1 = 0.0;
  p.parallel2 = 0.0;
  p.height = 0.0;
  return p;
}

class ProjectWriterTest : public ::testing::Test {
 protected:
  // The text of a record; its warnings are kept as log lines for Log().
  std::wstring Translate(MAP_PARAstruct* p) {
    const ProjectWriter::Text text = ProjectWriter::TranslateProjection(p);
    warnings_.clear();
    for (const std::wstring& w : text.warnings) warnings_.push_back(L">" + w);
    return text.wkt;
  }
  std::vector<std::wstring> Log() const { return warnings_; }

 private:
  std::vector<std::wstring> warnings_;
};

// Writes a .prj text as the result writer does: its UTF-8 bytes, nothing more.
void WritePrj(const std::wstring& text, const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << MapGis::WideToUtf8(text);
}


}  // namespace

TEST_F(ProjectWriterTest, NoProjectionIsTheLocalSystemWhateverTheOtherCodes) {
  MAP_PARAstruct p = Record(0, 6, 8, 7);
  EXPECT_EQ(Translate(&p), kLocal);
  EXPECT_EQ(p.coordType, 0);
  EXPECT_TRUE(Log().empty());
}

TEST_F(ProjectWriterTest, InvalidRecordsAreWrittenAsLocalWithOneWarning) {
  struct Case {
    const char* what;
    MAP_PARAstruct record;
  };
  std::vector<Case> cases = {
      {"coordType 9", Record(9, 2, 5, 2)},
      {"negative coordType", Record(-1, 2, 5, 2)},
      {"unit 17", Record(1, 17, 5, 2)},
      {"negative unit", Record(4, -3, 5, 2)},
      {"projType 21", Record(2, 2, 21, 2)},
      {"ellipsoid 15", Record(4, 2, 5, 15)},
      {"negative ellipsoid", Record(3, 2, 5, -128)},
      {"projected without template 0", Record(3, 2, 0, 2)},
      {"projected without template 19", Record(3, 2, 19, 2)},
  };
  MAP_PARAstruct nanMeridian = Record(3, 2, 5, 2);
  nanMeridian.centralMeridian = kNan;
  cases.push_back({"NaN central meridian", nanMeridian});
  MAP_PARAstruct infHeight = Record(3, 2, 14, 2);
  infHeight.height = kInf;
  cases.push_back({"infinite height", infHeight});
  MAP_PARAstruct nanParallel = Record(3, 2, 7, 2);
  nanParallel.parallel2 = -kNan;
  cases.push_back({"NaN second parallel", nanParallel});

  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring text = Translate(&c.record);
    EXPECT_EQ(text, kLocal);
    EXPECT_EQ(text.find(L"nan"), std::wstring::npos);
    EXPECT_EQ(c.record.coordType, 0);
    EXPECT_EQ(Log(), std::vector<std::wstring>{kWarning});
  }
}

TEST_F(ProjectWriterTest, NonFiniteValuesOnlyMatterWhereTheyArePrinted) {
  // Gauss-Kruger prints no parallels; a geographic system prints no angle.
  MAP_PARAstruct projected = Record(3, 2, 5, 2);
  projected.parallel1 = kNan;
  projected.height = kInf;
  projected.centralMeridian = 1170000;
  EXPECT_NE(Translate(&projected).find(L"\"Central_Meridian\",117.00]"), std::wstring::npos);
  EXPECT_EQ(projected.coordType, 3);

  MAP_PARAstruct geographic = Record(4, 2, 5, 7);
  geographic.centralMeridian = kNan;
  EXPECT_EQ(Translate(&geographic), kWgs1984 + L"UNIT[\"Degree\",0.017453292519943299]]");
  EXPECT_EQ(geographic.coordType, 4);
  EXPECT_TRUE(Log().empty());
}

TEST_F(ProjectWriterTest, GeographicSystems) {
  // coordType 1 takes the record's unit as angular unit, coordType 4 always degrees.
  MAP_PARAstruct dms = Record(1, 5, 0, 2);
  EXPECT_EQ(Translate(&dms), kXian1980 + L"UNIT[\"DMS\",1.0]]");
  MAP_PARAstruct degrees = Record(4, 6, 0, 7);
  EXPECT_EQ(Translate(&degrees), kWgs1984 + L"UNIT[\"Degree\",0.017453292519943299]]");
  MAP_PARAstruct userDefined = Record(1, 8, 0, 5);
  EXPECT_EQ(Translate(&userDefined),
            L"GEOGCS[\"GCS_UserDefine\",DATUM[\"D_UserDefine\",SPHEROID[\"UserDefine\",6370997,0.0]],"
            L"PRIMEM[\"Greenwich\",0.0],UNIT[\"Radian\",1.0]]");
  MAP_PARAstruct none = Record(2, 2, 5, 2);
  EXPECT_EQ(Translate(&none), L"");
  EXPECT_TRUE(Log().empty());
}

TEST_F(ProjectWriterTest, GaussKrugerInMetresAndMillimetres) {
  MAP_PARAstruct p = Record(3, 2, 5, 2);
  p.centralMeridian = 1170000;
  const std::wstring head = L"PROJCS[\"PRJ_Gauss_Kruger\"," + kXian1980 + kDegreeClose;
  EXPECT_EQ(Translate(&p),
            head +
                L"PROJECTION[\"Gauss_Kruger\"],PARAMETER[\"False_Easting\",500000.00],PARAMETER[\"False_Northing\",0.0],"
                L"PARAMETER[\"Central_Meridian\",117.00],PARAMETER[\"Scale_Factor\",1.0],"
                L"PARAMETER[\"Latitude_Of_Origin\",0.0],UNIT[\"Meter\",1.0]]");
  p.unit = 1;
  EXPECT_EQ(Translate(&p),
            head +
                L"PROJECTION[\"Gauss_Kruger\"],PARAMETER[\"False_Easting\",500000000.00],PARAMETER[\"False_Northing\",0.0],"
                L"PARAMETER[\"Central_Meridian\",117.00],PARAMETER[\"Scale_Factor\",1.0],"
                L"PARAMETER[\"Latitude_Of_Origin\",0.0],UNIT[\"Millimeters\",0.001]]");
}

TEST_F(ProjectWriterTest, TransverseMercatorInFeetWithTabs) {
  MAP_PARAstruct p = Record(3, 6, 8, 7);
  p.centralMeridian = 1173000;
  p.originLatitude = 472000;
  EXPECT_EQ(Translate(&p),
            L"PROJCS[\"PRJ_Transverse_Mecator\"," + kWgs1984 + kDegreeClose +
                L"PROJECTION[\"Transverse_Mercator\"],\tPARAMETER[\"False_Easting\",1640419.95],"
                L"\tPARAMETER[\"False_Northing\",0.0],\tPARAMETER[\"Central_Meridian\",117.50],"
                L"\tPARAMETER[\"Scale_Factor\",0.9996],\tPARAMETER[\"Latitude_Of_Origin\",47.3333333333],"
                L"UNIT[\"Foot\",0.3048]]");
}

TEST_F(ProjectWriterTest, PerspectiveAndTheCodesWithoutATemplateOfTheirOwn) {
  MAP_PARAstruct perspective = Record(3, 2, 14, 7);
  perspective.centralMeridian = -1203000;
  perspective.originLatitude = 0.5;  // half a second
  perspective.height = 3000000;
  EXPECT_EQ(Translate(&perspective),
            L"PROJCS[\"PRJ_General_VER_NS_Perspective\"," + kWgs1984 + kDegreeClose +
                L"PROJECTION[\"Vertical_Near_Side_Perspective\"],\tPARAMETER[\"False_Easting\",0.0],"
                L"\tPARAMETER[\"False_Northing\",0.0],\tPARAMETER[\"Longitude_Of_Center\",-120.50],"
                L"\tPARAMETER[\"Latitude_Of_Center\",0.0001388889],\tPARAMETER[\"Height\",300.00],"
                L"UNIT[\"Meter\",1.0]]");

  MAP_PARAstruct equirectangular = Record(3, 10, 16, 7);
  equirectangular.centralMeridian = 1050000;
  equirectangular.originLatitude = -0.0;
  EXPECT_EQ(Translate(&equirectangular),
            L"PROJCS[\"PRJ_Equirectangular\"," + kWgs1984 + kDegreeClose +
                L"PROJECTION[\"Equidistant_Cylindrical\"],\tPARAMETER[\"False_Easting\",0.0],"
                L"\tPARAMETER[\"False_Northing\",0.0],\tPARAMETER[\"Central_Meridian\",105.00],"
                L"\tPARAMETER[\"Standard_Parallel_1\",0.00],UNIT[\"Kilometer\",1000.0]]");
  EXPECT_TRUE(Log().empty());
}

TEST_F(ProjectWriterTest, AnglesPrintTwoToTenDecimals) {
  struct Case {
    double dms;
    const wchar_t* printed;
  } cases[] = {
      {1173000, L"117.50"},          {1170000, L"117.00"},   {472000, L"47.3333333333"},
      {1203000.5, L"120.5001388889"}, {-1203000, L"-120.50"}, {0.0, L"0.00"},
      {-0.0000001, L"0.00"},          {1800000, L"180.00"},   {1234530, L"123.7583333333"},
      {10, L"0.0027777778"},          {3000, L"0.50"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.printed);
    MAP_PARAstruct p = Record(3, 2, 15, 2);  // sinusoidal: one angle, at the end
    p.centralMeridian = c.dms;
    const std::wstring text = Translate(&p);
    const std::wstring expected = std::wstring(L"\tPARAMETER[\"Central_Meridian\",") + c.printed + L"],UNIT[\"Meter\",1.0]]";
    ASSERT_GE(text.size(), expected.size());
    EXPECT_EQ(text.substr(text.size() - expected.size()), expected);
  }
}

TEST_F(ProjectWriterTest, TemplatesFromCodeSixOnSeparateClausesWithTabs) {
  for (int code = 1; code <= 20; ++code) {
    if (code == 19) continue;
    SCOPED_TRACE(code);
    MAP_PARAstruct p = Record(3, 2, code, 1);
    p.centralMeridian = 1173000;
    const std::wstring text = Translate(&p);
    const size_t projection = text.find(L"PROJECTION[");
    ASSERT_NE(projection, std::wstring::npos);
    // Nothing before the template carries white space, nor does the whole text a line break.
    EXPECT_EQ(text.find_first_of(L" \t\r\n"), text.find(L'\t'));
    EXPECT_GT(text.find(L'\t'), projection);
    const size_t unit = text.rfind(L"UNIT[\"Meter\"");
    ASSERT_NE(unit, std::wstring::npos);
    const std::wstring body = text.substr(projection, unit - projection);
    for (size_t at = body.find(L"],"); at != std::wstring::npos; at = body.find(L"],", at + 1)) {
      const bool last = at + 2 == body.size();
      const bool tab = !last && body[at + 2] == L'\t';
      EXPECT_EQ(tab, code >= 6 && !last) << "after clause ending at " << at;
    }
    EXPECT_EQ(text.find(L"Mecator\"]"), std::wstring::npos);
    EXPECT_EQ(text.find(L"Longituda"), std::wstring::npos);
  }
}

TEST_F(ProjectWriterTest, ConvertToMetersFoldsLinearUnitsOnly) {
  struct Case {
    int unit;
    double factor;  // 0: unchanged
  } cases[] = {
      {0, 0.001},  {1, 0.001}, {2, 0},     {3, 0},      {4, 0},      {5, 0},       {6, 0.3048},
      {7, 0},      {8, 0},     {9, 0},     {10, 1000},  {11, 0.1},   {12, 0.01},   {13, 0.0254},
      {14, 0.9144}, {15, 1852.00001}, {16, 1609.34721869444},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.unit);
    MAP_PARAstruct p = Record(3, c.unit, 5, 2);
    p.scale = 50000;
    ProjectWriter::ConvertToMeters(&p);
    const double scale = p.scale;  // the record is packed: copy before binding a reference
    if (c.factor == 0) {
      EXPECT_EQ(p.unit, c.unit);
      EXPECT_EQ(scale, 50000);
    } else {
      EXPECT_EQ(p.unit, 2);
      EXPECT_DOUBLE_EQ(scale, 50000 * c.factor);
    }
  }

  // Standard-reference mode on a millimetre map: factor 50, a metre .prj.
  MAP_PARAstruct map = Record(3, 1, 5, 2);
  map.scale = 50000;
  map.centralMeridian = 1170000;
  ProjectWriter::ConvertToMeters(&map);
  const double scale = map.scale;
  EXPECT_DOUBLE_EQ(scale, 50.0);
  const std::wstring text = Translate(&map);
  EXPECT_NE(text.find(L"\"False_Easting\",500000.00]"), std::wstring::npos);
  const std::wstring meter = L"],UNIT[\"Meter\",1.0]]";
  EXPECT_EQ(text.compare(text.size() - meter.size(), meter.size(), meter), 0) << text;
  ProjectWriter::ConvertToMeters(nullptr);
}

#ifdef GRIDMOOR_HAVE_GDAL

namespace {

// Collects the failures GDAL reports while it parses.
void CollectErrors(CPLErr level, CPLErrorNum, const char* message) {
  if (level >= CE_Failure) {
    auto* errors = static_cast<std::vector<std::string>*>(CPLGetErrorHandlerUserData());
    errors->push_back(message);
  }
}

struct Spheroid {
  double semiMajor;
  double inverseFlattening;
};

// What each ellipsoid code must come out as.
const Spheroid kSpheroids[15] = {
    {6370997, 298.3},   {6378245, 298.3},   {6378140, 298.257},        {6378137, 298.257},
    {6378136, 298.257}, {6370997, 0.0},     {6378160, 298.257},        {6378137, 298.257223563},
    {6378137, 298.257222101}, {6378135, 298.26}, {6378160, 298.25},    {6378388, 297},
    {6378249.138, 293.466307656}, {6378206.4, 294.9786982}, {6377397.155, 299.1528128},
};

// PROJ's name of each projection code (19 is written as the local system).
const char* const kProjMethod[21] = {
    "",      "tmerc", "aea",  "lcc",   "merc", "tmerc", "poly", "eqdc", "tmerc", "stere", "laea",
    "aeqd",  "gnom",  "ortho", "nsper", "sinu", "eqc",   "mill", "vandg", "ortho", "stere",
};

}  // namespace

TEST_F(ProjectWriterTest, GdalReadsEveryWrittenPrj) {
  TempDir dir;
  std::vector<std::string> rejected;
  std::map<std::wstring, std::string> parsed;  // text -> PROJ string, each text parsed once
  for (int coordType : {0, 1, 3, 4}) {
    for (int code = 1; code <= 20; ++code) {
      for (int ellipsoid = 0; ellipsoid <= 14; ++ellipsoid) {
        const std::string name =
            std::to_string(coordType) + "_" + std::to_string(code) + "_" + std::to_string(ellipsoid);
        SCOPED_TRACE(name);
        MAP_PARAstruct p = Record(coordType, coordType == 1 ? 4 : 2, code, ellipsoid);
        p.centralMeridian = 1173000;
        p.originLatitude = 300000;
        p.parallel1 = 250000;
        p.parallel2 = 472000;
        p.height = 100000;
        MAP_PARAstruct copy = p;
        const std::wstring text = Translate(&copy);
        if (parsed.count(text)) continue;
        WritePrj(text, dir.File(name + ".prj"));

        std::vector<std::string> errors;
        OGRSpatialReference srs;
        CPLPushErrorHandlerEx(CollectErrors, &errors);
        const OGRErr err = srs.SetFromUserInput(dir.File(name + ".prj").c_str());
        char* proj4 = nullptr;
        const OGRErr exported = err == OGRERR_NONE ? srs.exportToProj4(&proj4) : err;
        CPLPopErrorHandler();
        const std::string projString = proj4 ? proj4 : "";
        CPLFree(proj4);
        parsed[text] = projString;
        if (err != OGRERR_NONE || exported != OGRERR_NONE || !errors.empty()) {
          rejected.push_back(name + ": " + (errors.empty() ? "" : errors[0]));
          continue;
        }

        // The parsed system is the one meant: ellipsoid, kind, projection and its parameters.
        const int kind = copy.coordType;
        const int shape = kind == 0 ? 0 : ellipsoid;
        EXPECT_NEAR(srs.GetSemiMajor(), kSpheroids[shape].semiMajor, 1e-6);
        EXPECT_NEAR(srs.GetInvFlattening(), kSpheroids[shape].inverseFlattening, 1e-6);
        if (kind == 1 || kind == 4) {
          EXPECT_TRUE(srs.IsGeographic());
          EXPECT_NEAR(srs.GetAngularUnits(), 0.017453292519943299, 1e-15);
        } else if (kind == 0) {
          EXPECT_TRUE(srs.IsProjected());
          EXPECT_DOUBLE_EQ(srs.GetLinearUnits(), 0.001);
        } else {
          EXPECT_TRUE(srs.IsProjected());
          EXPECT_DOUBLE_EQ(srs.GetLinearUnits(), 1.0);
          EXPECT_NE(projString.find(std::string("+proj=") + kProjMethod[code] + " "), std::string::npos) << projString;
          EXPECT_NE(projString.find("+lon_0=117.5 "), std::string::npos) << projString;
          if (code == 1 || code == 5 || code == 8) {
            EXPECT_NE(projString.find("+x_0=500000 "), std::string::npos) << projString;
          }
          if (code == 2 || code == 3 || code == 7) {
            EXPECT_NE(projString.find("+lat_1=25 "), std::string::npos) << projString;
            EXPECT_NE(projString.find("+lat_2=47.3333333333 "), std::string::npos) << projString;
          }
        }
      }
    }
  }
  EXPECT_TRUE(rejected.empty()) << rejected.size() << " rejected, first: " << rejected.front();
  // Local text, 15 geographic systems in degrees (ct 1 and 4 give the same text) and 19 x 15 projected ones.
  EXPECT_EQ(parsed.size(), 1u + 15u + 19u * 15u);
}

#else

TEST_F(ProjectWriterTest, GdalReadsEveryWrittenPrj) {
  GTEST_SKIP() << "built without GDAL: the .prj texts are not parsed";
}

#endif
