#include "Settings.h"

namespace Settings {

std::wstring WorkPath;
std::wstring OutPath;
std::wstring LibPath;
std::wstring LogPath;

int ExportEmptyFile = 0;
int ViewLogFile = 0;
int LogLevel = 3;
int OverWriteTip = 1;
int FinishBeep = 1;

int ExportAnnotation = 0;
int ExportPolyArc = 0;
int ExportNetNode = 0;
int ExportProjection = 1;
int ExportLayerIndex = 1;

int SymbolType = 0;
std::wstring SymbolFontName = L"ESRI Default Marker";
int ColorModel = 0;
int RotateType = 0;
int CodePage = 0;

int AffixType = 1;
std::wstring Mpjfix = L"M";
std::wstring Wbfix = L"B";
std::wstring Pntfix = L"T";
std::wstring Linfix = L"L";
std::wstring Regfix = L"P";
std::wstring Netfix = L"N";
std::wstring Annofix = L"A";
std::wstring Arcfix = L"C";
std::wstring Nodefix = L"D";

void ResetToDefaults(const std::wstring& appData, const std::wstring& programDir) {
  WorkPath = appData;
  OutPath = appData;
  LibPath = programDir;
  LogPath.clear();
  ExportEmptyFile = 0;
  ViewLogFile = 0;
  LogLevel = 3;
  OverWriteTip = 1;
  FinishBeep = 1;
  ExportAnnotation = 0;
  ExportPolyArc = 0;
  ExportNetNode = 0;
  ExportProjection = 1;
  ExportLayerIndex = 1;
  SymbolType = 0;
  SymbolFontName = L"ESRI Default Marker";
  ColorModel = 0;
  RotateType = 0;
  CodePage = 0;
  AffixType = 1;
  Mpjfix = L"M";
  Wbfix = L"B";
  Pntfix = L"T";
  Linfix = L"L";
  Regfix = L"P";
  Netfix = L"N";
  Annofix = L"A";
  Arcfix = L"C";
  Nodefix = L"D";
}

}  // namespace Settings
