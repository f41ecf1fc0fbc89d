#pragma once
// One function per file of the demo data set; each writes its file into
// `folder` and throws DemoError when it cannot.
#include <filesystem>

namespace demo {

// 地名注记.WT: annotations, text blocks and sub-pictures with attributes.
void WriteAnnotations(const std::filesystem::path& folder);
// roads.WL: roads of several line types with an attribute table.
void WriteRoads(const std::filesystem::path& folder);
// sub/河流.WL: a river, in a subfolder.
void WriteRiver(const std::filesystem::path& folder);
// landuse.WP: land-use polygons sharing their boundary arcs, with a hole.
void WriteLanduse(const std::filesystem::path& folder);
// pipes.WN: a water-pipe network with nodes and a deleted node.
void WritePipes(const std::filesystem::path& folder);
// parcels.WB: an attribute table holding every field type.
void WriteParcels(const std::filesystem::path& folder);
// demo.MPJ: the project listing the map's layers.
void WriteProject(const std::filesystem::path& folder);
// Pcolor.lib: the colour library the layers' colour numbers refer to.
void WriteColorLib(const std::filesystem::path& folder);

}  // namespace demo
