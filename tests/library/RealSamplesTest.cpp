// The real MapGIS files made by MapGIS users open and read as they should.
#include <gtest/gtest.h>

#include <string>

#include "MapGis.h"
#include "TempDir.h"

using namespace MapGis;
using testing_support::TempDir;

namespace {

struct Opened {
  TempDir dir;
  MapGis_FastReader reader;
  long status;
  explicit Opened(const std::string& sample) : status(reader.Open(dir.CopySample(sample).c_str())) {}
};

std::wstring FieldName(MapGis_FastReader& r, int i) {
  wchar_t name[32] = {0};
  r.GetFieldInfo(i, name, nullptr, nullptr, nullptr);
  return name;
}

}  // namespace

TEST(RealSamples, EveryLayerOpensExceptTheForeignOne) {
  const char* files[] = {"jz-project/I486732TK.WL", "jz-project/I486732TK.WT", "jz-project/JZ-FINAL.WL",
                         "jz-project/JZ.WL",        "jz-project/JZ.WT",        "frame/YZT-SLH.WL",
                         "frame/图例.WL",           "frame/图例.WT",           "frame/图框.WL",
                         "frame/图框.WP",           "tables/区.WB",            "tables/点.WB"};
  for (const char* f : files) {
    Opened o(f);
    EXPECT_EQ(o.status, MAPGIS_OK) << f;
  }
  Opened foreign("unsupported/Fram_1.wt");
  EXPECT_EQ(foreign.status, MAPGIS_NOT_MAPGIS_FILE);
}

TEST(RealSamples, AnnotationLayerHas95LivePointsAndTenFields) {
  Opened o("jz-project/JZ.WT");
  ASSERT_EQ(o.status, MAPGIS_OK);
  int slots = -1;
  EXPECT_EQ(o.reader.GetPointCount(&slots), 95);
  int live = 0, annotations = 0;
  for (int i = 0; i < slots; ++i) {
    MAPGIS_PntInfo info;
    Geometry* g = CreateGeometry();
    long st = o.reader.ReadPointInfo(i, &info, g);
    if (st == MAPGIS_OK) {
      ++live;
      if (info.kind == 0 || info.kind == 5) ++annotations;
      char text[260] = {0};
      EXPECT_EQ(o.reader.GetNoteInfo(i, text), MAPGIS_OK);
      EXPECT_GT(std::string(text).size(), 0u);
      EXPECT_EQ(g->nVertices, 1);
    } else {
      EXPECT_EQ(st, MAPGIS_DELETED);
    }
    DestroyGeometry(g);
  }
  EXPECT_EQ(live, 95);
  EXPECT_EQ(annotations, 95);
  ASSERT_EQ(o.reader.GetFieldCount(), 10);
  EXPECT_EQ(FieldName(o.reader, 0), L"ID");
  EXPECT_EQ(FieldName(o.reader, 1), L"点号");
  EXPECT_EQ(o.reader.GetFieldIndex(L"点状要素编码"), 9);
}

TEST(RealSamples, FramePolygonHasAHoleInsideItsOuterRing) {
  Opened o("frame/图框.WP");
  ASSERT_EQ(o.status, MAPGIS_OK);
  int slots = -1;
  EXPECT_EQ(o.reader.GetPolygonCount(&slots), 1);
  EXPECT_EQ(slots, 2);
  int live = 0;
  for (int i = 0; i < slots; ++i) {
    Geometry* g = CreateGeometry();
    long st = o.reader.ReadPolygonInfo(i, nullptr, g);
    if (st == MAPGIS_OK) {
      ++live;
      ASSERT_EQ(g->nParts, 2);
      const int32_t hole = g->panPartStart[1];
      double hx0 = 1e300, hx1 = -1e300, hy0 = 1e300, hy1 = -1e300;
      for (int32_t k = hole; k < g->nVertices; ++k) {
        hx0 = std::min(hx0, g->padfX[k]);
        hx1 = std::max(hx1, g->padfX[k]);
        hy0 = std::min(hy0, g->padfY[k]);
        hy1 = std::max(hy1, g->padfY[k]);
      }
      double ox0 = 1e300, ox1 = -1e300, oy0 = 1e300, oy1 = -1e300;
      for (int32_t k = 0; k < hole; ++k) {
        ox0 = std::min(ox0, g->padfX[k]);
        ox1 = std::max(ox1, g->padfX[k]);
        oy0 = std::min(oy0, g->padfY[k]);
        oy1 = std::max(oy1, g->padfY[k]);
      }
      EXPECT_GT(hx0, ox0);
      EXPECT_LT(hx1, ox1);
      EXPECT_GT(hy0, oy0);
      EXPECT_LT(hy1, oy1);
    }
    DestroyGeometry(g);
  }
  EXPECT_EQ(live, 1);
}

TEST(RealSamples, UncompactedLineFileReports129LiveLinesIn188Slots) {
  Opened o("frame/YZT-SLH.WL");
  ASSERT_EQ(o.status, MAPGIS_OK);
  int slots = -1;
  EXPECT_EQ(o.reader.GetArcCount(&slots), 129);
  EXPECT_EQ(slots, 188);
  int live = 0;
  for (int i = 0; i < slots; ++i) {
    Geometry* g = CreateGeometry();
    if (o.reader.ReadArcInfo(i, nullptr, g) == MAPGIS_OK) {
      ++live;
      EXPECT_GE(g->nVertices, 2);
    }
    DestroyGeometry(g);
  }
  EXPECT_EQ(live, 129);
}

TEST(RealSamples, TableHas22FieldsWithADate) {
  Opened o("tables/区.WB");
  ASSERT_EQ(o.status, MAPGIS_OK);
  EXPECT_EQ(o.reader.GetShapeType(), 7);
  ASSERT_EQ(o.reader.GetFieldCount(), 22);
  int dates = 0;
  for (int i = 0; i < 22; ++i) {
    if (o.reader.GetFieldInfo(i, nullptr, nullptr, nullptr, nullptr) == MAPGIS_FIELD_DATE) ++dates;
  }
  EXPECT_GE(dates, 1);
  EXPECT_GT(o.reader.GetRecordCount(), 0);
}
