#include "StyleKey.h"

#include <cmath>
#include <cstdio>

namespace {

// Size x 100 as the integer the code shows; sizes that are not finite or
// too large for an integer are clamped instead of overflowing.
int64_t CodeSize(float size) {
  const double v = static_cast<double>(size) * 100.0;
  if (!std::isfinite(v)) return 0;
  if (v > 2147483647.0) return 2147483647;
  if (v < -2147483648.0) return -2147483648LL;
  return static_cast<int64_t>(v);
}

}  // namespace

bool StyleKey::SameSymbol(const StyleKey& o) const {
  return type == o.type && colour == o.colour && extra == o.extra && std::fabs(size1 - o.size1) <= 0.0001f &&
         std::fabs(size2 - o.size2) <= 0.0001f && std::fabs(size3 - o.size3) <= 0.0001f;
}

std::string StyleKey::Code() const {
  char text[96];
  std::snprintf(text, sizeof text, "%04X%08X%08X%04X%04X%04X", static_cast<unsigned>(type), colour,
                static_cast<unsigned>(extra), static_cast<unsigned>(CodeSize(size1)),
                static_cast<unsigned>(CodeSize(size2)), static_cast<unsigned>(CodeSize(size3)));
  return text;
}

int FindStyleKey(const KeyList& keys, const StyleKey& key) {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].SameSymbol(key)) return static_cast<int>(i);
  }
  return -1;
}

int AddColour(ColourList& colours, uint32_t colour) {
  for (size_t i = 0; i < colours.size(); ++i) {
    if (colours[i] == colour) return static_cast<int>(i);
  }
  colours.push_back(colour);
  return static_cast<int>(colours.size()) - 1;
}
