// OGR feature style strings, read back with GDAL's own style parser.
#include <gtest/gtest.h>
#include <ogr_featurestyle.h>

#include <memory>

#include "OgrStyleString.h"
#include "SymbolTables.h"

using namespace cartography;

namespace {

// The single part of a style string as GDAL parses it.
std::unique_ptr<OGRStyleTool> Parse(const std::string& style) {
  OGRStyleMgr manager;
  if (!manager.InitStyleString(style.c_str()) || manager.GetPartCount() != 1) return nullptr;
  return std::unique_ptr<OGRStyleTool>(manager.GetPart(0));
}

}  // namespace

TEST(OgrStyleString, EveryKindIsWrittenAsGdalReadsIt) {
  FeatureStyle fill;
  fill.fill = {{255, 0, 0}, 0, {}, true};
  EXPECT_EQ(BuildOgrStyle(fill), "BRUSH(fc:#ff000080)");
  fill.fill = {{255, 0, 0}, 1, {0, 0, 255}, false};  // pattern 1: "///" hatch
  EXPECT_EQ(BuildOgrStyle(fill), "BRUSH(fc:#0000ff,bc:#ff0000,id:\"ogr-brush-5\")");
  auto brush = Parse(BuildOgrStyle(fill));
  ASSERT_TRUE(brush);
  GBool isDefault = FALSE;
  EXPECT_STREQ(static_cast<OGRStyleBrush*>(brush.get())->BackColor(isDefault), "#ff0000");
  EXPECT_STREQ(static_cast<OGRStyleBrush*>(brush.get())->Id(isDefault), "ogr-brush-5");

  FeatureStyle line;
  line.kind = SymbolKind::Line;
  line.line = {{0, 128, 255}, {0.3, Unit::Millimetre}, DashOfLineType(4)};
  EXPECT_EQ(BuildOgrStyle(line), "PEN(c:#0080ff,w:0.3mm,p:\"4mm 1.5mm 0.6mm 1.5mm\")");
  auto pen = Parse(BuildOgrStyle(line));
  ASSERT_TRUE(pen);
  EXPECT_STREQ(static_cast<OGRStylePen*>(pen.get())->Pattern(isDefault), "4mm 1.5mm 0.6mm 1.5mm");

  FeatureStyle marker;
  marker.kind = SymbolKind::Marker;
  marker.marker = {{1, 2, 3}, {6.0, Unit::MapUnit}};
  EXPECT_EQ(BuildOgrStyle(marker), "SYMBOL(id:\"ogr-sym-3\",c:#010203,s:6g)");
  EXPECT_EQ(Parse(BuildOgrStyle(marker))->GetType(), OGRSTCSymbol);
}

TEST(OgrStyleString, LabelTextWithQuotesAndBackslashesSurvivesParsing) {
  FeatureStyle note;
  note.kind = SymbolKind::Label;
  note.label.fonts = FontOfNumber(1).families;
  note.label.italic = true;
  note.label.size = {12.0, Unit::MapUnit};
  note.label.angle = 53.0;
  note.label.colour = {255, 0, 0};
  note.label.text = "say \"H\\O\", 水";
  const std::string style = BuildOgrStyle(note);
  EXPECT_EQ(style,
            "LABEL(f:\"SimSun,Noto Serif CJK SC,WenQuanYi Micro Hei\",s:12g,a:53,c:#ff0000,"
            "t:\"say \\\"H\\\\O\\\", 水\",p:1,it:1)");
  auto parsed = Parse(style);
  ASSERT_TRUE(parsed);
  auto* label = static_cast<OGRStyleLabel*>(parsed.get());
  GBool isDefault = FALSE;
  EXPECT_STREQ(label->TextString(isDefault), "say \"H\\O\", 水");
  EXPECT_STREQ(label->FontName(isDefault), "SimSun,Noto Serif CJK SC,WenQuanYi Micro Hei");
  EXPECT_DOUBLE_EQ(label->Angle(isDefault), 53.0);
  EXPECT_EQ(label->Anchor(isDefault), 1);
  EXPECT_TRUE(label->Italic(isDefault));
}
