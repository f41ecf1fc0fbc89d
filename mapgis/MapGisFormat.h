#pragma once
// On-disk records of MapGIS 6.x layer files. Every structure is packed and
// byte-identical to its record in the file (little-endian).
#include <cstddef>
#include <cstdint>

namespace MapGis {

// Header type words of the layer file kinds.
enum : int16_t {
  MAPGIS_TYPE_LINE = 0,
  MAPGIS_TYPE_POINT = 1,
  MAPGIS_TYPE_POLYGON = 2,
  MAPGIS_TYPE_NETWORK = 4,
  MAPGIS_TYPE_TABLE = 7,
};

#pragma pack(push, 1)

struct MAPGIS_HEAD {
  char magic[8];          // "WMAP`D2x"
  int16_t type;           // file kind
  uint16_t zero;          // must be 0
  int32_t dirOffset;      // file offset of the section directory
  int32_t dirCount;       // number of directory entries
};

// Element counts: [0] live points/lines, [1] their slots, [2] live nodes,
// [3] node slots, [4] live polygons, [5] polygon slots, [6..10] unused.
struct MAPGIS_Element {
  int32_t count[11];
};

struct MAPGIS_Tic_Stru {
  int32_t ticCount;       // only the low 16 bits are used
  uint32_t ticOffset;     // relative to the start of section 1
};

struct MAPGIS_Part {
  uint32_t offset;        // from the start of the file
  uint32_t length;
  uint16_t tag;
};

// Parameters of a sub-picture point (kind 1).
struct MAPGIS_SubParam {
  int32_t subNumber;
  float height;
  float width;
  float angle;
  uint8_t reserved[26];
};

// Parameters of an annotation point (kinds 0 and 5).
struct MAPGIS_NoteParam {
  float height;
  float width;
  float space;
  float angle;
  int16_t chFont;
  int16_t enFont;
  uint8_t fontStyle;
  uint8_t align;
  uint8_t reserved[20];
};

struct MAPGIS_PntInfo {
  uint8_t status;         // 1 live
  int16_t textLength;
  uint32_t textOffset;    // in section 1
  double x;
  double y;
  double z;               // not interpreted
  uint8_t kind;           // 0, 5 annotation; 1 sub-picture
  uint8_t transparent;
  union {
    MAPGIS_SubParam sub;
    MAPGIS_NoteParam note;
    uint8_t raw[42];
  } param;
  int32_t color;
  uint8_t reserved79[4];
  int16_t layer;
  uint8_t reserved85[8];
};

struct MAPGIS_LineInfo {
  uint8_t status;         // 1 live
  uint8_t reserved1[9];
  int32_t pointCount;
  uint32_t dataOffset;    // coordinate run in section 1
  uint8_t reserved18[4];
  int16_t lineType;
  uint8_t auxType;
  uint8_t transparent;
  int32_t color;
  float width;
  uint8_t lineClass;
  float xScale;
  float yScale;
  int32_t auxColor;
  int16_t layer;
  uint8_t reserved49[8];
};

struct MAPGIS_RegInfo {
  uint8_t status;         // 1 live
  int32_t arcCount;       // arc-list length n (the stored total plus n-1 entries)
  uint32_t arcOffset;     // arc list in section 1
  int32_t fillColor;
  int16_t pattern;
  float patternHeight;
  float patternWidth;
  int32_t patternColor;
  uint8_t reserved27[2];
  uint8_t transparent;
  int16_t layer;
  uint8_t reserved32[8];
};

struct MAPGIS_Topology {
  uint32_t node1;
  uint32_t node2;
  int32_t leftPolygon;
  int32_t rightPolygon;
  uint8_t reserved16[8];
};

struct MAPGIS_NetPntInfo {
  double x;
  double y;
  uint8_t reserved16[8];
  uint8_t status;         // 1 live
  uint8_t reserved25[5];
  uint32_t paramOffset;   // 94-byte parameter block in section 1
  uint8_t reserved34[21];
};

struct MAPGIS_Tic_Info {
  uint8_t data[32];       // carried, not interpreted
};

struct MAPGIS_RegExt {
  double x;
  double y;
};

#pragma pack(pop)

static_assert(sizeof(MAPGIS_HEAD) == 20, "layout");
static_assert(offsetof(MAPGIS_HEAD, type) == 8 && offsetof(MAPGIS_HEAD, dirOffset) == 12, "layout");
static_assert(sizeof(MAPGIS_Element) == 44, "layout");
static_assert(sizeof(MAPGIS_Tic_Stru) == 8, "layout");
static_assert(sizeof(MAPGIS_Part) == 10, "layout");
static_assert(sizeof(MAPGIS_SubParam) == 42 && sizeof(MAPGIS_NoteParam) == 42, "layout");
static_assert(offsetof(MAPGIS_NoteParam, chFont) == 16 && offsetof(MAPGIS_NoteParam, align) == 21, "layout");
static_assert(sizeof(MAPGIS_PntInfo) == 93, "layout");
static_assert(offsetof(MAPGIS_PntInfo, textLength) == 1 && offsetof(MAPGIS_PntInfo, textOffset) == 3, "layout");
static_assert(offsetof(MAPGIS_PntInfo, x) == 7 && offsetof(MAPGIS_PntInfo, kind) == 31, "layout");
static_assert(offsetof(MAPGIS_PntInfo, param) == 33 && offsetof(MAPGIS_PntInfo, color) == 75, "layout");
static_assert(offsetof(MAPGIS_PntInfo, layer) == 83, "layout");
static_assert(sizeof(MAPGIS_LineInfo) == 57, "layout");
static_assert(offsetof(MAPGIS_LineInfo, pointCount) == 10 && offsetof(MAPGIS_LineInfo, dataOffset) == 14, "layout");
static_assert(offsetof(MAPGIS_LineInfo, lineType) == 22 && offsetof(MAPGIS_LineInfo, color) == 26, "layout");
static_assert(offsetof(MAPGIS_LineInfo, width) == 30 && offsetof(MAPGIS_LineInfo, xScale) == 35, "layout");
static_assert(offsetof(MAPGIS_LineInfo, auxColor) == 43 && offsetof(MAPGIS_LineInfo, layer) == 47, "layout");
static_assert(sizeof(MAPGIS_RegInfo) == 40, "layout");
static_assert(offsetof(MAPGIS_RegInfo, arcCount) == 1 && offsetof(MAPGIS_RegInfo, fillColor) == 9, "layout");
static_assert(offsetof(MAPGIS_RegInfo, patternColor) == 23 && offsetof(MAPGIS_RegInfo, transparent) == 29, "layout");
static_assert(offsetof(MAPGIS_RegInfo, layer) == 30, "layout");
static_assert(sizeof(MAPGIS_Topology) == 24, "layout");
static_assert(offsetof(MAPGIS_Topology, leftPolygon) == 8, "layout");
static_assert(sizeof(MAPGIS_NetPntInfo) == 55, "layout");
static_assert(offsetof(MAPGIS_NetPntInfo, status) == 24 && offsetof(MAPGIS_NetPntInfo, paramOffset) == 30, "layout");
static_assert(sizeof(MAPGIS_Tic_Info) == 32, "layout");
static_assert(sizeof(MAPGIS_RegExt) == 16, "layout");

// Fixed positions of a layer file.
constexpr long MAPGIS_PROJECTION_OFFSET = 91;
constexpr long MAPGIS_ELEMENT_OFFSET = 260;
constexpr long MAPGIS_EXTENT_OFFSET = 304;
constexpr long MAPGIS_TIC_OFFSET = 592;
constexpr int MAPGIS_MAX_DIRECTORY = 1024;

// The 8-byte magic of a type word, or null for an unknown type.
const char* LayerMagic(int type);

}  // namespace MapGis
