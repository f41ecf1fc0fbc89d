#include "SectionDirectory.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace gridmoor {

namespace {

constexpr int kMaxEntries = 1024;
constexpr size_t kEntrySize = 10;

template <class T>
T LittleEndianAt(const unsigned char* p) {
  static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian host");
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

bool ReadExactly(std::ifstream& in, uint64_t offset, unsigned char* buffer, size_t length) {
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  if (!in) return false;
  in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(length));
  return static_cast<size_t>(in.gcount()) == length;
}

}  // namespace

bool ReadSectionDirectory(const std::string& path, std::vector<SectionEntry>& entries, std::string& error) {
  entries.clear();
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  if (!in) {
    error = "cannot open the file";
    return false;
  }
  unsigned char head[20];
  if (!ReadExactly(in, 0, head, sizeof head)) {
    error = "cannot read the header";
    return false;
  }
  const int32_t offset = LittleEndianAt<int32_t>(head + 12);
  const int32_t count = LittleEndianAt<int32_t>(head + 16);
  // The reader accepts up to 1024 entries at an offset up to 1024; negative
  // values pass its signed test but name no directory.
  if (offset < 0 || count < 0 || offset > kMaxEntries || count > kMaxEntries) {
    error = "directory offset or entry count out of range";
    return false;
  }
  std::vector<unsigned char> bytes(static_cast<size_t>(count) * kEntrySize);
  if (!bytes.empty() && !ReadExactly(in, static_cast<uint64_t>(offset), bytes.data(), bytes.size())) {
    error = "cannot read the directory";
    return false;
  }
  for (int i = 0; i < count; ++i) {
    const unsigned char* p = bytes.data() + static_cast<size_t>(i) * kEntrySize;
    entries.push_back({LittleEndianAt<uint32_t>(p), LittleEndianAt<uint32_t>(p + 4)});
  }
  return true;
}

}  // namespace gridmoor
