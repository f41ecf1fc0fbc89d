// The driver's layers, read directly and after ogr2ogr into GeoPackage and
// GeoJSON, against the shapefile converter's output of the same file.
#include <gdal_utils.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DemoData.h"
#include "MapGis.h"
#include "OgrSupport.h"
#include "TempDir.h"

using ogrtest::Reference;

namespace {

struct Case {
  const char* file;   // "real:<relative path>" or "demo:<name>"
  Reference kind;
  int layer;          // layer index in the driver's dataset
};

std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.file << " layer " << c.layer; }

const std::filesystem::path& DemoFolder() {
  static testing_support::TempDir dir;
  static bool made = [] {
    std::string error;
    const bool ok = demo::GenerateDemoData(dir.Path(), &error);
    EXPECT_TRUE(ok) << error;
    return ok;
  }();
  (void)made;
  return dir.Path();
}

class DriverMatchesConverter : public ::testing::TestWithParam<Case> {
 protected:
  // The source copied into this test's folder.
  std::filesystem::path Source() {
    const std::string tagged = GetParam().file;  // "real:..." or "demo:..."
    const std::string name = tagged.substr(5);
    if (tagged.rfind("real:", 0) == 0) return testing_support::RealSamples() / std::filesystem::u8path(name);
    return DemoFolder() / std::filesystem::u8path(name);
  }

  testing_support::TempDir dir;
};

TEST_P(DriverMatchesConverter, DirectlyAndThroughGeoPackageAndGeoJson) {
  const Case c = GetParam();
  const std::filesystem::path original = Source();
  ASSERT_TRUE(std::filesystem::exists(original)) << original;
  // Results are written next to sources: work on a copy.
  const std::filesystem::path source = dir.Path() / original.filename();
  std::filesystem::copy_file(original, source);

  long result = 0;
  const std::filesystem::path reference = ogrtest::ConvertWithEngine(source, c.kind, dir.Path(), &result);
  ASSERT_FALSE(reference.empty()) << "converter result " << result;

  ogrtest::Dataset ours = ogrtest::OpenVector(source, "MAPGIS");
  ASSERT_TRUE(ours) << CPLGetLastErrorMsg();
  ogrtest::Dataset shp = ogrtest::OpenVector(reference);
  ASSERT_TRUE(shp);
  OGRLayer* layer = ours->GetLayer(c.layer);
  ASSERT_NE(layer, nullptr);
  ogrtest::CompareWithReference(shp->GetLayer(0), layer, 1e-9, "direct");

  // ogr2ogr into GeoPackage and GeoJSON, then the copy against the same reference.
  const struct {
    const char* format;
    const char* name;
    double tolerance;
  } targets[] = {{"GPKG", "copy.gpkg", 1e-9}, {"GeoJSON", "copy.geojson", 1e-6}};
  for (const auto& t : targets) {
    const std::string out = (dir.Path() / t.name).u8string();
    const char* args[] = {"-f", t.format, layer->GetName(), nullptr};
    GDALVectorTranslateOptions* options = GDALVectorTranslateOptionsNew(const_cast<char**>(args), nullptr);
    GDALDatasetH src = GDALDataset::ToHandle(ours.get());
    int usageError = FALSE;
    GDALDatasetH copied = GDALVectorTranslate(out.c_str(), nullptr, 1, &src, options, &usageError);
    GDALVectorTranslateOptionsFree(options);
    ASSERT_NE(copied, nullptr) << t.format << ": " << CPLGetLastErrorMsg();
    GDALClose(copied);
    ogrtest::Dataset reopened = ogrtest::OpenVector(out);
    ASSERT_TRUE(reopened) << t.format;
    ogrtest::CompareWithReference(shp->GetLayer(0), reopened->GetLayerByName(layer->GetName()), t.tolerance,
                                  t.format);
  }
}

INSTANTIATE_TEST_SUITE_P(
    RealSamples, DriverMatchesConverter,
    ::testing::Values(Case{"real:jz-project/JZ.WT", Reference::Points, 0},
                      Case{"real:jz-project/I486732TK.WT", Reference::Points, 0},
                      Case{"real:jz-project/JZ.WL", Reference::Lines, 0},
                      Case{"real:jz-project/JZ-FINAL.WL", Reference::Lines, 0},
                      Case{"real:jz-project/I486732TK.WL", Reference::Lines, 0},
                      Case{"real:frame/图框.WP", Reference::Polygons, 0},
                      Case{"real:frame/图框.WP", Reference::PolygonArcs, 1},
                      Case{"real:frame/图框.WL", Reference::Lines, 0},
                      Case{"real:frame/图例.WT", Reference::Points, 0},
                      Case{"real:frame/图例.WL", Reference::Lines, 0},
                      Case{"real:frame/YZT-SLH.WL", Reference::Lines, 0},
                      Case{"real:tables/区.WB", Reference::Table, 0},
                      Case{"real:tables/点.WB", Reference::Table, 0}));

INSTANTIATE_TEST_SUITE_P(DemoData, DriverMatchesConverter,
                         ::testing::Values(Case{"demo:landuse.WP", Reference::Polygons, 0},
                                           Case{"demo:landuse.WP", Reference::PolygonArcs, 1},
                                           Case{"demo:roads.WL", Reference::Lines, 0},
                                           Case{"demo:sub/河流.WL", Reference::Lines, 0},
                                           Case{"demo:地名注记.WT", Reference::Points, 0},
                                           Case{"demo:pipes.WN", Reference::NetworkArcs, 0},
                                           Case{"demo:pipes.WN", Reference::NetworkNodes, 1},
                                           Case{"demo:parcels.WB", Reference::Table, 0}));

}  // namespace
