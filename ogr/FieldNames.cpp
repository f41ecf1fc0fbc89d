#include "FieldNames.h"

namespace ogrmapgis {

namespace {

std::string Folded(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

}  // namespace

std::string FieldNames::Unique(const std::string& wanted) {
  const std::string key = Folded(wanted);
  if (taken_.insert(key).second) return wanted;
  int& n = next_.try_emplace(key, 2).first->second;
  for (;; ++n) {
    const std::string suffix = "_" + std::to_string(n);
    if (taken_.insert(key + suffix).second) {
      ++n;
      return wanted + suffix;
    }
  }
}

}  // namespace ogrmapgis
