// Label mark-up of annotations and text blocks. Point records are written
// byte by byte at their documented offsets: character height at 33, width
// at 37, font style at 53, and for text blocks the floats at 58 and 62 and
// the arrangement byte at 66.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "LegendWriter.h"
#include "MapGis.h"
#include "TempDir.h"

using testing_support::ByteBuilder;
using testing_support::TempDir;

namespace {

const char kSong[] = "\xCB\xCE\xCC\xE5";  // 宋体 in code page 936
const char kComma[] = "\xA3\xAC";         // full-width comma
const char kHead[] = "<FNT name='\xCB\xCE\xCC\xE5' size='14'><CLR red='255' green='0' blue='0'>";
const char kTail[] = "</CLR></FNT>";
constexpr uint32_t kRed = 0x0000FF;

class RecordBytes {
 public:
  RecordBytes() : b_(93) { b_.U8(0, 1).F32(33, 5.0f).F32(37, 5.0f); }
  RecordBytes& Height(float v) { return F(33, v); }
  RecordBytes& Width(float v) { return F(37, v); }
  RecordBytes& Style(uint8_t v) {
    b_.U8(53, v);
    return *this;
  }
  RecordBytes& BlockWidth(float v) { return F(58, v); }
  RecordBytes& BlockHeight(float v) { return F(62, v); }
  RecordBytes& Vertical(uint8_t v) {
    b_.U8(66, v);
    return *this;
  }
  MapGis::MAPGIS_PntInfo Record() const {
    MapGis::MAPGIS_PntInfo r;
    std::memcpy(&r, b_.Bytes().data(), sizeof r);
    return r;
  }

 private:
  RecordBytes& F(size_t o, float v) {
    b_.F32(o, v);
    return *this;
  }
  ByteBuilder b_;
};

// Runs a label builder into a 260-byte buffer and returns what it holds.
template <class Format>
std::string Label(Format format, const RecordBytes& bytes, const std::string& text, const char* font = kSong,
                uint32_t colour = kRed) {
  const MapGis::MAPGIS_PntInfo record = bytes.Record();
  char out[LegendWriter::kLabelBufferSize];
  std::memset(out, 'Z', sizeof out);
  EXPECT_TRUE(format(&record, text.c_str(), font, colour, out));
  const void* end = std::memchr(out, '\0', sizeof out);
  EXPECT_NE(end, nullptr);
  return end ? std::string(out) : std::string();
}

std::string Note(const std::string& text, const RecordBytes& bytes = RecordBytes()) {
  return Label(LegendWriter::FormatNoteLabel, bytes, text);
}
std::string Block(const std::string& text, const RecordBytes& bytes) {
  return Label(LegendWriter::FormatBlockLabel, bytes, text);
}
std::string Wrapped(const std::string& body) { return kHead + body + kTail; }
// The text part of a label: what stands between the colour tags.
std::string Body(const std::string& label) {
  const size_t from = label.find("'>", label.find("<CLR ")) + 2;
  return label.substr(from, label.rfind("</CLR>") - from);
}

// True when `s` is valid GBK: ASCII bytes and lead bytes with their trail.
bool WholeGbk(const std::string& s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) continue;
    if (c < 0x81 || c > 0xFE || i + 1 >= s.size()) return false;
    const unsigned char t = static_cast<unsigned char>(s[++i]);
    if (t < 0x40 || t > 0xFE) return false;
  }
  return true;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(NoteLabelTest, WorkedAnnotations) {
  EXPECT_EQ(Note("/ABC/"), Wrapped("<UND>ABC</UND>"));
  EXPECT_EQ(Note("H#+2#=O"), Wrapped("H<SUP>2</SUP>O"));
  EXPECT_EQ(Note("a,b"), Wrapped(std::string("a") + kComma + "b"));
  EXPECT_EQ(Note("x<y & z"), Wrapped("x&lt;y&amp;z"));
}

