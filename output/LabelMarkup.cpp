// Label mark-up of annotations and text blocks: the text with ArcGIS
// formatting tags for font, size, colour, italic, superscript, subscript
// and underline.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "LegendWriter.h"

namespace {

// Character height in millimetres to the mark-up's size in points.
constexpr float kLabelSizeFactor = 2.8345f;
// Reading stops once the text part holds this many bytes.
constexpr size_t kTextStop = 160;
// Longer font names are cut, so the text always keeps room in the label.
constexpr size_t kMaxFontName = 64;
// Label sizes are clamped to this magnitude.
constexpr int kMaxLabelSize = 99999;

// Text-block parameters that have no field of their own in the record.
constexpr size_t kBlockWidthOffset = 58;     // float
constexpr size_t kBlockHeightOffset = 62;    // float
constexpr size_t kBlockVerticalOffset = 66;  // byte, not 0 for a vertical block
static_assert(sizeof(MapGis::MAPGIS_PntInfo) > kBlockVerticalOffset, "text-block bytes inside the record");

const char kFullWidthComma[] = "\xA3\xAC";

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE; }

// Length of the GBK character at text[i] within text[0..end): 2 for a lead
// byte with its trail byte, else 1.
size_t CharLength(const char* text, size_t i, size_t end) {
  return IsLead(static_cast<unsigned char>(text[i])) && i + 1 < end &&
                 IsTrail(static_cast<unsigned char>(text[i + 1]))
             ? 2
             : 1;
}

// Open formatting of the annotation text. Underline is tracked on its own
// as well, because superscript and subscript can replace the underline mode
// while its tag is still open.
enum class Mode { None, Underline, Super, Sub };

struct State {
  Mode mode = Mode::None;
  bool underlineOpen = false;
};

std::string ClosingTags(const State& s) {
  std::string tags;
  if (s.mode == Mode::Super) tags = "</SUP>";
  if (s.mode == Mode::Sub) tags = "</SUB>";
  if (s.underlineOpen) tags += "</UND>";
  return tags;
}

// The text part of a label, built piece by piece. Every piece boundary is
// a place where the text may be cut without splitting a character, a tag
// or an entity; the formatting open at that place is kept with it.
class TextPart {
 public:
  explicit TextPart(State start) : state_(start) { Mark(); }

  const std::string& Text() const { return text_; }
  State& Formatting() { return state_; }

  void Piece(const char* bytes, size_t n) {
    text_.append(bytes, n);
    Mark();
  }
  void Piece(const char* s) { Piece(s, std::strlen(s)); }
  // A character copied as it is, except that "&" and "<" are escaped so
  // they cannot be read as mark-up.
  void Plain(const char* text, size_t n) {
    if (n == 1 && text[0] == '&') return Piece("&amp;");
    if (n == 1 && text[0] == '<') return Piece("&lt;");
    Piece(text, n);
  }
  void Truncated() { truncated_ = true; }

  // The text part for a label whose other parts take `fixed` bytes: the
  // whole text with "..." when reading stopped early, and the open tags
  // closed; cut back at the last piece boundary that fits when it would
  // make the label longer than kMaxLabelLength.
  std::string Finish(size_t fixed) const {
    std::string whole = text_ + (truncated_ ? "..." : "") + ClosingTags(state_);
    if (fixed + whole.size() <= LegendWriter::kMaxLabelLength) return whole;
    const size_t budget = LegendWriter::kMaxLabelLength > fixed ? LegendWriter::kMaxLabelLength - fixed : 0;
    for (size_t m = marks_.size(); m-- > 0;) {
      const std::string closing = ClosingTags(marks_[m].state);
      if (marks_[m].length + 3 + closing.size() <= budget) {
        return text_.substr(0, marks_[m].length) + "..." + closing;
      }
    }
    return std::string();  // unreachable: the font name is capped
  }

 private:
  struct Boundary {
    size_t length;
    State state;
  };
  void Mark() { marks_.push_back(Boundary{text_.size(), state_}); }

  std::string text_;
  State state_;
  bool truncated_ = false;
  std::vector<Boundary> marks_;
};

// Integer part of the character height in points, clamped; not-a-number
// and infinite heights give 0.
int LabelSize(float height) {
  const float size = height * kLabelSizeFactor;
  if (!std::isfinite(size)) return 0;
  if (size >= static_cast<float>(kMaxLabelSize)) return kMaxLabelSize;
  if (size <= -static_cast<float>(kMaxLabelSize)) return -kMaxLabelSize;
  return static_cast<int>(size);
}

// The font name cut to kMaxFontName bytes at a character boundary.
std::string CappedFontName(const char* fontName) {
  const size_t n = std::strlen(fontName);
  size_t keep = 0;
  while (keep < n) {
    const size_t len = CharLength(fontName, keep, n);
    if (keep + len > kMaxFontName) break;
    keep += len;
  }
  return std::string(fontName, keep);
}

// Wraps the text part into the font-and-colour template and writes the
// zero-terminated result into `out`.
void WriteLabel(const TextPart& part, bool italic, const char* fontName, float height, uint32_t colour, char* out) {
  const std::string font = CappedFontName(fontName);
  char head[160];
  std::snprintf(head, sizeof head, "<FNT name='%s' size='%d'><CLR red='%u' green='%u' blue='%u'>", font.c_str(),
                LabelSize(height), static_cast<unsigned>(colour & 0xFFu), static_cast<unsigned>((colour >> 8) & 0xFFu),
                static_cast<unsigned>((colour >> 16) & 0xFFu));
  const char tail[] = "</CLR></FNT>";
  size_t fixed = std::strlen(head) + std::strlen(tail);
  if (italic) fixed += std::strlen("<ITA>") + std::strlen("</ITA>");

  std::string label = head;
  if (italic) label += "<ITA>";
  label += part.Finish(fixed);
  if (italic) label += "</ITA>";
  label += tail;
  std::memcpy(out, label.c_str(), label.size() + 1);
}

