#pragma once
// GeoPackage results as the engine names them. A result in a GeoPackage is
// named like a file in a folder: "DIR/NAME.gpkg/LAYER" is the layer LAYER
// of DIR/NAME.gpkg.
#include <string>

// A layer's table without shapes (a project's .CSV) is the layer's name and this.
constexpr char kSideTableSuffix[] = "_CSV";

// Whether `path` ends with ".gpkg" (any letter case).
bool IsGeoPackagePath(const std::wstring& path);

// The GeoPackage and the layer name of a result path (UTF-8). A path whose
// folder is not a GeoPackage gives the GeoPackage named after the result
// ("DIR/roads" -> "DIR/roads.gpkg", layer "roads").
void SplitLayerPath(const std::string& path, std::string* file, std::string* layer);

// Whether a result exists: a layer of a GeoPackage (letter case ignored,
// as SQLite compares table names), or a file.
bool ResultExists(const std::wstring& path);
