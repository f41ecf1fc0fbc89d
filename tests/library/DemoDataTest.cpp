// The demo data set read back through the library: every file opens, and the
// records, texts, polygons, topology, network nodes, attribute values, the
// project and the colour library hold what the town map is meant to show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DemoData.h"
#include "MapGis.h"
#include "TempDir.h"

using namespace MapGis;
using testing_support::ReadAll;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

namespace fs = std::filesystem;
using GeometryPtr = std::unique_ptr<Geometry, void (*)(Geometry*)>;

GeometryPtr NewGeometry() { return GeometryPtr(CreateGeometry(), DestroyGeometry); }

// Packed members are copied before gtest binds them to references.
template <class T>
T Val(T v) {
  return v;
}

std::string Utf8(const char* gbk) { return gbk ? AnsiToUtf8(gbk) : std::string("(null)"); }

float FloatAt(const void* record, size_t offset) {
  float f;
  std::memcpy(&f, static_cast<const uint8_t*>(record) + offset, sizeof f);
  return f;
}

// Every regular file under `root`, as relative UTF-8 paths.
std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) files.insert(fs::relative(e.path(), root).u8string());
  }
  return files;
}

const std::set<std::string> kDemoFiles = {"Pcolor.lib", "demo.MPJ", "landuse.WP",  "parcels.WB",
                                          "pipes.WN",   "roads.WL", "sub/河流.WL", "地名注记.WT"};

class DemoDataTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    std::string error;
    generated_ = demo::GenerateDemoData(dir_->Path(), &error);
    EXPECT_TRUE(generated_) << error;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(generated_); }

  static std::wstring PathOf(const std::string& name) { return Wide(dir_->File(name)); }

  // Opens a layer of the set with the fast reader.
  static void Open(MapGis_FastReader& r, const std::string& name) {
    ASSERT_EQ(r.Open(PathOf(name).c_str()), MAPGIS_OK) << name;
  }

  static std::wstring FieldName(MapGis_FastReader& r, int i) {
    wchar_t name[32] = {0};
    r.GetFieldInfo(i, name, nullptr, nullptr, nullptr);
    return name;
  }

  static TempDir* dir_;
  static bool generated_;
};

TempDir* DemoDataTest::dir_ = nullptr;
bool DemoDataTest::generated_ = false;

TEST_F(DemoDataTest, GeneratesTheSameBytesOnEveryRun) {
  TempDir other;
  std::string error;
  ASSERT_TRUE(demo::GenerateDemoData(other.Path(), &error)) << error;
  // A second run into the same folder replaces the files with equal ones.
  ASSERT_TRUE(demo::GenerateDemoData(other.Path(), &error)) << error;
  EXPECT_EQ(FilesUnder(dir_->Path()), kDemoFiles);
  EXPECT_EQ(FilesUnder(other.Path()), kDemoFiles);
  for (const std::string& name : kDemoFiles) {
    const auto a = ReadAll(dir_->File(name));
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_TRUE(a == ReadAll(other.File(name))) << name << " differs between runs";
  }
}

TEST_F(DemoDataTest, EveryLayerOpensWithTheTownProjectionAndExtent) {
  const std::map<std::string, int> layers = {{"地名注记.WT", 1}, {"roads.WL", 0}, {"sub/河流.WL", 0},
                                             {"landuse.WP", 2},  {"pipes.WN", 4}, {"parcels.WB", 7}};
  for (const auto& [name, type] : layers) {
    SCOPED_TRACE(name);
    MapGis_FastReader r;
    Open(r, name);
    EXPECT_EQ(r.GetShapeType(), type);
    MAP_PARAstruct p;
    EXPECT_EQ(r.GetProjectionInfo(&p), 3);
    EXPECT_EQ(Val(p.unit), 2);
    EXPECT_EQ(Val(p.projType), 5);
    EXPECT_EQ(Val(p.ellipsoid), 2);
    EXPECT_EQ(Val(p.scale), 1.0);
    EXPECT_EQ(Val(p.centralMeridian), 1170000.0);
    EXPECT_EQ(Val(p.sizeFactorX), 1.0);
    EXPECT_EQ(Val(p.sizeFactorY), 1.0);
    if (type == 7) continue;
    // Gauss-Kruger zone 39 with its zone number in the easting.
    double x0, y0, x1, y1;
    r.GetExtentInfo(&x0, &y0, &x1, &y1);
    EXPECT_GE(x0, 39500000.0);
    EXPECT_LE(x1, 39502000.0);
    EXPECT_GE(y0, 3500000.0);
    EXPECT_LE(y1, 3501500.0);
    EXPECT_LT(x0, x1);
    EXPECT_LT(y0, y1);
  }
}

