// GeoPackage results read back with GDAL against the shapefile results of
// the same run: the same rows, shapes and values, except where a shapefile
// had to cut (names, long texts, dates), where the GeoPackage holds the
// whole value. Styles, clashes and overwrites of layers.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "DemoData.h"
#include "EngineFixture.h"
#include "GeoPackageFiles.h"
#include "GeoPackageWriter.h"
#include "LayerBuilder.h"
#include "MapGisCodePage.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

GDALDatasetUniquePtr OpenVector(const fs::path& path) {
  GDALAllRegister();
  return GDALDatasetUniquePtr(GDALDataset::Open(path.u8string().c_str(), GDAL_OF_VECTOR));
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// A shapefile text against the GeoPackage's: equal, or the shapefile's is a
// cut of it (250 bytes and "...", the column width), or a time whose
// seconds the shapefile shows with decimals ("14:05:0.25" for "14:05:00").
bool SameText(const std::string& shp, const std::string& gpkg) {
  if (shp == gpkg || StartsWith(gpkg, shp)) return true;
  if (shp.size() > 3 && shp.compare(shp.size() - 3, 3, "...") == 0) return StartsWith(gpkg, shp.substr(0, shp.size() - 3));
  return gpkg.size() == 8 && gpkg[5] == ':' && StartsWith(shp, gpkg.substr(0, 6)) &&
         static_cast<int>(std::atof(shp.c_str() + 6)) == std::atoi(gpkg.c_str() + 6);
}

std::string DateText(OGRFeature& f, int i, const char* format) {
  int y = 0, m = 0, d = 0, h = 0, mi = 0, tz = 0;
  float s = 0;
  f.GetFieldAsDateTime(i, &y, &m, &d, &h, &mi, &s, &tz);
  char text[64];
  std::snprintf(text, sizeof text, format, y, m, d, h, mi, static_cast<int>(s));
  return text;
}

void ExpectSameValue(OGRFeature& shp, OGRFeature& gpkg, int i, const std::string& where) {
  OGRFieldDefn* s = shp.GetFieldDefnRef(i);
  const bool shpNull = !shp.IsFieldSetAndNotNull(i);
  if (!gpkg.IsFieldSetAndNotNull(i)) {
    EXPECT_TRUE(shpNull || StartsWith(shp.GetFieldAsString(i), "0000")) << where;
    return;
  }
  switch (gpkg.GetFieldDefnRef(i)->GetType()) {
    case OFTDate: EXPECT_EQ(shp.GetFieldAsString(i), DateText(gpkg, i, "%04d-%02d-%02d")) << where; break;
    case OFTDateTime:
      EXPECT_TRUE(StartsWith(shp.GetFieldAsString(i), DateText(gpkg, i, "%04d-%02d-%02d_%02d:%02d:%02d"))) << where;
      break;
    case OFTString:
      EXPECT_TRUE(shpNull ? *gpkg.GetFieldAsString(i) == '\0' : SameText(shp.GetFieldAsString(i), gpkg.GetFieldAsString(i)))
          << where << ": " << shp.GetFieldAsString(i) << " / " << gpkg.GetFieldAsString(i);
      break;
    case OFTReal:
      EXPECT_NEAR(shp.GetFieldAsDouble(i), gpkg.GetFieldAsDouble(i),
                  0.5 * std::pow(10.0, -s->GetPrecision()) + 1e-9 * std::fabs(gpkg.GetFieldAsDouble(i)))
          << where;
      break;
    default: EXPECT_EQ(shp.GetFieldAsInteger64(i), gpkg.GetFieldAsInteger64(i)) << where; break;
  }
}

// A shapefile result against a layer: spatial reference, column names (the
// shapefile's are cut to 10 bytes, or renamed when the cut ones collide),
// rows, shapes and values.
void ExpectSameLayer(OGRLayer& shp, OGRLayer& gpkg) {
  const std::string name = gpkg.GetName();
  ASSERT_EQ(shp.GetFeatureCount(), gpkg.GetFeatureCount()) << name;
  const OGRSpatialReference* shpSrs = shp.GetSpatialRef();
  const OGRSpatialReference* gpkgSrs = gpkg.GetSpatialRef();
  // Without a .prj the GeoPackage declares GDAL's "Undefined geographic SRS".
  EXPECT_TRUE(shpSrs ? gpkgSrs && shpSrs->IsSame(gpkgSrs) : !gpkgSrs || StartsWith(gpkgSrs->GetName(), "Undefined"))
      << name;
  OGRFeatureDefn* s = shp.GetLayerDefn();
  OGRFeatureDefn* g = gpkg.GetLayerDefn();
  ASSERT_EQ(s->GetFieldCount(), g->GetFieldCount()) << name;
  for (int i = 0; i < s->GetFieldCount(); ++i) {
    const std::string cut = g->GetFieldDefn(i)->GetNameRef();
    const std::string shpName = s->GetFieldDefn(i)->GetNameRef();
    EXPECT_TRUE(StartsWith(cut, shpName) || std::isdigit(static_cast<unsigned char>(shpName.back())))
        << name << ": " << shpName << " / " << cut;
  }
  shp.ResetReading();
  gpkg.ResetReading();
  for (int row = 0; row < shp.GetFeatureCount(); ++row) {
    std::unique_ptr<OGRFeature> a(shp.GetNextFeature()), b(gpkg.GetNextFeature());
    ASSERT_TRUE(a && b);
    const std::string where = name + " row " + std::to_string(row);
    OGRGeometry* shape = a->GetGeometryRef();
    if (!shape || !b->GetGeometryRef()) {
      EXPECT_EQ(shape == nullptr, b->GetGeometryRef() == nullptr) << where;
    } else if (wkbFlatten(shape->getGeometryType()) != wkbPoint) {
      std::unique_ptr<OGRGeometry> multi(OGRGeometryFactory::forceTo(shape->clone(), b->GetGeometryRef()->getGeometryType()));
      EXPECT_TRUE(multi->Equals(b->GetGeometryRef())) << where;
    } else {
      EXPECT_TRUE(shape->Equals(b->GetGeometryRef())) << where;
    }
    for (int i = 0; i < s->GetFieldCount(); ++i) ExpectSameValue(*a, *b, i, where + " column " + std::to_string(i));
  }
}

// Every shapefile result under `shapes` against the layer of the same name
// in the GeoPackages of `packages`: FOLDER/sub/N.shp is layer N of
// sub.gpkg (a project's), FOLDER/N.shp the layer N of another one.
int ExpectSameResults(const fs::path& shapes, const fs::path& packages) {
  std::set<std::string> projects;
  for (const auto& e : fs::directory_iterator(shapes)) {
    if (e.is_directory()) projects.insert(e.path().filename().u8string() + ".gpkg");
  }
  int compared = 0;
  for (const auto& e : fs::recursive_directory_iterator(shapes)) {
    const fs::path p = e.path();
    const bool table = p.extension() == ".dbf" && !fs::exists(fs::path(p).replace_extension(".shp"));
    if (p.extension() != ".shp" && !table) continue;
    const std::string layer = p.stem().u8string();
    GDALDatasetUniquePtr shp = OpenVector(p);
    EXPECT_TRUE(shp) << p;
    if (!shp) continue;
    int found = 0;
    for (const auto& g : fs::directory_iterator(packages)) {
      const std::string file = g.path().filename().u8string();
      const bool project = projects.count(file) > 0;
      const bool inProject = p.parent_path() != shapes;
      if (g.path().extension() != ".gpkg" || project != inProject ||
          (inProject && file != p.parent_path().filename().u8string() + ".gpkg")) {
        continue;
      }
      GDALDatasetUniquePtr gpkg = OpenVector(g.path());
      OGRLayer* match = gpkg ? gpkg->GetLayerByName(layer.c_str()) : nullptr;
      if (!match) continue;
      ++found;
      ExpectSameLayer(*shp->GetLayer(0), *match);
    }
    EXPECT_EQ(found, 1) << p;
    ++compared;
  }
  return compared;
}

}  // namespace

