// Annotations and sub-pictures of point files converted on their own:
// record filters, size factors, text shortening, alignment and angle
// models, closing lines, and the real mixed files read back through GDAL.
#include <cstring>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "LayerBuilder.h"
#include "MapGisCodePage.h"

using namespace testing_support;

namespace {

// An annotation (kind 0) or text block (kind 5) at the documented offsets.
struct Note {
  uint8_t kind = 0;
  std::string text;  // GBK
  float height = 3.0f, width = 3.0f, space = 0.0f, angle = 0.0f;
  int16_t chFont = 1, enFont = 2;
  uint8_t style = 0, align = 0;
  uint8_t blockAlign = 0;              // byte 66 of a text block
  float blockWidth = 0.0f;             // float 58 of a text block
  int32_t colour = 0;
  int16_t layer = 0;
  uint8_t transparent = 0;
};

// A sub-picture (kind 1) at the documented offsets.
struct Sub {
  int32_t number = 7;
  float height = 3.0f, width = 2.0f, angle = 0.0f;
  int32_t colour = 0;
  int16_t layer = 0;
  uint8_t transparent = 0;
};

// A point file: records in slot order, one attribute "ID" (long) per slot
// holding the slot's index + 1, the size factors at projection offsets 153
// and 161.
class PointFile {
 public:
  PointFile& Add(const Note& n, double x = 1.0, double y = 2.0) {
    const uint32_t at = data_.AddText(n.text);
    ByteBuilder b;
    b.Raw(0, PointRecord(1, x, y, n.kind, static_cast<int16_t>(n.text.size()), at, n.colour).data(), 93);
    b.U8(32, n.transparent).F32(33, n.height).F32(37, n.width).F32(41, n.space).F32(45, n.angle);
    b.I16(49, n.chFont).I16(51, n.enFont).U8(53, n.style).U8(54, n.align);
    if (n.kind == 5) b.F32(58, n.blockWidth).U8(66, n.blockAlign);
    b.I16(83, n.layer);
    return Push(b.Bytes(), true);
  }
  PointFile& Add(const Sub& s, double x = 1.0, double y = 2.0) {
    ByteBuilder b;
    b.Raw(0, PointRecord(1, x, y, 1, 0, 0, s.colour).data(), 93);
    b.U8(32, s.transparent).I32(33, s.number).F32(37, s.height).F32(41, s.width).F32(45, s.angle).I16(83, s.layer);
    return Push(b.Bytes(), true);
  }
  PointFile& Deleted() { return Push(PointRecord(0, 0, 0, 1), false); }
  PointFile& Factors(double width, double height) {
    factorX_ = width;
    factorY_ = height;
    return *this;
  }

  Bytes Build() const {
    LayerBuilder b(1);
    b.Element(0, live_).Element(1, static_cast<int32_t>(records_.size()) + 1);
    b.Header().F64(91 + 153, factorX_).F64(91 + 161, factorY_);
    b.Section(0, Table(93, records_));
    b.Section(1, data_.Get());
    std::vector<Bytes> rows;
    for (size_t i = 0; i < records_.size(); ++i) rows.push_back(ByteBuilder(5).U8(0, 1).I32(1, int32_t(i + 1)).Bytes());
    b.Section(2, AttributeSection({{"ID", 3, 1, 4, 8, 0}}, 5, rows));
    return b.Build();
  }

 private:
  PointFile& Push(const Bytes& record, bool live) {
    records_.push_back(record);
    if (live) ++live_;
    return *this;
  }
  DataArea data_;
  std::vector<Bytes> records_;
  int32_t live_ = 0;
  double factorX_ = 0.0, factorY_ = 0.0;
};

std::wstring Base(const TempDir& dir, const std::string& name) { return Wide(dir.Path() / name); }
std::string Shp(const TempDir& dir, const std::string& name) { return (dir.Path() / (name + ".shp")).string(); }
double Num(const OgrFeature& f, const std::string& field) { return std::stod(f.values.at(field)); }

const std::string kGbkTu = "\xCD\xBC";  // 图 in GBK

}  // namespace

class ConvertNotes : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    options.ExportProjection = 0;
  }
  // Converts with the log cleared first; the result of the converter.
  long Notes(const std::wstring& src, const std::string& name) {
    host.lines.clear();
    return Convert(ConvertAnnotations, src, Base(dir, name));
  }
  long Subs(const std::wstring& src, const std::string& name) {
    host.lines.clear();
    return Convert(ConvertSubPictures, src, Base(dir, name));
  }
};

