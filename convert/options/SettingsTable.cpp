#include "SettingsTable.h"

#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "MapGisCodePage.h"

const std::vector<SettingEntry>& SettingsTable() {
  static const std::vector<SettingEntry> table = {
      {"FilePath", "WorkPath", nullptr, &Settings::WorkPath},
      {"FilePath", "OutPath", nullptr, &Settings::OutPath},
      {"FilePath", "LibPath", nullptr, &Settings::LibPath},
      {"FilePath", "LogPath", nullptr, &Settings::LogPath},
      {"General", "ExportEmptyFile", &Settings::ExportEmptyFile, nullptr},
      {"General", "ViewLogFile", &Settings::ViewLogFile, nullptr},
      {"General", "LogLevel", &Settings::LogLevel, nullptr},
      {"General", "OverWriteTip", &Settings::OverWriteTip, nullptr},
      {"General", "FinishBeep", &Settings::FinishBeep, nullptr},
      {"Output", "ExportAnnotation", &Settings::ExportAnnotation, nullptr},
      {"Output", "ExportPolyArc", &Settings::ExportPolyArc, nullptr},
      {"Output", "ExportNetNode", &Settings::ExportNetNode, nullptr},
      {"Output", "ExportProjection", &Settings::ExportProjection, nullptr},
      {"Output", "ExportLayerIndex", &Settings::ExportLayerIndex, nullptr},
      {"Output", "OutputFormat", &Settings::OutputFormat, nullptr},
      {"Output", "PrjEpsg", &Settings::PrjEpsg, nullptr},
      {"Styles", "SymbolType", &Settings::SymbolType, nullptr},
      {"Styles", "SymbolFontName", nullptr, &Settings::SymbolFontName},
      {"Styles", "ColorModel", &Settings::ColorModel, nullptr},
      {"Styles", "RotateType", &Settings::RotateType, nullptr},
      {"Styles", "CodePage", &Settings::CodePage, nullptr},
      {"Styles", "ExportStyleFile", &Settings::ExportStyleFile, nullptr},
      {"Affix", "AffixType", &Settings::AffixType, nullptr},
      {"Affix", "Mpjfix", nullptr, &Settings::Mpjfix},
      {"Affix", "Wbfix", nullptr, &Settings::Wbfix},
      {"Affix", "Pntfix", nullptr, &Settings::Pntfix},
      {"Affix", "Linfix", nullptr, &Settings::Linfix},
      {"Affix", "Regfix", nullptr, &Settings::Regfix},
      {"Affix", "Netfix", nullptr, &Settings::Netfix},
      {"Affix", "Annofix", nullptr, &Settings::Annofix},
      {"Affix", "Arcfix", nullptr, &Settings::Arcfix},
      {"Affix", "Nodefix", nullptr, &Settings::Nodefix},
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

bool SetSettingFromText(Settings& settings, const std::string& key, const std::string& value, std::string* error) {
  const SettingEntry* e = FindSetting(key);
  if (!e) {
    if (error) *error = "unknown setting '" + key + "'";
    return false;
  }
  if (e->text) {
    settings.*e->text = MapGis::Utf8ToWide(value);
    return true;
  }
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
    if (error) *error = "setting '" + std::string(e->key) + "' takes a whole number, not '" + value + "'";
    return false;
  }
  settings.*e->number = static_cast<int>(v);
  return true;
}