class GeoPackageOutput : public EngineTest {
 protected:
  // Converts every file of `folder` into shapefiles and into GeoPackages
  // with the same settings; the number of results compared.
  int ConvertBothAndCompare(const fs::path& folder) {
    for (const char* out : {"shp", "gpkg"}) fs::create_directories(dir.Path() / out);
    files.SearchFolder(Wide(folder), true);
    options.OutputFormat = kFormatShapefile;
    RunBatch(Wide(dir.Path() / "shp"));
    files.ResetForBatch();
    options.OutputFormat = kFormatGeoPackage;
    RunBatch(Wide(dir.Path() / "gpkg"));
    return ExpectSameResults(dir.Path() / "shp", dir.Path() / "gpkg");
  }
};

TEST_F(GeoPackageOutput, DemoLayersHoldWhatTheShapefilesHold) {
  std::string error;
  ASSERT_TRUE(demo::GenerateDemoData(dir.Path() / "demo", &error)) << error;
  options.LibPath = Wide(dir.Path() / "demo");
  options.SymbolType = 3;
  options.ExportAnnotation = options.ExportPolyArc = options.ExportNetNode = 1;
  LoadColours();
  // Points, annotations, lines, polygons and arcs, networks and nodes, a
  // table, a project index (as the project's and the files' own results).
  EXPECT_EQ(ConvertBothAndCompare(dir.Path() / "demo"), 16);
}