TEST_F(ConvertNotes, EachConverterKeepsOnlyItsKindsAndPassesTheOthersOverUncounted) {
  PointFile f;
  f.Add(Note{}).Add(Sub{}).Deleted().Add(Note{5, "AB"}).Add(Sub{}).Add(Sub{});
  const std::wstring src = dir.Write("mixed.wt", f.Build());

  ASSERT_EQ(Notes(src, "notes"), 99999);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(2/2)]"));
  const OgrLayer notes = ReadWithOgr(Shp(dir, "notes"));
  ASSERT_EQ(notes.features.size(), 2u);
  // Attribute rows follow the written points: slots 1 and 4.
  EXPECT_EQ(notes.features[0].values.at("ID"), "1");
  EXPECT_EQ(notes.features[1].values.at("ID"), "4");
  EXPECT_EQ(notes.features[1].values.at("注释文"), "AB");

  // Sub-pictures are compared with nothing: 3 written of 5 live points is all correct.
  ASSERT_EQ(Subs(src, "subs"), 99999);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(3/5)]"));
  EXPECT_TRUE(Logged("------I__文件未压缩存盘，请在mapgis软件下压缩存盘后再进行转换"));
  const OgrLayer subs = ReadWithOgr(Shp(dir, "subs"));
  ASSERT_EQ(subs.features.size(), 3u);
  EXPECT_EQ(subs.features[0].values.at("ID"), "2");
  EXPECT_EQ(subs.features[2].values.at("ID"), "6");
  EXPECT_EQ(subs.features[0].wkt, "POINT (1 2)");
}

TEST_F(ConvertNotes, AResultWithoutItsKindIsEmptyAndDeleted) {
  PointFile onlySubs;
  onlySubs.Add(Sub{}).Add(Sub{});
  const std::wstring subsFile = dir.Write("subs.wt", onlySubs.Build());
  EXPECT_EQ(Notes(subsFile, "a"), 10);
  EXPECT_TRUE(Logged("------I__转换结果为空文件,已被删除！"));
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(0/0)]"));
  for (const char* ext : {".shp", ".shx", ".dbf", ".cpg"}) EXPECT_FALSE(FileExists(dir.File(std::string("a") + ext)));

  PointFile onlyNotes;
  onlyNotes.Add(Note{}).Add(Note{}).Add(Note{});
  const std::wstring notesFile = dir.Write("notes.wt", onlyNotes.Build());
  EXPECT_EQ(Subs(notesFile, "b"), 10);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(0/3)]"));
  EXPECT_FALSE(FileExists(dir.File("b.shp")));

  options.ExportEmptyFile = 1;
  EXPECT_EQ(Notes(subsFile, "kept"), 10);
  const OgrLayer kept = ReadWithOgr(Shp(dir, "kept"));
  ASSERT_TRUE(kept.opened);
  EXPECT_TRUE(kept.features.empty());
}

TEST_F(ConvertNotes, LongTextsAreShortenedToFitTheirColumn) {
  PointFile f;
  f.Add(Note{0, std::string(300, 'x')});
  std::string chinese;
  for (int i = 0; i < 150; ++i) chinese += kGbkTu;  // 300 GBK bytes
  f.Add(Note{0, chinese});
  const std::wstring src = dir.Write("long.wt", f.Build());

  options.SymbolType = 4;
  ASSERT_EQ(Notes(src, "utf"), 99999);
  const OgrLayer utf = ReadWithOgr(Shp(dir, "utf"));
  ASSERT_EQ(utf.features.size(), 2u);
  EXPECT_EQ(utf.features[0].values.at("注释文"), std::string(250, 'x') + "...");
  // In UTF-8 the Chinese text is cut again so it still fits its 255 bytes whole.
  const std::string cut = utf.features[1].values.at("注释文");
  EXPECT_LE(cut.size(), 255u);
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  EXPECT_EQ(cut.substr(0, 3), "图");
  EXPECT_EQ(cut.size() % 3, 0u) << "a character was split";
  // No value was cut beyond its column (the style file's own notes aside).
  for (const std::string& line : LogStartingWith("------W__")) EXPECT_NE(line.find("SLD"), std::string::npos) << line;
  // The label mark-up keeps its closing tags.
  const std::string label = utf.features[1].values.at("VKT_LABEL");
  EXPECT_LE(label.size(), 255u);
  EXPECT_EQ(label.substr(label.size() - 12), "</CLR></FNT>");

  options.CodePage = 1;
  ASSERT_EQ(Notes(src, "gbk"), 99999);
  const OgrLayer gbk = ReadWithOgr(Shp(dir, "gbk"));
  ASSERT_EQ(gbk.features.size(), 2u);
  std::string expected;
  for (int i = 0; i < 125; ++i) expected += "图";
  EXPECT_EQ(gbk.features[1].values.at("注释文字"), expected + "...");
}

