#include "StoredColors.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace gridmoor {

namespace {

constexpr uint64_t kHeadSize = sizeof(MapGis::COLORLIB_HEAD);
constexpr uint64_t kRecordSize = sizeof(MapGis::MAPGIS_Color);

bool ReadExactly(std::ifstream& in, uint64_t offset, unsigned char* buffer, size_t length) {
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  if (!in) return false;
  in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(length));
  return static_cast<size_t>(in.gcount()) == length;
}

}  // namespace

bool ReadStoredColors(const std::string& path, StoredColors& stored, std::string& error) {
  static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian host");
  stored = StoredColors{};
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary | std::ios::ate);
  if (!in) {
    error = "cannot open the file";
    return false;
  }
  const std::streamoff end = in.tellg();
  if (end < 0) {
    error = "cannot tell the file size";
    return false;
  }
  const uint64_t size = static_cast<uint64_t>(end);
  unsigned char head[kHeadSize];
  if (size < kHeadSize || !ReadExactly(in, 0, head, sizeof head)) {
    error = "the file is shorter than a colour library head";
    return false;
  }
  std::memcpy(&stored.head, head, sizeof head);
  stored.recordsInFile = (size - kHeadSize) / kRecordSize;
  stored.trailingBytes = (size - kHeadSize) % kRecordSize;

  // The head's count is 16 bits; the file's own size caps it further.
  const uint64_t counted = stored.head.colorCount > 0 ? static_cast<uint64_t>(stored.head.colorCount) : 0;
  const uint64_t count = counted < stored.recordsInFile ? counted : stored.recordsInFile;
  std::vector<unsigned char> body(static_cast<size_t>(count * kRecordSize));
  if (!body.empty() && !ReadExactly(in, kHeadSize, body.data(), body.size())) {
    error = "cannot read the colour records";
    return false;
  }
  stored.colors.resize(static_cast<size_t>(count));
  if (!body.empty()) std::memcpy(stored.colors.data(), body.data(), body.size());
  return true;
}

}  // namespace gridmoor
