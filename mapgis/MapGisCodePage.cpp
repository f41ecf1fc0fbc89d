#include "MapGisCodePage.h"

#include <cstring>

#include "GbkTables.h"
#include "IconvConverter.h"

namespace MapGis {

using detail::GbkTables;
using detail::IconvConverter;
using detail::kAnsiCodePage;

namespace {

std::string WideChar(wchar_t c) { return std::string(reinterpret_cast<const char*>(&c), sizeof c); }

// One iconv descriptor per direction and thread, opened on first use, so a
// run of many values never reopens a converter. The code-page conversions
// use them when the tables cannot stand for them, and for what the tables
// leave to the converter.
IconvConverter& AnsiToWideConverter() {
  thread_local IconvConverter c("WCHAR_T", kAnsiCodePage, 1, WideChar(0xFFFD));
  return c;
}
IconvConverter& WideToAnsiConverter() {
  thread_local IconvConverter c(kAnsiCodePage, "WCHAR_T", sizeof(wchar_t), "?");
  return c;
}
IconvConverter& AnsiToUtf8Converter() {
  thread_local IconvConverter c("UTF-8", kAnsiCodePage, 1, "\xEF\xBF\xBD");
  return c;
}
IconvConverter& Utf8ToAnsiConverter() {
  thread_local IconvConverter c(kAnsiCodePage, "UTF-8", 1, "?");
  return c;
}
IconvConverter& Utf8ToWideConverter() {
  thread_local IconvConverter c("WCHAR_T", "UTF-8", 1, WideChar(0xFFFD));
  return c;
}
IconvConverter& WideToUtf8Converter() {
  thread_local IconvConverter c("UTF-8", "WCHAR_T", sizeof(wchar_t), "\xEF\xBF\xBD");
  return c;
}

std::wstring BytesToWide(const std::string& bytes) {
  std::wstring out(bytes.size() / sizeof(wchar_t), L'\0');
  if (!out.empty()) std::memcpy(&out[0], bytes.data(), out.size() * sizeof(wchar_t));
  return out;
}

constexpr uint32_t kReplacement = 0xFFFD;

// Decodes GBK bytes through the tables, character by character exactly as
// the converter does: ASCII as it is, a valid pair as its character, and
// any other byte (a bad pair's lead, a lead cut off at the end) as one
// U+FFFD, going on with the next byte. `put` receives each character.
template <class Put>
void DecodeGbk(const GbkTables& t, const uint8_t* s, size_t n, Put put) {
  size_t i = 0;
  while (i < n) {
    const uint8_t b = s[i];
    if (b < 0x80) {
      put(b);
      ++i;
      continue;
    }
    uint32_t c = t.Single(b);
    size_t used = 1;
    if (c == GbkTables::kNone) {
      c = i + 1 < n ? t.Pair(b, s[i + 1]) : GbkTables::kNone;
      if (c == GbkTables::kNone) {
        c = kReplacement;
      } else {
        used = 2;
      }
    }
    put(c);
    i += used;
  }
}

// Length of the leading ASCII run of `s`.
template <class Char>
size_t AsciiPrefix(const Char* s, size_t n) {
  size_t i = 0;
  while (i < n && static_cast<uint32_t>(s[i]) < 0x80) ++i;
  return i;
}

// Writes the UTF-8 of `c` (below 10000 hex) at `p`; returns the end.
char* PutUtf8(uint32_t c, char* p) {
  if (c < 0x80) {
    *p++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *p++ = static_cast<char>(0xC0 | c >> 6);
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *p++ = static_cast<char>(0xE0 | c >> 12);
    *p++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return p;
}

void PutAnsi(uint16_t code, std::string& out) {
  if (code >= 0x100) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

// The character of the well-formed UTF-8 sequence at s[0], with its length
// in `used`; false for anything else.
bool NextUtf8(const uint8_t* s, size_t n, uint32_t* c, size_t* used) {
  const uint8_t b = s[0];
  size_t len;
  uint32_t v, min;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, v = b & 0x1F, min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, v = b & 0x0F, min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, v = b & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (len > n) return false;
  for (size_t k = 1; k < len; ++k) {
    if ((s[k] & 0xC0) != 0x80) return false;
    v = v << 6 | (s[k] & 0x3F);
  }
  if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return false;
  *c = v;
  *used = len;
  return true;
}

// Encodes text of `Char` units into GBK: ASCII as it is, characters the
// table knows through it, any other well-formed character on its own
// through the converter, and a stretch that is not well-formed up to the
// next ASCII character through the converter, which decides what it holds.
template <class Char, class Next>
std::string EncodeGbk(const GbkTables& t, const Char* s, size_t n, IconvConverter& converter, Next next) {
  std::string out;
  out.reserve(n);
  size_t i = 0;
  while (i < n) {
    const size_t ascii = AsciiPrefix(s + i, n - i);
    for (size_t k = 0; k < ascii; ++k) out += static_cast<char>(s[i + k]);
    i += ascii;
    if (i == n) break;
    uint32_t c = 0;
    size_t used = 0;
    if (next(s + i, n - i, &c, &used)) {
      const uint16_t code = t.Encode(c);
      if (code != 0) {
        PutAnsi(code, out);
      } else {
        converter.Append(reinterpret_cast<const char*>(s + i), used * sizeof(Char), out);
      }
      i += used;
      continue;
    }
    size_t end = i;
    while (end < n && static_cast<uint32_t>(s[end]) >= 0x80) ++end;
    converter.Append(reinterpret_cast<const char*>(s + i), (end - i) * sizeof(Char), out);
    i = end;
  }
  return out;
}

}  // namespace

std::wstring AnsiToWide(const char* text, size_t length) {
  if (!text) return std::wstring();
  const GbkTables* t = GbkTables::Decoding();
  if (!t) return BytesToWide(AnsiToWideConverter().Run(text, length));
  // One character per byte at most.
  std::wstring out(length, L'\0');
  wchar_t* p = &out[0];
  DecodeGbk(*t, reinterpret_cast<const uint8_t*>(text), length, [&p](uint32_t c) { *p++ = static_cast<wchar_t>(c); });
  out.resize(static_cast<size_t>(p - out.data()));
  return out;
}

std::wstring AnsiToWide(const std::string& text) { return AnsiToWide(text.data(), text.size()); }

std::string WideToAnsi(const std::wstring& text) {
  const GbkTables* t = GbkTables::Encoding();
  if (!t) {
    return WideToAnsiConverter().Run(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  }
  return EncodeGbk(*t, text.data(), text.size(), WideToAnsiConverter(),
                   [](const wchar_t* s, size_t, uint32_t* c, size_t* used) {
                     *c = static_cast<uint32_t>(s[0]);
                     *used = 1;
                     return true;
                   });
}

std::string AnsiToUtf8(const std::string& text) {
  const GbkTables* t = GbkTables::Decoding();
  if (!t) return AnsiToUtf8Converter().Run(text.data(), text.size());
  const uint8_t* s = reinterpret_cast<const uint8_t*>(text.data());
  const size_t ascii = AsciiPrefix(s, text.size());
  if (ascii == text.size()) return text;
  // Three bytes per input byte at most (a lone byte becoming U+FFFD).
  std::string out(ascii + (text.size() - ascii) * 3, '\0');
  std::memcpy(&out[0], text.data(), ascii);
  char* p = &out[ascii];
  DecodeGbk(*t, s + ascii, text.size() - ascii, [&p](uint32_t c) { p = PutUtf8(c, p); });
  out.resize(static_cast<size_t>(p - out.data()));
  return out;
}

std::string Utf8ToAnsi(const std::string& text) {
  const GbkTables* t = GbkTables::Encoding();
  if (!t) return Utf8ToAnsiConverter().Run(text.data(), text.size());
  return EncodeGbk(*t, reinterpret_cast<const uint8_t*>(text.data()), text.size(), Utf8ToAnsiConverter(), NextUtf8);
}

std::string WideToUtf8(const std::wstring& text) {
  return WideToUtf8Converter().Run(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::wstring Utf8ToWide(const std::string& text) {
  return BytesToWide(Utf8ToWideConverter().Run(text.data(), text.size()));
}

}  // namespace MapGis