TEST_F(ConvertNotes, SizeFactorsScaleWidthsAndHeightsInEveryMode) {
  PointFile f;
  Note block{5, "ABCDEFGHIJKLMNOP"};
  block.blockWidth = 24.0f;  // 2 x (24 / width) characters per line
  f.Add(Note{0, "A"}).Add(block).Factors(2.0, 0.0);
  const std::wstring src = dir.Write("factor.wt", f.Build());

  options.CodePage = 1;
  options.SymbolType = 2;
  ASSERT_EQ(Notes(src, "raw"), 99999);
  const OgrLayer raw = ReadWithOgr(Shp(dir, "raw"));
  ASSERT_EQ(raw.features.size(), 2u);
  EXPECT_DOUBLE_EQ(Num(raw.features[0], "VKT_AWID"), 6.0);
  // A factor that is not positive leaves the height alone.
  EXPECT_DOUBLE_EQ(Num(raw.features[0], "VKT_AHEI"), 3.0);

  options.SymbolType = 3;
  ASSERT_EQ(Notes(src, "text"), 99999);
  EXPECT_DOUBLE_EQ(Num(ReadWithOgr(Shp(dir, "text")).features[0], "注释宽度"), 6.0);

  // The mark-up sees the scaled width: 8 characters per line instead of 16.
  for (int mode : {1, 4, 5}) {
    options.SymbolType = mode;
    const std::string name = "label" + std::to_string(mode);
    ASSERT_EQ(Notes(src, name), 99999);
    const std::string label = ReadWithOgr(Shp(dir, name)).features[1].values.at("VKT_LABEL");
    EXPECT_NE(label.find("ABCDEFGH\r\nIJKLMNOP"), std::string::npos) << mode << ": " << label;
  }

  // The height factor at 161 scales the mark-up size: 3 x 10 x 2.8345 = 85.
  PointFile tall;
  tall.Add(Note{0, "A"}).Factors(0.0, 10.0);
  options.SymbolType = 4;
  ASSERT_EQ(Notes(dir.Write("tall.wt", tall.Build()), "tall"), 99999);
  EXPECT_NE(ReadWithOgr(Shp(dir, "tall")).features[0].values.at("VKT_LABEL").find("size='85'"), std::string::npos);
}

TEST_F(ConvertNotes, SubPictureSizesAreScaledBeforeValuesAndKeys) {
  PointFile f;
  f.Add(Sub{7, 3.0f, 2.0f, 0.0f}).Factors(1000.0, 0.0);
  const std::wstring src = dir.Write("factor.wt", f.Build());
  options.CodePage = 1;
  for (int mode : {2, 3}) {
    options.SymbolType = mode;
    const std::string name = "sub" + std::to_string(mode);
    ASSERT_EQ(Subs(src, name), 99999);
    const OgrFeature row = ReadWithOgr(Shp(dir, name)).features.at(0);
    EXPECT_DOUBLE_EQ(Num(row, mode == 2 ? "VKT_SWIDH" : "子图宽度"), 2000.0) << mode;
    EXPECT_DOUBLE_EQ(Num(row, mode == 2 ? "VKT_SHEIH" : "子图高度"), 3.0) << mode;
  }
  // Key: type 7, colour 0, extra 0, size1 2000 x 100, size2 3 x 100, size3 0.
  options.SymbolType = 4;
  ASSERT_EQ(Subs(src, "key"), 99999);
  EXPECT_EQ(ReadWithOgr(Shp(dir, "key")).features.at(0).values.at("VKT_LEGEND"),
            "0007" "00000000" "00000000" "30D40" "012C" "0000");
}

