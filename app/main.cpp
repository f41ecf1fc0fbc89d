// GridmoorPro: loads the settings, shows the main window, saves the settings at exit.
#include <QApplication>
#include <QSettings>

#include "MainWindow.h"
#include "SettingsStore.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Harrowby"));
  QCoreApplication::setApplicationName(QStringLiteral("GridmoorPro"));
  QCoreApplication::setApplicationVersion(QStringLiteral(GRIDMOOR_VERSION));

  {
    QSettings store(QStringLiteral("Harrowby"), QStringLiteral("GridmoorPro"));
    LoadSettings(store, DefaultAppDataFolder(), DefaultProgramFolder());
  }
  int status = 0;
  {
    MainWindow window;
    window.show();
    status = app.exec();
  }
  QSettings store(QStringLiteral("Harrowby"), QStringLiteral("GridmoorPro"));
  SaveSettings(store);
  return status;
}
