// The memory reader and the legacy reader: their differences from the fast
// reader, and agreement with it where they are meant to agree.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "LayerBuilder.h"
#include "MapGis.h"
#include "TempDir.h"

using namespace MapGis;
using namespace testing_support;

namespace {

// A network file with 4 node slots (slot 3 deleted) and 2 lines; nodes carry
// attributes in section 5, lines in section 2.
Bytes NetworkFile() {
  DataArea data;
  ByteBuilder block(94);
  for (int k = 0; k < 94; ++k) block.U8(static_cast<size_t>(k), static_cast<uint8_t>(100 + k));
  const uint32_t param = data.AddBytes(block.Bytes());
  const uint32_t run = data.AddRun({0, 0, 10, 0, 10, 10});
  LayerBuilder b(4);
  b.Element(0, 2).Element(1, 3).Element(2, 2).Element(3, 4);
  b.Section(0, Table(57, {LineRecord(1, 3, run), LineRecord(1, 2, run)}));
  b.Section(1, data.Get());
  b.Section(2, AttributeSection({{"LEN", 5, 1, 8, 12, 3}}, 9, {Bytes{1, 0, 0, 0, 0, 0, 0, 0x24, 0x40}, Bytes{1}}));
  b.Section(4, Table(55, {NodeRecord(1, 1.5, 2.5, param), NodeRecord(0, 3, 4, 999999), NodeRecord(1, 5, 6, param)}));
  b.Section(5, AttributeSection({{"NODE", 3, 1, 4, 11, 0}, {"NAME", 0, 5, 6, 6, 0}}, 11,
                                {Bytes{1, 7, 0, 0, 0, 'a', 'b', ' ', ' ', ' ', ' '}}));
  return b.Build();
}

// A polygon file: square arcs 1..4 (arc 2 deleted) used by polygon 1 as
// [1, 2, 3, 4]; arc attributes in section 2, polygon attributes in section 9.
Bytes PolygonWithDeletedArc() {
  DataArea data;
  const uint32_t a1 = data.AddRun({0, 0, 10, 0});
  const uint32_t a2 = data.AddRun({10, 0, 10, 10});
  const uint32_t a3 = data.AddRun({10, 10, 0, 10});
  const uint32_t a4 = data.AddRun({0, 10, 0, 0});
  const uint32_t list = data.AddInts({9, 1, 2, 3, 4});
  LayerBuilder b(2);
  b.Element(0, 3).Element(1, 5).Element(4, 1).Element(5, 2);
  b.Section(0, Table(57, {LineRecord(1, 2, a1), LineRecord(0, 2, a2), LineRecord(1, 2, a3), LineRecord(1, 2, a4)}));
  b.Section(1, data.Get());
  b.Section(2, AttributeSection({{"ARCID", 3, 1, 4, 11, 0}, {"K", 1, 5, 1, 3, 0}}, 6, {}));
  b.Section(8, Table(40, {PolygonRecord(1, 5, list, 7)}));
  b.Section(9, AttributeSection({{"AREA", 5, 1, 8, 14, 2}}, 9, {Bytes(9, 0)}));
  return b.Build();
}

}  // namespace

