// 地名注记.WT: place names and notes of the town map, written with the layer
// writer. The writer stores every point that has a text as a single
// annotation (kind 0); the two text blocks (kind 5) get their kind byte set
// in the finished file.
#include <cstring>
#include <fstream>
#include <vector>

#include "DemoCommon.h"
#include "DemoLayers.h"
#include "MapGisWriter.h"

namespace demo {

namespace {

using MapGis::MAPGIS_PntInfo;

constexpr size_t kPointRecordSize = 93;
constexpr size_t kKindOffset = 31;

// One point of the file: an annotation (text not empty) or a sub-picture.
struct Note {
  const char* text;  // UTF-8; empty for a sub-picture
  Xy at;
  bool block;  // a text block (kind 5)
  float height, width, spacing, angle;
  int16_t chFont, enFont;
  uint8_t style, align;
  int32_t subNumber;  // sub-pictures
  int32_t colour;
  uint8_t transparent;
  int16_t layer;
  // Text blocks: the block's width and height and its own alignment byte.
  float blockWidth, blockHeight;
  uint8_t blockAlign;
  // Attributes.
  const char* name;
  int32_t code;
  int16_t category;
};

const char* const kLongNote =
    "说明：本示范图为城镇土地利用现状示意，图中道路、河流、管线、地类界线及注记均为虚构数据，"
    "仅用于检验MapGIS数据转换程序对长注记文字的处理。坐标系统为1980西安坐标系，高斯-克吕格投影，"
    "三度分带，中央经线东经117度，坐标单位为米。注记文字超过二百五十四个字节时，"
    "转换结果只保留前二百五十个字节并在末尾加上省略号。";

const std::vector<Note>& Notes() {
  static const std::vector<Note> notes = {
      // Town name in bold type (font 3), red.
      {"示范镇", {1450, 1150}, false, 12, 12, 1, 0, 3, 1, 0, 0, 0, kRed, 1, 1, 0, 0, 0, "示范镇", 110101, 1},
      // Street name along the slanting road, italic.
      {"文化路", {1300, 1120}, false, 4, 4, 0.5f, 53, 1, 2, 1, 0, 0, kBlack, 1, 2, 0, 0, 0, "文化路", 120201, 2},
      // Subscript and superscript mark-up: H2O, 120 m3.
      {"H#-2#=O储量120m#+3#=", {450, 700}, false, 3, 3, 0, 0, 4, 3, 0, 0, 0, kBlue, 1, 3, 0, 0, 0, "水池", 130301, 3},
      // A parcel number over its area, written between slashes.
      {"/0312/12.5/", {500, 1200}, false, 3.5f, 3, 0, 0, 1, 1, 0, 0, 0, kBlack, 1, 3, 0, 0, 0, "宗地0312", 140101, 4},
      // A note longer than 254 bytes.
      {kLongNote, {100, 100}, false, 2.5f, 2.5f, 0.2f, 0, 3, 1, 0, 0, 0, kBlack, 1, 4, 0, 0, 0, "图面说明", 190001, 9},
      // Text blocks: one laid out horizontally, one vertically.
      {"本图数据由示范数据生成器产生，仅供测试使用。", {1100, 100}, true, 4, 4, 0.5f, 0, 4, 2, 0, 0, 0, kGrey, 1, 4,
       60, 20, 0, "数据说明", 190002, 9},
      {"图例说明", {1950, 900}, true, 5, 5, 1, 0, 3, 1, 0, 1, 0, kBlack, 0, 4, 10, 40, 1, "图例", 190003, 9},
      // Sub-pictures: a school, a hospital (turned 45 degrees) and a well.
      {"", {1300, 1300}, false, 6, 6, 0, 0, 0, 0, 0, 0, 12, kRed, 1, 5, 0, 0, 0, "示范小学", 210101, 5},
      {"", {1700, 1000}, false, 8, 5, 0, 45, 0, 0, 0, 0, 35, kOrange, 1, 5, 0, 0, 0, "镇卫生院", 210201, 5},
      {"", {450, 1000}, false, 3, 3, 0, 120, 0, 0, 0, 0, 101, kBlue, 0, 6, 0, 0, 0, "水井", 230101, 6},
  };
  return notes;
}

MAPGIS_PntInfo PointRecord(const Note& n) {
  MAPGIS_PntInfo p;
  std::memset(&p, 0, sizeof p);
  p.status = 1;
  p.x = GroundX(n.at.x);
  p.y = GroundY(n.at.y);
  p.transparent = n.transparent;
  if (*n.text) {
    p.param.note.height = n.height;
    p.param.note.width = n.width;
    p.param.note.space = n.spacing;
    p.param.note.angle = n.angle;
    p.param.note.chFont = n.chFont;
    p.param.note.enFont = n.enFont;
    p.param.note.fontStyle = n.style;
    p.param.note.align = n.align;
    if (n.block) {
      uint8_t* raw = reinterpret_cast<uint8_t*>(&p);
      std::memcpy(raw + 58, &n.blockWidth, sizeof n.blockWidth);
      std::memcpy(raw + 62, &n.blockHeight, sizeof n.blockHeight);
      raw[66] = n.blockAlign;
    }
  } else {
    p.param.sub.subNumber = n.subNumber;
    p.param.sub.height = n.height;
    p.param.sub.width = n.width;
    p.param.sub.angle = n.angle;
  }
  p.color = n.colour;
  p.layer = n.layer;
  return p;
}

// Sets the kind byte of the text blocks in the written file.
void MarkTextBlocks(const std::filesystem::path& path) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  uint32_t pointTable = 0;  // offset of section 0, from the directory at 657
  f.seekg(657);
  f.read(reinterpret_cast<char*>(&pointTable), sizeof pointTable);
  const std::vector<Note>& notes = Notes();
  for (size_t i = 0; i < notes.size() && f; ++i) {
    if (!notes[i].block) continue;
    const char kind = 5;
    f.seekp(static_cast<std::streamoff>(pointTable + kPointRecordSize * (i + 1) + kKindOffset));
    f.write(&kind, 1);
  }
  f.close();
  if (!f) throw DemoError("cannot mark the text blocks of " + path.u8string());
}

}  // namespace

