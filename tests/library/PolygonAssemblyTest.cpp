// Polygons assembled from the arcs of their arc lists.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

#include "MapGis.h"
#include "ReaderFixture.h"

using namespace MapGis;
using testing_support::Bytes;
using testing_support::DataArea;
using testing_support::GeometryPtr;
using testing_support::LayerBuilder;
using testing_support::LineRecord;
using testing_support::NewGeometry;
using testing_support::PolygonRecord;
using testing_support::Table;
using testing_support::TempDir;

namespace {

constexpr double kBox = 1.79769313486232e307;

// A polygon file put together slot by slot. Line slots not set are deleted
// (all-zero) records; polygon i is slot i + 1.
class PolygonFile {
 public:
  void Line(int slot, uint8_t status, const std::vector<double>& xy) {
    const int32_t n = static_cast<int32_t>(xy.size() / 2);
    Put(slot, LineRecord(status, n, data_.AddRun(xy)));
  }
  void LineRecordAt(int slot, const Bytes& record) { Put(slot, record); }
  // A polygon whose arc list is the total and the entries (length n = entries + 1).
  void Polygon(int32_t total, const std::vector<int32_t>& entries, uint8_t status = 1) {
    std::vector<int32_t> list = {total};
    list.insert(list.end(), entries.begin(), entries.end());
    polygons_.push_back(PolygonRecord(status, static_cast<int32_t>(list.size()), data_.AddInts(list), 33));
  }
  void PolygonRaw(int32_t arcCount, uint32_t arcOffset, uint8_t status = 1) {
    polygons_.push_back(PolygonRecord(status, arcCount, arcOffset));
  }
  uint32_t DataSize() const { return static_cast<uint32_t>(data_.Get().size()); }
  int LineSlots() const { return lines_.empty() ? 1 : lines_.rbegin()->first + 1; }

  Bytes Build() const {
    std::vector<Bytes> lines;
    for (int s = 1; s < LineSlots(); ++s) {
      auto it = lines_.find(s);
      lines.push_back(it == lines_.end() ? Bytes(57, 0) : it->second);
    }
    LayerBuilder b(2);
    b.Element(0, static_cast<int32_t>(lines_.size())).Element(1, LineSlots());
    b.Element(4, static_cast<int32_t>(polygons_.size())).Element(5, static_cast<int32_t>(polygons_.size()) + 1);
    b.Section(0, Table(57, lines)).Section(1, data_.Get()).Section(8, Table(40, polygons_));
    return b.Build();
  }

 private:
  void Put(int slot, const Bytes& record) { lines_[slot] = record; }
  DataArea data_;
  std::map<int, Bytes> lines_;
  std::vector<Bytes> polygons_;
};

class ExposedReader : public MapGis_FastReader {
 public:
  using MapGis_FastReader::ReadPolyArc;
  using MapGis_FastReader::ReadPolyTopo;
};

struct Opened {
  TempDir dir;
  ExposedReader reader;
  long status;
  explicit Opened(const PolygonFile& f) : status(reader.Open(dir.Write("poly.WP", f.Build()).c_str())) {}
  long Read(int i, GeometryPtr& g) { return reader.ReadPolygonInfo(i, nullptr, g.get()); }
};

std::vector<double> Xy(const Geometry* g) {
  std::vector<double> out;
  for (int32_t i = 0; i < g->nVertices; ++i) {
    out.push_back(g->padfX[i]);
    out.push_back(g->padfY[i]);
  }
  return out;
}

std::vector<int32_t> Starts(const Geometry* g) { return std::vector<int32_t>(g->panPartStart, g->panPartStart + g->nParts); }

// Arcs for the assembly cases: 5 has 4 points, 7 has 3, 9 has 2;
// 6 is a live arc of 2 points, 8 is deleted.
PolygonFile ExampleArcs() {
  PolygonFile f;
  f.Line(1, 1, {90, 90});
  f.Line(5, 1, {1, 1, 11, 1, 11, 11, 6, 16});
  f.Line(6, 1, {40, 41, 42, 43});
  f.Line(7, 1, {1, 11, 3, 13, 6, 16});
  f.Line(8, 0, {70, 70, 71, 71});
  f.Line(9, 1, {4, 4, 5, 5});
  return f;
}

}  // namespace

