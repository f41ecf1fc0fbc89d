#include "MapGisProject.h"

#include <cstring>
#include <new>
#include <string>

#include "BinaryFile.h"
#include "LittleEndian.h"
#include "MapGisCodePage.h"
#include "TextToken.h"

namespace MapGis {
namespace {

using detail::BinaryFile;

constexpr char kMagic[8] = {'W', 'M', 'A', 'P', '`', 'D', '2', ':'};
constexpr int32_t kVersion = 9;
constexpr uint64_t kHeadOffset = 12;
// Where the items of a well-formed project begin: directly behind the header.
constexpr uint64_t kHeadEnd = kHeadOffset + sizeof(PROJECTHEAD);
constexpr size_t kNameBytes = sizeof(PROJECTITEM::fileName);

// Reads the magic, version and header of an open project file.
long ReadHeader(const BinaryFile& file, PROJECTHEAD* head) {
  char magic[sizeof kMagic];
  unsigned char version[4];
  if (!file.ReadAt(0, magic, sizeof magic)) return MAPGIS_READ_FAILED;
  if (std::memcmp(magic, kMagic, sizeof kMagic) != 0) return MAPGIS_NOT_MAPGIS_FILE;
  if (!file.ReadAt(sizeof kMagic, version, sizeof version)) return MAPGIS_READ_FAILED;
  if (detail::GetLE<int32_t>(version) != kVersion) return MAPGIS_NOT_MAPGIS_FILE;
  unsigned char bytes[sizeof(PROJECTHEAD)];
  if (!file.ReadAt(kHeadOffset, bytes, sizeof bytes)) return MAPGIS_READ_FAILED;
  std::memset(head, 0, sizeof *head);
  std::memcpy(head, bytes, sizeof bytes);
  return MAPGIS_OK;
}

// True when the item table the header describes lies inside the file. A
// table of no items is not read, so only its offset's sign matters then.
bool ItemTableFits(const PROJECTHEAD& head, uint64_t fileSize) {
  if (head.itemCount < 0 || head.itemTableOffset < 0) return false;
  if (head.itemCount == 0) return true;
  const uint64_t bytes = static_cast<uint64_t>(head.itemCount) * sizeof(PROJECTITEM);
  return detail::FitsIn(fileSize, static_cast<uint64_t>(head.itemTableOffset), bytes);
}

// Length of the longest prefix of GBK text `s` of at most `limit` bytes that
// does not end inside a two-byte character.
size_t GbkPrefix(const std::string& s, size_t limit) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const size_t width = (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) ? 2 : 1;
    if (width > limit - i) break;
    i += width;
  }
  return i;
}

// Writes `text` and its terminator to `out`.
void PutText(const std::wstring& text, wchar_t* out) { detail::CopyWide(text, out, text.size() + 1); }

std::wstring TokenOr(const char* field, size_t size, const wchar_t* fallback) {
  std::wstring token = detail::FirstToken(detail::FixedAnsiField(field, size));
  return token.empty() ? std::wstring(fallback) : token;
}

}  // namespace

MapGis_Prj::MapGis_Prj() { std::memset(&head_, 0, sizeof head_); }

MapGis_Prj::~MapGis_Prj() = default;

bool MapGis_Prj::HasItem(int index) const {
  return index >= 0 && static_cast<size_t>(index) < items_.size();
}

long MapGis_Prj::LoadProject(const wchar_t* path) {
  BinaryFile file;
  if (!file.Open(path, BinaryFile::Mode::Read)) return MAPGIS_OPEN_FAILED;
  PROJECTHEAD head;
  const long status = ReadHeader(file, &head);
  if (status != MAPGIS_OK) return status;
  // The count is checked against the file before anything is allocated.
  if (!ItemTableFits(head, file.Size())) return MAPGIS_READ_FAILED;

  std::vector<PROJECTITEM> items;
  std::vector<unsigned char> table;
  try {
    items.resize(static_cast<size_t>(head.itemCount));
    table.resize(items.size() * sizeof(PROJECTITEM));
  } catch (const std::bad_alloc&) {
    return MAPGIS_OUT_OF_MEMORY;
  }
  if (!items.empty()) {
    if (!file.ReadAt(static_cast<uint64_t>(head.itemTableOffset), table.data(), table.size()))
      return MAPGIS_READ_FAILED;
    for (size_t i = 0; i < items.size(); ++i)
      std::memcpy(&items[i], &table[i * sizeof(PROJECTITEM)], sizeof(PROJECTITEM));
  }
  head_ = head;
  items_.swap(items);
  return head_.itemCount;
}

