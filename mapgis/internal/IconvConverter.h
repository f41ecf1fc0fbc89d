#pragma once
// An iconv descriptor with the library's handling of bytes it cannot
// convert: each bad input character becomes one replacement.
#include <iconv.h>

#include <cstddef>
#include <string>

namespace MapGis::detail {

class IconvConverter {
 public:
  // `step` is the width of one input character in bytes (1 for GBK and
  // UTF-8, whose bad bytes are skipped one at a time; 4 for wide text).
  IconvConverter(const char* to, const char* from, size_t step, std::string replacement);
  ~IconvConverter();
  IconvConverter(const IconvConverter&) = delete;
  IconvConverter& operator=(const IconvConverter&) = delete;

  bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `length` bytes; an unusable converter gives an empty result.
  std::string Run(const char* in, size_t length);
  // Appends the conversion of `length` bytes to `out`.
  void Append(const char* in, size_t length, std::string& out);

 private:
  iconv_t cd_;
  size_t step_;
  std::string replacement_;
};

// Code page 936 as Windows defines it (GBK plus the euro sign at 80 hex).
constexpr const char* kAnsiCodePage = "CP936";

}  // namespace MapGis::detail
