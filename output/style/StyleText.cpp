#include "StyleText.h"

#include <charconv>
#include <cmath>

namespace cartography {

std::string NumberText(double v) {
  if (!std::isfinite(v)) return "0";
  char buffer[400];  // a finite double has at most 309 integer digits
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6);
  if (r.ec != std::errc()) return "0";
  std::string s(buffer, r.ptr);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string XmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      // As references, so that attribute values keep them too.
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default:
        // XML 1.0 has no way to write the other control characters.
        if (static_cast<unsigned char>(c) >= 0x20) out += c;
        break;
    }
  }
  return out;
}

}  // namespace cartography