TEST(MemReader, NetworkNodesRespectDeletionAndTakeTheirParameterBlock) {
  TempDir dir;
  const std::wstring path = dir.Write("net.wn", NetworkFile());
  MapGis_MemReader mem;
  ASSERT_EQ(mem.Open(path.c_str()), MAPGIS_OK);
  EXPECT_EQ(mem.GetShapeType(), 3);
  int slots = -1;
  EXPECT_EQ(mem.GetNetPntCount(&slots), 2);
  EXPECT_EQ(slots, 3);
  EXPECT_EQ(mem.ReadPointInfo(0, nullptr, nullptr), MAPGIS_READ_FAILED);  // nodes only through ReadNetPointInfo

  MAPGIS_PntInfo info;
  std::memset(&info, 0xEE, sizeof info);
  Geometry* g = CreateGeometry();
  ASSERT_EQ(mem.ReadNetPointInfo(0, &info, g), MAPGIS_OK);
  const uint8_t* rec = reinterpret_cast<const uint8_t*>(&info);
  // Packed fields are copied out before comparing (no references to them).
  EXPECT_EQ(int{info.status}, 1);
  EXPECT_EQ(int{info.textLength}, 1);
  EXPECT_EQ(double{info.x}, 1.5);
  EXPECT_EQ(double{info.y}, 2.5);
  for (int k = 31; k <= 56; ++k) EXPECT_EQ(rec[k], 100 + (k - 31)) << k;
  for (int k = 57; k <= 66; ++k) EXPECT_EQ(rec[k], 0xEE) << k;  // not written
  for (int k = 67; k <= 84; ++k) EXPECT_EQ(rec[k], 100 + 36 + (k - 67)) << k;
  for (int k = 85; k <= 92; ++k) EXPECT_EQ(rec[k], 0) << k;
  EXPECT_EQ(g->nSHPType, 1);
  EXPECT_EQ(g->padfX[0], 1.5);
  DestroyGeometry(g);

  // Slot 2 is deleted; its parameter offset points nowhere and is never read.
  EXPECT_EQ(mem.ReadNetPointInfo(1, &info, nullptr), MAPGIS_DELETED);
  EXPECT_EQ(mem.ReadNetPointInfo(2, nullptr, nullptr), MAPGIS_OK);
  EXPECT_EQ(mem.ReadNetPointInfo(3, nullptr, nullptr), MAPGIS_READ_FAILED);

  // The fast reader keeps the deleted node deleted too.
  MapGis_FastReader fast;
  ASSERT_EQ(fast.Open(path.c_str()), MAPGIS_OK);
  EXPECT_EQ(fast.GetShapeType(), 4);
  EXPECT_EQ(fast.ReadPointInfo(1, nullptr, nullptr), MAPGIS_DELETED);
  EXPECT_EQ(fast.ReadPointInfo(2, nullptr, nullptr), MAPGIS_OK);
}

TEST(MemReader, OneAttributeTablePerFileType) {
  TempDir dir;
  const std::wstring net = dir.Write("net.wn", NetworkFile());
  MapGis_MemReader mem;
  ASSERT_EQ(mem.Open(net.c_str()), MAPGIS_OK);
  // A network file's table is its node attributes.
  ASSERT_EQ(mem.GetFieldCount(), 2);
  EXPECT_EQ(mem.GetRecordCount(), 1);
  EXPECT_EQ(mem.ReadLongAttribute(0, 0), 7);
  EXPECT_STREQ(mem.ReadStringAttribute(0, 1), "ab");

  const std::wstring poly = dir.Write("poly.wp", PolygonWithDeletedArc());
  ASSERT_EQ(mem.Open(poly.c_str()), MAPGIS_OK);
  EXPECT_EQ(mem.GetShapeType(), 5);
  EXPECT_EQ(mem.GetFieldCount(), 1);  // polygon attributes
  int slots = -1;
  EXPECT_EQ(mem.GetRegCount(&slots), 1);
  EXPECT_EQ(slots, 1);
  // The same count operation answers for every file type.
  EXPECT_EQ(mem.GetPntCount(&slots), 3);
  EXPECT_EQ(slots, 4);
  EXPECT_EQ(mem.GetArcCount(nullptr), 3);

  mem.ReadAsPolyArc();
  EXPECT_EQ(mem.GetShapeType(), 3);
  EXPECT_EQ(mem.GetFieldCount(), 2);  // now the arc attributes
  EXPECT_EQ(mem.ReadArcInfo(0, nullptr, nullptr), MAPGIS_OK);
  EXPECT_EQ(mem.ReadPolygonInfo(0, nullptr, nullptr), MAPGIS_READ_FAILED);
}

