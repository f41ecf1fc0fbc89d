#include "StyleModel.h"

#include <cstdio>

namespace cartography {

std::string HexColour(const Rgba& c) {
  char text[10];
  if (c.alpha == 255) {
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
  } else {
    std::snprintf(text, sizeof text, "#%02x%02x%02x%02x", c.red, c.green, c.blue, c.alpha);
  }
  return text;
}

std::string AnnotationDisplayText(const std::string& text) {
  std::string body = text;
  const bool stacked = body.size() >= 2 && body.front() == '/' && body.back() == '/';
  if (stacked) body = body.substr(1, body.size() - 2);
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '#' && i + 1 < body.size() && (body[i + 1] == '+' || body[i + 1] == '-' || body[i + 1] == '=')) {
      ++i;
    } else if (stacked && c == '/') {
      out += '\n';
    } else {
      out += c;
    }
  }
  return out;
}

size_t AddStyleClass(LayerStyle& layer, StyleClass styleClass) {
  for (size_t i = 0; i < layer.classes.size(); ++i) {
    if (layer.classes[i].when == styleClass.when) return i;
  }
  layer.classes.push_back(std::move(styleClass));
  return layer.classes.size() - 1;
}

}  // namespace cartography