TEST_F(DemoDataTest, AnnotationsCarryTheirKindsTextsAndFonts) {
  MapGis_FastReader r;
  Open(r, "地名注记.WT");
  int slots = -1;
  ASSERT_EQ(r.GetPointCount(&slots), 10);
  ASSERT_EQ(slots, 10);
  struct Expected {
    int kind;
    const char* text;
    int chFont;
    int colour;
  };
  const Expected want[] = {
      {0, "示范镇", 3, 2},
      {0, "文化路", 1, 1},
      {0, "H#-2#=O储量120m#+3#=", 4, 4},
      {0, "/0312/12.5/", 1, 1},
      {0, nullptr, 3, 1},
      {5, "本图数据由示范数据生成器产生，仅供测试使用。", 4, 299},
      {5, "图例说明", 3, 1},
      {1, "", 0, 2},
      {1, "", 0, 297},
      {1, "", 0, 4},
  };
  std::set<int> chineseFonts;
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    MAPGIS_PntInfo p;
    GeometryPtr g = NewGeometry();
    ASSERT_EQ(r.ReadPointInfo(i, &p, g.get()), MAPGIS_OK);
    EXPECT_EQ(Val(p.kind), want[i].kind);
    EXPECT_EQ(Val(p.color), want[i].colour);
    EXPECT_EQ(g->padfX[0], Val(p.x));
    char text[260] = {0};
    ASSERT_EQ(r.GetNoteInfo(i, text), MAPGIS_OK);
    if (want[i].text) {
      EXPECT_EQ(Utf8(text), want[i].text);
    }
    if (p.kind != 1) {
      EXPECT_EQ(Val(p.param.note.chFont), want[i].chFont);
      EXPECT_GT(Val(p.param.note.height), 0.0f);
      chineseFonts.insert(Val(p.param.note.chFont));
    }
  }
  EXPECT_EQ(chineseFonts, (std::set<int>{1, 3, 4}));

  // Text in code page 936, not UTF-8.
  char text[260] = {0};
  ASSERT_EQ(r.GetNoteInfo(0, text), MAPGIS_OK);
  EXPECT_STREQ(text, "\xCA\xBE\xB7\xB6\xD5\xF2");

  // The long note: 304 bytes stored, the reader's first 259 returned.
  MAPGIS_PntInfo p;
  ASSERT_EQ(r.ReadPointInfo(4, &p, nullptr), MAPGIS_OK);
  EXPECT_EQ(Val(p.textLength), 304);
  std::memset(text, 0, sizeof text);
  ASSERT_EQ(r.GetNoteInfo(4, text), MAPGIS_OK);
  EXPECT_EQ(std::strlen(text), 259u);
  EXPECT_EQ(std::string(text),
            Utf8ToAnsi("说明：本示范图为城镇土地利用现状示意，图中道路、河流、管线、地类界线及注记均为虚构数据，"
                       "仅用于检验MapGIS数据转换程序对长注记文字的处理。坐标系统为1980西安坐标系，高斯-克吕格投影，"
                       "三度分带，中央经线东经117度，坐标单位为米。注记文字超过二百五十四个字节时，"
                       "转换结果只保留前二百五十个字节并在末尾加上省略号。")
                .substr(0, 259));

  // An italic street name turned along its road.
  ASSERT_EQ(r.ReadPointInfo(1, &p, nullptr), MAPGIS_OK);
  EXPECT_EQ(Val(p.param.note.fontStyle), 1);
  EXPECT_EQ(Val(p.param.note.angle), 53.0f);

  // Text blocks: block width and height at 58 and 62, alignment at 66.
  ASSERT_EQ(r.ReadPointInfo(5, &p, nullptr), MAPGIS_OK);
  EXPECT_EQ(FloatAt(&p, 58), 60.0f);
  EXPECT_EQ(FloatAt(&p, 62), 20.0f);
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(&p)[66], 0);
  ASSERT_EQ(r.ReadPointInfo(6, &p, nullptr), MAPGIS_OK);
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(&p)[66], 1);

  // Sub-pictures with number, size and angle.
  ASSERT_EQ(r.ReadPointInfo(8, &p, nullptr), MAPGIS_OK);
  EXPECT_EQ(Val(p.param.sub.subNumber), 35);
  EXPECT_EQ(Val(p.param.sub.height), 8.0f);
  EXPECT_EQ(Val(p.param.sub.width), 5.0f);
  EXPECT_EQ(Val(p.param.sub.angle), 45.0f);
  ASSERT_EQ(r.ReadPointInfo(9, &p, nullptr), MAPGIS_OK);
  EXPECT_EQ(Val(p.param.sub.subNumber), 101);
  EXPECT_EQ(Val(p.param.sub.angle), 120.0f);
  EXPECT_EQ(Val(p.transparent), 0);

  // Attributes with Chinese field names, one over 10 bytes.
  ASSERT_EQ(r.GetFieldCount(), 3);
  ASSERT_EQ(r.GetRecordCount(), 10);
  EXPECT_EQ(FieldName(r, 0), L"名称");
  EXPECT_EQ(FieldName(r, 1), L"注记要素编码");
  EXPECT_EQ(r.GetFieldIndex(L"类别"), 2);
  EXPECT_EQ(Utf8(r.ReadStringAttribute(0, 0)), "示范镇");
  EXPECT_EQ(Utf8(r.ReadStringAttribute(8, 0)), "镇卫生院");
  EXPECT_EQ(r.ReadLongAttribute(8, 1), 210201);
  EXPECT_EQ(r.ReadShortAttribute(9, 2), 6);
}

