#pragma once
// MapGIS names and descriptions are read up to their first space.
#include <cstddef>
#include <cstring>
#include <string>

#include "MapGisCodePage.h"

namespace MapGis::detail {

// The first space-delimited token of `text` (leading spaces skipped).
inline std::wstring FirstToken(const std::wstring& text) {
  const size_t start = text.find_first_not_of(L' ');
  if (start == std::wstring::npos) return std::wstring();
  const size_t end = text.find(L' ', start);
  return text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

// The zero-terminated 8-bit text of a fixed field of `size` bytes, as wide text.
inline std::wstring FixedAnsiField(const char* field, size_t size) {
  const void* nul = std::memchr(field, 0, size);
  const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : size;
  return AnsiToWide(field, length);
}

// Copies `text` and a terminator into `out`, which holds `capacity` wide
// characters; a longer text is cut.
inline void CopyWide(const std::wstring& text, wchar_t* out, size_t capacity) {
  if (!out || capacity == 0) return;
  const size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  text.copy(out, n);
  out[n] = L'\0';
}

}  // namespace MapGis::detail
