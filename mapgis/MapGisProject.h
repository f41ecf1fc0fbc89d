#pragma once
// MapGIS project files (.MPJ): a header with the project's extent, projection
// and description, and a table of items, one per layer file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "MapGisProjection.h"
#include "MapGisStatus.h"

namespace MapGis {

#pragma pack(push, 1)

// The project header, stored at file offset 12 behind the magic and version.
struct PROJECTHEAD {
  int16_t itemCount;
  double xMin;
  double yMin;
  double xMax;
  double yMax;
  uint8_t reserved34[704];
  int32_t itemTableOffset;      // absolute file offset of the first item
  uint8_t reserved742[62];
  MAP_PARAstruct projection;
  char description[128];        // GBK, zero-terminated
};

// One layer of the project.
struct PROJECTITEM {
  int8_t kind;                  // 0 line, 1 point, 2 polygon; 7 and 11 passed through
  uint8_t reserved1;
  char fileName[128];           // GBK path, absolute or relative to the project
  char description[194];        // GBK, zero-terminated
  double displayMin;
  double displayMax;
  uint8_t reserved340[60];
};

#pragma pack(pop)

static_assert(sizeof(PROJECTHEAD) == 1101, "project header is 1101 bytes");
static_assert(offsetof(PROJECTHEAD, xMin) == 2, "layout");
static_assert(offsetof(PROJECTHEAD, yMax) == 26, "layout");
static_assert(offsetof(PROJECTHEAD, itemTableOffset) == 738, "layout");
static_assert(offsetof(PROJECTHEAD, projection) == 804, "layout");
static_assert(offsetof(PROJECTHEAD, description) == 973, "layout");
static_assert(sizeof(PROJECTITEM) == 400, "project item is 400 bytes");
static_assert(offsetof(PROJECTITEM, fileName) == 2, "layout");
static_assert(offsetof(PROJECTITEM, description) == 130, "layout");
static_assert(offsetof(PROJECTITEM, displayMin) == 324, "layout");
static_assert(offsetof(PROJECTITEM, displayMax) == 332, "layout");

class MapGis_Prj {
 public:
  MapGis_Prj();
  ~MapGis_Prj();

  // Reads a project file; returns the item count or a negative status. On
  // failure the object keeps what it held before.
  long LoadProject(const wchar_t* path);
  // Writes the items back into the item table of an existing project file;
  // returns the file's item count or a negative status.
  long SaveProject(const wchar_t* path);

  // coordType of the project; fills `out` (if given) with the normalised record.
  char GetProjectionInfo(MAP_PARAstruct* out);
  // The project extent; null pointers are skipped.
  void GetExtentInfo(double* xMin, double* yMin, double* xMax, double* yMax);
  // First word of the project description ("NULL" when empty); returns 0.
  long GetMpjDesc(wchar_t* out);
  // First word of item `index`'s description ("NULL" when empty); returns 0,
  // or -9983 for an index outside the item table.
  long GetItemDesc(int index, wchar_t* out);
  // First word of the item's file name ("字段名错误" when empty), its display
  // range, and the shape type of its kind (1 point, 3 line, 5 polygon, 7, 9,
  // else 0); -9983 for an index outside the item table.
  long GetItemInfo(int index, wchar_t* fileName, double* displayMin, double* displayMax);
  // The item's whole stored file name with surrounding spaces trimmed (a
  // path may contain spaces); returns 0, or -9983 for a bad index.
  long GetItemFileName(int index, wchar_t* fileName);
  // Changes an item in memory; returns the stored kind byte, 0 when no items
  // are loaded, -9983 for an index outside the item table.
  long SetItemInfo(int index, const wchar_t* fileName, double displayMin, double displayMax, int kind);

 private:
  bool HasItem(int index) const;

  PROJECTHEAD head_;
  std::vector<PROJECTITEM> items_;
};

}  // namespace MapGis
