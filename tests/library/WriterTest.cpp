// MapGis_Writer: the bytes of the files it writes, checked at their
// documented offsets, and the arguments it refuses.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MapGisWriter.h"
#include "TempDir.h"

using namespace MapGis;
using testing_support::TempDir;

namespace {

constexpr double kBig = 1.79769313486232e307;

// A written file, read back as bytes.
struct Bytes {
  std::vector<uint8_t> b;
  explicit Bytes(const std::filesystem::path& p) : b(testing_support::ReadAll(p)) {}
  template <class T>
  T At(size_t o) const {
    T v{};
    if (o + sizeof v <= b.size()) std::memcpy(&v, &b[o], sizeof v);
    else ADD_FAILURE() << "offset " << o << " is past the end of the file (" << b.size() << " bytes)";
    return v;
  }
  uint32_t Offset(int n) const { return At<uint32_t>(657 + 10 * n); }
  uint32_t Length(int n) const { return At<uint32_t>(661 + 10 * n); }
  uint16_t Tag(int n) const { return At<uint16_t>(665 + 10 * n); }
  int32_t Element(int i) const { return At<int32_t>(260 + 4 * i); }
  bool AllZero(size_t o, size_t n) const {
    for (size_t k = o; k < o + n; ++k) {
      if (k >= b.size() || b[k] != 0) return false;
    }
    return true;
  }
};

// Lengths of the used sections, in order; the rest must be 0/0/65535 and
// the sections must follow each other from 817 to the end of the file.
void ExpectDirectory(const Bytes& f, const std::vector<uint32_t>& lengths) {
  EXPECT_EQ(f.At<int32_t>(12), 657);
  EXPECT_EQ(f.At<int32_t>(16), 16);
  uint32_t at = 817;
  for (int n = 0; n < 16; ++n) {
    SCOPED_TRACE("section " + std::to_string(n));
    EXPECT_EQ(f.Tag(n), 65535);
    if (static_cast<size_t>(n) < lengths.size()) {
      EXPECT_EQ(f.Offset(n), at);
      EXPECT_EQ(f.Length(n), lengths[static_cast<size_t>(n)]);
      at += lengths[static_cast<size_t>(n)];
    } else {
      EXPECT_EQ(f.Offset(n), 0u);
      EXPECT_EQ(f.Length(n), 0u);
    }
  }
  EXPECT_EQ(f.b.size(), at);
}

void ExpectExtent(const Bytes& f, size_t o, double x0, double y0, double x1, double y1) {
  EXPECT_EQ(f.At<double>(o), x0);
  EXPECT_EQ(f.At<double>(o + 8), y0);
  EXPECT_EQ(f.At<double>(o + 16), x1);
  EXPECT_EQ(f.At<double>(o + 24), y1);
}

// An attribute section with no fields and no values: head and slot 0.
void ExpectEmptyAttributes(const Bytes& f, size_t o) {
  const uint8_t tag[6] = {0x60, 0x44, 0xDC, 0x07, 0x05, 0x16};
  EXPECT_EQ(std::memcmp(&f.b[o], tag, 6), 0);
  EXPECT_EQ(f.At<int32_t>(o + 12), 348);
  EXPECT_EQ(f.At<uint16_t>(o + 320), 0x4460);
  EXPECT_EQ(f.At<int16_t>(o + 322), 0);
  EXPECT_EQ(f.At<int32_t>(o + 324), 1);
  EXPECT_EQ(f.At<int32_t>(o + 328), 1);
  EXPECT_EQ(f.At<uint8_t>(o + 348), 1);
}

using GeometryPtr = std::unique_ptr<Geometry, void (*)(Geometry*)>;

// A geometry of parts given as x, y lists; part types 5 then 3 unless given.
GeometryPtr Shape(const std::vector<std::vector<double>>& parts, const std::vector<int>& types = {}) {
  GeometryPtr g(CreateGeometry(), DestroyGeometry);
  int32_t n = 0;
  for (const auto& p : parts) n += static_cast<int32_t>(p.size() / 2);
  g->nSHPType = 3;
  g->nParts = static_cast<int32_t>(parts.size());
  g->nVertices = n;
  g->panPartStart = static_cast<int32_t*>(std::calloc(parts.size() + 1, sizeof(int32_t)));
  g->panPartType = static_cast<int32_t*>(std::calloc(parts.size() + 1, sizeof(int32_t)));
  g->padfX = static_cast<double*>(std::calloc(static_cast<size_t>(n) + 1, sizeof(double)));
  g->padfY = static_cast<double*>(std::calloc(static_cast<size_t>(n) + 1, sizeof(double)));
  int32_t at = 0;
  for (size_t p = 0; p < parts.size(); ++p) {
    g->panPartStart[p] = at;
    g->panPartType[p] = p < types.size() ? types[p] : (p == 0 ? 5 : 3);
    for (size_t k = 0; k + 1 < parts[p].size(); k += 2, ++at) {
      g->padfX[at] = parts[p][k];
      g->padfY[at] = parts[p][k + 1];
    }
  }
  return g;
}

MAPGIS_PntInfo Point(double x, double y) {
  MAPGIS_PntInfo p{};
  p.status = 1;
  p.x = x;
  p.y = y;
  p.kind = 7;  // replaced by the writer
  return p;
}

}  // namespace

