#include "StoredColors.h"

#include "FileBytes.h"
#include "MapGisBytes.h"

using MapGis::detail::FitsIn;
using MapGis::detail::GetLE;

namespace gridmoor {

namespace {

constexpr uint64_t kHeadSize = sizeof(MapGis::COLORLIB_HEAD);
constexpr uint64_t kRecordSize = sizeof(MapGis::MAPGIS_Color);
// The head's count is a signed 16-bit number.
constexpr uint64_t kMostBytes = kHeadSize + 32767 * kRecordSize;

}  // namespace

bool ReadStoredColors(const std::string& path, StoredColors& stored, std::string& error) {
  stored = StoredColors{};
  std::vector<unsigned char> bytes;
  uint64_t size = 0;
  if (!ReadFileStart(path, kMostBytes, bytes, size, error)) return false;
  if (bytes.size() < kHeadSize) {
    error = "the file is shorter than a colour library head";
    return false;
  }
  stored.head = GetLE<MapGis::COLORLIB_HEAD>(bytes.data());
  stored.recordsInFile = (size - kHeadSize) / kRecordSize;
  stored.trailingBytes = (size - kHeadSize) % kRecordSize;

  // The file's own size caps the head's count.
  const uint64_t counted = stored.head.colorCount > 0 ? static_cast<uint64_t>(stored.head.colorCount) : 0;
  const uint64_t count = counted < stored.recordsInFile ? counted : stored.recordsInFile;
  if (!FitsIn(bytes.size(), kHeadSize, count * kRecordSize)) {
    error = "cannot read the colour records";
    return false;
  }
  for (uint64_t i = 0; i < count; ++i) {
    stored.colors.push_back(GetLE<MapGis::MAPGIS_Color>(bytes.data() + kHeadSize + i * kRecordSize));
  }
  return true;
}

}  // namespace gridmoor
