#include "MapGisCodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace MapGis {
namespace {

// One iconv descriptor per direction and thread, opened on first use, so a
// run of many values never reopens a converter.
class Converter {
 public:
  // `step` is the width of one input character in bytes (1 for GBK and
  // UTF-8, whose bad bytes are skipped one at a time; 4 for wide text).
  Converter(const char* to, const char* from, size_t step, std::string replacement)
      : cd_(iconv_open(to, from)), step_(step), replacement_(std::move(replacement)) {}
  ~Converter() {
    if (Usable()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::string Run(const char* in, size_t length) {
    std::string out;
    if (!Usable() || length == 0) return out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.resize(length * 4 + 16);
    char* src = const_cast<char*>(in);
    size_t srcLeft = length;
    size_t used = 0;
    while (srcLeft > 0) {
      char* dst = &out[used];
      size_t dstLeft = out.size() - used;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      used = out.size() - dstLeft;
      if (r != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ, or EINVAL for a sequence cut at the end: skip one character.
      size_t skip = step_ < srcLeft ? step_ : srcLeft;
      src += skip;
      srcLeft -= skip;
      if (out.size() - used < replacement_.size()) out.resize(out.size() * 2 + replacement_.size());
      std::memcpy(&out[used], replacement_.data(), replacement_.size());
      used += replacement_.size();
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
  }

 private:
  bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
  size_t step_;
  std::string replacement_;
};

std::string WideChar(wchar_t c) { return std::string(reinterpret_cast<const char*>(&c), sizeof c); }

// Code page 936 as Windows defines it (GBK plus the euro sign at 80 hex).
constexpr const char* kAnsi = "CP936";

Converter& AnsiToWideConverter() {
  thread_local Converter c("WCHAR_T", kAnsi, 1, WideChar(0xFFFD));
  return c;
}
Converter& WideToAnsiConverter() {
  thread_local Converter c(kAnsi, "WCHAR_T", sizeof(wchar_t), "?");
  return c;
}
Converter& AnsiToUtf8Converter() {
  thread_local Converter c("UTF-8", kAnsi, 1, "\xEF\xBF\xBD");
  return c;
}
Converter& Utf8ToAnsiConverter() {
  thread_local Converter c(kAnsi, "UTF-8", 1, "?");
  return c;
}
Converter& Utf8ToWideConverter() {
  thread_local Converter c("WCHAR_T", "UTF-8", 1, WideChar(0xFFFD));
  return c;
}
Converter& WideToUtf8Converter() {
  thread_local Converter c("UTF-8", "WCHAR_T", sizeof(wchar_t), "\xEF\xBF\xBD");
  return c;
}

std::wstring BytesToWide(const std::string& bytes) {
  std::wstring out(bytes.size() / sizeof(wchar_t), L'\0');
  if (!out.empty()) std::memcpy(&out[0], bytes.data(), out.size() * sizeof(wchar_t));
  return out;
}

}  // namespace

std::wstring AnsiToWide(const char* text, size_t length) {
  if (!text) return std::wstring();
  return BytesToWide(AnsiToWideConverter().Run(text, length));
}

std::wstring AnsiToWide(const std::string& text) { return AnsiToWide(text.data(), text.size()); }

std::string WideToAnsi(const std::wstring& text) {
  return WideToAnsiConverter().Run(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string AnsiToUtf8(const std::string& text) { return AnsiToUtf8Converter().Run(text.data(), text.size()); }

std::string Utf8ToAnsi(const std::string& text) { return Utf8ToAnsiConverter().Run(text.data(), text.size()); }

std::string WideToUtf8(const std::wstring& text) {
  return WideToUtf8Converter().Run(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::wstring Utf8ToWide(const std::string& text) {
  return BytesToWide(Utf8ToWideConverter().Run(text.data(), text.size()));
}

}  // namespace MapGis
