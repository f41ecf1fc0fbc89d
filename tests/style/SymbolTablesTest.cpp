// The tables that stand for MapGIS line types, patterns and fonts, the
// text helpers and the class list of a layer.
#include <gtest/gtest.h>

#include "StyleModel.h"
#include "StyleText.h"
#include "SymbolTables.h"

using namespace cartography;

TEST(SymbolTables, NumbersOutsideTheTablesHaveADefinedLook) {
  EXPECT_TRUE(DashOfLineType(151).empty());  // a decorated library line: solid
  EXPECT_TRUE(DashOfLineType(-2).empty());
  EXPECT_EQ(HatchOfPattern(-3), Hatch::None);
  EXPECT_EQ(HatchOfPattern(7), HatchOfPattern(1));  // the hatches repeat
  EXPECT_EQ(HatchOfPattern(32767), Hatch::Forward);
  // Font numbers outside the table read as FangSong, as MapGIS names them.
  for (const int n : {2, 29, 99, -1}) EXPECT_EQ(FontOfNumber(n).families, FontOfNumber(15).families) << n;
}

TEST(StyleText, NumbersAndXmlAreWrittenSafely) {
  EXPECT_EQ(NumberText(0.15f), "0.15");
  EXPECT_EQ(NumberText(-3.5), "-3.5");
  EXPECT_EQ(NumberText(12.0), "12");
  EXPECT_EQ(NumberText(-0.0000001), "0");
  EXPECT_EQ(NumberText(1.0 / 0.0), "0");
  EXPECT_EQ(XmlEscape("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
  EXPECT_EQ(XmlEscape(std::string("x\r\n\x01y", 5)), "x&#13;&#10;y");
  EXPECT_EQ(HexColour({1, 2, 255}), "#0102ff");
  EXPECT_EQ(HexColour({1, 2, 255, 128}), "#0102ff80");
}

TEST(StyleModel, AnnotationsShowWithoutTheirCodes) {
  EXPECT_EQ(AnnotationDisplayText("H#-2#=O 120m#+3#="), "H2O 120m3");
  EXPECT_EQ(AnnotationDisplayText("/0312/12.5/"), "0312\n12.5");
  EXPECT_EQ(AnnotationDisplayText("a/b #x #"), "a/b #x #");
  EXPECT_EQ(AnnotationDisplayText("/"), "/");
}

TEST(StyleModel, AClassIsAddedOncePerConditionList) {
  LayerStyle layer;
  StyleClass red{"red", {{"VKT_RCOLR", Match::Equal, "5", true}}, {}};
  red.style.fill.colour = {255, 0, 0};
  StyleClass again = red;
  again.style.fill.colour = {0, 255, 0};
  StyleClass other{"other", {{"VKT_RCOLR", Match::Equal, "6", true}}, {}};
  EXPECT_EQ(AddStyleClass(layer, red), 0u);
  EXPECT_EQ(AddStyleClass(layer, other), 1u);
  EXPECT_EQ(AddStyleClass(layer, again), 0u);
  ASSERT_EQ(layer.classes.size(), 2u);
  EXPECT_EQ(layer.classes[0].style.fill.colour, (Rgba{255, 0, 0}));
}
