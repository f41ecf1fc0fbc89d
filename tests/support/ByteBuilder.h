#pragma once
// Builds test files byte by byte at documented offsets, independently of
// the library's own structures, so a layout mistake in the library shows.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace testing_support {

class ByteBuilder {
 public:
  explicit ByteBuilder(size_t size = 0) : bytes_(size, 0) {}

  size_t Size() const { return bytes_.size(); }
  std::vector<uint8_t>& Bytes() { return bytes_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  template <class T>
  ByteBuilder& Put(size_t offset, T value) {
    Grow(offset + sizeof value);
    std::memcpy(&bytes_[offset], &value, sizeof value);
    return *this;
  }
  ByteBuilder& U8(size_t o, uint8_t v) { return Put(o, v); }
  ByteBuilder& I16(size_t o, int16_t v) { return Put(o, v); }
  ByteBuilder& U16(size_t o, uint16_t v) { return Put(o, v); }
  ByteBuilder& I32(size_t o, int32_t v) { return Put(o, v); }
  ByteBuilder& U32(size_t o, uint32_t v) { return Put(o, v); }
  ByteBuilder& F32(size_t o, float v) { return Put(o, v); }
  ByteBuilder& F64(size_t o, double v) { return Put(o, v); }
  ByteBuilder& Raw(size_t o, const void* data, size_t n) {
    Grow(o + n);
    if (n) std::memcpy(&bytes_[o], data, n);
    return *this;
  }
  ByteBuilder& Text(size_t o, const std::string& s) { return Raw(o, s.data(), s.size()); }

  void Grow(size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, 0);
  }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace testing_support