float FloatAt(const MapGis::MAPGIS_PntInfo& record, size_t offset) {
  float value;
  std::memcpy(&value, reinterpret_cast<const unsigned char*>(&record) + offset, sizeof value);
  return value;
}

// Bytes per line of a text block: twice the number of characters that fit
// across a horizontal block (or down a vertical one). A block whose
// character size is not positive, or whose quotient is not a finite
// number, is not wrapped.
constexpr long long kNoWrap = std::numeric_limits<long long>::max();
long long BlockLineLength(const MapGis::MAPGIS_PntInfo& record) {
  unsigned char vertical;
  std::memcpy(&vertical, reinterpret_cast<const unsigned char*>(&record) + kBlockVerticalOffset, 1);
  const float extent = FloatAt(record, vertical != 0 ? kBlockHeightOffset : kBlockWidthOffset);
  const float charSize = vertical != 0 ? record.param.note.height : record.param.note.width;
  if (!(charSize > 0.0f)) return kNoWrap;
  const float quotient = extent / charSize;
  if (!std::isfinite(quotient)) return kNoWrap;
  // Beyond a billion characters per line nothing is ever wrapped anyway.
  const double whole = std::trunc(std::fmax(-1.0e9, std::fmin(1.0e9, static_cast<double>(quotient))));
  if (whole >= 1.0e9) return kNoWrap;
  return 2 * static_cast<long long>(whole);
}

}  // namespace

bool LegendWriter::FormatNoteLabel(const MapGis::MAPGIS_PntInfo* record, const char* text, const char* fontName,
                                   uint32_t colour, char* out) {
  if (!record || !text || !fontName || !out) return false;
  const size_t n = std::strlen(text);
  if (n == 0) return false;

  // Text between two "/" is underlined; the slashes are not shown.
  size_t i = 0;
  size_t end = n;
  State start;
  if (text[0] == '/' && text[n - 1] == '/') {
    start.mode = Mode::Underline;
    start.underlineOpen = true;
    i = 1;
    end = n - 1;
  }
  TextPart part(start);
  if (start.underlineOpen) part.Piece("<UND>");
  State& s = part.Formatting();

  // After "#+", "#-" or "#=" the next character is copied uninterpreted.
  auto copyNext = [&]() {
    if (i >= end) return;
    const size_t len = CharLength(text, i, end);
    part.Plain(text + i, len);
    i += len;
  };

  while (i < end) {
    if (part.Text().size() >= kTextStop) {
      part.Truncated();
      break;
    }
    const char c = text[i];
    if (i + 1 == end) {
      // The last character is kept unless it is a comma or a space.
      if (c != ',' && c != ' ') part.Plain(text + i, 1);
      ++i;
      continue;
    }
    const char next = text[i + 1];
    if (c == '#' && next == '+') {
      std::string tags = s.mode == Mode::Sub ? "</SUB>" : "";
      s.mode = Mode::Super;
      part.Piece((tags + "<SUP>").c_str());
      i += 2;
      copyNext();
    } else if (c == '#' && next == '-') {
      std::string tags = s.mode == Mode::Super ? "</SUP>" : "";
      s.mode = Mode::Sub;
      part.Piece((tags + "<SUB>").c_str());
      i += 2;
      copyNext();
    } else if (c == '#' && next == '=') {
      const char* tag = s.mode == Mode::Super ? "</SUP>" : s.mode == Mode::Sub ? "</SUB>" : "";
      s.mode = Mode::None;
      part.Piece(tag);
      i += 2;
      copyNext();
    } else if (c == ' ') {
      ++i;
    } else if (c == ',') {
      part.Piece(kFullWidthComma);
      ++i;
    } else if (c == '/') {
      if (s.mode == Mode::Underline) {
        s.mode = Mode::None;
        s.underlineOpen = false;
        part.Piece("</UND>\r\n");
      }
      ++i;
    } else {
      const size_t len = CharLength(text, i, end);
      part.Plain(text + i, len);
      i += len;
    }
  }

  WriteLabel(part, record->param.note.fontStyle > 0, fontName, record->param.note.height, colour, out);
  return true;
}

bool LegendWriter::FormatBlockLabel(const MapGis::MAPGIS_PntInfo* record, const char* text, const char* fontName,
                                    uint32_t colour, char* out) {
  if (!record || !text || !fontName || !out) return false;
  const size_t n = std::strlen(text);
  if (n == 0) return false;

  const long long lineLength = BlockLineLength(*record);
  TextPart part{State{}};
  long long k = 0;
  size_t i = 0;
  while (i < n) {
    if (part.Text().size() >= kTextStop) {
      part.Truncated();
      break;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c & 0x80) {
      // A GBK character is kept whole; a high byte that starts none is dropped.
      if (CharLength(text, i, n) == 2) {
        part.Piece(text + i, 2);
        k += 2;
        ++i;
      }
    } else if (c == ',') {
      part.Piece(kFullWidthComma);
    } else if (c != ' ') {
      part.Plain(text + i, 1);
      k += 1;
    }
    ++i;
    if (k >= lineLength) {
      part.Piece("\r\n");
      k = 0;
    }
  }

  WriteLabel(part, false, fontName, record->param.note.height, colour, out);
  return true;
}
