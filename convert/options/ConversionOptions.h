#pragma once
// Every setting a conversion run reads, as one value. A front end builds it
// once per run from its settings store (the desktop program's profile, the
// command line's options, a test's defaults) and hands it to the batch,
// which passes it to every converter; nothing in the engine reads a setting
// from anywhere else. Member names are the keys of the settings store.
#include <string>

// Output formats (the OutputFormat setting).
constexpr int kFormatShapefile = 0;
constexpr int kFormatGeoPackage = 1;

struct ConversionOptions {
  // Section "FilePath"
  std::wstring OutPath;             // output folder of a run (a GeoPackage file in that format); empty: next to each source
  std::wstring LibPath;             // folder holding the colour library "Pcolor.lib"

  // Section "General"
  int ExportEmptyFile = 0;          // 0: a result without records is deleted
  int LogLevel = 3;                 // 0..3 select the log level; other values silence the log
  int FinishBeep = 1;               // not 0: sound at the end of a run

  // Section "Output"
  int ExportAnnotation = 0;         // not 0: point files split into sub-pictures and annotations
  int ExportPolyArc = 0;            // not 0: polygon files also write their arcs
  int ExportNetNode = 0;            // not 0: network files also write their nodes
  int ExportProjection = 1;         // 0 none, 1 own scale and units, 2 standard (1:1, metres)
  int PrjEpsg = 1;                  // not 0: a record matching an EPSG system gets that system's .prj text
  int ExportLayerIndex = 1;         // not 0: projects convert as a layer index
  int OutputFormat = kFormatShapefile;  // 0 shapefiles, 1 GeoPackage

  // Section "Styles"
  int SymbolType = 0;               // 0 none, 1 code, 2 raw, 3 plain text, 4 ArcView legend, 5 legend board
  std::wstring SymbolFontName = L"ESRI Default Marker";
  int ColorModel = 0;               // 0 RGB, 1 RGBA, 2 CMYK
  int RotateType = 0;               // 0 mathematical, 1 geographic
  int CodePage = 0;                 // 0 UTF-8 tables; other values GBK tables
  int ExportStyleFile = 1;          // not 0: QGIS (.qml) and SLD (.sld) styles beside every layer result

  // Section "Affix"
  int AffixType = 1;                // 0 none, 1 prefix, 2 suffix
  std::wstring Mpjfix = L"M";
  std::wstring Wbfix = L"B";
  std::wstring Pntfix = L"T";
  std::wstring Linfix = L"L";
  std::wstring Regfix = L"P";
  std::wstring Netfix = L"N";
  std::wstring Annofix = L"A";
  std::wstring Arcfix = L"C";
  std::wstring Nodefix = L"D";

  // Whether shapefile tables of the run are written in UTF-8 (a GeoPackage always is).
  bool Utf8Tables() const { return CodePage == 0; }
  bool WritesGeoPackage() const { return OutputFormat == kFormatGeoPackage; }
  // The settings of a quick conversion: no style columns or style files,
  // splits, layer index or spatial reference.
  ConversionOptions Quick() const;
  // The settings of an annotation-only run: annotations split from points.
  ConversionOptions LabelsOnly() const;
};
