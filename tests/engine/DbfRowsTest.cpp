// Tables written by the shapefile writer (rows assembled and appended
// whole) against the same values written cell by cell through shapelib:
// the .dbf files are the same bytes, whatever order the writes come in.
#include <gtest/gtest.h>

#include <shapefil.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ConversionLog.h"
#include "DbfNumbers.h"
#include "MapGisCodePage.h"
#include "ResultStaging.h"
#include "ShapefileWriter.h"
#include "TempDir.h"

namespace {

// One write: a row, a column and a value (text, number or null).
struct Cell {
  int row;
  int column;
  enum Kind { Text, Integer, Double, Null } kind;
  std::string text;
  double number = 0.0;
};

struct ColumnDef {
  const char* name;
  ColumnKind kind;
  int width;
  int decimals;
};

const ColumnDef kColumns[] = {{"NAME", ColumnKind::Text, 10, 0}, {"CODE", ColumnKind::Integer, 8, 0},
                         {"AREA", ColumnKind::Double, 12, 3}, {"NOTE", ColumnKind::Text, 5, 0}};

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The writes through the shapefile writer, its table committed to `folder`.
std::string ThroughWriter(const testing_support::TempDir& dir, const std::string& name, const std::vector<Cell>& cells) {
  ResultStaging staging;
  const std::string base = dir.File(name).string();
  {
    ShapefileWriter out(staging, MapGis::Utf8ToWide(base), true);
    EXPECT_TRUE(out.CreateTable(nullptr));
    for (const ColumnDef& c : kColumns) out.AddColumn(c.name, c.kind, c.width, c.decimals, nullptr);
    for (const Cell& c : cells) {
      switch (c.kind) {
        case Cell::Text: out.WriteString(c.row, c.column, c.text); break;
        case Cell::Integer: out.WriteInteger(c.row, c.column, static_cast<int>(c.number)); break;
        case Cell::Double: out.WriteDouble(c.row, c.column, c.number); break;
        case Cell::Null: out.WriteNull(c.row, c.column); break;
      }
    }
    EXPECT_TRUE(out.Close());
  }
  ConversionLog log(nullptr, 0);
  EXPECT_TRUE(staging.Commit(log, nullptr));
  return Bytes(base + ".dbf");
}

// The same writes cell by cell through shapelib.
std::string ThroughShapelib(const testing_support::TempDir& dir, const std::string& name, const std::vector<Cell>& cells) {
  const std::string path = dir.File(name + "-shapelib.dbf").string();
  DBFHandle dbf = DBFCreateEx(path.c_str(), "UTF-8");
  for (const ColumnDef& c : kColumns) {
    DBFAddField(dbf, c.name, c.kind == ColumnKind::Text ? FTString : c.decimals ? FTDouble : FTInteger, c.width, c.decimals);
  }
  char text[DbfNumbers::kBufferSize];
  for (const Cell& c : cells) {
    const ColumnDef& s = kColumns[c.column];
    switch (c.kind) {
      case Cell::Text: DBFWriteStringAttribute(dbf, c.row, c.column, c.text.c_str()); break;
      case Cell::Integer:
        DbfNumbers::FormatInteger(static_cast<int>(c.number), s.width, s.decimals, text);
        DBFWriteAttributeDirectly(dbf, c.row, c.column, text);
        break;
      case Cell::Double:
        DbfNumbers::FormatDouble(c.number, s.width, s.decimals, text);
        DBFWriteAttributeDirectly(dbf, c.row, c.column, text);
        break;
      case Cell::Null: DBFWriteNULLAttribute(dbf, c.row, c.column); break;
    }
  }
  DBFClose(dbf);
  return Bytes(path);
}

// Rows of every kind of value: nulls of each type, texts that fill their
// column exactly, and short ones.
std::vector<Cell> Rows(int count) {
  std::vector<Cell> cells;
  for (int r = 0; r < count; ++r) {
    cells.push_back(r % 7 == 3 ? Cell{r, 0, Cell::Null, ""} : Cell{r, 0, Cell::Text, std::string(static_cast<size_t>(r % 11), 'a' + r % 26)});
    cells.push_back(r % 5 == 1 ? Cell{r, 1, Cell::Null, ""} : Cell{r, 1, Cell::Integer, "", r * 37.0 - 500});
    cells.push_back(r % 6 == 2 ? Cell{r, 2, Cell::Null, ""} : Cell{r, 2, Cell::Double, "", r * 1.125 - 3.5});
    cells.push_back(Cell{r, 3, Cell::Text, r % 2 ? "abcde" : "z"});
  }
  return cells;
}

}  // namespace

TEST(DbfRows, TablesAreTheBytesShapelibWritesCellByCell) {
  testing_support::TempDir dir;
  std::vector<std::pair<std::string, std::vector<Cell>>> cases = {
      {"none", {}}, {"one", Rows(1)}, {"many", Rows(200)}};
  // A write to an earlier row hands the rows to shapelib half way.
  std::vector<Cell> back = Rows(40);
  back.push_back(Cell{12, 3, Cell::Text, "back"});
  const std::vector<Cell> more = Rows(60);
  back.insert(back.end(), more.begin() + 160, more.end());
  cases.push_back({"back", back});
  // Cells of a row in any column order, and a row without values.
  std::vector<Cell> shuffled = {{0, 2, Cell::Double, "", 1.5}, {0, 0, Cell::Text, "x"}, {1, 3, Cell::Null, ""},
                                {2, 1, Cell::Integer, "", 7}};
  cases.push_back({"shuffled", shuffled});
  for (const auto& c : cases) {
    const std::string ours = ThroughWriter(dir, c.first, c.second);
    EXPECT_FALSE(ours.empty()) << c.first;
    EXPECT_TRUE(ours == ThroughShapelib(dir, c.first, c.second)) << c.first;
  }
}
