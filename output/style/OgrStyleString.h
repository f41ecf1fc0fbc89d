#pragma once
// The OGR feature style string of one feature (PEN, BRUSH, SYMBOL, LABEL of
// GDAL's feature style format), which OGR clients such as QGIS's
// embedded-symbol renderer and ogr2ogr to MapInfo, KML or DXF keep.
#include <string>

#include "StyleModel.h"

namespace cartography {

// Fill: BRUSH(fc:#rrggbb), or a hatch BRUSH(fc:pattern colour,bc:fill
// colour,id:"ogr-brush-N"). Line: PEN(c:,w:[,p:"dash gap ..."]). Marker: a
// filled circle SYMBOL(id:"ogr-sym-3",c:,s:). Label: LABEL(f:"families",
// s:,a:,c:,t:"text",p:1[,it:1][,bo:1]), anchored at its lower left corner.
// Paper lengths are in "mm", map lengths in ground units "g".
std::string BuildOgrStyle(const FeatureStyle& style);

}  // namespace cartography
