#pragma once
// Every stored setting by section and key, bound to its member of
// Settings: what a settings store loads and saves, and what the command
// line's --set KEY=VALUE changes.
#include <string>
#include <vector>

#include "Settings.h"

struct SettingEntry {
  const char* section;             // "FilePath", "General", "Output", "Styles", "Affix"
  const char* key;
  int Settings::*number;           // set for numeric settings
  std::wstring Settings::*text;    // set for text settings
};

const std::vector<SettingEntry>& SettingsTable();

// The entry of `key` (exact letter case first, then any case), or null.
const SettingEntry* FindSetting(const std::string& key);

// Sets a setting of `settings` from text; false with a reason when the key
// is unknown or a number does not parse.
bool SetSettingFromText(Settings& settings, const std::string& key, const std::string& value, std::string* error);
