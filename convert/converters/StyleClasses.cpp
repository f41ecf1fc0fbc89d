#include "StyleClasses.h"

#include <cstdio>

using cartography::Condition;
using cartography::Match;

Condition IntegerIs(const std::string& column, long long value) {
  return Condition{column, Match::Equal, std::to_string(value), true};
}

Condition DecimalIs(const std::string& column, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return Condition{column, Match::Equal, text, true, 3};
}

Condition TextIs(const std::string& column, const std::string& utf8) {
  return Condition{column, Match::Equal, utf8, false};
}

cartography::StyleClass ClassOf(std::vector<Condition> when, cartography::FeatureStyle style) {
  cartography::StyleClass c;
  for (const Condition& w : when) c.title += (c.title.empty() ? "" : " ") + w.column + "=" + w.value;
  c.when = std::move(when);
  c.style = std::move(style);
  return c;
}

MarkupHead HeadOfMarkup(const std::string& markup) {
  MarkupHead head;
  const size_t colour = markup.find("<CLR");
  const size_t end = colour == std::string::npos ? std::string::npos : markup.find('>', colour);
  if (end == std::string::npos) return head;
  head.text = markup.substr(0, end + 1);
  head.italic = markup.compare(end + 1, 5, "<ITA>") == 0;
  return head;
}

cartography::StyleClass MarkupClass(const std::string& column, const MarkupHead& head,
                                    cartography::FeatureStyle style) {
  cartography::StyleClass c;
  const std::string italic = head.text + "<ITA>";
  c.title = head.italic ? italic : head.text;
  c.when = {Condition{column, Match::StartsWith, c.title, false}};
  if (!head.italic) c.when.push_back(Condition{column, Match::NotStartsWith, italic, false});
  style.label.italic = head.italic;
  c.style = std::move(style);
  return c;
}
