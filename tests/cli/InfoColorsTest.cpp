// gridmoor info on colour libraries: the real library, libraries written
// here byte by byte, damaged ones, and --colors given other files.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "CliHarness.h"

using cli_testing::CliResult;
using cli_testing::Contains;
using cli_testing::LineStarting;
using cli_testing::RunGridmoor;
using cli_testing::ScratchDir;
using testing_support::ByteBuilder;

namespace {

using Bytes = std::vector<uint8_t>;
using Quad = std::array<uint8_t, 4>;  // black, cyan, magenta, yellow

struct Colour {
  Quad base;
  std::vector<uint8_t> shares;  // one byte per spot ink
};

// A colour library: "PCOLOR 3", the colour count at 8, the ink count at 10,
// the ink table from 12 (4 bytes each), then 32-byte records from 156.
ByteBuilder Library(int16_t count, int16_t inkCount, const std::vector<Quad>& inks, const std::vector<Colour>& colours) {
  ByteBuilder b(156);
  b.Text(0, "PCOLOR 3").I16(8, count).I16(10, inkCount);
  for (size_t i = 0; i < inks.size(); ++i) b.Raw(12 + 4 * i, inks[i].data(), 4);
  for (size_t n = 0; n < colours.size(); ++n) {
    const size_t o = 156 + 32 * n;
    b.Grow(o + 32);
    b.Raw(o, colours[n].base.data(), 4);
    b.Raw(o + 4, colours[n].shares.data(), colours[n].shares.size());
  }
  return b;
}

Bytes SampleBytes(const std::string& relative) {
  std::ifstream in(std::filesystem::u8path(GRIDMOOR_REAL_SAMPLES) / std::filesystem::u8path(relative),
                   std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines of `text` listing one colour ("    N: stored ...").
int ColourLines(const std::string& text) {
  std::istringstream in(text);
  int count = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("    ", 0) == 0 && line.find(": stored ") != std::string::npos) ++count;
  }
  return count;
}

}  // namespace

TEST(InfoColors, RealLibraryResolvesEveryColour) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", "--colors", dir.CopySample("colour/Pcolor.lib")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(LineStarting(r.out, "status:"), "status: 4096 colours loaded");
  EXPECT_EQ(LineStarting(r.out, "colours:"), "colours: 4096 in the head, 4096 loaded");
  // The real file holds one record more than its head counts.
  EXPECT_EQ(LineStarting(r.out, "records in the file:"),
            "records in the file: 4097 complete, 1 beyond the head's count (not loaded)");
  EXPECT_TRUE(Contains(r.out, "  inks: 3\n    ink 0: K 0 C 0 M 255 Y 255\n    ink 1: K 0 C 0 M 64 Y 255\n"));
  EXPECT_EQ(ColourLines(r.out), 4096);
  EXPECT_EQ(LineStarting(r.out, "1: stored"),
            "1: stored K 255 C 0 M 0 Y 0, shares 0 0 0, percent K 100 C 0 M 0 Y 0, rgb 0,0,0 #000000");
  EXPECT_EQ(LineStarting(r.out, "2: stored"),
            "2: stored K 0 C 255 M 0 Y 0, shares 0 0 0, percent K 0 C 100 M 0 Y 0, rgb 0,255,255 #00FFFF");
  // Colour 505 is white ink with a full share of the first spot ink (magenta and yellow).
  EXPECT_EQ(LineStarting(r.out, "505: stored"),
            "505: stored K 0 C 0 M 0 Y 0, shares 255 0 0, percent K 0 C 0 M 100 Y 100, rgb 255,0,0 #FF0000");
  EXPECT_EQ(LineStarting(r.out, "4096: stored"),
            "4096: stored K 4 C 3 M 2 Y 1, shares 0 0 0, percent K 1 C 1 M 0 Y 0, rgb 248,249,250 #F8F9FA");
  EXPECT_EQ(LineStarting(r.out, "4097:"), "");
}

TEST(InfoColors, RecordsLimitsTheColourLinesAndWithoutColorsOnlyTheHeadIsShown) {
  ScratchDir dir;
  const std::string lib = dir.CopySample("colour/Pcolor.lib");

  const CliResult two = RunGridmoor({"info", "--colors", "--records", "2", lib});
  ASSERT_EQ(two.exitCode, 0) << two.err;
  EXPECT_TRUE(Contains(two.out, "  colours (first 2 of 4096):\n    1: stored"));
  EXPECT_EQ(ColourLines(two.out), 2);

  const CliResult none = RunGridmoor({"info", "--records", "0", "--colors", lib});
  ASSERT_EQ(none.exitCode, 0) << none.err;
  EXPECT_TRUE(Contains(none.out, "  colours (first 0 of 4096):\n\nfiles: 1, read 1, failed 0\n"));

  // Found by its magic without --colors: a summary that counts as read.
  const CliResult summary = RunGridmoor({"info", "--records", "3", lib});
  ASSERT_EQ(summary.exitCode, 0) << summary.err;
  EXPECT_EQ(LineStarting(summary.out, "kind:"), "kind: colour library");
  EXPECT_EQ(LineStarting(summary.out, "inks:"), "inks: 3");
  EXPECT_EQ(LineStarting(summary.out, "colour lines:"), "colour lines: listed with --colors");
  EXPECT_EQ(ColourLines(summary.out), 0);
}