TEST_F(ConvertNotes, SubPicturesWithNearlyEqualSizesShareOneCode) {
  PointFile f;
  f.Add(Sub{4, 3.0f, 2.0f}).Add(Sub{4, 3.00005f, 2.0f}).Add(Sub{4, 3.1f, 2.0f}).Add(Sub{5, 3.0f, 2.0f});
  const std::wstring src = dir.Write("keys.wt", f.Build());
  for (int mode : {1, 4}) {
    options.SymbolType = mode;
    const std::string name = "keys" + std::to_string(mode);
    const std::string column = mode == 1 ? "VKT_SYMBOL" : "VKT_LEGEND";
    ASSERT_EQ(Subs(src, name), 99999);
    const OgrLayer layer = ReadWithOgr(Shp(dir, name));
    ASSERT_EQ(layer.features.size(), 4u);
    EXPECT_EQ(layer.features[0].values.at(column), layer.features[1].values.at(column)) << mode;
    EXPECT_NE(layer.features[0].values.at(column), layer.features[2].values.at(column)) << mode;
    EXPECT_NE(layer.features[0].values.at(column), layer.features[3].values.at(column)) << mode;
    // Only the legend mode writes a legend, with one class per distinct key.
    EXPECT_EQ(FileExists(dir.File(name + ".avl")), mode == 4);
  }
  const Bytes avl = ReadAll(dir.File("keys4.avl"));
  const std::string legend(avl.begin(), avl.end());
  size_t classes = 0;
  for (size_t at = legend.find("(LClass."); at != std::string::npos; at = legend.find("(LClass.", at + 1)) ++classes;
  EXPECT_EQ(classes, 3u);
  EXPECT_TRUE(Logged("------I__输出图例文件[" + MapGis::WideToUtf8(Base(dir, "keys4")) + ".avl]"));
}

TEST_F(ConvertNotes, AlignmentOfTextBlocksIsToldApartByTwo) {
  PointFile f;
  Note single{0, "A"};
  single.align = 1;
  Note block{5, "B"};
  block.align = 0;
  block.blockAlign = 1;
  f.Add(single).Add(block);
  const std::wstring src = dir.Write("align.wt", f.Build());

  for (int mode : {1, 4, 5}) {
    options.SymbolType = mode;
    const std::string name = "align" + std::to_string(mode);
    ASSERT_EQ(Notes(src, name), 99999);
    const OgrLayer layer = ReadWithOgr(Shp(dir, name));
    EXPECT_EQ(layer.features[0].values.at("VKT_ALIGN"), "1") << mode;
    EXPECT_EQ(layer.features[1].values.at("VKT_ALIGN"), "3") << mode;
    EXPECT_TRUE(Logged("------I__增加注释参数字段[VKT_LABEL]"));
  }
  options.SymbolType = 2;
  ASSERT_EQ(Notes(src, "raw"), 99999);
  EXPECT_EQ(ReadWithOgr(Shp(dir, "raw")).features[1].values.at("VKT_ALGN"), "1");
  options.SymbolType = 3;
  options.CodePage = 1;
  ASSERT_EQ(Notes(src, "text"), 99999);
  const OgrLayer text = ReadWithOgr(Shp(dir, "text"));
  EXPECT_EQ(text.features[0].values.at("排列方式"), "竖排");
  EXPECT_EQ(text.features[1].values.at("排列方式"), "竖排");
  // No legend for annotations, whatever the mode.
  options.SymbolType = 4;
  ASSERT_EQ(Notes(src, "nolegend"), 99999);
  EXPECT_FALSE(FileExists(dir.File("nolegend.avl")));
}

TEST_F(ConvertNotes, AnglesFollowTheAngleModelPerMode) {
  PointFile notes;
  Note n{0, "A"};
  n.angle = 30.0f;
  notes.Add(n);
  const std::wstring noteFile = dir.Write("angle.wt", notes.Build());
  PointFile subs;
  subs.Add(Sub{1, 3.0f, 2.0f, 45.0f}).Add(Sub{1, 3.0f, 2.0f, 180.0f});
  const std::wstring subFile = dir.Write("subangle.wt", subs.Build());
  options.CodePage = 1;

  struct Case {
    int rotate, mode;
    const char* noteColumn;
    double note;
    const char* subColumn;
    double sub45, sub180;
  };
  const Case cases[] = {
      {1, 2, "VKT_ANGL", 30, "VKT_ANGLE", 45, 180},  {1, 3, "注释角度", 60, "旋转角度", 45, 270},
      {1, 4, "VKT_ANGLE", 60, "VKT_ANGLE", 45, 270}, {1, 1, "VKT_ANGLE", 60, "VKT_ANGLE", 45, 270},
      {0, 3, "注释角度", 30, "旋转角度", 45, 180},   {0, 4, "VKT_ANGLE", 30, "VKT_ANGLE", 45, 180},
  };
  for (const Case& c : cases) {
    options.RotateType = c.rotate;
    options.SymbolType = c.mode;
    const std::string name = "r" + std::to_string(c.rotate) + "m" + std::to_string(c.mode);
    ASSERT_EQ(Notes(noteFile, "n" + name), 99999);
    EXPECT_DOUBLE_EQ(Num(ReadWithOgr(Shp(dir, "n" + name)).features.at(0), c.noteColumn), c.note) << name;
    ASSERT_EQ(Subs(subFile, "s" + name), 99999);
    const OgrLayer layer = ReadWithOgr(Shp(dir, "s" + name));
    EXPECT_DOUBLE_EQ(Num(layer.features.at(0), c.subColumn), c.sub45) << name;
    EXPECT_DOUBLE_EQ(Num(layer.features.at(1), c.subColumn), c.sub180) << name;
  }
}

