#pragma once
// Numbers for dBASE numeric columns, formatted without printf into exactly
// the bytes shapelib stores for them: fixed notation with the column's
// decimals, right-aligned with spaces, cut to the column width when too long.
// The caller stores the text with DBFWriteAttributeDirectly.
#include <cstdint>
#include <string>

namespace DbfNumbers {

// Widest dBASE column.
constexpr int kMaxWidth = 255;
// Room `out` needs for any column: the widest column and a terminator.
constexpr int kBufferSize = kMaxWidth + 1;

// The text DBFWriteDoubleAttribute stores for `value` in a column of
// `width` (1 to 255) and `decimals` (0 to 255): exactly `width` characters
// and a terminator in `out`. False when the value does not fit; the text is
// then the value cut to the width, as shapelib stores it (a value longer
// than 255 characters in a 255 column is also refused here, where shapelib
// cuts it without saying so). A width or decimals outside those ranges
// gives false and an empty text.
bool FormatDouble(double value, int width, int decimals, char* out);

// The text DBFWriteIntegerAttribute stores: the value as a double.
bool FormatInteger(int value, int width, int decimals, char* out);

// The text of an unsigned value in an integer column: the digits
// right-aligned in `width` characters. False, with an empty text (nothing
// to store), when the digits do not fit.
bool FormatUnsigned(uint32_t value, int width, char* out);

// The text "%04d-%02d-%02d" gives for a date, as a date is written into a
// text column, without printf.
std::string DateText(int year, int month, int day);

}  // namespace DbfNumbers
