// Style files and EPSG systems of converted results: the classes of the
// .qml test the table as it was written (every feature meets one class, in
// every style mode and table encoding, with the look its values give), the
// files and log lines follow the settings, and the .prj names the EPSG
// system of a matching record.
#include <cpl_minixml.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "DemoData.h"
#include "EngineFixture.h"
#include "MapGisCodePage.h"
#include "ProjectWriter.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const char* Attr(const CPLXMLNode* n, const char* name) { return CPLGetXMLValue(n, name, ""); }

void Collect(const CPLXMLNode* n, const char* element, std::vector<const CPLXMLNode*>* out) {
  for (; n; n = n->psNext) {
    if (n->eType != CXT_Element) continue;
    if (EQUAL(n->pszValue, element)) out->push_back(n);
    Collect(n->psChild, element, out);
  }
}

// The look a feature gets from the .qml beside `shp`, feature by feature:
// the symbol of the one renderer rule it meets (without the symbol's name),
// or for a layer of labels only the colour, font, italic and orientation of
// its label rule. "" for a feature that meets no rule; a feature meeting
// two rules fails the test. Rules are evaluated by GDAL's SQLite dialect,
// which reads the filters QGIS reads.
std::map<long long, std::string> LooksOfFeatures(const fs::path& shp) {
  std::map<long long, std::string> looks;
  std::unique_ptr<CPLXMLNode, decltype(&CPLDestroyXMLNode)> qml(CPLParseXMLString(ReadText(fs::path(shp).replace_extension(".qml")).c_str()),
                                                                &CPLDestroyXMLNode);
  EXPECT_TRUE(qml) << shp;
  if (!qml) return looks;
  std::vector<const CPLXMLNode*> renderers, rules, symbols;
  Collect(qml.get(), "renderer-v2", &renderers);
  const bool labelsOnly = renderers.empty() || std::string(Attr(renderers[0], "type")) == "nullSymbol";
  if (labelsOnly) {
    std::vector<const CPLXMLNode*> labeling;
    Collect(qml.get(), "labeling", &labeling);
    if (!labeling.empty()) Collect(labeling[0]->psChild, "rule", &rules);
  } else {
    Collect(renderers[0]->psChild, "rule", &rules);
    Collect(renderers[0]->psChild, "symbol", &symbols);
  }
  std::unique_ptr<GDALDataset> ds(GDALDataset::Open(shp.c_str(), GDAL_OF_VECTOR));
  EXPECT_TRUE(ds) << shp;
  if (!ds) return looks;
  OGRLayer* layer = ds->GetLayer(0);
  for (auto& f : *layer) looks[f->GetFID()] = "";
  for (const CPLXMLNode* rule : rules) {
    std::string look;
    if (labelsOnly) {
      const CPLXMLNode* text = CPLGetXMLNode(const_cast<CPLXMLNode*>(rule), "settings.text-style");
      look = std::string(Attr(text, "textColor")) + "|" + Attr(text, "fontFamily") + "|" + Attr(text, "fontItalic") +
             "|" + Attr(text, "textOrientation");
    } else {
      for (const CPLXMLNode* s : symbols) {
        if (std::string(Attr(s, "name")) != Attr(rule, "symbol")) continue;
        std::unique_ptr<CPLXMLNode, decltype(&CPLDestroyXMLNode)> copy(CPLCloneXMLTree(s), &CPLDestroyXMLNode);
        CPLSetXMLValue(copy.get(), "#name", "");
        char* text = CPLSerializeXMLTree(copy.get());
        look = text;
        CPLFree(text);
      }
    }
    const std::string sql = "SELECT rowid FROM \"" + std::string(layer->GetName()) + "\" WHERE " + Attr(rule, "filter");
    OGRLayer* matched = ds->ExecuteSQL(sql.c_str(), nullptr, "SQLite");
    EXPECT_TRUE(matched) << sql;
    if (!matched) continue;
    for (auto& f : *matched) {
      const long long fid = f->GetFieldAsInteger64(0);
      EXPECT_EQ(looks[fid], "") << shp << ": feature " << fid << " meets two rules, the second " << sql;
      looks[fid] = look;
    }
    ds->ReleaseResultSet(matched);
  }
  return looks;
}

