#pragma once
// A result written as a shapefile: the .shp/.shx pair and the .dbf/.cpg
// table through shapelib, every call checked, under temporary names until
// the entry is committed (ResultStaging).
#include <shapefil.h>

#include <memory>
#include <string>
#include <vector>

#include "DbfRows.h"
#include "LayerWriter.h"
#include "ResultStaging.h"

class ShapefileWriter : public LayerWriter {
 public:
  // `finalBase` is the result's path without extension; tables are UTF-8
  // ("UTF-8" in the .cpg) or GBK ("936" and language driver 0x4D).
  ShapefileWriter(ResultStaging& staging, const std::wstring& finalBase, bool utf8);
  ~ShapefileWriter() override;
  ShapefileWriter(const ShapefileWriter&) = delete;
  ShapefileWriter& operator=(const ShapefileWriter&) = delete;

  bool Utf8() const override { return utf8_; }
  std::wstring PartName(const wchar_t* extension) const override { return finalBase_ + extension; }
  bool CreateTable(std::wstring* failed) override;
  bool CreateShapes(ShapeKind kind, std::wstring* failed) override;
  // Names are cut to 10 bytes at a character boundary and made unique: a
  // later column whose name is taken gets a number in its tail. Columns
  // hold at most 255 bytes; dates, times and timestamps are text columns.
  int AddColumn(const std::string& name, ColumnKind kind, int width, int decimals, StoredColumn* stored) override;
  bool WriteShape(const MapGis::Geometry* g) override;
  bool WriteString(int row, int column, const std::string& value) override;
  // Whole up to 254 bytes, else cut to 250 bytes and "..." (TableText).
  bool WriteStoredText(int row, int column, const std::string& gbk) override;
  bool WriteInteger(int row, int column, int value) override;
  bool WriteUnsigned(int row, int column, uint32_t value) override;
  bool WriteDouble(int row, int column, double value) override;
  // Dates, times and timestamps as text: "2024-05-01", "12:30:05.25",
  // "2024-05-01_12:30:05.00000000".
  bool WriteDate(int row, int column, const MapGis::DATE_STRUstruct& value) override;
  bool WriteTime(int row, int column, const MapGis::TIME_STRUstruct& value) override;
  bool WriteTimeStamp(int row, int column, const MapGis::TIMESTAMPstruct& value) override;
  bool WriteNull(int row, int column) override;
  bool WriteSideFile(const std::wstring& extension, const std::string& bytes) override;
  bool Close() override;
  const WriteFailure* Failure() override;
  void Discard() override;

 private:
  // The temporary path of `extension`, staging the result on first use.
  std::string TempPath(const char* extension);
  // Takes the hooks' failure of this thread, if any, as the writer's.
  bool CheckHooks();
  void Fail(const std::wstring& file, int error);
  // The bytes of a field of the row being assembled, or null when the
  // value is to be written through shapelib (the rows are then its).
  char* DirectField(int row, int column, int* size);
  // Hands the rows assembled so far to shapelib, before a write through it.
  void ThroughShapelib();
  bool WriteNumberText(int row, int column, const char* text);

  ResultStaging& staging_;
  std::wstring finalBase_;
  std::string tempBase_;
  bool utf8_;
  DBFHandle dbf_ = nullptr;
  SHPHandle shp_ = nullptr;
  std::unique_ptr<DbfRows> rows_;
  std::vector<std::string> names_;
  // Width and decimals of each numeric column, by column index (width 0:
  // not numeric), so numbers are formatted without asking shapelib.
  struct NumberColumn {
    int width = 0;
    int decimals = 0;
  };
  std::vector<NumberColumn> numbers_;
  // The column's format, or null when it is not a numeric column.
  const NumberColumn* Numeric(int column) const;
  bool closed_ = false;
  bool failed_ = false;
  WriteFailure failure_;
};

// An unsigned 32-bit value written into an integer column, as shapelib's
// integer write does for signed values; false when it does not fit.
int DBFWriteUnsignedIntAttribute(DBFHandle dbf, int row, int column, uint32_t value);
