// Opening layer files: header validation order and statuses, counts, extent,
// and the reader's lifecycle (reopen, close, copies).
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "MapGis.h"
#include "ReaderFixture.h"

using namespace MapGis;
using testing_support::Bytes;
using testing_support::ByteBuilder;
using testing_support::DataArea;
using testing_support::LayerBuilder;
using testing_support::LineRecord;
using testing_support::NewGeometry;
using testing_support::OpenedLayer;
using testing_support::PointRecord;
using testing_support::Table;
using testing_support::TempDir;

namespace {

long OpenStatus(const Bytes& bytes) { return OpenedLayer(bytes).status; }

Bytes Valid(int16_t type) { return LayerBuilder(type).Build(); }

// A line file whose live line i (index i) has a single point (x0 + i, 0).
Bytes LineFile(int lines, double x0) {
  DataArea data;
  std::vector<Bytes> recs;
  for (int i = 0; i < lines; ++i) recs.push_back(LineRecord(1, 1, data.AddRun({x0 + i, 0.0})));
  LayerBuilder b(0);
  b.Element(0, lines).Element(1, lines + 1).Section(0, Table(57, recs)).Section(1, data.Get());
  return b.Build();
}

}  // namespace

TEST(LayerHeader, EveryKnownTypeOpensAndReportsItsTypeWord) {
  for (int16_t type : {0, 1, 2, 4, 7}) {
    OpenedLayer o(Valid(type));
    EXPECT_EQ(o.status, MAPGIS_OK) << type;
    EXPECT_EQ(o.reader.GetShapeType(), type);
  }
}

TEST(LayerHeader, WordAtOffsetTenIsCheckedFirst) {
  Bytes b = Valid(0);
  ByteBuilder h;
  h.Raw(0, b.data(), b.size());
  h.U16(10, 1);
  EXPECT_EQ(OpenStatus(h.Bytes()), MAPGIS_NOT_SYSTEM_FILE);
  // Even before a wrong magic and a directory out of bounds.
  h.Text(0, "XXXXXXXX").I32(12, 5000).I32(16, -7);
  EXPECT_EQ(OpenStatus(h.Bytes()), MAPGIS_NOT_SYSTEM_FILE);
}

TEST(LayerHeader, TypeWordAndMagicMustAgree) {
  LayerBuilder lineMagicPointType(0);
  lineMagicPointType.Header().I16(8, 1);
  EXPECT_EQ(OpenStatus(lineMagicPointType.Build()), MAPGIS_NOT_MAPGIS_FILE);
  for (const char* magic : {"WMAP`D24", "WMAP`D21", "WMAP`D23"}) {
    LayerBuilder type3(0);
    type3.Header().Text(0, magic).I16(8, 3);
    EXPECT_EQ(OpenStatus(type3.Build()), MAPGIS_NOT_MAPGIS_FILE) << magic;
  }
  for (int16_t type : {-1, 5, 6, 8, 0x7FFF}) {
    LayerBuilder odd(0);
    odd.Header().I16(8, type);
    EXPECT_EQ(OpenStatus(odd.Build()), MAPGIS_NOT_MAPGIS_FILE) << type;
  }
  // One wrong magic byte is enough.
  LayerBuilder grave(2);
  grave.Header().U8(4, 0x05);
  EXPECT_EQ(OpenStatus(grave.Build()), MAPGIS_NOT_MAPGIS_FILE);
}

TEST(LayerHeader, DirectoryBoundsOfAMapGisFile) {
  // 1024 entries at 657 must lie in the file: make it long enough.
  LayerBuilder b(0);
  b.Header().I32(16, 1024).Grow(657 + 10 * 1024);
  EXPECT_EQ(OpenStatus(b.Build()), MAPGIS_OK);
  b.Header().I32(16, 1025);
  EXPECT_EQ(OpenStatus(b.Build()), MAPGIS_OPEN_FAILED);

  LayerBuilder at(0);
  at.Header().I32(12, 1024).I32(16, 2).Grow(1100);
  EXPECT_EQ(OpenStatus(at.Build()), MAPGIS_OK);
  at.Header().I32(12, 1025);
  EXPECT_EQ(OpenStatus(at.Build()), MAPGIS_OPEN_FAILED);
  at.Header().I32(12, INT_MAX);
  EXPECT_EQ(OpenStatus(at.Build()), MAPGIS_OPEN_FAILED);
}

TEST(LayerHeader, ForeignFileWithArbitraryDirectoryWordsIsNotAMapGisFile) {
  ByteBuilder foreign(4000);
  foreign.Text(0, "WMAP\x05" "D22").I16(8, 1).I32(12, 0x12345678).I32(16, 0x7FFFFFFF);
  EXPECT_EQ(OpenStatus(foreign.Bytes()), MAPGIS_NOT_MAPGIS_FILE);
}

