#pragma once
// What `gridmoor info` reads from a file, before it is printed: the text and
// the JSON report are two forms of the same values, read once.
#include <cstdint>
#include <string>
#include <vector>

#include "MapGis.h"
#include "SectionDirectory.h"
#include "StoredColors.h"

namespace gridmoor {

struct InfoOptions;

struct Extent {
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

// Live records and readable slots of one record table.
struct TableCount {
  const char* table;  // "points", "lines", "polygons", "nodes"
  int live;
  int slots;
};

// One slot of a geometry table. `status` is the read's status; the other
// members hold the record only when it is MAPGIS_OK.
struct GeometryRecord {
  long status = MapGis::MAPGIS_OK;
  MapGis::MAPGIS_PntInfo point{};   // point and node tables
  bool textRead = false;    // an annotation of a point file: its text was asked for
  long textStatus = MapGis::MAPGIS_OK;
  std::string text;         // UTF-8
  MapGis::MAPGIS_LineInfo line{};   // line tables
  MapGis::MAPGIS_RegInfo polygon{}; // polygon tables, with the assembled rings and vertices
  int rings = 0;
  int vertices = 0;
};

enum class GeometryKind { Point, Line, Polygon };

// The first slots of one geometry table.
struct GeometryTable {
  const char* name;  // "point", "node", "line", "polygon"
  GeometryKind kind;
  int slots = 0;
  std::vector<GeometryRecord> records;
};

struct FieldInfo {
  bool valid = false;  // false when the definition could not be read
  long status = 0;     // the read's status when not valid
  std::string name;    // UTF-8
  long type = 0;
  int width = 0, display = 0, decimals = 0;
};

// One attribute value, typed as its field is.
struct AttributeValue {
  enum class Kind { Missing, Text, Integer, Real, Bool, Moment, Raw };
  Kind kind = Kind::Missing;
  std::string text;     // Text: UTF-8; Real, Moment: the printed form; Raw: the stored bytes
  int64_t integer = 0;  // Integer
  bool flag = false;    // Bool
};

struct AttributeTable {
  int kind = 0;
  const char* name = "";
  long status = MapGis::MAPGIS_OK;  // otherwise the table could not be selected or counted
  long fieldCount = 0;
  long recordCount = 0;
  std::vector<FieldInfo> fields;
  std::vector<std::vector<AttributeValue>> records;  // one value per field; invalid fields hold Missing
};

struct SectionList {
  bool readable = false;
  std::string error;
  std::vector<SectionEntry> entries;
};

struct LayerInfo {
  long status = 0;
  int type = 0;
  std::vector<TableCount> counts;
  Extent extent;
  MapGis::MAP_PARAstruct projection{};
  bool usesTics = true;  // attribute table files keep table bytes where layers keep tics
  int tics = 0;
  SectionList sections;
  std::vector<GeometryTable> geometry;  // only when records were asked for
  std::vector<AttributeTable> tables;
};

struct ProjectItem {
  long kind = 0;  // negative: a status, and nothing else was read
  long storedStatus = 0;
  std::string storedName;
  std::string resolved;  // empty when the item names no file
  bool present = false;
  std::string firstWord;
  long descriptionStatus = 0;
  std::string description;
  double displayMin = 0, displayMax = 0;
};

struct ProjectInfo {
  long status = 0;  // item count or status
  Extent extent;
  MapGis::MAP_PARAstruct projection{};
  std::string description;
  std::vector<ProjectItem> items;
};

struct ColorLine {
  long number;
  bool stored;  // the stored record could be read
  MapGis::MAPGIS_Color record{};
  MapGis::CMYKQUAD percent{};
  MapGis::RGBTRIPLE rgb{};
};

struct ColorLibraryInfo {
  long status = 0;  // colour count or status
  bool haveStored = false;
  std::string storedError;
  StoredColors stored;
  long loaded = 0;
  bool listed = false;  // colour lines were asked for
  std::vector<ColorLine> colors;
};

// Readers of the model; each mirrors what the library hands out.
LayerInfo ReadLayerInfo(const std::string& path, int recordLimit);
void ReadGeometryRecords(MapGis::MapGis_FastReader& reader, int limit, std::vector<GeometryTable>& tables);
void ReadAttributeTables(MapGis::MapGis_FastReader& reader, int limit, std::vector<AttributeTable>& tables);
ProjectInfo ReadProjectInfo(const std::string& path);
ColorLibraryInfo ReadColorLibraryInfo(const std::string& path, bool listColors, const InfoOptions& options);

// Names shared by both forms of the report.
const char* LayerKindName(int type);
const char* FieldTypeName(long type);
const char* CoordTypeName(int coordType);
const char* UnitName(int unit);
const char* ProjectItemKindName(long kind);
std::string ProjectLoadStatusText(long status);
std::string ColorLoadStatusText(long status);
// Spot inks a colour record carries shares of.
int InkCount(const MapGis::COLORLIB_HEAD& head);

}  // namespace gridmoor
