#pragma once
// OGC Styled Layer Descriptor 1.1 / Symbology Encoding (.sld), read by
// GeoServer, QGIS, MapServer and other tools: one rule per class.
#include <string>
#include <vector>

#include "StyleModel.h"

namespace cartography {

// The text of the .sld file (UTF-8). Paper sizes are written in the
// standard 0.28 mm pixels, map sizes in metres; map sizes of a layer whose
// unit is not a length cannot be written in metres and are written as
// pixels, with a line (log text without its severity prefix) in `warnings`;
// SLD has no means to remove the tags of label mark-up, which labels then
// show (another line).
std::string BuildSld(const LayerStyle& layer, std::vector<std::string>* warnings);

}  // namespace cartography
