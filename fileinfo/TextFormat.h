#pragma once
// Fixed text forms for the inspection reports, so that two runs on the same
// file print the same bytes and can be compared with diff.
#include <cstddef>
#include <string>

namespace gridmoor {

// printf-style formatting into a std::string (C locale: '.' decimal point).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A double with a fixed number of decimals.
std::string Fixed(double v, int decimals = 6);

// An angle stored as DDDMMSS.ss, followed by its decimal degrees.
std::string Angle(double dms);

// GBK bytes from a MapGIS file as UTF-8.
std::string FromGbk(const char* text);
std::string FromGbk(const char* text, size_t length);

// UTF-8 text with quotes, backslashes and control bytes escaped, so that
// one value always stays on one line; Quoted adds the double quotes.
std::string Escaped(const std::string& utf8);
std::string Quoted(const std::string& utf8);

// Bytes as lower-case hex, at most `limit` of them, then "..." when cut.
std::string Hex(const void* data, size_t length, size_t limit = 32);

}  // namespace gridmoor
