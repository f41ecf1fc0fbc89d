// Colour conversions and the colour library: fixtures are written byte by
// byte at the documented offsets (head 156 bytes, 32-byte records after it).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ByteBuilder.h"
#include "MapGis.h"
#include "TempDir.h"

using namespace MapGis;
using testing_support::ByteBuilder;
using testing_support::TempDir;

namespace {

struct Rgb {
  int r, g, b;
};
bool operator==(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << "(" << c.r << "," << c.g << "," << c.b << ")"; }
Rgb Of(RGBTRIPLE t) { return {t.rgbtRed, t.rgbtGreen, t.rgbtBlue}; }

struct Cmyk {
  int k, c, m, y;
};
bool operator==(const Cmyk& a, const Cmyk& b) { return a.k == b.k && a.c == b.c && a.m == b.m && a.y == b.y; }
std::ostream& operator<<(std::ostream& os, const Cmyk& q) {
  return os << "(K" << q.k << " C" << q.c << " M" << q.m << " Y" << q.y << ")";
}
Cmyk Of(CMYKQUAD q) { return {q.cmykBlack, q.cmykCyan, q.cmykMagenta, q.cmykYellow}; }

CMYKQUAD Quad(int k, int c, int m, int y) {
  CMYKQUAD q;
  q.cmykBlack = static_cast<uint8_t>(k);
  q.cmykCyan = static_cast<uint8_t>(c);
  q.cmykMagenta = static_cast<uint8_t>(m);
  q.cmykYellow = static_cast<uint8_t>(y);
  return q;
}

// A colour library file: head, ink table at 12, record n at 156 + 32 (n - 1).
class LibraryBytes {
 public:
  LibraryBytes(int colorCount, int inkCount) : b_(156) {
    b_.Text(0, "PCOLOR 3").I16(8, static_cast<int16_t>(colorCount)).I16(10, static_cast<int16_t>(inkCount));
  }
  LibraryBytes& Ink(int i, int k, int c, int m, int y) {
    const size_t o = 12 + 4 * static_cast<size_t>(i);
    b_.U8(o, k).U8(o + 1, c).U8(o + 2, m).U8(o + 3, y);
    return *this;
  }
  // Colour number n (1-based) with its base bytes; shares set separately.
  LibraryBytes& Colour(int n, int k, int c, int m, int y) {
    const size_t o = Record(n);
    b_.U8(o, k).U8(o + 1, c).U8(o + 2, m).U8(o + 3, y);
    b_.Grow(o + 32);
    return *this;
  }
  LibraryBytes& Share(int n, int ink, int share) {
    b_.U8(Record(n) + 4 + static_cast<size_t>(ink), static_cast<uint8_t>(share));
    return *this;
  }
  ByteBuilder& Bytes() { return b_; }

 private:
  static size_t Record(int n) { return 156 + 32 * static_cast<size_t>(n - 1); }
  ByteBuilder b_;
};

}  // namespace

TEST(ColourConversion, CmykToRgbUsesTruncatingProductWithBlack) {
  EXPECT_EQ(Of(CMYK2RGB(Quad(0, 0, 0, 0))), (Rgb{255, 255, 255}));
  EXPECT_EQ(Of(CMYK2RGB(Quad(255, 0, 10, 20))), (Rgb{0, 0, 0}));
  EXPECT_EQ(Of(CMYK2RGB(Quad(0, 255, 0, 0))), (Rgb{0, 255, 255}));
  // (255-100)*(255-50)/255 = 124.6 -> 124; (255-0)*205/255 = 205; 155*205/255 again for yellow 100.
  EXPECT_EQ(Of(CMYK2RGB(Quad(50, 100, 0, 100))), (Rgb{124, 205, 124}));

  // Byte order of the Windows-compatible structures: blue, green, red (, reserved).
  const RGBTRIPLE t = CMYK2RGB(Quad(0, 255, 55, 0));
  uint8_t tb[3];
  std::memcpy(tb, &t, 3);
  EXPECT_EQ(tb[0], 255);  // blue
  EXPECT_EQ(tb[1], 200);  // green
  EXPECT_EQ(tb[2], 0);    // red
  const RGBQUAD q = CMYK2RGBA(Quad(50, 100, 0, 100));
  uint8_t qb[4];
  std::memcpy(qb, &q, 4);
  EXPECT_EQ(qb[0], 124);
  EXPECT_EQ(qb[1], 205);
  EXPECT_EQ(qb[2], 124);
  EXPECT_EQ(qb[3], 255);
}