TEST_F(DemoDataTest, RoadsHaveLineStylesAndAttributes) {
  MapGis_FastReader r;
  Open(r, "roads.WL");
  int slots = -1;
  ASSERT_EQ(r.GetArcCount(&slots), 6);
  ASSERT_EQ(slots, 6);
  std::set<int> lineTypes, colours;
  for (int i = 0; i < 6; ++i) {
    MAPGIS_LineInfo l;
    GeometryPtr g = NewGeometry();
    ASSERT_EQ(r.ReadArcInfo(i, &l, g.get()), MAPGIS_OK);
    lineTypes.insert(Val(l.lineType));
    colours.insert(Val(l.color));
    // The stored length is the length of the line as read back.
    double length = 0;
    for (int v = 1; v < g->nVertices; ++v) {
      length += std::hypot(g->padfX[v] - g->padfX[v - 1], g->padfY[v] - g->padfY[v - 1]);
    }
    EXPECT_DOUBLE_EQ(r.ReadDoubleAttribute(i, 4), length) << i;
    EXPECT_EQ(r.ReadLongAttribute(i, 0), i + 1);
  }
  EXPECT_EQ(lineTypes, (std::set<int>{1, 2, 3, 5, 9}));
  EXPECT_EQ(colours, (std::set<int>{1, 2, 297, 298}));

  MAPGIS_LineInfo l;
  GeometryPtr g = NewGeometry();
  ASSERT_EQ(r.ReadArcInfo(2, &l, g.get()), MAPGIS_OK);
  EXPECT_EQ(Val(l.width), 0.8f);
  ASSERT_EQ(g->nVertices, 3);
  EXPECT_EQ(g->padfX[1], 39501400.0);
  EXPECT_EQ(g->padfY[1], 3501300.0);

  ASSERT_EQ(r.GetFieldCount(), 7);
  EXPECT_EQ(FieldName(r, 1), L"道路名称");
  EXPECT_EQ(Utf8(r.ReadStringAttribute(2, 1)), "文化路");
  EXPECT_EQ(r.ReadShortAttribute(2, 2), 3);
  EXPECT_EQ(r.ReadFloatAttribute(2, 3), 12.0f);
  EXPECT_EQ(r.ReadDoubleAttribute(2, 4), 1000.0);
  const DATE_STRUstruct d = r.ReadDateAttribute(2, 5);
  EXPECT_EQ(Val(d.year), 2010);
  EXPECT_EQ(Val(d.month), 12);
  EXPECT_EQ(Val(d.day), 31);
  EXPECT_TRUE(r.ReadBoolAttribute(4, 6));
  EXPECT_FALSE(r.ReadBoolAttribute(3, 6));

  MapGis_FastReader river;
  Open(river, "sub/河流.WL");
  EXPECT_EQ(river.GetArcCount(nullptr), 2);
  EXPECT_EQ(Utf8(river.ReadStringAttribute(0, 0)), "清水河");
}

