#pragma once
// What a converted feature looks like in a GIS program (fill, line, marker
// or label), and how the features of one layer pick their look from the
// layer's table. The QGIS style, SLD and OGR style string writers all read
// this model; the converters fill it from the records they convert.
#include <cstdint>
#include <string>
#include <vector>

namespace cartography {

struct Rgba {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 255;

  bool operator==(const Rgba& o) const {
    return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
  }
};

// "#rrggbb", followed by the alpha byte ("aa") when the colour is not opaque.
std::string HexColour(const Rgba& c);

// Lengths on paper (millimetres, whatever the zoom) or on the ground (the
// layer's coordinate units, growing with the zoom).
enum class Unit { Millimetre, MapUnit };

struct Length {
  double value = 0.0;
  Unit unit = Unit::Millimetre;
};

// A polygon: fill colour, the MapGIS fill pattern drawn over it in the
// pattern colour (0: none), and the transparency flag.
struct FillStyle {
  Rgba colour;
  int pattern = 0;
  Rgba patternColour;
  bool transparent = false;
};

// A line: colour, width and dash pattern (dash, gap, dash, gap ... in
// millimetres; empty for a solid line).
struct LineStyle {
  Rgba colour;
  Length width;
  std::vector<double> dash;
};

// A point drawn as a filled circle (there is no symbol library to draw the
// MapGIS sub-picture itself).
struct MarkerStyle {
  Rgba colour;
  Length size;
};

// An annotation drawn as a label, its point left invisible. The label's
// lower left corner sits on the point; `angle` turns it counter-clockwise
// in degrees. `fonts` lists the families to try, in order.
struct LabelStyle {
  std::vector<std::string> fonts;
  bool bold = false;
  bool italic = false;
  bool vertical = false;
  Length size;  // character height
  double angle = 0.0;
  Rgba colour;
  std::string text;  // UTF-8; used for single features (OGR style strings)
};

enum class SymbolKind { Fill, Line, Marker, Label };

// The look of one feature; only the member of `kind` is used.
struct FeatureStyle {
  SymbolKind kind = SymbolKind::Fill;
  FillStyle fill;
  LineStyle line;
  MarkerStyle marker;
  LabelStyle label;
};

// A test of one column of a feature. Values are compared as numbers when
// `number` is set, else as text (StartsWith and NotStartsWith are text tests).
// A number with `decimals` of 0 or more matches the column's values that
// round to it at that many decimals: a table may keep the value as written
// with its decimals (a DBF column) or whole (a float in a GeoPackage).
enum class Match { Equal, StartsWith, NotStartsWith };

struct Condition {
  std::string column;
  Match match = Match::Equal;
  std::string value;
  bool number = false;
  int decimals = -1;

  bool operator==(const Condition& o) const {
    return column == o.column && match == o.match && value == o.value && number == o.number &&
           decimals == o.decimals;
  }
};

// A number read from a column of every feature: column * factor + offset.
struct ColumnNumber {
  std::string column;
  double factor = 1.0;
  double offset = 0.0;

  bool Used() const { return !column.empty(); }
};

// One symbol of a layer and the features it applies to: those meeting
// every condition (every feature when there is none).
struct StyleClass {
  std::string title;
  std::vector<Condition> when;
  FeatureStyle style;
};

// The renderer of one layer: classes tried independently (a feature meeting
// two classes is drawn twice). Label classes draw the text of a column; a
// layer may mix them with symbols (a point file holding sub-pictures and
// annotations). The character height and the angle of labels may be read
// from columns of every feature.
struct LayerStyle {
  std::string name;  // the layer's name, as the shapefile's base name
  std::vector<StyleClass> classes;
  std::string labelText;           // column holding the label text
  bool labelTextIsMarkup = false;  // the column holds the label mark-up, not the plain text
  ColumnNumber labelSize;          // replaces the classes' height when used
  ColumnNumber labelAngle;         // replaces the classes' angle when used
  // Metres per map unit, for formats that know only metres and pixels (0
  // when the map unit is not a length, e.g. degrees, or is not known).
  double metresPerMapUnit = 0.0;
};

// The text MapGIS shows for an annotation: its sub- and superscript codes
// "#+", "#-" and "#=" removed, and a text between slashes ("/0312/12.5/",
// a stacked number) as its parts on separate lines. UTF-8 in and out.
std::string AnnotationDisplayText(const std::string& text);

// Adds `styleClass` to the layer unless a class with the same conditions is
// there; gives the position of the class that holds those conditions.
size_t AddStyleClass(LayerStyle& layer, StyleClass styleClass);

}  // namespace cartography