TEST(PolygonAssembly, TwoRingsFromForwardAndBackwardArcs) {
  PolygonFile f = ExampleArcs();
  f.Polygon(11, {5, -7, 0, 9});
  Opened o(f);
  ASSERT_EQ(o.status, MAPGIS_OK);
  MAPGIS_RegInfo info;
  auto g = NewGeometry();
  ASSERT_EQ(o.reader.ReadPolygonInfo(0, &info, g.get()), MAPGIS_OK);
  EXPECT_EQ(+info.arcCount, 5);
  EXPECT_EQ(+info.fillColor, 33);
  EXPECT_EQ(g->nSHPType, 5);
  EXPECT_EQ(g->nShapeId, -1);
  ASSERT_EQ(g->nParts, 2);
  EXPECT_EQ(Starts(g.get()), (std::vector<int32_t>{0, 7}));
  EXPECT_EQ(g->panPartType[0], 5);
  EXPECT_EQ(g->panPartType[1], 3);
  ASSERT_EQ(g->nVertices, 9);
  EXPECT_EQ(Xy(g.get()), (std::vector<double>{1, 1, 11, 1, 11, 11, 6, 16,  // arc 5
                                              6, 16, 3, 13, 1, 11,          // arc 7 reversed
                                              4, 4, 5, 5}));                // arc 9
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(g->padfZ[i], 0.0);
    EXPECT_EQ(g->padfM[i], 0.0);
  }
  EXPECT_EQ(g->dfXMin, 1.0);
  EXPECT_EQ(g->dfYMin, 1.0);
  EXPECT_EQ(g->dfXMax, 11.0);
  EXPECT_EQ(g->dfYMax, 16.0);
}

TEST(PolygonAssembly, SeparatorsAtEitherEndOpenNoRing) {
  PolygonFile f = ExampleArcs();
  f.Polygon(4 + 3, {0, 5, 0});
  f.Polygon(4 + 2 + 3, {5, 0, 0, 6});
  f.Polygon(4 + 2, {0, 5});  // a leading separator in a list of two entries
  Opened o(f);
  auto g = NewGeometry();
  ASSERT_EQ(o.Read(0, g), MAPGIS_OK);
  EXPECT_EQ(g->nParts, 1);
  EXPECT_EQ(g->nVertices, 4);
  ASSERT_EQ(o.Read(1, g), MAPGIS_OK);
  ASSERT_EQ(g->nParts, 3);
  EXPECT_EQ(Starts(g.get()), (std::vector<int32_t>{0, 4, 4}));  // an empty middle part
  EXPECT_EQ(g->panPartType[2], 3);
  EXPECT_EQ(g->nVertices, 6);
  EXPECT_EQ(g->padfX[4], 40.0);
  ASSERT_EQ(o.Read(2, g), MAPGIS_OK);
  EXPECT_EQ(g->nParts, 1);
  EXPECT_EQ(g->nVertices, 4);
}

TEST(PolygonAssembly, DeletedArcIsLeftOutWithoutLeavingZeroVertices) {
  PolygonFile f = ExampleArcs();
  // Well-formed totals that count the deleted arc's 2 points.
  f.Polygon(4 + 2 + 3 + 1, {5, 8, -7});  // deleted in the middle
  f.Polygon(4 + 3 + 2 + 2, {5, 0, 9, 8});  // deleted in last position
  Opened o(f);
  auto g = NewGeometry();
  ASSERT_EQ(o.Read(0, g), MAPGIS_OK);
  EXPECT_EQ(g->nParts, 1);
  EXPECT_EQ(Xy(g.get()), (std::vector<double>{1, 1, 11, 1, 11, 11, 6, 16, 6, 16, 3, 13, 1, 11}));
  EXPECT_EQ(g->dfXMin, 1.0);
  EXPECT_EQ(g->dfYMin, 1.0);
  ASSERT_EQ(o.Read(1, g), MAPGIS_OK);
  EXPECT_EQ(Starts(g.get()), (std::vector<int32_t>{0, 4}));
  EXPECT_EQ(Xy(g.get()), (std::vector<double>{1, 1, 11, 1, 11, 11, 6, 16, 4, 4, 5, 5}));
  EXPECT_EQ(g->dfXMin, 1.0);
  EXPECT_EQ(g->dfXMax, 11.0);
}

