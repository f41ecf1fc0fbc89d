#pragma once
// The settings a front end stores and edits: every conversion setting plus
// the few that only the desktop program uses. A value: the desktop program
// keeps one for its profile, the command line builds one per run.
#include <string>

#include "ConversionOptions.h"

struct Settings : ConversionOptions {
  // Section "FilePath"
  std::wstring WorkPath;   // initial folder of the file dialogs
  std::wstring LogPath;    // written at exit, never read back

  // Section "General"
  int ViewLogFile = 0;     // 1: show the log after a run
  int OverWriteTip = 1;    // prompt before overwriting (settings page only)

  // The defaults of a fresh profile. `appData` is the user's
  // application-data folder, `programDir` the folder of the running program.
  static Settings Defaults(const std::wstring& appData, const std::wstring& programDir);
};
