// Pcolor.lib: 300 colours and three spot inks, by the colour library's
// byte layout (the library only reads such files).
#include "ByteLayout.h"
#include "DemoCommon.h"
#include "DemoLayers.h"

namespace demo {

namespace {

constexpr size_t kHeadSize = 156;
constexpr size_t kRecordSize = 32;

// Ink bytes in file order: black, cyan, magenta, yellow.
struct Ink {
  uint8_t black, cyan, magenta, yellow;
};

void PutInk(Bytes& b, size_t at, Ink ink) {
  b.Put<uint8_t>(at, ink.black);
  b.Put<uint8_t>(at + 1, ink.cyan);
  b.Put<uint8_t>(at + 2, ink.magenta);
  b.Put<uint8_t>(at + 3, ink.yellow);
}

// Colour record n (1-based): its own inks and its shares of the spot inks.
void PutColour(Bytes& b, int n, Ink base, uint8_t share0 = 0, uint8_t share1 = 0, uint8_t share2 = 0) {
  const size_t at = kHeadSize + kRecordSize * static_cast<size_t>(n - 1);
  PutInk(b, at, base);
  b.Put<uint8_t>(at + 4, share0);
  b.Put<uint8_t>(at + 5, share1);
  b.Put<uint8_t>(at + 6, share2);
}

}  // namespace

void WriteColorLib(const std::filesystem::path& folder) {
  Bytes b(kHeadSize + kRecordSize * kColourCount);
  b.Raw(0, "PCOLOR 3", 8);
  b.Put<int16_t>(8, static_cast<int16_t>(kColourCount));
  b.Put<int16_t>(10, 3);
  PutInk(b, 12, {0, 0, 128, 255});  // spot ink 0: orange
  PutInk(b, 16, {0, 255, 0, 128});  // spot ink 1: teal
  PutInk(b, 20, {64, 0, 0, 0});     // spot ink 2: grey

  PutColour(b, kBlack, {255, 0, 0, 0});
  PutColour(b, kRed, {0, 0, 255, 255});
  PutColour(b, kGreen, {0, 255, 0, 255});
  PutColour(b, kBlue, {0, 255, 255, 0});
  PutColour(b, kYellow, {0, 0, 0, 255});
  PutColour(b, kMagenta, {0, 0, 255, 0});
  PutColour(b, kCyan, {0, 255, 0, 0});
  PutColour(b, kWhite, {0, 0, 0, 0});
  // Colours 9 to 296: six steps of cyan, six of magenta, eight of yellow.
  for (int n = 9; n <= 296; ++n) {
    const int i = n - 9;
    PutColour(
        b, n,
        {0, static_cast<uint8_t>(i % 6 * 51), static_cast<uint8_t>(i / 6 % 6 * 51), static_cast<uint8_t>(i / 36 * 36)});
  }
  PutColour(b, kOrange, {0, 0, 0, 0}, 255);
  PutColour(b, kTeal, {0, 0, 0, 0}, 0, 128);
  PutColour(b, kGrey, {0, 50, 0, 0}, 0, 0, 255);
  PutColour(b, kDeepRed, {0, 0, 200, 0}, 255);
  WriteFile(folder / "Pcolor.lib", b);
}

}  // namespace demo
