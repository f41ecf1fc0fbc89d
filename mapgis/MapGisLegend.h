#pragma once
// Style resources of a MapGIS system: legend files (named items with the
// style parameters of a point, line or polygon), the head of a symbol
// library file, and the names of annotation fonts and font styles.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "MapGisFormat.h"

namespace MapGis {

namespace detail {
class BinaryFile;
}

#pragma pack(push, 1)

// Point style: bytes 0..61 are bytes 31..92 of a point record.
struct PNT_INFOstruct {
  uint8_t kind;           // 0, 5 annotation; 1 sub-picture
  uint8_t transparent;
  union {
    MAPGIS_SubParam sub;
    MAPGIS_NoteParam note;
    uint8_t raw[42];
  } param;
  int32_t color;
  uint8_t reserved48[4];
  int16_t layer;
  uint8_t reserved54[8];
  uint8_t reserved62[32];  // not interpreted
};

// Line style: bytes 0..26 are bytes 22..48 of a line record.
struct LIN_INFOstruct {
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
  uint8_t reserved27[40];  // not interpreted
};

// Polygon style: bytes 0..22 are bytes 9..31 of a polygon record.
struct REG_INFOstruct {
  int32_t fillColor;
  int16_t pattern;
  float patternHeight;
  float patternWidth;
  int32_t patternColor;
  uint8_t reserved18[2];
  uint8_t transparent;
  int16_t layer;
  uint8_t reserved23[40];  // not interpreted
};

struct MAPGIS_LegendItem {
  char itemName[256];     // GBK text, zero-terminated
  int8_t itemKind;        // 0 line, 1 point, 2 polygon; others have no parameters
  int32_t paramOffset;    // parameter block, counted from the end of the item table
  uint8_t reserved261[72];
};

#pragma pack(pop)

static_assert(sizeof(PNT_INFOstruct) == 94, "layout");
static_assert(offsetof(PNT_INFOstruct, param) == 2 && offsetof(PNT_INFOstruct, color) == 44, "layout");
static_assert(offsetof(PNT_INFOstruct, layer) == 52 && offsetof(PNT_INFOstruct, reserved62) == 62, "layout");
static_assert(sizeof(LIN_INFOstruct) == 67, "layout");
static_assert(offsetof(LIN_INFOstruct, color) == 4 && offsetof(LIN_INFOstruct, width) == 8, "layout");
static_assert(offsetof(LIN_INFOstruct, lineClass) == 12 && offsetof(LIN_INFOstruct, xScale) == 13, "layout");
static_assert(offsetof(LIN_INFOstruct, auxColor) == 21 && offsetof(LIN_INFOstruct, layer) == 25, "layout");
static_assert(sizeof(REG_INFOstruct) == 63, "layout");
static_assert(offsetof(REG_INFOstruct, pattern) == 4 && offsetof(REG_INFOstruct, patternColor) == 14, "layout");
static_assert(offsetof(REG_INFOstruct, transparent) == 20 && offsetof(REG_INFOstruct, layer) == 21, "layout");
static_assert(sizeof(MAPGIS_LegendItem) == 333, "layout");
static_assert(offsetof(MAPGIS_LegendItem, itemKind) == 256 && offsetof(MAPGIS_LegendItem, paramOffset) == 257,
              "layout");

class MapGis_Legend {
 public:
  MapGis_Legend();
  ~MapGis_Legend();
  MapGis_Legend(const MapGis_Legend&) = delete;
  MapGis_Legend& operator=(const MapGis_Legend&) = delete;

  // Opens a legend file and reads its item table. Returns the item count
  // (a stored count below 1 is returned as stored and means no items), or
  // -9996 (cannot open), -9997 (wrong magic) or -9983 (short file, or more
  // items than the file can hold). The file stays open until Close; a
  // failed Open leaves it closed.
  long Open(const wchar_t* path);
  // Number of items held (0 when none, also for a stored count below 0).
  long GetLegendNum() const;
  // Copies item `index` into `item` and reads its parameter block into the
  // buffer of its kind (pnt for 1, lin for 0, reg for 2). Null pointers are
  // skipped. Returns the item's kind, or -9983 for an index outside the
  // items or a block outside the file; buffers are untouched on failure.
  long GetLegendInfo(int index, MAPGIS_LegendItem* item, PNT_INFOstruct* pnt, LIN_INFOstruct* lin,
                     REG_INFOstruct* reg);
  // Frees the items and closes the file.
  void Close();

 private:
  std::unique_ptr<detail::BinaryFile> file_;
  uint8_t head_[16];
  std::vector<MAPGIS_LegendItem> items_;
};

class MapGis_Symbol {
 public:
  MapGis_Symbol();
  ~MapGis_Symbol();
  MapGis_Symbol(const MapGis_Symbol&) = delete;
  MapGis_Symbol& operator=(const MapGis_Symbol&) = delete;

  // Opens a symbol library and reads the 26 bytes at its head. Returns 0,
  // -9996 (cannot open) or -9983 (shorter than 26 bytes; the file is closed).
  long Open(const wchar_t* path);
  void Close();

 private:
  std::unique_ptr<detail::BinaryFile> file_;
  uint8_t head_[26];
};

// Writes the GBK name of an annotation font number, terminator included
// (at most 7 bytes), into `out`; unknown numbers give "仿宋". Returns `number`.
int GetFontName(int number, char* out);
// Writes the GBK name of a font style number, terminator included (at most
// 9 bytes), into `out`; unknown numbers give "正体". Returns `number`.
int GetFontStyle(int number, char* out);

}  // namespace MapGis
