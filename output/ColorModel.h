#pragma once
// How a MapGIS colour number becomes a style value: through the run's
// colour library, as RGB, CMYK or the packed value of the chosen colour
// model. A model is read-only once built, so entries converted at the same
// time share it.
#include <cstdint>

#include "MapGisColorLib.h"

class ColorModel {
 public:
  // Colour models of the plain-text style values.
  enum Model : int { kRgb = 0, kRgba = 1, kCmyk = 2 };

  // `library` may be null (no library loaded): every number but 0 is then
  // outside it. The library must outlive the model.
  ColorModel(const MapGis::MapGis_ColorLib* library, int model) : library_(library), model_(model) {}

  // Colour numbers are 1-based; 0 passes (it gives zeros), any other number
  // outside the library does not.
  bool Contains(long number) const;
  // The colour as CMYK / RGB; zeros for a number outside the library.
  MapGis::CMYKQUAD Cmyk(long number) const;
  MapGis::RGBTRIPLE Rgb(long number) const;
  // red | green << 8 | blue << 16, and cyan << 24 | magenta << 16 | yellow << 8 | black.
  uint32_t PackedRgb(long number) const;
  uint32_t PackedCmyk(long number) const;
  // The value of the colour model: packed RGB, packed RGB with alpha 255,
  // or packed CMYK; 0 for an unknown model.
  uint32_t ModelValue(long number) const;

 private:
  const MapGis::MapGis_ColorLib* library_;
  int model_;
};
