#pragma once
// The text of ArcView 3 legend files (.avl) for the legend style mode, and the
// formatting mark-up of annotation and text-block labels.
#include <cstddef>
#include <cstdint>
#include <string>

#include "MapGisFormat.h"
#include "StyleKey.h"

class LegendWriter {
 public:
  // The .avl text of a layer (CR LF line ends): one class per key on
  // "VKT_LEGEND". Key indexes are positions in `colours`. The marker legend
  // names `fontName`, written in code page 936.
  static std::string MarkerLegend(const ColourList& colours, const KeyList& keys, const std::wstring& fontName);
  static std::string LineLegend(const ColourList& colours, const KeyList& keys);
  static std::string ShadeLegend(const ColourList& colours, const KeyList& keys);

  // The caller's label buffer and the longest mark-up put into it.
  static constexpr size_t kLabelBufferSize = 260;
  static constexpr size_t kMaxLabelLength = 255;

  // Label mark-up of an annotation (point kind 0) and of a text block
  // (point kind 5): `text` and `fontName` are zero-terminated GBK text,
  // `colour` is red | green << 8 | blue << 16. Writes the zero-terminated
  // mark-up (at most kMaxLabelLength bytes) into `out`, which must hold
  // kLabelBufferSize bytes, and returns true. With a missing argument or
  // an empty text nothing is written and the result is false.
  static bool FormatNoteLabel(const MapGis::MAPGIS_PntInfo* record, const char* text, const char* fontName,
                              uint32_t colour, char* out);
  static bool FormatBlockLabel(const MapGis::MAPGIS_PntInfo* record, const char* text, const char* fontName,
                               uint32_t colour, char* out);
};