TEST(WriterLayout, EmptyPointFileHasSlotZeroAndTheInitialExtent) {
  TempDir dir;
  MapGis_Writer w;
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("e.WT")).c_str(), MAPGIS_TYPE_POINT), MAPGIS_OK);
  ASSERT_EQ(w.Flush(), MAPGIS_OK);
  const Bytes f(dir.File("e.WT"));
  EXPECT_EQ(std::memcmp(f.b.data(), "WMAP`D22", 8), 0);
  EXPECT_EQ(f.At<int16_t>(8), 1);
  EXPECT_EQ(f.At<uint16_t>(10), 0);
  // Projection record: zeros except three doubles of 1.0.
  for (size_t o = 0; o < 169; ++o) {
    if (o == 141 || o == 153 || o == 161) {
      EXPECT_EQ(f.At<double>(91 + o), 1.0) << o;
      o += 7;
    } else {
      EXPECT_EQ(f.b[91 + o], 0) << o;
    }
  }
  EXPECT_TRUE(f.AllZero(260, 44));
  ExpectExtent(f, 304, kBig, kBig, -kBig, -kBig);
  EXPECT_TRUE(f.AllZero(592, 8));
  ExpectDirectory(f, {93, 2, 349, 32, 4});
  EXPECT_TRUE(f.AllZero(817, 93));
  ExpectEmptyAttributes(f, f.Offset(2));
  ExpectExtent(f, f.Offset(3), kBig, kBig, -kBig, -kBig);
  EXPECT_EQ(f.At<int32_t>(f.Offset(4)), 65536);
}

TEST(WriterLayout, PointTextsAreLaidOutInTheDataArea) {
  TempDir dir;
  MapGis_Writer w;
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("t.WT")).c_str(), MAPGIS_TYPE_POINT), MAPGIS_OK);
  GeometryPtr g = Shape({{0, 0}});
  EXPECT_EQ(w.AddPointInfo(Point(5, -2), g.get(), "AB"), MAPGIS_OK);
  EXPECT_EQ(w.AddPointInfo(Point(-1, 7), g.get(), ""), MAPGIS_OK);
  // A text past the old 4096-byte buffer step fits whole; 32767 is the
  // longest a 16-bit length holds.
  const std::string longText(5000, 'L');
  EXPECT_EQ(w.AddPointInfo(Point(0, 0), g.get(), longText.c_str()), MAPGIS_OK);
  const std::string tooLong(32768, 'x');
  EXPECT_EQ(w.AddPointInfo(Point(99, 99), g.get(), tooLong.c_str()), MAPGIS_READ_FAILED);
  ASSERT_EQ(w.Flush(), MAPGIS_OK);

  const Bytes f(dir.File("t.WT"));
  ExpectDirectory(f, {93 * 4, 2 + 3 + 5000, 349, 32 * 4, 4 * 4});
  const size_t rec1 = 817 + 93, rec2 = rec1 + 93, rec3 = rec2 + 93;
  EXPECT_EQ(f.At<int16_t>(rec1 + 1), 2);
  EXPECT_EQ(f.At<uint32_t>(rec1 + 3), 2u);
  EXPECT_EQ(f.At<uint8_t>(rec1 + 31), 0);
  EXPECT_EQ(f.At<int16_t>(rec2 + 1), 0);
  EXPECT_EQ(f.At<uint32_t>(rec2 + 3), 4u);
  EXPECT_EQ(f.At<uint8_t>(rec2 + 31), 1);
  EXPECT_EQ(f.At<int16_t>(rec3 + 1), 5000);
  EXPECT_EQ(f.At<uint32_t>(rec3 + 3), 5u);
  const size_t data = f.Offset(1);
  EXPECT_EQ(std::string(f.b.begin() + data + 2, f.b.begin() + data + 5), std::string("AB\0", 3));
  EXPECT_EQ(std::string(f.b.begin() + data + 5, f.b.begin() + data + 5005), longText);
  // The refused point left no trace: three live points in four slots.
  EXPECT_EQ(f.Element(0), 3);
  EXPECT_EQ(f.Element(1), 4);
  EXPECT_EQ(f.Element(7), 4);
  EXPECT_EQ(f.Element(9), 1);
  ExpectExtent(f, 304, -1, -2, 5, 7);
  ExpectExtent(f, f.Offset(3) + 32 * 3, -1, -2, 5, 7);
}

