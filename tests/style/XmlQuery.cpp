#include "XmlQuery.h"

#include <cstring>

namespace testing_support {

namespace {

void Collect(const CPLXMLNode* node, const char* name, std::vector<const CPLXMLNode*>* out) {
  for (; node; node = node->psNext) {
    if (node->eType != CXT_Element) continue;
    if (std::strcmp(node->pszValue, name) == 0) out->push_back(node);
    Collect(node->psChild, name, out);
  }
}

}  // namespace

std::vector<const CPLXMLNode*> XmlDocument::All(const char* name, const CPLXMLNode* from) const {
  std::vector<const CPLXMLNode*> out;
  if (from) {
    Collect(from->psChild, name, &out);
  } else {
    Collect(root_.get(), name, &out);
  }
  return out;
}

std::string Attribute(const CPLXMLNode* node, const char* name) {
  for (const CPLXMLNode* c = node->psChild; c; c = c->psNext) {
    if (c->eType == CXT_Attribute && std::strcmp(c->pszValue, name) == 0) {
      return c->psChild ? c->psChild->pszValue : "";
    }
  }
  return "";
}

std::string Content(const CPLXMLNode* node) {
  std::string out;
  for (const CPLXMLNode* c = node->psChild; c; c = c->psNext) {
    if (c->eType == CXT_Text) out += c->pszValue;
  }
  return out;
}

std::string OptionValue(const CPLXMLNode* node, const char* name) {
  for (const CPLXMLNode* c = node->psChild; c; c = c->psNext) {
    if (c->eType != CXT_Element) continue;
    if (std::strcmp(c->pszValue, "Option") == 0 && Attribute(c, "name") == name) return Attribute(c, "value");
    if (std::strcmp(c->pszValue, "Option") == 0 && Attribute(c, "type") == "Map" && Attribute(c, "name").empty()) {
      const std::string v = OptionValue(c, name);
      if (!v.empty()) return v;
    }
  }
  return "";
}

}  // namespace testing_support
