#pragma once
// Text written into attribute tables: the run's table encoding (UTF-8 when
// CodePage is 0, otherwise the GBK bytes of the MapGIS file) and cuts that
// never split a character.
#include <cstddef>
#include <string>

namespace TableText {

// True when tables of this run are written in UTF-8 (CodePage 0).
bool Utf8Tables();

// 8-bit MapGIS text (GBK) as it is written into the table of this run.
std::string FromAnsi(const std::string& gbk);
// A UTF-8 literal of the program (column names, fixed values) as written into the table.
std::string FromUtf8(const std::string& utf8);
// Wide text as written into the table.
std::string FromWide(const std::wstring& text);

// Length of the longest prefix of `text` of at most `maxBytes` bytes that
// ends on a character boundary; `utf8` tells the encoding, otherwise GBK.
size_t BoundaryPrefix(const std::string& text, size_t maxBytes, bool utf8);
// `text` cut to at most `maxBytes` bytes at a character boundary.
std::string CutAt(const std::string& text, size_t maxBytes, bool utf8);

// A stored value as the table keeps it: whole up to 254 bytes, otherwise its
// first 250 bytes (at a character boundary) and "...". GBK bytes in, GBK out.
std::string ShortenStored(const std::string& gbk);

// A stored text as written into the table: shortened, re-encoded, and in a
// UTF-8 table shortened again by the same rule, so a Chinese text still fits
// its 255-byte column with its "...".
std::string StoredValueText(const std::string& gbk);

}  // namespace TableText
