// The map preview: the demo layers drawn in their library colours, a project
// drawn layer over layer, pan and zoom keeping the map, hostile files, and a
// click showing the record's values.
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "DemoData.h"
#include "FileListModel.h"
#include "FileListView.h"
#include "GuiTestSupport.h"
#include "MainWindow.h"
#include "MapCanvas.h"
#include "MapGis.h"
#include "MapPreview.h"
#include "OutputPane.h"
#include "PreviewRender.h"

namespace {

class MapPreviewTest : public GuiTest {
 protected:
  QTemporaryDir dir;
  MapPreview preview;

  void SetUp() override {
    GuiTest::SetUp();
    std::string error;
    ASSERT_TRUE(demo::GenerateDemoData(dir.path().toStdString(), &error)) << error;
    preview.resize(640, 480);
    preview.show();
  }

  QString Demo(const QString& name) const { return dir.filePath(name); }

  // Shows `path` and waits until its first image is drawn.
  void ShowAndWait(const QString& path) {
    QSignalSpy drawn(preview.Canvas(), &MapCanvas::Rendered);
    preview.ShowFile(path);
    ASSERT_TRUE(drawn.wait(20000)) << path.toStdString();
  }

  QColor PixelAt(const QPointF& p) const { return preview.Canvas()->Image().pixelColor(p.toPoint()); }

  // The colour the demo's library gives `number`, read independently of the preview.
  QColor LibraryColour(long number) const {
    MapGis::MapGis_ColorLib library;
    EXPECT_GT(library.LoadColors(Demo("Pcolor.lib").toStdWString().c_str()), 0);
    const MapGis::RGBTRIPLE rgb = library.GetRGB(number);
    return QColor(rgb.rgbtRed, rgb.rgbtGreen, rgb.rgbtBlue);
  }

