#include "TextFormat.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "MapGis.h"

namespace gridmoor {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (needed > 0) {
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    out.assign(buffer.data(), static_cast<size_t>(needed));
  }
  va_end(args);
  return out;
}

std::string Fixed(double v, int decimals) { return Format("%.*f", decimals, v); }

std::string Angle(double dms) {
  return Format("%.6f (%.10f deg)", dms, MapGis::DMS2Degree(dms));
}

std::string FromGbk(const char* text) {
  if (!text) return std::string();
  return MapGis::AnsiToUtf8(std::string(text));
}

std::string FromGbk(const char* text, size_t length) {
  if (!text) return std::string();
  return MapGis::AnsiToUtf8(std::string(text, length));
}

std::string Quoted(const std::string& utf8) { return "\"" + Escaped(utf8) + "\""; }

std::string Escaped(const std::string& utf8) {
  std::string out;
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7f) {
          out += Format("\\x%02x", c);
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

std::string Hex(const void* data, size_t length, size_t limit) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::string out;
  const size_t shown = length < limit ? length : limit;
  for (size_t i = 0; i < shown; ++i) out += Format("%02x", bytes[i]);
  if (shown < length) out += "...";
  return out;
}

}  // namespace gridmoor