TEST(NoteLabelTest, SizeItalicAndColourChannels) {
  EXPECT_EQ(Note("ab", RecordBytes().Height(5.0f).Style(2)), Wrapped("<ITA>ab</ITA>"));
  EXPECT_EQ(Note("ab", RecordBytes().Style(0)), Wrapped("ab"));
  EXPECT_EQ(Label(LegendWriter::FormatNoteLabel, RecordBytes().Height(10.0f), "ab", "Arial", 0x00123456),
            "<FNT name='Arial' size='28'><CLR red='86' green='52' blue='18'>ab</CLR></FNT>");
  // Sizes are truncated, never rounded.
  EXPECT_EQ(Label(LegendWriter::FormatNoteLabel, RecordBytes().Height(0.35f), "ab", "A", 0),
            "<FNT name='A' size='0'><CLR red='0' green='0' blue='0'>ab</CLR></FNT>");
}

TEST(NoteLabelTest, HeightsThatAreNoNumberOrHugeGiveSaneSizes) {
  auto sizeOf = [](float height) {
    const std::string label = Label(LegendWriter::FormatNoteLabel, RecordBytes().Height(height), "ab", "A", 0);
    const size_t from = label.find("size='") + 6;
    return label.substr(from, label.find('\'', from) - from);
  };
  EXPECT_EQ(sizeOf(std::numeric_limits<float>::quiet_NaN()), "0");
  EXPECT_EQ(sizeOf(std::numeric_limits<float>::infinity()), "0");
  EXPECT_EQ(sizeOf(1.0e30f), "99999");
  EXPECT_EQ(sizeOf(-1.0e30f), "-99999");
  EXPECT_EQ(sizeOf(-5.0f), "-14");
}

TEST(NoteLabelTest, FormattingSequences) {
  // "#-" closes an open superscript; "#" before anything else is kept.
  EXPECT_EQ(Note("#+1#-2"), Wrapped("<SUP>1</SUP><SUB>2</SUB>"));
  EXPECT_EQ(Note("a#-bc"), Wrapped("a<SUB>bc</SUB>"));
  EXPECT_EQ(Note("a#b#"), Wrapped("a#b#"));
  // The character after a sequence is copied as it is: a comma stays ASCII.
  EXPECT_EQ(Note("#+,x"), Wrapped("<SUP>,x</SUP>"));
  // A "/" inside underlined text ends the underline and the line.
  EXPECT_EQ(Note("/a/b/"), Wrapped("<UND>a</UND>\r\nb"));
  // Outside underline a "/" is dropped, except as the last character.
  EXPECT_EQ(Note("a/b/c"), Wrapped("abc"));
  EXPECT_EQ(Note("ab/"), Wrapped("ab/"));
  // A trailing comma or space is dropped, inner spaces always.
  EXPECT_EQ(Note("a b,"), Wrapped("ab"));
  EXPECT_EQ(Note("ab "), Wrapped("ab"));
  // A single "/" opens and closes an empty underline.
  EXPECT_EQ(Note("/"), Wrapped("<UND></UND>"));
}

TEST(NoteLabelTest, TagsAreAlwaysBalancedAndMarkupCharactersEscaped) {
  // Superscript inside underlined text: both tags are closed, nested.
  EXPECT_EQ(Note("/H#+2#=O/"), Wrapped("<UND>H<SUP>2</SUP>O</UND>"));
  EXPECT_EQ(Note("/a#-b/"), Wrapped("<UND>a<SUB>b</SUB></UND>"));
  // "&" and "<" are escaped wherever they stand.
  EXPECT_EQ(Note("a<"), Wrapped("a&lt;"));
  EXPECT_EQ(Note("a&"), Wrapped("a&amp;"));
  EXPECT_EQ(Note("#+<b"), Wrapped("<SUP>&lt;b</SUP>"));
}

TEST(NoteLabelTest, GbkTextIsCopiedWhole) {
  // 中文 with a full-width comma; trail bytes below 0x80 are not ASCII.
  EXPECT_EQ(Note("\xD6\xD0,\xCE\xC4"), Wrapped(std::string("\xD6\xD0") + kComma + "\xCE\xC4"));
  EXPECT_EQ(Note("\x81\x40\x81\x7E"), Wrapped("\x81\x40\x81\x7E"));
}

TEST(NoteLabelTest, LongTextStopsAfter160Bytes) {
  EXPECT_EQ(Note(std::string(200, 'a')), Wrapped(std::string(160, 'a') + "..."));
  // The underline tag counts towards the 160 bytes and is still closed.
  EXPECT_EQ(Note("/" + std::string(200, 'a') + "/"), Wrapped("<UND>" + std::string(155, 'a') + "...</UND>"));
  // Exactly 160 bytes: nothing was cut, so no "...".
  EXPECT_EQ(Note(std::string(160, 'a')), Wrapped(std::string(160, 'a')));
}

