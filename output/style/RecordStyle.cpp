#include "RecordStyle.h"

#include <cmath>
#include <cstring>

#include "SymbolTables.h"

namespace cartography {

namespace {

// A text block keeps its alignment at record offset 66, inside the kind parameters.
constexpr size_t kBlockAlignParam = 66 - offsetof(MapGis::MAPGIS_PntInfo, param);
static_assert(kBlockAlignParam < sizeof(MapGis::MAPGIS_PntInfo::param), "alignment inside the parameters");

// A length that is not a finite number draws nothing rather than something absurd.
double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

}  // namespace

SizeFactors SizeFactorsOf(const MapGis::MAP_PARAstruct& para) {
  auto factor = [](double v) { return std::isfinite(v) && v > 0.0 ? v : 1.0; };
  return SizeFactors{factor(para.sizeFactorX), factor(para.sizeFactorY)};
}

Rgba ColourOf(const ColorModel& colours, long number) {
  const MapGis::RGBTRIPLE rgb = colours.Rgb(number);
  return Rgba{rgb.rgbtRed, rgb.rgbtGreen, rgb.rgbtBlue, 255};
}

FeatureStyle FillOf(const MapGis::MAPGIS_RegInfo& region, const ColorModel& colours) {
  FeatureStyle s;
  s.kind = SymbolKind::Fill;
  s.fill.colour = ColourOf(colours, region.fillColor);
  s.fill.pattern = region.pattern;
  s.fill.patternColour = ColourOf(colours, region.patternColor);
  s.fill.transparent = region.transparent != 0;
  return s;
}

FeatureStyle LineOf(const MapGis::MAPGIS_LineInfo& line, const ColorModel& colours) {
  FeatureStyle s;
  s.kind = SymbolKind::Line;
  s.line.colour = ColourOf(colours, line.color);
  s.line.width = Length{Finite(line.width), Unit::Millimetre};
  s.line.dash = DashOfLineType(line.lineType);
  return s;
}

FeatureStyle MarkerOf(const MapGis::MAPGIS_PntInfo& point, const ColorModel& colours, Length size) {
  FeatureStyle s;
  s.kind = SymbolKind::Marker;
  s.marker.colour = ColourOf(colours, point.color);
  s.marker.size = Length{Finite(size.value), size.unit};
  return s;
}

Length SubPictureSize(const MapGis::MAPGIS_PntInfo& point, double factor) {
  float width;
  std::memcpy(&width, &point.param.sub.width, sizeof width);
  return Length{Finite(width * factor), Unit::MapUnit};
}

uint8_t AlignmentOf(const MapGis::MAPGIS_PntInfo& point) {
  return point.kind == 5 ? point.param.raw[kBlockAlignParam] : point.param.note.align;
}

bool VerticalText(const MapGis::MAPGIS_PntInfo& point) { return AlignmentOf(point) != 0; }

FeatureStyle LabelOf(const MapGis::MAPGIS_PntInfo& point, const ColorModel& colours, double heightFactor) {
  MapGis::MAPGIS_NoteParam note;
  std::memcpy(&note, &point.param.note, sizeof note);
  FeatureStyle s;
  s.kind = SymbolKind::Label;
  const FontFaces faces = FontOfNumber(note.chFont);
  s.label.fonts = faces.families;
  s.label.bold = faces.bold;
  s.label.italic = note.fontStyle > 0;
  s.label.vertical = VerticalText(point);
  s.label.size = Length{Finite(note.height * heightFactor), Unit::MapUnit};
  s.label.angle = Finite(note.angle);
  s.label.colour = ColourOf(colours, point.color);
  return s;
}

}  // namespace cartography