class StyleFiles : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    GDALAllRegister();
    std::string error;
    ASSERT_TRUE(demo::GenerateDemoData(dir.Path() / "demo", &error)) << error;
    options.LibPath = Source("");
    options.SymbolType = 2;
    ASSERT_EQ(LoadColours(), 1);
    ASSERT_GT(colours.GetColorNum(), 0);
    options.ExportProjection = 2;
  }
  std::wstring Source(const std::string& name) const { return testing_support::Wide(dir.Path() / "demo" / fs::u8path(name)); }
  std::wstring Base(const std::string& name) const { return testing_support::Wide(dir.Path() / fs::u8path(name)); }
  fs::path File(const std::string& name) const { return dir.Path() / fs::u8path(name); }
};

}  // namespace

TEST_F(StyleFiles, EveryFeatureMeetsOneClassWithItsLookInEveryModeAndEncoding) {
  const struct {
    Converter convert;
    const char* source;
    const char* name;
  } results[] = {
      {ConvertPolygons, "landuse.WP", "landuse"},     {ConvertPolygonArcs, "landuse.WP", "landuseC"},
      {ConvertLines, "roads.WL", "roads"},            {ConvertPoints, "地名注记.WT", "points"},
      {ConvertAnnotations, "地名注记.WT", "notes"},   {ConvertSubPictures, "地名注记.WT", "subs"},
      {ConvertNetworkArcs, "pipes.WN", "pipes"},      {ConvertNetworkNodes, "pipes.WN", "nodes"},
  };
  // The looks of the raw-parameter mode with UTF-8 tables are the reference;
  // GBK tables have other column names (cut at 10 bytes of GBK) and texts.
  std::map<std::string, std::map<long long, std::string>> reference;
  const std::pair<int, int> modesAndCodePages[] = {{2, 0}, {2, 1}, {1, 0}, {3, 0}, {3, 1}, {4, 1}};
  for (const auto& [mode, codePage] : modesAndCodePages) {
    options.SymbolType = mode;
    options.CodePage = codePage;
    // Geographic angles: annotation classes test the angle column.
    options.RotateType = mode == 3 || mode == 4 ? 1 : 0;
    for (const auto& r : results) {
      const std::string name = std::string(r.name) + std::to_string(mode) + std::to_string(codePage);
      SCOPED_TRACE(name);
      ASSERT_EQ(Convert(r.convert, Source(r.source), Base(name)), 99999);
      const auto looks = LooksOfFeatures(File(name + ".shp"));
      ASSERT_FALSE(looks.empty());
      int unstyled = 0;
      for (const auto& [fid, look] : looks) unstyled += look.empty();
      // Only network nodes that are no sub-picture (the circle) have no style values.
      EXPECT_EQ(unstyled, r.convert == ConvertNetworkNodes ? 1 : 0);
      auto& same = reference[r.name];
      if (same.empty()) {
        same = looks;
      } else {
        EXPECT_EQ(looks, same) << "looks differ from the raw-parameter mode";
      }
    }
  }
}

TEST_F(StyleFiles, WrittenWhenAskedWithOneLineEachAndNoOtherLog) {
  options.SymbolType = 2;
  ASSERT_EQ(Convert(ConvertPolygons, Source("landuse.WP"), Base("on")), 99999);
  EXPECT_TRUE(FileExists(File("on.qml")) && FileExists(File("on.sld")));
  EXPECT_TRUE(Logged("------I__输出样式文件[" + File("on").u8string() + ".qml]"));
  EXPECT_TRUE(Logged("------I__输出样式文件[" + File("on").u8string() + ".sld]"));

  host.lines.clear();
  options.ExportStyleFile = 0;
  ASSERT_EQ(Convert(ConvertPolygons, Source("landuse.WP"), Base("off")), 99999);
  EXPECT_FALSE(FileExists(File("off.qml")) || FileExists(File("off.sld")));
  for (const std::string& line : Log()) EXPECT_EQ(line.find("样式文件"), std::string::npos) << line;

  // No style values (mode 0), or values no class can test (the legend board
  // writes no codes): no style file, and a line says so.
  options.ExportStyleFile = 1;
  for (const int mode : {0, 5}) {
    host.lines.clear();
    options.SymbolType = mode;
    const std::string name = "none" + std::to_string(mode);
    ASSERT_EQ(Convert(ConvertPolygons, Source("landuse.WP"), Base(name)), 99999);
    EXPECT_FALSE(FileExists(File(name + ".qml")));
    EXPECT_EQ(LogStartingWith("------I__结果中无图示参数，未输出样式文件").size(), 1u);
  }

  // Without a colour library every colour is outside it: the legend mode
  // logs each lookup once, and building the styles logs none more.
  colours = MapGis::MapGis_ColorLib();
  options.SymbolType = 4;
  size_t errors[2] = {0, 0};
  for (const int style : {0, 1}) {
    host.lines.clear();
    options.ExportStyleFile = style;
    ASSERT_EQ(Convert(ConvertLines, Source("roads.WL"), Base("nolib" + std::to_string(style))), 99999);
    errors[style] = LogStartingWith("------E__").size();
  }
  EXPECT_GT(errors[0], 0u);
  EXPECT_EQ(errors[1], errors[0]);
}

