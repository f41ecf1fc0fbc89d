// GridmoorPro: loads the settings, shows the main window with the files
// named on the command line, saves the settings and the window at exit.
#include <QApplication>
#include <QHeaderView>
#include <QSettings>

#include "AppStart.h"
#include "DesktopState.h"
#include "FileListView.h"
#include "MainWindow.h"
#include "SettingsStore.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Harrowby"));
  QCoreApplication::setApplicationName(QStringLiteral("GridmoorPro"));
  QCoreApplication::setApplicationVersion(QStringLiteral(GRIDMOOR_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("gridmoorpro"));
  InstallChineseTranslations(app);

  const QStringList paths = PathArguments(QCoreApplication::arguments());
  // A program already running takes the files; this launch then has nothing to do.
  if (!paths.isEmpty() && InstanceChannel::HandToRunning(paths)) return 0;
  InstanceChannel channel;
  channel.Listen();

  {
    QSettings store(QStringLiteral("Harrowby"), QStringLiteral("GridmoorPro"));
    LoadSettings(store, DefaultOutputFolder(), DefaultProgramFolder());
  }
  int status = 0;
  {
    MainWindow window;
    DesktopState::RestoreWindow(window, *window.Tree()->header());
    window.show();
    QObject::connect(&channel, &InstanceChannel::PathsReceived, &window, [&window](const QStringList& received) {
      window.AddPaths(received);
      window.raise();
      window.activateWindow();
    });
    if (!paths.isEmpty()) window.AddPaths(paths);
    status = app.exec();
    DesktopState::SaveWindow(window, *window.Tree()->header());
  }
  QSettings store(QStringLiteral("Harrowby"), QStringLiteral("GridmoorPro"));
  SaveSettings(store);
  return status;
}