TEST(LegacyReader, RefusesNetworksAndFilesItCannotWrite) {
  TempDir dir;
  MapGis_Reader reader;
  const std::wstring net = dir.Write("net.wn", NetworkFile());
  EXPECT_EQ(reader.Open(net.c_str()), MAPGIS_NOT_MAPGIS_FILE);

  const std::wstring poly = dir.Write("poly.wp", PolygonWithDeletedArc());
  std::filesystem::permissions(dir.File("poly.wp"), std::filesystem::perms::owner_read);
  if (geteuid() != 0) {  // root may write anyway
    EXPECT_EQ(reader.Open(poly.c_str()), MAPGIS_OPEN_FAILED);
  }
  EXPECT_EQ(reader.Open(L"/nonexistent/x.wp"), MAPGIS_OPEN_FAILED);
}

TEST(LegacyReader, DeletedArcEndsPolygonAssemblyWhereTheFastReaderSkipsIt) {
  TempDir dir;
  const std::wstring path = dir.Write("poly.wp", PolygonWithDeletedArc());
  MapGis_Reader legacy;
  ASSERT_EQ(legacy.Open(path.c_str()), MAPGIS_OK);
  Geometry* g = CreateGeometry();
  EXPECT_EQ(legacy.ReadPolygonInfo(0, nullptr, g), MAPGIS_DELETED);

  MapGis_FastReader fast;
  ASSERT_EQ(fast.Open(path.c_str()), MAPGIS_OK);
  ASSERT_EQ(fast.ReadPolygonInfo(0, nullptr, g), MAPGIS_OK);
  // Three live arcs of two points each; the deleted arc leaves no (0, 0) gap.
  EXPECT_EQ(g->nVertices, 6);
  EXPECT_EQ(g->dfXMax, 10.0);
  DestroyGeometry(g);

  int slots = -1, type = -1, tics = -1;
  EXPECT_EQ(legacy.GetInfo(&slots, &type, &tics), 1);
  EXPECT_EQ(slots, 1);
  EXPECT_EQ(type, 5);
  EXPECT_EQ(tics, 0);
  EXPECT_EQ(legacy.GetPolyLab(0, nullptr), MAPGIS_READ_FAILED);
}

TEST(LegacyReader, LineBoundsStartAllEightValues) {
  TempDir dir;
  const std::wstring path = dir.Write("poly.wp", PolygonWithDeletedArc());
  MapGis_Reader legacy;
  ASSERT_EQ(legacy.Open(path.c_str()), MAPGIS_OK);
  Geometry* g = CreateGeometry();
  ASSERT_EQ(legacy.ReadArcInfo(0, nullptr, g), MAPGIS_OK);
  EXPECT_EQ(g->nVertices, 2);
  EXPECT_EQ(g->dfXMax, 10.0);
  EXPECT_DOUBLE_EQ(g->dfZMin, 1.79769313486232e307);
  EXPECT_DOUBLE_EQ(g->dfMMax, -1.79769313486232e307);
  EXPECT_EQ(legacy.ReadArcInfo(1, nullptr, g), MAPGIS_DELETED);
  DestroyGeometry(g);
}

TEST(LegacyReader, WriteGeomInfoChangesOnlyThePolygonTable) {
  TempDir dir;
  const std::wstring path = dir.CopySample("frame/图框.WP");
  const Bytes before = ReadAll(dir.File("图框.WP"));
  MapGis_Reader legacy;
  ASSERT_EQ(legacy.Open(path.c_str()), MAPGIS_OK);
  MAPGIS_RegInfo reg;
  int live = -1;
  for (int i = 0; legacy.ReadPolygonInfo(i, &reg, nullptr) != MAPGIS_READ_FAILED; ++i) {
    if (legacy.ReadPolygonInfo(i, &reg, nullptr) == MAPGIS_OK) {
      live = i;
      break;
    }
  }
  ASSERT_GE(live, 0);
  reg.fillColor = 1234;
  ASSERT_EQ(legacy.SetPolygonInfo(live, reg), MAPGIS_OK);
  EXPECT_EQ(legacy.SetPolygonInfo(1000, reg), MAPGIS_READ_FAILED);
  ASSERT_EQ(legacy.WriteGeomInfo(), MAPGIS_OK);
  legacy.Close();

  const Bytes after = ReadAll(dir.File("图框.WP"));
  ASSERT_EQ(before.size(), after.size());
  // Section 8 starts where directory entry 8 says.
  uint32_t dirOffset, sec8;
  std::memcpy(&dirOffset, &before[12], 4);
  std::memcpy(&sec8, &before[dirOffset + 80], 4);
  const size_t fill = sec8 + 40 * (static_cast<size_t>(live) + 1) + 9;
  size_t changed = 0;
  for (size_t k = 0; k < before.size(); ++k) {
    if (before[k] != after[k]) {
      ++changed;
      EXPECT_TRUE(k >= fill && k < fill + 4) << "byte " << k << " changed";
    }
  }
  EXPECT_GT(changed, 0u);
  int32_t stored;
  std::memcpy(&stored, &after[fill], 4);
  EXPECT_EQ(stored, 1234);
}

