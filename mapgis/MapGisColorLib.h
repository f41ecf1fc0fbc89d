#pragma once
// Colour numbers of MapGIS records index the system's colour library
// (Pcolor.lib): four process-ink bytes per colour plus shares of spot inks.
// MapGis_ColorLib loads such a file and resolves numbers to RGB or CMYK.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace MapGis {

#pragma pack(push, 1)

// Layout-identical to the Windows structures of the same names.
struct RGBTRIPLE {
  uint8_t rgbtBlue;
  uint8_t rgbtGreen;
  uint8_t rgbtRed;
};

struct RGBQUAD {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
};

struct CMYKQUAD {
  uint8_t cmykBlack;
  uint8_t cmykCyan;
  uint8_t cmykMagenta;
  uint8_t cmykYellow;
};

// The 156-byte head of a colour library file.
struct COLORLIB_HEAD {
  char magic[8];        // "PCOLOR 3", no terminator
  int16_t colorCount;   // colour records after the head
  int16_t inkCount;     // spot inks in use, 0..28
  CMYKQUAD inks[36];    // spot-ink table
};

// One 32-byte colour record; colour number n is record n - 1.
struct MAPGIS_Color {
  CMYKQUAD base;         // the colour's own ink bytes
  uint8_t inkShare[28];  // share (0..255) of spot ink i
};

#pragma pack(pop)

static_assert(sizeof(RGBTRIPLE) == 3, "layout");
static_assert(sizeof(RGBQUAD) == 4, "layout");
static_assert(sizeof(CMYKQUAD) == 4, "layout");
static_assert(offsetof(CMYKQUAD, cmykCyan) == 1 && offsetof(CMYKQUAD, cmykYellow) == 3, "layout");
static_assert(sizeof(COLORLIB_HEAD) == 156, "layout");
static_assert(offsetof(COLORLIB_HEAD, colorCount) == 8 && offsetof(COLORLIB_HEAD, inkCount) == 10, "layout");
static_assert(offsetof(COLORLIB_HEAD, inks) == 12, "layout");
static_assert(sizeof(MAPGIS_Color) == 32 && offsetof(MAPGIS_Color, inkShare) == 4, "layout");

// The most spot inks a colour record has room for.
constexpr int MAPGIS_MAX_INKS = 28;

// RGB to CMYK without black extraction: black 0, cyan 255 - red,
// magenta 255 - green, yellow 255 - blue (for every input, zero channels too).
CMYKQUAD RGB2CMYK(RGBTRIPLE rgb);
// As RGB2CMYK; the reserved byte is ignored.
CMYKQUAD RGBA2CMYK(RGBQUAD rgba);
// CMYK bytes to RGB: each channel is (255 - ink) * (255 - black) / 255.
RGBTRIPLE CMYK2RGB(CMYKQUAD cmyk);
// As CMYK2RGB, reserved byte 255.
RGBQUAD CMYK2RGBA(CMYKQUAD cmyk);
// Resolves one record against a head without a loaded library. Only the
// last spot ink counts; each channel difference is clamped at 0. The red
// value lands in byte 0 (rgbtBlue) and blue in byte 2, the reverse of
// GetRGB's order; callers of this function rely on it. A head whose
// inkCount lies outside 0..28 contributes no inks.
RGBTRIPLE MAPGISCLR2RGB(MAPGIS_Color color, COLORLIB_HEAD head);

class MapGis_ColorLib {
 public:
  MapGis_ColorLib();

  // Loads a colour library file. Returns the number of colours loaded, or
  // -9996 (cannot open), -9997 (not "PCOLOR 3", or more than 28 spot inks)
  // or -9983 (short head, negative colour count). A file holding fewer
  // complete records than its count loads those it holds; records beyond
  // the count are ignored. After a failure the object holds no colours.
  long LoadColors(const wchar_t* path);
  // Number of colours loaded (0 when nothing is loaded).
  long GetColorNum() const;
  // The colour as RGB; all zero outside 1..GetColorNum().
  RGBTRIPLE GetRGB(long number) const;
  // The colour as percentages 0..100 per ink; all zero outside 1..GetColorNum().
  CMYKQUAD GetCMYK(long number) const;

 private:
  // The record's base with the spot inks mixed in, or false outside the library.
  bool MixedInks(long number, CMYKQUAD* out) const;

  COLORLIB_HEAD head_;
  std::vector<MAPGIS_Color> colors_;
};

}  // namespace MapGis
