// Legend files, symbol library heads and font names. Legend fixtures are
// written at the documented offsets: head 16 bytes (count at 12), items of
// 333 bytes from 16, parameter blocks after the item table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "MapGis.h"
#include "TempDir.h"

using namespace MapGis;
using testing_support::ByteBuilder;
using testing_support::TempDir;

namespace {

class LegendBytes {
 public:
  explicit LegendBytes(int32_t count) : count_(count) {
    const uint8_t magic[8] = {0x57, 0x4D, 0x41, 0x50, 0x60, 0x44, 0x32, 0x3E};
    b_.Raw(0, magic, 8).U32(8, 0xDEADBEEF).I32(12, count);
  }
  LegendBytes& Item(int i, const std::string& name, int8_t kind, int32_t paramOffset) {
    const size_t o = 16 + 333 * static_cast<size_t>(i);
    b_.Text(o, name).Put<int8_t>(o + 256, kind).I32(o + 257, paramOffset).Grow(o + 333);
    return *this;
  }
  // Absolute offset of a parameter block.
  size_t Param(int32_t paramOffset) const { return 16 + 333 * static_cast<size_t>(count_) + paramOffset; }
  ByteBuilder& Bytes() { return b_; }

 private:
  int32_t count_;
  ByteBuilder b_;
};

// A line, a point and a polygon item, and a second point item sharing the
// first one's block.
LegendBytes ThreeKinds() {
  LegendBytes l(4);
  l.Item(0, "\xB5\xC0\xC2\xB7", 0, 0)  // 道路
      .Item(1, "point", 1, 67)
      .Item(2, "area", 2, 161)
      .Item(3, "point again", 1, 67);
  ByteBuilder& b = l.Bytes();
  const size_t lin = l.Param(0);
  b.I16(lin, 7).U8(lin + 2, 3).U8(lin + 3, 1).I32(lin + 4, 12).F32(lin + 8, 0.25f).U8(lin + 12, 2)
      .F32(lin + 13, 1.5f).F32(lin + 17, 2.5f).I32(lin + 21, 34).I16(lin + 25, 9).U8(lin + 66, 0x77);
  const size_t pnt = l.Param(67);
  b.U8(pnt, 1).I32(pnt + 2, 1234).F32(pnt + 6, 3.0f).F32(pnt + 10, 4.0f).I32(pnt + 44, 56).U8(pnt + 93, 0x55);
  const size_t reg = l.Param(161);
  b.I32(reg, 77).I16(reg + 4, 5).F32(reg + 6, 10.0f).F32(reg + 10, 20.0f).I32(reg + 14, 88).U8(reg + 20, 1)
      .I16(reg + 21, 3).U8(reg + 62, 0x66);
  return l;
}

template <class T>
T Filled(uint8_t v) {
  T t;
  std::memset(&t, v, sizeof t);
  return t;
}

template <class T>
bool Untouched(const T& t, uint8_t v) {
  const T ref = Filled<T>(v);
  return std::memcmp(&t, &ref, sizeof t) == 0;
}

}  // namespace

