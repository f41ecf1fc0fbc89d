#pragma once
// The frame every converter of a MapGIS layer follows: open and check the
// layer, write the spatial reference, create the table with one column per
// MapGIS field plus the style columns, copy every record, close, write the
// legend, drop an empty result, and log one closing line. A converter adds
// only what its kind needs through the hooks below.
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "AttributeColumns.h"
#include "Converters.h"
#include "EpsgMatch.h"
#include "LayerWriter.h"
#include "MapGis.h"
#include "StyleKey.h"
#include "StyleModel.h"
#include "TableText.h"

// Style output modes (the SymbolType setting).
enum StyleMode : int {
  kStyleNone = 0,
  kStyleCode = 1,
  kStyleRaw = 2,
  kStyleText = 3,
  kStyleLegend = 4,
  kStyleBoard = 5,
};

// Runs `convert` with the entry's staging of results, or, for a converter
// called on its own, with a staging of its own whose result is put in place
// unless the conversion failed to write it.
long RunStaged(const ConverterInputs& in, const std::function<long(ResultStaging&)>& convert);

// A new entry of the run report for a converter's result.
LayerReport NewLayerReport(const char* converter, const std::wstring& base, const ConversionOptions& options);

// A new writer of the run's output format for the result `base`.
std::unique_ptr<LayerWriter> CreateLayerWriter(const ConverterInputs& in, ResultStaging& staging,
                                               const std::wstring& base);

// What the spatial-reference mode made of a projection record: the factor
// applied to every coordinate and the metres in one unit of the written
// coordinates (0 when they are not lengths or not known).
struct AppliedReference {
  double factor = 1.0;
  double metresPerUnit = 0.0;
};

// Applies the spatial-reference mode to a source's projection record: writes
// the .prj through `out` (logging `logText` with its part name), with the
// text of the EPSG system the record matches when PrjEpsg asks for it
// (`extent`: the source's extent as stored, or null), records the choice in
// `report` when given, and gives the coordinate factor. MAPGIS_OK;
// kNoProjection when the mode asks for a reference the source lacks;
// MAPGIS_WRITE_FAILED when the .prj cannot be written. Every failure is
// logged with its closing line.
long ApplySpatialReference(const ConverterInputs& in, MapGis::MAP_PARAstruct para, const cartography::Extent* extent,
                           LayerWriter& out, const wchar_t* logText, LayerReport* report,
                           AppliedReference* applied);

// Logs that a file of the result could not be created ("E" line naming the
// file and the reason, then the closing line) and gives MAPGIS_WRITE_FAILED.
long CreateFailed(ConversionLog& log, LayerWriter& out, const std::wstring& file);

// Logs a write failure of `out` ("E" line naming the file and the reason,
// then the closing line) and gives MAPGIS_WRITE_FAILED.
long WriteFailed(ConversionLog& log, LayerWriter& out);

class LayerConverter {
 public:
  explicit LayerConverter(const ConverterInputs& in);
  virtual ~LayerConverter();
  LayerConverter(const LayerConverter&) = delete;
  LayerConverter& operator=(const LayerConverter&) = delete;

  // Converts `source` into the result `base` (full path without extension).
  long Run(const std::wstring& source, const std::wstring& base);

 protected:
  // The header type word this converter accepts.
  virtual int LayerKind() const = 0;
  // The converter's name in the run report ("points", "lines", ...).
  virtual const char* ReportName() const = 0;
  // Valid records as result, readable slots through `slots`.
  virtual int CountRecords(int* slots) = 0;
  // Chooses the attribute table to convert; a failure stops the conversion.
  virtual long SelectAttributes() { return MapGis::MAPGIS_OK; }
  virtual const wchar_t* RecordCountFailText() const;
  virtual ShapeKind Shapes() const = 0;
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
  // The legend text of the legend mode; empty when the kind has none.
  virtual std::string LegendText() { return std::string(); }
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
  const ConversionOptions& Options() const { return in_.options; }
  const AngleModel& Angles() const { return angles_; }
  ConversionLog& Log() const { return in_.log; }
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
  // A text as the MapGIS file stores it (GBK).
  void WriteStoredText(int row, int column, const std::string& gbk);
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
  // Colours through the run's colour model; a number outside the colour
  // library gets an "E" line and zeros.
  uint32_t PackedRgb(long colour) const;
  uint32_t PackedCmyk(long colour) const;
  uint32_t ModelColor(long colour) const;

  // The layer's entry in the run report, or null when no report is kept.
  LayerReport* Report() const { return report_; }

  // Style files: the classes of the result's features, collected as their
  // style values are written, when ExportStyleFile asks for style files and
  // the style mode writes values.
  bool CollectingStyles() const { return collecting_; }
  // Adds the class of the features whose style values give `key` unless it
  // was added: `make` builds the class, only then.
  template <class Make>
  void CollectStyle(const std::string& key, Make make) {
    if (!collecting_ || styleKeys_.count(key) != 0) return;
    styleKeys_.emplace(key, cartography::AddStyleClass(styles_, make()));
  }
  // The class of a code or legend mode: features whose code column (style
  // column `column`) holds `code`.
  template <class MakeStyle>
  void CollectCoded(int column, const std::string& code, MakeStyle style) {
    CollectStyle(code, [&] {
      return cartography::StyleClass{code, {cartography::Condition{StyleName(column), cartography::Match::Equal, code}},
                                     style()};
    });
  }
  // The layer's text column, label sizes and angles for its label classes.
  cartography::LayerStyle& LayerStyles() { return styles_; }
  // The name of style column i as the table declares it, in UTF-8.
  std::string StyleName(int i) const;
  // Text of the table's encoding in UTF-8.
  std::string TableUtf8(const std::string& tableText) const;
  // The factor applied to every coordinate: map units per stored unit.
  double CoordinateFactor() const { return reference_.factor; }
  const ColorModel& Colours() const { return in_.colors; }

  MapGis::MapGis_FastReader reader_;
  ColourList colours_;
  KeyList keys_;
  TableText text_;

 private:
  long Convert(ResultStaging& staging, const std::wstring& source, const std::wstring& base);
  // Opens and checks the source; its counts of readable slots and valid records.
  long OpenSource(const std::wstring& source, int* slots, int* valid);
  // The result's writer, spatial reference, table, columns and shapes.
  long CreateResult(ResultStaging& staging, const std::wstring& base);
  // Closes the result, writes the legend and style files, drops an empty
  // result and logs the closing line.
  long FinishResult(const std::wstring& base, int written, int valid, int errors);
  // Writes the .qml and .sld of the collected classes; false when they could not be written.
  bool WriteStyleFiles(const std::wstring& base);
  // Ends a conversion whose result could not be written or created.
  long Failed();
  long CreateFailedStop(const std::wstring& file);
  // Copies every readable record; false when the result could not be written.
  bool CopyRecords(const std::wstring& source, int slots, double k, int* written, int* errors);
  long Stop(long result, const wchar_t* closing);
  long OpenFailure(long status);
  bool InLibrary(long colour) const;

  const ConverterInputs& in_;
  AngleModel angles_;
  int mode_ = 0;
  std::unique_ptr<LayerWriter> out_;
  LayerReport* report_ = nullptr;
  AttributeColumns attributes_;
  std::vector<int> style_;
  std::vector<std::string> styleNames_;  // as declared, in the table's encoding
  AppliedReference reference_;
  bool collecting_ = false;
  cartography::LayerStyle styles_;
  std::unordered_map<std::string, size_t> styleKeys_;
};
