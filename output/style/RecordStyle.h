#pragma once
// The look of one MapGIS record from its own style fields, colours through
// the run's colour library: what the converters put into the classes of a
// style file and what the GDAL plugin gives every feature. Nothing here
// logs; a colour outside the library is black, as in the style columns.
#include "ColorModel.h"
#include "MapGis.h"
#include "StyleModel.h"

namespace cartography {

// Width and height factors of sub-pictures and annotations, from a layer's
// projection record; a factor that is not a positive finite number is 1.
struct SizeFactors {
  double width = 1.0;
  double height = 1.0;
};
SizeFactors SizeFactorsOf(const MapGis::MAP_PARAstruct& para);

// The colour of a MapGIS colour number, opaque.
Rgba ColourOf(const ColorModel& colours, long number);

// A polygon: fill colour, pattern and pattern colour, transparency.
FeatureStyle FillOf(const MapGis::MAPGIS_RegInfo& region, const ColorModel& colours);

// A line (also the arcs of polygons and networks): colour, width in paper
// millimetres as MapGIS draws it whatever the scale, and the dash of its type.
FeatureStyle LineOf(const MapGis::MAPGIS_LineInfo& line, const ColorModel& colours);

// A point drawn as a filled circle of the point's colour.
FeatureStyle MarkerOf(const MapGis::MAPGIS_PntInfo& point, const ColorModel& colours, Length size);

// The diameter of a sub-picture's circle: its width times `factor` (the
// layer's size factor times the coordinate factor), in map units.
Length SubPictureSize(const MapGis::MAPGIS_PntInfo& point, double factor);

// An annotation or text block (kinds 0 and 5) as a label: font families of
// the Chinese font number, bold where the face is, italic for a font style
// above 0, vertical text, the character height times `heightFactor` in map
// units, the angle as stored (counter-clockwise), the point's colour. The
// text is left empty.
FeatureStyle LabelOf(const MapGis::MAPGIS_PntInfo& point, const ColorModel& colours, double heightFactor);

// Whether a text block or annotation is written vertically: a text block's
// own alignment byte (record offset 66), an annotation's alignment.
bool VerticalText(const MapGis::MAPGIS_PntInfo& point);
// The alignment byte that VerticalText reads.
uint8_t AlignmentOf(const MapGis::MAPGIS_PntInfo& point);

}  // namespace cartography