TEST_F(ConvertNotes, TypographicParametersInTheParameterModes) {
  PointFile f;
  Note n{0, "A"};
  n.height = 4.0f;
  n.space = 0.5f;
  n.chFont = 3;
  n.enFont = 1;
  n.style = 1;
  n.layer = 12;
  n.transparent = 1;
  f.Add(n);
  const std::wstring src = dir.Write("params.wt", f.Build());

  options.SymbolType = 2;
  ASSERT_EQ(Notes(src, "raw"), 99999);
  EXPECT_TRUE(Logged("------I__增加MapGIS注释参数字段"));
  const OgrFeature raw = ReadWithOgr(Shp(dir, "raw")).features.at(0);
  EXPECT_DOUBLE_EQ(Num(raw, "VKT_AHEI"), 4.0);
  EXPECT_DOUBLE_EQ(Num(raw, "VKT_ASPA"), 0.5);
  EXPECT_EQ(raw.values.at("VKT_CFNT"), "3");
  EXPECT_EQ(raw.values.at("VKT_EFNT"), "1");
  EXPECT_EQ(raw.values.at("VKT_CFNX"), "1");
  EXPECT_EQ(raw.values.at("VKT_TRAN"), "1");
  EXPECT_EQ(raw.values.at("VKT_LAYR"), "12");
  EXPECT_EQ(raw.values.at("VKT_ACLR"), "0");
  EXPECT_NE(raw.values.at("VKT_LABEL").find("<ITA>A</ITA>"), std::string::npos);

  for (int codePage : {0, 1}) {
    options.CodePage = codePage;
    options.SymbolType = 3;
    const std::string name = "text" + std::to_string(codePage);
    ASSERT_EQ(Notes(src, name), 99999);
    const OgrLayer layer = ReadWithOgr(Shp(dir, name));
    const OgrFeature& text = layer.features.at(0);
    // Chinese column names keep 9 bytes in UTF-8, all 8 in GBK.
    auto column = [&](const std::string& gbkName, const std::string& utfName) {
      return text.values.at(codePage == 1 ? gbkName : utfName);
    };
    EXPECT_EQ(column("汉字字体", "汉字字"), "黑体") << codePage;
    EXPECT_EQ(column("西文字体", "西文字"), "宋体") << codePage;
    EXPECT_EQ(column("注释字形", "注释字"), "左斜体") << codePage;
    EXPECT_EQ(column("透明输出", "透明输"), "透明") << codePage;
    EXPECT_EQ(column("排列方式", "排列方"), "横排") << codePage;
    EXPECT_EQ(text.values.at("图层号"), "12") << codePage;
    EXPECT_EQ(layer.fieldNames.size(), 14u) << codePage;  // ID, the text, the label and 11 parameters
  }
}

TEST_F(ConvertNotes, UnreadableRecordsCountErrorsAgainstTheRowsWritten) {
  PointFile f;
  f.Add(Note{0, "A"}).Add(Note{0, "B"});
  Bytes bytes = f.Build();
  // Move the point table's directory entry to the end of the file: two of
  // its three slots no longer fit, so neither record can be read.
  const uint32_t end = static_cast<uint32_t>(bytes.size() - 93);
  std::memcpy(&bytes[657], &end, 4);
  const std::wstring src = dir.Write("broken.wt", bytes);
  EXPECT_EQ(Notes(src, "broken"), -9979);
  EXPECT_TRUE(Logged("------F__第[0]号图元信息错误，已跳过"));
  EXPECT_TRUE(Logged("------F__第[1]号图元信息错误，已跳过"));
  // Errors first, then rows written.
  EXPECT_TRUE(Logged("----结束转换[源文件存在错误(2/0)]"));
  EXPECT_EQ(Subs(src, "broken2"), -9979);
  EXPECT_TRUE(Logged("----结束转换[文件存在错误(0/2)]"));
}

