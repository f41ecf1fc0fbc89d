#pragma once
// Declarations of style columns: name (UTF-8 literal), kind, width, decimals.
#include "LayerWriter.h"

struct StyleColumn {
  const char* name;
  ColumnKind kind;
  int width;
  int decimals;
};

// Widths of style columns. Integer columns hold every value their source
// can carry: unsigned 32-bit values (colour numbers, colour model values,
// 16-bit numbers written unsigned) need 10 characters, signed 32-bit 11.
constexpr int kSmallInt = 8;
constexpr int kUnsignedInt = 10;
constexpr int kSignedInt = 11;
// Key codes are 32 characters, longer for sizes above 655.35.
constexpr int kCodeWidth = 48;
