#include "SectionDirectory.h"

#include "FileBytes.h"
#include "MapGisBytes.h"

using MapGis::detail::FitsIn;
using MapGis::detail::GetLE;

namespace gridmoor {

namespace {

constexpr int kMaxEntries = 1024;
constexpr uint64_t kEntrySize = 10;
constexpr uint64_t kHeadSize = 20;
// The directory lies at most 1024 bytes into the file and holds at most 1024 entries.
constexpr uint64_t kMostBytes = kMaxEntries + kMaxEntries * kEntrySize;

}  // namespace

bool ReadSectionDirectory(const std::string& path, std::vector<SectionEntry>& entries, std::string& error) {
  entries.clear();
  std::vector<unsigned char> bytes;
  uint64_t fileSize = 0;
  if (!ReadFileStart(path, kMostBytes, bytes, fileSize, error)) return false;
  if (bytes.size() < kHeadSize) {
    error = "cannot read the header";
    return false;
  }
  const int32_t offset = GetLE<int32_t>(bytes.data() + 12);
  const int32_t count = GetLE<int32_t>(bytes.data() + 16);
  // The reader accepts up to 1024 entries at an offset up to 1024; negative
  // values pass its signed test but name no directory.
  if (offset < 0 || count < 0 || offset > kMaxEntries || count > kMaxEntries) {
    error = "directory offset or entry count out of range";
    return false;
  }
  if (!FitsIn(bytes.size(), static_cast<uint64_t>(offset), static_cast<uint64_t>(count) * kEntrySize)) {
    error = "cannot read the directory";
    return false;
  }
  for (int i = 0; i < count; ++i) {
    const unsigned char* p = bytes.data() + offset + static_cast<size_t>(i) * kEntrySize;
    entries.push_back({GetLE<uint32_t>(p), GetLE<uint32_t>(p + 4)});
  }
  return true;
}

}  // namespace gridmoor
