// The number texts are the bytes shapelib stores: a table written with
// shapelib's double and integer writes and the same table written with the
// texts through DBFWriteAttributeDirectly are the same file, and each text
// fits exactly when shapelib's write succeeds. Unsigned texts are what the
// unsigned write stores.
#include <gtest/gtest.h>

#include <shapefil.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "DbfNumbers.h"
#include "ShapefileWriter.h"
#include "TempDir.h"

namespace {

struct Column {
  int width;
  int decimals;
};

// Widths around every integer length and the widest columns, each with
// decimals from 0 to 15 where they leave room for a digit, and some without.
std::vector<Column> Columns() {
  std::vector<Column> columns;
  for (int width : {1, 2, 3, 4, 9, 10, 11, 12, 17, 20, 24, 33, 64, 254, 255}) {
    for (int decimals = 0; decimals <= 15; ++decimals) {
      if (decimals == 0 || decimals + 2 <= width || width == 4) columns.push_back({width, decimals});
    }
  }
  return columns;
}

std::vector<double> Doubles() {
  std::vector<double> v = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 0.375, 1.005, 2.675, 123.456, -123.456,
                           1e15, 9007199254740993.0, 9.999999999999999e22, 1e300, -1e300, DBL_MAX, -DBL_MAX,
                           DBL_MIN, 5e-324, 1e-7, -1e-7, NAN, -NAN, INFINITY, -INFINITY};
  // Halves at every decimal place, and just below and above them.
  for (int d = 0; d <= 15; ++d) {
    const double half = 0.5 * std::pow(10.0, -d);
    for (double base : {0.0, 1.0, 7.0, -3.0}) {
      v.push_back(base + half);
      v.push_back(std::nextafter(base + half, 0.0));
      v.push_back(std::nextafter(base + half, 10.0));
    }
  }
  std::mt19937_64 rng(42);
  for (int k = 0; k < 300; ++k) {
    const double mantissa = static_cast<double>(rng() >> 11) / 9007199254740992.0;
    v.push_back((k % 2 ? -1 : 1) * mantissa * std::pow(10.0, static_cast<int>(rng() % 40) - 20));
  }
  return v;
}

std::vector<int> Integers() {
  std::vector<int> v = {0, INT_MAX, INT_MIN};
  for (long long p = 1; p <= 1000000000LL; p *= 10) {
    for (long long x : {p - 1, p, p + 1}) {
      v.push_back(static_cast<int>(x));
      v.push_back(static_cast<int>(-x));
    }
  }
  return v;
}

std::string Bytes(const std::filesystem::path& p) {
  const std::vector<uint8_t> b = testing_support::ReadAll(p);
  std::string s(b.begin(), b.end());
  if (s.size() > 4) s.replace(1, 3, 3, '\0');  // date of last update
  return s;
}

DBFHandle NewTable(const std::string& path, const std::vector<Column>& columns, DBFFieldType type) {
  DBFHandle dbf = DBFCreate(path.c_str());
  for (size_t i = 0; i < columns.size(); ++i) {
    const std::string name = "F" + std::to_string(i);
    EXPECT_EQ(DBFAddField(dbf, name.c_str(), type, columns[i].width, columns[i].decimals), static_cast<int>(i));
  }
  return dbf;
}

