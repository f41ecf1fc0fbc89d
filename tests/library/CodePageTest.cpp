// The code-page conversions give the same text as the system's converter
// run over the whole input (each bad character becoming one replacement):
// every byte and byte pair, every character below 10000 hex, bad and cut
// sequences, and long mixed texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "IconvConverter.h"
#include "MapGisCodePage.h"

using namespace MapGis;
using detail::IconvConverter;
using detail::kAnsiCodePage;

namespace {

std::string WideChar(wchar_t c) { return std::string(reinterpret_cast<const char*>(&c), sizeof c); }

struct Reference {
  IconvConverter gbkToUtf8{"UTF-8", kAnsiCodePage, 1, "\xEF\xBF\xBD"};
  IconvConverter gbkToWide{"WCHAR_T", kAnsiCodePage, 1, WideChar(0xFFFD)};
  IconvConverter utf8ToGbk{kAnsiCodePage, "UTF-8", 1, "?"};
  IconvConverter wideToGbk{kAnsiCodePage, "WCHAR_T", sizeof(wchar_t), "?"};

  std::wstring GbkToWide(const std::string& s) {
    const std::string bytes = gbkToWide.Run(s.data(), s.size());
    std::wstring w(bytes.size() / sizeof(wchar_t), L'\0');
    if (!w.empty()) std::memcpy(&w[0], bytes.data(), w.size() * sizeof(wchar_t));
    return w;
  }
  std::string WideToGbk(const std::wstring& w) {
    return wideToGbk.Run(reinterpret_cast<const char*>(w.data()), w.size() * sizeof(wchar_t));
  }
};

std::string Hex(const std::string& s) {
  std::string h;
  char b[4];
  for (unsigned char c : s) std::snprintf(b, sizeof b, "%02X ", c), h += b;
  return h;
}

// Checks both decodings of `gbk`; returns false (once reported) on a difference.
bool SameDecoding(Reference& ref, const std::string& gbk) {
  const std::string utf8 = AnsiToUtf8(gbk);
  const std::wstring wide = AnsiToWide(gbk);
  if (utf8 == ref.gbkToUtf8.Run(gbk.data(), gbk.size()) && wide == ref.GbkToWide(gbk)) return true;
  ADD_FAILURE() << "decoding differs for " << Hex(gbk);
  return false;
}

bool SameUtf8Encoding(Reference& ref, const std::string& utf8) {
  if (Utf8ToAnsi(utf8) == ref.utf8ToGbk.Run(utf8.data(), utf8.size())) return true;
  ADD_FAILURE() << "UTF-8 encoding differs for " << Hex(utf8);
  return false;
}

bool SameWideEncoding(Reference& ref, const std::wstring& wide) {
  if (WideToAnsi(wide) == ref.WideToGbk(wide)) return true;
  ADD_FAILURE() << "wide encoding differs for " << Hex(WideChar(wide.empty() ? 0 : wide[0]));
  return false;
}

// Standard UTF-8 of any value below 110000 hex, surrogates included (which
// makes them sequences the converter refuses).
std::string Utf8Of(uint32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | c >> 6), s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | c >> 12), s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | c >> 18), s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    s += static_cast<char>(0x80 | (c >> 6 & 0x3F)), s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

// Bytes at the edges of the ASCII, lead, trail and UTF-8 classes.
const std::vector<uint8_t> kEdgeBytes = {0x00, 0x20, 0x3F, 0x40, 0x41, 0x7E, 0x7F, 0x80, 0x81, 0x8F, 0x90, 0x9F,
                                         0xA0, 0xA1, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0,
                                         0xF4, 0xF5, 0xF8, 0xFC, 0xFE, 0xFF};