TEST(NoteLabelTest, MissingArgumentsWriteNothing) {
  const MapGis::MAPGIS_PntInfo record = RecordBytes().Record();
  char out[LegendWriter::kLabelBufferSize];
  std::memset(out, 'Z', sizeof out);
  for (auto format : {LegendWriter::FormatNoteLabel, LegendWriter::FormatBlockLabel}) {
    EXPECT_FALSE(format(nullptr, "ab", kSong, kRed, out));
    EXPECT_FALSE(format(&record, nullptr, kSong, kRed, out));
    EXPECT_FALSE(format(&record, "ab", nullptr, kRed, out));
    EXPECT_FALSE(format(&record, "", kSong, kRed, out));
  }
  EXPECT_EQ(std::string(out, sizeof out), std::string(sizeof out, 'Z'));
}

// However long the font name, the label stays within 255 bytes, keeps all
// its closing tags and never ends its text in half a GBK character.
TEST(NoteLabelTest, LongGbkLabelsAreCutAtCharacterBoundaries) {
  std::string pairs;
  for (int i = 0; i < 120; ++i) pairs += "\xB0\xA1";  // 啊
  for (const std::string& lead : {std::string(), std::string("x")}) {
    for (size_t fontLength = 1; fontLength <= 80; ++fontLength) {
      const std::string font(fontLength, 'F');
      const std::string label = Label(LegendWriter::FormatNoteLabel, RecordBytes().Style(1), "/" + lead + pairs + "/",
                                    font.c_str(), 0xFFFFFF);
      SCOPED_TRACE(fontLength);
      EXPECT_LE(label.size(), LegendWriter::kMaxLabelLength);
      ASSERT_TRUE(EndsWith(label, "...</UND></ITA></CLR></FNT>")) << label;
      const size_t from = label.find("<UND>") + 5;
      const std::string text = label.substr(from, label.size() - from - std::strlen("...</UND></ITA></CLR></FNT>"));
      EXPECT_EQ(text.compare(0, lead.size(), lead), 0);
      EXPECT_TRUE(WholeGbk(text));
      EXPECT_EQ((text.size() - lead.size()) % 2, 0u);
      // Cut no further than needed: one byte may stay unused before a pair.
      EXPECT_GE(label.size(), LegendWriter::kMaxLabelLength - 1);
    }
  }
}

TEST(BlockLabelTest, WrapsByBlockWidthOrHeight) {
  const RecordBytes horizontal = RecordBytes().BlockWidth(20.0f).Width(5.0f).Vertical(0);
  EXPECT_EQ(Block("ABCDEFGHIJKLMNOPQRST", horizontal), Wrapped("ABCDEFGH\r\nIJKLMNOP\r\nQRST"));
  EXPECT_EQ(Block("ABCDEFGHIJKLMNOP", horizontal), Wrapped("ABCDEFGH\r\nIJKLMNOP\r\n"));
  // GBK characters count two bytes each; commas and spaces count nothing.
  EXPECT_EQ(Block("\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1", horizontal),
            Wrapped("\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1\r\n\xB0\xA1"));
  EXPECT_EQ(Block("ABCD,E FGHIJ", horizontal), Wrapped(std::string("ABCD") + kComma + "EFGH\r\nIJ"));
  // A vertical block: block height at 62 over character height at 33.
  const RecordBytes vertical = RecordBytes().BlockHeight(15.0f).Height(5.0f).BlockWidth(100.0f).Vertical(1);
  EXPECT_EQ(Block("ABCDEFGH", vertical), Wrapped("ABCDEF\r\nGH"));
}

TEST(BlockLabelTest, BlocksWithoutUsableSizeAreNotWrapped) {
  const std::string text(30, 'A');
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (const RecordBytes& r :
       {RecordBytes().BlockWidth(20.0f).Width(0.0f), RecordBytes().BlockWidth(20.0f).Width(-5.0f),
        RecordBytes().BlockWidth(20.0f).Width(nan), RecordBytes().BlockWidth(nan).Width(5.0f),
        RecordBytes().BlockWidth(inf).Width(5.0f), RecordBytes().BlockWidth(3.0e38f).Width(1.0e-30f),
        RecordBytes().Vertical(1).BlockHeight(20.0f).Height(0.0f)}) {
    EXPECT_EQ(Body(Block(text, r)), text);
  }
}