// The rings of an assembled polygon.
std::vector<std::vector<Point2D>> Rings(const Geometry* g) {
  std::vector<std::vector<Point2D>> rings;
  for (int p = 0; p < g->nParts; ++p) {
    const int s = g->panPartStart[p];
    const int e = p + 1 < g->nParts ? g->panPartStart[p + 1] : g->nVertices;
    std::vector<Point2D> ring;
    for (int v = s; v < e; ++v) ring.push_back({g->padfX[v], g->padfY[v]});
    rings.push_back(ring);
  }
  return rings;
}

double RingArea(const std::vector<Point2D>& ring) {
  double a = 0;
  for (size_t i = 0; i + 1 < ring.size(); ++i) a += ring[i].x * ring[i + 1].y - ring[i + 1].x * ring[i].y;
  return std::fabs(a) / 2;
}

// Even-odd test over every ring, so a point in a hole is outside.
bool Inside(const std::vector<std::vector<Point2D>>& rings, double x, double y) {
  bool in = false;
  for (const auto& ring : rings) {
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
      if ((ring[i].y > y) != (ring[j].y > y) &&
          x < (ring[j].x - ring[i].x) * (y - ring[i].y) / (ring[j].y - ring[i].y) + ring[i].x) {
        in = !in;
      }
    }
  }
  return in;
}

// True when the points of `run` follow each other in one ring, either way.
bool HasRun(const std::vector<std::vector<Point2D>>& rings, std::vector<Point2D> run) {
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& ring : rings) {
      for (size_t s = 0; s + run.size() <= ring.size(); ++s) {
        bool all = true;
        for (size_t k = 0; k < run.size() && all; ++k) all = ring[s + k].x == run[k].x && ring[s + k].y == run[k].y;
        if (all) return true;
      }
    }
    std::reverse(run.begin(), run.end());
  }
  return false;
}