TEST(WriterLayout, TableFieldsAndRecordSlots) {
  TempDir dir;
  MapGis_Writer w;
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("a.WB")).c_str(), MAPGIS_TYPE_TABLE), MAPGIS_OK);
  EXPECT_EQ(w.AddFieldInfo(L"NAME", MAPGIS_FIELD_STRING, 10, 12, 0), 1);
  EXPECT_EQ(w.AddFieldInfo(L"面积", MAPGIS_FIELD_FLOAT, 4, 9, 2), 2);
  EXPECT_TRUE(w.WriteStringAttribute(0, 0, "first"));
  EXPECT_TRUE(w.WriteStringAttribute(1, 0, "second"));
  EXPECT_TRUE(w.WriteFloatAttribute(0, 1, 2.5f));  // back to record 0
  EXPECT_TRUE(w.WriteStringAttribute(0, 0, "again"));
  ASSERT_EQ(w.Flush(), MAPGIS_OK);

  const Bytes f(dir.File("a.WB"));
  EXPECT_EQ(std::memcmp(f.b.data(), "WMAP`D28", 8), 0);
  EXPECT_EQ(f.At<int16_t>(8), 7);
  const uint32_t H = 348 + 2 * 39 + 15 * 3;
  ExpectDirectory(f, {H, 2});
  const size_t a = 817;
  EXPECT_EQ(f.At<int32_t>(a + 12), 426);
  EXPECT_EQ(f.At<int16_t>(a + 322), 2);
  EXPECT_EQ(f.At<int32_t>(a + 324), 3);
  EXPECT_EQ(f.At<int32_t>(a + 328), 15);
  // Second field: GBK name, type, byte offset 11, widths, decimals, the
  // byte 1 at 30 and its index at 33.
  const size_t f1 = a + 348 + 39;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f.b[f1])), "\xC3\xE6\xBB\xFD");
  EXPECT_EQ(f.At<int8_t>(f1 + 20), MAPGIS_FIELD_FLOAT);
  EXPECT_EQ(f.At<uint32_t>(f1 + 21), 11u);
  EXPECT_EQ(f.At<int16_t>(f1 + 25), 4);
  EXPECT_EQ(f.At<int16_t>(f1 + 27), 9);
  EXPECT_EQ(f.At<int8_t>(f1 + 29), 2);
  EXPECT_EQ(f.At<uint8_t>(f1 + 30), 1);
  EXPECT_EQ(f.At<int16_t>(f1 + 33), 1);
  EXPECT_EQ(f.At<uint32_t>(a + 348 + 21), 1u);
  // Slots 0, 1, 2: each starts with 1; slot 1 holds the rewritten record 0.
  const size_t s0 = a + 426;
  for (int s = 0; s < 3; ++s) EXPECT_EQ(f.b[s0 + 15 * s], 1) << s;
  EXPECT_TRUE(f.AllZero(s0 + 1, 14));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f.b[s0 + 16]), 10), "again     ");
  EXPECT_EQ(f.At<float>(s0 + 15 + 11), 2.5f);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f.b[s0 + 31]), 10), "second    ");
  EXPECT_TRUE(f.AllZero(f.Offset(1), 2));
}