TEST(LayerHeader, ShortFilesAndUnreadableBlocksFailAsReads) {
  EXPECT_EQ(OpenStatus(Bytes{}), MAPGIS_READ_FAILED);
  Bytes b = Valid(0);
  EXPECT_EQ(OpenStatus(Bytes(b.begin(), b.begin() + 19)), MAPGIS_READ_FAILED);
  // Header complete, element counts not.
  EXPECT_EQ(OpenStatus(Bytes(b.begin(), b.begin() + 280)), MAPGIS_READ_FAILED);
  // Tic directory complete, section directory cut.
  EXPECT_EQ(OpenStatus(Bytes(b.begin(), b.begin() + 700)), MAPGIS_READ_FAILED);
  // A negative directory offset or count cannot be read.
  LayerBuilder neg(0);
  neg.Header().I32(12, -10);
  EXPECT_EQ(OpenStatus(neg.Build()), MAPGIS_READ_FAILED);
  LayerBuilder negCount(0);
  negCount.Header().I32(16, -1);
  EXPECT_EQ(OpenStatus(negCount.Build()), MAPGIS_READ_FAILED);
  // No directory at all is a valid header.
  LayerBuilder none(0);
  none.Header().I32(16, 0);
  EXPECT_EQ(OpenStatus(none.Build()), MAPGIS_OK);
}

TEST(LayerHeader, MissingFileOrFolderFailsToOpen) {
  TempDir dir;
  MapGis_FastReader r;
  EXPECT_EQ(r.Open(testing_support::Wide(dir.File("absent.WL")).c_str()), MAPGIS_OPEN_FAILED);
  EXPECT_EQ(r.Open(testing_support::Wide(dir.Path()).c_str()), MAPGIS_OPEN_FAILED);
  EXPECT_EQ(r.Open(L""), MAPGIS_OPEN_FAILED);
  EXPECT_EQ(r.Open(nullptr), MAPGIS_OPEN_FAILED);
}

TEST(LayerHeader, OpensAFileWithAChineseName) {
  TempDir dir;
  const std::wstring path = dir.Write("图框.WL", Valid(0));
  MapGis_FastReader r;
  EXPECT_EQ(r.Open(path.c_str()), MAPGIS_OK);
}

TEST(LayerHeader, CountsStoreReadableIndexesAndReturnLiveElements) {
  LayerBuilder b(0);
  b.Element(0, 7).Element(1, 10);
  OpenedLayer line(b.Build());
  int slots = -5;
  EXPECT_EQ(line.reader.GetArcCount(&slots), 7);
  EXPECT_EQ(slots, 9);
  EXPECT_EQ(line.reader.GetArcCount(nullptr), 7);
  slots = -5;
  EXPECT_EQ(line.reader.GetPolygonCount(&slots), -1);
  EXPECT_EQ(line.reader.GetPointCount(&slots), -1);
  EXPECT_EQ(slots, -5);

  for (int32_t stored : {0, 1, -3, INT_MIN}) {
    LayerBuilder few(0);
    few.Element(0, 0).Element(1, stored);
    OpenedLayer o(few.Build());
    slots = -5;
    EXPECT_EQ(o.reader.GetArcCount(&slots), 0);
    EXPECT_EQ(slots, 0) << stored;
  }
}

TEST(LayerHeader, EachKindCountsItsOwnElements) {
  LayerBuilder point(1);
  point.Element(0, 3).Element(1, 5).Element(2, 11).Element(3, 12).Element(4, 13).Element(5, 14);
  OpenedLayer p(point.Build());
  int slots = -5;
  EXPECT_EQ(p.reader.GetPointCount(&slots), 3);
  EXPECT_EQ(slots, 4);
  EXPECT_EQ(p.reader.GetArcCount(&slots), -1);
  EXPECT_EQ(p.reader.GetPolygonCount(&slots), -1);

  LayerBuilder poly(2);
  poly.Element(0, 6).Element(1, 8).Element(4, 2).Element(5, 4);
  OpenedLayer g(poly.Build());
  EXPECT_EQ(g.reader.GetArcCount(&slots), 6);
  EXPECT_EQ(slots, 7);
  EXPECT_EQ(g.reader.GetPolygonCount(&slots), 2);
  EXPECT_EQ(slots, 3);
  EXPECT_EQ(g.reader.GetPointCount(nullptr), -1);

  LayerBuilder net(4);
  net.Element(0, 6).Element(1, 8).Element(2, 4).Element(3, 9);
  OpenedLayer n(net.Build());
  EXPECT_EQ(n.reader.GetShapeType(), 4);
  EXPECT_EQ(n.reader.GetPointCount(&slots), 4);
  EXPECT_EQ(slots, 8);
  EXPECT_EQ(n.reader.GetArcCount(&slots), 6);
  EXPECT_EQ(slots, 7);
  EXPECT_EQ(n.reader.GetPolygonCount(nullptr), -1);

  LayerBuilder table(7);
  table.Element(0, 6).Element(1, 8);
  OpenedLayer t(table.Build());
  EXPECT_EQ(t.reader.GetPointCount(nullptr), -1);
  EXPECT_EQ(t.reader.GetArcCount(nullptr), -1);
  EXPECT_EQ(t.reader.GetPolygonCount(nullptr), -1);
}

