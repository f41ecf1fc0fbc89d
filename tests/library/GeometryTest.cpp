// Geometry buffer, value types and the geometry utilities.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "MapGis.h"
#include "ReaderFixture.h"

using namespace MapGis;
using testing_support::GeometryPtr;
using testing_support::NewGeometry;

namespace {

// A geometry of the given shape type whose parts start at `starts`, with
// vertices (x, y); Z and M hold 100 + i and 200 + i so that moves show.
GeometryPtr Make(int type, const std::vector<int32_t>& starts, const std::vector<double>& xy) {
  GeometryPtr g = NewGeometry();
  const size_t n = xy.size() / 2;
  g->nSHPType = type;
  g->nParts = static_cast<int32_t>(starts.size());
  g->panPartStart = static_cast<int32_t*>(std::calloc(starts.size() + 1, sizeof(int32_t)));
  g->panPartType = static_cast<int32_t*>(std::calloc(starts.size() + 1, sizeof(int32_t)));
  for (size_t p = 0; p < starts.size(); ++p) {
    g->panPartStart[p] = starts[p];
    g->panPartType[p] = p == 0 ? 5 : 3;
  }
  g->nVertices = static_cast<int32_t>(n);
  g->padfX = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfY = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfZ = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfM = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  for (size_t i = 0; i < n; ++i) {
    g->padfX[i] = xy[2 * i];
    g->padfY[i] = xy[2 * i + 1];
    g->padfZ[i] = 100.0 + static_cast<double>(i);
    g->padfM[i] = 200.0 + static_cast<double>(i);
  }
  return g;
}

std::vector<double> Xy(const Geometry* g) {
  std::vector<double> out;
  for (int32_t i = 0; i < g->nVertices; ++i) {
    out.push_back(g->padfX[i]);
    out.push_back(g->padfY[i]);
  }
  return out;
}

const std::vector<double> kSquareCcw = {0, 0, 1, 0, 1, 1, 0, 1};
const std::vector<double> kSquareCw = {0, 0, 0, 1, 1, 1, 1, 0};

}  // namespace

TEST(Geometry, CreateEmptyAndDestroyReleaseEverythingOnce) {
  Geometry* g = CreateGeometry();
  EXPECT_EQ(g->nParts, 0);
  EXPECT_EQ(g->nVertices, 0);
  EXPECT_EQ(g->panPartStart, nullptr);
  EXPECT_EQ(g->panPartType, nullptr);
  EXPECT_EQ(g->padfX, nullptr);
  EXPECT_EQ(g->padfM, nullptr);
  g->nVertices = 3;
  g->nParts = 1;
  g->padfX = static_cast<double*>(std::calloc(3, sizeof(double)));
  g->padfY = static_cast<double*>(std::calloc(3, sizeof(double)));
  g->panPartStart = static_cast<int32_t*>(std::calloc(1, sizeof(int32_t)));
  EmptyGeometry(g);
  EXPECT_EQ(g->nVertices, 0);
  EXPECT_EQ(g->nParts, 0);
  EXPECT_EQ(g->padfX, nullptr);
  EXPECT_EQ(g->padfY, nullptr);
  EXPECT_EQ(g->panPartStart, nullptr);
  // The sanitizer build reports a double free here if Empty left a pointer.
  DestroyGeometry(g);
}

TEST(Geometry, NullGeometryIsAcceptedEverywhere) {
  EmptyGeometry(nullptr);
  DestroyGeometry(nullptr);
  EXPECT_EQ(GetGeoLength(nullptr), 0.0);
  EXPECT_EQ(GetGeoPerimeter(nullptr), 0.0);
  EXPECT_EQ(GetGeoArea(nullptr), 0.0);
  const Vec2d c = GetGeoCentroid(nullptr);
  EXPECT_EQ(c.x, 0.0);
  EXPECT_EQ(c.y, 0.0);
  FixGeoTopo(nullptr);
  FixUnclosedRing(nullptr);
  ReScaleGeometry(nullptr, 2.0);
  OffsetGeometry(nullptr, D_3DOT{1, 2, 3});
  EXPECT_TRUE(CheckEmptyGeo(nullptr));
  EXPECT_FALSE(CheckEmptyParts(nullptr));
  EXPECT_FALSE(CheckUnRingOrder(nullptr));
  EXPECT_EQ(CheckUnclosedRing(nullptr, 0.0), 0);
}

