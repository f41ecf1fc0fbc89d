#include "SettingsTable.h"

#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "MapGisCodePage.h"
#include "Settings.h"

const std::vector<SettingEntry>& SettingsTable() {
  using namespace Settings;
  static const std::vector<SettingEntry> table = {
      {"FilePath", "WorkPath", nullptr, &WorkPath},
      {"FilePath", "OutPath", nullptr, &OutPath},
      {"FilePath", "LibPath", nullptr, &LibPath},
      {"FilePath", "LogPath", nullptr, &LogPath},
      {"General", "ExportEmptyFile", &ExportEmptyFile, nullptr},
      {"General", "ViewLogFile", &ViewLogFile, nullptr},
      {"General", "LogLevel", &LogLevel, nullptr},
      {"General", "OverWriteTip", &OverWriteTip, nullptr},
      {"General", "FinishBeep", &FinishBeep, nullptr},
      {"Output", "ExportAnnotation", &ExportAnnotation, nullptr},
      {"Output", "ExportPolyArc", &ExportPolyArc, nullptr},
      {"Output", "ExportNetNode", &ExportNetNode, nullptr},
      {"Output", "ExportProjection", &ExportProjection, nullptr},
      {"Output", "ExportLayerIndex", &ExportLayerIndex, nullptr},
      {"Styles", "SymbolType", &SymbolType, nullptr},
      {"Styles", "SymbolFontName", nullptr, &SymbolFontName},
      {"Styles", "ColorModel", &ColorModel, nullptr},
      {"Styles", "RotateType", &RotateType, nullptr},
      {"Styles", "CodePage", &CodePage, nullptr},
      {"Affix", "AffixType", &AffixType, nullptr},
      {"Affix", "Mpjfix", nullptr, &Mpjfix},
      {"Affix", "Wbfix", nullptr, &Wbfix},
      {"Affix", "Pntfix", nullptr, &Pntfix},
      {"Affix", "Linfix", nullptr, &Linfix},
      {"Affix", "Regfix", nullptr, &Regfix},
      {"Affix", "Netfix", nullptr, &Netfix},
      {"Affix", "Annofix", nullptr, &Annofix},
      {"Affix", "Arcfix", nullptr, &Arcfix},
      {"Affix", "Nodefix", nullptr, &Nodefix},
  };
  return table;
}

const SettingEntry* FindSetting(const std::string& key) {
  for (const SettingEntry& e : SettingsTable()) {
    if (key == e.key) return &e;
  }
  for (const SettingEntry& e : SettingsTable()) {
    if (strcasecmp(key.c_str(), e.key) == 0) return &e;
  }
  return nullptr;
}

bool SetSettingFromText(const std::string& key, const std::string& value, std::string* error) {
  const SettingEntry* e = FindSetting(key);
  if (!e) {
    if (error) *error = "unknown setting '" + key + "'";
    return false;
  }
  if (e->text) {
    *e->text = MapGis::Utf8ToWide(value);
    return true;
  }
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
    if (error) *error = "setting '" + std::string(e->key) + "' takes a whole number, not '" + value + "'";
    return false;
  }
  *e->number = static_cast<int>(v);
  return true;
}