TEST(LayerHeader, ExtentAndTicCount) {
  LayerBuilder b(0);
  b.Extent(-1.5, 2.25, 300.0, 4e6).Tic(0x00010005, 0);
  OpenedLayer o(b.Build());
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  o.reader.GetExtentInfo(&x0, &y0, &x1, &y1);
  EXPECT_EQ(x0, -1.5);
  EXPECT_EQ(y0, 2.25);
  EXPECT_EQ(x1, 300.0);
  EXPECT_EQ(y1, 4e6);
  o.reader.GetExtentInfo(nullptr, &y0, nullptr, nullptr);
  EXPECT_EQ(y0, 2.25);
  // Only the low 16 bits count, as a signed value.
  EXPECT_EQ(o.reader.GetTicCount(), 5);
  LayerBuilder neg(0);
  neg.Tic(0x0000FFFF, 0);
  EXPECT_EQ(OpenedLayer(neg.Build()).reader.GetTicCount(), -1);
}

TEST(LayerHeader, ReopeningForgetsTheTablesOfTheFirstFile) {
  TempDir dir;
  const std::wstring first = dir.Write("a.WL", LineFile(3, 100.0));
  const std::wstring second = dir.Write("b.WL", LineFile(2, 500.0));
  MapGis_FastReader r;
  ASSERT_EQ(r.Open(first.c_str()), MAPGIS_OK);
  auto g = NewGeometry();
  ASSERT_EQ(r.ReadArcInfo(2, nullptr, g.get()), MAPGIS_OK);
  EXPECT_EQ(g->padfX[0], 102.0);
  ASSERT_EQ(r.Open(second.c_str()), MAPGIS_OK);
  ASSERT_EQ(r.ReadArcInfo(0, nullptr, g.get()), MAPGIS_OK);
  EXPECT_EQ(g->padfX[0], 500.0);
  EXPECT_EQ(r.ReadArcInfo(2, nullptr, g.get()), MAPGIS_READ_FAILED);
}

TEST(LayerHeader, ClosedOrFailedReaderRefusesReadsWithoutCrashing) {
  OpenedLayer o(LineFile(2, 1.0));
  ASSERT_EQ(o.status, MAPGIS_OK);
  o.reader.Close();
  o.reader.Close();
  auto g = NewGeometry();
  EXPECT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_LT(o.reader.GetFieldCount(), 0);
  EXPECT_EQ(o.reader.Open(o.path.c_str()), MAPGIS_OK);
  EXPECT_EQ(o.reader.ReadArcInfo(1, nullptr, g.get()), MAPGIS_OK);

  // A failed open after a good one leaves nothing readable behind.
  TempDir dir;
  LayerBuilder bad(0);
  bad.Element(1, 3).Header().I32(16, 2000);
  const std::wstring badPath = dir.Write("bad.WL", bad.Build());
  EXPECT_EQ(o.reader.Open(badPath.c_str()), MAPGIS_OPEN_FAILED);
  EXPECT_NE(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_OK);
  EXPECT_NE(o.reader.ReadArcInfo(1, nullptr, g.get()), MAPGIS_OK);
}

TEST(LayerHeader, CopiesReadOnAfterTheOriginalCloses) {
  auto copy = std::make_unique<MapGis_FastReader>();
  {
    OpenedLayer o(LineFile(3, 10.0));
    ASSERT_EQ(o.status, MAPGIS_OK);
    auto g = NewGeometry();
    ASSERT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_OK);  // tables loaded before the copy
    MapGis_FastReader constructed(o.reader);
    *copy = o.reader;
    o.reader.Close();
    ASSERT_EQ(constructed.ReadArcInfo(1, nullptr, g.get()), MAPGIS_OK);
    EXPECT_EQ(g->padfX[0], 11.0);
  }
  // The original and its folder are gone; the copy's handle still reads.
  auto g = NewGeometry();
  ASSERT_EQ(copy->ReadArcInfo(2, nullptr, g.get()), MAPGIS_OK);
  EXPECT_EQ(g->padfX[0], 12.0);
  int slots = 0;
  EXPECT_EQ(copy->GetArcCount(&slots), 3);
  EXPECT_EQ(slots, 3);
}
