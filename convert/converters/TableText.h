#pragma once
// Text written into attribute tables: the run's table encoding (UTF-8, or
// the GBK bytes of the MapGIS file) and cuts that never split a character.
#include <cstddef>
#include <string>

class TableText {
 public:
  // `utf8`: tables of the run are written in UTF-8 (CodePage 0).
  explicit TableText(bool utf8) : utf8_(utf8) {}
  bool Utf8() const { return utf8_; }

  // 8-bit MapGIS text (GBK) as it is written into the table.
  std::string FromAnsi(const std::string& gbk) const;
  // A UTF-8 literal of the program (column names, fixed values) as written into the table.
  std::string FromUtf8(const std::string& utf8) const;
  // Wide text as written into the table.
  std::string FromWide(const std::wstring& text) const;
  // A stored text as written into the table: shortened, re-encoded, and in a
  // UTF-8 table shortened again by the same rule, so a Chinese text still
  // fits its 255-byte column with its "...".
  std::string StoredValueText(const std::string& gbk) const;

  // Length of the longest prefix of `text` of at most `maxBytes` bytes that
  // ends on a character boundary; `utf8` tells the encoding, otherwise GBK.
  static size_t BoundaryPrefix(const std::string& text, size_t maxBytes, bool utf8);
  // `text` cut to at most `maxBytes` bytes at a character boundary.
  static std::string CutAt(const std::string& text, size_t maxBytes, bool utf8);
  // A stored value as the table keeps it: whole up to 254 bytes, otherwise its
  // first 250 bytes (at a character boundary) and "...". GBK bytes in, GBK out.
  static std::string ShortenStored(const std::string& gbk);

 private:
  bool utf8_;
};
