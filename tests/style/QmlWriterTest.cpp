// QGIS styles: rule filters, fill, hatch, line, marker and label settings,
// read back from the written XML.
#include <gtest/gtest.h>

#include "QmlWriter.h"
#include "SymbolTables.h"
#include "XmlQuery.h"

using namespace cartography;
using testing_support::Attribute;
using testing_support::OptionValue;
using testing_support::XmlDocument;

namespace {

Condition Number(const std::string& column, const std::string& value) { return {column, Match::Equal, value, true}; }

FeatureStyle Fill(Rgba colour, int pattern, Rgba patternColour, bool transparent) {
  FeatureStyle s;
  s.kind = SymbolKind::Fill;
  s.fill = {colour, pattern, patternColour, transparent};
  return s;
}

}  // namespace

TEST(QmlWriter, PolygonRulesCarryTheirFiltersFillsAndHatches) {
  LayerStyle layer;
  layer.name = "landuse";
  layer.classes.push_back({"solid", {Number("VKT_RCOLR", "117"), Number("VKT_PATNO", "0")},
                           Fill({255, 0, 0}, 0, {}, false)});
  // Pattern 5 is the crossed hatch: two line sets.
  layer.classes.push_back({"hatched & <transparent>", {Number("VKT_RCOLR", "17")},
                           Fill({0, 128, 0}, 5, {0, 0, 255}, true)});
  const XmlDocument qml(BuildQml(layer));
  ASSERT_TRUE(qml.Parsed());

  const auto renderer = qml.All("renderer-v2");
  ASSERT_EQ(renderer.size(), 1u);
  EXPECT_EQ(Attribute(renderer[0], "type"), "RuleRenderer");
  const auto rules = qml.All("rule");
  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(Attribute(rules[0], "filter"), "\"VKT_RCOLR\" = 117 AND \"VKT_PATNO\" = 0");
  EXPECT_EQ(Attribute(rules[1], "label"), "hatched & <transparent>");
  EXPECT_EQ(Attribute(rules[1], "symbol"), "1");

  const auto symbols = qml.All("symbol", qml.All("symbols")[0]);
  std::vector<const CPLXMLNode*> top;
  for (const CPLXMLNode* s : symbols) {
    if (Attribute(s, "type") == "fill") top.push_back(s);
  }
  ASSERT_EQ(top.size(), 2u);
  const auto solidLayers = qml.All("layer", top[0]);
  ASSERT_EQ(solidLayers.size(), 1u);
  EXPECT_EQ(Attribute(solidLayers[0], "class"), "SimpleFill");
  EXPECT_EQ(OptionValue(solidLayers[0], "color"), "255,0,0,255");
  EXPECT_EQ(OptionValue(solidLayers[0], "outline_style"), "no");

  const auto hatchedLayers = qml.All("layer", top[1]);
  ASSERT_EQ(hatchedLayers.size(), 5u);  // fill, two pattern fills each with its line
  EXPECT_EQ(OptionValue(hatchedLayers[0], "color"), "0,128,0,128");
  EXPECT_EQ(Attribute(hatchedLayers[1], "class"), "LinePatternFill");
  EXPECT_EQ(OptionValue(hatchedLayers[1], "angle"), "0");
  EXPECT_EQ(OptionValue(hatchedLayers[2], "line_color"), "0,0,255,255");
  EXPECT_EQ(OptionValue(hatchedLayers[3], "angle"), "90");
}

TEST(QmlWriter, FiltersQuoteNamesAndTextsAndNeverTakeValuesAsExpressions) {
  EXPECT_EQ(QgisFilter({}), "");
  EXPECT_EQ(QgisFilter({{"name", Match::Equal, "it's a\\b", false}}), "\"name\" = 'it''s a\\\\b'");
  EXPECT_EQ(QgisFilter({Number("col\"x", "5.250")}), "\"col\"\"x\" = 5.25");
  // A number of 3 decimals matches the values that round to it.
  EXPECT_EQ(QgisFilter({{"w", Match::Equal, "0.150", true, 3}}), "round(\"w\", 3) = 0.15");
  // A "number" that is not one stays a quoted text.
  EXPECT_EQ(QgisFilter({Number("n", "1 OR 1=1")}), "\"n\" = '1 OR 1=1'");
  // LIKE wildcards in a prefix are escaped; QGIS reads "\\%" in the expression as a literal %.
  EXPECT_EQ(QgisFilter({{"L", Match::StartsWith, "a%b_c", false}, {"L", Match::NotStartsWith, "x", false}}),
            "\"L\" LIKE 'a\\\\%b\\\\_c%' AND NOT (\"L\" LIKE 'x%')");
}

