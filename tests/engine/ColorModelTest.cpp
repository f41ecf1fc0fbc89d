// Colour numbers resolved through a colour library into the three colour
// models, which numbers lie outside the library, and the angle rule of style
// values. Colour libraries are written byte by byte: "PCOLOR 3", the counts
// at 8 and 10, the ink table at 12, 32-byte records from 156.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "AngleModel.h"
#include "ByteBuilder.h"
#include "ColorModel.h"
#include "TempDir.h"

using testing_support::ByteBuilder;
using testing_support::TempDir;

namespace {

// Colour n (1-based) with base bytes black, cyan, magenta, yellow.
void PutColour(ByteBuilder& b, int n, uint8_t k, uint8_t c, uint8_t m, uint8_t y) {
  const size_t o = 156 + 32 * static_cast<size_t>(n - 1);
  b.U8(o, k).U8(o + 1, c).U8(o + 2, m).U8(o + 3, y).Grow(o + 32);
}

class ColorModelTest : public ::testing::Test {
 protected:
  // Colour 1 red, 2 pure cyan, 3 a colour whose every channel differs.
  void LoadLibrary() {
    ByteBuilder b(156);
    b.Text(0, "PCOLOR 3").I16(8, 3).I16(10, 0);
    PutColour(b, 1, 0, 0, 255, 255);
    PutColour(b, 2, 0, 255, 0, 0);
    PutColour(b, 3, 51, 55, 155, 205);
    ASSERT_EQ(library_.LoadColors(dir_.Write("Pcolor.lib", b.Bytes()).c_str()), 3);
  }

  uint32_t Model(int model, long number) const { return ColorModel(&library_, model).ModelValue(number); }

  TempDir dir_;
  MapGis::MapGis_ColorLib library_;
};

TEST_F(ColorModelTest, ModelsOfLibraryColours) {
  LoadLibrary();
  EXPECT_EQ(Model(0, 1), 255u);
  EXPECT_EQ(Model(1, 1), 0xFF0000FFu);
  EXPECT_EQ(Model(2, 1), 0x00646400u);  // magenta and yellow 100 percent

  EXPECT_EQ(Model(0, 2), 0x00FFFF00u);
  EXPECT_EQ(Model(2, 2), 0x64000000u);  // cyan 100 percent

  // RGB (160, 80, 40); CMYK percentages C 21, M 60, Y 80, K 20.
  EXPECT_EQ(Model(0, 3), 0x002850A0u);
  EXPECT_EQ(Model(1, 3), 0xFF2850A0u);
  EXPECT_EQ(Model(2, 3), 0x153C5014u);

  const ColorModel colors(&library_, 0);
  const MapGis::RGBTRIPLE rgb = colors.Rgb(3);
  EXPECT_EQ(rgb.rgbtRed, 160);
  EXPECT_EQ(rgb.rgbtGreen, 80);
  EXPECT_EQ(rgb.rgbtBlue, 40);
  const MapGis::CMYKQUAD cmyk = colors.Cmyk(3);
  EXPECT_EQ(cmyk.cmykCyan, 21);
  EXPECT_EQ(cmyk.cmykMagenta, 60);
  EXPECT_EQ(cmyk.cmykYellow, 80);
  EXPECT_EQ(cmyk.cmykBlack, 20);
  EXPECT_EQ(colors.PackedRgb(3), 0x002850A0u);
  EXPECT_EQ(colors.PackedCmyk(3), 0x153C5014u);
}

TEST_F(ColorModelTest, NumbersOutsideTheLibraryGiveZeros) {
  LoadLibrary();
  const ColorModel colors(&library_, 1);
  EXPECT_TRUE(colors.Contains(0));
  EXPECT_TRUE(colors.Contains(3));
  EXPECT_FALSE(colors.Contains(4));
  EXPECT_FALSE(colors.Contains(-1));
  EXPECT_FALSE(colors.Contains(2147483647L));
  EXPECT_EQ(Model(1, 0), 0xFF000000u);
  EXPECT_EQ(Model(1, 4), 0xFF000000u);
  EXPECT_EQ(Model(0, 4), 0u);
  EXPECT_EQ(Model(2, -1), 0u);
  const MapGis::RGBTRIPLE rgb = colors.Rgb(2147483647L);
  EXPECT_EQ(rgb.rgbtRed + rgb.rgbtGreen + rgb.rgbtBlue, 0);

  // Without a library only number 0 is inside it.
  const ColorModel none(nullptr, 0);
  EXPECT_TRUE(none.Contains(0));
  EXPECT_FALSE(none.Contains(1));
  const MapGis::CMYKQUAD cmyk = none.Cmyk(7);
  EXPECT_EQ(cmyk.cmykCyan + cmyk.cmykMagenta + cmyk.cmykYellow + cmyk.cmykBlack, 0);
}

TEST_F(ColorModelTest, UnknownModelGivesZero) {
  LoadLibrary();
  EXPECT_EQ(Model(3, 1), 0u);
  EXPECT_EQ(Model(-1, 1), 0u);
  EXPECT_EQ(Model(3, 99), 0u);
}

TEST(AngleModelTest, GeographicModelByConverterAndMode) {
  AngleModel angles{3, 1};
  EXPECT_DOUBLE_EQ(angles.StyleAngle(30.0, AngleUse::Annotation), 60.0);
  EXPECT_DOUBLE_EQ(angles.StyleAngle(30.0, AngleUse::SubPicture), 60.0);
  EXPECT_DOUBLE_EQ(angles.StyleAngle(30.0, AngleUse::NetworkNode), 300.0);
  EXPECT_DOUBLE_EQ(angles.StyleAngle(120.0, AngleUse::NetworkNode), 30.0);
  EXPECT_DOUBLE_EQ(angles.StyleAngle(0.0, AngleUse::Annotation), 0.0);

  angles.symbolType = 4;
  EXPECT_DOUBLE_EQ(angles.StyleAngle(30.0, AngleUse::Annotation), 60.0);
  EXPECT_DOUBLE_EQ(angles.StyleAngle(30.0, AngleUse::NetworkNode), 60.0);
  EXPECT_DOUBLE_EQ(angles.StyleAngle(120.0, AngleUse::SubPicture), 330.0);
  EXPECT_DOUBLE_EQ(angles.CodedAngle(30.0), 60.0);

  // The raw-parameter mode always writes the stored angle.
  angles.symbolType = 2;
  EXPECT_DOUBLE_EQ(angles.StyleAngle(30.0, AngleUse::Annotation), 30.0);
  EXPECT_DOUBLE_EQ(angles.StyleAngle(30.0, AngleUse::NetworkNode), 30.0);
}

TEST(AngleModelTest, OtherAngleModelsLeaveAnglesUnchanged) {
  AngleModel angles{3, 0};
  for (int rotate : {0, 2, -1}) {
    angles.rotateType = rotate;
    EXPECT_DOUBLE_EQ(angles.StyleAngle(30.0, AngleUse::Annotation), 30.0) << rotate;
    EXPECT_DOUBLE_EQ(angles.StyleAngle(-45.5, AngleUse::NetworkNode), -45.5) << rotate;
    EXPECT_DOUBLE_EQ(angles.CodedAngle(-45.5), -45.5) << rotate;
  }
  // A stored angle that is not a number converts to 0 instead of failing.
  angles.rotateType = 1;
  EXPECT_DOUBLE_EQ(angles.StyleAngle(std::nan(""), AngleUse::Annotation), 0.0);
}

}  // namespace
