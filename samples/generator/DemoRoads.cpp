// roads.WL and sub/河流.WL: the line layers of the town map, written with the
// layer writer.
#include <cstring>
#include <vector>

#include "DemoCommon.h"
#include "DemoLayers.h"
#include "MapGisWriter.h"

namespace demo {

namespace {

using MapGis::MAPGIS_LineInfo;

struct Style {
  int16_t lineType;
  uint8_t auxType;
  uint8_t transparent;
  int32_t colour;
  float width;
  float xScale, yScale;
  int32_t auxColour;
  int16_t layer;
};

MAPGIS_LineInfo LineRecord(const Style& s) {
  MAPGIS_LineInfo l;
  std::memset(&l, 0, sizeof l);
  l.status = 1;
  l.lineType = s.lineType;
  l.auxType = s.auxType;
  l.transparent = s.transparent;
  l.color = s.colour;
  l.width = s.width;
  l.lineClass = 0;
  l.xScale = s.xScale;
  l.yScale = s.yScale;
  l.auxColor = s.auxColour;
  l.layer = s.layer;
  return l;
}

struct Road {
  const char* name;
  std::vector<Xy> points;
  Style style;
  int16_t grade;
  float roadWidth;
  MapGis::DATE_STRUstruct built;
  bool toll;
};

const std::vector<Road>& Roads() {
  static const std::vector<Road> roads = {
      {"人民路", {{0, 300}, {1000, 300}, {2000, 300}}, {1, 0, 0, kRed, 1.5f, 10, 10, 0, 2}, 1, 24, {1998, 10, 1}, false},
      {"建设路", {{1000, 0}, {1000, 300}, {1000, 1500}}, {1, 0, 0, kRed, 1.2f, 10, 10, 0, 2}, 2, 18, {2003, 5, 20}, false},
      {"文化路", {{1100, 900}, {1400, 1300}, {1880, 1440}}, {2, 0, 0, kOrange, 0.8f, 10, 10, 0, 2}, 3, 12, {2010, 12, 31},
       false},
      {"幸福巷", {{1300, 300}, {1300, 780}}, {5, 1, 0, kBlack, 0.3f, 4, 4, kWhite, 3}, 4, 4.5f, {1985, 1, 1}, false},
      {"京沪铁路", {{0, 60}, {2000, 60}}, {9, 2, 0, kBlack, 1.0f, 8, 2, kWhite, 4}, 0, 10, {1958, 7, 1}, true},
      {"田间小路", {{150, 300}, {150, 1400}}, {3, 0, 1, kTeal, 0.2f, 10, 10, 0, 3}, 5, 2.5f, {2015, 3, 15}, false},
  };
  return roads;
}

struct River {
  const char* name;
  std::vector<Xy> points;
  float riverWidth;
  int16_t grade;
};

}  // namespace

void WriteRoads(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / "roads.WL";
  const std::string what = "roads.WL";
  MapGis::MapGis_Writer w;
  Check(w.Create(WidePath(path).c_str(), MapGis::MAPGIS_TYPE_LINE), what + ": Create");
  const MapGis::MAP_PARAstruct para = DemoProjection();
  Check(w.WriteProjection(&para), what + ": WriteProjection");
  if (w.AddFieldInfo(L"ID", MapGis::MAPGIS_FIELD_LONG, 4, 10, 0) != 1 ||
      w.AddFieldInfo(L"道路名称", MapGis::MAPGIS_FIELD_STRING, 20, 20, 0) != 2 ||
      w.AddFieldInfo(L"道路等级", MapGis::MAPGIS_FIELD_SHORT, 2, 6, 0) != 3 ||
      w.AddFieldInfo(L"路宽", MapGis::MAPGIS_FIELD_FLOAT, 4, 8, 1) != 4 ||
      w.AddFieldInfo(L"长度", MapGis::MAPGIS_FIELD_DOUBLE, 8, 12, 2) != 5 ||
      w.AddFieldInfo(L"建成日期", MapGis::MAPGIS_FIELD_DATE, 4, 10, 0) != 6 ||
      w.AddFieldInfo(L"是否收费", MapGis::MAPGIS_FIELD_BOOL, 1, 1, 0) != 7) {
    throw DemoError(what + ": AddFieldInfo");
  }
  const std::vector<Road>& roads = Roads();
  for (size_t i = 0; i < roads.size(); ++i) {
    const Road& road = roads[i];
    GeometryPtr g = LineGeometry(road.points);
    Check(w.AddArcInfo(LineRecord(road.style), g.get(), 0), what + ": AddArcInfo");
    const int r = static_cast<int>(i);
    const std::string name = Gbk(road.name);
    if (!w.WriteLongAttribute(r, 0, r + 1) || !w.WriteStringAttribute(r, 1, name.c_str()) ||
        !w.WriteShortAttribute(r, 2, road.grade) || !w.WriteFloatAttribute(r, 3, road.roadWidth) ||
        !w.WriteDoubleAttribute(r, 4, PolylineLength(road.points)) || !w.WriteDateAttribute(r, 5, &road.built) ||
        !w.WriteBoolAttribute(r, 6, road.toll)) {
      Check(w.LastAttributeStatus(), what + ": attribute of line " + std::to_string(i));
    }
  }
  Check(w.Flush(), what + ": Flush");
}

void WriteRiver(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / "sub" / std::filesystem::u8path("河流.WL");
  const std::string what = "sub/" + path.filename().u8string();
  static const std::vector<River> rivers = {
      {"清水河",
       {{0, 1300}, {250, 1250}, {500, 1320}, {800, 1260}, {1100, 1340}, {1400, 1280}, {1700, 1360}, {2000, 1300}},
       12.5f,
       3},
      {"小溪", {{1100, 1340}, {1120, 1420}, {1150, 1500}}, 2.0f, 5},
  };
  MapGis::MapGis_Writer w;
  Check(w.Create(WidePath(path).c_str(), MapGis::MAPGIS_TYPE_LINE), what + ": Create");
  const MapGis::MAP_PARAstruct para = DemoProjection();
  Check(w.WriteProjection(&para), what + ": WriteProjection");
  if (w.AddFieldInfo(L"河流名称", MapGis::MAPGIS_FIELD_STRING, 16, 16, 0) != 1 ||
      w.AddFieldInfo(L"河宽", MapGis::MAPGIS_FIELD_FLOAT, 4, 8, 1) != 2 ||
      w.AddFieldInfo(L"河流等级", MapGis::MAPGIS_FIELD_SHORT, 2, 6, 0) != 3) {
    throw DemoError(what + ": AddFieldInfo");
  }
  for (size_t i = 0; i < rivers.size(); ++i) {
    const River& river = rivers[i];
    GeometryPtr g = LineGeometry(river.points);
    const Style style{1, 0, 0, kBlue, i == 0 ? 2.0f : 0.8f, 10, 10, 0, 7};
    Check(w.AddArcInfo(LineRecord(style), g.get(), 0), what + ": AddArcInfo");
    const int r = static_cast<int>(i);
    const std::string name = Gbk(river.name);
    if (!w.WriteStringAttribute(r, 0, name.c_str()) || !w.WriteFloatAttribute(r, 1, river.riverWidth) ||
        !w.WriteShortAttribute(r, 2, river.grade)) {
      Check(w.LastAttributeStatus(), what + ": attribute of line " + std::to_string(i));
    }
  }
  Check(w.Flush(), what + ": Flush");
}

}  // namespace demo