TEST(OtherReaders, AgreeWithTheFastReaderOnRealAttributes) {
  TempDir dir;
  for (const char* sample : {"jz-project/JZ.WT", "tables/区.WB", "frame/图框.WP"}) {
    const std::wstring path = dir.CopySample(sample);
    MapGis_FastReader fast;
    MapGis_MemReader mem;
    MapGis_Reader legacy;
    ASSERT_EQ(fast.Open(path.c_str()), MAPGIS_OK) << sample;
    ASSERT_EQ(mem.Open(path.c_str()), MAPGIS_OK) << sample;
    ASSERT_EQ(legacy.Open(path.c_str()), MAPGIS_OK) << sample;
    const long fields = fast.GetFieldCount();
    const long records = fast.GetRecordCount();
    ASSERT_GT(fields, 0) << sample;
    EXPECT_EQ(mem.GetFieldCount(), fields);
    EXPECT_EQ(legacy.GetFieldCount(), fields);
    EXPECT_EQ(mem.GetRecordCount(), records);
    EXPECT_EQ(legacy.GetRecordCount(), records);
    for (int r = 0; r < records; ++r) {
      for (int f = 0; f < fields; ++f) {
        const std::string a = fast.ReadStringAttribute(r, f) ? fast.ReadStringAttribute(r, f) : "";
        const std::string b = mem.ReadStringAttribute(r, f) ? mem.ReadStringAttribute(r, f) : "";
        const std::string c = legacy.ReadStringAttribute(r, f) ? legacy.ReadStringAttribute(r, f) : "";
        EXPECT_EQ(a, b) << sample << " " << r << "/" << f;
        EXPECT_EQ(a, c) << sample << " " << r << "/" << f;
        EXPECT_EQ(fast.ReadDoubleAttribute(r, f), legacy.ReadDoubleAttribute(r, f));
      }
    }
  }
}

TEST(OtherReaders, CopiesReadOnAfterTheOriginalCloses) {
  TempDir dir;
  const std::wstring path = dir.CopySample("jz-project/JZ.WT");
  auto* original = new MapGis_MemReader;
  ASSERT_EQ(original->Open(path.c_str()), MAPGIS_OK);
  MapGis_MemReader copy(*original);
  delete original;
  char text[260] = {0};
  int slots = 0;
  copy.GetPntCount(&slots);
  int found = 0;
  for (int i = 0; i < slots; ++i) {
    if (copy.GetNoteInfo(i, text) == MAPGIS_OK && text[0]) ++found;
  }
  EXPECT_GT(found, 90);

  MapGis_FastReader fast;
  ASSERT_EQ(fast.Open(path.c_str()), MAPGIS_OK);
  MapGis_FastReader fastCopy;
  fastCopy = fast;
  fast.Close();
  EXPECT_EQ(fastCopy.GetFieldCount(), 10);
  EXPECT_EQ(fastCopy.ReadPointInfo(0, nullptr, nullptr) != MAPGIS_READ_FAILED, true);
}
