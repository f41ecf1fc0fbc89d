#pragma once
// One shapefile being written: the .shp/.shx pair and the .dbf/.cpg table,
// through shapelib, with every call checked. Keeps the list of files it
// created so an empty result can be removed without touching anything else.
#include <shapefil.h>

#include <string>
#include <vector>

#include "MapGisGeometry.h"

class ShapefileOutput {
 public:
  ShapefileOutput() = default;
  ~ShapefileOutput();
  ShapefileOutput(const ShapefileOutput&) = delete;
  ShapefileOutput& operator=(const ShapefileOutput&) = delete;

  // Creates base + ".dbf" and base + ".cpg" ("UTF-8" for UTF-8 tables,
  // otherwise "936"). On failure `failed` names the file that could not be made.
  bool CreateTable(const std::wstring& base, bool utf8, std::wstring* failed);
  // Creates base + ".shp" and ".shx" of a shapefile shape type.
  bool CreateShapes(const std::wstring& base, int shapeType, std::wstring* failed);

  // Adds a column named `name` (table encoding), cut to 10 bytes at a
  // character boundary and made unique in the table. Returns the column index
  // or -1; `written` receives the name as stored.
  int AddColumn(const std::string& name, DBFFieldType type, int width, int decimals, std::string* written = nullptr);

  // Appends a shape; an empty geometry (or null) becomes a null shape so the
  // rows of the table stay aligned with the shapes.
  bool WriteShape(const MapGis::Geometry* g);

  bool WriteString(int row, int column, const std::string& value);
  bool WriteInteger(int row, int column, int value);
  bool WriteUnsigned(int row, int column, uint32_t value);
  bool WriteDouble(int row, int column, double value);
  bool WriteNull(int row, int column);

  // Closes both files; the table of a GBK run gets the language driver of code page 936.
  void Close();

  // Files created by this object, full UTF-8 paths, in creation order.
  const std::vector<std::string>& CreatedFiles() const { return created_; }
  int ColumnCount() const;

 private:
  DBFHandle dbf_ = nullptr;
  SHPHandle shp_ = nullptr;
  bool utf8_ = true;
  std::string dbfPath_;
  std::vector<std::string> created_;
  std::vector<std::string> names_;
};

// An unsigned 32-bit value written into an integer column, as shapelib's
// integer write does for signed values; false when it does not fit.
int DBFWriteUnsignedIntAttribute(DBFHandle dbf, int row, int column, uint32_t value);
