#include "ColorModel.h"

bool ColorModel::Contains(long number) const {
  const long count = library_ ? library_->GetColorNum() : 0;
  return number >= 0 && number <= count;
}

MapGis::CMYKQUAD ColorModel::Cmyk(long number) const {
  if (!Contains(number) || !library_) return MapGis::CMYKQUAD{0, 0, 0, 0};
  return library_->GetCMYK(number);
}

MapGis::RGBTRIPLE ColorModel::Rgb(long number) const {
  if (!Contains(number) || !library_) return MapGis::RGBTRIPLE{0, 0, 0};
  return library_->GetRGB(number);
}

uint32_t ColorModel::PackedRgb(long number) const {
  const MapGis::RGBTRIPLE c = Rgb(number);
  return uint32_t{c.rgbtRed} | uint32_t{c.rgbtGreen} << 8 | uint32_t{c.rgbtBlue} << 16;
}

uint32_t ColorModel::PackedCmyk(long number) const {
  const MapGis::CMYKQUAD c = Cmyk(number);
  return uint32_t{c.cmykCyan} << 24 | uint32_t{c.cmykMagenta} << 16 | uint32_t{c.cmykYellow} << 8 |
         uint32_t{c.cmykBlack};
}

uint32_t ColorModel::ModelValue(long number) const {
  switch (model_) {
    case kRgb: return PackedRgb(number);
    case kRgba: return PackedRgb(number) | 0xFF000000u;
    case kCmyk: return PackedCmyk(number);
    default: return 0;
  }
}