TEST(Geometry, AreaIsSignedByOrientationAndIgnoresParts) {
  EXPECT_DOUBLE_EQ(GetGeoArea(Make(5, {0}, kSquareCcw).get()), 1.0);
  EXPECT_DOUBLE_EQ(GetGeoArea(Make(5, {0}, kSquareCw).get()), -1.0);
  // Two parts are taken as one chain wrapping to vertex 0.
  GeometryPtr two = Make(5, {0, 2}, kSquareCcw);
  EXPECT_DOUBLE_EQ(GetGeoArea(two.get()), 1.0);
  EXPECT_EQ(GetGeoArea(Make(5, {0}, {}).get()), 0.0);
}

TEST(Geometry, LengthRunsOverPartBoundariesButPerimeterDoesNot) {
  // Part 0: (0,0)-(3,0); part 1: (3,4)-(3,5). The jump between parts is 4.
  GeometryPtr g = Make(3, {0, 2}, {0, 0, 3, 0, 3, 4, 3, 5});
  EXPECT_DOUBLE_EQ(GetGeoLength(g.get()), 3.0 + 4.0 + 1.0);
  EXPECT_DOUBLE_EQ(GetGeoPerimeter(g.get()), 3.0 + 1.0);
  // No closing segment is added for an open ring.
  EXPECT_DOUBLE_EQ(GetGeoPerimeter(Make(5, {0}, kSquareCcw).get()), 3.0);
  EXPECT_EQ(GetGeoLength(Make(1, {}, {5, 5}).get()), 0.0);
  EXPECT_EQ(GetGeoPerimeter(Make(1, {}, {5, 5}).get()), 0.0);
}

TEST(Geometry, CentroidOfARectangleIsItsMiddle) {
  GeometryPtr g = Make(5, {0}, {2, 1, 6, 1, 6, 3, 2, 3});
  const Vec2d c = GetGeoCentroid(g.get());
  EXPECT_DOUBLE_EQ(c.x, 4.0);
  EXPECT_DOUBLE_EQ(c.y, 2.0);
  // Clockwise gives the same point.
  GeometryPtr cw = Make(5, {0}, {2, 1, 2, 3, 6, 3, 6, 1});
  EXPECT_DOUBLE_EQ(GetGeoCentroid(cw.get()).x, 4.0);
  // A chain without area has no area centroid; it must still be finite.
  GeometryPtr flat = Make(3, {0}, {0, 0, 2, 0});
  EXPECT_TRUE(std::isfinite(GetGeoCentroid(flat.get()).x));
}

TEST(Geometry, FixGeoTopoMakesOuterRingClockwiseAndHolesCounterClockwise) {
  // Outer ring counter-clockwise (wrong), hole clockwise (wrong).
  std::vector<double> xy = {0, 0, 10, 0, 10, 10, 0, 10, 0, 0,  // outer, ccw
                            2, 2, 2, 4, 4, 4, 4, 2, 2, 2};     // hole, cw
  GeometryPtr g = Make(5, {0, 5}, xy);
  EXPECT_TRUE(CheckUnRingOrder(g.get()));
  FixGeoTopo(g.get());
  EXPECT_FALSE(CheckUnRingOrder(g.get()));
  const std::vector<double> expected = {0, 0, 0, 10, 10, 10, 10, 0, 0, 0,  //
                                        2, 2, 4, 2, 4, 4, 2, 4, 2, 2};
  EXPECT_EQ(Xy(g.get()), expected);
  // Only X and Y move.
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(g->padfZ[i], 100.0 + i);
    EXPECT_EQ(g->padfM[i], 200.0 + i);
  }
  // Already in order: nothing changes.
  FixGeoTopo(g.get());
  EXPECT_EQ(Xy(g.get()), expected);
}

TEST(Geometry, ReversingAnOddRingKeepsItsMiddleVertex) {
  GeometryPtr g = Make(5, {0}, {0, 0, 4, 0, 4, 4, 2, 6, 0, 4});  // ccw, 5 vertices
  FixGeoTopo(g.get());
  EXPECT_EQ(Xy(g.get()), (std::vector<double>{0, 4, 2, 6, 4, 4, 4, 0, 0, 0}));
}

