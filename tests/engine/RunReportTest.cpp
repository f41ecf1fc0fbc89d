// The run report of a batch: every entry with its layers' counts, the files
// put in place, its log lines as items with stable codes, and the polygons
// that are not valid with their indexes.
#include <cstdlib>
#include <memory>

#include "EngineFixture.h"
#include "MapGis.h"

using namespace MapGis;
using testing_support::Wide;

namespace {

using GeometryPtr = std::unique_ptr<Geometry, void (*)(Geometry*)>;

GeometryPtr Ring(const std::vector<std::pair<double, double>>& xy) {
  GeometryPtr g(CreateGeometry(), DestroyGeometry);
  const size_t n = xy.size();
  g->nSHPType = 5;
  g->nParts = 1;
  g->nVertices = static_cast<int32_t>(n);
  g->panPartStart = static_cast<int32_t*>(std::calloc(2, sizeof(int32_t)));
  g->panPartType = static_cast<int32_t*>(std::calloc(2, sizeof(int32_t)));
  g->padfX = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfY = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->panPartType[0] = 5;
  for (size_t i = 0; i < n; ++i) {
    g->padfX[i] = xy[i].first;
    g->padfY[i] = xy[i].second;
  }
  return g;
}

// Three polygons; the second is a bow tie whose ring crosses itself at (5, 5).
void WritePolygons(const std::wstring& path) {
  MapGis_Writer w;
  ASSERT_EQ(w.Create(path.c_str(), MAPGIS_TYPE_POLYGON), MAPGIS_OK);
  ASSERT_GE(w.AddFieldInfo(L"ID", MAPGIS_FIELD_LONG, 4, 8, 0), 1);
  const std::vector<std::vector<std::pair<double, double>>> rings = {
      {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}},
      {{20, 0}, {30, 10}, {30, 0}, {20, 10}, {20, 0}},
      {{40, 0}, {40, 10}, {50, 10}, {50, 0}, {40, 0}},
  };
  for (size_t i = 0; i < rings.size(); ++i) {
    MAPGIS_RegInfo info{};
    info.status = 1;
    ASSERT_EQ(w.AddPolygonInfo(info, Ring(rings[i]).get()), MAPGIS_OK);
    w.WriteLongAttribute(static_cast<int>(i), 0, static_cast<long>(i + 1));
  }
  ASSERT_EQ(w.Flush(), MAPGIS_OK);
}

}  // namespace

TEST_F(EngineTest, TheRunReportHoldsEveryEntryWithItsCountsFilesAndItems) {
  WritePolygons(Wide(dir.File("parcels.WP")));
  files.AddFile(Wide(dir.File("parcels.WP")));
  files.AddFile(Wide(dir.File("gone.WL")));
  std::filesystem::create_directories(dir.File("out"));
  options.ExportProjection = 0;
  options.ExportPolyArc = 1;
  options.OutPath = Wide(dir.File("out"));

  for (int jobs : {1, 2}) {
    RunReport report;
    BatchRunner batch(options, files, colours, &host, &host);
    batch.SetJobs(jobs);
    batch.SetReport(&report);
    host.duplicateAnswer = ConvertHost::kOverwriteAll;
    const BatchSummary sum = batch.ConvertAllFiles();
    ASSERT_EQ(report.entries.size(), 2u);
    EXPECT_EQ(report.done, sum.done);
    EXPECT_EQ(report.failed, sum.failed);
    EXPECT_EQ(report.missing, 1);

    const EntryReport& parcels = report.entries[0];
    EXPECT_EQ(parcels.kind, "polygon");
    EXPECT_EQ(parcels.result, "done");
    ASSERT_EQ(parcels.layers.size(), 2u);  // the polygons and their arcs
    const LayerReport& polygons = parcels.layers[0];
    EXPECT_EQ(polygons.converter, "polygons");
    EXPECT_EQ(polygons.liveCount, 3);
    EXPECT_EQ(polygons.written, 3);
    EXPECT_EQ(polygons.encoding, "UTF-8");
    EXPECT_EQ(polygons.spatialReference, "none");
    ASSERT_EQ(polygons.invalidCount, 1);
    EXPECT_EQ(polygons.invalid[0].index, 1);
    EXPECT_NEAR(polygons.invalid[0].x, 25.0, 1e-9);
    EXPECT_NEAR(polygons.invalid[0].y, 5.0, 1e-9);
    // The arcs have no attribute table of their own: the companion fails, the polygons stay.
    EXPECT_EQ(parcels.layers[1].converter, "polygon_arcs");
    EXPECT_EQ(parcels.layers[1].status, MAPGIS_NO_TABLE);
    // The files put in place, and what GDAL reads from them.
    EXPECT_EQ(parcels.files.size(), 4u);  // .shp .shx .dbf .cpg
    EXPECT_EQ(ReadWithOgr(dir.File("out/parcels.shp").string()).features.size(), 3u);
    bool started = false, closed = false;
    for (const LogItem& item : parcels.items) {
      started = started || item.code == "conversion_started";
      closed = closed || item.code == "conversion_done";
    }
    EXPECT_TRUE(started && closed);

    const EntryReport& gone = report.entries[1];
    EXPECT_EQ(gone.result, "missing");
    EXPECT_EQ(gone.items.front().code, "source_missing");
    EXPECT_EQ(report.items.back().code, "summary");
  }
}

TEST(RunReport, LogLinesGetLevelsAndStableCodes) {
  const LogItem dup = ClassifyLogLine(L">------W__[名称]字段名重复，输出为[名称1]");
  EXPECT_EQ(dup.level, 'W');
  EXPECT_EQ(dup.code, "field_name_duplicate");
  EXPECT_EQ(dup.message, L"------W__[名称]字段名重复，输出为[名称1]");
  EXPECT_EQ(ClassifyLogLine(L">------E__待转换文件无投影信息").code, "no_projection");
  EXPECT_EQ(ClassifyLogLine(L">------W__第[3]行第[2]列的值超出字段宽度，未能完整写入").code, "value_truncated");
  EXPECT_EQ(ClassifyLogLine(L">----结束转换[原文件错误-文件写入失败]").level, ' ');
  EXPECT_EQ(ClassifyLogLine(L">------F__第[7]号图元信息错误，已跳过").code, "record_unreadable");
  EXPECT_EQ(ClassifyLogLine(L">------W__something new").code, "warning");
  // A message that holds another's text keeps its own code.
  EXPECT_EQ(ClassifyLogLine(L">------I__结果中无图示参数，未输出样式文件").code, "style_not_written");
  EXPECT_EQ(ClassifyLogLine(L">------I__输出样式文件[/o/a.qml]").code, "style_written");
  EXPECT_EQ(ClassifyLogLine(L">------I__投影文件采用EPSG:2363坐标系[Xian 1980]").code, "projection_epsg");
}