TEST(ColourConversion, RgbToCmykNeverExtractsBlackAndDefinesZeroChannels) {
  RGBTRIPLE t{1, 128, 255};  // blue 1, green 128, red 255
  EXPECT_EQ(Of(RGB2CMYK(t)), (Cmyk{0, 0, 127, 254}));
  // Zero channels follow the same formula.
  EXPECT_EQ(Of(RGB2CMYK(RGBTRIPLE{0, 0, 0})), (Cmyk{0, 255, 255, 255}));
  EXPECT_EQ(Of(RGB2CMYK(RGBTRIPLE{0, 7, 255})), (Cmyk{0, 0, 248, 255}));
  // The reserved byte of RGBQUAD is ignored.
  RGBQUAD a{1, 128, 255, 0};
  RGBQUAD b{1, 128, 255, 200};
  EXPECT_EQ(Of(RGBA2CMYK(a)), (Cmyk{0, 0, 127, 254}));
  EXPECT_EQ(Of(RGBA2CMYK(b)), (Cmyk{0, 0, 127, 254}));
  EXPECT_EQ(Of(RGBA2CMYK(RGBQUAD{0, 0, 0, 9})), (Cmyk{0, 255, 255, 255}));
}

TEST(ColourConversion, RecordAgainstHeadUsesOnlyTheLastInkAndReversedBytes) {
  COLORLIB_HEAD h;
  std::memset(&h, 0, sizeof h);
  h.inkCount = 2;
  h.inks[0] = Quad(0, 255, 255, 255);  // would whiten nothing if it counted
  h.inks[1] = Quad(0, 0, 102, 0);
  MAPGIS_Color c;
  std::memset(&c, 0, sizeof c);
  c.base = Quad(0, 51, 0, 0);
  c.inkShare[0] = 255;
  c.inkShare[1] = 255;
  // Shares: ink 1 only -> magenta 102. Byte 0: (255-0-51)*255/255 = 204 (red),
  // byte 1: (255-102)*255/255 = 153, byte 2: 255 (blue).
  RGBTRIPLE t = MAPGISCLR2RGB(c, h);
  uint8_t b[3];
  std::memcpy(b, &t, 3);
  EXPECT_EQ(b[0], 204);
  EXPECT_EQ(b[1], 153);
  EXPECT_EQ(b[2], 255);

  // No inks: the shares are ignored.
  h.inkCount = 0;
  t = MAPGISCLR2RGB(c, h);
  EXPECT_EQ(t.rgbtBlue, 204);
  EXPECT_EQ(t.rgbtGreen, 255);
  EXPECT_EQ(t.rgbtRed, 255);

  // Share plus base above 255 clamps the difference at 0 instead of wrapping.
  h.inkCount = 1;
  h.inks[0] = Quad(200, 200, 0, 0);
  c.base = Quad(100, 100, 0, 0);
  t = MAPGISCLR2RGB(c, h);
  EXPECT_EQ(t.rgbtBlue, 0);
  EXPECT_EQ(t.rgbtGreen, 0);
  EXPECT_EQ(t.rgbtRed, 0);
  c.base = Quad(0, 100, 0, 0);
  t = MAPGISCLR2RGB(c, h);  // black share 200: (255-0)*(55)/255 = 55 for green and blue, red 0
  EXPECT_EQ(t.rgbtBlue, 0);
  EXPECT_EQ(t.rgbtGreen, 55);
  EXPECT_EQ(t.rgbtRed, 55);

  // An impossible ink count reads no share beyond the record's 28.
  c.base = Quad(0, 0, 0, 0);
  for (int count : {29, 36, 32767, -1, -32768}) {
    h.inkCount = static_cast<int16_t>(count);
    t = MAPGISCLR2RGB(c, h);
    EXPECT_EQ(t.rgbtBlue, 255) << count;
    EXPECT_EQ(t.rgbtGreen, 255) << count;
    EXPECT_EQ(t.rgbtRed, 255) << count;
  }
}

