// EPSG identification of projection records over a table of cases, and the
// ESRI text of a match as GDAL reads it back.
#include <gtest/gtest.h>
#include <cpl_conv.h>
#include <ogr_spatialref.h>

#include <cstring>
#include <set>
#include <vector>

#include "EpsgMatch.h"

using cartography::Extent;
using cartography::IdentifyEpsg;
using MapGis::MAP_PARAstruct;

namespace {

MAP_PARAstruct Record(int coordType, int unit, int projType, int ellipsoid, double centralMeridian,
                      double originLatitude = 0.0) {
  MAP_PARAstruct p;
  std::memset(&p, 0, sizeof p);
  p.coordType = static_cast<int8_t>(coordType);
  p.unit = static_cast<int8_t>(unit);
  p.projType = static_cast<int8_t>(projType);
  p.ellipsoid = static_cast<int8_t>(ellipsoid);
  p.scale = 1.0;
  p.centralMeridian = centralMeridian;
  p.originLatitude = originLatitude;
  return p;
}

struct Case {
  const char* what;
  MAP_PARAstruct record;
  bool hasExtent;
  Extent extent;
  int code;
  bool warns;
};

}  // namespace

TEST(EpsgMatch, RecordsMatchTheirEpsgSystemsOrNothing) {
  const Extent none{};
  const Case cases[] = {
      // Gauss-Kruger, 3-degree zones with the zone number in the eastings.
      {"Xian 1980 zone 39", Record(3, 2, 5, 2, 1170000), true, {39500000, 3500000, 39502000, 3501500}, 2363, false},
      {"CGCS2000 zone 38", Record(3, 2, 5, 8, 1140000), true, {38400000, 4000000, 38600000, 4100000}, 4526, false},
      // 6-degree zone 20 (central meridian 117).
      {"Beijing 1954 6-degree zone 20", Record(3, 2, 5, 1, 1170000), true, {20300000, 3e6, 20700000, 3.1e6}, 21420, false},
      // No zone number: the 3-degree CM system, unless the extent spans more than a 3-degree zone.
      {"Beijing 1954 CM 105E", Record(3, 2, 5, 1, 1050000), true, {539641, 3781988, 546555, 3787542}, 2432, false},
      {"Beijing 1954 CM 105E, 6-degree wide", Record(3, 2, 5, 1, 1050000), true, {300000, 3781988, 700000, 3787542},
       21458, false},
      {"CGCS2000 CM 120E, no extent", Record(3, 2, 5, 8, 1200000), false, none, 4549, false},
      {"Xian 1980 CM 114E (3-degree only)", Record(3, 2, 5, 2, 1140000), true, {300000, 3e6, 700000, 3.1e6}, 2383, false},
      // Geographic systems in degrees.
      {"Xian 1980 degrees", Record(4, 0, 0, 2, 0), false, none, 4610, false},
      {"Beijing 1954 unit Degree", Record(1, 4, 0, 1, 0), false, none, 4214, false},
      {"CGCS2000 degrees", Record(4, 0, 0, 8, 0), false, none, 4490, false},
      {"WGS 84 degrees", Record(4, 0, 0, 7, 0), false, none, 4326, false},
      // UTM north on WGS 84, as projection 1 or as transverse Mercator with origin 0.
      {"WGS 84 UTM 50N", Record(3, 2, 1, 7, 1170000), true, {400000, 3e6, 600000, 3.1e6}, 32650, false},
      {"WGS 84 TM zone 51", Record(3, 2, 8, 7, 1230000), false, none, 32651, false},
      // Nothing to match.
      {"TM with origin latitude 10", Record(3, 2, 8, 7, 1230000, 100000), false, none, 0, false},
      {"geographic in seconds", Record(1, 3, 0, 2, 0), false, none, 0, false},
      {"millimetres", Record(3, 1, 5, 1, 1050000), false, none, 0, false},
      {"CM 117.5", Record(3, 2, 5, 1, 1173000), false, none, 0, false},
      {"CM 72E outside the tables", Record(3, 2, 5, 1, 720000), false, none, 0, false},
      {"IUGG 1979 ellipsoid", Record(3, 2, 5, 3, 1050000), false, none, 0, false},
      {"no projection", Record(0, 0, 0, 1, 0), false, none, 0, false},
      {"Gauss-Kruger on WGS 84", Record(3, 2, 5, 7, 1170000), false, none, 0, false},
      {"zone 38 eastings, CM 117", Record(3, 2, 5, 2, 1170000), true, {38500000, 3e6, 38600000, 3.1e6}, 0, true},
      {"eastings across zones", Record(3, 2, 5, 2, 1170000), true, {38900000, 3e6, 39100000, 3.1e6}, 0, true},
  };
  for (const Case& c : cases) {
    const auto match = IdentifyEpsg(c.record, c.hasExtent ? &c.extent : nullptr);
    EXPECT_EQ(match.code, c.code) << c.what;
    EXPECT_EQ(!match.warnings.empty(), c.warns) << c.what;
    EXPECT_EQ(match.esriText.empty(), c.code == 0) << c.what;
  }
}

