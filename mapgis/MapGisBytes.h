#pragma once
// Every integer and double of a MapGIS file is little-endian; the library
// runs on little-endian hosts only and copies values with memcpy. Public so
// that programs reading the file bytes themselves (inspection) use the same
// helpers.
#include <cstdint>
#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "brindle needs a little-endian host");

namespace MapGis::detail {

template <class T>
inline T GetLE(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
inline void PutLE(void* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

// True when [offset, offset + length) lies inside a buffer of `size` bytes;
// written so that nothing can overflow.
inline bool FitsIn(uint64_t size, uint64_t offset, uint64_t length) {
  return offset <= size && length <= size - offset;
}

}  // namespace MapGis::detail
