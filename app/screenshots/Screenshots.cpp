// Draws the program for the README: the main window after a conversion of
// the demo data, the advanced wizard, the settings dialog, and the map
// preview of a real polygon map and of the demo project, saved as PNG.
// Usage: gridmoor_screenshots DEMO_FOLDER OUTPUT_FOLDER [REAL_SAMPLES]
// (run under a display with a CJK font, e.g. xvfb-run).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeView>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>
#include <QWizard>
#include <cstdio>

#include "FileListModel.h"
#include "FileListView.h"
#include "MainWindow.h"
#include "MapCanvas.h"
#include "MapPreview.h"
#include "MessageDisplay.h"
#include "OutputPane.h"
#include "SettingsDialog.h"
#include "SettingsStore.h"
#include "WizShapeDlg.h"

namespace {

// Answers every dialog of the run without showing it: skip clashes, say yes.
class ScriptedMessages : public MessageDisplay {
 public:
  void Show(QWidget*, const QString& text, const QString& caption, ConvertHost::Icon) override {
    std::printf("%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
  }
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
  int AskDuplicate(QWidget*, const QString&) override { return ConvertHost::kOverwriteAll; }
};

// Lets the window lay itself out and paint before it is grabbed.
void Settle() {
  QEventLoop loop;
  QTimer::singleShot(300, &loop, &QEventLoop::quit);
  loop.exec();
}

bool Save(QWidget* w, const QString& path) {
  Settle();
  const bool ok = w->grab().save(path);
  std::printf("%s %s\n", ok ? "saved" : "could not save", path.toUtf8().constData());
  return ok;
}

// Selects the list entry of `path` with the preview in front and waits
// until its map is drawn.
bool ShowPreview(MainWindow& window, const QString& path) {
  window.Pane()->show();
  MapPreview* preview = window.Pane()->Preview();
  window.Pane()->Tabs()->setCurrentWidget(preview);
  QSignalSpy drawn(preview->Canvas(), &MapCanvas::Rendered);
  for (const FileNode* node : window.Files().Walk()) {
    if (QString::fromStdWString(node->path) != path) continue;
    window.Tree()->setCurrentIndex(window.Model()->IndexOf(node));
    break;
  }
  for (int i = 0; i < 100 && preview->Loading(); ++i) drawn.wait(100);
  drawn.clear();
  return drawn.wait(10000) || !preview->Canvas()->Rendering();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: gridmoor_screenshots DEMO_FOLDER OUTPUT_FOLDER [REAL_SAMPLES]\n");
    return 2;
  }
  // Settings of a person are neither read nor changed.
  QStandardPaths::setTestModeEnabled(true);
  const QString demo = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  const QString out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
  const QString results = out + QStringLiteral("/converted");
  QDir().mkpath(results);

  AppSettings() = Settings::Defaults(results.toStdWString(), demo.toStdWString());
  AppSettings().FinishBeep = 0;
  AppSettings().OutPath = results.toStdWString();
  AppSettings().LibPath = demo.toStdWString();
  AppSettings().SymbolType = 4;
  AppSettings().ExportProjection = 2;
  AppSettings().ExportPolyArc = 1;
  AppSettings().ExportNetNode = 1;
  AppSettings().ExportAnnotation = 1;
  ScriptedMessages messages;
  SetMessages(&messages);

  bool ok = true;
  {
    MainWindow window;
    window.resize(1280, 800);
    window.show();
    window.AddPaths({demo});
    window.ExpandAll();
    QEventLoop wait;
    QObject::connect(&window, &MainWindow::BatchFinished, &wait, &QEventLoop::quit);
    if (!window.RunBatch(ConvertMode::Advanced)) return 1;
    wait.exec();
    window.Pane()->show();
    ok = Save(&window, out + QStringLiteral("/main-window.png")) && ok;

    CWizShapeDlg wizard(ConvertMode::Advanced, &window);
    wizard.show();
    ok = Save(&wizard, out + QStringLiteral("/wizard-projection.png")) && ok;
    wizard.next();
    ok = Save(&wizard, out + QStringLiteral("/wizard-style.png")) && ok;
    wizard.reject();

    SettingsDialog settings(&window);
    settings.show();
    ok = Save(&settings, out + QStringLiteral("/settings.png")) && ok;
    settings.reject();
  }
  {
    // The preview of the demo project: every layer over the others.
    MainWindow window;
    window.resize(1280, 860);
    window.show();
    const QString project = demo + QStringLiteral("/demo.MPJ");
    window.AddPaths({project});
    window.resizeDocks({window.Pane()}, {560}, Qt::Vertical);
    // Zoomed in on the town centre, where the annotations are large enough to read.
    ok = ShowPreview(window, project) && ok;
    MapCanvas* canvas = window.Pane()->Preview()->Canvas();
    QSignalSpy drawn(canvas, &MapCanvas::Rendered);
    const QPointF centre = canvas->View().map(QPointF(39501250.0, 3501000.0));
    canvas->PanBy(QPointF(canvas->width() / 2.0, canvas->height() / 2.0) - centre);
    canvas->ZoomAt(2.2, QPointF(canvas->width() / 2.0, canvas->height() / 2.0));
    ok = drawn.wait(10000) && Save(&window, out + QStringLiteral("/preview-project.png")) && ok;

    // A real polygon map in the colours of its colour library.
    if (argc == 4) {
      const QString real = QDir(QString::fromLocal8Bit(argv[3])).absolutePath();
      AppSettings().LibPath = (real + QStringLiteral("/colour")).toStdWString();
      const QString polygons = real + QStringLiteral("/frame/图框.WP");
      window.ClearList();
      window.AddPaths({polygons});
      ok = ShowPreview(window, polygons) && Save(&window, out + QStringLiteral("/preview-polygons.png")) && ok;
    }
  }
  SetMessages(nullptr);
  QDir(results).removeRecursively();
  return ok ? 0 : 1;
}