TEST(EpsgMatch, EsriTextReadsBackAsTheSameSystem) {
  const Extent extent{39500000, 3500000, 39502000, 3501500};
  const auto match = IdentifyEpsg(Record(3, 2, 5, 2, 1170000), &extent);
  ASSERT_EQ(match.code, 2363);
  EXPECT_EQ(match.name, "Xian 1980 / 3-degree Gauss-Kruger zone 39");
  EXPECT_EQ(match.esriText.rfind("PROJCS[\"Xian_1980_3_Degree_GK_Zone_39\"", 0), 0u) << match.esriText;

  // GDAL's own search of its database finds the same system in the text.
  OGRSpatialReference read;
  ASSERT_EQ(read.importFromWkt(match.esriText.c_str()), OGRERR_NONE);
  int count = 0;
  int* confidence = nullptr;
  OGRSpatialReferenceH* found = read.FindMatches(nullptr, &count, &confidence);
  ASSERT_GE(count, 1);
  EXPECT_STREQ(OSRGetAuthorityCode(found[0], nullptr), "2363");
  EXPECT_GE(confidence[0], 90);
  OSRFreeSRSArray(found);
  CPLFree(confidence);
  EXPECT_DOUBLE_EQ(read.GetProjParm(SRS_PP_FALSE_EASTING), 39500000.0);
}

// Every system the identification can name, looked up in PROJ's database,
// has the name and ESRI text GDAL gives for the same code: the .prj files
// are those GDAL-based tools write.
TEST(EpsgMatch, EveryRecognisedSystemHasGdalsNameAndEsriText) {
  std::vector<std::pair<MAP_PARAstruct, Extent>> records;
  const Extent none{0, 0, 0, 0};
  for (int ellipsoid : {1, 2, 8, 7}) records.push_back({Record(4, 4, 0, ellipsoid, 0), none});
  for (int ellipsoid : {1, 2, 8}) {
    for (int zone = 25; zone <= 45; ++zone) {
      records.push_back({Record(3, 2, 5, ellipsoid, 3 * zone * 10000.0), Extent{zone * 1e6 + 4e5, 3e6, zone * 1e6 + 6e5, 3.1e6}});
    }
    for (int zone = 13; zone <= 23; ++zone) {
      records.push_back({Record(3, 2, 5, ellipsoid, (6 * zone - 3) * 10000.0), Extent{zone * 1e6 + 4e5, 3e6, zone * 1e6 + 6e5, 3.1e6}});
    }
    for (int cm = 75; cm <= 135; cm += 3) {
      records.push_back({Record(3, 2, 5, ellipsoid, cm * 10000.0), Extent{4.9e5, 3e6, 5.1e5, 3.1e6}});
      // Farther than 1.5 degrees from the meridian: the 6-degree system where there is one.
      records.push_back({Record(3, 2, 5, ellipsoid, cm * 10000.0), Extent{2e5, 3e6, 8e5, 3.1e6}});
    }
  }
  for (int zone = 1; zone <= 60; ++zone) records.push_back({Record(3, 2, 1, 7, (6 * zone - 183) * 10000.0), none});

  std::set<int> codes;
  for (const auto& r : records) {
    const auto match = IdentifyEpsg(r.first, &r.second);
    ASSERT_NE(match.code, 0) << "record " << codes.size() << ": " << (match.warnings.empty() ? "" : match.warnings[0]);
    if (!codes.insert(match.code).second) continue;
    OGRSpatialReference gdal;
    ASSERT_EQ(gdal.importFromEPSG(match.code), OGRERR_NONE);
    EXPECT_STREQ(gdal.GetName(), match.name.c_str()) << match.code;
    char* wkt = nullptr;
    ASSERT_EQ(gdal.morphToESRI(), OGRERR_NONE);
    ASSERT_EQ(gdal.exportToWkt(&wkt), OGRERR_NONE);
    EXPECT_EQ(std::string(wkt), match.esriText) << match.code;
    CPLFree(wkt);
  }
  // 3 datums x (1 + 21 + 11 + 21 + 11 six-degree meridians) + WGS 84 and its 60 zones.
  EXPECT_EQ(codes.size(), 3u * 65u + 61u);
}
