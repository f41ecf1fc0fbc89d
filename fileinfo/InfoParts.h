#pragma once
// The text form of each part of the report, each written by its own unit.
#include <iosfwd>
#include <vector>

#include "InfoModel.h"

namespace gridmoor {

void PrintExtent(std::ostream& out, const Extent& extent);
void PrintProjection(std::ostream& out, const MapGis::MAP_PARAstruct& projection);
void PrintGeometryRecords(std::ostream& out, const std::vector<GeometryTable>& tables);
void PrintAttributeTables(std::ostream& out, const std::vector<AttributeTable>& tables);

// Each returns true when the file could be read.
bool PrintLayer(std::ostream& out, const LayerInfo& info);
bool PrintProject(std::ostream& out, const ProjectInfo& info);
bool PrintColorLibrary(std::ostream& out, const ColorLibraryInfo& info);

}  // namespace gridmoor