TEST_F(DemoDataTest, LandUsePolygonsShareArcsAndKnowTheirNeighbours) {
  MapGis_FastReader r;
  Open(r, "landuse.WP");
  int lineSlots = -1, polygonSlots = -1;
  ASSERT_EQ(r.GetArcCount(&lineSlots), 7);
  ASSERT_EQ(r.GetPolygonCount(&polygonSlots), 4);
  ASSERT_EQ(lineSlots, 7);
  ASSERT_EQ(polygonSlots, 4);

  std::vector<std::vector<std::vector<Point2D>>> polygons;
  const int fills[] = {117, 57, 192, 17};
  const int patterns[] = {12, 0, 35, 2};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    MAPGIS_RegInfo reg;
    GeometryPtr g = NewGeometry();
    ASSERT_EQ(r.ReadPolygonInfo(i, &reg, g.get()), MAPGIS_OK);
    EXPECT_EQ(Val(reg.fillColor), fills[i]);
    EXPECT_EQ(Val(reg.pattern), patterns[i]);
    polygons.push_back(Rings(g.get()));
    for (const auto& ring : polygons.back()) {
      ASSERT_GE(ring.size(), 4u);
      EXPECT_EQ(ring.front().x, ring.back().x);  // rings close on their own arcs
      EXPECT_EQ(ring.front().y, ring.back().y);
    }
  }
  // The farmland has the pond as its hole; the others are single rings.
  ASSERT_EQ(polygons[0].size(), 2u);
  EXPECT_EQ(polygons[1].size(), 1u);
  EXPECT_EQ(polygons[2].size(), 1u);
  EXPECT_EQ(polygons[3].size(), 1u);

  // Polygon attributes: the stored area and perimeter are those of the
  // rings read back (holes subtracted from the area).
  ASSERT_EQ(r.GetFieldCount(), 6);
  EXPECT_EQ(FieldName(r, 3), L"地类名称");
  for (int i = 0; i < 4; ++i) {
    double area = 0, perimeter = 0;
    for (size_t k = 0; k < polygons[i].size(); ++k) {
      area += (k == 0 ? 1 : -1) * RingArea(polygons[i][k]);
      const auto& ring = polygons[i][k];
      for (size_t v = 1; v < ring.size(); ++v)
        perimeter += std::hypot(ring[v].x - ring[v - 1].x, ring[v].y - ring[v - 1].y);
    }
    EXPECT_DOUBLE_EQ(r.ReadDoubleAttribute(i, 1), area) << i;
    EXPECT_DOUBLE_EQ(r.ReadDoubleAttribute(i, 2), perimeter) << i;
  }
  EXPECT_EQ(Utf8(r.ReadStringAttribute(3, 3)), "坑塘水面");
  EXPECT_EQ(r.ReadShortAttribute(1, 4), 702);

  // Every arc: the polygons named left and right lie on those sides of it,
  // and the arc's points appear in both neighbours' rings.
  std::set<int> shared;
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    GeometryPtr g = NewGeometry();
    ASSERT_EQ(r.ReadArcInfo(i, nullptr, g.get()), MAPGIS_OK);
    MAPGIS_Topology t;
    ASSERT_EQ(r.GetTopoInfo(i + 1, &t), MAPGIS_OK);  // the arc's own slot
    const double dx = g->padfX[1] - g->padfX[0], dy = g->padfY[1] - g->padfY[0];
    const double len = std::hypot(dx, dy);
    const double mx = (g->padfX[0] + g->padfX[1]) / 2, my = (g->padfY[0] + g->padfY[1]) / 2;
    auto polygonAt = [&](double x, double y) {
      int found = 0;
      for (int k = 0; k < 4; ++k) {
        if (Inside(polygons[static_cast<size_t>(k)], x, y)) {
          EXPECT_EQ(found, 0) << "polygons overlap";
          found = k + 1;
        }
      }
      return found;
    };
    EXPECT_EQ(Val(t.leftPolygon), polygonAt(mx - dy / len, my + dx / len));
    EXPECT_EQ(Val(t.rightPolygon), polygonAt(mx + dy / len, my - dx / len));
    std::vector<Point2D> run;
    for (int v = 0; v < g->nVertices; ++v) run.push_back({g->padfX[v], g->padfY[v]});
    for (int32_t side : {Val(t.leftPolygon), Val(t.rightPolygon)}) {
      if (side > 0) {
        EXPECT_TRUE(HasRun(polygons[static_cast<size_t>(side - 1)], run)) << "polygon " << side;
      }
    }
    if (t.leftPolygon > 0 && t.rightPolygon > 0) shared.insert(i + 1);
  }
  EXPECT_EQ(shared, (std::set<int>{2, 3, 5, 7}));
  MAPGIS_Topology slot0;
  ASSERT_EQ(r.GetTopoInfo(0, &slot0), MAPGIS_OK);
  EXPECT_EQ(Val(slot0.leftPolygon), 0);
  EXPECT_EQ(Val(slot0.rightPolygon), 0);

  // Arc attributes.
  ASSERT_EQ(r.SetAttributeType(0), MAPGIS_OK);
  ASSERT_EQ(r.GetRecordCount(), 7);
  EXPECT_EQ(FieldName(r, 2), L"界线类型");
  EXPECT_EQ(Utf8(r.ReadStringAttribute(6, 2)), "水涯线");
  EXPECT_EQ(r.ReadDoubleAttribute(6, 1), 1400.0);
}

