#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "Settings.h"
#include "SettingsTable.h"

namespace {

QString KeyOf(const SettingEntry& e) { return QString::fromLatin1(e.section) + '/' + QString::fromLatin1(e.key); }

bool IsLogPath(const SettingEntry& e) { return e.text == &Settings::LogPath; }

}  // namespace

Settings& AppSettings() {
  static Settings settings;
  return settings;
}

QString DefaultAppDataFolder() {
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (!dir.isEmpty()) QDir().mkpath(dir);
  return dir;
}

QString DefaultProgramFolder() { return QCoreApplication::applicationDirPath(); }

void LoadSettings(QSettings& store, const QString& appData, const QString& programDir) {
  AppSettings() = Settings::Defaults(appData.toStdWString(), programDir.toStdWString());
  for (const SettingEntry& e : SettingsTable()) {
    if (IsLogPath(e)) continue;
    const QString key = KeyOf(e);
    if (!store.contains(key)) continue;
    const QVariant value = store.value(key);
    if (e.text) {
      AppSettings().*e.text = value.toString().toStdWString();
    } else {
      bool ok = false;
      const int n = value.toInt(&ok);
      if (ok) AppSettings().*e.number = n;
    }
  }
}

void SaveSettings(QSettings& store) {
  for (const SettingEntry& e : SettingsTable()) {
    if (e.text) {
      store.setValue(KeyOf(e), QString::fromStdWString(AppSettings().*e.text));
    } else {
      store.setValue(KeyOf(e), AppSettings().*e.number);
    }
  }
  store.sync();
}
