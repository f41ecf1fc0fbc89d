// Attribute sections: field definitions, kinds, record counts and values.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cwchar>
#include <string>
#include <utility>

#include "MapGis.h"
#include "ReaderFixture.h"

using namespace MapGis;
using testing_support::AttributeSection;
using testing_support::Bytes;
using testing_support::ByteBuilder;
using testing_support::FieldDef;
using testing_support::LayerBuilder;
using testing_support::OpenedLayer;

namespace {

const std::string kGbkDianHao = "\xB5\xE3\xBA\xC5";  // 点号 in code page 936

enum Field {
  kName, kByte, kShort, kLong, kFloat, kDouble, kDate, kTime, kBool, kText, kBinary, kStamp,
  kNarrowLong, kPastEnd, kBlankName, kChineseName, kNegativeDisplay, kFieldCount
};

std::vector<FieldDef> Fields() {
  return {
      {"NAME  X", 0, 0, 6, 10, 0},
      {"code", 1, 6, 1, 3, 0},
      {"Short", 2, 7, 2, 6, 0},
      {"LONGV", 3, 9, 4, 11, 0},
      {"f", 4, 13, 4, 8, 2},
      {"d", 5, 17, 8, 15, 3},
      {"date", 6, 25, 4, 10, 0},
      {"time", 7, 29, 10, 12, 0},
      {"flag", 8, 39, 1, 1, 0},
      {"memo", 9, 40, 8, 8, 0},
      {"bin", 10, 48, 4, 4, 0},
      {"stamp", 16, 52, 16, 20, 0},
      {"ABCDEFGHIJKLMNOPQRST", 3, 68, 2, 6, 0},  // 20 bytes, no terminator
      {"past", 3, 70, 8, 8, 0},                  // runs past the 72-byte record
      {"    ", 0, 0, 1, 1, 0},
      {kGbkDianHao, 0, 70, 2, 2, 0},
      {"neg", 0, 0, 1, -1, 0},
  };
}

Bytes Record(const std::string& name, uint8_t byte, int16_t shrt, int32_t lng, float f, double d, int16_t year,
             const std::string& memo) {
  ByteBuilder r(72);
  r.Text(0, name).U8(6, byte).I16(7, shrt).I32(9, lng).F32(13, f).F64(17, d);
  r.I16(25, year).U8(27, 2).U8(28, 29);
  r.U8(29, 13).U8(30, 45).F64(31, 30.5);
  r.U8(39, 2).Text(40, memo).U32(48, 0xFFFFFFFEu);
  r.I16(52, 2024).I16(54, 12).I16(56, 31).I16(58, 23).I16(60, 59).I16(62, 58).U32(64, 123456);
  r.U16(68, 0x1234).Text(70, kGbkDianHao.substr(0, 2));
  return r.Bytes();
}

Bytes PointFileWithAttributes() {
  LayerBuilder b(1);
  b.Section(2, AttributeSection(Fields(), 72,
                                {Record("  ab  ", 200, -300, -2, 1.5f, -2.25, 2024, " t x  "),
                                 Record("\tcd\t ", 7, 12, 70000, -0.5f, 1e10, 1999, "memo1234")}));
  return b.Build();
}

// A layer of `type` whose attribute section `section` has one field named
// `name` and `records` records.
Bytes OneFieldTable(int16_t type, int section, const std::string& name, int records) {
  std::vector<Bytes> recs;
  for (int i = 0; i < records; ++i) recs.push_back(ByteBuilder(4).I32(0, 1000 * section + i).Bytes());
  LayerBuilder b(type);
  b.Section(section, AttributeSection({{name, 3, 0, 4, 11, 0}}, 4, recs));
  return b.Build();
}

std::wstring NameOf(MapGis_FastReader& r, int i) {
  wchar_t name[21];
  std::wmemset(name, L'#', 21);
  r.GetFieldInfo(i, name, nullptr, nullptr, nullptr);
  return name;
}

}  // namespace

