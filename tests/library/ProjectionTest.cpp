// Projection record reading rule, DMS angles, unit scales and angle models.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

#include "MapGis.h"
#include "ReaderFixture.h"

using namespace MapGis;
using testing_support::Bytes;
using testing_support::LayerBuilder;
using testing_support::OpenedLayer;

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A line file whose projection block has the given coordType and scale and a
// byte pattern in its uninterpreted bytes.
Bytes LayerWithProjection(int8_t coordType, double scale) {
  LayerBuilder b(0);
  for (size_t o = 91; o < 91 + 169; ++o) b.Header().U8(o, static_cast<uint8_t>(o * 7));
  b.Header().Put<int8_t>(91, coordType).Put<int8_t>(92, 2).F64(91 + 52, scale).F64(91 + 60, 1050000.0);
  return b.Build();
}

}  // namespace

TEST(Projection, CopyGetsScaleOneWhenThereIsNoProjectionOrTheScaleIsTooSmall) {
  struct Case {
    int8_t coordType;
    double stored;
    double reported;
  } cases[] = {
      {0, 25000.0, 1.0}, {0, 0.0005, 1.0}, {3, 0.0005, 1.0},    {3, 0.001, 0.001}, {3, 25000.0, 25000.0},
      {1, 0.0, 1.0},     {3, -5.0, 1.0},   {4, 0.0009999, 1.0}, {4, 1.0, 1.0},
  };
  for (const Case& c : cases) {
    OpenedLayer o(LayerWithProjection(c.coordType, c.stored));
    ASSERT_EQ(o.status, MAPGIS_OK);
    MAP_PARAstruct out;
    std::memset(&out, 0xEE, sizeof out);
    EXPECT_EQ(o.reader.GetProjectionInfo(&out), c.coordType);
    EXPECT_EQ(+out.scale, c.reported) << int(c.coordType) << " " << c.stored;
    // The stored record is left as it is: a second copy says the same.
    MAP_PARAstruct again;
    o.reader.GetProjectionInfo(&again);
    EXPECT_EQ(+again.scale, c.reported);
  }
}

TEST(Projection, NonFiniteScaleIsReportedAsOne) {
  for (double scale : {kNan, kInf, -kInf}) {
    OpenedLayer o(LayerWithProjection(3, scale));
    ASSERT_EQ(o.status, MAPGIS_OK);
    MAP_PARAstruct out;
    EXPECT_EQ(o.reader.GetProjectionInfo(&out), 3);
    EXPECT_EQ(+out.scale, 1.0) << scale;
  }
}

TEST(Projection, CopyHoldsEveryOtherByteOfTheStoredBlock) {
  Bytes file = LayerWithProjection(3, 0.0001);
  OpenedLayer o(file);
  ASSERT_EQ(o.status, MAPGIS_OK);
  MAP_PARAstruct out;
  EXPECT_EQ(o.reader.GetProjectionInfo(nullptr), 3);
  o.reader.GetProjectionInfo(&out);
  const uint8_t* copy = reinterpret_cast<const uint8_t*>(&out);
  for (size_t i = 0; i < 169; ++i) {
    if (i >= 52 && i < 60) continue;  // scale, replaced
    EXPECT_EQ(copy[i], file[91 + i]) << "byte " << i;
  }
  EXPECT_EQ(+out.unit, 2);
  EXPECT_EQ(+out.centralMeridian, 1050000.0);
  EXPECT_DOUBLE_EQ(DMS2Degree(out.centralMeridian), 105.0);
}

TEST(Projection, DmsAnglesKeepTheirSignInEveryPart) {
  EXPECT_DOUBLE_EQ(DMS2Degree(1173000), 117.5);
  EXPECT_DOUBLE_EQ(DMS2Degree(0.5), 0.5 / 3600.0);
  EXPECT_NEAR(DMS2Degree(1203000.5), 120.5 + 0.5 / 3600.0, 1e-12);
  EXPECT_DOUBLE_EQ(DMS2Degree(-1203000), -120.5);
  EXPECT_DOUBLE_EQ(DMS2Degree(472000), 47.0 + 20.0 / 60.0);
  EXPECT_DOUBLE_EQ(DMS2Degree(-301530), -(30.0 + 15.0 / 60.0 + 30.0 / 3600.0));
  EXPECT_EQ(DMS2Degree(0), 0.0);
  EXPECT_TRUE(std::isnan(DMS2Degree(kNan)));
  DMS2Degree(kInf);  // must not trap
}

TEST(Projection, UnitScalesAndCodesOutsideTheTable) {
  EXPECT_EQ(QueryUnitScale(0), 0.001);
  EXPECT_EQ(QueryUnitScale(2), 1.0);
  EXPECT_EQ(QueryUnitScale(3), 4.84813681109536e-06);
  EXPECT_EQ(QueryUnitScale(4), 0.0174532925199433);
  EXPECT_EQ(QueryUnitScale(5), 174.533);
  EXPECT_EQ(QueryUnitScale(7), 0.0002908882086657216);
  EXPECT_EQ(QueryUnitScale(10), 1000.0);
  EXPECT_EQ(QueryUnitScale(15), 1852.00001);
  EXPECT_EQ(QueryUnitScale(16), 1609.34721869444);
  for (long bad : {17L, -1L, 1000L, LONG_MIN, LONG_MAX}) EXPECT_EQ(QueryUnitScale(bad), 1.0) << bad;
}

TEST(Projection, MathematicalAnglesToGraphicAndGeographic) {
  struct Case {
    double a, graphic, geographic;
  } cases[] = {
      {45, 315, 45},      {180, 90, 270},  {-90, 180, 180},   {0, 0, 0},      {720, 0, 0},      {-720, 0, 0},
      {360, 270, 90},     {90, 360, 0},    {-360, 0, 0},    {450, 360, 0},  {-450, 180, 180},   {270, 180, 180},
      {725.5, 275.5, 84.5}, {-45, 225, 135}, {1e10, 190, 170},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(Arithmetic2Graphic(c.a), c.graphic, 1e-9) << c.a;
    EXPECT_NEAR(Arithmetic2Geographic(c.a), c.geographic, 1e-9) << c.a;
  }
}

TEST(Projection, NonFiniteAndHugeAnglesGiveAnAngleInRange) {
  for (double a : {kNan, kInf, -kInf, 1e300, -1e300, 9.3e18, -9.3e18, std::numeric_limits<double>::max()}) {
    for (double r : {Arithmetic2Graphic(a), Arithmetic2Geographic(a)}) {
      EXPECT_TRUE(std::isfinite(r)) << a;
      EXPECT_GE(r, 0.0) << a;
      EXPECT_LE(r, 360.0) << a;
    }
  }
}
