// Point, line, annotation, WKB, tic and topology reads of the fast reader.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
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

namespace {

constexpr double kBox = 1.79769313486232e307;

// A point record with recognisable bytes in its carried fields.
Bytes MarkedPoint(uint8_t status, double x, double y, int16_t textLength = 0, uint32_t textOffset = 0) {
  ByteBuilder b;
  b.Raw(0, PointRecord(status, x, y, 0, textLength, textOffset, 0x0A0B0C0D).data(), 93);
  for (size_t o = 33; o < 75; ++o) b.U8(o, static_cast<uint8_t>(o));
  b.U32(79, 0xCAFEF00D).I16(83, 17).Text(85, "carried!");
  return b.Bytes();
}

// Point file: slot 1 live at (1, 2) with text "abc", slot 2 deleted with a
// 300-byte text, slot 3 live with an empty text, slot 4 status 2.
struct PointFile {
  Bytes bytes;
  std::string longText;
  PointFile() {
    DataArea data;
    const uint32_t abc = data.AddText("abc");
    for (int i = 0; i < 300; ++i) longText.push_back(static_cast<char>('A' + i % 26));
    const uint32_t longAt = data.AddText(longText);
    LayerBuilder b(1);
    b.Element(0, 2).Element(1, 5);
    b.Section(0, Table(93, {MarkedPoint(1, 1.0, 2.0, 3, abc), MarkedPoint(0, 3.0, 4.0, 300, longAt),
                            MarkedPoint(1, -5.0, 6.5, 0, 0), MarkedPoint(2, 7.0, 8.0, -4, 0)}));
    b.Section(1, data.Get());
    bytes = b.Build();
  }
};

// Line file: slot 1 with 3 points, slot 2 deleted, slot 3 with 0 points,
// slot 4 with a negative point count.
struct LineFile {
  Bytes bytes;
  LineFile() {
    DataArea data;
    const uint32_t run = data.AddRun({10, 20, -30, 40, 50, -60});
    LayerBuilder b(0);
    b.Element(0, 2).Element(1, 5);
    Bytes first = LineRecord(1, 3, run, 77);
    first[47] = 9;  // layer number
    b.Section(0, Table(57, {first, LineRecord(0, 3, run), LineRecord(1, 0, run), LineRecord(1, -1, run)}));
    b.Section(1, data.Get());
    bytes = b.Build();
  }
};

template <class T>
Bytes BytesOf(const T& v) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(&v);
  return Bytes(p, p + sizeof v);
}

}  // namespace

TEST(PointRecords, IndexZeroReadsSlotOneAndTheWholeRecord) {
  PointFile f;
  OpenedLayer o(f.bytes);
  ASSERT_EQ(o.status, MAPGIS_OK);
  MAPGIS_PntInfo info;
  auto g = NewGeometry();
  ASSERT_EQ(o.reader.ReadPointInfo(0, &info, g.get()), MAPGIS_OK);
  const size_t slot1 = 817 + 93;  // section 0 starts at 817, slot 0 first
  EXPECT_EQ(BytesOf(info), Bytes(f.bytes.begin() + slot1, f.bytes.begin() + slot1 + 93));
  EXPECT_EQ(+info.x, 1.0);
  EXPECT_EQ(+info.color, 0x0A0B0C0D);
  EXPECT_EQ(+info.layer, 17);
  EXPECT_EQ(g->nSHPType, 1);
  EXPECT_EQ(g->nShapeId, -1);
  EXPECT_EQ(g->nParts, 0);
  ASSERT_EQ(g->nVertices, 1);
  EXPECT_EQ(g->padfX[0], 1.0);
  EXPECT_EQ(g->padfY[0], 2.0);
  EXPECT_EQ(g->padfZ[0], 0.0);
  EXPECT_EQ(g->padfM[0], 0.0);
  EXPECT_EQ(g->dfXMin, 1.0);
  EXPECT_EQ(g->dfXMax, 1.0);
  EXPECT_EQ(g->dfYMin, 2.0);
  EXPECT_EQ(g->dfYMax, 2.0);
  EXPECT_EQ(g->dfZMin, 0.0);
  EXPECT_EQ(g->dfMMax, 0.0);
  // The same geometry takes the next point without leaking the first.
  ASSERT_EQ(o.reader.ReadPointInfo(2, nullptr, g.get()), MAPGIS_OK);
  EXPECT_EQ(g->padfX[0], -5.0);
  EXPECT_EQ(g->dfYMax, 6.5);
}