TEST(Legend, ReadsItemsAndTheBlockOfEachKind) {
  TempDir dir;
  MapGis_Legend legend;
  ASSERT_EQ(legend.Open(dir.Write("a.lgd", ThreeKinds().Bytes().Bytes()).c_str()), 4);
  EXPECT_EQ(legend.GetLegendNum(), 4);

  MAPGIS_LegendItem item;
  PNT_INFOstruct pnt = Filled<PNT_INFOstruct>(0xAB);
  LIN_INFOstruct lin = Filled<LIN_INFOstruct>(0xAB);
  REG_INFOstruct reg = Filled<REG_INFOstruct>(0xAB);

  ASSERT_EQ(legend.GetLegendInfo(0, &item, &pnt, &lin, &reg), 0);
  // Packed fields are compared as values (unary +): gtest would bind a
  // misaligned reference to them.
  EXPECT_STREQ(item.itemName, "\xB5\xC0\xC2\xB7");
  EXPECT_EQ(+item.paramOffset, 0);
  EXPECT_EQ(+lin.lineType, 7);
  EXPECT_EQ(+lin.auxType, 3);
  EXPECT_EQ(+lin.transparent, 1);
  EXPECT_EQ(+lin.color, 12);
  EXPECT_FLOAT_EQ(+lin.width, 0.25f);
  EXPECT_EQ(+lin.lineClass, 2);
  EXPECT_FLOAT_EQ(+lin.xScale, 1.5f);
  EXPECT_FLOAT_EQ(+lin.yScale, 2.5f);
  EXPECT_EQ(+lin.auxColor, 34);
  EXPECT_EQ(+lin.layer, 9);
  EXPECT_EQ(lin.reserved27[39], 0x77);  // all 67 bytes are read
  EXPECT_TRUE(Untouched(pnt, 0xAB));
  EXPECT_TRUE(Untouched(reg, 0xAB));

  ASSERT_EQ(legend.GetLegendInfo(1, &item, &pnt, &lin, &reg), 1);
  EXPECT_STREQ(item.itemName, "point");
  EXPECT_EQ(+pnt.kind, 1);
  EXPECT_EQ(+pnt.param.sub.subNumber, 1234);
  EXPECT_FLOAT_EQ(+pnt.param.sub.height, 3.0f);
  EXPECT_FLOAT_EQ(+pnt.param.sub.width, 4.0f);
  EXPECT_EQ(+pnt.color, 56);
  EXPECT_EQ(pnt.reserved62[31], 0x55);

  ASSERT_EQ(legend.GetLegendInfo(2, &item, &pnt, &lin, &reg), 2);
  EXPECT_EQ(+item.itemKind, 2);
  EXPECT_EQ(+item.paramOffset, 161);
  EXPECT_EQ(+reg.fillColor, 77);
  EXPECT_EQ(+reg.pattern, 5);
  EXPECT_FLOAT_EQ(+reg.patternHeight, 10.0f);
  EXPECT_FLOAT_EQ(+reg.patternWidth, 20.0f);
  EXPECT_EQ(+reg.patternColor, 88);
  EXPECT_EQ(+reg.transparent, 1);
  EXPECT_EQ(+reg.layer, 3);
  EXPECT_EQ(reg.reserved23[39], 0x66);

  // Two items share one block.
  PNT_INFOstruct again = Filled<PNT_INFOstruct>(0);
  ASSERT_EQ(legend.GetLegendInfo(3, nullptr, &again, nullptr, nullptr), 1);
  EXPECT_EQ(std::memcmp(&again, &pnt, sizeof pnt), 0);

  // Null buffers are skipped; the kind is still returned.
  EXPECT_EQ(legend.GetLegendInfo(2, nullptr, nullptr, nullptr, nullptr), 2);

  legend.Close();
  EXPECT_EQ(legend.GetLegendNum(), 0);
  EXPECT_EQ(legend.GetLegendInfo(0, &item, &pnt, &lin, &reg), MAPGIS_READ_FAILED);
}

TEST(Legend, OtherKindsAndBadIndexesLeaveBuffersAlone) {
  LegendBytes l(3);
  l.Item(0, "five", 5, 0).Item(1, "minus", -2, 0).Item(2, "far", 1, 1000);
  l.Bytes().Grow(l.Param(0) + 94);
  TempDir dir;
  MapGis_Legend legend;
  ASSERT_EQ(legend.Open(dir.Write("b.lgd", l.Bytes().Bytes()).c_str()), 3);

  MAPGIS_LegendItem item = Filled<MAPGIS_LegendItem>(0xCD);
  PNT_INFOstruct pnt = Filled<PNT_INFOstruct>(0xAB);
  LIN_INFOstruct lin = Filled<LIN_INFOstruct>(0xAB);
  REG_INFOstruct reg = Filled<REG_INFOstruct>(0xAB);

  EXPECT_EQ(legend.GetLegendInfo(0, &item, &pnt, &lin, &reg), 5);
  EXPECT_STREQ(item.itemName, "five");
  EXPECT_EQ(legend.GetLegendInfo(1, nullptr, &pnt, &lin, &reg), -2);
  EXPECT_TRUE(Untouched(pnt, 0xAB));
  EXPECT_TRUE(Untouched(lin, 0xAB));
  EXPECT_TRUE(Untouched(reg, 0xAB));

  // A block past the end of the file.
  EXPECT_EQ(legend.GetLegendInfo(2, nullptr, &pnt, &lin, &reg), MAPGIS_READ_FAILED);
  EXPECT_TRUE(Untouched(pnt, 0xAB));

  item = Filled<MAPGIS_LegendItem>(0xCD);
  for (int index : {-1, 3, 1 << 30}) {
    EXPECT_EQ(legend.GetLegendInfo(index, &item, &pnt, &lin, &reg), MAPGIS_READ_FAILED) << index;
  }
  EXPECT_TRUE(Untouched(item, 0xCD));
  EXPECT_TRUE(Untouched(pnt, 0xAB));
}

