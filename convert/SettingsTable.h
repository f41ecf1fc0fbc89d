#pragma once
// Every stored setting by section and key, bound to its process-wide
// variable: what a settings store loads and saves, and what the command
// line's --set KEY=VALUE changes.
#include <string>
#include <vector>

struct SettingEntry {
  const char* section;  // "FilePath", "General", "Output", "Styles", "Affix"
  const char* key;
  int* number;          // set for numeric settings
  std::wstring* text;   // set for text settings
};

const std::vector<SettingEntry>& SettingsTable();

// The entry of `key` (exact letter case first, then any case), or null.
const SettingEntry* FindSetting(const std::string& key);

// Sets a setting from text; false with a reason when the key is unknown or
// a number does not parse.
bool SetSettingFromText(const std::string& key, const std::string& value, std::string* error);
