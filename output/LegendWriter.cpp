#include "LegendWriter.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "MapGisCodePage.h"

namespace {

// Symbol sizes are millimetres; ArcView wants points.
constexpr float kSymbolSizeFactor = 2.8346457f;

enum class Family { Marker, Line, Shade };

// printf-style append of any length.
void Add(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  char small[256];
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
  } else if (n >= 0) {
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&big[0], big.size(), format, args);
    out.append(big.data(), static_cast<size_t>(n));
  }
  va_end(args);
}

// A colour channel (bits `shift` to `shift` + 7 of a packed colour) as
// ArcView's 16-bit value.
unsigned Channel(uint32_t colour, int shift) { return ((colour >> shift) & 0xFFu) * 256u + 255u; }

// A size for "%.2f"; a size that is not a number would make the file
// unreadable, so it is written as 0.
double Printable(float value) { return std::isfinite(value) ? static_cast<double>(value) : 0.0; }

void AddPatterns(std::string& out, bool solid) {
  for (int group = 0; group < 4; ++group) {
    if (group > 0) out += ' ';
    out += "\t\t\t\t\t\t\t\t\t";
    for (int line = 0; line < 4; ++line) {
      // A dashed line (any type but 1) starts with one dash and one gap.
      const bool dash = !solid && group == 0 && line < 2;
      if (line > 0) out += '\t';
      out += "Pattern:\t";
      out += dash ? "1.0" : "0.0";
      out += '\n';
    }
  }
}

// The legend text with "\n" line ends.
std::string LegendText(Family family, const ColourList& colours, const KeyList& keys, const std::string& fontName) {
  const long long nC = static_cast<long long>(colours.size());
  const long long nK = static_cast<long long>(keys.size());
  const long long firstColour = family == Family::Marker ? 11 : 7;
  auto symbolNumber = [&](long long i) { return firstColour + nC + 2 * i; };

  std::string out = "/3.2\n";
  if (family == Family::Shade) {
    out += "(ODB.1\n\tFirstRootClassName:\t\"Legend\"\n\tRoots:\t2\n\tVersion: 32\n)\n\n";
  } else {
    out += "(ODB.1\n\tFirstRootClassName:\t\"Legend\"\n\tRoots:\t2\n\tVersion:\t32\n)\n\n";
  }
  out += "(Legend.2\n";
  if (family == Family::Line) out += "\tSymType:\t0x01\n";
  if (family == Family::Shade) out += "\tSymType:\t0x02\n";
  out += "\tLegType:\t0x08\n\tClassType:\t0x03\n\tFieldNames:\t3\n\tSymbols:\t4\n";
  for (long long i = 0; i < nK; ++i) Add(out, "\tClass:\t%lld\n", symbolNumber(i) + 1);
  out += "\tStdDevs:\t1.0\n\tPrecision:\t-3\n)\n\n";
  out += "(AVStr.3\n\tS:\t\"VKT_LEGEND\"\n)\n\n";
  out += "(SymList.4\n";
  for (long long i = 0; i < nK; ++i) Add(out, "\tChild:\t%lld\n", symbolNumber(i));
  out += ")\n\n";

  if (family == Family::Marker) {
    out += "(NFont.5\n\tFamily:\t6\n\tName:\t7\n\tStyle:\t8\n\tMonoSpaced:\t1\n\tSerif:\t1\n\tWeight:\t1\n\tWideness:\t1\n)\n\n";
    out += "(AVStr.6\n\tS:\t\"" + fontName + "\"\n)\n\n";
    out += "(AVStr.7\n\tS:\t\"" + fontName + "\"\n)\n\n";
    out += "(AVStr.8\n\tS:\t\"Normal\"\n)\n\n";
    out += "(TClr.9\n)\n\n";
    out += "(TClr.10\n\tName:\t\"Transparent\"\n)\n\n";
  } else {
    out += "(TClr.5\n)\n\n";
    out += "(TClr.6\n\tRed:\t0xffff\n\tGreen:\t0xffff\n\tBlue:\t0xffff\n)\n\n";
  }

  for (long long j = 0; j < nC; ++j) {
    const uint32_t c = colours[static_cast<size_t>(j)];
    Add(out, "(TClr.%lld\n\tRed:\t0x%04x\n\tGreen:\t0x%04x\n\tBlue:\t0x%04x\n)\n\n", firstColour + j, Channel(c, 0),
        Channel(c, 8), Channel(c, 16));
  }

  for (long long i = 0; i < nK; ++i) {
    const StyleKey& key = keys[static_cast<size_t>(i)];
    const long long symbol = symbolNumber(i);
    const long long colourObject = firstColour + key.index;
    switch (family) {
      case Family::Marker:
        Add(out, "(BMkSym.%lld\n\tColor:\t%lld\n\tBgColor:\t10\n\tFont:\t5\n\tSize:\t%.2f\n\tPattern:\t46\n\tAngle:\t%.2f\n)\n\n",
            symbol, colourObject, Printable(key.size1 * kSymbolSizeFactor), Printable(key.size3));
        break;
      case Family::Line:
        Add(out, "(BLnSym.%lld\n\tColor:\t%lld\n\tWidth:\t%.2f\n", symbol, colourObject,
            Printable(key.size1 * kSymbolSizeFactor));
        AddPatterns(out, key.type == 1);
        out += ")\n\n";
        break;
      case Family::Shade:
        Add(out, "(BShSym.%lld\n\tColor:\t%lld\n\tOutline:\t0.0\n\tOutlineColor:\t5\n\tBgColor:\t6\n)\n\n", symbol,
            colourObject);
        break;
    }
    const std::string code = key.Code();
    Add(out, "(LClass.%lld\n\tLabel:\t\"%s\"\n\tMinNum:\t%s\n\tMaxNum:\t%s\n\tPrecision:\t-3\n)\n\n", symbol + 1,
        code.c_str(), code.c_str(), code.c_str());
  }

  const long long dictionary = firstColour + nC + 2 * nK;
  Add(out, "(NameDict.%lld\n)\n\n(NameDict.%lld\n)\n\n", dictionary, dictionary + 1);
  return out;
}

// `text` with every "\n" as CR LF.
std::string WithCrLf(const std::string& text) {
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}

}  // namespace

std::string LegendWriter::MarkerLegend(const ColourList& colours, const KeyList& keys, const std::wstring& fontName) {
  return WithCrLf(LegendText(Family::Marker, colours, keys, MapGis::WideToAnsi(fontName)));
}

std::string LegendWriter::LineLegend(const ColourList& colours, const KeyList& keys) {
  return WithCrLf(LegendText(Family::Line, colours, keys, std::string()));
}

std::string LegendWriter::ShadeLegend(const ColourList& colours, const KeyList& keys) {
  return WithCrLf(LegendText(Family::Shade, colours, keys, std::string()));
}
