// Network files: arcs as lines, nodes as points with the node attribute
// table and the sub-picture style of the nodes that carry one.
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "LayerBuilder.h"
#include "MapGisCodePage.h"

using namespace testing_support;

namespace {

// A node's 94-byte parameter block: bytes 0 to 61 are bytes 31 to 92 of a
// point record (kind, transparency, parameters, colour at 44, layer at 52).
struct NodeParams {
  uint8_t kind = 1;
  int32_t number = 9;
  float height = 4.0f, width = 5.0f, angle = 0.0f;
  int16_t layer = 3;
};

Bytes ParamBlock(const NodeParams& p) {
  ByteBuilder b(94);
  b.U8(0, p.kind).I32(2, p.number).F32(6, p.height).F32(10, p.width).F32(14, p.angle).I16(52, p.layer);
  return b.Bytes();
}

Bytes IdRow(int32_t id) { return ByteBuilder(5).U8(0, 1).I32(1, id).Bytes(); }

// One line (two points) with attribute LINEID 42, and the given nodes (a
// null entry is a deleted node slot); node attribute NODEID = 100 + slot
// index unless `nodeAttributes` is false.
Bytes Network(const std::vector<const NodeParams*>& nodes, bool nodeAttributes = true) {
  DataArea data;
  const uint32_t run = data.AddRun({0, 0, 10, 5});
  std::vector<Bytes> records;
  std::vector<Bytes> rows;
  int32_t live = 0;
  for (size_t i = 0; i < nodes.size(); ++i) {
    const uint32_t at = data.AddBytes(ParamBlock(nodes[i] ? *nodes[i] : NodeParams{}));
    records.push_back(NodeRecord(nodes[i] ? 1 : 0, 100.0 + double(i), 200.0, at));
    rows.push_back(IdRow(100 + static_cast<int32_t>(i)));
    if (nodes[i]) ++live;
  }
  LayerBuilder b(4);
  b.Element(0, 1).Element(1, 2).Element(2, live).Element(3, static_cast<int32_t>(nodes.size()) + 1);
  b.Header().F64(91 + 153, 2.0);  // size factors do not apply to nodes
  b.Section(0, Table(57, {LineRecord(1, 2, run)}));
  b.Section(1, data.Get());
  b.Section(2, AttributeSection({{"LINEID", 3, 1, 4, 8, 0}}, 5, {IdRow(42)}));
  b.Section(4, Table(55, records));
  if (nodeAttributes) b.Section(5, AttributeSection({{"NODEID", 3, 1, 4, 8, 0}}, 5, rows));
  return b.Build();
}

std::wstring Base(const TempDir& dir, const std::string& name) { return Wide(dir.Path() / name); }
std::string Shp(const TempDir& dir, const std::string& name) { return (dir.Path() / (name + ".shp")).string(); }
double Num(const OgrFeature& f, const std::string& field) { return std::stod(f.values.at(field)); }

}  // namespace

class ConvertNetwork : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    options.ExportProjection = 0;
    options.CodePage = 1;
    sub45.angle = 45.0f;
    sub30.angle = 30.0f;
    plain.kind = 0;
    src = dir.Write("net.wn", Network({&sub45, nullptr, &plain, &sub30}));
  }
  long Nodes(const std::string& name) {
    host.lines.clear();
    return Convert(ConvertNetworkNodes, src, Base(dir, name));
  }

  NodeParams sub45, sub30, plain;
  std::wstring src;
};

TEST_F(ConvertNetwork, EveryLiveNodeIsWrittenWithTheNodeAttributes) {
  options.SymbolType = 3;
  options.RotateType = 1;
  ASSERT_EQ(Nodes("nodes"), 99999);
  EXPECT_TRUE(Logged("------I__文件未压缩存盘，请在mapgis软件下压缩存盘后再进行转换"));
  EXPECT_TRUE(Logged("------I__增加MapGIS图示表达参数字段"));
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(3/3)]"));
  const OgrLayer layer = ReadWithOgr(Shp(dir, "nodes"));
  ASSERT_EQ(layer.features.size(), 3u);
  EXPECT_EQ(layer.geometryType, "Point");
  // The deleted node stays deleted; rows follow the nodes written.
  EXPECT_EQ(layer.features[0].wkt, "POINT (100 200)");
  EXPECT_EQ(layer.features[1].wkt, "POINT (102 200)");
  EXPECT_EQ(layer.features[0].values.at("NODEID"), "100");
  EXPECT_EQ(layer.features[1].values.at("NODEID"), "102");
  EXPECT_EQ(layer.features[2].values.at("NODEID"), "103");
  EXPECT_EQ(layer.fieldTypes.count("LINEID"), 0u);
  // Mode 3 writes node angles as graphic angles.
  EXPECT_DOUBLE_EQ(Num(layer.features[0], "旋转角度"), 315.0);
  EXPECT_DOUBLE_EQ(Num(layer.features[2], "旋转角度"), 300.0);
  EXPECT_EQ(layer.features[0].values.at("子图号"), "9");
  EXPECT_EQ(layer.features[0].values.at("图层号"), "3");
  EXPECT_EQ(layer.features[0].values.at("透明输出"), "不透明");
  // Sizes are not scaled for nodes.
  EXPECT_DOUBLE_EQ(Num(layer.features[0], "子图宽度"), 5.0);
  // A node without a sub-picture keeps its style columns empty.
  for (const char* column : {"子图号", "旋转角度", "子图颜色", "透明输出"}) {
    EXPECT_TRUE(layer.features[1].isNull.at(column)) << column;
  }
}

