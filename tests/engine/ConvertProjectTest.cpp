// Projects converted into an index of their layers' extents with the .CSV
// that maps index numbers to the resolved layer files.
#include <cstring>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "LayerBuilder.h"
#include "MapGisCodePage.h"

using namespace testing_support;

namespace {

struct Item {
  int8_t kind;
  std::string name;  // GBK
  std::string desc;  // GBK
  double displayMin = 0.0, displayMax = 0.0;
};

// A project file: magic and version, the header at 12 (item count, item
// table offset at 738, projection at 804, description at 973), items of
// 400 bytes from 1113.
Bytes ProjectFile(const std::vector<Item>& items, const std::string& desc = "", int8_t coordType = 0,
                  double scale = 1.0) {
  ByteBuilder b(1113 + 400 * items.size());
  b.Text(0, "WMAP`D2:").I32(8, 9);
  b.I16(12, static_cast<int16_t>(items.size())).I32(12 + 738, 1113);
  if (coordType != 0) {
    // Gauss-Kruger on Beijing 1954 in millimetres, as the layer tests use.
    b.Put<int8_t>(12 + 804, coordType).Put<int8_t>(12 + 805, 2).Put<int8_t>(12 + 822, 5).Put<int8_t>(12 + 823, 2);
    b.F64(12 + 804 + 60, 1170000.0);
  }
  b.F64(12 + 804 + 52, scale);
  b.Text(12 + 973, desc);
  for (size_t i = 0; i < items.size(); ++i) {
    const size_t o = 1113 + 400 * i;
    b.Put<int8_t>(o, items[i].kind).Text(o + 2, items[i].name).Text(o + 130, items[i].desc);
    b.F64(o + 324, items[i].displayMin).F64(o + 332, items[i].displayMax);
  }
  return b.Bytes();
}

// A line file with one live line (or none) and the given extent.
Bytes LineLayer(double xmin, double ymin, double xmax, double ymax, bool empty = false) {
  DataArea data;
  const uint32_t run = data.AddRun({xmin, ymin, xmax, ymax});
  LayerBuilder b(0);
  b.Element(0, empty ? 0 : 1).Element(1, 2).Extent(xmin, ymin, xmax, ymax);
  b.Section(0, Table(57, {LineRecord(empty ? 0 : 1, 2, run)}));
  b.Section(1, data.Get());
  b.Section(2, AttributeSection({{"ID", 3, 1, 4, 8, 0}}, 5, {ByteBuilder(5).Bytes()}));
  return b.Build();
}

// A point file with one live point and the given extent.
Bytes PointLayer(double xmin, double ymin, double xmax, double ymax) {
  LayerBuilder b(1);
  b.Element(0, 1).Element(1, 2).Extent(xmin, ymin, xmax, ymax);
  b.Section(0, Table(93, {PointRecord(1, xmin, ymin)})).Section(1, Bytes(2, 0));
  b.Section(2, AttributeSection({{"ID", 3, 1, 4, 8, 0}}, 5, {ByteBuilder(5).Bytes()}));
  return b.Build();
}

std::wstring Base(const TempDir& dir, const std::string& name) { return Wide(dir.Path() / name); }
std::string Shp(const TempDir& dir, const std::string& name) { return (dir.Path() / (name + ".shp")).string(); }
std::string Text(const std::filesystem::path& p) {
  const Bytes b = ReadAll(p);
  return std::string(b.begin(), b.end());
}
std::string Utf8Path(const std::filesystem::path& p) { return p.u8string(); }

const std::string kJia = "\xBC\xD7";   // 甲
const std::string kYi = "\xD2\xD2";    // 乙
const std::string kBing = "\xB1\xFB";  // 丙

}  // namespace

class ConvertProject : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    options.ExportProjection = 0;
  }
};