TEST(Legend, NegativeBlockOffsets) {
  LegendBytes l(2);
  // -333 points at the second item itself (still inside the file); a large
  // negative offset points before the start of the file.
  l.Item(0, "inside", 2, -333).Item(1, "before", 2, -100000);
  TempDir dir;
  MapGis_Legend legend;
  ASSERT_EQ(legend.Open(dir.Write("n.lgd", l.Bytes().Bytes()).c_str()), 2);
  REG_INFOstruct reg = Filled<REG_INFOstruct>(0xAB);
  EXPECT_EQ(legend.GetLegendInfo(0, nullptr, nullptr, nullptr, &reg), 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reg), 6), "before");
  reg = Filled<REG_INFOstruct>(0xAB);
  EXPECT_EQ(legend.GetLegendInfo(1, nullptr, nullptr, nullptr, &reg), MAPGIS_READ_FAILED);
  EXPECT_TRUE(Untouched(reg, 0xAB));
}

TEST(Legend, CountsBelowOneOpenWithNoItems) {
  TempDir dir;
  MapGis_Legend legend;
  LegendBytes zero(0);
  EXPECT_EQ(legend.Open(dir.Write("z.lgd", zero.Bytes().Bytes()).c_str()), 0);
  EXPECT_EQ(legend.GetLegendNum(), 0);
  EXPECT_EQ(legend.GetLegendInfo(0, nullptr, nullptr, nullptr, nullptr), MAPGIS_READ_FAILED);

  LegendBytes negative(-5);
  negative.Bytes().Grow(2048);
  EXPECT_EQ(legend.Open(dir.Write("neg.lgd", negative.Bytes().Bytes()).c_str()), -5);
  EXPECT_EQ(legend.GetLegendNum(), 0);
  EXPECT_EQ(legend.GetLegendInfo(0, nullptr, nullptr, nullptr, nullptr), MAPGIS_READ_FAILED);
}

TEST(Legend, BadFilesGiveStatusesAndLeaveTheObjectReusable) {
  TempDir dir;
  const std::wstring good = dir.Write("good.lgd", ThreeKinds().Bytes().Bytes());
  auto failsWith = [&](const std::wstring& path, long status) {
    MapGis_Legend legend;
    ASSERT_EQ(legend.Open(good.c_str()), 4);
    EXPECT_EQ(legend.Open(path.c_str()), status);
    EXPECT_EQ(legend.GetLegendNum(), 0);
    EXPECT_EQ(legend.GetLegendInfo(0, nullptr, nullptr, nullptr, nullptr), MAPGIS_READ_FAILED);
    // The object opens the next file normally.
    EXPECT_EQ(legend.Open(good.c_str()), 4);
    EXPECT_EQ(legend.GetLegendInfo(1, nullptr, nullptr, nullptr, nullptr), 1);
  };

  failsWith(testing_support::Wide(dir.File("missing.lgd")), MAPGIS_OPEN_FAILED);

  ByteBuilder shortHead = LegendBytes(0).Bytes();
  shortHead.Bytes().resize(15);
  failsWith(dir.Write("short.lgd", shortHead.Bytes()), MAPGIS_READ_FAILED);

  LegendBytes magic(0);
  magic.Bytes().U8(7, 0x78);  // a layer file's magic ends in 'x'
  failsWith(dir.Write("magic.lgd", magic.Bytes().Bytes()), MAPGIS_NOT_MAPGIS_FILE);

  // A count far beyond what a 2 KB file holds is refused before allocating.
  LegendBytes absurd(32767);
  absurd.Bytes().Grow(2048);
  failsWith(dir.Write("absurd.lgd", absurd.Bytes().Bytes()), MAPGIS_READ_FAILED);
  LegendBytes huge(0x7FFFFFFF);
  failsWith(dir.Write("huge.lgd", huge.Bytes().Bytes()), MAPGIS_READ_FAILED);

  // Two items announced, one and a half present.
  LegendBytes cut(2);
  cut.Item(0, "one", 0, 0).Bytes().Grow(16 + 333 + 200);
  failsWith(dir.Write("cut.lgd", cut.Bytes().Bytes()), MAPGIS_READ_FAILED);
}