void WriteAnnotations(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / std::filesystem::u8path("地名注记.WT");
  const std::string what = path.filename().u8string();
  MapGis::MapGis_Writer w;
  Check(w.Create(WidePath(path).c_str(), MapGis::MAPGIS_TYPE_POINT), what + ": Create");
  const MapGis::MAP_PARAstruct para = DemoProjection();
  Check(w.WriteProjection(&para), what + ": WriteProjection");
  if (w.AddFieldInfo(L"名称", MapGis::MAPGIS_FIELD_STRING, 24, 24, 0) != 1 ||
      w.AddFieldInfo(L"注记要素编码", MapGis::MAPGIS_FIELD_LONG, 4, 11, 0) != 2 ||
      w.AddFieldInfo(L"类别", MapGis::MAPGIS_FIELD_SHORT, 2, 6, 0) != 3) {
    throw DemoError(what + ": AddFieldInfo");
  }
  const std::vector<Note>& notes = Notes();
  for (size_t i = 0; i < notes.size(); ++i) {
    const Note& n = notes[i];
    const std::string text = Gbk(n.text);
    Check(w.AddPointInfo(PointRecord(n), nullptr, text.c_str()), what + ": AddPointInfo");
    const int r = static_cast<int>(i);
    const std::string name = Gbk(n.name);
    if (!w.WriteStringAttribute(r, 0, name.c_str()) || !w.WriteLongAttribute(r, 1, n.code) ||
        !w.WriteShortAttribute(r, 2, n.category)) {
      Check(w.LastAttributeStatus(), what + ": attribute of point " + std::to_string(i));
    }
  }
  Check(w.Flush(), what + ": Flush");
  w.Close();
  MarkTextBlocks(path);
}

}  // namespace demo
