#pragma once
// Text pieces shared by the style writers: numbers that read the same in
// every locale, and XML escaping.
#include <string>

namespace cartography {

// `v` with at most six decimals, trailing zeros removed ("0.15", "12", "-3.5");
// "0" for a value that is not finite.
std::string NumberText(double v);

// UTF-8 `text` with &, <, >, " and ' escaped for XML content and attribute
// values; TAB, LF and CR as character references, other control
// characters dropped (XML cannot carry them).
std::string XmlEscape(const std::string& text);

}  // namespace cartography
