// landuse.WP: four land-use polygons whose rings share their boundary arcs,
// written by the polygon file's byte layout (the layer writer gives every
// ring arcs of its own and keeps no arc attributes or topology).
//
//   G(0,1500)------F(1000,1500)-----E(2000,1500)
//   |               |               |
//   |  1 farmland   | 2 residential |
//   |   +------+    |               |
//   |   |4 pond|    H(1000,800)-----D(2000,800)
//   |   +------+    |               |
//   |               | 3 forest      |
//   A(0,0)---------B(1000,0)--------C(2000,0)
//
// Arcs: 1 B-A-G-F, 2 F-H, 3 H-B, 4 B-C-D, 5 D-H, 6 D-E-F, 7 the pond's shore
// (closed, counter-clockwise). The pond is a hole of the farmland and a
// polygon of its own on the same arc.
#include <vector>

#include "ByteLayout.h"
#include "DemoCommon.h"
#include "DemoLayers.h"
#include "MapGisAttributes.h"
#include "MapGisFormat.h"

namespace demo {

namespace {

struct Arc {
  std::vector<Xy> points;
  uint32_t fromNode, toNode;
  int32_t left, right;  // polygon numbers, 0 outside the map
  const char* kind;
  int32_t colour;
  float width;
};

struct Polygon {
  std::vector<int32_t> arcs;  // signed arc numbers, 0 between rings
  int32_t fillColour;
  int16_t pattern;
  float patternHeight, patternWidth;
  int32_t patternColour;
  double area, perimeter;
  const char* landUse;
  int16_t landCode;
  const char* owner;
};

// Nodes: A 1, B 2, C 3, D 4, E 5, F 6, G 7, H 8, the pond's shore 9.
const std::vector<Arc>& Arcs() {
  static const std::vector<Arc> arcs = {
      {{{1000, 0}, {0, 0}, {0, 1500}, {1000, 1500}}, 2, 6, 0, 1, "图廓线", kBlack, 0.3f},
      {{{1000, 1500}, {1000, 800}}, 6, 8, 2, 1, "地类界", kBlack, 0.2f},
      {{{1000, 800}, {1000, 0}}, 8, 2, 3, 1, "地类界", kBlack, 0.2f},
      {{{1000, 0}, {2000, 0}, {2000, 800}}, 2, 4, 3, 0, "图廓线", kBlack, 0.3f},
      {{{2000, 800}, {1000, 800}}, 4, 8, 3, 2, "地类界", kBlack, 0.2f},
      {{{2000, 800}, {2000, 1500}, {1000, 1500}}, 4, 6, 2, 0, "图廓线", kBlack, 0.3f},
      {{{300, 500}, {600, 500}, {600, 900}, {300, 900}, {300, 500}}, 9, 9, 4, 1, "水涯线", kBlue, 0.2f},
  };
  return arcs;
}

const std::vector<Polygon>& Polygons() {
  static const std::vector<Polygon> polygons = {
      {{1, 2, 3, 0, -7}, kFarmland, 12, 5, 5, kGreen, 1380000, 6400, "旱地", 103, "示范镇第一村民组"},
      {{6, 2, -5}, kResidential, 0, 0, 0, 0, 700000, 3400, "城镇住宅用地", 702, "示范镇人民政府"},
      {{4, 5, 3}, kForest, 35, 4, 4, kGreen, 800000, 3600, "乔木林地", 301, "示范镇林场"},
      {{7}, kWater, 2, 3, 6, kBlue, 120000, 1400, "坑塘水面", 1104, "示范镇第一村民组"},
  };
  return polygons;
}

Bytes LineRecord(const Arc& a, int32_t pointCount, uint32_t dataOffset) {
  Bytes r(57);
  r.Put<uint8_t>(0, 1);
  r.Put<int32_t>(10, pointCount);
  r.Put<uint32_t>(14, dataOffset);
  r.Put<int16_t>(22, 1);  // line type
  r.Put<int32_t>(26, a.colour);
  r.Put<float>(30, a.width);
  r.Put<float>(35, 10.0f);
  r.Put<float>(39, 10.0f);
  r.Put<int16_t>(47, 1);  // layer
  return r;
}

Bytes PolygonRecord(const Polygon& p, int32_t listLength, uint32_t listOffset) {
  Bytes r(40);
  r.Put<uint8_t>(0, 1);
  r.Put<int32_t>(1, listLength);
  r.Put<uint32_t>(5, listOffset);
  r.Put<int32_t>(9, p.fillColour);
  r.Put<int16_t>(13, p.pattern);
  r.Put<float>(15, p.patternHeight);
  r.Put<float>(19, p.patternWidth);
  r.Put<int32_t>(23, p.patternColour);
  r.Put<int16_t>(30, 1);  // layer
  return r;
}

}  // namespace

void WriteLanduse(const std::filesystem::path& folder) {
  const std::vector<Arc>& arcs = Arcs();
  const std::vector<Polygon>& polygons = Polygons();
  Extent extent;

  // Section 1: two unused bytes, the arcs' coordinate runs, the arc lists.
  Bytes data(2);
  Bytes lineTable(57);  // slot 0 is empty
  for (const Arc& a : arcs) {
    const uint32_t at = static_cast<uint32_t>(data.Size());
    for (const Xy& p : a.points) {
      data.Append(GroundX(p.x));
      data.Append(GroundY(p.y));
      extent.Add(GroundX(p.x), GroundY(p.y));
    }
    lineTable.AppendBytes(LineRecord(a, static_cast<int32_t>(a.points.size()), at));
  }
  Bytes polygonTable(40);
  for (const Polygon& p : polygons) {
    // The stored point total: the points of the listed arcs, one per ring
    // separator, and one.
    int32_t total = 1;
    for (int32_t arc : p.arcs) {
      total += arc == 0 ? 1 : static_cast<int32_t>(arcs[static_cast<size_t>(arc < 0 ? -arc : arc) - 1].points.size());
    }
    const uint32_t at = static_cast<uint32_t>(data.Append(total));
    for (int32_t arc : p.arcs) data.Append(arc);
    polygonTable.AppendBytes(PolygonRecord(p, static_cast<int32_t>(p.arcs.size()) + 1, at));
  }

  // Section 3: the left and right polygon of every arc, one record per line
  // slot, slot 0 included.
  Bytes topology(24);
  for (const Arc& a : arcs) {
    Bytes t(24);
    t.Put<uint32_t>(0, a.fromNode);
    t.Put<uint32_t>(4, a.toNode);
    t.Put<int32_t>(8, a.left);
    t.Put<int32_t>(12, a.right);
    topology.AppendBytes(t);
  }

  AttributeLayout arcAttributes({{"ID", MapGis::MAPGIS_FIELD_LONG, 4, 10, 0},
                                 {Gbk("长度"), MapGis::MAPGIS_FIELD_DOUBLE, 8, 12, 2},
                                 {Gbk("界线类型"), MapGis::MAPGIS_FIELD_STRING, 12, 12, 0}});
  for (size_t i = 0; i < arcs.size(); ++i) {
    const int r = arcAttributes.AddRecord();
    arcAttributes.Set<int32_t>(r, 0, static_cast<int32_t>(i + 1));
    arcAttributes.Set<double>(r, 1, PolylineLength(arcs[i].points));
    arcAttributes.SetText(r, 2, Gbk(arcs[i].kind));
  }
  AttributeLayout polygonAttributes({{"ID", MapGis::MAPGIS_FIELD_LONG, 4, 10, 0},
                                     {Gbk("面积"), MapGis::MAPGIS_FIELD_DOUBLE, 8, 15, 2},
                                     {Gbk("周长"), MapGis::MAPGIS_FIELD_DOUBLE, 8, 12, 2},
                                     {Gbk("地类名称"), MapGis::MAPGIS_FIELD_STRING, 20, 20, 0},
                                     {Gbk("地类编码"), MapGis::MAPGIS_FIELD_SHORT, 2, 4, 0},
                                     {Gbk("权属单位"), MapGis::MAPGIS_FIELD_STRING, 24, 24, 0}});
  for (size_t i = 0; i < polygons.size(); ++i) {
    const Polygon& p = polygons[i];
    const int r = polygonAttributes.AddRecord();
    polygonAttributes.Set<int32_t>(r, 0, static_cast<int32_t>(i + 1));
    polygonAttributes.Set<double>(r, 1, p.area);
    polygonAttributes.Set<double>(r, 2, p.perimeter);
    polygonAttributes.SetText(r, 3, Gbk(p.landUse));
    polygonAttributes.Set<int16_t>(r, 4, p.landCode);
    polygonAttributes.SetText(r, 5, Gbk(p.owner));
  }

  LayerLayout layer(MapGis::MAPGIS_TYPE_POLYGON);
  layer.SetProjection(DemoProjection());
  const int32_t lineSlots = static_cast<int32_t>(arcs.size()) + 1;
  const int32_t polygonSlots = static_cast<int32_t>(polygons.size()) + 1;
  layer.SetCount(0, lineSlots - 1);
  layer.SetCount(1, lineSlots);
  layer.SetCount(3, 1);
  layer.SetCount(4, polygonSlots - 1);
  layer.SetCount(5, polygonSlots);
  layer.SetCount(7, lineSlots);
  layer.SetCount(9, 1);
  layer.SetExtent(extent.xmin, extent.ymin, extent.xmax, extent.ymax);
  layer.SetSection(0, lineTable);
  layer.SetSection(1, data);
  layer.SetSection(2, arcAttributes.Build());
  layer.SetSection(3, topology);
  layer.SetSection(8, polygonTable);
  layer.SetSection(9, polygonAttributes.Build());
  WriteFile(folder / "landuse.WP", layer.Build());
}

}  // namespace demo
