#include "MapGisLegend.h"

#include <cstring>

#include "BinaryFile.h"
#include "LittleEndian.h"
#include "MapGisStatus.h"

namespace MapGis {

namespace {

constexpr uint8_t kLegendMagic[8] = {0x57, 0x4D, 0x41, 0x50, 0x60, 0x44, 0x32, 0x3E};  // "WMAP`D2>"
constexpr uint64_t kLegendHeadSize = 16;
constexpr uint64_t kItemSize = sizeof(MAPGIS_LegendItem);
constexpr size_t kSymbolHeadSize = 26;

// Reads a parameter block into a scratch buffer first, so `out` is only
// written when the whole block was read.
template <class Block>
bool ReadBlock(const detail::BinaryFile& file, uint64_t offset, Block* out) {
  uint8_t raw[sizeof(Block)];
  if (!file.ReadAt(offset, raw, sizeof raw)) return false;
  std::memcpy(out, raw, sizeof raw);
  return true;
}

}  // namespace

MapGis_Legend::MapGis_Legend() : file_(new detail::BinaryFile) {
  std::memset(head_, 0, sizeof head_);
}

MapGis_Legend::~MapGis_Legend() { Close(); }

void MapGis_Legend::Close() {
  file_->Close();
  items_.clear();
  items_.shrink_to_fit();
  std::memset(head_, 0, sizeof head_);
}

long MapGis_Legend::Open(const wchar_t* path) {
  Close();
  if (!file_->Open(path, detail::BinaryFile::Mode::Read)) return MAPGIS_OPEN_FAILED;

  uint8_t head[kLegendHeadSize];
  if (!file_->ReadAt(0, head, sizeof head)) {
    Close();
    return MAPGIS_READ_FAILED;
  }
  if (std::memcmp(head, kLegendMagic, sizeof kLegendMagic) != 0) {
    Close();
    return MAPGIS_NOT_MAPGIS_FILE;
  }
  std::memcpy(head_, head, sizeof head_);
  const int32_t count = detail::GetLE<int32_t>(head + 12);
  // A count below 1 opens with no items; the file stays open like any other.
  if (count < 1) return count;

  // The item table must fit in the file before anything is allocated.
  const uint64_t tableSize = static_cast<uint64_t>(count) * kItemSize;
  if (!detail::FitsIn(file_->Size(), kLegendHeadSize, tableSize)) {
    Close();
    return MAPGIS_READ_FAILED;
  }
  std::vector<uint8_t> table(static_cast<size_t>(tableSize));
  if (!file_->ReadAt(kLegendHeadSize, table.data(), table.size())) {
    Close();
    return MAPGIS_READ_FAILED;
  }
  items_.resize(static_cast<size_t>(count));
  std::memcpy(items_.data(), table.data(), table.size());
  return count;
}

long MapGis_Legend::GetLegendNum() const { return static_cast<long>(items_.size()); }

long MapGis_Legend::GetLegendInfo(int index, MAPGIS_LegendItem* item, PNT_INFOstruct* pnt, LIN_INFOstruct* lin,
                                  REG_INFOstruct* reg) {
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return MAPGIS_READ_FAILED;
  const MAPGIS_LegendItem& it = items_[static_cast<size_t>(index)];
  if (item) *item = it;

  // Parameter blocks follow the item table; a negative offset that points
  // before the start of the file cannot be read.
  const int64_t at = static_cast<int64_t>(kLegendHeadSize + kItemSize * items_.size()) + it.paramOffset;
  const uint64_t offset = at < 0 ? UINT64_MAX : static_cast<uint64_t>(at);
  bool ok = true;
  switch (it.itemKind) {
    case 1:
      if (pnt) ok = ReadBlock(*file_, offset, pnt);
      break;
    case 0:
      if (lin) ok = ReadBlock(*file_, offset, lin);
      break;
    case 2:
      if (reg) ok = ReadBlock(*file_, offset, reg);
      break;
    default:
      break;
  }
  return ok ? static_cast<long>(it.itemKind) : MAPGIS_READ_FAILED;
}

MapGis_Symbol::MapGis_Symbol() : file_(new detail::BinaryFile) { std::memset(head_, 0, sizeof head_); }

MapGis_Symbol::~MapGis_Symbol() { Close(); }

void MapGis_Symbol::Close() {
  file_->Close();
  std::memset(head_, 0, sizeof head_);
}

long MapGis_Symbol::Open(const wchar_t* path) {
  Close();
  if (!file_->Open(path, detail::BinaryFile::Mode::Read)) return MAPGIS_OPEN_FAILED;
  if (!file_->ReadAt(0, head_, kSymbolHeadSize)) {
    Close();
    return MAPGIS_READ_FAILED;
  }
  return 0;
}

}  // namespace MapGis