long MapGis_Prj::SaveProject(const wchar_t* path) {
  BinaryFile file;
  if (!file.Open(path, BinaryFile::Mode::ReadWrite)) return MAPGIS_OPEN_FAILED;
  PROJECTHEAD head;
  // Only a project file is written to; anything else would be overwritten.
  const long status = ReadHeader(file, &head);
  if (status != MAPGIS_OK) return status;
  // The items go where the file keeps its table. A table that overlaps the
  // header, lies outside the file or holds fewer items than this object
  // would be corrupted by the write, so the file is left untouched.
  if (!ItemTableFits(head, file.Size())) return MAPGIS_READ_FAILED;
  if (static_cast<uint64_t>(head.itemTableOffset) < kHeadEnd && !items_.empty()) return MAPGIS_READ_FAILED;
  if (items_.size() > static_cast<size_t>(head.itemCount)) return MAPGIS_READ_FAILED;

  head_ = head;
  uint64_t offset = static_cast<uint64_t>(head.itemTableOffset);
  for (const PROJECTITEM& item : items_) {
    unsigned char bytes[sizeof(PROJECTITEM)];
    std::memcpy(bytes, &item, sizeof bytes);
    if (!file.WriteAt(offset, bytes, sizeof bytes)) return MAPGIS_WRITE_FAILED;
    offset += sizeof bytes;
  }
  return head_.itemCount;
}

char MapGis_Prj::GetProjectionInfo(MAP_PARAstruct* out) { return NormaliseProjection(head_.projection, out); }

void MapGis_Prj::GetExtentInfo(double* xMin, double* yMin, double* xMax, double* yMax) {
  if (xMin) *xMin = head_.xMin;
  if (yMin) *yMin = head_.yMin;
  if (xMax) *xMax = head_.xMax;
  if (yMax) *yMax = head_.yMax;
}

long MapGis_Prj::GetMpjDesc(wchar_t* out) {
  if (!out) return 0;
  PutText(TokenOr(head_.description, sizeof head_.description, L"NULL"), out);
  return 0;
}

long MapGis_Prj::GetItemDesc(int index, wchar_t* out) {
  if (!HasItem(index)) return MAPGIS_READ_FAILED;
  const PROJECTITEM& item = items_[static_cast<size_t>(index)];
  if (out) PutText(TokenOr(item.description, sizeof item.description, L"NULL"), out);
  return 0;
}

long MapGis_Prj::GetItemInfo(int index, wchar_t* fileName, double* displayMin, double* displayMax) {
  if (!HasItem(index)) return MAPGIS_READ_FAILED;
  const PROJECTITEM& item = items_[static_cast<size_t>(index)];
  if (fileName) PutText(TokenOr(item.fileName, sizeof item.fileName, L"字段名错误"), fileName);
  if (displayMin) *displayMin = item.displayMin;
  if (displayMax) *displayMax = item.displayMax;
  switch (item.kind) {
    case 1: return 1;   // point file: point shapes
    case 0: return 3;   // line file: polylines
    case 2: return 5;   // polygon file: polygons
    case 7: return 7;
    case 11: return 9;
    default: return 0;
  }
}

long MapGis_Prj::GetItemFileName(int index, wchar_t* fileName) {
  if (!HasItem(index)) return MAPGIS_READ_FAILED;
  if (!fileName) return 0;
  const PROJECTITEM& item = items_[static_cast<size_t>(index)];
  const std::wstring name = detail::FixedAnsiField(item.fileName, sizeof item.fileName);
  const size_t start = name.find_first_not_of(L' ');
  const size_t end = name.find_last_not_of(L' ');
  PutText(start == std::wstring::npos ? std::wstring() : name.substr(start, end - start + 1), fileName);
  return 0;
}

long MapGis_Prj::SetItemInfo(int index, const wchar_t* fileName, double displayMin, double displayMax, int kind) {
  if (items_.empty()) return 0;
  if (!HasItem(index)) return MAPGIS_READ_FAILED;
  PROJECTITEM& item = items_[static_cast<size_t>(index)];
  item.displayMin = displayMin;
  item.displayMax = displayMax;
  if (fileName) {
    const std::string ansi = WideToAnsi(fileName);
    // Room for the terminator; a two-byte character is never split.
    const size_t length = GbkPrefix(ansi, kNameBytes - 1);
    std::memset(item.fileName, 0, kNameBytes);
    std::memcpy(item.fileName, ansi.data(), length);
  }
  switch (kind) {
    case 1: item.kind = 1; break;
    case 3: item.kind = 0; break;
    case 5: item.kind = 2; break;
    case 7: item.kind = 7; break;
    case 9: item.kind = 11; break;
    default: break;  // unknown shape types leave the stored kind alone
  }
  return item.kind;
}

}  // namespace MapGis
