#include "SldWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "StyleText.h"
#include "SymbolTables.h"

namespace cartography {

namespace {

constexpr double kMmPerPixel = 0.28;
const char kMetre[] = "http://www.opengeospatial.org/se/units/metre";

// Lengths of one symbolizer, all in its unit of measure.
class Sizes {
 public:
  Sizes(const LayerStyle& layer, Unit unit, std::vector<std::string>* warnings)
      : metres_(unit == Unit::MapUnit && layer.metresPerMapUnit > 0.0), scale_(1.0) {
    if (metres_) {
      scale_ = layer.metresPerMapUnit;
    } else if (unit == Unit::MapUnit) {
      warnings->push_back("图层[" + layer.name + "]的地图单位不是长度单位，SLD中以地图单位计的尺寸按像素写出");
    }
  }
  // The uom attribute of the symbolizer.
  std::string Uom() const { return metres_ ? std::string(" uom=\"") + kMetre + "\"" : ""; }
  double Of(const Length& l) const { return l.unit == Unit::Millimetre ? l.value / kMmPerPixel : l.value * scale_; }
  double MapFactor() const { return scale_; }

 private:
  bool metres_;
  double scale_;
};

std::string Param(const char* name, const std::string& value) {
  return std::string("<se:SvgParameter name=\"") + name + "\">" + value + "</se:SvgParameter>";
}

std::string Literal(const std::string& value) { return "<ogc:Literal>" + XmlEscape(value) + "</ogc:Literal>"; }
std::string Property(const std::string& column) { return "<ogc:PropertyName>" + XmlEscape(column) + "</ogc:PropertyName>"; }

std::string Like(const Condition& c) {
  std::string pattern;
  for (const char ch : c.value) {
    if (ch == '%' || ch == '_' || ch == '\\') pattern += '\\';
    pattern += ch;
  }
  return "<ogc:PropertyIsLike wildCard=\"%\" singleChar=\"_\" escapeChar=\"\\\">" + Property(c.column) +
         Literal(pattern + "%") + "</ogc:PropertyIsLike>";
}

// A number rounded to `decimals`: the values within half a unit of its last decimal.
std::string RoundedTest(const Condition& c) {
  double v = 0.0;
  const char* end = c.value.data() + c.value.size();
  const auto r = std::from_chars(c.value.data(), end, v);
  if (r.ec != std::errc() || r.ptr != end) return "";
  const double half = 0.5 * std::pow(10.0, -std::min(c.decimals, 15));
  return "<ogc:PropertyIsBetween>" + Property(c.column) + "<ogc:LowerBoundary>" + Literal(NumberText(v - half)) +
         "</ogc:LowerBoundary><ogc:UpperBoundary>" + Literal(NumberText(v + half)) +
         "</ogc:UpperBoundary></ogc:PropertyIsBetween>";
}

std::string Test(const Condition& c) {
  switch (c.match) {
    case Match::Equal:
      if (c.number && c.decimals >= 0) {
        const std::string rounded = RoundedTest(c);
        if (!rounded.empty()) return rounded;
      }
      return "<ogc:PropertyIsEqualTo>" + Property(c.column) + Literal(c.value) + "</ogc:PropertyIsEqualTo>";
    case Match::StartsWith: return Like(c);
    case Match::NotStartsWith: return "<ogc:Not>" + Like(c) + "</ogc:Not>";
  }
  return "";
}

std::string Filter(const std::vector<Condition>& when) {
  if (when.empty()) return "";
  std::string tests;
  for (const Condition& c : when) tests += Test(c);
  if (when.size() > 1) tests = "<ogc:And>" + tests + "</ogc:And>";
  return "<ogc:Filter>" + tests + "</ogc:Filter>\n";
}

// column * factor + offset.
std::string Expression(const ColumnNumber& n, double factor, double offset) {
  return "<ogc:Add><ogc:Mul>" + Property(n.column) + Literal(NumberText(factor)) + "</ogc:Mul>" +
         Literal(NumberText(offset)) + "</ogc:Add>";
}

std::string Stroke(const Rgba& colour, double width, const std::vector<double>& dash) {
  std::string out = "<se:Stroke>" + Param("stroke", HexColour(Rgba{colour.red, colour.green, colour.blue})) +
                    Param("stroke-width", NumberText(width)) + Param("stroke-linejoin", "round") +
                    Param("stroke-linecap", "round");
  if (!dash.empty()) {
    std::string pattern;
    for (const double d : dash) pattern += (pattern.empty() ? "" : " ") + NumberText(d / kMmPerPixel);
    out += Param("stroke-dasharray", pattern);
  }
  return out + "</se:Stroke>";
}

std::string Fill(const Rgba& colour) {
  std::string out = "<se:Fill>" + Param("fill", HexColour(Rgba{colour.red, colour.green, colour.blue}));
  if (colour.alpha != 255) out += Param("fill-opacity", NumberText(colour.alpha / 255.0));
  return out + "</se:Fill>";
}

// Hatch lines as the line-pattern fill QGIS writes: a turned "horline" mark.
std::string HatchSymbolizer(const Rgba& colour, double angle) {
  return "<se:PolygonSymbolizer><se:Fill><se:GraphicFill><se:Graphic><se:Mark><se:WellKnownName>horline"
         "</se:WellKnownName>" +
         Stroke(colour, kHatchWidthMm / kMmPerPixel, {}) + "</se:Mark><se:Size>" +
         NumberText(kHatchSpacingMm / kMmPerPixel) + "</se:Size><se:Rotation>" + Literal(NumberText(angle)) +
         "</se:Rotation></se:Graphic></se:GraphicFill></se:Fill></se:PolygonSymbolizer>\n";
}

std::string FillSymbolizers(const FillStyle& fill) {
  Rgba colour = fill.colour;
  if (fill.transparent) colour.alpha = 128;
  std::string out = "<se:PolygonSymbolizer>" + Fill(colour) + "</se:PolygonSymbolizer>\n";
  for (const double angle : HatchAngles(HatchOfPattern(fill.pattern))) out += HatchSymbolizer(fill.patternColour, angle);
  return out;
}

std::string LineSymbolizer(const LayerStyle& layer, const LineStyle& line, std::vector<std::string>* warnings) {
  const Sizes sizes(layer, line.width.unit, warnings);
  return "<se:LineSymbolizer" + sizes.Uom() + ">" + Stroke(line.colour, sizes.Of(line.width), line.dash) +
         "</se:LineSymbolizer>\n";
}

std::string PointSymbolizer(const LayerStyle& layer, const MarkerStyle& marker, std::vector<std::string>* warnings) {
  const Sizes sizes(layer, marker.size.unit, warnings);
  return "<se:PointSymbolizer" + sizes.Uom() + "><se:Graphic><se:Mark><se:WellKnownName>circle</se:WellKnownName>" +
         Fill(marker.colour) + "</se:Mark><se:Size>" + NumberText(sizes.Of(marker.size)) +
         "</se:Size></se:Graphic></se:PointSymbolizer>\n";
}

std::string TextSymbolizer(const LayerStyle& layer, const LabelStyle& label, std::vector<std::string>* warnings) {
  const Sizes sizes(layer, label.size.unit, warnings);
  if (layer.labelTextIsMarkup) {
    warnings->push_back("图层[" + layer.name + "]的SLD注记显示含格式标记的文字");
  }
  std::string font;
  for (const std::string& f : label.fonts) font += Param("font-family", XmlEscape(f));
  font += Param("font-style", label.italic ? "italic" : "normal");
  font += Param("font-weight", label.bold ? "bold" : "normal");
  if (layer.labelSize.Used()) {
    const double f = label.size.unit == Unit::MapUnit ? sizes.MapFactor() : 1.0 / kMmPerPixel;
    font += Param("font-size", Expression(layer.labelSize, layer.labelSize.factor * f, layer.labelSize.offset * f));
  } else {
    font += Param("font-size", NumberText(sizes.Of(label.size)));
  }
  // Symbology Encoding turns clockwise; MapGIS angles run counter-clockwise.
  std::string rotation;
  if (layer.labelAngle.Used()) {
    rotation = Expression(layer.labelAngle, -layer.labelAngle.factor, -layer.labelAngle.offset);
  } else if (label.angle != 0.0) {
    rotation = Literal(NumberText(-label.angle));
  }
  // An invisible point first: the annotation's point is not drawn, and QGIS
  // takes only rules that hold a symbol.
  return "<se:PointSymbolizer><se:Graphic><se:Mark><se:WellKnownName>circle</se:WellKnownName><se:Fill>" +
         Param("fill", "#000000") + Param("fill-opacity", "0") +
         "</se:Fill></se:Mark><se:Size>0</se:Size></se:Graphic></se:PointSymbolizer>\n<se:TextSymbolizer" + sizes.Uom() + "><se:Label>" + Property(layer.labelText) + "</se:Label><se:Font>" +
         font +
         "</se:Font><se:LabelPlacement><se:PointPlacement><se:AnchorPoint><se:AnchorPointX>0</se:AnchorPointX>"
         "<se:AnchorPointY>0</se:AnchorPointY></se:AnchorPoint>" +
         (rotation.empty() ? "" : "<se:Rotation>" + rotation + "</se:Rotation>") +
         "</se:PointPlacement></se:LabelPlacement>" + Fill(label.colour) + "</se:TextSymbolizer>\n";
}

std::string Symbolizers(const LayerStyle& layer, const FeatureStyle& style, std::vector<std::string>* warnings) {
  switch (style.kind) {
    case SymbolKind::Fill: return FillSymbolizers(style.fill);
    case SymbolKind::Line: return LineSymbolizer(layer, style.line, warnings);
    case SymbolKind::Marker: return PointSymbolizer(layer, style.marker, warnings);
    case SymbolKind::Label: return TextSymbolizer(layer, style.label, warnings);
  }
  return "";
}

}  // namespace

std::string BuildSld(const LayerStyle& layer, std::vector<std::string>* warnings) {
  std::string rules;
  std::vector<std::string> found;
  for (const StyleClass& c : layer.classes) {
    rules += "<se:Rule>\n<se:Name>" + XmlEscape(c.title) + "</se:Name>\n<se:Description><se:Title>" +
             XmlEscape(c.title) + "</se:Title></se:Description>\n" + Filter(c.when) +
             Symbolizers(layer, c.style, &found) + "</se:Rule>\n";
  }
  // Each warning once per layer, not once per class.
  for (const std::string& w : found) {
    if (warnings && std::find(warnings->begin(), warnings->end(), w) == warnings->end()) warnings->push_back(w);
  }
  const std::string name = XmlEscape(layer.name);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<StyledLayerDescriptor version=\"1.1.0\" xmlns=\"http://www.opengis.net/sld\""
         " xmlns:se=\"http://www.opengis.net/se\" xmlns:ogc=\"http://www.opengis.net/ogc\""
         " xmlns:xlink=\"http://www.w3.org/1999/xlink\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
         " xsi:schemaLocation=\"http://www.opengis.net/sld"
         " http://schemas.opengis.net/sld/1.1.0/StyledLayerDescriptor.xsd\">\n"
         "<NamedLayer>\n<se:Name>" +
         name + "</se:Name>\n<UserStyle>\n<se:Name>" + name + "</se:Name>\n<se:FeatureTypeStyle>\n" + rules +
         "</se:FeatureTypeStyle>\n</UserStyle>\n</NamedLayer>\n</StyledLayerDescriptor>\n";
}

}  // namespace cartography
