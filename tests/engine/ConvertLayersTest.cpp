// Layer conversions end to end: real and generated MapGIS layers converted
// in every style mode and spatial-reference mode, read back through GDAL.
#include <cstring>
#include <fstream>
#include <set>

#include "EngineFixture.h"
#include "LayerBuilder.h"
#include "MapGisCodePage.h"

using namespace testing_support;

namespace {

std::wstring Base(const TempDir& dir, const std::string& name) { return Wide(dir.Path() / name); }
std::string Shp(const TempDir& dir, const std::string& name) { return (dir.Path() / (name + ".shp")).string(); }

std::string ReadText(const std::filesystem::path& p) {
  const Bytes b = ReadAll(p);
  return std::string(b.begin(), b.end());
}

// A point layer without projection: two annotations, one sub-picture, one
// deleted slot; fields NAME (string, GBK) and CODE (long).
Bytes SmallPointLayer(int8_t coordType) {
  DataArea data;
  const std::string text1 = "\xB5\xE3\xBA\xC5";  // 点号 in GBK
  const uint32_t t1 = data.AddText(text1);
  const uint32_t t2 = data.AddText("AB");
  Bytes p1 = PointRecord(1, 10, 20, 0, static_cast<int16_t>(text1.size()), t1, 3);
  Bytes p2 = PointRecord(1, 30, 40, 1, 0, 0, 5);
  Bytes p3 = PointRecord(0, 0, 0, 1);
  Bytes p4 = PointRecord(1, 50, 60, 0, 2, t2, 3);
  p2[32] = 1;  // transparent
  LayerBuilder b(1);
  b.Element(0, 3).Element(1, 5);
  b.Header().Put<int8_t>(91, coordType).Put<int8_t>(92, 2).Put<int8_t>(109, 5).Put<int8_t>(110, 2);
  b.Header().F64(91 + 52, 1000.0).F64(91 + 60, 1170000.0);
  b.Section(0, Table(93, {p1, p2, p3, p4}));
  b.Section(1, data.Get());
  Bytes r1(15, ' '), r2(15, ' '), r3(15, ' '), r4(15, ' ');
  std::memcpy(&r1[1], "\xD6\xD0\xCE\xC4", 4);  // 中文
  int32_t v = -123456789;
  std::memcpy(&r1[11], &v, 4);
  r1[0] = r2[0] = r3[0] = r4[0] = 1;
  b.Section(2, AttributeSection({{"NAME", 0, 1, 10, 10, 0}, {"CODE", 3, 11, 4, 5, 0}}, 15, {r1, r2, r3, r4}));
  return b.Build();
}

}  // namespace

class ConvertLayers : public EngineTest {};

// Without a colour library every colour number but 0 lies outside it: each
// lookup a style value needs gets one "E" line (a label's colour and the
// point's colour are two lookups), and the conversion goes on.
TEST_F(ConvertLayers, ColoursOutsideTheLibraryAreLoggedOncePerLookup) {
  const std::wstring src = dir.Write("pts.wt", SmallPointLayer(3));
  options.SymbolType = 3;
  options.ExportProjection = 0;
  ASSERT_EQ(Convert(ConvertPoints, src, Base(dir, "colours")), 99999);
  EXPECT_EQ(LogStartingWith("------E__第["),
            (std::vector<std::string>{"------E__第[3]号颜色超出颜色库范围", "------E__第[3]号颜色超出颜色库范围",
                                      "------E__第[5]号颜色超出颜色库范围", "------E__第[3]号颜色超出颜色库范围",
                                      "------E__第[3]号颜色超出颜色库范围"}));
  // The raw-parameter mode writes the numbers as stored and looks nothing up.
  host.lines.clear();
  options.SymbolType = 2;
  ASSERT_EQ(Convert(ConvertPoints, src, Base(dir, "raw")), 99999);
  EXPECT_EQ(LogStartingWith("------E__第[").size(), 2u);  // the two labels' colours
}

