#include "MapViewColor.h"

#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "MapGis.h"
#include "Settings.h"

namespace {

// Colour numbers are 1-based; 0 passes (the library gives zeros for it),
// anything else outside the loaded library is an error the log names.
bool InColourRange(long number, long colorCount) {
  if (number > colorCount || number < 0) {
    CONVERT_LOG(L"------E__第[%ld]号颜色超出颜色库范围", number);
    return false;
  }
  return true;
}

}  // namespace

MapGis::CMYKQUAD CGridmoorProView::GetCmykColor(long number) {
  if (!InColourRange(number, colorLib_.GetColorNum())) return MapGis::CMYKQUAD{0, 0, 0, 0};
  return colorLib_.GetCMYK(number);
}

MapGis::RGBTRIPLE CGridmoorProView::GetRGBColor(long number) {
  if (!InColourRange(number, colorLib_.GetColorNum())) return MapGis::RGBTRIPLE{0, 0, 0};
  return colorLib_.GetRGB(number);
}

uint32_t CGridmoorProView::GetModelColor(long number) {
  switch (Settings::ColorModel) {
    case 0:
    case 1: {
      const MapGis::RGBTRIPLE rgb = GetRGBColor(number);
      uint32_t value = uint32_t{rgb.rgbtRed} | uint32_t{rgb.rgbtGreen} << 8 | uint32_t{rgb.rgbtBlue} << 16;
      if (Settings::ColorModel == 1) value |= 0xFF000000u;
      return value;
    }
    case 2: {
      const MapGis::CMYKQUAD cmyk = GetCmykColor(number);
      return uint32_t{cmyk.cmykCyan} << 24 | uint32_t{cmyk.cmykMagenta} << 16 | uint32_t{cmyk.cmykYellow} << 8 |
             uint32_t{cmyk.cmykBlack};
    }
    default:
      return 0;
  }
}

double StyleAngle(double angle, AngleUse use) {
  if (Settings::RotateType != 1) return angle;
  if (Settings::SymbolType == 3) {
    return use == AngleUse::NetworkNode ? MapGis::Arithmetic2Graphic(angle) : MapGis::Arithmetic2Geographic(angle);
  }
  if (Settings::SymbolType == 4) return MapGis::Arithmetic2Geographic(angle);
  return angle;
}
