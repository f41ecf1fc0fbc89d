#include "QmlWriter.h"

#include <algorithm>
#include <charconv>

#include "StyleText.h"
#include "SymbolTables.h"

namespace cartography {

namespace {

// A column name as a QGIS field reference.
std::string FieldRef(const std::string& column) {
  std::string out = "\"";
  for (const char c : column) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// A QGIS string literal: backslash is the escape character, a quote doubled.
std::string StringLiteral(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    switch (c) {
      case '\'': out += "''"; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c; break;
    }
  }
  return out + "'";
}

// A LIKE pattern matching every text that starts with `prefix`.
std::string PrefixPattern(const std::string& prefix) {
  std::string escaped;
  for (const char c : prefix) {
    if (c == '%' || c == '_') escaped += '\\';
    escaped += c;
  }
  return StringLiteral(escaped + "%");
}

// A number literal; a value that is not a number is compared as text so
// that nothing but a literal ends up in the expression.
std::string ValueLiteral(const Condition& c) {
  if (c.number) {
    double v = 0.0;
    const char* end = c.value.data() + c.value.size();
    const auto r = std::from_chars(c.value.data(), end, v);
    if (r.ec == std::errc() && r.ptr == end) return NumberText(v);
  }
  return StringLiteral(c.value);
}

// The column of an equality test, rounded when the condition asks for it.
std::string TestedColumn(const Condition& c) {
  if (!c.number || c.decimals < 0) return FieldRef(c.column);
  return "round(" + FieldRef(c.column) + ", " + std::to_string(std::min(c.decimals, 15)) + ")";
}

std::string ColourText(const Rgba& c) {
  return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) + "," +
         std::to_string(c.alpha);
}

const char* UnitText(Unit u) { return u == Unit::MapUnit ? "MapUnit" : "MM"; }

std::string Option(const std::string& name, const std::string& value, const char* type = "QString") {
  return "<Option type=\"" + std::string(type) + "\" name=\"" + XmlEscape(name) + "\" value=\"" + XmlEscape(value) +
         "\"/>";
}

// One symbol layer with its options; `inner` is written inside it.
std::string SymbolLayer(const char* cls, const std::vector<std::pair<std::string, std::string>>& options,
                        const std::string& inner = "") {
  std::string out = "<layer class=\"" + std::string(cls) + "\" enabled=\"1\" locked=\"0\" pass=\"0\"><Option type=\"Map\">";
  for (const auto& o : options) out += Option(o.first, o.second);
  return out + "</Option>" + inner + "</layer>";
}

std::string Symbol(const char* type, const std::string& name, const std::string& layers) {
  return "<symbol type=\"" + std::string(type) + "\" name=\"" + XmlEscape(name) +
         "\" alpha=\"1\" clip_to_extent=\"1\" force_rhr=\"0\">" + layers + "</symbol>\n";
}

std::string SimpleLine(const Rgba& colour, const Length& width, const std::vector<double>& dash) {
  std::string pattern;
  for (const double d : dash) pattern += (pattern.empty() ? "" : ";") + NumberText(d);
  return SymbolLayer("SimpleLine", {{"line_color", ColourText(colour)},
                                    {"line_width", NumberText(width.value)},
                                    {"line_width_unit", UnitText(width.unit)},
                                    {"line_style", "solid"},
                                    {"capstyle", "round"},
                                    {"joinstyle", "round"},
                                    {"use_custom_dash", dash.empty() ? "0" : "1"},
                                    {"customdash", dash.empty() ? "5;2" : pattern},
                                    {"customdash_unit", "MM"}});
}

std::string FillSymbol(const FillStyle& fill, const std::string& name) {
  Rgba colour = fill.colour;
  if (fill.transparent) colour.alpha = 128;
  std::string layers = SymbolLayer("SimpleFill", {{"color", ColourText(colour)},
                                                  {"style", "solid"},
                                                  {"outline_style", "no"}});
  int part = 1;
  for (const double angle : HatchAngles(HatchOfPattern(fill.pattern))) {
    const Length width{kHatchWidthMm, Unit::Millimetre};
    const std::string line = Symbol("line", "@" + name + "@" + std::to_string(part++),
                                    SimpleLine(fill.patternColour, width, {}));
    layers += SymbolLayer("LinePatternFill", {{"angle", NumberText(angle)},
                                              {"distance", NumberText(kHatchSpacingMm)},
                                              {"distance_unit", "MM"},
                                              {"color", ColourText(fill.patternColour)},
                                              {"line_width", NumberText(kHatchWidthMm)},
                                              {"line_width_unit", "MM"}},
                          line);
  }
  return Symbol("fill", name, layers);
}

std::string MarkerSymbol(const MarkerStyle& marker, const std::string& name) {
  return Symbol("marker", name, SymbolLayer("SimpleMarker", {{"name", "circle"},
                                                             {"color", ColourText(marker.colour)},
                                                             {"outline_style", "no"},
                                                             {"size", NumberText(marker.size.value)},
                                                             {"size_unit", UnitText(marker.size.unit)}}));
}

std::string SymbolOf(const FeatureStyle& style, const std::string& name) {
  switch (style.kind) {
    case SymbolKind::Fill: return FillSymbol(style.fill, name);
    case SymbolKind::Line: return Symbol("line", name, SimpleLine(style.line.colour, style.line.width, style.line.dash));
    case SymbolKind::Marker: return MarkerSymbol(style.marker, name);
    case SymbolKind::Label: break;
  }
  return "";
}

bool IsLabel(const StyleClass& c) { return c.style.kind == SymbolKind::Label; }

std::string Rule(const std::string& key, const std::string& symbol, const std::string& title,
                 const std::vector<Condition>& when) {
  const std::string filter = QgisFilter(when);
  return "<rule key=\"{" + key + "}\" symbol=\"" + symbol + "\" label=\"" + XmlEscape(title) + "\"" +
         (filter.empty() ? "" : " filter=\"" + XmlEscape(filter) + "\"") + "/>\n";
}

std::string Renderer(const LayerStyle& layer) {
  const bool symbols = !std::all_of(layer.classes.begin(), layer.classes.end(), IsLabel);
  // A layer of labels only draws no symbol at its points.
  if (!symbols) return "<renderer-v2 type=\"nullSymbol\"/>\n";
  std::string rules;
  std::string definitions;
  for (size_t i = 0; i < layer.classes.size(); ++i) {
    const StyleClass& c = layer.classes[i];
    const std::string name = std::to_string(i);
    rules += Rule("class-" + name, name, c.title, c.when);
    // QGIS labels only the features its renderer draws: labelled points get
    // an invisible marker.
    definitions += IsLabel(c) ? MarkerSymbol(MarkerStyle{Rgba{0, 0, 0, 0}, Length{}}, name) : SymbolOf(c.style, name);
  }
  return "<renderer-v2 type=\"RuleRenderer\" symbollevels=\"0\" enableorderby=\"0\" forceraster=\"0\">\n"
         "<rules key=\"{rules}\">\n" +
         rules + "</rules>\n<symbols>\n" + definitions + "</symbols>\n</renderer-v2>\n";
}

// A data-defined property of a label (type 3: an expression).
std::string Property(const char* name, const std::string& expression) {
  return "<Option type=\"Map\" name=\"" + std::string(name) + "\">" + Option("active", "true", "bool") +
         Option("expression", expression) + Option("type", "3", "int") + "</Option>";
}

// The label text: the annotation as MapGIS shows it (see
// AnnotationDisplayText), or the text of the label mark-up without its tags.
std::string LabelTextExpression(const LayerStyle& layer) {
  const std::string field = FieldRef(layer.labelText);
  if (layer.labelTextIsMarkup) {
    return "replace(replace(regexp_replace(" + field + ", '<[^>]*>', ''), '&lt;', '<'), '&amp;', '&')";
  }
  return "regexp_replace(CASE WHEN " + field + " ~ '^/.*/$' THEN replace(substr(" + field + ", 2, length(" + field +
         ") - 2), '/', '\\n') ELSE " + field + " END, '#[-+=]', '')";
}

std::string LabelRule(const LayerStyle& layer, const StyleClass& c, size_t index) {
  const LabelStyle& label = c.style.label;
  std::string families;
  for (const std::string& f : label.fonts) families += "<family name=\"" + XmlEscape(f) + "\"/>";
  const std::string primary = label.fonts.empty() ? std::string() : label.fonts.front();

  std::string properties;
  if (layer.labelSize.Used()) properties += Property("Size", QgisNumber(layer.labelSize));
  // QGIS turns labels clockwise; MapGIS angles run counter-clockwise.
  if (layer.labelAngle.Used()) {
    properties += Property("LabelRotation", "-(" + QgisNumber(layer.labelAngle) + ")");
  } else if (label.angle != 0.0) {
    properties += Property("LabelRotation", NumberText(-label.angle));
  }

  const std::string filter = QgisFilter(c.when);
  return "<rule key=\"{label-" + std::to_string(index) + "}\" description=\"" + XmlEscape(c.title) + "\"" +
         (filter.empty() ? "" : " filter=\"" + XmlEscape(filter) + "\"") + "><settings>" +
         "<text-style fieldName=\"" + XmlEscape(LabelTextExpression(layer)) +
         "\" isExpression=\"1\" fontFamily=\"" +
         XmlEscape(primary) + "\" namedStyle=\"\" fontSize=\"" + NumberText(label.size.value) +
         "\" fontSizeUnit=\"" + UnitText(label.size.unit) + "\" textColor=\"" + ColourText(label.colour) +
         "\" textOpacity=\"1\" fontItalic=\"" + (label.italic ? "1" : "0") + "\" fontWeight=\"" +
         (label.bold ? "75" : "50") + "\" textOrientation=\"" + (label.vertical ? "vertical" : "horizontal") +
         "\" multilineHeight=\"1\" allowHtml=\"0\"><families>" + families + "</families></text-style>" +
         // Over the point, above and to its right: the point is the label's lower left corner.
         "<placement placement=\"1\" quadOffset=\"2\" dist=\"0\" xOffset=\"0\" yOffset=\"0\" offsetType=\"0\"/>"
         "<rendering drawLabels=\"1\" displayAll=\"1\" obstacle=\"0\" upsidedownLabels=\"2\" scaleVisibility=\"0\""
         " limitNumLabels=\"0\" fontLimitPixelSize=\"0\"/>"
         "<dd_properties><Option type=\"Map\">" +
         Option("name", "") + "<Option type=\"Map\" name=\"properties\">" + properties + "</Option>" +
         Option("type", "collection") + "</Option></dd_properties></settings></rule>\n";
}

std::string Labeling(const LayerStyle& layer) {
  std::string rules;
  for (size_t i = 0; i < layer.classes.size(); ++i) {
    if (IsLabel(layer.classes[i])) rules += LabelRule(layer, layer.classes[i], i);
  }
  if (rules.empty()) return "";
  return "<labeling type=\"rule-based\">\n<rules key=\"{labels}\">\n" + rules + "</rules>\n</labeling>\n";
}

}  // namespace