TEST(PolygonAssembly, StoredTotalLargerThanTheArcsHoldIsTrimmedToTheFilledVertices) {
  PolygonFile f = ExampleArcs();
  f.Polygon(20, {5, 0, 9});
  f.Polygon(1, {});  // no entries: one ring, nothing filled
  f.Polygon(12, {8});  // only a deleted arc
  Opened o(f);
  auto g = NewGeometry();
  ASSERT_EQ(o.Read(0, g), MAPGIS_OK);
  EXPECT_EQ(g->nVertices, 6);
  EXPECT_EQ(Starts(g.get()), (std::vector<int32_t>{0, 4}));
  EXPECT_EQ(g->dfXMin, 1.0);
  EXPECT_EQ(g->dfYMin, 1.0);
  ASSERT_EQ(o.Read(1, g), MAPGIS_OK);
  EXPECT_EQ(g->nParts, 1);
  EXPECT_EQ(g->nVertices, 0);
  EXPECT_EQ(g->dfXMin, kBox);
  EXPECT_EQ(g->dfXMax, -kBox);
  ASSERT_EQ(o.Read(2, g), MAPGIS_OK);
  EXPECT_EQ(g->nVertices, 0);
  EXPECT_EQ(g->panPartStart[0], 0);
}

TEST(PolygonAssembly, AssembledPolygonNormalisesToShapefileRings) {
  PolygonFile f;
  f.Line(1, 1, {1, 1, 9, 1, 9, 9, 1, 9, 1, 1});  // counter-clockwise outer ring
  f.Line(2, 1, {3, 3, 3, 6, 6, 6, 6, 3, 3, 3});  // clockwise hole
  f.Polygon(5 + 5 + 2, {1, 0, 2});
  Opened o(f);
  auto g = NewGeometry();
  ASSERT_EQ(o.Read(0, g), MAPGIS_OK);
  EXPECT_TRUE(CheckUnRingOrder(g.get()));
  FixGeoTopo(g.get());
  FixUnclosedRing(g.get());
  EXPECT_FALSE(CheckUnRingOrder(g.get()));
  EXPECT_EQ(CheckUnclosedRing(g.get(), 0.0), 0);
  EXPECT_EQ(g->padfX[1], 1.0);  // outer ring now runs clockwise: (1,1) -> (1,9)
  EXPECT_EQ(g->padfY[1], 9.0);
}

TEST(PolygonAssembly, BadArcListsAndArcNumbers) {
  PolygonFile f = ExampleArcs();  // line slots 0..9
  f.Polygon(4 + 1, {10});         // |arc| == line slots
  f.Polygon(4 + 1, {-10});
  f.Polygon(4 + 1, {INT_MIN});
  f.Polygon(-1, {5});
  f.Polygon(0, {5, 0, 9});  // vertex count would be negative
  f.Polygon(3, {5});        // arc 5 does not fit the 2 vertices of the total
  f.PolygonRaw(0, 0);
  f.PolygonRaw(-3, 0);
  f.Polygon(5, {5}, 0);  // deleted polygon
  Opened o(f);
  auto g = NewGeometry();
  EXPECT_EQ(o.Read(0, g), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.Read(1, g), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.Read(2, g), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.Read(3, g), MAPGIS_BAD_ARC_LIST);
  EXPECT_EQ(o.Read(4, g), MAPGIS_BAD_ARC_LIST);
  EXPECT_EQ(o.Read(5, g), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.Read(6, g), MAPGIS_BAD_ARC_LIST);
  EXPECT_EQ(o.Read(7, g), MAPGIS_BAD_ARC_LIST);
  EXPECT_EQ(o.reader.ReadPolygonInfo(6, nullptr, nullptr), MAPGIS_BAD_ARC_LIST);
  MAPGIS_RegInfo info;
  info.status = 0xAB;
  EXPECT_EQ(o.reader.ReadPolygonInfo(8, &info, g.get()), MAPGIS_DELETED);
  EXPECT_EQ(info.status, 0xAB);
  EXPECT_EQ(o.Read(9, g), MAPGIS_READ_FAILED);  // == readable count
  EXPECT_EQ(o.Read(-1, g), MAPGIS_READ_FAILED);
}

