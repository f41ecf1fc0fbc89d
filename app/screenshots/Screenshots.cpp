// Draws the program for the README: the main window after a conversion of
// the demo data, the advanced wizard and the settings dialog, saved as PNG.
// Usage: gridmoor_screenshots DEMO_FOLDER OUTPUT_FOLDER (run under a display
// with a CJK font, e.g. xvfb-run).
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>
#include <QWizard>
#include <cstdio>

#include "MainWindow.h"
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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: gridmoor_screenshots DEMO_FOLDER OUTPUT_FOLDER\n");
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
  SetMessages(nullptr);
  QDir(results).removeRecursively();
  return ok ? 0 : 1;
}