TEST_F(ConvertProject, ThreeItemsWithTheSecondMissing) {
  dir.Write("a.WL", LineLayer(0, 0, 10, 10));
  dir.Write("c.WT", PointLayer(20, 5, 30, 40));
  const std::wstring src = dir.Write(
      "p.MPJ", ProjectFile({{0, ".\\a.WL", kJia + " " + kYi, 100, 5000}, {0, ".\\b.WL", "", 1, 2}, {1, "C.wt", kBing}},
                           "\xB9\xA4\xB3\xCC"));  // 工程
  ASSERT_EQ(Convert(ConvertProjectIndex, src, Base(dir, "idx")), 99999);
  EXPECT_TRUE(Logged("------I__增加MapGIS图层属性字段"));
  EXPECT_TRUE(Logged("------I__输出结果文件[" + MapGis::WideToUtf8(Base(dir, "idx")) + ".shp]"));
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(2/3)]"));

  const OgrLayer layer = ReadWithOgr(Shp(dir, "idx"));
  ASSERT_EQ(layer.features.size(), 3u);
  EXPECT_EQ(layer.geometryType, "Polygon");
  const OgrFeature& a = layer.features[0];
  const OgrFeature& c = layer.features[1];
  const OgrFeature& project = layer.features[2];
  EXPECT_EQ(a.values.at("MatchID"), "0");
  EXPECT_EQ(c.values.at("MatchID"), "2");
  EXPECT_EQ(project.values.at("MatchID"), "3");
  EXPECT_EQ(a.values.at("DispOrder"), "0");
  EXPECT_EQ(c.values.at("DispOrder"), "1");
  EXPECT_EQ(project.values.at("DispOrder"), "1");
  EXPECT_EQ(a.values.at("DataType"), ".WL");
  EXPECT_EQ(c.values.at("DataType"), ".WT");
  EXPECT_EQ(project.values.at("DataType"), ".MPJ");
  EXPECT_EQ(a.values.at("DataName"), "a.WL");
  EXPECT_EQ(c.values.at("DataName"), "c.WT");
  EXPECT_EQ(project.values.at("DataName"), "idx");
  EXPECT_EQ(a.values.at("DataDesc"), "甲");
  EXPECT_EQ(c.values.at("DataDesc"), "丙");
  EXPECT_EQ(project.values.at("DataDesc"), "工程");
  EXPECT_DOUBLE_EQ(std::stod(a.values.at("DispMin")), 100.0);
  EXPECT_DOUBLE_EQ(std::stod(a.values.at("DispMax")), 5000.0);
  EXPECT_EQ(a.values.at("State"), "1");
  EXPECT_DOUBLE_EQ(std::stod(a.values.at("Scale")), 1.0);
  EXPECT_DOUBLE_EQ(std::stod(project.values.at("Scale")), 1.0);
  for (const char* empty : {"DispMin", "DispMax", "State"}) EXPECT_TRUE(project.isNull.at(empty)) << empty;
  EXPECT_EQ(a.values.at("DataName2"), "");
  EXPECT_EQ(a.values.at("Tag"), "");

  // Clockwise closed rectangles; the project's covers both layers.
  EXPECT_EQ(a.wkt, "POLYGON ((0 0,0 10,10 10,10 0,0 0))");
  EXPECT_EQ(c.wkt, "POLYGON ((20 5,20 40,30 40,30 5,20 5))");
  EXPECT_EQ(project.wkt, "POLYGON ((0 0,0 40,30 40,30 0,0 0))");
  EXPECT_TRUE(project.valid);

  EXPECT_EQ(Text(dir.File("idx.CSV")), "MatchID,FullPath\n0," + Utf8Path(dir.File("a.WL")) + "\n2," +
                                           Utf8Path(dir.File("c.WT")) + "\n3," + Utf8Path(dir.File("p.MPJ")) + "\n");
  EXPECT_EQ(host.progress.back(), 100);
}