TEST(AttributeTable, FieldDefinitionsNamesAndWidths) {
  OpenedLayer o(PointFileWithAttributes());
  ASSERT_EQ(o.status, MAPGIS_OK);
  // Nothing is loaded yet.
  EXPECT_EQ(o.reader.GetFieldInfo(0, nullptr, nullptr, nullptr, nullptr), MAPGIS_NO_TABLE);
  EXPECT_EQ(o.reader.GetFieldIndex(L"code"), -1);
  ASSERT_EQ(o.reader.GetFieldCount(), kFieldCount);
  int width = -1, display = -1, decimals = -1;
  wchar_t name[21];
  EXPECT_EQ(o.reader.GetFieldInfo(kDouble, name, &width, &display, &decimals), 5);
  EXPECT_STREQ(name, L"d");
  EXPECT_EQ(width, 8);
  EXPECT_EQ(display, 15);
  EXPECT_EQ(decimals, 3);
  EXPECT_EQ(o.reader.GetFieldInfo(kStamp, nullptr, nullptr, nullptr, nullptr), 16);
  EXPECT_EQ(NameOf(o.reader, kName), L"NAME");
  EXPECT_EQ(NameOf(o.reader, kBlankName), L"字段名错误");
  EXPECT_EQ(NameOf(o.reader, kNarrowLong), L"ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(NameOf(o.reader, kChineseName), L"点号");
  // A negative stored width is refused only when it is asked for.
  EXPECT_EQ(o.reader.GetFieldInfo(kNegativeDisplay, nullptr, &width, nullptr, nullptr), 0);
  EXPECT_EQ(o.reader.GetFieldInfo(kNegativeDisplay, nullptr, nullptr, &display, nullptr), MAPGIS_NO_TABLE);
  EXPECT_EQ(o.reader.GetFieldInfo(-1, name, nullptr, nullptr, nullptr), MAPGIS_NO_TABLE);
  EXPECT_EQ(o.reader.GetFieldInfo(kFieldCount, name, nullptr, nullptr, nullptr), MAPGIS_NO_TABLE);
}

TEST(AttributeTable, FieldIndexComparesFirstTokensIgnoringCase) {
  OpenedLayer o(PointFileWithAttributes());
  ASSERT_EQ(o.reader.GetRecordCount(), 2);
  EXPECT_EQ(o.reader.GetFieldIndex(L"name"), kName);
  EXPECT_EQ(o.reader.GetFieldIndex(L"  nAmE  anything"), kName);
  EXPECT_EQ(o.reader.GetFieldIndex(L"LONGv"), kLong);
  EXPECT_EQ(o.reader.GetFieldIndex(L"点号"), kChineseName);
  EXPECT_EQ(o.reader.GetFieldIndex(L"abcdefghijklmnopqrst"), kNarrowLong);
  EXPECT_EQ(o.reader.GetFieldIndex(L"X"), -1);  // only a field name's first token counts
  EXPECT_EQ(o.reader.GetFieldIndex(L""), -1);
  EXPECT_EQ(o.reader.GetFieldIndex(L"   "), -1);
  EXPECT_EQ(o.reader.GetFieldIndex(nullptr), -1);
  EXPECT_EQ(o.reader.GetFieldIndex(L"abcdefghijklmnopqrstuvwxyzabcdef"), -1);  // 32 characters
}

TEST(AttributeTable, TextTypesAreTrimmedOfSpacesOnly) {
  OpenedLayer o(PointFileWithAttributes());
  EXPECT_STREQ(o.reader.ReadStringAttribute(0, kName), "ab");
  EXPECT_STREQ(static_cast<const char*>(o.reader.ReadAttribute(0, kName, MAPGIS_FIELD_LONG)), "  ab  ");
  EXPECT_STREQ(o.reader.ReadTextAttribute(0, kText), "t x");
  EXPECT_STREQ(o.reader.ReadStringAttribute(1, kName), "\tcd\t");
  EXPECT_STREQ(o.reader.ReadTextAttribute(1, kText), "memo1234");
  // Text is handed back in the file's code page, unconverted.
  EXPECT_EQ(std::string(o.reader.ReadStringAttribute(0, kChineseName)), kGbkDianHao.substr(0, 2));
  EXPECT_STREQ(o.reader.ReadStringAttribute(0, kBlankName), "");
}

TEST(AttributeTable, TypedReadsTakeTheLeadingBytesOfTheValue) {
  OpenedLayer o(PointFileWithAttributes());
  EXPECT_EQ(o.reader.ReadByteAttribute(0, kByte), 200);
  EXPECT_EQ(o.reader.ReadShortAttribute(0, kShort), -300);
  EXPECT_EQ(o.reader.ReadLongAttribute(0, kLong), -2L);  // sign-extended on a 64-bit long
  EXPECT_EQ(o.reader.ReadLongAttribute(1, kLong), 70000L);
  EXPECT_EQ(o.reader.ReadFloatAttribute(0, kFloat), 1.5f);
  EXPECT_EQ(o.reader.ReadDoubleAttribute(0, kDouble), -2.25);
  EXPECT_EQ(o.reader.ReadDoubleAttribute(1, kDouble), 1e10);
  EXPECT_TRUE(o.reader.ReadBoolAttribute(0, kBool));
  const DATE_STRUstruct date = o.reader.ReadDateAttribute(1, kDate);
  EXPECT_EQ(+date.year, 1999);
  EXPECT_EQ(date.month, 2);
  EXPECT_EQ(date.day, 29);
  const TIME_STRUstruct time = o.reader.ReadTimeAttribute(0, kTime);
  EXPECT_EQ(time.hour, 13);
  EXPECT_EQ(time.minute, 45);
  EXPECT_EQ(double(time.second), 30.5);
  const TIMESTAMPstruct stamp = o.reader.ReadTimeStampAttribute(0, kStamp);
  EXPECT_EQ(+stamp.year, 2024);
  EXPECT_EQ(+stamp.day, 31);
  EXPECT_EQ(+stamp.second, 58);
  EXPECT_EQ(uint32_t(stamp.fraction), 123456u);
  EXPECT_EQ(o.reader.ReadBinareyAttribute(0, kBinary), reinterpret_cast<void*>(intptr_t{-2}));
  // A value narrower than its type reads zeros in the missing bytes.
  EXPECT_EQ(o.reader.ReadLongAttribute(0, kNarrowLong), 0x1234L);
  EXPECT_EQ(o.reader.ReadLongAttribute(0, kByte), 200L);
  EXPECT_EQ(o.reader.ReadShortAttribute(1, kByte), 7);
}

TEST(AttributeTable, UnreadableValuesGiveNullAndZeros) {
  OpenedLayer o(PointFileWithAttributes());
  // A field that runs past the record is not read.
  EXPECT_EQ(o.reader.ReadAttribute(0, kPastEnd, MAPGIS_FIELD_LONG), nullptr);
  EXPECT_EQ(o.reader.ReadLongAttribute(0, kPastEnd), 0L);
  const std::pair<int, int> bad[] = {{2, 0}, {-1, 0}, {0, -1}, {0, kFieldCount}, {INT_MAX, 0}};
  for (auto [record, field] : bad) {
    EXPECT_EQ(o.reader.ReadAttribute(record, field, 0), nullptr) << record << " " << field;
    EXPECT_EQ(o.reader.ReadStringAttribute(record, field), nullptr);
    EXPECT_EQ(o.reader.ReadDoubleAttribute(record, field), 0.0);
    EXPECT_FALSE(o.reader.ReadBoolAttribute(record, field));
    EXPECT_EQ(+o.reader.ReadDateAttribute(record, field).year, 0);
    EXPECT_EQ(+o.reader.ReadTimeStampAttribute(record, field).fraction, 0u);
    EXPECT_EQ(o.reader.ReadBinareyAttribute(record, field), nullptr);
  }
  // A good read after the failures still works.
  EXPECT_EQ(o.reader.ReadShortAttribute(1, kShort), 12);
}

TEST(AttributeTable, ScratchValueIsRewrittenOnEveryRead) {
  OpenedLayer o(PointFileWithAttributes());
  EXPECT_STREQ(o.reader.ReadTextAttribute(1, kText), "memo1234");
  EXPECT_STREQ(o.reader.ReadStringAttribute(1, kChineseName), kGbkDianHao.substr(0, 2).c_str());
  EXPECT_EQ(o.reader.ReadLongAttribute(0, kByte), 200L);  // no bytes left from the text
  EXPECT_STREQ(o.reader.ReadStringAttribute(0, kName), "ab");
  EXPECT_STREQ(o.reader.ReadStringAttribute(1, kName), "\tcd\t");
  EXPECT_STREQ(o.reader.ReadStringAttribute(0, kName), "ab");
}

TEST(AttributeTable, RecordCountIsSlotsLessOne) {
  OpenedLayer o(OneFieldTable(7, 0, "n", 10));
  ASSERT_EQ(o.status, MAPGIS_OK);
  // A table file is readable right after Open.
  EXPECT_EQ(o.reader.GetRecordCount(), 10);
  EXPECT_EQ(o.reader.ReadLongAttribute(9, 0), 9L);
  EXPECT_EQ(o.reader.ReadAttribute(10, 0, 3), nullptr);
  EXPECT_EQ(o.reader.GetFieldCount(), 1);
}

TEST(AttributeTable, RecordsReadInAnyOrderAcrossALargeTable) {
  constexpr int kRecords = 30000;  // 120 KB of records
  OpenedLayer o(OneFieldTable(7, 0, "n", kRecords));
  int wrong = 0;
  for (int i = kRecords - 1; i >= 0; i -= 7) wrong += o.reader.ReadLongAttribute(i, 0) != i;
  for (int i = 0; i < kRecords; ++i) wrong += o.reader.ReadLongAttribute(i, 0) != i;
  for (int i = 0; i < 2000; ++i) wrong += o.reader.ReadLongAttribute(i * 7919 % kRecords, 0) != i * 7919 % kRecords;
  EXPECT_EQ(wrong, 0);
}

TEST(AttributeTable, InvalidFieldHeadsAreRefused) {
  struct Case {
    size_t offset;
    int width;
    int64_t value;
  } cases[] = {
      {1, 1, 0x45},        // first tag
      {320, 2, 0x4461},    // second tag
      {322, 2, -1},        // negative field count
      {322, 2, 0x7FFF},    // more fields than the file holds
      {324, 4, -5},        // negative record count
      {328, 4, -1},        // negative record length
  };
  const Bytes good = OneFieldTable(7, 0, "n", 2);
  const size_t section = 817;
  for (const Case& c : cases) {
    ByteBuilder b;
    b.Raw(0, good.data(), good.size());
    if (c.width == 1) b.U8(section + c.offset, static_cast<uint8_t>(c.value));
    if (c.width == 2) b.I16(section + c.offset, static_cast<int16_t>(c.value));
    if (c.width == 4) b.I32(section + c.offset, static_cast<int32_t>(c.value));
    OpenedLayer o(b.Bytes());
    ASSERT_EQ(o.status, MAPGIS_OK);
    EXPECT_EQ(o.reader.GetFieldCount(), MAPGIS_NO_TABLE) << c.offset;
    EXPECT_EQ(o.reader.GetRecordCount(), MAPGIS_NO_TABLE) << c.offset;
    EXPECT_EQ(o.reader.ReadLongAttribute(0, 0), 0L);
  }
}

TEST(AttributeTable, RecordsBeyondTheFileReadAsNothing) {
  Bytes bytes = OneFieldTable(7, 0, "n", 2);
  ByteBuilder b;
  b.Raw(0, bytes.data(), bytes.size());
  b.I32(817 + 324, 1000000);  // far more slots than the file holds
  OpenedLayer o(b.Bytes());
  // A table claiming records the file cannot hold is an invalid definition,
  // so no caller walks a million empty rows.
  EXPECT_EQ(o.reader.GetRecordCount(), MAPGIS_NO_TABLE);
  EXPECT_EQ(o.reader.ReadAttribute(0, 0, 3), nullptr);
  EXPECT_EQ(o.reader.ReadLongAttribute(5, 0), 0L);
}

TEST(AttributeTable, EachFileTypeOffersItsOwnKinds) {
  // Point file: kind 1 only.
  OpenedLayer point(OneFieldTable(1, 2, "pt", 3));
  EXPECT_EQ(point.reader.GetRecordCount(), 3);
  EXPECT_EQ(point.reader.SetAttributeType(0), MAPGIS_NO_TABLE);
  EXPECT_EQ(point.reader.SetAttributeType(2), MAPGIS_NO_TABLE);
  EXPECT_EQ(point.reader.SetAttributeType(7), MAPGIS_NO_TABLE);
  EXPECT_EQ(point.reader.ReadLongAttribute(2, 0), 2002L);

  // Line file: kind 0 in section 2, kind 1 in section 5.
  LayerBuilder line(0);
  line.Section(2, AttributeSection({{"a", 3, 0, 4, 11, 0}}, 4, {ByteBuilder(4).I32(0, 20).Bytes()}));
  line.Section(5, AttributeSection({{"b", 3, 0, 4, 11, 0}, {"c", 3, 0, 4, 11, 0}}, 4,
                                   {ByteBuilder(4).I32(0, 50).Bytes(), ByteBuilder(4).I32(0, 51).Bytes()}));
  OpenedLayer l(line.Build());
  EXPECT_EQ(l.reader.GetFieldCount(), 1);
  EXPECT_EQ(l.reader.ReadLongAttribute(0, 0), 20L);
  ASSERT_EQ(l.reader.SetAttributeType(1), MAPGIS_OK);
  EXPECT_EQ(l.reader.GetFieldCount(), 2);
  EXPECT_EQ(l.reader.GetRecordCount(), 2);
  EXPECT_EQ(l.reader.ReadLongAttribute(1, 1), 51L);
  EXPECT_EQ(l.reader.GetFieldIndex(L"B"), 0);
  EXPECT_EQ(l.reader.SetAttributeType(2), MAPGIS_NO_TABLE);
  EXPECT_EQ(l.reader.GetFieldCount(), 2);
  ASSERT_EQ(l.reader.SetAttributeType(0), MAPGIS_OK);
  EXPECT_EQ(l.reader.ReadLongAttribute(0, 0), 20L);
}

TEST(AttributeTable, PolygonFileKeepsItsPolygonTableWhenAKindIsRefused) {
  LayerBuilder poly(2);
  poly.Section(2, AttributeSection({{"arc", 3, 0, 4, 11, 0}}, 4, {ByteBuilder(4).I32(0, 20).Bytes()}));
  poly.Section(9, AttributeSection({{"p1", 3, 0, 4, 11, 0}, {"p2", 3, 0, 4, 11, 0}, {"p3", 3, 0, 4, 11, 0}}, 4,
                                   {ByteBuilder(4).I32(0, 90).Bytes()}));
  OpenedLayer o(poly.Build());
  EXPECT_EQ(o.reader.GetFieldCount(), 3);  // default kind 2
  EXPECT_EQ(o.reader.SetAttributeType(1), MAPGIS_NO_TABLE);
  EXPECT_EQ(o.reader.GetFieldCount(), 3);
  EXPECT_EQ(o.reader.ReadLongAttribute(0, 0), 90L);
  ASSERT_EQ(o.reader.SetAttributeType(0), MAPGIS_OK);
  EXPECT_EQ(o.reader.GetFieldCount(), 1);
  ASSERT_EQ(o.reader.SetAttributeType(2), MAPGIS_OK);
  EXPECT_EQ(o.reader.GetFieldCount(), 3);
}

TEST(AttributeTable, KindWhoseSectionIsInvalidLeavesTheCurrentKind) {
  LayerBuilder line(0);
  line.Section(2, AttributeSection({{"a", 3, 0, 4, 11, 0}}, 4, {ByteBuilder(4).I32(0, 20).Bytes()}));
  line.Section(5, Bytes(400, 0x33));  // no field head
  OpenedLayer o(line.Build());
  ASSERT_EQ(o.reader.ReadLongAttribute(0, 0), 20L);
  EXPECT_EQ(o.reader.SetAttributeType(1), MAPGIS_NO_TABLE);
  EXPECT_EQ(o.reader.GetFieldCount(), 1);
  EXPECT_EQ(o.reader.ReadLongAttribute(0, 0), 20L);
  wchar_t name[21];
  EXPECT_EQ(o.reader.GetFieldInfo(0, name, nullptr, nullptr, nullptr), 3);
  EXPECT_STREQ(name, L"a");
}

TEST(AttributeTable, ReopeningReadsTheNewFilesTable) {
  testing_support::TempDir dir;
  const std::wstring a = dir.Write("a.WB", OneFieldTable(7, 0, "first", 1));
  const std::wstring b = dir.Write("b.WB", OneFieldTable(7, 0, "second", 3));
  MapGis_FastReader r;
  ASSERT_EQ(r.Open(a.c_str()), MAPGIS_OK);
  EXPECT_EQ(r.GetRecordCount(), 1);
  EXPECT_EQ(r.GetFieldIndex(L"first"), 0);
  ASSERT_EQ(r.Open(b.c_str()), MAPGIS_OK);
  EXPECT_EQ(r.GetFieldIndex(L"first"), -1);  // nothing loaded for the new file yet
  EXPECT_EQ(r.GetRecordCount(), 3);
  EXPECT_EQ(r.GetFieldIndex(L"second"), 0);
  EXPECT_EQ(r.ReadLongAttribute(2, 0), 2L);
}

TEST(AttributeTable, UndecodableNameBytesBecomeReplacementCharacters) {
  // A lead byte cut off by the end of the name, and bytes that are no GBK.
  LayerBuilder b(7);
  b.Section(0, AttributeSection({{"ab\x81", 3, 0, 4, 11, 0}, {"\xFF\xFFz", 3, 0, 4, 11, 0}}, 4, {Bytes(4, 0)}));
  OpenedLayer o(b.Build());
  ASSERT_EQ(o.reader.GetFieldCount(), 2);
  EXPECT_EQ(NameOf(o.reader, 0), L"ab\uFFFD");
  EXPECT_EQ(NameOf(o.reader, 1), L"\uFFFD\uFFFDz");
  EXPECT_EQ(o.reader.GetFieldIndex(L"AB\uFFFD"), 0);
}