TEST_F(StyleFiles, ThePrjNamesTheEpsgSystemUnlessTurnedOff) {
  // The demo: Gauss-Kruger on Xian 1980, central meridian 117, zone 39 in the eastings.
  for (const int projection : {1, 2}) {
    host.lines.clear();
    options.ExportProjection = projection;
    EntryReport report;
    const ColorModel colors(&colours, options.ColorModel);
    ConversionLog log(&host, options.LogLevel);
    const ConverterInputs in{options, colors, log, nullptr, nullptr, &report};
    const std::string name = "epsg" + std::to_string(projection);
    ASSERT_EQ(ConvertLines(in, Source("roads.WL"), Base(name)), 99999);
    // The system's own ESRI text, its false easting with the zone.
    const std::string prj = ReadText(File(name + ".prj"));
    EXPECT_EQ(prj.rfind("PROJCS[\"Xian_1980_3_Degree_GK_Zone_39\"", 0), 0u) << prj;
    OGRSpatialReference srs;
    ASSERT_EQ(srs.importFromWkt(prj.c_str()), OGRERR_NONE);
    EXPECT_DOUBLE_EQ(srs.GetProjParm(SRS_PP_FALSE_EASTING), 39500000.0);
    EXPECT_TRUE(Logged("------I__投影文件采用EPSG:2363坐标系[Xian 1980 / 3-degree Gauss-Kruger zone 39]"));
    ASSERT_EQ(report.layers.size(), 1u);
    EXPECT_EQ(report.layers[0].spatialReference, "EPSG:2363");
  }

  // PrjEpsg 0: the text of the record's parameters, as before.
  host.lines.clear();
  options.PrjEpsg = 0;
  ASSERT_EQ(Convert(ConvertLines, Source("roads.WL"), Base("plain")), 99999);
  MapGis::MapGis_FastReader reader;
  ASSERT_GE(reader.Open(Source("roads.WL").c_str()), 0);
  MapGis::MAP_PARAstruct para{};
  reader.GetProjectionInfo(&para);
  ProjectWriter::ConvertToMeters(&para);
  para.scale = 1.0;
  EXPECT_EQ(ReadText(File("plain.prj")), MapGis::WideToUtf8(ProjectWriter::TranslateProjection(&para).wkt));
  EXPECT_TRUE(LogStartingWith("------I__投影文件采用EPSG").empty());

  // A record whose eastings name another zone than its central meridian:
  // the text of its parameters and a warning.
  host.lines.clear();
  options.PrjEpsg = 1;
  para.centralMeridian = 1140000.0;
  MapGis::MapGis_Writer writer;
  ASSERT_EQ(writer.Create(Base("zone38.WL").c_str(), MapGis::MAPGIS_TYPE_LINE), MapGis::MAPGIS_OK);
  ASSERT_EQ(writer.WriteProjection(&para), MapGis::MAPGIS_OK);
  MapGis::MAPGIS_LineInfo line{};
  MapGis::Geometry* g = MapGis::CreateGeometry();
  ASSERT_EQ(reader.ReadArcInfo(0, &line, g), MapGis::MAPGIS_OK);
  ASSERT_EQ(writer.AddArcInfo(line, g, 0), MapGis::MAPGIS_OK);
  MapGis::DestroyGeometry(g);
  ASSERT_EQ(writer.Flush(), MapGis::MAPGIS_OK);
  writer.Close();
  ASSERT_EQ(Convert(ConvertLines, Base("zone38.WL"), Base("zone38")), 99999);
  EXPECT_EQ(ReadText(File("zone38.prj")), MapGis::WideToUtf8(ProjectWriter::TranslateProjection(&para).wkt));
  EXPECT_TRUE(Logged("------W__坐标横轴带号[39]与中央经线[114]不符，未匹配EPSG坐标系"));
}
