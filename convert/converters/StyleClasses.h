#pragma once
// Classes of a result's style files: tests on the values the style columns
// hold, written as the table shows them (integers in decimal, doubles with
// the 3 decimals of their columns, texts in UTF-8).
#include <string>
#include <vector>

#include "StyleModel.h"

cartography::Condition IntegerIs(const std::string& column, long long value);
// A value of a double column with 3 decimals.
cartography::Condition DecimalIs(const std::string& column, double value);
cartography::Condition TextIs(const std::string& column, const std::string& utf8);

// The class of the features meeting `when`, titled "column=value ...".
cartography::StyleClass ClassOf(std::vector<cartography::Condition> when, cartography::FeatureStyle style);

// The head of an annotation's label mark-up (UTF-8): its font, size and
// colour tags, and whether the text is italic. Empty for a text without the
// tags.
struct MarkupHead {
  std::string text;
  bool italic = false;
};
MarkupHead HeadOfMarkup(const std::string& markup);

// The class of the labels whose mark-up in `column` starts with `head`
// (italic ones and the others apart).
cartography::StyleClass MarkupClass(const std::string& column, const MarkupHead& head,
                                    cartography::FeatureStyle style);

// A lookup key made of raw values side by side (taken by value: record
// fields are packed).
template <class... T>
std::string RawKey(T... values) {
  std::string key;
  (key.append(reinterpret_cast<const char*>(&values), sizeof values), ...);
  return key;
}
