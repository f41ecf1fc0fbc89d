#pragma once
// Keeps the program's settings between runs in a QSettings store: one group
// per section, one key per setting. Loaded once at start, saved at exit.
#include <QString>

#include "Settings.h"

class QSettings;

// The program's settings: what the dialogs show and edit, loaded from and
// saved to the store, and the source of every run's conversion options.
Settings& AppSettings();

// The user's application-data folder (created when missing, since it is the
// default output folder) and the folder of the running program.
QString DefaultAppDataFolder();
QString DefaultProgramFolder();

// Puts every setting to its default, then takes each stored value. LogPath
// is never read back: it starts empty in every run. A stored number that is
// not a number leaves the default.
void LoadSettings(QSettings& store, const QString& appData, const QString& programDir);
// Writes every setting, LogPath included.
void SaveSettings(QSettings& store);
