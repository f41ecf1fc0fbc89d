// Feature style strings of the driver's layers, from the colour library it
// finds for a file, and the EPSG authority of its spatial references.
#include <gtest/gtest.h>

#include <cpl_conv.h>
#include <ogr_featurestyle.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "DemoData.h"
#include "MapGis.h"
#include "OgrSupport.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string Hex(const MapGis::MapGis_ColorLib& library, long number) {
  const MapGis::RGBTRIPLE c = library.GetRGB(number);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.rgbtRed, c.rgbtGreen, c.rgbtBlue);
  return text;
}

// The first part of a feature's style string, or null when it has none.
std::unique_ptr<OGRStyleTool> StyleOf(OGRFeature& f) {
  if (!f.GetStyleString()) return nullptr;
  OGRStyleMgr manager;
  manager.InitStyleString(f.GetStyleString());
  return std::unique_ptr<OGRStyleTool>(manager.GetPart(0));
}

class PluginStyles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(demo::GenerateDemoData(dir.Path() / "demo", &error)) << error;
    ASSERT_GT(demo_.LoadColors(testing_support::Wide(dir.Path() / "demo" / "Pcolor.lib").c_str()), 0);
  }

  ogrtest::Dataset Open(const fs::path& path, const char* colourLib = nullptr) {
    ogrtest::LoadDriver();
    const std::string option = colourLib ? std::string("COLOR_LIB=") + colourLib : std::string();
    const char* options[] = {colourLib ? option.c_str() : nullptr, nullptr};
    const char* drivers[] = {"MAPGIS", nullptr};
    return ogrtest::Dataset(static_cast<GDALDataset*>(
        GDALOpenEx(path.u8string().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, options, nullptr)));
  }

  // The pen colour of the first road read from `path`, "" without a style.
  std::string FirstPen(const fs::path& path, const char* colourLib = nullptr) {
    ogrtest::Dataset ds = Open(path, colourLib);
    EXPECT_TRUE(ds) << path;
    if (!ds) return "";
    std::unique_ptr<OGRFeature> f(ds->GetLayer(0)->GetNextFeature());
    const auto tool = f ? StyleOf(*f) : nullptr;
    if (!tool || tool->GetType() != OGRSTCPen) return "";
    GBool unset = FALSE;
    return static_cast<OGRStylePen*>(tool.get())->Color(unset);
  }

  testing_support::TempDir dir;
  MapGis::MapGis_ColorLib demo_;
};

}  // namespace

