#pragma once
// The frame every converter of a MapGIS layer follows: open and check the
// layer, write the spatial reference, create the table with one column per
// MapGIS field plus the style columns, copy every record, close, write the
// legend, remove an empty result, and log one closing line. A converter adds
// only what its kind needs through the hooks below.
#include <string>
#include <vector>

#include "AttributeColumns.h"
#include "MapGis.h"
#include "ShapefileOutput.h"
#include "StyleKey.h"

class CGridmoorProView;

// The closing line of an open status of the reader (or of a project load).
const wchar_t* OpenClosingText(long status);

// Result of a conversion whose spatial-reference mode asks for a reference
// the source does not have.
constexpr long kNoProjection = -9978;

// Applies the spatial-reference mode to a source's projection record: writes
// base + ".prj" (logging `logText` with the base path) and gives the factor
// applied to every coordinate. MAPGIS_OK; kNoProjection when the mode asks
// for a reference the source lacks; -9982 when the .prj cannot be written.
// Every failure is logged with its closing line. `prjPath` receives the path
// of the .prj written (empty when none).
long ApplySpatialReference(MapGis::MAP_PARAstruct para, const std::wstring& base, const wchar_t* logText,
                           double* factor, std::string* prjPath);

// Style output modes (the SymbolType setting).
enum StyleMode : int {
  kStyleNone = 0,
  kStyleCode = 1,
  kStyleRaw = 2,
  kStyleText = 3,
  kStyleLegend = 4,
  kStyleBoard = 5,
};

class LayerConversion {
 public:
  explicit LayerConversion(CGridmoorProView& view);
  virtual ~LayerConversion();
  LayerConversion(const LayerConversion&) = delete;
  LayerConversion& operator=(const LayerConversion&) = delete;

  // Converts `source` into the shapefile `base` (full path without extension).
  long Run(const std::wstring& source, const std::wstring& base);

 protected:
  // The header type word this converter accepts.
  virtual int LayerKind() const = 0;
  // Valid records as result, readable slots through `slots`.
  virtual int CountRecords(int* slots) = 0;
  // Chooses the attribute table to convert; a failure stops the conversion.
  virtual long SelectAttributes() { return MapGis::MAPGIS_OK; }
  virtual const wchar_t* RecordCountFailText() const;
  virtual int ShapeType() const = 0;
  // Declares the style columns of the current style mode (after the attribute columns).
  virtual void AddStyleColumns() = 0;
  // Reads record r (slot r + 1) into the converter's record and `g`.
  virtual long ReadRecord(int r, MapGis::Geometry* g) = 0;
  // Whether the record just read belongs in the output; a record passed
  // over is neither written nor counted.
  virtual bool KeepRecord() const { return true; }
  // Last changes to a scaled geometry before it is written.
  virtual void FinishGeometry(MapGis::Geometry*) {}
  // Writes the style values of the record just read into table row `row`.
  virtual void WriteStyleValues(int row) = 0;
  // Writes the legend of the legend mode; true when the file was written.
  virtual bool WriteLegend(const std::wstring&) { return false; }
  virtual const wchar_t* SkippedText() const;
  virtual const wchar_t* MismatchText() const;
  virtual const wchar_t* ProjectionText() const;
  // The line naming the written shapefile (base path as argument).
  virtual const wchar_t* OutputText() const;
  // Logs the closing line of a finished conversion and gives its result,
  // from the rows written, the valid records counted and the records skipped.
  virtual long Closing(int written, int valid, int errors);

  // Services for the converters.
  int Mode() const { return mode_; }
  // Adds style columns (names are UTF-8 literals, converted to the table's
  // encoding); Style(i) is the table column of the i-th style column added,
  // -1 when it could not be added (its values are then skipped).
  void AddStyleColumns(const struct StyleColumn* columns, int count);
  // The columns of a converter's style families and their log lines: the
  // code mode, the raw and plain-text parameter modes (same count), the
  // legend modes. `keyLog` is the code/legend line with %ls for the column
  // name ("------I__增加图示编码字段[%ls]"; polygons say 匹配).
  struct ModeColumns {
    const struct StyleColumn* code;
    int codeCount;
    const struct StyleColumn* raw;
    const struct StyleColumn* text;
    int paramCount;
    const struct StyleColumn* legend;
    int legendCount;
    const wchar_t* keyLog;
  };
  void AddModeColumns(const ModeColumns& columns);
  int Style(int i) const { return i < static_cast<int>(style_.size()) ? style_[static_cast<size_t>(i)] : -1; }
  void WriteText(int row, int column, const std::string& tableText);
  void WriteUnsigned(int row, int column, uint32_t value);
  void WriteSigned(int row, int column, int32_t value);
  void WriteDouble(int row, int column, double value);
  void WriteNull(int row, int column);
  // "透明" or "不透明" in the table's encoding.
  std::string TransparencyText(int flag) const;
  // The code of a symbol key in the code mode (colour = packed CMYK) and in
  // the legend mode (colour = packed RGB, entered in the colour list).
  std::string SymbolCode(StyleKey key);
  std::string LegendCode(StyleKey key, uint32_t rgb);
  uint32_t PackedRgb(long colour);
  uint32_t PackedCmyk(long colour);

  CGridmoorProView& view_;
  MapGis::MapGis_FastReader reader_;
  ShapefileOutput out_;
  ColourList colours_;
  KeyList keys_;

 private:
  long Stop(long result, const wchar_t* closing);
  long OpenFailure(long status);
  void DeleteEmptyResult(const std::wstring& base);

  int mode_ = 0;
  AttributeColumns attributes_;
  std::vector<int> style_;
  std::vector<std::string> extraFiles_;  // .prj and .avl written by this run
};