// Writes every value into every column twice, with the library's `write`
// and with our `format` texts through DBFWriteAttributeDirectly, and
// compares the two files and the fit of each value. A text that does not
// fit is stored cut when `storeCut`, otherwise not at all.
template <class T, class Write, class Format>
void CompareWrites(const std::vector<T>& values, const std::vector<Column>& columns, DBFFieldType type, Write write,
                   Format format, bool storeCut) {
  testing_support::TempDir dir;
  const std::string theirs = dir.File("theirs.dbf").string(), ours = dir.File("ours.dbf").string();
  DBFHandle a = NewTable(theirs, columns, type);
  DBFHandle b = NewTable(ours, columns, type);
  char text[DbfNumbers::kBufferSize];
  int mismatches = 0;
  for (size_t row = 0; row < values.size(); ++row) {
    for (size_t c = 0; c < columns.size(); ++c) {
      const int r = static_cast<int>(row), f = static_cast<int>(c);
      const bool stored = write(a, r, f, values[row]) != 0;
      const bool fits = format(values[row], columns[c].width, columns[c].decimals, text);
      if (fits || storeCut) {
        ASSERT_EQ(static_cast<int>(std::strlen(text)), columns[c].width);
        ASSERT_TRUE(DBFWriteAttributeDirectly(b, r, f, text));
      }
      // shapelib alone reports a value cut in a 255 column as stored.
      const bool quietlyCut = stored && !fits && columns[c].width == 255;
      if (fits != stored && !quietlyCut && ++mismatches < 5) {
        ADD_FAILURE() << "fit differs: " << values[row] << " in " << columns[c].width << "." << columns[c].decimals;
      }
    }
  }
  DBFClose(a);
  DBFClose(b);
  EXPECT_EQ(mismatches, 0);
  const std::string x = Bytes(theirs), y = Bytes(ours);
  ASSERT_EQ(x.size(), y.size());
  const size_t at = std::mismatch(x.begin(), x.end(), y.begin()).first - x.begin();
  EXPECT_EQ(at, x.size()) << "first different byte " << at << ": " << x.substr(at > 20 ? at - 20 : 0, 60) << " | "
                          << y.substr(at > 20 ? at - 20 : 0, 60);
}

}  // namespace

TEST(DbfNumbers, DoublesAreTheBytesShapelibStores) {
  CompareWrites(Doubles(), Columns(), FTDouble, DBFWriteDoubleAttribute, DbfNumbers::FormatDouble, true);
}

TEST(DbfNumbers, IntegersAreTheBytesShapelibStores) {
  CompareWrites(Integers(), Columns(), FTDouble, DBFWriteIntegerAttribute, DbfNumbers::FormatInteger, true);
}

TEST(DbfNumbers, UnsignedValuesAreWhatTheUnsignedWriteStores) {
  const std::vector<Column> columns = {{1, 0}, {2, 0}, {3, 0}, {9, 0}, {10, 0}, {11, 0}, {31, 0}};
  const std::vector<uint32_t> values = {0, 1, 9, 10, 99, 100, 999999999, 1000000000, 2147483648u, UINT32_MAX};
  CompareWrites(values, columns, FTInteger, DBFWriteUnsignedIntAttribute,
                [](uint32_t v, int width, int, char* out) { return DbfNumbers::FormatUnsigned(v, width, out); }, false);
  // Columns wider than the unsigned write's own buffer still get the digits.
  char text[DbfNumbers::kBufferSize];
  ASSERT_TRUE(DbfNumbers::FormatUnsigned(4000000000u, 40, text));
  EXPECT_EQ(std::string(text), std::string(30, ' ') + "4000000000");
  EXPECT_FALSE(DbfNumbers::FormatUnsigned(7, 0, text));
  EXPECT_FALSE(DbfNumbers::FormatDouble(7, 256, 0, text));
  EXPECT_FALSE(DbfNumbers::FormatDouble(7, 10, -1, text));
}

// Dates written into text columns: the text "%04d-%02d-%02d" gives, for every
// year a MapGIS date can hold and every month and day byte.
TEST(DbfNumbers, DateTextIsWhatPrintfGives) {
  char expected[64];
  auto check = [&](int year, int month, int day) {
    std::snprintf(expected, sizeof expected, "%04d-%02d-%02d", year, month, day);
    return DbfNumbers::DateText(year, month, day) == expected;
  };
  int wrong = 0;
  for (int year = -32768; year <= 32767; ++year) {
    for (int month : {0, 1, 9, 10, 12, 99, 100, 255}) wrong += !check(year, month, 31);
  }
  for (int month = 0; month <= 255; ++month) {
    for (int day = 0; day <= 255; ++day) wrong += !check(2019, month, day) + !check(-7, month, day);
  }
  EXPECT_EQ(wrong, 0);
}