std::string QgisFilter(const std::vector<Condition>& when) {
  std::string out;
  for (const Condition& c : when) {
    if (!out.empty()) out += " AND ";
    switch (c.match) {
      case Match::Equal: out += TestedColumn(c) + " = " + ValueLiteral(c); break;
      case Match::StartsWith: out += FieldRef(c.column) + " LIKE " + PrefixPattern(c.value); break;
      case Match::NotStartsWith: out += "NOT (" + FieldRef(c.column) + " LIKE " + PrefixPattern(c.value) + ")"; break;
    }
  }
  return out;
}

std::string QgisNumber(const ColumnNumber& number) {
  return FieldRef(number.column) + " * " + NumberText(number.factor) + " + " + NumberText(number.offset);
}

std::string BuildQml(const LayerStyle& layer) {
  const bool labels = std::any_of(layer.classes.begin(), layer.classes.end(), IsLabel);
  return std::string("<!DOCTYPE qgis PUBLIC 'http://mrcc.com/qgis.dtd' 'SYSTEM'>\n") +
         "<qgis version=\"3.22.0\" styleCategories=\"Symbology|Labeling\" labelsEnabled=\"" + (labels ? "1" : "0") +
         "\">\n" + Renderer(layer) + Labeling(layer) + "</qgis>\n";
}

}  // namespace cartography
