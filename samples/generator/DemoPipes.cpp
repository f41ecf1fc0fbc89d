// pipes.WN: the town's water pipes as a network file, by the network file's
// byte layout (the layer writer does not write networks). Node 4 was
// deleted and still holds its slot; node 5 is a circle, the others carry
// sub-pictures.
#include <vector>

#include "ByteLayout.h"
#include "DemoCommon.h"
#include "DemoLayers.h"
#include "MapGisAttributes.h"
#include "MapGisFormat.h"

namespace demo {

namespace {

constexpr size_t kNodeRecordSize = 55;
constexpr size_t kParameterBlockSize = 94;

struct Node {
  Xy at;
  bool live;
  uint8_t kind;  // 1 sub-picture, 2 circle
  int32_t subNumber;
  float height, width, angle;  // a circle keeps its radius as the height
  int32_t colour;
  const char* number;
  const char* type;
  double depth;
};

struct Pipe {
  std::vector<Xy> points;
  uint32_t fromNode, toNode;
  int32_t colour;
  int16_t diameter;
  const char* material;
  MapGis::DATE_STRUstruct laid;
};

const std::vector<Node>& Nodes() {
  static const std::vector<Node> nodes = {
      {{200, 200}, true, 1, 201, 2, 2, 0, kBlue, "J1", "阀门", 1.2},
      {{1000, 200}, true, 1, 202, 3, 3, 0, kBlack, "J2", "检查井", 2.5},
      {{1800, 200}, true, 1, 201, 2, 2, 90, kBlue, "J3", "阀门", 1.2},
      {{1000, 1200}, false, 1, 202, 3, 3, 0, kBlack, "J4", "检查井", 2.0},
      {{1000, 1400}, true, 2, 0, 2.5f, 0, 0, kRed, "J5", "接户点", 0.8},
      {{1800, 1000}, true, 1, 203, 4, 3, 45, kRed, "J6", "消火栓", 1.5},
  };
  return nodes;
}

const std::vector<Pipe>& Pipes() {
  static const std::vector<Pipe> pipes = {
      {{{200, 200}, {1000, 200}}, 1, 2, kBlue, 300, "球墨铸铁", {2005, 6, 1}},
      {{{1000, 200}, {1800, 200}}, 2, 3, kBlue, 300, "球墨铸铁", {2005, 6, 1}},
      {{{1000, 200}, {1000, 700}, {1000, 1400}}, 2, 5, kCyan, 200, "PE", {2012, 9, 15}},
      {{{1800, 200}, {1800, 1000}}, 3, 6, kCyan, 150, "PE", {2012, 9, 15}},
  };
  return pipes;
}

// The 94-byte parameter block: bytes 0 to 61 as bytes 31 to 92 of a point
// record (kind, transparency, parameters, colour, layer), the rest zero.
Bytes ParameterBlock(const Node& n) {
  Bytes b(kParameterBlockSize);
  b.Put<uint8_t>(0, n.kind);
  b.Put<uint8_t>(1, 0);
  if (n.kind == 1) {
    b.Put<int32_t>(2, n.subNumber);
    b.Put<float>(6, n.height);
    b.Put<float>(10, n.width);
    b.Put<float>(14, n.angle);
  } else {
    b.Put<float>(2, n.height);
  }
  b.Put<int32_t>(44, n.colour);
  b.Put<int16_t>(52, 8);  // layer
  return b;
}

Bytes LineRecord(const Pipe& p, uint32_t dataOffset) {
  Bytes r(57);
  r.Put<uint8_t>(0, 1);
  r.Put<int32_t>(10, static_cast<int32_t>(p.points.size()));
  r.Put<uint32_t>(14, dataOffset);
  r.Put<int16_t>(22, 1);
  r.Put<int32_t>(26, p.colour);
  r.Put<float>(30, p.diameter >= 300 ? 0.6f : 0.4f);
  r.Put<float>(35, 10.0f);
  r.Put<float>(39, 10.0f);
  r.Put<int16_t>(47, 8);
  return r;
}

}  // namespace

void WritePipes(const std::filesystem::path& folder) {
  const std::vector<Node>& nodes = Nodes();
  const std::vector<Pipe>& pipes = Pipes();
  Extent extent;

  // Section 1: two unused bytes, the pipes' coordinate runs, then the
  // nodes' parameter blocks.
  Bytes data(2);
  Bytes lineTable(57);
  for (const Pipe& p : pipes) {
    const uint32_t at = static_cast<uint32_t>(data.Size());
    for (const Xy& v : p.points) {
      data.Append(GroundX(v.x));
      data.Append(GroundY(v.y));
      extent.Add(GroundX(v.x), GroundY(v.y));
    }
    lineTable.AppendBytes(LineRecord(p, at));
  }
  Bytes nodeTable(kNodeRecordSize);
  int32_t liveNodes = 0;
  for (const Node& n : nodes) {
    const uint32_t at = static_cast<uint32_t>(data.AppendBytes(ParameterBlock(n)));
    Bytes r(kNodeRecordSize);
    r.Put<double>(0, GroundX(n.at.x));
    r.Put<double>(8, GroundY(n.at.y));
    r.Put<uint8_t>(24, n.live ? 1 : 0);
    r.Put<uint32_t>(30, at);
    nodeTable.AppendBytes(r);
    if (n.live) ++liveNodes;
    extent.Add(GroundX(n.at.x), GroundY(n.at.y));
  }

  // Section 3: the nodes each pipe joins; a network has no polygons.
  Bytes topology(24);
  for (const Pipe& p : pipes) {
    Bytes t(24);
    t.Put<uint32_t>(0, p.fromNode);
    t.Put<uint32_t>(4, p.toNode);
    topology.AppendBytes(t);
  }

  AttributeLayout pipeAttributes({{"ID", MapGis::MAPGIS_FIELD_LONG, 4, 10, 0},
                                  {Gbk("管径"), MapGis::MAPGIS_FIELD_SHORT, 2, 6, 0},
                                  {Gbk("材质"), MapGis::MAPGIS_FIELD_STRING, 10, 10, 0},
                                  {Gbk("长度"), MapGis::MAPGIS_FIELD_DOUBLE, 8, 12, 2},
                                  {Gbk("铺设日期"), MapGis::MAPGIS_FIELD_DATE, 4, 10, 0}});
  for (size_t i = 0; i < pipes.size(); ++i) {
    const Pipe& p = pipes[i];
    const int r = pipeAttributes.AddRecord();
    pipeAttributes.Set<int32_t>(r, 0, static_cast<int32_t>(i + 1));
    pipeAttributes.Set<int16_t>(r, 1, p.diameter);
    pipeAttributes.SetText(r, 2, Gbk(p.material));
    pipeAttributes.Set<double>(r, 3, PolylineLength(p.points));
    pipeAttributes.Set(r, 4, p.laid);
  }
  // One record per node slot, the deleted node's too.
  AttributeLayout nodeAttributes({{"ID", MapGis::MAPGIS_FIELD_LONG, 4, 10, 0},
                                  {Gbk("节点编号"), MapGis::MAPGIS_FIELD_STRING, 10, 10, 0},
                                  {Gbk("节点类型"), MapGis::MAPGIS_FIELD_STRING, 10, 10, 0},
                                  {Gbk("井深"), MapGis::MAPGIS_FIELD_DOUBLE, 8, 8, 2}});
  for (size_t i = 0; i < nodes.size(); ++i) {
    const Node& n = nodes[i];
    const int r = nodeAttributes.AddRecord();
    nodeAttributes.Set<int32_t>(r, 0, static_cast<int32_t>(i + 1));
    nodeAttributes.SetText(r, 1, Gbk(n.number));
    nodeAttributes.SetText(r, 2, Gbk(n.type));
    nodeAttributes.Set<double>(r, 3, n.depth);
  }

  LayerLayout layer(MapGis::MAPGIS_TYPE_NETWORK);
  layer.SetProjection(DemoProjection());
  layer.SetCount(0, static_cast<int32_t>(pipes.size()));
  layer.SetCount(1, static_cast<int32_t>(pipes.size()) + 1);
  layer.SetCount(2, liveNodes);
  layer.SetCount(3, static_cast<int32_t>(nodes.size()) + 1);
  layer.SetExtent(extent.xmin, extent.ymin, extent.xmax, extent.ymax);
  layer.SetSection(0, lineTable);
  layer.SetSection(1, data);
  layer.SetSection(2, pipeAttributes.Build());
  layer.SetSection(3, topology);
  layer.SetSection(4, nodeTable);
  layer.SetSection(5, nodeAttributes.Build());
  WriteFile(folder / "pipes.WN", layer.Build());
}

}  // namespace demo