TEST_F(GeoPackageOutput, RealSampleLayersHoldWhatTheShapefilesHold) {
  fs::copy(RealSamples(), dir.Path() / "real", fs::copy_options::recursive);
  options.LibPath = Wide(dir.Path() / "real" / "colour");
  options.SymbolType = 2;
  options.ExportProjection = 0;
  options.ExportAnnotation = 1;
  LoadColours();
  host.duplicateAnswer = ConvertHost::kRenameAll;
  EXPECT_GE(ConvertBothAndCompare(dir.Path() / "real"), 20);
}

// A table whose field names collide once cut to 10 bytes, with a 400-byte
// text, a date, a time and a timestamp: the GeoPackage keeps them whole.
TEST_F(GeoPackageOutput, NamesTextsAndDatesAreKeptWhole) {
  const std::string right = "\xB5\xE3\xC8\xA8\xCA\xF4\xD0\xD4\xD6\xCA";  // 点权属性质
  const std::string code = "\xB5\xE3\xC8\xA8\xCA\xF4\xB4\xFA\xC2\xEB";   // 点权属代码
  const std::vector<FieldDef> fields = {{right, 0, 1, 4, 4, 0},      {code, 0, 5, 400, 400, 0}, {"DAY", 6, 405, 4, 10, 0},
                                        {"CLOCK", 7, 409, 10, 10, 0}, {"STAMP", 16, 419, 16, 20, 0}};
  ByteBuilder row(435);
  row.U8(0, 1).Text(1, "abcd").Raw(5, std::string(400, 'w').data(), 400);
  row.I16(405, 2019).U8(407, 3).U8(408, 8).U8(409, 8).U8(410, 9).F64(411, 5.5);
  row.I16(419, 2020).I16(421, 1).I16(423, 2).I16(425, 3).I16(427, 4).I16(429, 5);
  LayerBuilder table(7);
  table.Section(0, AttributeSection(fields, 435, {row.Bytes()}));
  const std::wstring src = dir.Write("t.WB", table.Build());

  options.OutputFormat = kFormatGeoPackage;
  ASSERT_EQ(Convert(::ConvertTable, src, Wide(dir.Path() / "t")), 99999);
  EXPECT_TRUE(LogStartingWith("------W__").empty()) << "nothing is cut or renamed";
  EXPECT_TRUE(Logged("------I__输出属性文件[" + (dir.Path() / "t.gpkg").u8string() + "/t]"));
  GDALDatasetUniquePtr ds = OpenVector(dir.Path() / "t.gpkg");
  ASSERT_TRUE(ds);
  OGRLayer* layer = ds->GetLayerByName("t");
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->GetGeomType(), wkbNone);
  OGRFeatureDefn* defn = layer->GetLayerDefn();
  EXPECT_STREQ(defn->GetFieldDefn(0)->GetNameRef(), "点权属性质");
  EXPECT_STREQ(defn->GetFieldDefn(1)->GetNameRef(), "点权属代码");
  EXPECT_EQ(defn->GetFieldDefn(2)->GetType(), OFTDate);
  EXPECT_EQ(defn->GetFieldDefn(4)->GetType(), OFTDateTime);
  std::unique_ptr<OGRFeature> f(layer->GetNextFeature());
  ASSERT_TRUE(f);
  EXPECT_EQ(std::string(f->GetFieldAsString(1)), std::string(400, 'w'));
  EXPECT_STREQ(f->GetFieldAsString(2), "2019/03/08");
  EXPECT_STREQ(f->GetFieldAsString(3), "08:09:05");
  EXPECT_STREQ(f->GetFieldAsString(4), "2020/01/02 03:04:05");
}

