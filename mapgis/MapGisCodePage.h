#pragma once
// Text inside MapGIS files is 8-bit text in code page 936 (GBK). Every
// conversion between that code page and wide or UTF-8 text goes through here.
#include <cstddef>
#include <string>

namespace MapGis {

// GBK bytes to wide text; undecodable bytes become U+FFFD.
std::wstring AnsiToWide(const char* text, size_t length);
std::wstring AnsiToWide(const std::string& text);
// Wide text to GBK; characters GBK cannot hold become '?'.
std::string WideToAnsi(const std::wstring& text);
// GBK bytes to UTF-8; undecodable bytes become U+FFFD.
std::string AnsiToUtf8(const std::string& text);
// UTF-8 to GBK; characters GBK cannot hold become '?'.
std::string Utf8ToAnsi(const std::string& text);
// Wide text to UTF-8.
std::string WideToUtf8(const std::wstring& text);
// UTF-8 to wide text; invalid bytes become U+FFFD.
std::wstring Utf8ToWide(const std::string& text);

}  // namespace MapGis