TEST(WriterAttributes, RefusesBadIndexesLateFieldsAndLongNames) {
  TempDir dir;
  MapGis_Writer w;
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("r.WB")).c_str(), MAPGIS_TYPE_TABLE), MAPGIS_OK);
  EXPECT_EQ(w.AddFieldInfo(L"ABCDEFGHIJKLMNOPQRST", MAPGIS_FIELD_LONG, 4, 4, 0), MAPGIS_NO_TABLE);  // 20 bytes
  EXPECT_EQ(w.AddFieldInfo(L"一二三四五六七八九十", MAPGIS_FIELD_LONG, 4, 4, 0), MAPGIS_NO_TABLE);  // 20 GBK bytes
  EXPECT_EQ(w.AddFieldInfo(nullptr, MAPGIS_FIELD_LONG, 4, 4, 0), MAPGIS_NO_TABLE);
  EXPECT_EQ(w.AddFieldInfo(L"W", MAPGIS_FIELD_LONG, -4, 4, 0), MAPGIS_NO_TABLE);
  EXPECT_EQ(w.AddFieldInfo(L"W", MAPGIS_FIELD_LONG, 40000, 4, 0), MAPGIS_NO_TABLE);
  EXPECT_EQ(w.AddFieldInfo(L"ABCDEFGHIJKLMNOPQRS", MAPGIS_FIELD_LONG, 4, 4, 0), 1);  // 19 bytes fit
  EXPECT_EQ(w.AddFieldInfo(L"一二三四五六七八九", MAPGIS_FIELD_STRING, 6, 6, 0), 2);
  EXPECT_FALSE(w.WriteLongAttribute(-1, 0, 5));
  EXPECT_EQ(w.LastAttributeStatus(), MAPGIS_READ_FAILED);
  EXPECT_FALSE(w.WriteLongAttribute(1, 0, 5));  // two past the last (none yet)
  EXPECT_EQ(w.LastAttributeStatus(), MAPGIS_READ_FAILED);
  EXPECT_FALSE(w.WriteLongAttribute(0, 2, 5));
  EXPECT_EQ(w.LastAttributeStatus(), MAPGIS_NO_TABLE);
  EXPECT_FALSE(w.WriteStringAttribute(0, 1, nullptr));
  EXPECT_FALSE(w.WriteDateAttribute(0, 1, nullptr));
  EXPECT_FALSE(w.WriteLongAttribute(0, 0, 1L << 40));
  // The refusals above created no record, so fields may still be added.
  EXPECT_EQ(w.AddFieldInfo(L"LATE1", MAPGIS_FIELD_BYTE, 1, 1, 0), 3);
  EXPECT_TRUE(w.WriteLongAttribute(0, 0, -5));
  EXPECT_EQ(w.LastAttributeStatus(), MAPGIS_OK);
  EXPECT_EQ(w.AddFieldInfo(L"LATE2", MAPGIS_FIELD_BYTE, 1, 1, 0), MAPGIS_NO_TABLE);
  EXPECT_FALSE(w.WriteLongAttribute(2, 0, 5));
  EXPECT_TRUE(w.WriteLongAttribute(1, 0, 6));
  ASSERT_EQ(w.Flush(), MAPGIS_OK);

  const Bytes f(dir.File("r.WB"));
  const size_t a = 817;
  EXPECT_EQ(f.At<int16_t>(a + 322), 3);
  EXPECT_EQ(f.At<int32_t>(a + 324), 3);  // slot 0 and records 0 and 1
  EXPECT_EQ(f.At<int32_t>(a + 328), 1 + 4 + 6 + 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f.b[a + 348])), "ABCDEFGHIJKLMNOPQRS");
  const size_t rec0 = a + 348 + 3 * 39 + 12;
  EXPECT_EQ(f.At<int32_t>(rec0 + 1), -5);
  EXPECT_EQ(f.At<int32_t>(rec0 + 12 + 1), 6);
}