// Styles given as .qml/.sld side files become the layer's default style in
// QGIS's table; an overwrite replaces a layer whole, its style included.
TEST_F(GeoPackageOutput, StylesAndOverwrittenLayers) {
  const fs::path file = dir.Path() / "s.gpkg";
  auto write = [&](bool replace, bool styled) {
    ResultStaging staging(replace);
    GeoPackageWriter out(staging, Wide(file / "roads"));
    EXPECT_TRUE(out.CreateTable(nullptr) && out.CreateShapes(ShapeKind::Point, nullptr));
    EXPECT_EQ(out.AddColumn("name", ColumnKind::Text, 10, 0, nullptr), 0);
    EXPECT_EQ(out.AddColumn("NAME", ColumnKind::Unsigned, 10, 0, nullptr), 1);  // SQLite ignores letter case
    if (styled) {
      EXPECT_TRUE(out.WriteSideFile(L".qml", "<qgis/>") && out.WriteSideFile(L".sld", "<sld/>"));
    }
    EXPECT_TRUE(out.WriteShape(nullptr) && out.WriteUnsigned(0, 1, 4000000000u));
    EXPECT_TRUE(out.Close());
    ConversionLog log(&host, 3);
    WriteFailure failure;
    EXPECT_TRUE(staging.Commit(log, &failure)) << MapGis::WideToUtf8(failure.reason);
  };
  auto styleRows = [&] {
    GDALDatasetUniquePtr ds = OpenVector(file);
    OGRLayer* styles = ds ? ds->GetLayerByName("layer_styles") : nullptr;
    std::vector<std::string> rows;
    if (!styles) return rows;
    for (auto& f : *styles) {
      std::string row;
      for (const char* column : {"f_table_name", "f_geometry_column", "styleQML", "styleSLD", "useAsDefault"}) {
        row += std::string(row.empty() ? "" : "|") + f->GetFieldAsString(column);
      }
      rows.push_back(row);
    }
    return rows;
  };
  write(false, true);
  EXPECT_EQ(styleRows(), std::vector<std::string>{"roads|geom|<qgis/>|<sld/>|1"});
  {
    GDALDatasetUniquePtr ds = OpenVector(file);
    std::unique_ptr<OGRFeature> f(ds->GetLayerByName("roads")->GetNextFeature());
    EXPECT_STREQ(f->GetDefnRef()->GetFieldDefn(1)->GetNameRef(), "NAME1");
    EXPECT_EQ(f->GetFieldAsInteger64(1), 4000000000LL);
  }
  EXPECT_TRUE(ResultExists(Wide(file / "ROADS")));
  EXPECT_FALSE(ResultExists(Wide(file / "rivers")));

  write(true, false);
  EXPECT_TRUE(styleRows().empty());
  EXPECT_TRUE(Logged("------I__删除原结果文件[" + (file / "layer_styles" / "roads").u8string() + "]"));
  GDALDatasetUniquePtr ds = OpenVector(file);
  EXPECT_EQ(ds->GetLayerByName("roads")->GetFeatureCount(), 1);
}

// Layer names clash as files do: "rename" gives the _L0 names, "skip" leaves
// the layer, a project's layers go into the project's GeoPackage.
TEST_F(GeoPackageOutput, LayerClashesFollowThePolicy) {
  std::string error;
  ASSERT_TRUE(demo::GenerateDemoData(dir.Path() / "demo", &error)) << error;
  options.OutputFormat = kFormatGeoPackage;
  files.AddPath(Wide(dir.Path() / "demo" / "roads.WL"));
  files.AddPath(Wide(dir.Path() / "demo" / "demo.MPJ"));
  const std::wstring out = Wide(dir.Path() / "all.gpkg");
  EXPECT_EQ(RunBatch(out).done, 6);
  host.duplicateAnswer = ConvertHost::kSkipThis;
  files.ResetForBatch();
  EXPECT_EQ(RunBatch(out).skipped, 6);
  EXPECT_EQ(MapGis::WideToUtf8(host.asked.at(0)), (dir.Path() / "all.gpkg" / "roads").u8string());
  host.duplicateAnswer = ConvertHost::kRenameAll;
  files.ResetForBatch();
  EXPECT_EQ(RunBatch(out).done, 6);
  GDALDatasetUniquePtr ds = OpenVector(dir.Path() / "all.gpkg");
  ASSERT_TRUE(ds);
  std::set<std::string> layers;
  for (OGRLayer* layer : ds->GetLayers()) layers.insert(layer->GetName());
  for (const char* name : {"roads", "roads_L0", "roads_L1", "demo", "demo_CSV", "demo_M0", "demo_M0_CSV", "河流_L0"}) {
    EXPECT_TRUE(layers.count(name)) << name;
  }
}
