#pragma once
// One result being written, whatever the format: a table of columns and
// rows and, for a layer, one shape per row. Converters write through this
// interface and do not know the format. A result is kept only when it was
// closed whole; until then it lives under a temporary name (ResultStaging).
#include <cstdint>
#include <string>

#include "MapGisAttributes.h"
#include "MapGisGeometry.h"

// Kinds of table columns. `Unsigned` holds unsigned 32-bit values; dates,
// times and timestamps hold the MapGIS values of those types.
enum class ColumnKind { Text, Integer, Unsigned, Double, Date, Time, DateTime };

// Shape kinds of a layer.
enum class ShapeKind { Point, Line, Polygon };

// A write that failed: the file and the system's reason.
struct WriteFailure {
  std::wstring file;
  std::wstring reason;
};

// What a format made of a declared column.
struct StoredColumn {
  std::string name;       // the name as stored (in the table's encoding)
  bool renamed = false;   // made unique: an earlier column took the name
  bool narrowed = false;  // the format holds less than the declared width
};

class LayerWriter {
 public:
  virtual ~LayerWriter() = default;

  // Whether texts handed to the writer (column names, values) are UTF-8;
  // otherwise they are GBK.
  virtual bool Utf8() const = 0;
  // How the log names the part of the result that a file of `extension`
  // holds in a shapefile (".shp", ".dbf", ".prj", ".avl").
  virtual std::wstring PartName(const wchar_t* extension) const = 0;

  // Creates the table. False with `failed` naming the file that could not be made.
  virtual bool CreateTable(std::wstring* failed) = 0;
  // Creates the shapes of a layer (after the table's columns).
  virtual bool CreateShapes(ShapeKind kind, std::wstring* failed) = 0;

  // Adds a column named `name` and returns its index, or -1. `width` is
  // what its values need; `stored` (may be null) tells what the format made
  // of the declaration.
  virtual int AddColumn(const std::string& name, ColumnKind kind, int width, int decimals,
                        StoredColumn* stored) = 0;

  // Appends a shape; an empty geometry (or null) becomes a null shape so
  // rows and shapes stay aligned.
  virtual bool WriteShape(const MapGis::Geometry* g) = 0;

  // Values of row `row`: false when the value could not be written whole.
  virtual bool WriteString(int row, int column, const std::string& value) = 0;
  // A text as the MapGIS file stores it (GBK bytes).
  virtual bool WriteStoredText(int row, int column, const std::string& gbk) = 0;
  virtual bool WriteInteger(int row, int column, int value) = 0;
  virtual bool WriteUnsigned(int row, int column, uint32_t value) = 0;
  virtual bool WriteDouble(int row, int column, double value) = 0;
  virtual bool WriteDate(int row, int column, const MapGis::DATE_STRUstruct& value) = 0;
  virtual bool WriteTime(int row, int column, const MapGis::TIME_STRUstruct& value) = 0;
  virtual bool WriteTimeStamp(int row, int column, const MapGis::TIMESTAMPstruct& value) = 0;
  virtual bool WriteNull(int row, int column) = 0;

  // The EPSG code of the system the .prj text describes, when it is one: a
  // format that stores systems by authority keeps the code, not the text.
  virtual void SetSpatialReferenceCode(int) {}

  // A text that belongs to the result (".prj", ".avl", ".CSV", ".qml",
  // ".sld"), written whole; false when it could not be written (Failure() tells why).
  virtual bool WriteSideFile(const std::wstring& extension, const std::string& bytes) = 0;

  // Closes the result. False when something could not be written.
  virtual bool Close() = 0;
  // The first write that failed, or null. A failure stops the conversion.
  virtual const WriteFailure* Failure() = 0;
  // The result is not kept (an empty result, a stopped conversion).
  virtual void Discard() = 0;
};
