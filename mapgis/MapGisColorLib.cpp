#include "MapGisColorLib.h"

#include <cstring>
#include <utility>

#include "BinaryFile.h"
#include "LittleEndian.h"
#include "MapGisStatus.h"

namespace MapGis {

namespace {

constexpr char kColorMagic[8] = {'P', 'C', 'O', 'L', 'O', 'R', ' ', '3'};
constexpr uint64_t kHeadSize = sizeof(COLORLIB_HEAD);
constexpr uint64_t kRecordSize = sizeof(MAPGIS_Color);

uint8_t Channel(uint8_t ink, uint8_t black) {
  return static_cast<uint8_t>((255 - ink) * (255 - black) / 255);
}

// Ink bytes in CMYKQUAD order, so the four channels can be walked by index.
void ToBytes(const CMYKQUAD& q, uint8_t out[4]) { std::memcpy(out, &q, 4); }
CMYKQUAD FromBytes(const uint8_t in[4]) {
  CMYKQUAD q;
  std::memcpy(&q, in, 4);
  return q;
}

}  // namespace

CMYKQUAD RGB2CMYK(RGBTRIPLE rgb) {
  CMYKQUAD q;
  q.cmykBlack = 0;
  q.cmykCyan = static_cast<uint8_t>(255 - rgb.rgbtRed);
  q.cmykMagenta = static_cast<uint8_t>(255 - rgb.rgbtGreen);
  q.cmykYellow = static_cast<uint8_t>(255 - rgb.rgbtBlue);
  return q;
}

CMYKQUAD RGBA2CMYK(RGBQUAD rgba) {
  RGBTRIPLE t;
  t.rgbtBlue = rgba.rgbBlue;
  t.rgbtGreen = rgba.rgbGreen;
  t.rgbtRed = rgba.rgbRed;
  return RGB2CMYK(t);
}

RGBTRIPLE CMYK2RGB(CMYKQUAD cmyk) {
  RGBTRIPLE t;
  t.rgbtRed = Channel(cmyk.cmykCyan, cmyk.cmykBlack);
  t.rgbtGreen = Channel(cmyk.cmykMagenta, cmyk.cmykBlack);
  t.rgbtBlue = Channel(cmyk.cmykYellow, cmyk.cmykBlack);
  return t;
}

RGBQUAD CMYK2RGBA(CMYKQUAD cmyk) {
  const RGBTRIPLE t = CMYK2RGB(cmyk);
  RGBQUAD q;
  q.rgbBlue = t.rgbtBlue;
  q.rgbGreen = t.rgbtGreen;
  q.rgbRed = t.rgbtRed;
  q.rgbReserved = 255;
  return q;
}

RGBTRIPLE MAPGISCLR2RGB(MAPGIS_Color color, COLORLIB_HEAD head) {
  // Shares of the last spot ink only; a head with no (or an impossible
  // number of) inks adds nothing.
  int share[4] = {0, 0, 0, 0};
  if (head.inkCount > 0 && head.inkCount <= MAPGIS_MAX_INKS) {
    const int last = head.inkCount - 1;
    uint8_t ink[4];
    ToBytes(head.inks[last], ink);
    for (int b = 0; b < 4; ++b) share[b] = ink[b] * color.inkShare[last] / 255;
  }
  uint8_t base[4];
  ToBytes(color.base, base);
  // Differences below 0 (share plus base above 255) are clamped at 0.
  auto left = [&](int b) {
    const int v = 255 - share[b] - base[b];
    return v < 0 ? 0 : v;
  };
  const int black = left(0);
  RGBTRIPLE t;
  t.rgbtBlue = static_cast<uint8_t>(left(1) * black / 255);   // red value
  t.rgbtGreen = static_cast<uint8_t>(left(2) * black / 255);  // green value
  t.rgbtRed = static_cast<uint8_t>(left(3) * black / 255);    // blue value
  return t;
}

MapGis_ColorLib::MapGis_ColorLib() { std::memset(&head_, 0, sizeof head_); }

long MapGis_ColorLib::LoadColors(const wchar_t* path) {
  // A failed load leaves the object empty.
  std::memset(&head_, 0, sizeof head_);
  colors_.clear();
  colors_.shrink_to_fit();

  detail::BinaryFile file;  // closed on every return by its destructor
  if (!file.Open(path, detail::BinaryFile::Mode::Read)) return MAPGIS_OPEN_FAILED;

  uint8_t raw[kHeadSize];
  if (!file.ReadAt(0, raw, sizeof raw)) return MAPGIS_READ_FAILED;
  if (std::memcmp(raw, kColorMagic, sizeof kColorMagic) != 0) return MAPGIS_NOT_MAPGIS_FILE;
  const int16_t colorCount = detail::GetLE<int16_t>(raw + 8);
  const int16_t inkCount = detail::GetLE<int16_t>(raw + 10);

  // The records have room for 28 spot inks; more is not a valid library.
  if (inkCount < 0 || inkCount > MAPGIS_MAX_INKS) return MAPGIS_NOT_MAPGIS_FILE;
  if (colorCount < 0) return MAPGIS_READ_FAILED;

  // Real libraries do not always hold exactly colorCount records: load the
  // complete records present, at most colorCount.
  const uint64_t present = (file.Size() - kHeadSize) / kRecordSize;
  const uint64_t count = present < static_cast<uint64_t>(colorCount) ? present : static_cast<uint64_t>(colorCount);

  std::vector<uint8_t> body(static_cast<size_t>(count * kRecordSize));
  if (!file.ReadAt(kHeadSize, body.data(), body.size())) return MAPGIS_READ_FAILED;
  std::vector<MAPGIS_Color> colors(static_cast<size_t>(count));
  if (!body.empty()) std::memcpy(colors.data(), body.data(), body.size());

  std::memcpy(&head_, raw, sizeof head_);
  colors_ = std::move(colors);
  return static_cast<long>(colors_.size());
}

long MapGis_ColorLib::GetColorNum() const { return static_cast<long>(colors_.size()); }

bool MapGis_ColorLib::MixedInks(long number, CMYKQUAD* out) const {
  if (number < 1 || static_cast<unsigned long>(number) > colors_.size()) return false;
  const MAPGIS_Color& c = colors_[static_cast<size_t>(number - 1)];
  uint8_t q[4];
  ToBytes(c.base, q);
  // inkCount was checked against the record's room when loading. Inks are
  // added one by one, each sum saturating at 255.
  for (int i = 0; i < head_.inkCount; ++i) {
    uint8_t ink[4];
    ToBytes(head_.inks[i], ink);
    for (int b = 0; b < 4; ++b) {
      const int v = q[b] + ink[b] * c.inkShare[i] / 255;
      q[b] = static_cast<uint8_t>(v > 255 ? 255 : v);
    }
  }
  *out = FromBytes(q);
  return true;
}

RGBTRIPLE MapGis_ColorLib::GetRGB(long number) const {
  CMYKQUAD q;
  if (!MixedInks(number, &q)) return RGBTRIPLE{0, 0, 0};
  return CMYK2RGB(q);
}

CMYKQUAD MapGis_ColorLib::GetCMYK(long number) const {
  CMYKQUAD q;
  if (!MixedInks(number, &q)) return CMYKQUAD{0, 0, 0, 0};
  uint8_t b[4];
  ToBytes(q, b);
  for (uint8_t& v : b) v = static_cast<uint8_t>(v * 100 / 255);
  return FromBytes(b);
}

}  // namespace MapGis
