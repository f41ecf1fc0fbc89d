#pragma once
// QGIS 3 layer style (.qml): QGIS applies NAME.qml by itself when it opens
// NAME.shp. A rule-based renderer with one rule per symbol class and
// rule-based labels with one rule per label class; a layer of labels only
// draws nothing at its points.
#include <string>

#include "StyleModel.h"

namespace cartography {

// The text of the .qml file (UTF-8).
std::string BuildQml(const LayerStyle& layer);

// A condition list as a QGIS expression ("" for none), and a number read
// from a column as one.
std::string QgisFilter(const std::vector<Condition>& when);
std::string QgisNumber(const ColumnNumber& number);

}  // namespace cartography