TEST_F(PluginStyles, EveryFeatureCarriesTheLookOfItsStyleValues) {
  int checked = 0;
  for (const char* file : {"landuse.WP", "roads.WL", "地名注记.WT", "pipes.WN"}) {
    ogrtest::Dataset ds = Open(dir.Path() / "demo" / fs::u8path(file));
    ASSERT_TRUE(ds) << file;
    for (OGRLayer* layer : ds->GetLayers()) {
      SCOPED_TRACE(layer->GetName());
      // The projection record is EPSG's Xian 1980 / 3-degree Gauss-Kruger zone 39.
      ASSERT_TRUE(layer->GetSpatialRef());
      EXPECT_STREQ(layer->GetSpatialRef()->GetAuthorityName(nullptr), "EPSG");
      EXPECT_STREQ(layer->GetSpatialRef()->GetAuthorityCode(nullptr), "2363");
      for (auto& f : *layer) {
        const auto tool = StyleOf(*f);
        GBool unset = FALSE;
        if (f->GetFieldIndex("VKT_RCOLR") >= 0) {
          ASSERT_TRUE(tool && tool->GetType() == OGRSTCBrush);
          auto* brush = static_cast<OGRStyleBrush*>(tool.get());
          // A hatch is drawn in the pattern colour over the fill colour.
          const bool hatched = f->GetFieldAsInteger("VKT_PATNO") != 0;
          const std::string fill = hatched ? brush->BackColor(unset) : brush->ForeColor(unset);
          EXPECT_EQ(fill.substr(0, 7), Hex(demo_, f->GetFieldAsInteger("VKT_RCOLR")));
          if (hatched) {
            EXPECT_STREQ(brush->ForeColor(unset), Hex(demo_, f->GetFieldAsInteger("VKT_PCOLR")).c_str());
          }
        } else if (f->GetFieldIndex("VKT_LCOLR") >= 0) {
          ASSERT_TRUE(tool && tool->GetType() == OGRSTCPen);
          auto* pen = static_cast<OGRStylePen*>(tool.get());
          EXPECT_STREQ(pen->Color(unset), Hex(demo_, f->GetFieldAsInteger("VKT_LCOLR")).c_str());
          pen->SetUnit(OGRSTUMM);
          EXPECT_NEAR(pen->Width(unset), f->GetFieldAsDouble("VKT_LWIDH"), 1e-6);
        } else if (f->GetFieldIndex("VKT_PTYPE") >= 0 && f->GetFieldAsInteger("VKT_PTYPE") != 1) {
          // Annotations are labels showing their text as MapGIS does.
          ASSERT_TRUE(tool && tool->GetType() == OGRSTCLabel);
          auto* label = static_cast<OGRStyleLabel*>(tool.get());
          EXPECT_STREQ(label->ForeColor(unset), Hex(demo_, f->GetFieldAsInteger("VKT_SCOLR")).c_str());
          const std::string text = label->TextString(unset);
          EXPECT_EQ(text.find("#+"), std::string::npos) << text;
          EXPECT_FALSE(text.empty());
        } else if (f->IsFieldSetAndNotNull(f->GetFieldIndex("VKT_SCOLR"))) {
          ASSERT_TRUE(tool && tool->GetType() == OGRSTCSymbol);
          EXPECT_STREQ(static_cast<OGRStyleSymbol*>(tool.get())->Color(unset),
                       Hex(demo_, f->GetFieldAsInteger("VKT_SCOLR")).c_str());
        } else {
          // A network node that is no sub-picture has no look of its own.
          EXPECT_FALSE(tool) << f->GetStyleString();
        }
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 30);
}

TEST_F(PluginStyles, TheColourLibraryIsFoundWhereMapGisProjectsKeepIt) {
  // A road layer two folders down, without a library anywhere near.
  const fs::path project = dir.Path() / "project";
  const fs::path roads = project / "maps" / "roads.WL";
  fs::create_directories(roads.parent_path());
  fs::copy_file(dir.Path() / "demo" / "roads.WL", roads);
  EXPECT_EQ(FirstPen(roads), "");

  // The real library has other colours than the demo's.
  const fs::path real = testing_support::RealSamples() / "colour" / "Pcolor.lib";
  MapGis::MapGis_ColorLib other;
  ASSERT_GT(other.LoadColors(testing_support::Wide(real).c_str()), 0);
  ogrtest::Dataset plain = Open(dir.Path() / "demo" / "roads.WL");
  std::unique_ptr<OGRFeature> first(plain->GetLayer(0)->GetNextFeature());
  const long colour = first->GetFieldAsInteger("VKT_LCOLR");
  ASSERT_NE(Hex(demo_, colour), Hex(other, colour));

  // In any letter case: beside the file, in its slib folder, in the slib
  // folder beside its folder; the nearest wins.
  fs::create_directories(project / "slib");
  fs::copy_file(real, project / "slib" / "PCOLOR.LIB");
  EXPECT_EQ(FirstPen(roads), Hex(other, colour));
  fs::create_directories(project / "maps" / "slib");
  fs::copy_file(dir.Path() / "demo" / "Pcolor.lib", project / "maps" / "slib" / "pcolor.lib");
  EXPECT_EQ(FirstPen(roads), Hex(demo_, colour));

  // The configuration option comes before them, the open option before all.
  CPLSetConfigOption("MAPGIS_COLOR_LIB", real.u8string().c_str());
  EXPECT_EQ(FirstPen(roads), Hex(other, colour));
  const std::string demoLib = (dir.Path() / "demo" / "Pcolor.lib").u8string();
  EXPECT_EQ(FirstPen(roads, demoLib.c_str()), Hex(demo_, colour));
  CPLSetConfigOption("MAPGIS_COLOR_LIB", nullptr);

  // A library that cannot be read gives no style strings.
  const fs::path broken = dir.Path() / "broken.lib";
  fs::copy_file(roads, broken);
  EXPECT_EQ(FirstPen(roads, broken.u8string().c_str()), "");
}
