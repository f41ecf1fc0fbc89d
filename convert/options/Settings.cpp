#include "Settings.h"

ConversionOptions ConversionOptions::Quick() const {
  ConversionOptions o = *this;
  o.SymbolType = 0;
  o.ExportStyleFile = 0;
  o.ExportNetNode = 0;
  o.ExportPolyArc = 0;
  o.ExportAnnotation = 0;
  o.ExportLayerIndex = 0;
  o.ExportProjection = 0;
  return o;
}

ConversionOptions ConversionOptions::LabelsOnly() const {
  ConversionOptions o = *this;
  o.ExportAnnotation = 1;
  return o;
}

Settings Settings::Defaults(const std::wstring& appData, const std::wstring& programDir) {
  Settings s;
  s.WorkPath = appData;
  s.OutPath = appData;
  s.LibPath = programDir;
  return s;
}