TEST(ColourLibrary, ResolvesNumbersWithInkMixing) {
  LibraryBytes lib(7, 2);
  lib.Ink(0, 0, 100, 0, 0).Ink(1, 0, 0, 128, 2);
  lib.Colour(1, 0, 0, 0, 0);                    // white
  lib.Colour(2, 255, 10, 20, 30).Share(2, 1, 255);  // black whatever the inks
  lib.Colour(3, 0, 255, 0, 0);                  // pure cyan
  lib.Colour(4, 0, 200, 0, 0).Share(4, 0, 255);    // cyan 200 + 100 saturates
  lib.Colour(5, 0, 0, 10, 0).Share(5, 1, 128);     // magenta 10 + 128*128/255 = 74, yellow 2*128/255 = 1
  lib.Colour(6, 128, 2, 0, 0);                  // percentages 50 and 0
  lib.Colour(7, 0, 0, 0, 0).Share(7, 0, 255).Share(7, 1, 255);
  TempDir dir;
  MapGis_ColorLib c;
  ASSERT_EQ(c.LoadColors(dir.Write("Pcolor.lib", lib.Bytes().Bytes()).c_str()), 7);
  EXPECT_EQ(c.GetColorNum(), 7);

  EXPECT_EQ(Of(c.GetRGB(1)), (Rgb{255, 255, 255}));
  EXPECT_EQ(Of(c.GetCMYK(1)), (Cmyk{0, 0, 0, 0}));
  EXPECT_EQ(Of(c.GetRGB(2)), (Rgb{0, 0, 0}));
  EXPECT_EQ(Of(c.GetCMYK(2)).k, 100);
  EXPECT_EQ(Of(c.GetRGB(3)), (Rgb{0, 255, 255}));
  EXPECT_EQ(Of(c.GetCMYK(3)), (Cmyk{0, 100, 0, 0}));
  EXPECT_EQ(Of(c.GetRGB(4)), (Rgb{0, 255, 255}));
  EXPECT_EQ(Of(c.GetCMYK(4)), (Cmyk{0, 100, 0, 0}));
  EXPECT_EQ(Of(c.GetCMYK(5)), (Cmyk{0, 0, 29, 0}));
  EXPECT_EQ(Of(c.GetRGB(5)), (Rgb{255, 181, 254}));
  EXPECT_EQ(Of(c.GetCMYK(6)), (Cmyk{50, 0, 0, 0}));
  // Both inks add: cyan 100, magenta 128, yellow 2.
  EXPECT_EQ(Of(c.GetRGB(7)), (Rgb{155, 127, 253}));

  // Outside 1..count everything is zero; the last number is the last record.
  for (long n : {0L, 8L, -1L, 100000L}) {
    EXPECT_EQ(Of(c.GetRGB(n)), (Rgb{0, 0, 0})) << n;
    EXPECT_EQ(Of(c.GetCMYK(n)), (Cmyk{0, 0, 0, 0})) << n;
  }
}

TEST(ColourLibrary, NoInksIgnoresShares) {
  LibraryBytes lib(1, 0);
  lib.Ink(0, 255, 255, 255, 255).Colour(1, 0, 0, 0, 0).Share(1, 0, 255).Share(1, 27, 255);
  TempDir dir;
  MapGis_ColorLib c;
  ASSERT_EQ(c.LoadColors(dir.Write("a.lib", lib.Bytes().Bytes()).c_str()), 1);
  EXPECT_EQ(Of(c.GetRGB(1)), (Rgb{255, 255, 255}));
}

TEST(ColourLibrary, RecordCountFollowsWhatTheFileHolds) {
  TempDir dir;
  MapGis_ColorLib c;
  // Count 5, three complete records and a partial fourth.
  LibraryBytes fewer(5, 0);
  fewer.Colour(1, 0, 1, 0, 0).Colour(2, 0, 2, 0, 0).Colour(3, 0, 255, 0, 0);
  fewer.Bytes().Grow(fewer.Bytes().Size() + 10);
  fewer.Bytes().U8(156 + 3 * 32, 255);
  EXPECT_EQ(c.LoadColors(dir.Write("fewer.lib", fewer.Bytes().Bytes()).c_str()), 3);
  EXPECT_EQ(c.GetColorNum(), 3);
  EXPECT_EQ(Of(c.GetRGB(3)), (Rgb{0, 255, 255}));
  EXPECT_EQ(Of(c.GetRGB(4)), (Rgb{0, 0, 0}));

  // Count 2, four records: the extra ones are outside the library.
  LibraryBytes more(2, 0);
  more.Colour(1, 0, 0, 0, 0).Colour(2, 0, 0, 255, 0).Colour(3, 0, 0, 0, 0).Colour(4, 0, 0, 0, 0);
  EXPECT_EQ(c.LoadColors(dir.Write("more.lib", more.Bytes().Bytes()).c_str()), 2);
  EXPECT_EQ(c.GetColorNum(), 2);
  EXPECT_EQ(Of(c.GetRGB(2)), (Rgb{255, 0, 255}));
  EXPECT_EQ(Of(c.GetRGB(3)), (Rgb{0, 0, 0}));

  // A head with no records at all loads no colours.
  LibraryBytes none(10, 0);
  EXPECT_EQ(c.LoadColors(dir.Write("none.lib", none.Bytes().Bytes()).c_str()), 0);
  EXPECT_EQ(c.GetColorNum(), 0);
  EXPECT_EQ(Of(c.GetRGB(1)), (Rgb{0, 0, 0}));
}

