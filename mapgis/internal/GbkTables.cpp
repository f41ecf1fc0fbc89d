#include "GbkTables.h"

#include <iconv.h>

#include <cwchar>

#include "IconvConverter.h"

namespace MapGis::detail {

namespace {

// One iconv descriptor used for a whole table build.
class Descriptor {
 public:
  Descriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Descriptor() {
    if (Usable()) iconv_close(cd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  bool Usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all `length` bytes of `in`; false unless they convert whole.
  // The result's length in bytes goes to `outLength`.
  bool Convert(const void* in, size_t length, void* out, size_t capacity, size_t* outLength) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = static_cast<char*>(const_cast<void*>(in));
    char* dst = static_cast<char*>(out);
    size_t srcLeft = length, dstLeft = capacity;
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0) return false;
    if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    *outLength = capacity - dstLeft;
    return true;
  }

 private:
  iconv_t cd_;
};

// Decodes `length` bytes into exactly one wide character, or kNone.
uint32_t DecodeOne(Descriptor& d, const uint8_t* bytes, size_t length) {
  wchar_t out[4];
  size_t n = 0;
  if (!d.Convert(bytes, length, out, sizeof out, &n) || n != sizeof(wchar_t)) return GbkTables::kNone;
  return static_cast<uint32_t>(out[0]);
}

}  // namespace

GbkTables::~GbkTables() { delete[] encode_; }

GbkTables& GbkTables::Instance() {
  static GbkTables tables;
  return tables;
}

const GbkTables* GbkTables::Decoding() {
  static const bool built = Instance().BuildDecoding();
  return built ? &Instance() : nullptr;
}

const GbkTables* GbkTables::Encoding() {
  if (!Decoding()) return nullptr;
  static const bool built = Instance().BuildEncoding();
  return built ? &Instance() : nullptr;
}

bool GbkTables::BuildDecoding() {
  Descriptor d("WCHAR_T", kAnsiCodePage);
  if (!d.Usable()) return false;
  for (int b = 0; b < 256; ++b) {
    const uint8_t byte = static_cast<uint8_t>(b);
    single_[b] = DecodeOne(d, &byte, 1);
    // The conversions copy ASCII runs as they are.
    if (b < 0x80 && single_[b] != static_cast<uint32_t>(b)) return false;
  }
  for (int lead = kFirstLead; lead <= kLastLead; ++lead) {
    // A byte that is a character on its own is never a lead byte.
    if (single_[lead] != kNone) return false;
    for (int trail = kFirstTrail; trail <= kLastTrail; ++trail) {
      const uint8_t pair[2] = {static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)};
      const uint32_t c = DecodeOne(d, pair, 2);
      // The table holds characters 1 to FFFF hex; anything else leaves the
      // work to the converter.
      if (c != kNone && (c == 0 || c > 0xFFFF)) return false;
      pairs_[lead - kFirstLead][trail - kFirstTrail] = c == kNone ? 0 : static_cast<uint16_t>(c);
    }
  }
  return true;
}

bool GbkTables::BuildEncoding() {
  Descriptor d(kAnsiCodePage, "WCHAR_T");
  if (!d.Usable()) return false;
  encode_ = new uint16_t[0x10000]();
  // Every character the decoding tables produce, encoded as the converter
  // encodes it (a character two pairs share gets the converter's choice).
  auto add = [&](uint32_t c) {
    const wchar_t w = static_cast<wchar_t>(c);
    uint8_t out[8];
    size_t n = 0;
    if (!d.Convert(&w, sizeof w, out, sizeof out, &n)) return true;
    if (n == 1 && c >= 0x80) {
      encode_[c] = out[0];
    } else if (n == 2 && out[0] >= kFirstLead) {
      encode_[c] = static_cast<uint16_t>(out[0] << 8 | out[1]);
    } else if (!(n == 1 && c < 0x80 && out[0] == c)) {
      return false;
    }
    return true;
  };
  for (int b = 0; b < 256; ++b) {
    if (single_[b] != kNone && !add(single_[b])) return false;
  }
  for (const auto& row : pairs_) {
    for (uint16_t c : row) {
      if (c != 0 && !add(c)) return false;
    }
  }
  return true;
}

}  // namespace MapGis::detail
