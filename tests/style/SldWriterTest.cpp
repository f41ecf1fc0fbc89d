// SLD documents: rule filters, fills and hatches, size units, labels.
#include <gtest/gtest.h>

#include "SldWriter.h"
#include "SymbolTables.h"
#include "XmlQuery.h"

using namespace cartography;
using testing_support::Attribute;
using testing_support::Content;
using testing_support::XmlDocument;

namespace {

// The SvgParameter values named `name` below `node`, in order.
std::vector<std::string> Params(const XmlDocument& doc, const CPLXMLNode* node, const std::string& name) {
  std::vector<std::string> out;
  for (const CPLXMLNode* p : doc.All("se:SvgParameter", node)) {
    if (Attribute(p, "name") == name) out.push_back(Content(p));
  }
  return out;
}

}  // namespace

TEST(SldWriter, PolygonRulesCarryFiltersOpacityAndHatches) {
  LayerStyle layer;
  layer.name = "landuse";
  FeatureStyle fill;
  fill.fill = {{0, 128, 0}, 6, {0, 0, 255}, true};  // pattern 6: diagonal cross
  // A number of 3 decimals matches the values that round to it.
  layer.classes.push_back({"pond",
                           {{"VKT_RCOLR", Match::Equal, "17", true},
                            {"VKT_TRANS", Match::Equal, "1", true},
                            {"VKT_RHEIH", Match::Equal, "0.150", true, 3}},
                           fill});
  std::vector<std::string> warnings;
  const XmlDocument sld(BuildSld(layer, &warnings));
  ASSERT_TRUE(sld.Parsed());
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(Content(sld.All("se:Name")[0]), "landuse");

  const auto rules = sld.All("se:Rule");
  ASSERT_EQ(rules.size(), 1u);
  const auto equal = sld.All("ogc:PropertyIsEqualTo", sld.All("ogc:And", rules[0])[0]);
  ASSERT_EQ(equal.size(), 2u);
  EXPECT_EQ(Content(sld.All("ogc:PropertyName", equal[1])[0]), "VKT_TRANS");
  EXPECT_EQ(Content(sld.All("ogc:Literal", equal[1])[0]), "1");
  const auto between = sld.All("ogc:PropertyIsBetween", rules[0]);
  ASSERT_EQ(between.size(), 1u);
  EXPECT_EQ(Content(sld.All("ogc:Literal", sld.All("ogc:LowerBoundary", between[0])[0])[0]), "0.1495");
  EXPECT_EQ(Content(sld.All("ogc:Literal", sld.All("ogc:UpperBoundary", between[0])[0])[0]), "0.1505");

  const auto symbolizers = sld.All("se:PolygonSymbolizer", rules[0]);
  ASSERT_EQ(symbolizers.size(), 3u);  // the fill, then two hatch line sets
  EXPECT_EQ(Params(sld, symbolizers[0], "fill"), std::vector<std::string>{"#008000"});
  EXPECT_EQ(Params(sld, symbolizers[0], "fill-opacity"), std::vector<std::string>{"0.501961"});
  EXPECT_EQ(Params(sld, symbolizers[1], "stroke"), std::vector<std::string>{"#0000ff"});
  EXPECT_EQ(Content(sld.All("ogc:Literal", symbolizers[2])[0]), "135");
}

TEST(SldWriter, PaperSizesArePixelsAndMapSizesMetresOrAWarning) {
  LayerStyle layer;
  layer.name = "roads";
  FeatureStyle paper;
  paper.kind = SymbolKind::Line;
  paper.line = {{1, 2, 3}, {0.56, Unit::Millimetre}, DashOfLineType(3)};
  FeatureStyle ground = paper;
  ground.line.width = {2.0, Unit::MapUnit};
  ground.line.dash.clear();
  layer.classes = {{"paper", {}, paper}, {"ground", {}, ground}, {"ground again", {}, ground}};

  layer.metresPerMapUnit = 0.001;  // coordinates in millimetres
  std::vector<std::string> warnings;
  XmlDocument sld(BuildSld(layer, &warnings));
  ASSERT_TRUE(sld.Parsed());
  EXPECT_TRUE(warnings.empty());
  auto symbolizers = sld.All("se:LineSymbolizer");
  ASSERT_EQ(symbolizers.size(), 3u);
  EXPECT_EQ(Attribute(symbolizers[0], "uom"), "");
  EXPECT_EQ(Params(sld, symbolizers[0], "stroke-width"), std::vector<std::string>{"2"});  // 0.56 mm / 0.28
  EXPECT_EQ(Params(sld, symbolizers[0], "stroke-dasharray"), std::vector<std::string>{"2.142857 4.285714"});
  EXPECT_EQ(Attribute(symbolizers[1], "uom"), "http://www.opengeospatial.org/se/units/metre");
  EXPECT_EQ(Params(sld, symbolizers[1], "stroke-width"), std::vector<std::string>{"0.002"});

  layer.metresPerMapUnit = 0.0;  // degrees: no metres to give
  sld = XmlDocument(BuildSld(layer, &warnings));
  symbolizers = sld.All("se:LineSymbolizer");
  EXPECT_EQ(Attribute(symbolizers[1], "uom"), "");
  EXPECT_EQ(Params(sld, symbolizers[1], "stroke-width"), std::vector<std::string>{"2"});
  EXPECT_EQ(warnings.size(), 1u);
}

TEST(SldWriter, LabelsReadTextSizeAndClockwiseAngleFromColumns) {
  LayerStyle layer;
  layer.name = "notes";
  layer.labelText = "注释文";
  layer.labelSize = {"VKT_AHEI", 1.0, 0.0};
  layer.labelAngle = {"VKT_ANGL", 1.0, 0.0};
  layer.metresPerMapUnit = 1.0;
  FeatureStyle note;
  note.kind = SymbolKind::Label;
  note.label.fonts = FontOfNumber(3).families;
  note.label.size = {3.0, Unit::MapUnit};
  note.label.colour = {0, 0, 255};
  layer.classes.push_back({"黑体", {{"VKT_LABEL", Match::NotStartsWith, "50%_", false}}, note});

  std::vector<std::string> warnings;
  const XmlDocument sld(BuildSld(layer, &warnings));
  ASSERT_TRUE(sld.Parsed());
  const auto like = sld.All("ogc:PropertyIsLike", sld.All("ogc:Not")[0]);
  ASSERT_EQ(like.size(), 1u);
  EXPECT_EQ(Content(sld.All("ogc:Literal", like[0])[0]), "50\\%\\_%");
  const auto text = sld.All("se:TextSymbolizer")[0];
  EXPECT_EQ(Attribute(text, "uom"), "http://www.opengeospatial.org/se/units/metre");
  EXPECT_EQ(Content(sld.All("ogc:PropertyName", sld.All("se:Label", text)[0])[0]), "注释文");
  EXPECT_EQ(Params(sld, text, "font-family"),
            (std::vector<std::string>{"SimHei", "Noto Sans CJK SC", "WenQuanYi Micro Hei"}));
  // Rotation: VKT_ANGL * -1 + 0, clockwise.
  const auto rotation = sld.All("se:Rotation", text)[0];
  EXPECT_EQ(Content(sld.All("ogc:PropertyName", rotation)[0]), "VKT_ANGL");
  EXPECT_EQ(Content(sld.All("ogc:Literal", rotation)[0]), "-1");
  EXPECT_EQ(Params(sld, text, "fill"), std::vector<std::string>{"#0000ff"});
}