TEST(BlockLabelTest, GbkPairsEscapesAndDroppedBytes) {
  const RecordBytes noWrap = RecordBytes().Width(0.0f);
  // A GBK character whose trail byte is in the ASCII range keeps both bytes.
  EXPECT_EQ(Block("\x81\x40", noWrap), Wrapped("\x81\x40"));
  EXPECT_EQ(Block("a\xD6\xD0" "b", noWrap), Wrapped("a\xD6\xD0" "b"));
  // High bytes that start no character are dropped.
  EXPECT_EQ(Block("a\x80" "b\xFF" "c\xB0", noWrap), Wrapped("abc"));
  EXPECT_EQ(Block("a\xB0\x20" "b", noWrap), Wrapped("ab"));
  EXPECT_EQ(Block("x<y & z", noWrap), Wrapped("x&lt;y&amp;z"));
  // No underline, superscript or subscript in text blocks.
  EXPECT_EQ(Block("/H#+2/", noWrap), Wrapped("/H#+2/"));
}

TEST(BlockLabelTest, LongTextStopsAfter160Bytes) {
  EXPECT_EQ(Block(std::string(200, 'a'), RecordBytes().Width(0.0f)), Wrapped(std::string(160, 'a') + "..."));
  std::string pairs;
  for (int i = 0; i < 127; ++i) pairs += "\xB0\xA1";
  for (size_t fontLength = 1; fontLength <= 80; ++fontLength) {
    const std::string font(fontLength, 'F');
    const std::string label = Label(LegendWriter::FormatBlockLabel, RecordBytes().Width(0.0f), pairs, font.c_str(),
                                  0xFFFFFF);
    SCOPED_TRACE(fontLength);
    EXPECT_LE(label.size(), LegendWriter::kMaxLabelLength);
    ASSERT_TRUE(EndsWith(label, "...</CLR></FNT>"));
    const size_t from = label.find("blue='255'>") + 11;
    const std::string text = label.substr(from, label.size() - from - std::strlen("...</CLR></FNT>"));
    EXPECT_TRUE(WholeGbk(text));
    EXPECT_EQ(text.size() % 2, 0u);
  }
}

// Annotations of a real land-use map (texts framed by "/" among them): every
// label fits its column and closes its tags.
TEST(NoteLabelTest, RealAnnotations) {
  TempDir dir;
  const std::wstring path = dir.CopySample("jz-project/JZ.WT");
  MapGis::MapGis_FastReader reader;
  ASSERT_EQ(reader.Open(path.c_str()), 99999);
  int slots = 0;
  ASSERT_GE(reader.GetPointCount(&slots), 0);
  int notes = 0, underlined = 0;
  for (int i = 0; i < slots; ++i) {
    MapGis::MAPGIS_PntInfo record;
    if (reader.ReadPointInfo(i, &record, nullptr) != 99999 || record.kind != 0) continue;
    std::vector<char> text(2600, '\0');
    if (reader.GetNoteInfo(i, text.data()) != 99999) continue;
    const std::string t(text.data());
    if (t.empty() || t.size() > 254) continue;
    char font[260] = {0};
    MapGis::GetFontName(record.param.note.chFont, font);
    char out[LegendWriter::kLabelBufferSize];
    ASSERT_TRUE(LegendWriter::FormatNoteLabel(&record, t.c_str(), font, kRed, out));
    const std::string label(out);
    ++notes;
    EXPECT_LE(label.size(), LegendWriter::kMaxLabelLength) << label;
    EXPECT_TRUE(EndsWith(label, kTail)) << label;
    EXPECT_EQ(label.compare(0, 11, "<FNT name='"), 0) << label;
    if (t.size() > 1 && t.front() == '/' && t.back() == '/') {
      ++underlined;
      EXPECT_NE(label.find("<UND>"), std::string::npos) << label;
      EXPECT_NE(label.find("</UND>"), std::string::npos) << label;
    }
  }
  EXPECT_GT(notes, 0);
  EXPECT_GT(underlined, 0);
}

}  // namespace