TEST(WriterAttributes, ValuesFillTheirStorageWidth) {
  TempDir dir;
  MapGis_Writer w;
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("v.WB")).c_str(), MAPGIS_TYPE_TABLE), MAPGIS_OK);
  ASSERT_EQ(w.AddFieldInfo(L"S", MAPGIS_FIELD_STRING, 8, 8, 0), 1);    // offset 1
  ASSERT_EQ(w.AddFieldInfo(L"T", MAPGIS_FIELD_TEXT, 6, 6, 0), 2);      // offset 9
  ASSERT_EQ(w.AddFieldInfo(L"B", MAPGIS_FIELD_BYTE, 4, 4, 0), 3);      // offset 15
  ASSERT_EQ(w.AddFieldInfo(L"L", MAPGIS_FIELD_LONG, 4, 11, 0), 4);     // offset 19
  ASSERT_EQ(w.AddFieldInfo(L"D", MAPGIS_FIELD_DATE, 6, 10, 0), 5);     // offset 23
  // The caller's strings end right after their terminators: nothing past
  // them may be read.
  std::unique_ptr<char[]> ab(new char[3]{'a', 'b', '\0'});
  std::unique_ptr<char[]> cd(new char[3]{'c', 'd', '\0'});
  EXPECT_TRUE(w.WriteStringAttribute(0, 0, ab.get()));
  EXPECT_TRUE(w.WriteTextAttribute(0, 1, cd.get()));
  EXPECT_TRUE(w.WriteByteAttribute(0, 2, 0xAB));
  EXPECT_TRUE(w.WriteLongAttribute(0, 3, -5));
  const DATE_STRUstruct date{2001, 9, 11};
  EXPECT_TRUE(w.WriteDateAttribute(0, 4, &date));
  EXPECT_TRUE(w.WriteStringAttribute(1, 0, "longer than eight"));
  ASSERT_EQ(w.Flush(), MAPGIS_OK);

  const Bytes f(dir.File("v.WB"));
  const size_t rec0 = 817 + 348 + 5 * 39 + 29;
  const uint8_t want[29] = {1,   'a',  'b', ' ', ' ', ' ', ' ', ' ', ' ', 'c', 'd', 0, 0, 0, 0,
                            0xAB, 0,   0,   0,   0xFB, 0xFF, 0xFF, 0xFF, 0xD1, 0x07, 9, 11, 0, 0};
  EXPECT_EQ(std::memcmp(&f.b[rec0], want, sizeof want), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f.b[rec0 + 29 + 1]), 8), "longer t");
  EXPECT_EQ(f.b[rec0 + 29 + 9], 0);
}

TEST(WriterLayout, LineFileSectionsRunsAndParts) {
  TempDir dir;
  MapGis_Writer w;
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("l.WL")).c_str(), MAPGIS_TYPE_LINE), MAPGIS_OK);
  MAPGIS_LineInfo info{};
  info.status = 1;
  info.color = 9;
  GeometryPtr one = Shape({{0, 0, 3, 4}});
  GeometryPtr two = Shape({{1, 1, 2, 2, 3, 3}, {-8, 6, 7, -9}});
  EXPECT_EQ(w.AddArcInfo(info, one.get(), 0), MAPGIS_OK);
  EXPECT_EQ(w.AddArcInfo(info, two.get(), 1), MAPGIS_MULTI_PART);  // the second part is added
  EXPECT_EQ(w.AddArcInfo(info, two.get(), 2), MAPGIS_READ_FAILED);
  EXPECT_EQ(w.AddArcInfo(info, two.get(), -1), MAPGIS_READ_FAILED);
  EXPECT_EQ(w.AddArcInfo(info, nullptr, 0), MAPGIS_READ_FAILED);
  EXPECT_EQ(w.AddPointInfo(Point(0, 0), one.get(), "x"), MAPGIS_NOT_MAPGIS_FILE);
  EXPECT_EQ(w.AddPolygonInfo(MAPGIS_RegInfo{}, one.get()), MAPGIS_NOT_MAPGIS_FILE);
  ASSERT_EQ(w.Flush(), MAPGIS_OK);

  const Bytes f(dir.File("l.WL"));
  EXPECT_EQ(std::memcmp(f.b.data(), "WMAP`D21", 8), 0);
  const uint32_t D = 8;  // doubles in both runs
  ExpectDirectory(f, {57 * 3, 8 * D + 2, 349, 24 * 3, 55, 392, 32 * 3, 4 * 3});
  EXPECT_EQ(f.At<int32_t>(817 + 57 + 10), 2);
  EXPECT_EQ(f.At<uint32_t>(817 + 57 + 14), 2u);
  EXPECT_EQ(f.At<int32_t>(817 + 57 + 26), 9);
  EXPECT_EQ(f.At<int32_t>(817 + 114 + 10), 2);
  EXPECT_EQ(f.At<uint32_t>(817 + 114 + 14), 2u + 8 * 4);
  const size_t run = f.Offset(1) + 2;
  const double xy[] = {0, 0, 3, 4, -8, 6, 7, -9};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(f.At<double>(run + 8 * k), xy[k]) << k;
  EXPECT_EQ(f.Element(0), 2);
  EXPECT_EQ(f.Element(1), 3);
  EXPECT_EQ(f.Element(3), 1);
  EXPECT_EQ(f.Element(7), 3);
  EXPECT_EQ(f.Element(9), 1);
  ExpectExtent(f, 304, -8, -9, 7, 6);
  EXPECT_TRUE(f.AllZero(f.Offset(3), 24 * 3 + 55 + 392));
  ExpectExtent(f, f.Offset(6) + 64, -8, -9, 7, 6);
  EXPECT_EQ(f.At<int32_t>(f.Offset(7) + 8), 65536);
}

