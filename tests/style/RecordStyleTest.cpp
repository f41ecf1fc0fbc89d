// The look of MapGIS records: which fields give colours, sizes, dashes,
// fonts and orientation, and values that are not finite.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

#include "MapGisCodePage.h"
#include "RecordStyle.h"

using namespace cartography;

namespace {

// A colour library of two colours: 1 magenta and yellow, 2 cyan with some black.
MapGis::MapGis_ColorLib TwoColours() {
  std::string bytes = "PCOLOR 3";
  bytes += std::string("\x02\x00\x00\x00", 4);  // two colours, no spot inks
  bytes += std::string(36 * 4, '\0');
  std::string first(32, '\0'), second(32, '\0');
  first[2] = first[3] = static_cast<char>(200);  // magenta, yellow
  second[0] = 40;                                // black
  second[1] = static_cast<char>(180);            // cyan
  bytes += first + second;
  const std::string path = ::testing::TempDir() + "two-colours.lib";
  std::ofstream(path, std::ios::binary) << bytes;
  MapGis::MapGis_ColorLib library;
  EXPECT_EQ(library.LoadColors(MapGis::Utf8ToWide(path).c_str()), 2);
  return library;
}

Rgba Of(const MapGis::MapGis_ColorLib& library, long number) {
  const MapGis::RGBTRIPLE c = library.GetRGB(number);
  return Rgba{c.rgbtRed, c.rgbtGreen, c.rgbtBlue, 255};
}

}  // namespace

TEST(RecordStyle, RecordsGiveTheirLookThroughTheColourLibrary) {
  const MapGis::MapGis_ColorLib library = TwoColours();
  const ColorModel colours(&library, ColorModel::kRgb);
  ASSERT_FALSE(Of(library, 1) == Of(library, 2));

  MapGis::MAPGIS_RegInfo region{};
  region.fillColor = 1;
  region.pattern = 5;
  region.patternColor = 2;
  region.transparent = 1;
  const FillStyle fill = FillOf(region, colours).fill;
  EXPECT_EQ(fill.colour, Of(library, 1));
  EXPECT_EQ(fill.patternColour, Of(library, 2));
  EXPECT_EQ(fill.pattern, 5);
  EXPECT_TRUE(fill.transparent);
  region.fillColor = 3;  // outside the library: black, as the style columns
  EXPECT_EQ(FillOf(region, colours).fill.colour, (Rgba{0, 0, 0, 255}));

  MapGis::MAPGIS_LineInfo line{};
  line.color = 2;
  line.width = 0.35f;
  line.lineType = 2;
  const LineStyle drawn = LineOf(line, colours).line;
  EXPECT_EQ(drawn.colour, Of(library, 2));
  EXPECT_FLOAT_EQ(drawn.width.value, 0.35f);
  EXPECT_EQ(drawn.width.unit, Unit::Millimetre);
  EXPECT_EQ(drawn.dash, (std::vector<double>{4.0, 2.0}));
  line.width = NAN;
  EXPECT_EQ(LineOf(line, colours).line.width.value, 0.0);

  // A text block keeps its orientation at record offset 66; its label is
  // sized by the height times the factor, in map units.
  MapGis::MAPGIS_PntInfo note{};
  note.kind = 5;
  note.color = 1;
  note.param.note.height = 2.5f;
  note.param.note.angle = 30.0f;
  note.param.note.chFont = 3;  // 黑体
  note.param.note.fontStyle = 1;
  reinterpret_cast<unsigned char*>(&note)[66] = 1;
  const LabelStyle label = LabelOf(note, colours, 4.0).label;
  EXPECT_EQ(label.fonts.front(), "SimHei");
  EXPECT_TRUE(label.italic);
  EXPECT_TRUE(label.vertical);
  EXPECT_DOUBLE_EQ(label.size.value, 10.0);
  EXPECT_EQ(label.size.unit, Unit::MapUnit);
  EXPECT_DOUBLE_EQ(label.angle, 30.0);
  EXPECT_EQ(label.colour, Of(library, 1));
  note.kind = 0;  // an annotation reads its own alignment byte, here 0
  EXPECT_FALSE(VerticalText(note));

  MapGis::MAPGIS_PntInfo sub{};
  sub.kind = 1;
  sub.param.sub.width = 3.0f;
  EXPECT_DOUBLE_EQ(SubPictureSize(sub, 2.0).value, 6.0);

  MapGis::MAP_PARAstruct para{};
  para.sizeFactorX = 0.0;
  para.sizeFactorY = 2.5;
  EXPECT_EQ(SizeFactorsOf(para).width, 1.0);
  EXPECT_EQ(SizeFactorsOf(para).height, 2.5);
  para.sizeFactorY = INFINITY;
  EXPECT_EQ(SizeFactorsOf(para).height, 1.0);
}