TEST_F(DemoDataTest, PipeNetworkHasNodesOfTwoKindsAndADeletedNode) {
  MapGis_FastReader r;
  Open(r, "pipes.WN");
  int nodeSlots = -1, lineSlots = -1;
  ASSERT_EQ(r.GetPointCount(&nodeSlots), 5);
  ASSERT_EQ(nodeSlots, 6);
  ASSERT_EQ(r.GetArcCount(&lineSlots), 4);
  ASSERT_EQ(lineSlots, 4);

  std::vector<MAPGIS_PntInfo> nodes(6);
  const int kinds[] = {1, 1, 1, -1, 2, 1};
  const int subs[] = {201, 202, 201, 0, 0, 203};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const long st = r.ReadPointInfo(i, &nodes[static_cast<size_t>(i)], nullptr);
    if (kinds[i] < 0) {
      EXPECT_EQ(st, MAPGIS_DELETED);
      continue;
    }
    ASSERT_EQ(st, MAPGIS_OK);
    EXPECT_EQ(Val(nodes[static_cast<size_t>(i)].kind), kinds[i]);
    if (kinds[i] == 1) {
      EXPECT_EQ(Val(nodes[static_cast<size_t>(i)].param.sub.subNumber), subs[i]);
      EXPECT_GT(Val(nodes[static_cast<size_t>(i)].param.sub.height), 0.0f);
    }
  }
  EXPECT_EQ(Val(nodes[5].param.sub.angle), 45.0f);
  EXPECT_EQ(Val(nodes[5].color), 2);

  // Each pipe starts and ends on the nodes its topology names.
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    GeometryPtr g = NewGeometry();
    ASSERT_EQ(r.ReadArcInfo(i, nullptr, g.get()), MAPGIS_OK);
    MAPGIS_Topology t;
    ASSERT_EQ(r.GetTopoInfo(i + 1, &t), MAPGIS_OK);
    const MAPGIS_PntInfo& from = nodes[t.node1 - 1];
    const MAPGIS_PntInfo& to = nodes[t.node2 - 1];
    EXPECT_EQ(g->padfX[0], Val(from.x));
    EXPECT_EQ(g->padfY[0], Val(from.y));
    EXPECT_EQ(g->padfX[g->nVertices - 1], Val(to.x));
    EXPECT_EQ(g->padfY[g->nVertices - 1], Val(to.y));
  }

  // Line attributes in the default table, node attributes after switching.
  ASSERT_EQ(r.GetFieldCount(), 5);
  EXPECT_EQ(FieldName(r, 1), L"管径");
  EXPECT_EQ(r.ReadShortAttribute(2, 1), 200);
  EXPECT_EQ(Utf8(r.ReadStringAttribute(0, 2)), "球墨铸铁");
  EXPECT_EQ(r.ReadDoubleAttribute(2, 3), 1200.0);
  ASSERT_EQ(r.SetAttributeType(1), MAPGIS_OK);
  ASSERT_EQ(r.GetFieldCount(), 4);
  ASSERT_EQ(r.GetRecordCount(), 6);
  EXPECT_EQ(FieldName(r, 2), L"节点类型");
  EXPECT_EQ(Utf8(r.ReadStringAttribute(3, 2)), "检查井");
  EXPECT_EQ(Utf8(r.ReadStringAttribute(5, 2)), "消火栓");
  EXPECT_EQ(r.ReadDoubleAttribute(1, 3), 2.5);
}