TEST(WriterLayout, PolygonArcListsAndDefaultArcs) {
  TempDir dir;
  MapGis_Writer w;
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("p.WP")).c_str(), MAPGIS_TYPE_POLYGON), MAPGIS_OK);
  MAPGIS_RegInfo reg{};
  reg.status = 1;
  reg.fillColor = 12;
  // Outer ring of 5 vertices and a hole of 4.
  GeometryPtr holed = Shape({{0, 0, 0, 9, 9, 9, 9, 0, 0, 0}, {2, 2, 3, 2, 3, 3, 2, 2}});
  EXPECT_EQ(w.AddPolygonInfo(reg, holed.get()), MAPGIS_OK);
  // A second outer ring is not written: only its separator is.
  GeometryPtr twoOuter = Shape({{20, 20, 20, 21, 21, 21, 20, 20}, {30, 30, 30, 31, 31, 31, 30, 30}}, {5, 2});
  EXPECT_EQ(w.AddPolygonInfo(reg, twoOuter.get()), MAPGIS_MULTI_PART);
  EXPECT_EQ(w.AddPolygonInfo(reg, nullptr), MAPGIS_READ_FAILED);
  GeometryPtr broken = Shape({{0, 0, 1, 1}, {2, 2}});
  broken->panPartStart[1] = 5;  // past the vertices
  EXPECT_EQ(w.AddPolygonInfo(reg, broken.get()), MAPGIS_READ_FAILED);
  ASSERT_EQ(w.Flush(), MAPGIS_OK);

  const Bytes f(dir.File("p.WP"));
  EXPECT_EQ(std::memcmp(f.b.data(), "WMAP`D23", 8), 0);
  const uint32_t nL = 4, nR = 3, D = 2 * (5 + 4 + 4), A = 4 + 3;
  ExpectDirectory(f, {57 * nL, 8 * D + 4 * A + 2, 392, 24 * nL, 55, 392, 32 * nL, 4 * nL, 40 * nR, 349, 32 * nR,
                      4 * nR});
  // Arc lists: total = vertices + separators + 1.
  const size_t lists = f.Offset(1) + 2 + 8 * D;
  const int32_t want[] = {5 + 4 + 1 + 1, 1, 0, 2, 4 + 1 + 1, 3, 0};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(f.At<int32_t>(lists + 4 * k), want[k]) << k;
  const size_t r1 = f.Offset(8) + 40, r2 = r1 + 40;
  EXPECT_EQ(f.At<int32_t>(r1 + 1), 4);
  EXPECT_EQ(f.At<uint32_t>(r1 + 5), 8 * D + 2);
  EXPECT_EQ(f.At<int32_t>(r1 + 9), 12);
  EXPECT_EQ(f.At<int32_t>(r2 + 1), 3);
  EXPECT_EQ(f.At<uint32_t>(r2 + 5), 8 * D + 2 + 16);
  // The arcs carry the default line record.
  const size_t arc = 817 + 57 * 2;
  EXPECT_EQ(f.At<uint8_t>(arc), 1);
  EXPECT_EQ(f.At<int32_t>(arc + 10), 4);
  EXPECT_EQ(f.At<uint32_t>(arc + 14), 2u + 8 * 10);
  EXPECT_EQ(f.At<int16_t>(arc + 22), 1);
  EXPECT_EQ(f.At<uint8_t>(arc + 24), 0);
  EXPECT_EQ(f.At<uint8_t>(arc + 25), 1);
  EXPECT_EQ(f.At<int32_t>(arc + 26), 1);
  EXPECT_EQ(f.At<float>(arc + 30), 0.1f);
  EXPECT_EQ(f.At<float>(arc + 35), 1.0f);
  EXPECT_EQ(f.At<float>(arc + 39), 1.0f);
  EXPECT_EQ(f.At<int32_t>(arc + 43), 1);
  EXPECT_TRUE(f.AllZero(arc + 1, 9) && f.AllZero(arc + 47, 10));
  const int32_t elements[11] = {3, 4, 0, 1, 2, 3, 0, 4, 0, 1, 0};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(f.Element(i), elements[i]) << i;
  ExpectEmptyAttributes(f, f.Offset(9));
  ExpectExtent(f, f.Offset(10) + 64, 0, 0, 21, 21);
  EXPECT_EQ(f.At<int32_t>(f.Offset(11) + 8), 65536);
}

