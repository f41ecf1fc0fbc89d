// Network files: nodes served as point records, lines, and the two
// attribute tables.
#include <gtest/gtest.h>

#include "MapGis.h"
#include "ReaderFixture.h"

using namespace MapGis;
using testing_support::AttributeSection;
using testing_support::Bytes;
using testing_support::ByteBuilder;
using testing_support::DataArea;
using testing_support::LayerBuilder;
using testing_support::LineRecord;
using testing_support::NewGeometry;
using testing_support::NodeRecord;
using testing_support::OpenedLayer;
using testing_support::Table;

namespace {

// A 94-byte parameter block: bytes 0..61 count up from `first`, the rest
// (never read) are EE hex.
Bytes ParameterBlock(uint8_t first) {
  Bytes b(94, 0xEE);
  for (size_t i = 0; i < 62; ++i) b[i] = static_cast<uint8_t>(first + i);
  return b;
}

// A node record with junk in its carried bytes.
Bytes Node(uint8_t status, double x, double y, uint32_t paramOffset) {
  ByteBuilder b;
  b.Raw(0, NodeRecord(status, x, y, paramOffset).data(), 55);
  b.F64(16, 777.0).U8(25, 0x5A);
  return b.Bytes();
}

// Nodes: slot 1 live, slot 2 deleted with a parameter offset outside the
// file, slot 3 live. Lines: slot 1 with two points.
Bytes NetworkFile(uint32_t thirdNodeParams = 0) {
  DataArea data;
  const uint32_t p1 = data.AddBytes(ParameterBlock(1));
  const uint32_t p3 = data.AddBytes(ParameterBlock(101));
  const uint32_t run = data.AddRun({1, 2, 3, 4});
  LayerBuilder b(4);
  b.Element(0, 1).Element(1, 2).Element(2, 2).Element(3, 4);
  b.Section(0, Table(57, {LineRecord(1, 2, run, 5)}));
  b.Section(1, data.Get());
  b.Section(2, AttributeSection({{"line", 3, 0, 4, 11, 0}}, 4, {ByteBuilder(4).I32(0, 42).Bytes()}));
  b.Section(4, Table(55, {Node(1, 10.5, 20.5, p1), Node(0, 30, 40, 0xFFFFFF00u),
                          Node(1, -1, -2, thirdNodeParams ? thirdNodeParams : p3)}));
  b.Section(5, AttributeSection({{"node", 3, 0, 4, 11, 0}, {"kind", 1, 4, 1, 3, 0}}, 5,
                                {ByteBuilder(5).I32(0, 7).U8(4, 1).Bytes(), ByteBuilder(5).I32(0, 8).Bytes(),
                                 ByteBuilder(5).I32(0, 9).Bytes()}));
  return b.Build();
}

}  // namespace

TEST(NetworkRead, LiveNodesBecomePointRecordsWithTheirParameterBytes) {
  OpenedLayer o(NetworkFile());
  ASSERT_EQ(o.status, MAPGIS_OK);
  EXPECT_EQ(o.reader.GetShapeType(), 4);
  int slots = 0;
  EXPECT_EQ(o.reader.GetPointCount(&slots), 2);
  EXPECT_EQ(slots, 3);
  MAPGIS_PntInfo info;
  auto g = NewGeometry();
  ASSERT_EQ(o.reader.ReadPointInfo(0, &info, g.get()), MAPGIS_OK);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&info);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(+info.textLength, 1);
  EXPECT_EQ(+info.textOffset, 0u);
  EXPECT_EQ(+info.x, 10.5);
  EXPECT_EQ(+info.y, 20.5);
  EXPECT_EQ(+info.z, 0.0);
  for (size_t i = 31; i < 93; ++i) EXPECT_EQ(bytes[i], 1 + (i - 31)) << "byte " << i;
  EXPECT_EQ(g->nSHPType, 1);
  EXPECT_EQ(g->padfX[0], 10.5);
  ASSERT_EQ(o.reader.ReadPointInfo(2, &info, nullptr), MAPGIS_OK);
  EXPECT_EQ(+info.x, -1.0);
  EXPECT_EQ(bytes[31], 101);
  EXPECT_EQ(bytes[92], 101 + 61);
  WKBPoint w{};
  ASSERT_EQ(o.reader.ReadPointWKB(2, nullptr, &w), MAPGIS_OK);
  EXPECT_EQ(+w.y, -2.0);
}

TEST(NetworkRead, DeletedNodeIsDeletedAndItsParametersAreNotRead) {
  // The deleted node's parameter offset lies outside the file; reading it
  // would fail the whole node table.
  OpenedLayer o(NetworkFile());
  MAPGIS_PntInfo info;
  info.status = 0xAB;
  EXPECT_EQ(o.reader.ReadPointInfo(1, &info, nullptr), MAPGIS_DELETED);
  EXPECT_EQ(info.status, 0xAB);
  EXPECT_EQ(o.reader.ReadPointInfo(3, &info, nullptr), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.ReadPointInfo(0, &info, nullptr), MAPGIS_OK);
}

TEST(NetworkRead, LiveNodeWithUnreadableParametersFailsTheTable) {
  OpenedLayer o(NetworkFile(0xFFFFFF00u));
  auto g = NewGeometry();
  EXPECT_EQ(o.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(g->padfX, nullptr);
}

TEST(NetworkRead, LinesAndOtherReads) {
  OpenedLayer o(NetworkFile());
  MAPGIS_LineInfo info;
  auto g = NewGeometry();
  ASSERT_EQ(o.reader.ReadArcInfo(0, &info, g.get()), MAPGIS_OK);
  EXPECT_EQ(+info.color, 5);
  ASSERT_EQ(g->nVertices, 2);
  EXPECT_EQ(g->padfY[1], 4.0);
  EXPECT_EQ(o.reader.ReadArcInfo(1, &info, g.get()), MAPGIS_READ_FAILED);
  char text[260];
  EXPECT_EQ(o.reader.GetNoteInfo(0, text), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
}

TEST(NetworkRead, LineAttributesByDefaultNodeAttributesAsKindOne) {
  OpenedLayer o(NetworkFile());
  ASSERT_EQ(o.reader.GetFieldCount(), 1);
  EXPECT_EQ(o.reader.GetRecordCount(), 1);
  EXPECT_EQ(o.reader.ReadLongAttribute(0, 0), 42L);
  ASSERT_EQ(o.reader.SetAttributeType(1), MAPGIS_OK);
  EXPECT_EQ(o.reader.GetFieldCount(), 2);
  EXPECT_EQ(o.reader.GetRecordCount(), 3);
  EXPECT_EQ(o.reader.ReadLongAttribute(2, 0), 9L);
  EXPECT_EQ(o.reader.ReadByteAttribute(0, 1), 1);
  EXPECT_EQ(o.reader.GetFieldIndex(L"KIND"), 1);
  EXPECT_EQ(o.reader.SetAttributeType(2), MAPGIS_NO_TABLE);
  EXPECT_EQ(o.reader.SetAttributeType(7), MAPGIS_NO_TABLE);
  EXPECT_EQ(o.reader.GetRecordCount(), 3);
  ASSERT_EQ(o.reader.SetAttributeType(0), MAPGIS_OK);
  EXPECT_EQ(o.reader.ReadLongAttribute(0, 0), 42L);
}