TEST_F(ConvertNotes, WrongKindsAndMissingProjectionStopBeforeAnyOutput) {
  LayerBuilder line(0);
  line.Element(0, 0).Element(1, 1);
  line.Section(0, Table(57, {})).Section(1, Bytes(2, 0)).Section(2, AttributeSection({}, 1, {}));
  const std::wstring lineFile = dir.Write("line.wl", line.Build());
  EXPECT_EQ(Notes(lineFile, "x"), -9997);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-几何类型错误]"));
  EXPECT_EQ(Subs(lineFile, "y"), -9997);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-几何类型错误]"));

  PointFile f;
  f.Add(Note{});
  options.ExportProjection = 1;
  EXPECT_EQ(Notes(dir.Write("noprj.wt", f.Build()), "z"), -9978);
  EXPECT_TRUE(Logged("------E__待转换文件无投影信息"));
  EXPECT_FALSE(FileExists(dir.File("z.dbf")));
}

TEST_F(ConvertNotes, RealMixedLegendFileInEveryModeAndCodePage) {
  const std::wstring src = dir.CopySample("frame/图例.WT");
  options.ExportProjection = 1;
  for (int codePage : {0, 1}) {
    for (int mode = 0; mode <= 5; ++mode) {
      options.CodePage = codePage;
      options.SymbolType = mode;
      const std::string name = "legend" + std::to_string(codePage) + std::to_string(mode);
      ASSERT_EQ(Notes(src, name + "A"), 99999) << name;
      EXPECT_TRUE(Logged("------I__输出注记投影[" + MapGis::WideToUtf8(Base(dir, name + "A")) + ".prj]"));
      EXPECT_TRUE(Logged("------I__输出注记文件[" + MapGis::WideToUtf8(Base(dir, name + "A")) + ".shp]"));
      EXPECT_TRUE(Logged("----结束转换[全部正确转换(3/3)]")) << name;
      const OgrLayer notes = ReadWithOgr(Shp(dir, name + "A"));
      ASSERT_EQ(notes.features.size(), 3u) << name;
      const std::string textColumn = codePage == 1 ? "注释文字" : "注释文";
      EXPECT_EQ(notes.features[0].values.at(textColumn), "图例") << name;
      EXPECT_EQ(notes.features[1].values.at(textColumn), "礼县土地利用图") << name;
      if (mode >= 1 && mode <= 5) {
        EXPECT_NE(notes.features[1].values.at("VKT_LABEL").find("礼县土地利用图"), std::string::npos) << name;
      }

      ASSERT_EQ(Subs(src, name + "S"), 99999) << name;
      EXPECT_TRUE(Logged("----结束转换[全部正确转换(4/7)]")) << name;
      const OgrLayer subs = ReadWithOgr(Shp(dir, name + "S"));
      ASSERT_EQ(subs.features.size(), 4u) << name;
      EXPECT_EQ(FileExists(dir.File(name + "S.avl")), mode == 4) << name;
      EXPECT_TRUE(FileExists(dir.File(name + "S.prj")));
      if (mode == 2) {
        EXPECT_DOUBLE_EQ(Num(subs.features[0], "VKT_SWIDH"), 20.0);
      }
    }
  }
}

TEST_F(ConvertNotes, RealAnnotationFileWithSlashedTexts) {
  const std::wstring src = dir.CopySample("jz-project/JZ.WT");
  options.SymbolType = 4;
  ASSERT_EQ(Notes(src, "jz"), 99999);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(95/95)]"));
  const OgrLayer layer = ReadWithOgr(Shp(dir, "jz"));
  ASSERT_EQ(layer.features.size(), 95u);
  EXPECT_EQ(layer.features[0].values.at("注释文"), "/146/249/");
  // Slashes around the text underline it; inner slashes break the line.
  EXPECT_NE(layer.features[0].values.at("VKT_LABEL").find("<UND>146</UND>\r\n249"), std::string::npos)
      << layer.features[0].values.at("VKT_LABEL");
  ASSERT_EQ(Subs(src, "jzsub"), 10);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(0/95)]"));
  EXPECT_FALSE(FileExists(dir.File("jzsub.shp")));
}
