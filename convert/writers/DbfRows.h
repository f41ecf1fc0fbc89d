#pragma once
// Rows of a .dbf table assembled here and appended as whole records.
// shapelib blanks every new record byte by byte before its fields are set,
// which costs more than setting the fields of a wide table; here a record
// is blanked at once. shapelib still owns the file: it writes the header
// before the first record is appended, and the last record, the
// end-of-file mark and the record count when the table is closed, after
// HandBack().
#include <shapefil.h>

#include <string>

class DbfRows {
 public:
  explicit DbfRows(DBFHandle dbf) : dbf_(dbf) {}

  // The bytes of `column` in row `row` and their number: the row being
  // assembled, or the next one (the one before it is then appended). Null
  // when the row is not assembled here (any other row, a column that does
  // not exist, after HandBack): the caller writes through shapelib.
  char* Field(int row, int column, int* size);
  // Whether a row has been started here.
  bool Started() const { return row_ >= 0; }
  // The field's type letter ('C', 'N', ...).
  char Type(int column) const { return dbf_->pachFieldType[column]; }
  // Copies `text` into a field as shapelib stores a value: up to its first
  // NUL and at most the field's width, the rest blank. False when it was cut.
  static bool Put(char* field, int size, const char* text);
  // Fills a field as shapelib stores a null of the field's type.
  void PutNull(char* field, int size, int column) const;
  // Gives the rows to shapelib: those appended are counted, the row being
  // assembled becomes its current record, and every later row is written
  // through shapelib. False when a write failed.
  bool HandBack();

 private:
  bool Append();

  DBFHandle dbf_;
  std::string record_;
  int row_ = -1;      // the row being assembled
  int appended_ = 0;  // rows appended to the file
  bool direct_ = true;
};