TEST(Geometry, ZeroOrUndefinedAreaNeverReverses) {
  GeometryPtr flat = Make(5, {0}, {0, 0, 1, 1, 2, 2});
  FixGeoTopo(flat.get());
  EXPECT_EQ(Xy(flat.get()), (std::vector<double>{0, 0, 1, 1, 2, 2}));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  GeometryPtr undefined = Make(5, {0}, {0, 0, nan, 0, 1, 1});
  FixGeoTopo(undefined.get());
  EXPECT_EQ(undefined->padfX[0], 0.0);
  EXPECT_TRUE(std::isnan(undefined->padfX[1]));
  EXPECT_FALSE(CheckUnRingOrder(undefined.get()));
}

TEST(Geometry, FixUnclosedRingCopiesFirstVertexOverLastOfEveryPart) {
  GeometryPtr g = Make(5, {0, 4}, {0, 0, 1, 0, 1, 1, 9, 9,  //
                                   5, 5, 6, 5, 7, 7});
  EXPECT_EQ(CheckUnclosedRing(g.get(), 0.0), 2);
  FixUnclosedRing(g.get());
  EXPECT_EQ(g->nVertices, 7);
  EXPECT_EQ(g->padfX[3], 0.0);
  EXPECT_EQ(g->padfY[3], 0.0);
  EXPECT_EQ(g->padfZ[3], 100.0);
  EXPECT_EQ(g->padfM[3], 200.0);
  EXPECT_EQ(g->padfX[6], 5.0);
  EXPECT_EQ(g->padfY[6], 5.0);
  EXPECT_EQ(g->padfZ[6], 104.0);
  EXPECT_EQ(g->padfM[6], 204.0);
  EXPECT_EQ(CheckUnclosedRing(g.get(), 0.0), 0);
}

TEST(Geometry, FixUnclosedRingSkipsAnEmptyPartInsteadOfCopyingAcrossParts) {
  // Part 1 is empty (starts 3 and 3): closing it would write vertex 3 over
  // vertex 2, the last vertex of part 0.
  GeometryPtr g = Make(5, {0, 3, 3}, {0, 0, 1, 0, 8, 8,  //
                                      5, 5, 6, 5, 7, 7});
  FixUnclosedRing(g.get());
  EXPECT_EQ(g->padfX[2], 0.0);
  EXPECT_EQ(g->padfY[2], 0.0);
  EXPECT_EQ(g->padfX[5], 5.0);
  EXPECT_EQ(g->padfY[5], 5.0);
  EXPECT_TRUE(CheckEmptyParts(g.get()));
}

TEST(Geometry, FixUnclosedRingStopsAtAPartWithInvalidBounds) {
  GeometryPtr g = Make(5, {0, 3, -2}, {0, 0, 1, 0, 8, 8,  //
                                       5, 5, 6, 5, 7, 7});
  FixUnclosedRing(g.get());
  EXPECT_EQ(g->padfX[2], 0.0);  // part 0 fixed
  EXPECT_EQ(g->padfX[5], 7.0);  // part from -2 refused, nothing after it
  EXPECT_EQ(CheckUnclosedRing(g.get(), 0.0), 0);
}

TEST(Geometry, HostilePartStartsNeitherOverflowNorTouchMemoryOutside) {
  // Part 0 ends at INT_MIN (empty), part 1 runs from INT_MIN to INT_MAX
  // (invalid: processing stops), part 2 starts past the vertices.
  const std::vector<double> square = {0, 0, 1, 0, 1, 1, 0, 1};
  for (int32_t start : {INT_MIN, INT_MAX, -1, 4, 1000}) {
    GeometryPtr g = Make(5, {start, INT_MIN, INT_MAX}, square);
    FixUnclosedRing(g.get());
    EXPECT_EQ(Xy(g.get()), square) << start;
    EXPECT_EQ(CheckUnclosedRing(g.get(), 0.0), 0);
    EXPECT_TRUE(CheckEmptyParts(g.get()));
    // Ring tests clamp the parts to the vertex array: part 1 is the square.
    EXPECT_FALSE(CheckUnRingOrder(g.get()));
    FixGeoTopo(g.get());
    EXPECT_EQ(Xy(g.get()), square);
    EXPECT_DOUBLE_EQ(GetGeoPerimeter(g.get()), 3.0);
  }
}

