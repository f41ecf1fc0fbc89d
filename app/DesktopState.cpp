#include "DesktopState.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMainWindow>
#include <QSettings>
#include <QThread>

namespace {

// The application's own store (organisation and application names as set
// at start), group "Desktop".
QString Key(const char* name) { return QStringLiteral("Desktop/") + QLatin1String(name); }

}  // namespace

namespace DesktopState {

QString LastFolder() {
  const QString stored = QSettings().value(Key("LastFolder")).toString();
  return !stored.isEmpty() && QFileInfo(stored).isDir() ? stored : QDir::homePath();
}

void RememberFolder(const QString& path) {
  if (path.isEmpty()) return;
  const QFileInfo info(path);
  QSettings().setValue(Key("LastFolder"), info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

int MaxJobs() { return std::max(1, QThread::idealThreadCount()); }

int Jobs() {
  bool ok = false;
  const int stored = QSettings().value(Key("Jobs"), 1).toInt(&ok);
  return ok ? std::clamp(stored, 1, MaxJobs()) : 1;
}

void SetJobs(int jobs) { QSettings().setValue(Key("Jobs"), std::clamp(jobs, 1, MaxJobs())); }

void SaveWindow(const QMainWindow& window, const QHeaderView& columns) {
  QSettings store;
  store.setValue(Key("Geometry"), window.saveGeometry());
  store.setValue(Key("WindowState"), window.saveState());
  store.setValue(Key("Columns"), columns.saveState());
}

bool RestoreWindow(QMainWindow& window, QHeaderView& columns) {
  QSettings store;
  const QByteArray geometry = store.value(Key("Geometry")).toByteArray();
  if (geometry.isEmpty()) return false;
  window.restoreGeometry(geometry);
  window.restoreState(store.value(Key("WindowState")).toByteArray());
  columns.restoreState(store.value(Key("Columns")).toByteArray());
  return true;
}

}  // namespace DesktopState

QString DefaultOutputFolder() {
  const QString dir = QDir::home().filePath(QStringLiteral("GridmoorPro"));
  QDir().mkpath(dir);
  return dir;
}