TEST(ColourLibrary, BadFilesGiveStatusesAndLeaveNoColours) {
  TempDir dir;
  LibraryBytes good(1, 0);
  good.Colour(1, 0, 255, 0, 0);
  const std::wstring goodPath = dir.Write("good.lib", good.Bytes().Bytes());

  auto failsWith = [&](const std::wstring& path, long status) {
    MapGis_ColorLib c;
    ASSERT_EQ(c.LoadColors(goodPath.c_str()), 1);
    EXPECT_EQ(c.LoadColors(path.c_str()), status);
    EXPECT_EQ(c.GetColorNum(), 0);
    EXPECT_EQ(Of(c.GetRGB(1)), (Rgb{0, 0, 0}));
  };

  failsWith(testing_support::Wide(dir.File("missing.lib")), MAPGIS_OPEN_FAILED);
  failsWith(L"", MAPGIS_OPEN_FAILED);

  ByteBuilder shortHead;
  shortHead.Text(0, "PCOLOR 3").I16(8, 1).Grow(155);
  failsWith(dir.Write("short.lib", shortHead.Bytes()), MAPGIS_READ_FAILED);

  LibraryBytes magic(1, 0);
  magic.Colour(1, 0, 0, 0, 0).Bytes().Text(0, "PCOLOR 2");
  failsWith(dir.Write("magic.lib", magic.Bytes().Bytes()), MAPGIS_NOT_MAPGIS_FILE);

  for (int inks : {29, 36, -1}) {
    LibraryBytes lib(1, inks);
    lib.Colour(1, 0, 0, 0, 0);
    failsWith(dir.Write("inks.lib", lib.Bytes().Bytes()), MAPGIS_NOT_MAPGIS_FILE);
  }
  LibraryBytes inks28(1, 28);
  inks28.Colour(1, 0, 0, 0, 0).Share(1, 27, 255).Ink(27, 0, 0, 0, 255);
  MapGis_ColorLib c;
  EXPECT_EQ(c.LoadColors(dir.Write("inks28.lib", inks28.Bytes().Bytes()).c_str()), 1);
  EXPECT_EQ(Of(c.GetRGB(1)), (Rgb{255, 255, 0}));

  LibraryBytes negative(-3, 0);
  negative.Colour(1, 0, 0, 0, 0);
  failsWith(dir.Write("negative.lib", negative.Bytes().Bytes()), MAPGIS_READ_FAILED);
}

// Expectations worked out by hand from the file's bytes: inks 0 (K0 C0 M255
// Y255), 1 (K0 C0 M64 Y255), 2 (zero); inkCount 3, colorCount 4096, and 4097
// complete records in the file.
TEST(ColourLibrary, RealLibrary) {
  TempDir dir;
  MapGis_ColorLib c;
  ASSERT_EQ(c.LoadColors(dir.CopySample("colour/Pcolor.lib").c_str()), 4096);
  EXPECT_EQ(c.GetColorNum(), 4096);

  EXPECT_EQ(Of(c.GetRGB(1)), (Rgb{0, 0, 0}));  // K255
  EXPECT_EQ(Of(c.GetCMYK(1)), (Cmyk{100, 0, 0, 0}));
  EXPECT_EQ(Of(c.GetRGB(2)), (Rgb{0, 255, 255}));  // C255
  EXPECT_EQ(Of(c.GetRGB(505)), (Rgb{255, 0, 0}));  // ink 0 share 255
  EXPECT_EQ(Of(c.GetCMYK(505)), (Cmyk{0, 0, 100, 100}));
  EXPECT_EQ(Of(c.GetRGB(506)), (Rgb{255, 191, 0}));  // ink 1 share 255
  EXPECT_EQ(Of(c.GetCMYK(506)), (Cmyk{0, 0, 25, 100}));
  EXPECT_EQ(Of(c.GetRGB(553)), (Rgb{255, 178, 178}));  // ink 0 share 77
  EXPECT_EQ(Of(c.GetCMYK(553)), (Cmyk{0, 0, 30, 30}));
  EXPECT_EQ(Of(c.GetRGB(623)), (Rgb{255, 252, 89}));  // Y153 + ink 1 share 13
  EXPECT_EQ(Of(c.GetCMYK(623)), (Cmyk{0, 0, 1, 65}));
  EXPECT_EQ(Of(c.GetRGB(641)), (Rgb{255, 242, 140}));  // Y102 + ink 0 share 13
  EXPECT_EQ(Of(c.GetCMYK(641)), (Cmyk{0, 0, 5, 45}));
  // The last colour, K4 C3 M2 Y1; its share of ink 3 is beyond inkCount.
  EXPECT_EQ(Of(c.GetRGB(4096)), (Rgb{248, 249, 250}));
  EXPECT_EQ(Of(c.GetCMYK(4096)), (Cmyk{1, 1, 0, 0}));
  // The file's 4097th record lies beyond the count.
  EXPECT_EQ(Of(c.GetRGB(4097)), (Rgb{0, 0, 0}));
}