TEST(Symbol, OpensWhenTheHeadIsThere) {
  TempDir dir;
  MapGis_Symbol symbol;
  ByteBuilder head(26);
  EXPECT_EQ(symbol.Open(dir.Write("full.lib", head.Bytes()).c_str()), 0);
  symbol.Close();
  ByteBuilder shorter(25);
  EXPECT_EQ(symbol.Open(dir.Write("short.lib", shorter.Bytes()).c_str()), MAPGIS_READ_FAILED);
  EXPECT_EQ(symbol.Open(testing_support::Wide(dir.File("missing.lib")).c_str()), MAPGIS_OPEN_FAILED);
  EXPECT_EQ(symbol.Open(dir.Write("again.lib", head.Bytes()).c_str()), 0);
}

TEST(Fonts, NamesAreGbkBytes) {
  char out[16];
  std::memset(out, 0x7F, sizeof out);
  EXPECT_EQ(GetFontName(1, out), 1);
  EXPECT_STREQ(out, "\xCB\xCE\xCC\xE5");  // 宋体
  EXPECT_EQ(out[5], 0x7F);                 // terminator included, nothing beyond

  for (int n : {2, 99, 29, -1, -2147483647 - 1}) {
    std::memset(out, 0x7F, sizeof out);
    EXPECT_EQ(GetFontName(n, out), n);
    EXPECT_STREQ(out, "\xB7\xC2\xCB\xCE") << n;  // 仿宋
  }
  GetFontName(28, out);
  EXPECT_STREQ(out, "\xB7\xB1\xD7\xDB\xD2\xD5");  // 繁综艺

  EXPECT_EQ(GetFontStyle(10, out), 10);
  EXPECT_STREQ(out, "\xD5\xFD\xCC\xE5");  // 正体
  EXPECT_EQ(GetFontStyle(-1, out), -1);
  EXPECT_STREQ(out, "\xD5\xFD\xCC\xE5");
  std::memset(out, 0x7F, sizeof out);
  GetFontStyle(5, out);
  EXPECT_STREQ(out, "\xD5\xFD\xCC\xE5\xD2\xF5\xD3\xB0");  // 正体阴影: 8 bytes + terminator
  EXPECT_EQ(out[9], 0x7F);

  // A null buffer is not written to.
  EXPECT_EQ(GetFontName(3, nullptr), 3);
  EXPECT_EQ(GetFontStyle(3, nullptr), 3);
}

// Every name of both tables against an independent GBK encoding of the
// names, so no entry is mistyped.
TEST(Fonts, WholeTablesMatchTheirNames) {
  const char* fonts[] = {"单线", "宋体", "仿宋", "黑体", "楷体", "隶书", "大黑", "行楷", "魏碑", "姚体",
                         "美黑", "隶变", "标宋", "细圆", "粗圆", "仿宋", "繁单线", "繁宋体", "繁仿宋", "繁黑体",
                         "繁楷体", "繁隶变", "繁大黑", "繁行楷", "繁魏碑", "繁细圆", "繁粗圆", "繁美黑", "繁综艺"};
  for (int n = 0; n < 29; ++n) {
    char out[16] = {0};
    GetFontName(n, out);
    const std::string expected = Utf8ToAnsi(fonts[n]);
    EXPECT_EQ(std::string(out), expected) << n;
    EXPECT_LE(expected.size() + 1, 7u);
  }
  const char* styles[] = {"正体", "左斜体", "右斜体", "右耸肩", "左耸肩",
                          "正体阴影", "左斜阴影", "右斜阴影", "右耸阴影", "左耸阴影"};
  for (int n = 0; n < 10; ++n) {
    char out[16] = {0};
    GetFontStyle(n, out);
    EXPECT_EQ(std::string(out), Utf8ToAnsi(styles[n])) << n;
  }
}