TEST_F(ConvertNetwork, CodedModesWriteGeographicAnglesAndTheLegend) {
  options.RotateType = 1;
  for (int mode : {1, 4, 5}) {
    options.SymbolType = mode;
    const std::string name = "coded" + std::to_string(mode);
    const std::string column = mode == 1 ? "VKT_SYMBOL" : "VKT_LEGEND";
    ASSERT_EQ(Nodes(name), 99999);
    const OgrLayer layer = ReadWithOgr(Shp(dir, name));
    ASSERT_EQ(layer.features.size(), 3u);
    if (mode == 5) {
      EXPECT_TRUE(layer.features[0].isNull.at("VKT_ANGLE"));
      EXPECT_TRUE(layer.features[0].isNull.at(column));
    } else {
      EXPECT_DOUBLE_EQ(Num(layer.features[0], "VKT_ANGLE"), 45.0) << mode;
      EXPECT_DOUBLE_EQ(Num(layer.features[2], "VKT_ANGLE"), 60.0) << mode;
      // Same number, colour and sizes: one key.
      EXPECT_EQ(layer.features[0].values.at(column), layer.features[2].values.at(column));
      EXPECT_EQ(layer.features[0].values.at(column).substr(0, 4), "0009");
      EXPECT_TRUE(layer.features[1].isNull.at(column));
    }
    EXPECT_EQ(FileExists(dir.File(name + ".avl")), mode == 4) << mode;
  }
  // The raw mode writes the stored angle.
  options.SymbolType = 2;
  ASSERT_EQ(Nodes("raw"), 99999);
  const OgrLayer raw = ReadWithOgr(Shp(dir, "raw"));
  EXPECT_DOUBLE_EQ(Num(raw.features[0], "VKT_ANGLE"), 45.0);
  EXPECT_DOUBLE_EQ(Num(raw.features[0], "VKT_SHEIH"), 4.0);
  EXPECT_EQ(raw.features[0].values.at("VKT_SUBNO"), "9");
}

TEST_F(ConvertNetwork, NodesWithoutSubPicturesLeaveEveryStyleColumnEmpty) {
  const std::wstring plainNet = dir.Write("plain.wn", Network({&plain, &plain}));
  options.SymbolType = 2;
  ASSERT_EQ(Convert(ConvertNetworkNodes, plainNet, Base(dir, "plain")), 99999);
  const OgrLayer layer = ReadWithOgr(Shp(dir, "plain"));
  ASSERT_EQ(layer.features.size(), 2u);
  for (const OgrFeature& f : layer.features) {
    EXPECT_FALSE(f.isNull.at("NODEID"));
    for (const char* column : {"VKT_SUBNO", "VKT_SHEIH", "VKT_SWIDH", "VKT_ANGLE", "VKT_SCOLR", "VKT_LAYER",
                               "VKT_TRANS"}) {
      EXPECT_TRUE(f.isNull.at(column)) << column;
    }
  }
}

TEST_F(ConvertNetwork, ANetworkWithoutNodeAttributesStopsWithoutOutput) {
  const std::wstring bare = dir.Write("bare.wn", Network({&sub45}, false));
  EXPECT_EQ(Convert(ConvertNetworkNodes, bare, Base(dir, "bare")), -9980);
  EXPECT_TRUE(Logged("----结束转换[原文件错误-属性字段定义错误]"));
  for (const char* ext : {".shp", ".dbf", ".cpg"}) EXPECT_FALSE(FileExists(dir.File(std::string("bare") + ext)));
  // Its arcs still convert with their own table.
  EXPECT_EQ(Convert(ConvertNetworkArcs, bare, Base(dir, "arcs")), 99999);
  EXPECT_EQ(ReadWithOgr(Shp(dir, "arcs")).features.at(0).values.at("LINEID"), "42");
}

TEST_F(ConvertNetwork, ArcsAreConvertedAsLines) {
  for (int mode : {2, 4}) {
    options.SymbolType = mode;
    const std::string name = "arcs" + std::to_string(mode);
    host.lines.clear();
    ASSERT_EQ(Convert(ConvertNetworkArcs, src, Base(dir, name)), 99999);
    EXPECT_TRUE(Logged("----结束转换[全部正确转换(1/1)]"));
    const OgrLayer layer = ReadWithOgr(Shp(dir, name));
    ASSERT_EQ(layer.features.size(), 1u);
    EXPECT_EQ(layer.geometryType, "Line String");
    EXPECT_EQ(layer.features[0].wkt, "LINESTRING (0 0,10 5)");
    EXPECT_EQ(layer.features[0].values.at("LINEID"), "42");
    EXPECT_EQ(layer.fieldTypes.count("NODEID"), 0u);
    if (mode == 2) {
      EXPECT_EQ(layer.features[0].values.at("VKT_LTYPE"), "0");
    }
    EXPECT_EQ(FileExists(dir.File(name + ".avl")), mode == 4);
  }
}

TEST_F(ConvertNetwork, OtherLayerKindsAreRefused) {
  LayerBuilder points(1);
  points.Element(0, 1).Element(1, 2);
  points.Section(0, Table(93, {PointRecord(1, 1, 1)})).Section(1, Bytes(2, 0));
  points.Section(2, AttributeSection({{"ID", 3, 1, 4, 8, 0}}, 5, {IdRow(1)}));
  const std::wstring pointFile = dir.Write("p.wt", points.Build());
  EXPECT_EQ(Convert(ConvertNetworkArcs, pointFile, Base(dir, "a")), -9997);
  EXPECT_EQ(Convert(ConvertNetworkNodes, pointFile, Base(dir, "b")), -9997);
  EXPECT_EQ(LogStartingWith("----结束转换[原文件错误-几何类型错误]").size(), 2u);
  // And a network is no point file.
  EXPECT_EQ(Convert(ConvertSubPictures, src, Base(dir, "c")), -9997);
  EXPECT_FALSE(FileExists(dir.File("a.shp")));
}