TEST_F(ConvertProject, RealProjectsResolveTheirWindowsNames) {
  for (const char* f : {"JZ.WT", "JZ.WL", "JZ-FINAL.WL", "I486732TK.WL", "I486732TK.WT", "i486732jz1.MPJ",
                        "i486732jz.MPJ"}) {
    dir.CopySample(std::string("jz-project/") + f);
  }
  ASSERT_EQ(Convert(ConvertProjectIndex, Wide(dir.File("i486732jz1.MPJ")), Base(dir, "all")), 99999);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(4/4)]"));
  const OgrLayer all = ReadWithOgr(Shp(dir, "all"));
  ASSERT_EQ(all.features.size(), 5u);
  EXPECT_EQ(all.features[0].values.at("DataName"), "JZ.WT");
  EXPECT_EQ(all.features[1].values.at("DataName"), "I486732TK.WL");
  EXPECT_EQ(all.features[0].values.at("DataDesc"), "NULL");
  // The project row spans every layer's extent.
  EXPECT_NE(all.features[4].wkt.find("-7.75239094939742 -40.5105924794653"), std::string::npos) << all.features[4].wkt;
  EXPECT_EQ(Text(dir.File("all.CSV")),
            "MatchID,FullPath\n0," + Utf8Path(dir.File("JZ.WT")) + "\n1," + Utf8Path(dir.File("I486732TK.WL")) +
                "\n2," + Utf8Path(dir.File("I486732TK.WT")) + "\n3," + Utf8Path(dir.File("JZ.WL")) + "\n4," +
                Utf8Path(dir.File("i486732jz1.MPJ")) + "\n");

  ASSERT_EQ(Convert(ConvertProjectIndex, Wide(dir.File("i486732jz.MPJ")), Base(dir, "some")), 99999);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(3/4)]"));
  const OgrLayer some = ReadWithOgr(Shp(dir, "some"));
  ASSERT_EQ(some.features.size(), 4u);
  EXPECT_EQ(some.features[0].values.at("MatchID"), "0");
  EXPECT_EQ(some.features[1].values.at("MatchID"), "2");
  EXPECT_EQ(some.features[3].values.at("MatchID"), "4");
  EXPECT_EQ(Text(dir.File("some.CSV")).find("JZ2"), std::string::npos);
}

TEST_F(ConvertProject, NamesWithWrongCaseDriveLettersAndParentFolders) {
  std::filesystem::create_directories(dir.File("maps/proj"));
  std::filesystem::create_directories(dir.File("maps/Data"));
  dir.Write("maps/Data/Roads.WL", LineLayer(0, 0, 1, 1));
  dir.Write("maps/proj/LAKES.WL", LineLayer(0, 0, 2, 2));
  dir.Write("maps/proj/图例.WL", LineLayer(0, 0, 3, 3));
  const std::wstring src = dir.Write(
      "maps/proj/p.MPJ", ProjectFile({{0, "..\\data\\roads.wl", ""},
                                      {0, "D:\\maps\\lakes.wl", ""},
                                      {0, ".\\\xCD\xBC\xC0\xFD.WL", ""}}));  // .\图例.WL in GBK
  ASSERT_EQ(Convert(ConvertProjectIndex, src, Base(dir, "maps/idx")), 99999);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(3/3)]"));
  const OgrLayer layer = ReadWithOgr(Shp(dir, "maps/idx"));
  ASSERT_EQ(layer.features.size(), 4u);
  EXPECT_EQ(layer.features[0].values.at("DataName"), "Roads.WL");
  EXPECT_EQ(layer.features[1].values.at("DataName"), "LAKES.WL");
  EXPECT_EQ(layer.features[2].values.at("DataName"), "图例.WL");
  const std::string csv = Text(dir.File("maps/idx.CSV"));
  EXPECT_NE(csv.find("\n0," + Utf8Path(dir.File("maps/Data/Roads.WL")) + "\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\n1," + Utf8Path(dir.File("maps/proj/LAKES.WL")) + "\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\n2," + Utf8Path(dir.File("maps/proj/图例.WL")) + "\n"), std::string::npos) << csv;
}

TEST_F(ConvertProject, CsvFollowsTheTableEncodingAndQuotesCommas) {
  dir.Write("路,网.WL", LineLayer(0, 0, 1, 1));
  const std::wstring src = dir.Write("p.MPJ", ProjectFile({{0, ".\\\xC2\xB7,\xCD\xF8.WL", ""}}));  // 路,网.WL
  const std::string quoted = "0,\"" + Utf8Path(dir.File("路,网.WL")) + "\"\n";

  ASSERT_EQ(Convert(ConvertProjectIndex, src, Base(dir, "utf")), 99999);
  EXPECT_NE(Text(dir.File("utf.CSV")).find(quoted), std::string::npos) << Text(dir.File("utf.CSV"));

  options.CodePage = 1;
  ASSERT_EQ(Convert(ConvertProjectIndex, src, Base(dir, "gbk")), 99999);
  const std::string gbk = Text(dir.File("gbk.CSV"));
  EXPECT_EQ(gbk.find("路"), std::string::npos) << "not GBK";
  EXPECT_NE(MapGis::AnsiToUtf8(gbk).find(quoted), std::string::npos) << MapGis::AnsiToUtf8(gbk);
  EXPECT_EQ(ReadWithOgr(Shp(dir, "gbk")).features.at(0).values.at("DataName"), "路,网.WL");
}