TEST_F(DemoDataTest, ParcelTableHoldsEveryFieldType) {
  MapGis_FastReader r;
  Open(r, "parcels.WB");
  ASSERT_EQ(r.GetFieldCount(), 13);
  ASSERT_EQ(r.GetRecordCount(), 4);
  const int types[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 10, 12};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(r.GetFieldInfo(i, nullptr, nullptr, nullptr, nullptr), types[i]) << i;
  EXPECT_EQ(FieldName(r, 10), L"更新时间");

  EXPECT_EQ(Utf8(r.ReadStringAttribute(1, 0)), "0313");
  EXPECT_EQ(r.ReadByteAttribute(3, 1), 4);
  EXPECT_EQ(r.ReadShortAttribute(3, 2), 32);
  EXPECT_EQ(r.ReadLongAttribute(1, 3), -250);
  EXPECT_EQ(r.ReadLongAttribute(2, 3), -98765);
  EXPECT_EQ(r.ReadFloatAttribute(3, 4), 3.75f);
  EXPECT_EQ(r.ReadDoubleAttribute(1, 5), 8320.75);
  const DATE_STRUstruct d = r.ReadDateAttribute(2, 6);
  EXPECT_EQ(Val(d.year), 2020);
  EXPECT_EQ(Val(d.month), 2);
  EXPECT_EQ(Val(d.day), 29);
  const TIME_STRUstruct t = r.ReadTimeAttribute(3, 7);
  EXPECT_EQ(Val(t.hour), 23);
  EXPECT_EQ(Val(t.minute), 59);
  EXPECT_EQ(Val(t.second), 59.75);
  EXPECT_TRUE(r.ReadBoolAttribute(2, 8));
  EXPECT_FALSE(r.ReadBoolAttribute(1, 8));
  EXPECT_EQ(Utf8(r.ReadTextAttribute(2, 9)), "含公共通道, 面积&边界待核");
  EXPECT_EQ(Utf8(r.ReadTextAttribute(1, 9)), "");
  // A text that fills its 60 bytes exactly.
  EXPECT_EQ(Utf8(r.ReadTextAttribute(3, 9)), "本宗地备注文字恰好三十个汉字用于检验定长文本字段读取是否完整");
  const TIMESTAMPstruct ts = r.ReadTimeStampAttribute(2, 10);
  EXPECT_EQ(Val(ts.year), 2022);
  EXPECT_EQ(Val(ts.hour), 8);
  EXPECT_EQ(Val(ts.fraction), 123456u);
  // Kinds the converters leave alone: the first four bytes, with their sign.
  EXPECT_EQ(reinterpret_cast<intptr_t>(r.ReadBinareyAttribute(1, 11)), -1);
  EXPECT_EQ(reinterpret_cast<intptr_t>(r.ReadBinareyAttribute(0, 11)), 0x474E5089);
  EXPECT_EQ(reinterpret_cast<intptr_t>(r.ReadBinareyAttribute(1, 12)), -2);
  EXPECT_EQ(reinterpret_cast<intptr_t>(r.ReadBinareyAttribute(3, 12)), 123456);
}

// The file of the set a project item names: backslashes are separators and
// the letter case of the name may differ from the file's.
std::string ResolveItem(const fs::path& root, const std::wstring& item, bool* exact) {
  std::string name = WideToUtf8(item);
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.rfind("./", 0) == 0) name.erase(0, 2);
  *exact = fs::exists(root / fs::u8path(name));
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  for (const std::string& f : FilesUnder(root)) {
    if (lower(f) == lower(name)) return f;
  }
  return "";
}

