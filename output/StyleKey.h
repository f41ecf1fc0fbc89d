#pragma once
// What identifies one distinct symbol in the coded style modes, and the
// lists of distinct colours and keys a conversion collects for the legend.
#include <cstdint>
#include <string>
#include <vector>

struct StyleKey {
  int32_t index = 0;   // colour position (legend mode) or symbol type (code mode)
  int32_t type = 0;    // point kind, line type or fill pattern
  uint32_t colour = 0; // packed RGB (legend mode) or packed CMYK (code mode)
  int32_t extra = 0;   // a second value of the symbol
  float size1 = 0.0f;
  float size2 = 0.0f;
  float size3 = 0.0f;

  // Same type, colour and extra, sizes within 0.0001 (the index is not compared).
  bool SameSymbol(const StyleKey& other) const;
  // "%04X%08X%08X%04X%04X%04X" of type, colour, extra and the sizes x 100
  // (truncated): 32 upper-case hexadecimal characters for ordinary sizes.
  std::string Code() const;
};

using ColourList = std::vector<uint32_t>;  // red | green << 8 | blue << 16
using KeyList = std::vector<StyleKey>;

// Position of the first key equal to `key`, or -1.
int FindStyleKey(const KeyList& keys, const StyleKey& key);
// Position of `colour` in the list, appending it when new.
int AddColour(ColourList& colours, uint32_t colour);
