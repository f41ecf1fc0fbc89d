// The driver as GDAL and its tools see it: registration, layers of each
// kind, field types, spatial reference, random reads, and corrupt files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "DemoData.h"
#include "MapGis.h"
#include "OgrSupport.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::RealSamples;

// Runs a command with the plugin folder in GDAL_DRIVER_PATH; output and exit status.
std::string RunCommand(const std::string& command, int* status) {
  ogrtest::LoadDriver();
  std::string out;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) {
    *status = -1;
    return out;
  }
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  *status = pclose(p);
  return out;
}

std::string Quote(const fs::path& p) { return "'" + p.u8string() + "'"; }

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

class DriverTest : public ::testing::Test {
 protected:
  // A real sample copied into the test's folder.
  fs::path Copy(const std::string& relative) { return fs::u8path(MapGis::WideToUtf8(dir.CopySample(relative))); }
  testing_support::TempDir dir;
};

TEST_F(DriverTest, OgrinfoListsTheDriverAndReadsEverySampleKind) {
#ifdef __SANITIZE_ADDRESS__
  // The system's ogrinfo cannot load a plugin built with AddressSanitizer.
  GTEST_SKIP() << "ogrinfo runs only against the plugin of an uninstrumented build";
#endif
  int status = 0;
  const std::string formats = RunCommand(std::string(GRIDMOOR_OGRINFO) + " --formats", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(formats.find("MAPGIS -vector- (ro)"), std::string::npos) << formats;

  // Every kind: project (4 layers), polygons (+ arcs), points, lines, tables.
  const struct {
    const char* sample;
    size_t layers;
  } samples[] = {{"jz-project/i486732jz1.MPJ", 4}, {"frame/图框.WP", 2}, {"frame/图例.WT", 1},
                 {"frame/YZT-SLH.WL", 1},          {"tables/区.WB", 1},  {"tables/点.WB", 1}};
  for (const auto& s : samples) {
    // The project's layers are found next to it: copy the whole folder.
    fs::copy(RealSamples() / fs::u8path(s.sample).parent_path(), dir.Path() / fs::u8path(s.sample).parent_path(),
             fs::copy_options::skip_existing | fs::copy_options::recursive);
    const std::string out = RunCommand(std::string(GRIDMOOR_OGRINFO) + " -ro -al " + Quote(dir.Path() / fs::u8path(s.sample)), &status);
    EXPECT_EQ(status, 0) << s.sample << "\n" << out;
    EXPECT_NE(out.find("using driver `MAPGIS' successful"), std::string::npos) << s.sample;
    EXPECT_EQ(Count(out, "Layer name: "), s.layers) << s.sample;
    EXPECT_GT(Count(out, "OGRFeature("), 0u) << s.sample;
  }

  // A file whose magic is not that of a MapGIS 6 layer is left to other drivers.
  fs::copy(RealSamples() / "unsupported", dir.Path() / "unsupported", fs::copy_options::recursive);
  const std::string refused = RunCommand(std::string(GRIDMOOR_OGRINFO) + " -ro -al " + Quote(dir.Path() / "unsupported/Fram_1.wt"), &status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(refused.find("using driver `MAPGIS'"), std::string::npos) << refused;
}

TEST_F(DriverTest, RefusesUpdateAndOpensReadOnly) {
  const fs::path wt = Copy("frame/图例.WT");
  ogrtest::LoadDriver();
  const char* drivers[] = {"MAPGIS", nullptr};
  CPLPushErrorHandler(CPLQuietErrorHandler);
  GDALDatasetH update = GDALOpenEx(wt.u8string().c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, drivers, nullptr, nullptr);
  CPLPopErrorHandler();
  EXPECT_EQ(update, nullptr);
  EXPECT_NE(std::string(CPLGetLastErrorMsg()).find("read-only"), std::string::npos) << CPLGetLastErrorMsg();

  ogrtest::Dataset ds = ogrtest::OpenVector(wt, "MAPGIS");
  ASSERT_TRUE(ds);
  OGRLayer* layer = ds->GetLayer(0);
  EXPECT_FALSE(layer->TestCapability(OLCSequentialWrite));
  EXPECT_TRUE(layer->TestCapability(OLCStringsAsUTF8));
  EXPECT_TRUE(layer->TestCapability(OLCRandomRead));
}

TEST_F(DriverTest, LayersOfPolygonNetworkAndProjectFiles) {
  // A polygon file: the polygons and their arcs with left and right polygons.
  ogrtest::Dataset wp = ogrtest::OpenVector(Copy("frame/图框.WP"), "MAPGIS");
  ASSERT_TRUE(wp);
  ASSERT_EQ(wp->GetLayerCount(), 2);
  EXPECT_STREQ(wp->GetLayer(0)->GetName(), "图框");
  EXPECT_EQ(wp->GetLayer(0)->GetGeomType(), wkbPolygon);
  EXPECT_STREQ(wp->GetLayer(1)->GetName(), "图框_arc");
  EXPECT_EQ(wp->GetLayer(1)->GetGeomType(), wkbLineString);
  EXPECT_GE(wp->GetLayer(1)->GetLayerDefn()->GetFieldIndex("VKT_LPOY"), 0);
  // The polygon with a hole: an exterior ring and one interior ring, both closed.
  OGRLayer* polygons = wp->GetLayer(0);
  polygons->ResetReading();
  std::unique_ptr<OGRFeature> f(polygons->GetNextFeature());
  ASSERT_TRUE(f);
  const OGRGeometry* g = f->GetGeometryRef();
  ASSERT_NE(g, nullptr);
  ASSERT_EQ(wkbFlatten(g->getGeometryType()), wkbPolygon);
  const OGRPolygon* polygon = g->toPolygon();
  ASSERT_EQ(polygon->getNumInteriorRings(), 1);
  EXPECT_TRUE(polygon->getExteriorRing()->get_IsClosed());
  EXPECT_TRUE(polygon->getInteriorRing(0)->get_IsClosed());
  EXPECT_TRUE(polygon->getExteriorRing()->isClockwise());
  EXPECT_FALSE(polygon->getInteriorRing(0)->isClockwise());

  // The spatial reference of the record: Gauss-Kruger on Beijing 1954, meridian 105.
  const OGRSpatialReference* srs = polygons->GetSpatialRef();
  ASSERT_NE(srs, nullptr);
  EXPECT_TRUE(srs->IsProjected());
  EXPECT_DOUBLE_EQ(srs->GetProjParm(SRS_PP_CENTRAL_MERIDIAN), 105.0);

  // A project: its layers, names resolved from ".\JZ.WT" and made unique.
  fs::copy(RealSamples() / "jz-project", dir.Path() / "jz", fs::copy_options::recursive);
  ogrtest::Dataset mpj = ogrtest::OpenVector(dir.Path() / "jz/i486732jz1.MPJ", "MAPGIS");
  ASSERT_TRUE(mpj);
  std::vector<std::string> names;
  for (int i = 0; i < mpj->GetLayerCount(); ++i) names.push_back(mpj->GetLayer(i)->GetName());
  EXPECT_EQ(names, (std::vector<std::string>{"JZ", "I486732TK", "I486732TK_WT", "JZ_WL"}));
  EXPECT_EQ(mpj->GetLayer(0)->GetSpatialRef(), nullptr);  // coordType 0: coordinates as stored

  // A project whose item is missing opens with the layers that exist.
  CPLPushErrorHandler(CPLQuietErrorHandler);
  ogrtest::Dataset missing = ogrtest::OpenVector(dir.Path() / "jz/i486732jz.MPJ", "MAPGIS");
  CPLPopErrorHandler();
  ASSERT_TRUE(missing);
  for (int i = 0; i < missing->GetLayerCount(); ++i) EXPECT_STRNE(missing->GetLayer(i)->GetName(), "JZ2");

  // A network: arcs and nodes.
  testing_support::TempDir demoDir;
  std::string error;
  ASSERT_TRUE(demo::GenerateDemoData(demoDir.Path(), &error)) << error;
  ogrtest::Dataset wn = ogrtest::OpenVector(demoDir.Path() / "pipes.WN", "MAPGIS");
  ASSERT_TRUE(wn);
  ASSERT_EQ(wn->GetLayerCount(), 2);
  EXPECT_EQ(wn->GetLayer(0)->GetGeomType(), wkbLineString);
  EXPECT_EQ(wn->GetLayer(1)->GetGeomType(), wkbPoint);
  EXPECT_GT(wn->GetLayer(1)->GetFeatureCount(), 0);
}

TEST_F(DriverTest, FieldTypesFollowTheConverterWithDateTypes) {
  testing_support::TempDir demoDir;
  std::string error;
  ASSERT_TRUE(demo::GenerateDemoData(demoDir.Path(), &error)) << error;
  ogrtest::Dataset wb = ogrtest::OpenVector(demoDir.Path() / "parcels.WB", "MAPGIS");
  ASSERT_TRUE(wb);
  OGRLayer* table = wb->GetLayer(0);
  EXPECT_EQ(table->GetGeomType(), wkbNone);
  std::vector<OGRFieldType> types;
  for (int i = 0; i < table->GetLayerDefn()->GetFieldCount(); ++i) types.push_back(table->GetLayerDefn()->GetFieldDefn(i)->GetType());
  for (OGRFieldType t : {OFTString, OFTInteger, OFTReal, OFTDate, OFTTime, OFTDateTime, OFTBinary}) {
    EXPECT_NE(std::find(types.begin(), types.end(), t), types.end()) << OGRFieldDefn::GetFieldTypeName(t);
  }

  // Annotation text as UTF-8.
  ogrtest::Dataset wt = ogrtest::OpenVector(Copy("frame/图例.WT"), "MAPGIS");
  ASSERT_TRUE(wt);
  std::unique_ptr<OGRFeature> note(wt->GetLayer(0)->GetFeature(2));
  ASSERT_TRUE(note);
  EXPECT_STREQ(note->GetFieldAsString("VKT_TEXT"), "礼县土地利用图");
  EXPECT_EQ(note->GetFieldAsInteger("VKT_PTYPE"), 0);
}

TEST_F(DriverTest, CountsExtentsAndRandomReadsOfAnUncompactedFile) {
  // 129 live lines in 188 slots.
  ogrtest::Dataset wl = ogrtest::OpenVector(Copy("frame/YZT-SLH.WL"), "MAPGIS");
  ASSERT_TRUE(wl);
  OGRLayer* layer = wl->GetLayer(0);
  EXPECT_TRUE(layer->TestCapability(OLCFastFeatureCount));
  EXPECT_EQ(layer->GetFeatureCount(FALSE), 129);

  std::vector<GIntBig> fids;
  OGREnvelope all;
  layer->ResetReading();
  for (std::unique_ptr<OGRFeature> f(layer->GetNextFeature()); f; f.reset(layer->GetNextFeature())) {
    fids.push_back(f->GetFID());
    OGREnvelope e;
    f->GetGeometryRef()->getEnvelope(&e);
    all.Merge(e);
    // The same feature by its id.
    std::unique_ptr<OGRFeature> again(layer->GetFeature(f->GetFID()));
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->Equal(f.get())) << f->GetFID();
  }
  ASSERT_EQ(fids.size(), 129u);
  EXPECT_TRUE(std::is_sorted(fids.begin(), fids.end()));
  // Deleted slots and ids outside the table give no feature.
  for (GIntBig fid = 1; fid <= 188; ++fid) {
    if (std::find(fids.begin(), fids.end(), fid) != fids.end()) continue;
    std::unique_ptr<OGRFeature> gap(layer->GetFeature(fid));
    EXPECT_FALSE(gap) << fid;
  }
  EXPECT_EQ(layer->GetFeature(0), nullptr);
  EXPECT_EQ(layer->GetFeature(189), nullptr);
  EXPECT_EQ(layer->GetFeature(-5), nullptr);

  // The extent from the header covers every feature.
  OGREnvelope extent;
  ASSERT_EQ(layer->GetExtent(&extent, FALSE), OGRERR_NONE);
  EXPECT_TRUE(extent.Contains(all)) << extent.MinX << " " << all.MinX;

  // An attribute filter counts by reading.
  layer->SetAttributeFilter("FID <= 10");
  EXPECT_FALSE(layer->TestCapability(OLCFastFeatureCount));
  EXPECT_EQ(layer->GetFeatureCount(TRUE),
            static_cast<GIntBig>(std::count_if(fids.begin(), fids.end(), [](GIntBig id) { return id <= 10; })));
}

TEST_F(DriverTest, ProjectItemsThatAreNotRegularFilesAreSkipped) {
  // The demo project with its polygon layer replaced by a named pipe: the
  // open must not wait for a writer that never comes.
  std::string error;
  ASSERT_TRUE(demo::GenerateDemoData(dir.Path(), &error)) << error;
  const fs::path pipe = dir.Path() / "landuse.WP";
  fs::remove(pipe);
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::promise<int> layers;
  std::future<int> opened = layers.get_future();
  std::thread([layers = std::move(layers), project = dir.Path() / "demo.MPJ"]() mutable {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    ogrtest::Dataset ds = ogrtest::OpenVector(project, "MAPGIS");
    CPLPopErrorHandler();
    layers.set_value(ds ? ds->GetLayerCount() : -1);
  }).detach();
  if (opened.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    ADD_FAILURE() << "opening the project waits on the pipe";
    close(open(pipe.c_str(), O_WRONLY | O_NONBLOCK));  // an end of file for the waiting open
    opened.wait();
  }
  EXPECT_EQ(opened.get(), 3);
}

// Warnings GDAL reported while one object lives.
class CollectedWarnings {
 public:
  CollectedWarnings() { CPLPushErrorHandlerEx(Collect, &messages_); }
  ~CollectedWarnings() { CPLPopErrorHandler(); }
  bool Contains(const std::string& text) const {
    return std::any_of(messages_.begin(), messages_.end(),
                       [&](const std::string& m) { return m.find(text) != std::string::npos; });
  }

 private:
  static void CPL_STDCALL Collect(CPLErr, CPLErrorNum, const char* message) {
    static_cast<std::vector<std::string>*>(CPLGetErrorHandlerUserData())->push_back(message);
  }
  std::vector<std::string> messages_;
};

// Every feature of a layer read in sequence.
std::vector<GIntBig> ReadIds(OGRLayer* layer) {
  std::vector<GIntBig> ids;
  layer->ResetReading();
  for (std::unique_ptr<OGRFeature> f(layer->GetNextFeature()); f; f.reset(layer->GetNextFeature())) {
    ids.push_back(f->GetFID());
  }
  return ids;
}

TEST_F(DriverTest, CountsFollowTheRecordsNotADamagedHeader) {
  // A slot count of two billion in 3 KB (a kept crasher): only the slots the
  // file can hold are read, with one warning saying so.
  std::vector<uint8_t> bytes = testing_support::ReadAll(fs::path(__FILE__).parent_path().parent_path() / "data" /
                                                        "crashers" / "convert-line-slot-count-beyond-file.bin");
  ASSERT_GT(bytes.size(), 1000u);
  bytes.erase(bytes.begin(), bytes.begin() + 2);
  dir.Write("slots.WL", bytes);
  {
    CollectedWarnings warnings;
    ogrtest::Dataset ds = ogrtest::OpenVector(dir.File("slots.WL"), "MAPGIS");
    ASSERT_TRUE(ds);
    ASSERT_TRUE(warnings.Contains("names 2147483646 records, the file can hold " + std::to_string(bytes.size() / 40)));
    OGRLayer* layer = ds->GetLayer(0);
    const std::vector<GIntBig> ids = ReadIds(layer);
    EXPECT_EQ(layer->GetFeatureCount(FALSE), static_cast<GIntBig>(ids.size()));
    for (GIntBig id : ids) EXPECT_LE(id, static_cast<GIntBig>(bytes.size() / 40));
  }

  // A header whose live count says 0 (129 live lines of 188 slots): the
  // count is that of the records that read as features.
  bytes = testing_support::ReadAll(RealSamples() / "frame" / "YZT-SLH.WL");
  std::fill(bytes.begin() + 260, bytes.begin() + 264, uint8_t{0});
  dir.Write("zero.WL", bytes);
  ogrtest::Dataset ds = ogrtest::OpenVector(dir.File("zero.WL"), "MAPGIS");
  ASSERT_TRUE(ds);
  EXPECT_EQ(ds->GetLayer(0)->GetFeatureCount(FALSE), 129);
  EXPECT_EQ(ReadIds(ds->GetLayer(0)).size(), 129u);
}

// Reads everything a damaged file offers; never more features than it counts.
void ReadEverything(const fs::path& path) {
  CPLPushErrorHandler(CPLQuietErrorHandler);
  ogrtest::Dataset ds = ogrtest::OpenVector(path, "MAPGIS");
  if (ds) {
    for (int i = 0; i < ds->GetLayerCount(); ++i) {
      OGRLayer* layer = ds->GetLayer(i);
      const GIntBig count = layer->GetFeatureCount(FALSE);
      GIntBig read = 0;
      layer->ResetReading();
      for (std::unique_ptr<OGRFeature> f(layer->GetNextFeature()); f; f.reset(layer->GetNextFeature())) ++read;
      EXPECT_LE(read, count) << path;
      for (GIntBig fid = 0; fid < count + 3; ++fid) delete layer->GetFeature(fid);
      OGREnvelope e;
      if (layer->GetExtent(&e, TRUE) == OGRERR_NONE) {
        EXPECT_LE(e.MinX, e.MaxX) << path;
      }
    }
  }
  CPLPopErrorHandler();
}

TEST_F(DriverTest, DamagedFilesAreReadWithoutCrashing) {
  const char* samples[] = {"frame/图框.WP", "frame/图例.WT", "frame/YZT-SLH.WL", "tables/区.WB", "jz-project/JZ.WT"};
  int index = 0;
  for (const char* sample : samples) {
    const std::vector<uint8_t> bytes = testing_support::ReadAll(RealSamples() / fs::u8path(sample));
    ASSERT_GT(bytes.size(), 1000u);
    // Cut short at places inside the header, the directory and the sections.
    for (size_t cut : {size_t{12}, size_t{300}, size_t{700}, size_t{900}, bytes.size() / 2, bytes.size() - 7}) {
      const std::string name = "cut" + std::to_string(index++) + fs::u8path(sample).extension().string();
      dir.Write(name, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
      ReadEverything(dir.File(name));
    }
    // Garbled: every 97th byte past the magic replaced by 0xFF, then by 0x80.
    for (uint8_t fill : {uint8_t{0xFF}, uint8_t{0x80}}) {
      std::vector<uint8_t> garbled = bytes;
      for (size_t i = 8; i < garbled.size(); i += 97) garbled[i] = fill;
      const std::string name = "garbled" + std::to_string(index++) + fs::u8path(sample).extension().string();
      dir.Write(name, garbled);
      ReadEverything(dir.File(name));
    }
  }
  // A file holding only the magic does not open.
  dir.Write("magic.WT", {'W', 'M', 'A', 'P', '`', 'D', '2', '2'});
  CPLPushErrorHandler(CPLQuietErrorHandler);
  ogrtest::Dataset none = ogrtest::OpenVector(dir.File("magic.WT"), "MAPGIS");
  CPLPopErrorHandler();
  EXPECT_FALSE(none);
}

}  // namespace