TEST(PolygonAssembly, RecordAloneNeedsNoArcList) {
  PolygonFile f = ExampleArcs();
  f.PolygonRaw(3, 0xFFFFFF00u);  // arc list far outside the file
  Opened o(f);
  MAPGIS_RegInfo info;
  EXPECT_EQ(o.reader.ReadPolygonInfo(0, &info, nullptr), MAPGIS_OK);
  EXPECT_EQ(+info.arcCount, 3);
  auto g = NewGeometry();
  EXPECT_EQ(o.Read(0, g), MAPGIS_READ_FAILED);
  WKBPolygon w{};
  EXPECT_EQ(o.reader.ReadPolygonWKB(0, nullptr, nullptr), MAPGIS_OK);
  EXPECT_EQ(o.reader.ReadPolygonWKB(0, nullptr, &w), MAPGIS_READ_FAILED);
}

TEST(PolygonAssembly, PolygonWkbReportsTheRingCount) {
  PolygonFile f = ExampleArcs();
  f.Polygon(11, {5, -7, 0, 9});
  f.Polygon(9, {5, 0, 0, 6});
  Opened o(f);
  WKBPolygon w{};
  MAPGIS_RegInfo info;
  ASSERT_EQ(o.reader.ReadPolygonWKB(0, &info, &w), MAPGIS_OK);
  EXPECT_EQ(+w.byteOrder, 1);
  EXPECT_EQ(+w.wkbType, 3u);
  EXPECT_EQ(+w.numRings, 2u);
  EXPECT_EQ(+w.rings, nullptr);
  EXPECT_EQ(+info.arcCount, 5);
  ASSERT_EQ(o.reader.ReadPolygonWKB(1, nullptr, &w), MAPGIS_OK);
  EXPECT_EQ(+w.numRings, 3u);
}

TEST(PolygonAssembly, ArcsAreReadableAsLinesOfThePolygonFile) {
  Opened o(ExampleArcs());
  int slots = 0;
  EXPECT_EQ(o.reader.GetArcCount(&slots), 6);
  EXPECT_EQ(slots, 9);
  auto g = NewGeometry();
  ASSERT_EQ(o.reader.ReadArcInfo(6, nullptr, g.get()), MAPGIS_OK);  // slot 7
  EXPECT_EQ(g->nVertices, 3);
  EXPECT_EQ(g->padfX[2], 6.0);
  EXPECT_EQ(o.reader.ReadArcInfo(7, nullptr, g.get()), MAPGIS_DELETED);
}

TEST(PolygonAssembly, ReadPolyArcReversesNegativeArcsAndChecksCapacity) {
  Opened o(ExampleArcs());
  long count = -1;
  double pts[8] = {0};
  EXPECT_EQ(o.reader.ReadPolyArc(7, &count, nullptr, 0), MAPGIS_OK);
  EXPECT_EQ(count, 3);
  ASSERT_EQ(o.reader.ReadPolyArc(-7, &count, pts, 3), MAPGIS_OK);
  EXPECT_EQ(std::vector<double>(pts, pts + 6), (std::vector<double>{6, 16, 3, 13, 1, 11}));
  EXPECT_EQ(o.reader.ReadPolyArc(5, &count, pts, 3), MAPGIS_READ_FAILED);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(o.reader.ReadPolyArc(8, &count, pts, 4), MAPGIS_DELETED);
  EXPECT_EQ(o.reader.ReadPolyArc(10, &count, pts, 4), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.ReadPolyArc(INT_MIN, &count, pts, 4), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.ReadPolyArc(0, &count, pts, 4), MAPGIS_READ_FAILED);
}

TEST(PolygonAssembly, ReadPolyTopoWidensEntriesWithTheirSign) {
  PolygonFile f = ExampleArcs();
  f.Polygon(11, {5, -7, 0, 9});
  f.Polygon(-2, {5});
  Opened o(f);
  MAPGIS_RegInfo reg;
  ASSERT_EQ(o.reader.ReadPolygonInfo(0, &reg, nullptr), MAPGIS_OK);
  long total = 0;
  long arcs[4] = {0};
  ASSERT_EQ(o.reader.ReadPolyTopo(reg, &total, arcs), MAPGIS_OK);
  EXPECT_EQ(total, 11);
  EXPECT_EQ(std::vector<long>(arcs, arcs + 4), (std::vector<long>{5, -7, 0, 9}));
  EXPECT_EQ(o.reader.ReadPolyTopo(reg, nullptr, arcs), MAPGIS_OK);
  ASSERT_EQ(o.reader.ReadPolygonInfo(1, &reg, nullptr), MAPGIS_OK);
  EXPECT_EQ(o.reader.ReadPolyTopo(reg, &total, arcs), MAPGIS_BAD_ARC_LIST);
}