TEST(QmlWriter, LineAndMarkerSymbolsKeepWidthsDashesAndUnits) {
  LayerStyle lines;
  FeatureStyle road;
  road.kind = SymbolKind::Line;
  road.line = {{10, 20, 30}, {0.5, Unit::Millimetre}, DashOfLineType(2)};
  lines.classes.push_back({"road", {}, road});
  const XmlDocument qml(BuildQml(lines));
  ASSERT_TRUE(qml.Parsed());
  EXPECT_TRUE(Attribute(qml.All("rule")[0], "filter").empty());
  const auto line = qml.All("layer")[0];
  EXPECT_EQ(OptionValue(line, "line_color"), "10,20,30,255");
  EXPECT_EQ(OptionValue(line, "line_width"), "0.5");
  EXPECT_EQ(OptionValue(line, "line_width_unit"), "MM");
  EXPECT_EQ(OptionValue(line, "use_custom_dash"), "1");
  EXPECT_EQ(OptionValue(line, "customdash"), "4;2");

  LayerStyle points;
  FeatureStyle well;
  well.kind = SymbolKind::Marker;
  well.marker = {{0, 0, 255}, {6.0, Unit::MapUnit}};
  points.classes.push_back({"well", {}, well});
  const XmlDocument markers(BuildQml(points));
  const auto marker = markers.All("layer")[0];
  EXPECT_EQ(Attribute(marker, "class"), "SimpleMarker");
  EXPECT_EQ(OptionValue(marker, "size"), "6");
  EXPECT_EQ(OptionValue(marker, "size_unit"), "MapUnit");
}

TEST(QmlWriter, AnnotationsAreLabelsWithAnInvisibleMarker) {
  LayerStyle layer;
  layer.labelText = "注释文";
  layer.labelSize = {"VKT_AHEI", 2.0, 0.0};
  layer.labelAngle = {"VKT_ANGLE", 1.0, -90.0};
  FeatureStyle note;
  note.kind = SymbolKind::Label;
  const FontFaces song = FontOfNumber(1);
  note.label.fonts = song.families;
  note.label.italic = true;
  note.label.size = {12.0, Unit::MapUnit};
  note.label.colour = {255, 0, 0};
  layer.classes.push_back({"宋体 red", {{"VKT_LABEL", Match::StartsWith, "<FNT name='宋体'", false}}, note});

  const XmlDocument qml(BuildQml(layer));
  ASSERT_TRUE(qml.Parsed());
  EXPECT_EQ(Attribute(qml.All("qgis")[0], "labelsEnabled"), "1");
  EXPECT_EQ(Attribute(qml.All("renderer-v2")[0], "type"), "nullSymbol");
  EXPECT_EQ(Attribute(qml.All("labeling")[0], "type"), "rule-based");
  const auto rule = qml.All("rule", qml.All("labeling")[0]);
  ASSERT_EQ(rule.size(), 1u);
  EXPECT_EQ(Attribute(rule[0], "filter"), "\"VKT_LABEL\" LIKE '<FNT name=''宋体''%'");
  const auto text = qml.All("text-style")[0];
  // The text as MapGIS shows it: codes removed, stacked numbers on two lines.
  EXPECT_EQ(Attribute(text, "isExpression"), "1");
  EXPECT_EQ(Attribute(text, "fieldName"),
            "regexp_replace(CASE WHEN \"注释文\" ~ '^/.*/$' THEN replace(substr(\"注释文\", 2, length(\"注释文\") - 2),"
            " '/', '\\n') ELSE \"注释文\" END, '#[-+=]', '')");
  EXPECT_EQ(Attribute(text, "fontFamily"), "SimSun");
  EXPECT_EQ(Attribute(text, "fontSizeUnit"), "MapUnit");
  EXPECT_EQ(Attribute(text, "fontItalic"), "1");
  EXPECT_EQ(Attribute(text, "textColor"), "255,0,0,255");
  EXPECT_EQ(qml.All("family", text).size(), 3u);
  // Data-defined size and a clockwise rotation from the counter-clockwise column.
  const auto properties = qml.All("Option", qml.All("dd_properties")[0]);
  std::string size, rotation;
  for (const CPLXMLNode* p : properties) {
    if (Attribute(p, "name") == "Size") size = OptionValue(p, "expression");
    if (Attribute(p, "name") == "LabelRotation") rotation = OptionValue(p, "expression");
  }
  EXPECT_EQ(size, "\"VKT_AHEI\" * 2 + 0");
  EXPECT_EQ(rotation, "-(\"VKT_ANGLE\" * 1 + -90)");

  // A point file with sub-pictures and annotations: markers and labels, the
  // text taken from the label mark-up.
  FeatureStyle symbol;
  symbol.kind = SymbolKind::Marker;
  layer.classes.insert(layer.classes.begin(), StyleClass{"symbol", {}, symbol});
  layer.labelText = "VKT_LABEL";
  layer.labelTextIsMarkup = true;
  const XmlDocument mixed(BuildQml(layer));
  EXPECT_EQ(Attribute(mixed.All("renderer-v2")[0], "type"), "RuleRenderer");
  // QGIS labels only drawn features: annotations get an invisible marker.
  const auto rules = mixed.All("rule", mixed.All("rules")[0]);
  ASSERT_EQ(rules.size(), 2u);
  const auto invisible = mixed.All("layer", mixed.All("symbols")[0])[1];
  EXPECT_EQ(OptionValue(invisible, "color"), "0,0,0,0");
  EXPECT_EQ(Attribute(rules[1], "filter"), Attribute(mixed.All("rule", mixed.All("labeling")[0])[0], "filter"));
  EXPECT_EQ(mixed.All("rule", mixed.All("labeling")[0]).size(), 1u);
  EXPECT_EQ(Attribute(mixed.All("text-style")[0], "fieldName"),
            "replace(replace(regexp_replace(\"VKT_LABEL\", '<[^>]*>', ''), '&lt;', '<'), '&amp;', '&')");
}