TEST(WriterBasics, CreateProjectionAndClose) {
  TempDir dir;
  MapGis_Writer w;
  EXPECT_EQ(w.Create(testing_support::Wide(dir.File("k.WN")).c_str(), 4), MAPGIS_NOT_MAPGIS_FILE);
  EXPECT_FALSE(std::filesystem::exists(dir.File("k.WN")));
  EXPECT_EQ(w.Create(testing_support::Wide(dir.File("missing/x.WL")).c_str(), 0), MAPGIS_OPEN_FAILED);
  EXPECT_EQ(w.AddFieldInfo(L"A", 3, 4, 4, 0), MAPGIS_OPEN_FAILED);
  EXPECT_EQ(w.Flush(), MAPGIS_OPEN_FAILED);

  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("j.WL")).c_str(), 0), MAPGIS_OK);
  MAP_PARAstruct para{};
  para.coordType = 3;
  para.scale = 500.0;
  para.centralMeridian = 1050000;
  EXPECT_EQ(w.WriteProjection(nullptr), MAPGIS_READ_FAILED);
  EXPECT_EQ(w.WriteProjection(&para), MAPGIS_OK);
  {
    // On disk before Flush.
    const Bytes early(dir.File("j.WL"));
    EXPECT_EQ(early.b.size(), 91u + 169);
    EXPECT_EQ(early.At<int8_t>(91), 3);
    EXPECT_EQ(early.At<double>(91 + 60), 1050000.0);
  }
  ASSERT_EQ(w.Flush(), MAPGIS_OK);
  const Bytes f(dir.File("j.WL"));
  EXPECT_EQ(f.At<double>(91 + 52), 500.0);
  EXPECT_EQ(f.At<double>(91 + 153), 0.0);

  // Close drops everything; a new Create starts from the defaults.
  w.Close();
  EXPECT_EQ(w.Flush(), MAPGIS_OPEN_FAILED);
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("j.WL")).c_str(), 0), MAPGIS_OK);
  ASSERT_EQ(w.Flush(), MAPGIS_OK);
  const Bytes again(dir.File("j.WL"));
  EXPECT_EQ(again.At<double>(91 + 52), 0.0);
  EXPECT_EQ(again.At<double>(91 + 153), 1.0);
}

TEST(WriterBasics, FlushReportsAFailedWrite) {
  TempDir dir;
  MapGis_Writer w;
  ASSERT_EQ(w.Create(testing_support::Wide(dir.File("big.WL")).c_str(), MAPGIS_TYPE_LINE), MAPGIS_OK);
  std::vector<double> xy;
  for (int k = 0; k < 400; ++k) xy.push_back(k);
  GeometryPtr g = Shape({xy});
  ASSERT_EQ(w.AddArcInfo(MAPGIS_LineInfo{}, g.get(), 0), MAPGIS_OK);
  // Let the file grow to 2000 bytes only: the data area cannot be written.
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 2000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const long st = w.Flush();
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(st, MAPGIS_WRITE_FAILED);
  EXPECT_EQ(w.Flush(), MAPGIS_OK);
}