// Random texts that mix ASCII with bytes of every class, `count` of them.
std::vector<std::string> MixedTexts(unsigned seed, int count) {
  std::mt19937 rng(seed);
  std::vector<std::string> texts;
  for (int k = 0; k < count; ++k) {
    std::string s(rng() % 40, '\0');
    for (char& c : s) c = static_cast<char>(rng() % 3 == 0 ? 'a' + rng() % 26 : rng() % 256);
    texts.push_back(s);
  }
  return texts;
}

}  // namespace

TEST(CodePage, DecodesEveryByteAndPairAsTheConverterDoes) {
  Reference ref;
  std::string all;  // every pair in a row, cut lead at the end
  for (int a = 0; a < 256; ++a) {
    if (!SameDecoding(ref, std::string(1, static_cast<char>(a)))) return;
    for (int b = 0; b < 256; ++b) {
      const std::string pair{static_cast<char>(a), static_cast<char>(b)};
      if (!SameDecoding(ref, pair)) return;
      if (a >= 0x80) all += pair;
    }
  }
  EXPECT_TRUE(SameDecoding(ref, all + "\xB5"));
  // Three bytes: how a bad pair's trail starts over.
  for (uint8_t a : kEdgeBytes) {
    for (uint8_t b : kEdgeBytes) {
      for (uint8_t c : kEdgeBytes) {
        if (!SameDecoding(ref, {static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)})) return;
      }
    }
  }
  for (const std::string& s : MixedTexts(19, 3000)) {
    if (!SameDecoding(ref, s)) return;
  }
  EXPECT_EQ(AnsiToUtf8("\xB5\xE3\xBA\xC5 id"), "点号 id");
  EXPECT_EQ(AnsiToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(CodePage, EncodesEveryCharacterAsTheConverterDoes) {
  Reference ref;
  std::wstring allWide;
  std::string allUtf8;  // the characters code page 936 holds (the converter is slow on long bad runs)
  for (uint32_t c = 0; c < 0x10000; ++c) {
    if (!SameWideEncoding(ref, std::wstring(1, static_cast<wchar_t>(c)))) return;
    if (!SameUtf8Encoding(ref, Utf8Of(c))) return;
    allWide += static_cast<wchar_t>(c);
    if (c == '?' || Utf8ToAnsi(Utf8Of(c))[0] != '?') allUtf8 += Utf8Of(c);
  }
  EXPECT_TRUE(SameWideEncoding(ref, allWide));
  EXPECT_TRUE(SameUtf8Encoding(ref, allUtf8 + "\xF0\x9F\x98\x80\xE4"));
  // Beyond the table: other planes, values no character has, cut and bad UTF-8.
  for (uint32_t c : {0x10000u, 0x1F600u, 0x10FFFFu, 0x110000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    EXPECT_TRUE(SameWideEncoding(ref, std::wstring(1, static_cast<wchar_t>(c)) + L"a\u4E2D"));
    if (c < 0x110000) {
      EXPECT_TRUE(SameUtf8Encoding(ref, Utf8Of(c) + "a\xE4\xB8\xAD"));
    }
  }
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      if (!SameUtf8Encoding(ref, {static_cast<char>(a), static_cast<char>(b)})) return;
    }
  }
  for (uint8_t a : kEdgeBytes) {
    for (uint8_t b : kEdgeBytes) {
      for (uint8_t c : kEdgeBytes) {
        for (uint8_t d : {0x41, 0x80, 0xBF, 0xE4}) {
          const std::string s{static_cast<char>(a), static_cast<char>(b), static_cast<char>(c), static_cast<char>(d)};
          if (!SameUtf8Encoding(ref, s) || !SameUtf8Encoding(ref, s.substr(0, 3))) return;
        }
      }
    }
  }
  for (const std::string& s : MixedTexts(36, 3000)) {
    if (!SameUtf8Encoding(ref, s)) return;
  }
  EXPECT_EQ(Utf8ToAnsi("点号 id"), "\xB5\xE3\xBA\xC5 id");
  EXPECT_EQ(WideToAnsi(L"€\U0001F600"), "\x80?");
}