TEST(Geometry, CheckUnclosedRingCountsADifferenceEqualToTheToleranceAsClosed) {
  GeometryPtr at = Make(5, {0}, {0, 0, 1, 0, 1, 1, 0.5, 0});
  EXPECT_EQ(CheckUnclosedRing(at.get(), 0.5), 0);
  GeometryPtr over = Make(5, {0}, {0, 0, 1, 0, 1, 1, 0.6, 0});
  EXPECT_EQ(CheckUnclosedRing(over.get(), 0.5), 1);
  GeometryPtr yOver = Make(5, {0}, {0, 0, 1, 0, 1, 1, 0, -0.6});
  EXPECT_EQ(CheckUnclosedRing(yOver.get(), 0.5), 1);
}

TEST(Geometry, EmptinessChecks) {
  GeometryPtr point = Make(1, {}, {3, 4});
  EXPECT_TRUE(CheckEmptyGeo(point.get()));  // a point has no part
  GeometryPtr line = Make(3, {0}, {0, 0, 1, 1});
  EXPECT_FALSE(CheckEmptyGeo(line.get()));
  EXPECT_FALSE(CheckEmptyParts(line.get()));
  line->nSHPType = 0;
  EXPECT_TRUE(CheckEmptyGeo(line.get()));
  GeometryPtr trailingEmpty = Make(5, {0, 2}, {0, 0, 1, 1});
  EXPECT_TRUE(CheckEmptyParts(trailingEmpty.get()));
  EXPECT_FALSE(CheckSelfIntersect(line.get()));
  EXPECT_FALSE(CheckShortSegment(line.get(), 1e9));
}

TEST(Geometry, RescaleAndOffsetMoveXYAndTheirBoundsOnly) {
  GeometryPtr g = Make(3, {0}, {1, 1, 3, 5});
  g->dfXMin = 1, g->dfYMin = 1, g->dfXMax = 3, g->dfYMax = 5;
  g->dfZMin = 7, g->dfZMax = 8, g->dfMMin = 9, g->dfMMax = 10;
  OffsetGeometry(g.get(), D_3DOT{10, 20, 2});
  EXPECT_EQ(Xy(g.get()), (std::vector<double>{12, 22, 16, 30}));
  EXPECT_EQ(g->dfXMin, 12.0);
  EXPECT_EQ(g->dfYMin, 22.0);
  EXPECT_EQ(g->dfXMax, 16.0);
  EXPECT_EQ(g->dfYMax, 30.0);
  ReScaleGeometry(g.get(), 0.5);
  EXPECT_EQ(Xy(g.get()), (std::vector<double>{6, 11, 8, 15}));
  EXPECT_EQ(g->dfXMin, 6.0);
  EXPECT_EQ(g->dfYMax, 15.0);
  EXPECT_EQ(g->padfZ[1], 101.0);
  EXPECT_EQ(g->padfM[1], 201.0);
  EXPECT_EQ(g->dfZMin, 7.0);
  EXPECT_EQ(g->dfMMax, 10.0);
}

TEST(Vec2, IndexZeroAndOneNameXAndYAnythingElseThrowsIntegerZero) {
  Vec2d d(1.5, -2.5);
  EXPECT_EQ(d[0], 1.5);
  EXPECT_EQ(d[1], -2.5);
  d[1] = 4.0;
  EXPECT_EQ(d.y, 4.0);
  const Vec2d& cd = d;
  EXPECT_EQ(cd[1], 4.0);
  for (short bad : {short(2), short(-1), short(32767), short(-32768)}) {
    try {
      d[bad];
      ADD_FAILURE() << "no throw for " << bad;
    } catch (int e) {
      EXPECT_EQ(e, 0);
    }
    EXPECT_THROW(cd[bad], int);
  }
  Vec2f f(0.25f, 8.0f);
  EXPECT_EQ(f[0], 0.25f);
  f[0] = 3.0f;
  EXPECT_EQ(f.x, 3.0f);
  const Vec2f& cf = f;
  EXPECT_EQ(cf[1], 8.0f);
  try {
    cf[2];
    ADD_FAILURE() << "no throw";
  } catch (int e) {
    EXPECT_EQ(e, 0);
  }
  EXPECT_THROW(f[-1], int);
  EXPECT_EQ(Vec2d().x, 0.0);
  EXPECT_EQ(Vec2d().y, 0.0);
}
