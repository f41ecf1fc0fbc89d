#pragma once
// What the driver tests share: GDAL with the plugin of this build loaded,
// the converter's shapefile output as the reference, and a feature-by-feature
// comparison of two OGR layers.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace ogrtest {

// Points GDAL_DRIVER_PATH at the plugin of this build and registers the drivers once.
void LoadDriver();

struct DatasetCloser {
  void operator()(GDALDataset* ds) const { GDALClose(ds); }
};
using Dataset = std::unique_ptr<GDALDataset, DatasetCloser>;

// Opens a vector dataset read-only (any driver, or only `driver` when given).
Dataset OpenVector(const std::filesystem::path& path, const char* driver = nullptr);

// Which converter writes the reference of a driver layer.
enum class Reference { Points, Lines, Polygons, PolygonArcs, NetworkArcs, NetworkNodes, Table };

// Runs the converter on `source` into `folder` (raw-parameter style values,
// the layer's own scale when it has a projection). The path of the .shp
// (.dbf for a table) written, or empty when the converter wrote nothing.
std::filesystem::path ConvertWithEngine(const std::filesystem::path& source, Reference kind,
                                        const std::filesystem::path& folder, long* result);

// Compares `actual` (the driver's layer, or a copy of it made by ogr2ogr)
// with the converter's `reference` feature by feature: counts, geometry
// vertices within `tolerance`, the MapGIS attribute values column by column
// and the VKT_ style values by name. Failures go to gtest with `what`.
void CompareWithReference(OGRLayer* reference, OGRLayer* actual, double tolerance, const std::string& what);

// Every geometry vertex in order (rings of polygons one after another).
std::vector<OGRPoint> Vertices(const OGRGeometry* g);

}  // namespace ogrtest