TEST_F(DemoDataTest, ProjectListsTheLayersByRelativeWindowsNames) {
  MapGis_Prj prj;
  ASSERT_EQ(prj.LoadProject(PathOf("demo.MPJ").c_str()), 4);
  wchar_t text[2600];
  EXPECT_EQ(prj.GetMpjDesc(text), 0);
  EXPECT_STREQ(text, L"示范图");
  MAP_PARAstruct p;
  EXPECT_EQ(prj.GetProjectionInfo(&p), 3);
  EXPECT_EQ(Val(p.centralMeridian), 1170000.0);
  double x0, y0, x1, y1;
  prj.GetExtentInfo(&x0, &y0, &x1, &y1);
  EXPECT_EQ(x0, 39500000.0);
  EXPECT_EQ(y1, 3501500.0);

  struct Item {
    const wchar_t* name;
    long shape;
    const char* file;
    bool exact;
    double maxScale;
  };
  const Item want[] = {{L".\\landuse.WP", 5, "landuse.WP", true, 100000},
                       {L".\\ROADS.wl", 3, "roads.WL", false, 50000},
                       {L".\\sub\\河流.WL", 3, "sub/河流.WL", true, 200000},
                       {L".\\地名注记.WT", 1, "地名注记.WT", true, 25000}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    double lo = -1, hi = -1;
    EXPECT_EQ(prj.GetItemInfo(i, text, &lo, &hi), want[i].shape);
    EXPECT_STREQ(text, want[i].name);
    EXPECT_EQ(hi, want[i].maxScale);
    EXPECT_GE(lo, 0.0);
    EXPECT_LT(lo, hi);
    bool exact = false;
    EXPECT_EQ(ResolveItem(dir_->Path(), text, &exact), want[i].file);
    EXPECT_EQ(exact, want[i].exact);
  }
  EXPECT_EQ(prj.GetItemDesc(1, text), 0);
  EXPECT_STREQ(text, L"道路");  // first word of "道路 交通"
}

TEST_F(DemoDataTest, ColourLibraryCoversEveryColourTheLayersUse) {
  MapGis_ColorLib lib;
  ASSERT_EQ(lib.LoadColors(PathOf("Pcolor.lib").c_str()), 300);
  auto rgb = [&](long n) {
    const RGBTRIPLE t = lib.GetRGB(n);
    return std::vector<int>{t.rgbtRed, t.rgbtGreen, t.rgbtBlue};
  };
  EXPECT_EQ(rgb(1), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(rgb(2), (std::vector<int>{255, 0, 0}));
  EXPECT_EQ(rgb(17), (std::vector<int>{153, 204, 255}));  // cyan 102, magenta 51
  EXPECT_EQ(rgb(297), (std::vector<int>{255, 127, 0}));   // spot ink 0: magenta 128, yellow 255
  EXPECT_EQ(rgb(300), (std::vector<int>{255, 0, 0}));     // magenta 200 + 128 saturates
  const CMYKQUAD grey = lib.GetCMYK(299);                 // cyan 50 with spot ink 2 (black 64)
  EXPECT_EQ(grey.cmykBlack, 25);
  EXPECT_EQ(grey.cmykCyan, 19);

  // Colour numbers of every record of every layer.
  std::set<long> used;
  MapGis_FastReader r;
  int slots = 0;
  Open(r, "地名注记.WT");
  r.GetPointCount(&slots);
  MAPGIS_PntInfo p;
  for (int i = 0; i < slots; ++i) {
    ASSERT_EQ(r.ReadPointInfo(i, &p, nullptr), MAPGIS_OK);
    used.insert(Val(p.color));
  }
  for (const char* name : {"roads.WL", "sub/河流.WL", "landuse.WP", "pipes.WN"}) {
    Open(r, name);
    r.GetArcCount(&slots);
    MAPGIS_LineInfo l;
    for (int i = 0; i < slots; ++i) {
      ASSERT_EQ(r.ReadArcInfo(i, &l, nullptr), MAPGIS_OK) << name;
      used.insert(Val(l.color));
      if (l.auxColor != 0) used.insert(Val(l.auxColor));
    }
  }
  Open(r, "landuse.WP");
  r.GetPolygonCount(&slots);
  MAPGIS_RegInfo reg;
  for (int i = 0; i < slots; ++i) {
    ASSERT_EQ(r.ReadPolygonInfo(i, &reg, nullptr), MAPGIS_OK);
    used.insert(Val(reg.fillColor));
    if (reg.patternColor != 0) used.insert(Val(reg.patternColor));
  }
  Open(r, "pipes.WN");
  r.GetPointCount(&slots);
  for (int i = 0; i < slots; ++i) {
    if (r.ReadPointInfo(i, &p, nullptr) == MAPGIS_OK) used.insert(Val(p.color));
  }
  EXPECT_GE(used.size(), 10u);
  for (long c : used) {
    EXPECT_GE(c, 1);
    EXPECT_LE(c, lib.GetColorNum());
  }
}

}  // namespace