TEST_F(ConvertLayers, PointLayerInEveryStyleMode) {
  const std::wstring src = dir.Write("pts.wt", SmallPointLayer(3));
  for (int mode = 0; mode <= 5; ++mode) {
    options.SymbolType = mode;
    options.ExportProjection = 1;
    const std::string name = "pts" + std::to_string(mode);
    host.lines.clear();
    ASSERT_EQ(Convert(ConvertPoints, src, Base(dir, name)), 99999) << mode;
    EXPECT_TRUE(Logged("----结束转换[全部正确转换(3/3)]")) << mode;
    EXPECT_TRUE(Logged("------I__文件未压缩存盘，请在mapgis软件下压缩存盘后再进行转换"));
    const OgrLayer layer = ReadWithOgr(Shp(dir, name));
    ASSERT_TRUE(layer.opened);
    ASSERT_EQ(layer.features.size(), 3u);
    // Coordinates are scaled by the layer's scale in projection mode 1.
    EXPECT_EQ(layer.features[0].wkt, "POINT (10000 20000)");
    EXPECT_EQ(layer.features[0].values.at("NAME"), "中文");
    EXPECT_EQ(layer.features[0].values.at("CODE"), "-123456789");
    if (mode == 0) {
      EXPECT_EQ(layer.fieldNames.size(), 2u);
    }
    if (mode == 2) {
      EXPECT_EQ(layer.features[1].values.at("VKT_PTYPE"), "1");
      EXPECT_EQ(layer.features[1].values.at("VKT_SCOLR"), "5");
      EXPECT_EQ(layer.features[1].values.at("VKT_TRANS"), "1");
      EXPECT_EQ(layer.features[1].values.at("VKT_LABEL"), "");
      EXPECT_NE(layer.features[0].values.at("VKT_LABEL").find("点号"), std::string::npos);
    }
    if (mode == 3) {
      // "透明输出" takes 12 bytes in UTF-8: the column name keeps its first 9.
      EXPECT_EQ(layer.features[1].values.at("透明输"), "透明");
      EXPECT_EQ(layer.features[0].values.at("透明输"), "不透明");
      EXPECT_EQ(layer.features[1].values.at("点类型"), "1");
    }
    if (mode == 4) {
      // Same kind and colour: same code; a legend was written.
      EXPECT_EQ(layer.features[0].values.at("VKT_LEGEND"), layer.features[2].values.at("VKT_LEGEND"));
      EXPECT_NE(layer.features[0].values.at("VKT_LEGEND"), layer.features[1].values.at("VKT_LEGEND"));
      EXPECT_TRUE(FileExists(dir.File(name + ".avl")));
    }
    EXPECT_TRUE(FileExists(dir.File(name + ".prj")));
  }
}

TEST_F(ConvertLayers, GbkTablesSayCodePage936) {
  options.CodePage = 1;
  options.ExportProjection = 0;
  const std::wstring src = dir.Write("pts.wt", SmallPointLayer(0));
  ASSERT_EQ(Convert(ConvertPoints, src, Base(dir, "gbk")), 99999);
  EXPECT_EQ(ReadText(dir.File("gbk.cpg")), "936");
  const Bytes dbf = ReadAll(dir.File("gbk.dbf"));
  ASSERT_GT(dbf.size(), 32u);
  EXPECT_EQ(dbf[29], 0x4D);
  const OgrLayer layer = ReadWithOgr(Shp(dir, "gbk"));
  ASSERT_EQ(layer.features.size(), 3u);
  EXPECT_EQ(layer.features[0].values.at("NAME"), "中文");

  options.CodePage = 0;
  ASSERT_EQ(Convert(ConvertPoints, src, Base(dir, "utf")), 99999);
  EXPECT_EQ(ReadText(dir.File("utf.cpg")), "UTF-8");
  EXPECT_EQ(ReadWithOgr(Shp(dir, "utf")).features[0].values.at("NAME"), "中文");
}

TEST_F(ConvertLayers, MissingProjectionFailsWithoutAnyOutput) {
  const std::wstring src = dir.Write("pts.wt", SmallPointLayer(0));
  options.ExportProjection = 2;
  EXPECT_EQ(Convert(ConvertPoints, src, Base(dir, "none")), -9978);
  EXPECT_TRUE(Logged("------E__待转换文件无投影信息"));
  EXPECT_TRUE(Logged("----结束转换[原文件错误-无投影信息]"));
  for (const char* ext : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) {
    EXPECT_FALSE(FileExists(dir.File(std::string("none") + ext))) << ext;
  }
}

TEST_F(ConvertLayers, WrongKindAndForeignFilesGiveTheirClosingLines) {
  const std::wstring src = dir.Write("pts.wt", SmallPointLayer(0));
  options.ExportProjection = 0;
  EXPECT_EQ(Convert(ConvertLines, src, Base(dir, "x")), -9997);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-几何类型错误]"));
  const std::wstring foreign = dir.CopySample("unsupported/Fram_1.wt");
  EXPECT_EQ(Convert(ConvertPoints, foreign, Base(dir, "y")), -9997);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-非MapGis文件]"));
  EXPECT_EQ(Convert(ConvertPoints, Base(dir, "missing.wt"), Base(dir, "z")), -9996);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-文件打开失败]"));
}

TEST_F(ConvertLayers, EmptyResultRemovesOnlyWhatThisRunWrote) {
  LayerBuilder b(0);
  b.Element(0, 0).Element(1, 2);
  b.Section(0, Table(57, {LineRecord(0, 0, 0)}));
  b.Section(1, Bytes(2, 0));
  b.Section(2, AttributeSection({{"ID", 3, 1, 4, 8, 0}}, 5, {Bytes(5, 0)}));
  const std::wstring src = dir.Write("empty.wl", b.Build());
  options.ExportProjection = 0;
  // A .prj of the user's that this run does not write stays.
  std::ofstream(dir.File("out.prj")) << "keep";
  EXPECT_EQ(Convert(ConvertLines, src, Base(dir, "out")), 10);
  EXPECT_TRUE(Logged("------I__转换结果为空文件,已被删除！"));
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(0/0)]"));
  for (const char* ext : {".shp", ".shx", ".dbf", ".cpg"}) EXPECT_FALSE(FileExists(dir.File(std::string("out") + ext)));
  EXPECT_EQ(ReadText(dir.File("out.prj")), "keep");

  options.ExportEmptyFile = 1;
  EXPECT_EQ(Convert(ConvertLines, src, Base(dir, "kept")), 10);
  EXPECT_TRUE(FileExists(dir.File("kept.shp")));
}

