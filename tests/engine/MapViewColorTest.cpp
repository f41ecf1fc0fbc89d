// Colour numbers resolved through the view's colour library into the three
// colour models, the out-of-range error line, and the angle rule of style
// values. Colour libraries are written byte by byte: "PCOLOR 3", the counts
// at 8 and 10, the ink table at 12, 32-byte records from 156.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "MapViewColor.h"
#include "Settings.h"
#include "TempDir.h"

using testing_support::ByteBuilder;
using testing_support::TempDir;

namespace {

class SavedSettings {
 public:
  SavedSettings()
      : colorModel_(Settings::ColorModel),
        rotateType_(Settings::RotateType),
        symbolType_(Settings::SymbolType),
        logLevel_(Settings::LogLevel) {}
  ~SavedSettings() {
    Settings::ColorModel = colorModel_;
    Settings::RotateType = rotateType_;
    Settings::SymbolType = symbolType_;
    Settings::LogLevel = logLevel_;
  }

 private:
  int colorModel_, rotateType_, symbolType_, logLevel_;
};

// Colour n (1-based) with base bytes black, cyan, magenta, yellow.
void PutColour(ByteBuilder& b, int n, uint8_t k, uint8_t c, uint8_t m, uint8_t y) {
  const size_t o = 156 + 32 * static_cast<size_t>(n - 1);
  b.U8(o, k).U8(o + 1, c).U8(o + 2, m).U8(o + 3, y).Grow(o + 32);
}

class ViewColourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings::LogLevel = 3;
    CConvertLog::Instance().Clear();
  }

  // Colour 1 red, 2 pure cyan, 3 a colour whose every channel differs.
  void LoadLibrary() {
    ByteBuilder b(156);
    b.Text(0, "PCOLOR 3").I16(8, 3).I16(10, 0);
    PutColour(b, 1, 0, 0, 255, 255);
    PutColour(b, 2, 0, 255, 0, 0);
    PutColour(b, 3, 51, 55, 155, 205);
    ASSERT_EQ(view_.ColorLib().LoadColors(dir_.Write("Pcolor.lib", b.Bytes()).c_str()), 3);
  }

  uint32_t Model(int model, long number) {
    Settings::ColorModel = model;
    return view_.GetModelColor(number);
  }

  std::vector<std::wstring> Log() const { return CConvertLog::Instance().Lines(); }

  SavedSettings saved_;
  TempDir dir_;
  CGridmoorProView view_;
};

TEST_F(ViewColourTest, ModelsOfLibraryColours) {
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

  const MapGis::RGBTRIPLE rgb = view_.GetRGBColor(3);
  EXPECT_EQ(rgb.rgbtRed, 160);
  EXPECT_EQ(rgb.rgbtGreen, 80);
  EXPECT_EQ(rgb.rgbtBlue, 40);
  const MapGis::CMYKQUAD cmyk = view_.GetCmykColor(3);
  EXPECT_EQ(cmyk.cmykCyan, 21);
  EXPECT_EQ(cmyk.cmykMagenta, 60);
  EXPECT_EQ(cmyk.cmykYellow, 80);
  EXPECT_EQ(cmyk.cmykBlack, 20);

  EXPECT_TRUE(Log().empty());
}

TEST_F(ViewColourTest, NumberZeroIsSilentAndZero) {
  LoadLibrary();
  EXPECT_EQ(Model(0, 0), 0u);
  EXPECT_EQ(Model(1, 0), 0xFF000000u);
  EXPECT_EQ(Model(2, 0), 0u);
  EXPECT_TRUE(Log().empty());
}

TEST_F(ViewColourTest, NumbersOutsideTheLibraryLogOncePerLookup) {
  LoadLibrary();
  EXPECT_EQ(Model(1, 4), 0xFF000000u);
  EXPECT_EQ(Model(0, 4), 0u);
  EXPECT_EQ(Model(2, -1), 0u);
  const MapGis::RGBTRIPLE rgb = view_.GetRGBColor(2147483647L);
  EXPECT_EQ(rgb.rgbtRed + rgb.rgbtGreen + rgb.rgbtBlue, 0);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{
                       L">------E__第[4]号颜色超出颜色库范围",
                       L">------E__第[4]号颜色超出颜色库范围",
                       L">------E__第[-1]号颜色超出颜色库范围",
                       L">------E__第[2147483647]号颜色超出颜色库范围",
                   }));
}

TEST_F(ViewColourTest, WithoutLibraryEveryPositiveNumberLogs) {
  EXPECT_EQ(Model(0, 0), 0u);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(Model(0, 1), 0u);
  const MapGis::CMYKQUAD cmyk = view_.GetCmykColor(7);
  EXPECT_EQ(cmyk.cmykCyan + cmyk.cmykMagenta + cmyk.cmykYellow + cmyk.cmykBlack, 0);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L">------E__第[1]号颜色超出颜色库范围",
                                              L">------E__第[7]号颜色超出颜色库范围"}));
}

TEST_F(ViewColourTest, UnknownModelGivesZeroWithoutLookup) {
  LoadLibrary();
  EXPECT_EQ(Model(3, 1), 0u);
  EXPECT_EQ(Model(-1, 1), 0u);
  EXPECT_EQ(Model(3, 99), 0u);
  EXPECT_TRUE(Log().empty());
}

TEST(StyleAngleTest, GeographicModelByConverterAndMode) {
  SavedSettings saved;
  Settings::RotateType = 1;
  Settings::SymbolType = 3;
  EXPECT_DOUBLE_EQ(StyleAngle(30.0, AngleUse::Annotation), 60.0);
  EXPECT_DOUBLE_EQ(StyleAngle(30.0, AngleUse::SubPicture), 60.0);
  EXPECT_DOUBLE_EQ(StyleAngle(30.0, AngleUse::NetworkNode), 300.0);
  EXPECT_DOUBLE_EQ(StyleAngle(120.0, AngleUse::NetworkNode), 30.0);
  EXPECT_DOUBLE_EQ(StyleAngle(0.0, AngleUse::Annotation), 0.0);

  Settings::SymbolType = 4;
  EXPECT_DOUBLE_EQ(StyleAngle(30.0, AngleUse::Annotation), 60.0);
  EXPECT_DOUBLE_EQ(StyleAngle(30.0, AngleUse::NetworkNode), 60.0);
  EXPECT_DOUBLE_EQ(StyleAngle(120.0, AngleUse::SubPicture), 330.0);

  // The raw-parameter mode always writes the stored angle.
  Settings::SymbolType = 2;
  EXPECT_DOUBLE_EQ(StyleAngle(30.0, AngleUse::Annotation), 30.0);
  EXPECT_DOUBLE_EQ(StyleAngle(30.0, AngleUse::NetworkNode), 30.0);
}

TEST(StyleAngleTest, OtherAngleModelsLeaveAnglesUnchanged) {
  SavedSettings saved;
  Settings::SymbolType = 3;
  for (int rotate : {0, 2, -1}) {
    Settings::RotateType = rotate;
    EXPECT_DOUBLE_EQ(StyleAngle(30.0, AngleUse::Annotation), 30.0) << rotate;
    EXPECT_DOUBLE_EQ(StyleAngle(-45.5, AngleUse::NetworkNode), -45.5) << rotate;
  }
  // A stored angle that is not a number converts to 0 instead of failing.
  Settings::RotateType = 1;
  EXPECT_DOUBLE_EQ(StyleAngle(std::nan(""), AngleUse::Annotation), 0.0);
}

}  // namespace
