#include "DbfNumbers.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace DbfNumbers {

namespace {

// shapelib pads to at most this many characters and keeps at most
// kMaxWidth characters of a longer text.
constexpr int kMaxPadding = kMaxWidth - 1;

// Fixed notation of the largest double: sign, 309 digits, point, decimals.
constexpr int kMaxDigits = 1 + 309 + 1 + kMaxWidth;

bool ValidColumn(int width, int decimals, char* out) {
  if (width >= 1 && width <= kMaxWidth && decimals >= 0 && decimals <= kMaxWidth) return true;
  out[0] = '\0';
  return false;
}

// Right-aligns `digits` (length n) the way shapelib's "%*.*f" does and
// fills `out` with exactly `width` characters. A 255 column is padded to
// 254 and its last byte stays a space.
bool Place(const char* digits, int n, int width, char* out) {
  const int padded = std::max(n, std::min(width, kMaxPadding));
  const int spaces = padded - n;
  const int kept = std::min(padded, width);
  const int fromDigits = kept - std::min(spaces, kept);
  std::memset(out, ' ', static_cast<size_t>(width));
  std::memcpy(out + std::min(spaces, kept), digits, static_cast<size_t>(fromDigits));
  out[width] = '\0';
  return padded <= width;
}

}  // namespace

bool FormatDouble(double value, int width, int decimals, char* out) {
  if (!ValidColumn(width, decimals, out)) return false;
  char digits[kMaxDigits];
  const auto r = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) {
    out[0] = '\0';
    return false;
  }
  return Place(digits, static_cast<int>(r.ptr - digits), width, out);
}

bool FormatInteger(int value, int width, int decimals, char* out) {
  if (!ValidColumn(width, decimals, out)) return false;
  // An integer is exact as a double: its digits, then the decimals as zeros.
  char digits[kMaxDigits];
  char* end = std::to_chars(digits, digits + 16, value).ptr;
  if (decimals > 0) {
    *end++ = '.';
    std::memset(end, '0', static_cast<size_t>(decimals));
    end += decimals;
  }
  return Place(digits, static_cast<int>(end - digits), width, out);
}

namespace {

// `value` as "%0*d" prints it: a minus sign first, then zeros up to `width`
// characters in all, then the digits.
void AppendZeroPadded(std::string& out, int value, int width) {
  char digits[16];
  const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  const int n = static_cast<int>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  const int sign = value < 0 ? 1 : 0;
  if (sign) out += '-';
  if (n + sign < width) out.append(static_cast<size_t>(width - n - sign), '0');
  out.append(digits, static_cast<size_t>(n));
}

}  // namespace

std::string DateText(int year, int month, int day) {
  std::string text;
  text.reserve(16);
  AppendZeroPadded(text, year, 4);
  text += '-';
  AppendZeroPadded(text, month, 2);
  text += '-';
  AppendZeroPadded(text, day, 2);
  return text;
}

bool FormatUnsigned(uint32_t value, int width, char* out) {
  char digits[16];
  const int n = static_cast<int>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
  if (width < 1 || width > kMaxWidth || n > width) {
    out[0] = '\0';
    return false;
  }
  std::memset(out, ' ', static_cast<size_t>(width - n));
  std::memcpy(out + (width - n), digits, static_cast<size_t>(n));
  out[width] = '\0';
  return true;
}

}  // namespace DbfNumbers