TEST_F(ConvertLayers, UnreadableRecordIsSkippedWithAnFLine) {
  DataArea data;
  const uint32_t run = data.AddRun({0, 0, 1, 1});
  LayerBuilder b(0);
  b.Element(0, 2).Element(1, 3);
  // The second line claims more points than the data area holds.
  b.Section(0, Table(57, {LineRecord(1, 2, run), LineRecord(1, 100000, run)}));
  b.Section(1, data.Get());
  b.Section(2, AttributeSection({{"ID", 3, 1, 4, 8, 0}}, 5, {Bytes(5, 1), Bytes(5, 1)}));
  const std::wstring src = dir.Write("bad.wl", b.Build());
  options.ExportProjection = 0;
  EXPECT_EQ(Convert(ConvertLines, src, Base(dir, "bad")), -9979);
  EXPECT_TRUE(Logged("------F__第[1]号图元信息错误，已跳过"));
  EXPECT_TRUE(Logged("----结束转换[源文件存在错误(1/2)]"));
  EXPECT_EQ(ReadWithOgr(Shp(dir, "bad")).features.size(), 1u);
}

TEST_F(ConvertLayers, RealPolygonIsValidWithClockwiseShellAndHole) {
  const std::wstring src = dir.CopySample("frame/图框.WP");
  for (int projection = 0; projection <= 2; ++projection) {
    options.ExportProjection = projection;
    options.SymbolType = projection == 1 ? 2 : 4;
    const std::string name = "poly" + std::to_string(projection);
    ASSERT_EQ(Convert(ConvertPolygons, src, Base(dir, name)), 99999);
    const OgrLayer layer = ReadWithOgr(Shp(dir, name));
    ASSERT_EQ(layer.features.size(), 1u);
    const OgrFeature& f = layer.features[0];
    EXPECT_TRUE(f.valid) << f.wkt.substr(0, 200);
    ASSERT_EQ(f.ringClockwise.size(), 2u);
    EXPECT_TRUE(f.ringClosed[0]);
    EXPECT_TRUE(f.ringClosed[1]);
    if (projection > 0) {
      EXPECT_TRUE(FileExists(dir.File(name + ".prj")));
    }
  }
}

TEST_F(ConvertLayers, RealLinesReportTheCompactionHint) {
  const std::wstring src = dir.CopySample("frame/YZT-SLH.WL");
  options.ExportProjection = 0;
  options.SymbolType = 3;
  ASSERT_EQ(Convert(ConvertLines, src, Base(dir, "lines")), 99999);
  EXPECT_TRUE(Logged("------I__文件未压缩存盘，请在mapgis软件下压缩存盘后再进行转换"));
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(129/129)]"));
  const OgrLayer layer = ReadWithOgr(Shp(dir, "lines"));
  EXPECT_EQ(layer.features.size(), 129u);
  EXPECT_EQ(layer.geometryType, "Line String");
}

TEST_F(ConvertLayers, CollidingFieldNamesAreMadeUnique) {
  const std::wstring src = dir.CopySample("jz-project/JZ.WT");
  options.ExportProjection = 0;
  ASSERT_EQ(Convert(ConvertPoints, src, Base(dir, "jz")), 99999);
  const OgrLayer layer = ReadWithOgr(Shp(dir, "jz"));
  ASSERT_EQ(layer.fieldNames.size(), 10u);
  std::set<std::string> unique(layer.fieldNames.begin(), layer.fieldNames.end());
  EXPECT_EQ(unique.size(), 10u);
  EXPECT_FALSE(LogStartingWith("------W__[点权属代码]").empty());
  EXPECT_EQ(layer.features.size(), 95u);
}

TEST_F(ConvertLayers, PolygonArcsCarryTheirOwnSides) {
  const std::wstring src = dir.CopySample("frame/图框.WP");
  options.ExportProjection = 0;
  options.SymbolType = 2;
  ASSERT_EQ(Convert(ConvertPolygonArcs, src, Base(dir, "arcs")), 99999);
  EXPECT_TRUE(Logged("------I__增加MapGIS弧段拓扑字段"));
  const OgrLayer layer = ReadWithOgr(Shp(dir, "arcs"));
  ASSERT_FALSE(layer.features.empty());
  // The frame's live polygon (slot 2, its outer ring and its hole) lies on
  // the left of both arcs; the topology record of an arc is that of its own slot.
  ASSERT_EQ(layer.features.size(), 2u);
  for (const OgrFeature& f : layer.features) {
    EXPECT_EQ(f.values.at("VKT_LPOY"), "2");
    EXPECT_EQ(f.values.at("VKT_RPOY"), "0");
  }
}
