#pragma once
// The program's options: one process-wide variable per stored setting, with
// the defaults a fresh profile gets. Front ends load and save them (the
// desktop program through its settings store, the command line from its
// options); the engine reads them when a conversion step runs.
#include <string>

namespace Settings {

// Section "FilePath"
extern std::wstring WorkPath;   // initial folder of the file dialogs
extern std::wstring OutPath;    // output folder of a run; empty: next to each source
extern std::wstring LibPath;    // folder holding the colour library "Pcolor.lib"
extern std::wstring LogPath;    // written at exit, never read back

// Section "General"
extern int ExportEmptyFile;     // 0: a result without records is deleted
extern int ViewLogFile;         // 1: show the log after a run
extern int LogLevel;            // 0..3 select the log level; other values silence the log
extern int OverWriteTip;        // prompt before overwriting (settings page only)
extern int FinishBeep;          // not 0: sound at the end of a run

// Section "Output"
extern int ExportAnnotation;    // not 0: point files split into sub-pictures and annotations
extern int ExportPolyArc;       // not 0: polygon files also write their arcs
extern int ExportNetNode;       // not 0: network files also write their nodes
extern int ExportProjection;    // 0 none, 1 own scale and units, 2 standard (1:1, metres)
extern int ExportLayerIndex;    // not 0: projects convert as a layer index

// Section "Styles"
extern int SymbolType;          // 0 none, 1 code, 2 raw, 3 plain text, 4 ArcView legend, 5 legend board
extern std::wstring SymbolFontName;
extern int ColorModel;          // 0 RGB, 1 RGBA, 2 CMYK
extern int RotateType;          // 0 mathematical, 1 geographic
extern int CodePage;            // 0 UTF-8 tables; other values GBK tables

// Section "Affix"
extern int AffixType;           // 0 none, 1 prefix, 2 suffix
extern std::wstring Mpjfix;
extern std::wstring Wbfix;
extern std::wstring Pntfix;
extern std::wstring Linfix;
extern std::wstring Regfix;
extern std::wstring Netfix;
extern std::wstring Annofix;
extern std::wstring Arcfix;
extern std::wstring Nodefix;

// Puts every setting back to its default. `appData` is the user's
// application-data folder, `programDir` the folder of the running program.
void ResetToDefaults(const std::wstring& appData, const std::wstring& programDir);

}  // namespace Settings
