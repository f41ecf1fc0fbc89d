#include "OgrStyleString.h"

#include "StyleText.h"
#include "SymbolTables.h"

namespace cartography {

namespace {

std::string LengthText(const Length& l) { return NumberText(l.value) + (l.unit == Unit::MapUnit ? "g" : "mm"); }

// A quoted string value; quotes and backslashes are escaped with a backslash.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// OGR's hatch brushes: 2 horizontal, 3 vertical, 4 "\\\", 5 "///", 6 cross,
// 7 diagonal cross.
const char* BrushId(Hatch hatch) {
  switch (hatch) {
    case Hatch::Horizontal: return "ogr-brush-2";
    case Hatch::Vertical: return "ogr-brush-3";
    case Hatch::Backward: return "ogr-brush-4";
    case Hatch::Forward: return "ogr-brush-5";
    case Hatch::Cross: return "ogr-brush-6";
    case Hatch::DiagonalCross: return "ogr-brush-7";
    case Hatch::None: break;
  }
  return "ogr-brush-0";
}

std::string Brush(const FillStyle& fill) {
  Rgba colour = fill.colour;
  if (fill.transparent) colour.alpha = 128;
  const Hatch hatch = HatchOfPattern(fill.pattern);
  if (hatch == Hatch::None) return "BRUSH(fc:" + HexColour(colour) + ")";
  return "BRUSH(fc:" + HexColour(fill.patternColour) + ",bc:" + HexColour(colour) + ",id:\"" + BrushId(hatch) + "\")";
}

std::string Pen(const LineStyle& line) {
  std::string out = "PEN(c:" + HexColour(line.colour) + ",w:" + LengthText(line.width);
  if (!line.dash.empty()) {
    std::string pattern;
    for (const double d : line.dash) pattern += (pattern.empty() ? "" : " ") + NumberText(d) + "mm";
    out += ",p:\"" + pattern + "\"";
  }
  return out + ")";
}

std::string Label(const LabelStyle& label) {
  std::string fonts;
  for (const std::string& f : label.fonts) fonts += (fonts.empty() ? "" : ",") + f;
  std::string out = "LABEL(f:" + Quoted(fonts) + ",s:" + LengthText(label.size) + ",a:" + NumberText(label.angle) +
                    ",c:" + HexColour(label.colour) + ",t:" + Quoted(label.text) + ",p:1";
  if (label.italic) out += ",it:1";
  if (label.bold) out += ",bo:1";
  return out + ")";
}

}  // namespace

std::string BuildOgrStyle(const FeatureStyle& style) {
  switch (style.kind) {
    case SymbolKind::Fill: return Brush(style.fill);
    case SymbolKind::Line: return Pen(style.line);
    case SymbolKind::Marker:
      return "SYMBOL(id:\"ogr-sym-3\",c:" + HexColour(style.marker.colour) + ",s:" + LengthText(style.marker.size) + ")";
    case SymbolKind::Label: return Label(style.label);
  }
  return "";
}

}  // namespace cartography
