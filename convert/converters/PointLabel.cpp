#include "PointLabel.h"

#include <cstring>

#include "LegendWriter.h"

namespace {

std::string Markup(const MapGis::MAPGIS_PntInfo& record, const std::string& text, const char* font, uint32_t rgb) {
  char out[260];
  std::memset(out, 0, sizeof out);
  if (record.kind == 0) {
    LegendWriter::FormatNoteLabel(&record, text.c_str(), font, rgb, out);
  } else {
    LegendWriter::FormatBlockLabel(&record, text.c_str(), font, rgb, out);
  }
  return out;
}

}  // namespace

std::string BuildPointLabel(const MapGis::MAPGIS_PntInfo& record, const std::string& text, uint32_t rgb,
                            const TableText& table) {
  if (record.kind != 0 && record.kind != 5) return std::string();
  char font[260] = {0};
  MapGis::GetFontName(record.param.note.chFont, font);
  std::string label = table.FromAnsi(Markup(record, TableText::ShortenStored(text), font, rgb));
  // UTF-8 makes Chinese text longer: shorten the text until the mark-up fits
  // the column whole, tags included.
  std::string shorter = TableText::ShortenStored(text);
  while (label.size() > 255 && !shorter.empty()) {
    shorter = TableText::CutAt(shorter, shorter.size() > 8 ? shorter.size() - 8 : 0, false);
    label = table.FromAnsi(Markup(record, shorter + "...", font, rgb));
  }
  return label;
}