TEST(PointRecords, IndexBoundsAndDeletedSlots) {
  PointFile f;
  OpenedLayer o(f.bytes);
  MAPGIS_PntInfo info;
  std::memset(&info, 0xAB, sizeof info);
  auto g = NewGeometry();
  for (int bad : {-1, 4, 5, INT_MAX, INT_MIN}) {
    EXPECT_EQ(o.reader.ReadPointInfo(bad, &info, g.get()), MAPGIS_READ_FAILED) << bad;
  }
  EXPECT_EQ(o.reader.ReadPointInfo(1, &info, g.get()), MAPGIS_DELETED);
  EXPECT_EQ(o.reader.ReadPointInfo(3, &info, g.get()), MAPGIS_DELETED);  // status 2
  EXPECT_EQ(+info.status, 0xAB);  // nothing filled
  EXPECT_EQ(g->nVertices, 0);
  EXPECT_EQ(g->padfX, nullptr);
  EXPECT_EQ(o.reader.ReadPointInfo(0, nullptr, nullptr), MAPGIS_OK);
}

TEST(PointRecords, ReadsOfAnotherKindAreRefused) {
  OpenedLayer point(PointFile().bytes);
  auto g = NewGeometry();
  EXPECT_EQ(point.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(point.reader.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(point.reader.GetTopoInfo(0, nullptr), MAPGIS_READ_FAILED);
  OpenedLayer line(LineFile().bytes);
  char text[260];
  EXPECT_EQ(line.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(line.reader.GetNoteInfo(0, text), MAPGIS_READ_FAILED);
  LayerBuilder table(7);
  table.Element(0, 1).Element(1, 2);
  OpenedLayer t(table.Build());
  EXPECT_EQ(t.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(t.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(t.reader.GetNoteInfo(0, text), MAPGIS_READ_FAILED);
  EXPECT_EQ(g->nVertices, 0);
}

TEST(PointRecords, PointWkbCarriesByteOrderTypeAndCoordinates) {
  OpenedLayer o(PointFile().bytes);
  WKBPoint w{};
  MAPGIS_PntInfo info;
  ASSERT_EQ(o.reader.ReadPointWKB(2, &info, &w), MAPGIS_OK);
  EXPECT_EQ(+w.byteOrder, 1);
  EXPECT_EQ(+w.wkbType, 1u);
  EXPECT_EQ(+w.x, -5.0);
  EXPECT_EQ(+w.y, 6.5);
  EXPECT_EQ(+info.x, -5.0);
  WKBPoint untouched{};
  EXPECT_EQ(o.reader.ReadPointWKB(1, nullptr, &untouched), MAPGIS_DELETED);
  EXPECT_EQ(+untouched.wkbType, 0u);
  EXPECT_EQ(o.reader.ReadPointWKB(4, nullptr, &untouched), MAPGIS_READ_FAILED);
}

TEST(NoteText, TextIsCutTo259BytesAndTheStatusByteIsNotConsulted) {
  PointFile f;
  OpenedLayer o(f.bytes);
  char text[300];
  std::memset(text, '#', sizeof text);
  ASSERT_EQ(o.reader.GetNoteInfo(0, text), MAPGIS_OK);
  EXPECT_STREQ(text, "abc");
  std::memset(text, '#', sizeof text);
  ASSERT_EQ(o.reader.GetNoteInfo(1, text), MAPGIS_OK);  // deleted record, text read all the same
  EXPECT_EQ(std::string(text), f.longText.substr(0, 259));
  EXPECT_EQ(text[260], '#');  // nothing written past the 260 bytes
  // Empty or negative lengths leave the buffer as it is.
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(o.reader.GetNoteInfo(2, text), MAPGIS_OK);
  EXPECT_EQ(o.reader.GetNoteInfo(3, text), MAPGIS_OK);
  EXPECT_EQ(text[0], '#');
  EXPECT_EQ(o.reader.GetNoteInfo(0, nullptr), MAPGIS_OK);
  EXPECT_EQ(o.reader.GetNoteInfo(4, text), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.GetNoteInfo(-1, text), MAPGIS_READ_FAILED);
}

TEST(NoteText, TextOutsideTheFileIsAReadFailure) {
  DataArea data;
  data.AddText("xy");
  LayerBuilder b(1);
  b.Element(0, 2).Element(1, 3);
  b.Section(0, Table(93, {PointRecord(1, 0, 0, 0, 10, 0xFFFFFFF0u), PointRecord(1, 0, 0, 0, 200, 0)}));
  b.Section(1, data.Get());
  OpenedLayer o(b.Build());  // section 1 is the last thing in the file
  char text[260] = "keep";
  EXPECT_EQ(o.reader.GetNoteInfo(0, text), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.GetNoteInfo(1, text), MAPGIS_READ_FAILED);
  EXPECT_STREQ(text, "keep");
}

TEST(LineRecords, LineGeometryAndRecord) {
  LineFile f;
  OpenedLayer o(f.bytes);
  MAPGIS_LineInfo info;
  auto g = NewGeometry();
  ASSERT_EQ(o.reader.ReadArcInfo(0, &info, g.get()), MAPGIS_OK);
  const size_t slot1 = 817 + 57;
  EXPECT_EQ(BytesOf(info), Bytes(f.bytes.begin() + slot1, f.bytes.begin() + slot1 + 57));
  EXPECT_EQ(+info.pointCount, 3);
  EXPECT_EQ(+info.color, 77);
  EXPECT_EQ(+info.layer, 9);
  EXPECT_EQ(g->nSHPType, 3);
  EXPECT_EQ(g->nShapeId, -1);
  ASSERT_EQ(g->nParts, 1);
  EXPECT_EQ(g->panPartStart[0], 0);
  EXPECT_EQ(g->panPartType[0], 5);
  ASSERT_EQ(g->nVertices, 3);
  EXPECT_EQ(g->padfX[1], -30.0);
  EXPECT_EQ(g->padfY[2], -60.0);
  EXPECT_EQ(g->padfZ[2], 0.0);
  EXPECT_EQ(g->padfM[0], 0.0);
  EXPECT_EQ(g->dfXMin, -30.0);
  EXPECT_EQ(g->dfXMax, 50.0);
  EXPECT_EQ(g->dfYMin, -60.0);
  EXPECT_EQ(g->dfYMax, 40.0);
}

TEST(LineRecords, ZeroPointLineKeepsTheInitialBox) {
  OpenedLayer o(LineFile().bytes);
  auto g = NewGeometry();
  ASSERT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_OK);
  ASSERT_EQ(o.reader.ReadArcInfo(2, nullptr, g.get()), MAPGIS_OK);
  EXPECT_EQ(g->nVertices, 0);
  EXPECT_EQ(g->nParts, 1);
  EXPECT_EQ(g->dfXMin, kBox);
  EXPECT_EQ(g->dfYMin, kBox);
  EXPECT_EQ(g->dfXMax, -kBox);
  EXPECT_EQ(g->dfYMax, -kBox);
}

TEST(LineRecords, IndexBoundsDeletedAndNegativeCounts) {
  OpenedLayer o(LineFile().bytes);
  MAPGIS_LineInfo info;
  std::memset(&info, 0xAB, sizeof info);
  auto g = NewGeometry();
  EXPECT_EQ(o.reader.ReadArcInfo(4, &info, g.get()), MAPGIS_READ_FAILED);  // == readable count
  EXPECT_EQ(o.reader.ReadArcInfo(-1, &info, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.ReadArcInfo(1, &info, g.get()), MAPGIS_DELETED);
  EXPECT_EQ(+info.status, 0xAB);
  EXPECT_EQ(g->padfX, nullptr);
  EXPECT_EQ(o.reader.ReadArcInfo(3, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(g->padfX, nullptr);
  EXPECT_EQ(o.reader.ReadArcInfo(3, &info, nullptr), MAPGIS_OK);  // the record alone is readable
  EXPECT_EQ(+info.pointCount, -1);
}

TEST(LineRecords, RunLongerThanTheDataAreaIsRefusedBeforeAllocating) {
  // Section 1 holds 64 bytes: at most 4 points. A fifth point lies in the
  // file (the section is followed by section 2) but not in the data area.
  DataArea data;
  ByteBuilder run;
  for (int i = 0; i < 8; ++i) run.F64(8 * static_cast<size_t>(i), i);
  Bytes area(run.Bytes());
  area.resize(64);
  LayerBuilder b(0);
  b.Element(0, 3).Element(1, 4);
  b.Section(0, Table(57, {LineRecord(1, 4, 0), LineRecord(1, 5, 0), LineRecord(1, 3, 40)}));
  b.Section(1, area);
  b.Section(2, Bytes(400, 0));
  OpenedLayer o(b.Build());
  auto g = NewGeometry();
  EXPECT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_OK);
  EXPECT_EQ(g->nVertices, 4);
  auto fresh = NewGeometry();
  EXPECT_EQ(o.reader.ReadArcInfo(1, nullptr, fresh.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(fresh->padfX, nullptr);
  EXPECT_EQ(fresh->panPartStart, nullptr);
  // The count is within the area but the run starts late: the bytes after
  // the section are still in the file, so the run reads from them.
  EXPECT_EQ(o.reader.ReadArcInfo(2, nullptr, fresh.get()), MAPGIS_OK);
  WKBLineString w{};
  EXPECT_EQ(o.reader.ReadArcWKB(1, nullptr, &w), MAPGIS_READ_FAILED);
  EXPECT_EQ(+w.points, nullptr);
}

TEST(LineRecords, RunPastTheEndOfTheFileIsAReadFailure) {
  // The directory claims a large data area; the file ends much sooner.
  LayerBuilder b(0);
  b.Element(0, 1).Element(1, 2);
  b.Section(0, Table(57, {LineRecord(1, 1000, 0)}));
  b.Section(1, Bytes(32, 0));
  Bytes bytes = b.Build();
  ByteBuilder patch;
  patch.Raw(0, bytes.data(), bytes.size());
  patch.U32(657 + 10 + 4, 0x7FFFFFFF);  // section 1 length
  OpenedLayer o(patch.Bytes());
  auto g = NewGeometry();
  EXPECT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(g->padfX, nullptr);
}

TEST(LineRecords, LineWkbOwnsAFreshPointArray) {
  OpenedLayer o(LineFile().bytes);
  WKBLineString w{};
  MAPGIS_LineInfo info;
  ASSERT_EQ(o.reader.ReadArcWKB(0, &info, &w), MAPGIS_OK);
  EXPECT_EQ(+w.byteOrder, 1);
  EXPECT_EQ(+w.wkbType, 2u);
  ASSERT_EQ(+w.numPoints, 3u);
  EXPECT_EQ(w.points[0].x, 10.0);
  EXPECT_EQ(w.points[1].x, -30.0);
  EXPECT_EQ(w.points[2].y, -60.0);
  EXPECT_EQ(+info.pointCount, 3);
  std::free(w.points);
  WKBLineString empty{};
  ASSERT_EQ(o.reader.ReadArcWKB(2, nullptr, &empty), MAPGIS_OK);
  EXPECT_EQ(+empty.numPoints, 0u);
  std::free(empty.points);
  WKBLineString deleted{};
  EXPECT_EQ(o.reader.ReadArcWKB(1, nullptr, &deleted), MAPGIS_DELETED);
  EXPECT_EQ(+deleted.points, nullptr);
  EXPECT_EQ(o.reader.ReadArcWKB(0, nullptr, nullptr), MAPGIS_OK);
}

TEST(LineRecords, RecordTableTheFileCannotHoldIsAReadFailure) {
  LayerBuilder b(0);
  b.Element(0, 5).Element(1, 6);
  b.Section(0, Table(57, {LineRecord(1, 0, 0)}));  // 2 slots present, 6 claimed
  b.Section(1, Bytes(16, 0));
  // Section 0 is followed only by section 1 (16 bytes): 6 slots of 57 bytes
  // run off the end of the file.
  OpenedLayer o(b.Build());
  auto g = NewGeometry();
  EXPECT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  // The failed load is not remembered as a loaded (empty) table.
  EXPECT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(g->padfX, nullptr);
}

TEST(Tics, TicTableIsReadFromTheDataArea) {
  DataArea data;
  data.AddText("pad");
  Bytes tics(64);
  for (size_t i = 0; i < tics.size(); ++i) tics[i] = static_cast<uint8_t>(i + 1);
  const uint32_t at = data.AddBytes(tics);
  LayerBuilder b(0);
  b.Tic(0x7FFF0002, at).Section(1, data.Get());
  OpenedLayer o(b.Build());
  ASSERT_EQ(o.reader.GetTicCount(), 2);
  MAPGIS_Tic_Info tic;
  ASSERT_EQ(o.reader.GetTicInfo(1, &tic), MAPGIS_OK);
  EXPECT_EQ(BytesOf(tic), Bytes(tics.begin() + 32, tics.end()));
  ASSERT_EQ(o.reader.GetTicInfo(0, &tic), MAPGIS_OK);
  EXPECT_EQ(tic.data[0], 1);
  EXPECT_EQ(o.reader.GetTicInfo(0, nullptr), MAPGIS_OK);
  EXPECT_EQ(o.reader.GetTicInfo(2, &tic), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.GetTicInfo(-1, &tic), MAPGIS_READ_FAILED);

  LayerBuilder beyond(0);
  beyond.Tic(3, 1000).Section(1, data.Get());
  OpenedLayer far(beyond.Build());
  EXPECT_EQ(far.reader.GetTicInfo(0, &tic), MAPGIS_READ_FAILED);
  EXPECT_EQ(far.reader.GetTicInfo(0, nullptr), MAPGIS_READ_FAILED);
  LayerBuilder negative(0);
  negative.Tic(0xFFFF, 0).Section(1, data.Get());
  EXPECT_EQ(OpenedLayer(negative.Build()).reader.GetTicInfo(0, nullptr), MAPGIS_READ_FAILED);
}

TEST(Topology, OneRecordPerLineSlotCountedFromZero) {
  ByteBuilder topo;
  for (int slot = 0; slot < 3; ++slot) {
    const size_t o = 24 * static_cast<size_t>(slot);
    topo.U32(o, 100 + slot).U32(o + 4, 200 + slot).I32(o + 8, 10 * slot + 1).I32(o + 12, -(10 * slot + 2));
    topo.Grow(o + 24);
  }
  for (int16_t type : {0, 2, 4}) {
    LayerBuilder b(type);
    b.Element(0, 2).Element(1, 3).Section(3, topo.Bytes());
    OpenedLayer o(b.Build());
    MAPGIS_Topology t;
    ASSERT_EQ(o.reader.GetTopoInfo(0, &t), MAPGIS_OK) << type;
    EXPECT_EQ(+t.leftPolygon, 1);
    EXPECT_EQ(+t.rightPolygon, -2);
    ASSERT_EQ(o.reader.GetTopoInfo(2, &t), MAPGIS_OK);
    EXPECT_EQ(+t.leftPolygon, 21);
    EXPECT_EQ(+t.rightPolygon, -22);
    EXPECT_EQ(o.reader.GetTopoInfo(1, nullptr), MAPGIS_OK);
    EXPECT_EQ(o.reader.GetTopoInfo(3, &t), MAPGIS_READ_FAILED);
    EXPECT_EQ(o.reader.GetTopoInfo(-1, &t), MAPGIS_READ_FAILED);
  }
  LayerBuilder shortTable(0);
  shortTable.Element(1, 4).Section(3, topo.Bytes());  // 4 slots, 3 records, nothing after
  EXPECT_EQ(OpenedLayer(shortTable.Build()).reader.GetTopoInfo(0, nullptr), MAPGIS_READ_FAILED);
}
