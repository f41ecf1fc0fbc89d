#include "IconvConverter.h"

#include <cerrno>
#include <cstring>

namespace MapGis::detail {

IconvConverter::IconvConverter(const char* to, const char* from, size_t step, std::string replacement)
    : cd_(iconv_open(to, from)), step_(step), replacement_(std::move(replacement)) {}

IconvConverter::~IconvConverter() {
  if (Usable()) iconv_close(cd_);
}

std::string IconvConverter::Run(const char* in, size_t length) {
  std::string out;
  Append(in, length, out);
  return out;
}

void IconvConverter::Append(const char* in, size_t length, std::string& out) {
  if (!Usable() || length == 0) return;
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  size_t used = out.size();
  out.resize(used + length * 4 + 16);
  char* src = const_cast<char*>(in);
  size_t srcLeft = length;
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
}

}  // namespace MapGis::detail
