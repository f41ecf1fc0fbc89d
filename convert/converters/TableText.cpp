#include "TableText.h"

#include "MapGisCodePage.h"

std::string TableText::FromAnsi(const std::string& gbk) const { return utf8_ ? MapGis::AnsiToUtf8(gbk) : gbk; }

std::string TableText::FromUtf8(const std::string& utf8) const { return utf8_ ? utf8 : MapGis::Utf8ToAnsi(utf8); }

std::string TableText::FromWide(const std::wstring& text) const {
  return utf8_ ? MapGis::WideToUtf8(text) : MapGis::WideToAnsi(text);
}

size_t TableText::BoundaryPrefix(const std::string& text, size_t maxBytes, bool utf8) {
  if (text.size() <= maxBytes) return text.size();
  size_t i = 0;
  size_t last = 0;  // end of the last whole character within the limit
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t len = 1;
    if (utf8) {
      if (c >= 0xF0) len = 4;
      else if (c >= 0xE0) len = 3;
      else if (c >= 0xC0) len = 2;
    } else if (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) {
      len = 2;
    }
    if (i + len > maxBytes) break;
    i += len;
    last = i;
  }
  return last;
}

std::string TableText::CutAt(const std::string& text, size_t maxBytes, bool utf8) {
  return text.substr(0, BoundaryPrefix(text, maxBytes, utf8));
}

std::string TableText::ShortenStored(const std::string& gbk) {
  if (gbk.size() <= 254) return gbk;
  return CutAt(gbk, 250, false) + "...";
}

std::string TableText::StoredValueText(const std::string& gbk) const {
  std::string text = FromAnsi(ShortenStored(gbk));
  if (text.size() > 254) text = CutAt(text, 250, utf8_) + "...";
  return text;
}