TEST(InfoColors, SpotInksMixSaturateAndConvertToPercentages) {
  const std::vector<Quad> inks = {{0, 100, 0, 0}, {0, 0, 128, 0}};
  const ByteBuilder mixed = Library(4, 2, inks,
                                    {{{0, 200, 0, 0}, {255, 0}},     // cyan 200 + 100 saturates
                                     {{0, 0, 0, 0}, {0, 255}},       // magenta 128 from the second ink
                                     {{255, 10, 20, 30}, {0, 0}},    // full black
                                     {{0, 0, 0, 0}, {0, 0}}});       // white
  // Without spot inks the shares in the records are ignored.
  const ByteBuilder plain = Library(1, 0, {{0, 255, 255, 255}}, {{{0, 0, 0, 0}, {255, 255}}});

  ScratchDir dir;
  const CliResult r =
      RunGridmoor({"info", "--colors", dir.Write("mixed.lib", mixed.Bytes()), dir.Write("plain.lib", plain.Bytes())});
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  EXPECT_TRUE(Contains(r.out,
                       "  colours (first 4 of 4):\n"
                       "    1: stored K 0 C 200 M 0 Y 0, shares 255 0, percent K 0 C 100 M 0 Y 0, rgb 0,255,255 #00FFFF\n"
                       "    2: stored K 0 C 0 M 0 Y 0, shares 0 255, percent K 0 C 0 M 50 Y 0, rgb 255,127,255 #FF7FFF\n"
                       "    3: stored K 255 C 10 M 20 Y 30, shares 0 0, percent K 100 C 3 M 7 Y 11, rgb 0,0,0 #000000\n"
                       "    4: stored K 0 C 0 M 0 Y 0, shares 0 0, percent K 0 C 0 M 0 Y 0, rgb 255,255,255 #FFFFFF\n"));
  EXPECT_TRUE(Contains(r.out,
                       "  inks: 0\n  colours (first 1 of 1):\n"
                       "    1: stored K 0 C 0 M 0 Y 0, percent K 0 C 0 M 0 Y 0, rgb 255,255,255 #FFFFFF\n"));
}

TEST(InfoColors, ShortAndDamagedLibraries) {
  const Bytes real = SampleBytes("colour/Pcolor.lib");
  ASSERT_EQ(real.size(), 131260u);
  // Ten complete records and five bytes of the eleventh.
  const Bytes cut(real.begin(), real.begin() + 156 + 32 * 10 + 5);
  const Bytes headCut(real.begin(), real.begin() + 100);
  ByteBuilder tooManyInks = Library(1, 29, {}, {{{0, 0, 0, 0}, {}}});
  ByteBuilder negative = Library(-3, 0, {}, {{{0, 0, 0, 0}, {}}});
  ByteBuilder notALibrary = Library(1, 0, {}, {{{0, 0, 0, 0}, {}}});
  notALibrary.Text(0, "PCOLOR 2");

  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", "--colors", dir.Write("cut.lib", cut), dir.Write("head-cut.lib", headCut),
                                   dir.Write("inks.lib", tooManyInks.Bytes()), dir.Write("negative.lib", negative.Bytes()),
                                   dir.Write("magic.lib", notALibrary.Bytes()), dir.Write("empty.lib", {}),
                                   dir.Write("there.lib", {}) + ".missing"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  // A short library loads the records it holds; the rest are outside it.
  EXPECT_TRUE(Contains(r.out,
                       "cut.lib\n  status: 10 colours loaded\n  kind: colour library\n"
                       "  colours: 4096 in the head, 10 loaded\n"
                       "  records in the file: 10 complete, 4086 fewer than the head counts (those are outside the "
                       "library), 5 bytes of an incomplete record\n"));
  EXPECT_TRUE(Contains(r.out, "  colours (first 10 of 10):\n"));
  EXPECT_TRUE(Contains(r.out, "    10: stored"));
  EXPECT_FALSE(Contains(r.out, "    11: stored"));
  const std::string shortHead =
      "  status: -9983 read failed (shorter than the 156-byte head, or a negative colour count)\n\nfile: ";
  const std::string notLibrary =
      "  status: -9997 not a colour library (no \"PCOLOR 3\" at the start, or more than 28 spot inks)\n\nfile: ";
  EXPECT_TRUE(Contains(r.out, "head-cut.lib\n" + shortHead));
  EXPECT_TRUE(Contains(r.out, "empty.lib\n" + shortHead));
  EXPECT_TRUE(Contains(r.out, "negative.lib\n" + shortHead));
  EXPECT_TRUE(Contains(r.out, "inks.lib\n" + notLibrary));
  EXPECT_TRUE(Contains(r.out, "magic.lib\n" + notLibrary));
  EXPECT_TRUE(Contains(r.out, ".missing\n  status: -9996 open failed\n"));
  EXPECT_TRUE(Contains(r.out, "files: 7, read 1, failed 6\n"));
  // Nothing on stderr: a sanitizer report would land there.
  EXPECT_EQ(r.err, "");
}

TEST(InfoColors, ColorsGivenALayerOrAProjectSaysSoAndGoesOn) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", "--colors", dir.CopySample("jz-project/JZ.WT"),
                                   dir.CopySample("jz-project/i486732jz1.MPJ"), dir.CopySample("colour/Pcolor.lib")});
  EXPECT_EQ(r.exitCode, 1);
  const std::string notLibrary =
      "  status: -9997 not a colour library (no \"PCOLOR 3\" at the start, or more than 28 spot inks)\n\nfile: ";
  EXPECT_TRUE(Contains(r.out, "JZ.WT\n" + notLibrary));
  EXPECT_TRUE(Contains(r.out, "i486732jz1.MPJ\n" + notLibrary));
  EXPECT_TRUE(Contains(r.out, "Pcolor.lib\n  status: 4096 colours loaded\n"));
  EXPECT_TRUE(Contains(r.out, "files: 3, read 1, failed 2\n"));

  const CliResult help = RunGridmoor({"info", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.out, "--colors"));
  EXPECT_TRUE(Contains(help.out, "\"PCOLOR 3\""));
}