TEST_F(ConvertProject, AProjectWithoutLayerRowsHasANullProjectShape) {
  dir.Write("empty.WL", LineLayer(0, 0, 5, 5, true));
  const std::wstring src = dir.Write("p.MPJ", ProjectFile({{0, "gone.WL", ""}, {0, "empty.WL", ""}}));
  options.ExportEmptyFile = 1;
  ASSERT_EQ(Convert(ConvertProjectIndex, src, Base(dir, "kept")), 10);
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(0/2)]"));
  const OgrLayer layer = ReadWithOgr(Shp(dir, "kept"));
  ASSERT_EQ(layer.features.size(), 1u);
  EXPECT_EQ(layer.features[0].wkt, "");
  EXPECT_EQ(layer.features[0].values.at("MatchID"), "2");

  options.ExportEmptyFile = 0;
  ASSERT_EQ(Convert(ConvertProjectIndex, src, Base(dir, "gone")), 10);
  EXPECT_TRUE(Logged("------I__转换结果为空文件,已被删除！"));
  // The whole result goes, its index text too.
  for (const char* ext : {".shp", ".shx", ".dbf", ".cpg", ".CSV"}) {
    EXPECT_FALSE(FileExists(dir.File(std::string("gone") + ext)));
  }
}

TEST_F(ConvertProject, AProjectThatCannotBeLoadedStopsWithItsStatus) {
  Bytes wrongVersion = ProjectFile({{0, "a.WL", ""}});
  wrongVersion[8] = 8;
  EXPECT_EQ(Convert(ConvertProjectIndex, dir.Write("v8.MPJ", wrongVersion), Base(dir, "v8")), -9997);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-非MapGis文件]"));
  for (const char* ext : {".shp", ".dbf", ".CSV"}) EXPECT_FALSE(FileExists(dir.File(std::string("v8") + ext)));

  EXPECT_EQ(Convert(ConvertProjectIndex, Base(dir, "missing.MPJ"), Base(dir, "missing")), -9996);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-文件打开失败]"));

  // An item table beyond the end of the file.
  Bytes cut = ProjectFile({{0, "a.WL", ""}, {0, "b.WL", ""}});
  cut.resize(1113 + 400);
  EXPECT_EQ(Convert(ConvertProjectIndex, dir.Write("cut.MPJ", cut), Base(dir, "cut")), -9983);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-文件读取失败]"));
  EXPECT_FALSE(FileExists(dir.File("cut.CSV")));
}

TEST_F(ConvertProject, ProjectionOutputScalesTheRectangles) {
  dir.Write("a.WL", LineLayer(1, 2, 3, 4));
  const std::wstring plain = dir.Write("plain.MPJ", ProjectFile({{0, "a.WL", ""}}));
  options.ExportProjection = 1;
  EXPECT_EQ(Convert(ConvertProjectIndex, plain, Base(dir, "noprj")), -9978);
  EXPECT_TRUE(Logged("------E__待转换文件无投影信息"));
  EXPECT_FALSE(FileExists(dir.File("noprj.shp")));

  const std::wstring projected = dir.Write("prj.MPJ", ProjectFile({{0, "a.WL", ""}}, "", 3, 1000.0));
  ASSERT_EQ(Convert(ConvertProjectIndex, projected, Base(dir, "prj")), 99999);
  EXPECT_TRUE(Logged("------I__输出投影文件[" + MapGis::WideToUtf8(Base(dir, "prj")) + ".prj]"));
  EXPECT_TRUE(FileExists(dir.File("prj.prj")));
  const OgrLayer layer = ReadWithOgr(Shp(dir, "prj"));
  ASSERT_EQ(layer.features.size(), 2u);
  EXPECT_EQ(layer.features[0].wkt, "POLYGON ((1000 2000,1000 4000,3000 4000,3000 2000,1000 2000))");
  EXPECT_DOUBLE_EQ(std::stod(layer.features[0].values.at("Scale")), 1000.0);
}
