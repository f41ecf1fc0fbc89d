#pragma once
// Reads the XML that the style writers produce back with GDAL's XML parser,
// so that tests look at elements and attributes rather than at spelling.
#include <cpl_minixml.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class XmlDocument {
 public:
  explicit XmlDocument(const std::string& text) : root_(CPLParseXMLString(text.c_str()), CPLDestroyXMLNode) {}
  bool Parsed() const { return root_ != nullptr; }
  // Every element named `name` below `from` (the whole document when null), in document order.
  std::vector<const CPLXMLNode*> All(const char* name, const CPLXMLNode* from = nullptr) const;

 private:
  std::unique_ptr<CPLXMLNode, void (*)(CPLXMLNode*)> root_;
};

// The value of attribute `name` of `node` ("" when absent).
std::string Attribute(const CPLXMLNode* node, const char* name);
// The text content of `node`.
std::string Content(const CPLXMLNode* node);
// The value of the <Option name="name" value="..."/> child of an option map below `node`.
std::string OptionValue(const CPLXMLNode* node, const char* name);

}  // namespace testing_support