  // A pixel inside polygon `record` of `layer` where that polygon is on top.
  bool InsidePolygon(int layer, int record, QPointF* pixel) const {
    const MapCanvas* canvas = preview.Canvas();
    const PreviewLayer& l = canvas->Map()->layers[static_cast<size_t>(layer)];
    for (const PreviewShape& s : l.shapes) {
      if (s.record != record) continue;
      const QRectF box = canvas->View().mapRect(s.bounds);
      for (int i = 1; i < 10; ++i) {
        for (int j = 1; j < 10; ++j) {
          const QPointF p(box.left() + box.width() * i / 10, box.top() + box.height() * j / 10);
          int hitLayer = -1;
          const PreviewShape* hit = nullptr;
          if (!canvas->ShapeAt(p, &hitLayer, &hit) || hit != &s) continue;
          // Away from outlines and from shapes of other layers drawn above.
          if (PixelAt(p + QPointF(2, 0)) != PixelAt(p) || PixelAt(p - QPointF(2, 0)) != PixelAt(p)) continue;
          *pixel = p;
          return true;
        }
      }
    }
    return false;
  }
};

TEST_F(MapPreviewTest, PolygonsAreFilledInTheirLibraryColoursWithHolesLeftOpen) {
  ShowAndWait(Demo("landuse.WP"));
  MapGis::MapGis_FastReader reader;
  ASSERT_EQ(reader.Open(Demo("landuse.WP").toStdWString().c_str()), MapGis::MAPGIS_OK);
  int slotCount = 0;
  ASSERT_EQ(reader.GetPolygonCount(&slotCount), 4);
  ASSERT_EQ(preview.Canvas()->Map()->layers[0].shapes.size(), 4u);
  for (int r = 0; r < slotCount; ++r) {
    MapGis::MAPGIS_RegInfo info;
    if (reader.ReadPolygonInfo(r, &info, nullptr) != MapGis::MAPGIS_OK) continue;
    QPointF p;
    ASSERT_TRUE(InsidePolygon(0, r, &p)) << "polygon " << r;
    EXPECT_EQ(PixelAt(p), LibraryColour(info.fillColor)) << "polygon " << r;
  }
  // Without the pond, its place in the farmland is an open hole.
  PreviewMap farmland = *preview.Canvas()->Map();
  std::vector<PreviewShape>& shapes = farmland.layers[0].shapes;
  const auto pond = std::find_if(shapes.begin(), shapes.end(), [](const PreviewShape& s) { return s.partCount == 1 && s.record == 3; });
  ASSERT_NE(pond, shapes.end());
  const QPointF pondCentre = preview.Canvas()->View().map(pond->bounds.center());
  shapes.erase(pond);
  QImage image(preview.Canvas()->size(), QImage::Format_RGB32);
  RenderPreview(farmland, preview.Canvas()->View(), image);
  EXPECT_EQ(image.pixelColor(pondCentre.toPoint()), QColor(Qt::white));
}

TEST_F(MapPreviewTest, ProjectDrawsItsLayersInProjectOrderLinesOverPolygons) {
  ShowAndWait(Demo("demo.MPJ"));
  const PreviewMap* map = preview.Canvas()->Map();
  ASSERT_EQ(map->layers.size(), 4u);
  const QStringList expected = {"landuse.WP", "roads.WL", "河流.WL", "地名注记.WT"};
  for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(map->layers[i].path.endsWith(expected[static_cast<int>(i)]));
  EXPECT_FALSE(map->layers[3].texts.isEmpty());

  // A road vertex lies over a land-use polygon and shows the road's colour.
  MapGis::MapGis_FastReader roads;
  ASSERT_EQ(roads.Open(Demo("roads.WL").toStdWString().c_str()), MapGis::MAPGIS_OK);
  const PreviewLayer& drawn = map->layers[1];
  int checked = 0;
  for (const PreviewShape& s : drawn.shapes) {
    MapGis::MAPGIS_LineInfo info;
    ASSERT_EQ(roads.ReadArcInfo(s.record, &info, nullptr), MapGis::MAPGIS_OK);
    const QPointF vertex = preview.Canvas()->View().map(drawn.detail.points[drawn.detail.PartBegin(s.firstPart) + 1]);
    int hitLayer = -1;
    const PreviewShape* hit = nullptr;
    if (!preview.Canvas()->ShapeAt(vertex, &hitLayer, &hit) || hit != &s) continue;
    // One-pixel lines land on either side of a fractional position.
    bool found = false;
    for (int dx = -1; dx <= 1; ++dx) {
      for (int dy = -1; dy <= 1; ++dy) found = found || PixelAt(vertex + QPointF(dx, dy)) == LibraryColour(info.color);
    }
    EXPECT_TRUE(found) << "road " << s.record;
    ++checked;
  }
  EXPECT_GE(checked, 3);
}

TEST_F(MapPreviewTest, PanAndZoomMoveTheMapAndRedrawIt) {
  ShowAndWait(Demo("landuse.WP"));
  MapCanvas* canvas = preview.Canvas();
  QPointF inside;
  ASSERT_TRUE(InsidePolygon(0, 1, &inside));
  const QColor colour = PixelAt(inside);
  const QPointF mapPoint = canvas->View().inverted().map(inside);

  QSignalSpy drawn(canvas, &MapCanvas::Rendered);
  canvas->PanBy(QPointF(40, -25));
  const QPointF panned = canvas->View().map(mapPoint);
  EXPECT_NEAR(panned.x(), inside.x() + 40, 1e-6);
  EXPECT_NEAR(panned.y(), inside.y() - 25, 1e-6);
  ASSERT_TRUE(drawn.wait(10000));
  EXPECT_EQ(PixelAt(panned), colour);

  // Zooming keeps the map point under the pointer where it is.
  canvas->ZoomAt(3.0, panned);
  EXPECT_LT(QLineF(canvas->View().map(mapPoint), panned).length(), 1e-6);
  ASSERT_TRUE(drawn.wait(10000));
  EXPECT_EQ(PixelAt(panned), colour);

  // "全图" brings the whole map back inside the widget.
  canvas->FitAll();
  ASSERT_TRUE(drawn.wait(10000));
  const QRectF whole = canvas->View().mapRect(canvas->Map()->bounds);
  EXPECT_TRUE(QRectF(canvas->rect()).contains(whole));
  EXPECT_GT(whole.width(), canvas->width() * 0.8);
}

TEST_F(MapPreviewTest, HostileFilesDrawWhatIsReadableAndSayWhatIsNot) {
  // Not a MapGIS file at all.
  const QString garbage = WriteBytes(dir, "garbage.WL", 4000);
  QSignalSpy loaded(&preview, &MapPreview::Loaded);
  preview.ShowFile(garbage);
  ASSERT_TRUE(loaded.wait(10000));
  EXPECT_TRUE(preview.Message()->text().contains("garbage.WL")) << preview.Message()->text().toStdString();

  // Cut copies of every demo layer: no crash, and the preview always ends.
  for (const QString name : {"roads.WL", "landuse.WP", "地名注记.WT", "pipes.WN"}) {
    QFile source(Demo(name));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    for (int cut : {300, static_cast<int>(bytes.size()) / 2, static_cast<int>(bytes.size()) - 40}) {
      const QString path = dir.filePath(QStringLiteral("cut-%1-").arg(cut) + name);
      QFile out(path);
      ASSERT_TRUE(out.open(QIODevice::WriteOnly));
      out.write(bytes.left(cut));
      out.close();
      loaded.clear();
      preview.ShowFile(path);
      ASSERT_TRUE(loaded.wait(10000)) << path.toStdString();
      EXPECT_FALSE(preview.Message()->text().isEmpty());
    }
  }
  // A slot count naming two billion records in 3 KB: counted, not walked.
  QFile crasher(QStringLiteral(GRIDMOOR_CRASHERS "/convert-line-slot-count-beyond-file.bin"));
  ASSERT_TRUE(crasher.open(QIODevice::ReadOnly));
  QFile slotFile(dir.filePath("slots.WL"));
  ASSERT_TRUE(slotFile.open(QIODevice::WriteOnly));
  slotFile.write(crasher.readAll().mid(2));  // the fuzz input's first two bytes are not the file's
  slotFile.close();
  loaded.clear();
  preview.ShowFile(slotFile.fileName());
  ASSERT_TRUE(loaded.wait(10000));
  EXPECT_TRUE(preview.Message()->text().contains("条记录无法读取")) << preview.Message()->text().toStdString();

  // A table has no shapes to draw and says so.
  loaded.clear();
  preview.ShowFile(Demo("parcels.WB"));
  ASSERT_TRUE(loaded.wait(10000));
  EXPECT_TRUE(preview.Message()->text().contains("表格文件没有图形"));
}

TEST_F(MapPreviewTest, ClickingAShapeShowsItsAttributeValuesInTheInformationTab) {
  preview.hide();
  MainWindow window;
  window.resize(1000, 680);
  window.show();
  window.AddPaths({Demo("landuse.WP")});
  window.Pane()->Tabs()->setCurrentWidget(window.Pane()->Preview());
  MapCanvas* canvas = window.Pane()->Preview()->Canvas();
  QSignalSpy drawn(canvas, &MapCanvas::Rendered);
  window.Tree()->setCurrentIndex(window.Model()->index(0, 0));
  ASSERT_TRUE(drawn.wait(20000));

  const PreviewShape& residential = canvas->Map()->layers[0].shapes[1];
  const QPointF at = canvas->View().map(residential.bounds.center());
  int layer = -1;
  const PreviewShape* hit = nullptr;
  ASSERT_TRUE(canvas->ShapeAt(at, &layer, &hit));
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at.toPoint());
  const QString info = window.Pane()->InfoView()->toPlainText();
  EXPECT_TRUE(info.contains(QStringLiteral("第%1号记录").arg(hit->record + 1))) << info.toStdString();
  EXPECT_TRUE(info.contains("面积 = ")) << info.toStdString();
}

}  // namespace
