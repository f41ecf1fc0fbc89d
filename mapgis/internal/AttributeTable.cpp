#include "AttributeTable.h"

#include <algorithm>
#include <cwctype>

#include "LittleEndian.h"
#include "TextToken.h"

namespace MapGis::detail {

namespace {

constexpr size_t kMaxNameToken = 31;

const wchar_t kBadFieldName[] = L"字段名错误";

std::wstring FieldToken(const MAPGIS_Field& f) { return FirstToken(FixedAnsiField(f.name, sizeof f.name)); }

// Whether `a` equals the first `limit` characters of `b`, any letter case.
bool SameIgnoringCase(const std::wstring& a, const std::wstring& b, size_t limit) {
  if (a.size() != std::min(b.size(), limit)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  }
  return true;
}

}  // namespace

void AttributeTable::Reset() {
  definitionsLoaded_ = false;
  recordsLoaded_ = false;
  head_ = MAPGIS_FieldHead{};
  fields_.clear();
  fields_.shrink_to_fit();
  names_.clear();
  names_.shrink_to_fit();
  records_.clear();
  records_.shrink_to_fit();
  scratch_.clear();
  current_ = -1;
}

long AttributeTable::LoadDefinitions(const LayerFile& layer, int section) {
  if (definitionsLoaded_) return MAPGIS_OK;
  if (!layer.HasSection(section)) return MAPGIS_NO_TABLE;
  MAPGIS_FieldHead head;
  if (!layer.ReadSection(section, 0, &head, sizeof head)) return MAPGIS_READ_FAILED;
  if (head.tag[0] != 0x60 || head.tag[1] != 0x44 || head.tag2 != 0x4460) return MAPGIS_NO_TABLE;
  if (head.fieldCount < 0 || head.recordCount < 0 || head.recordLength < 0) return MAPGIS_NO_TABLE;
  // A record count the file cannot hold would make every caller walk
  // billions of empty records: the definitions are invalid.
  if (head.recordLength > 0) {
    if (head.dataOffset < 0 ||
        !layer.FitsFile(layer.SectionOffset(section) + static_cast<uint64_t>(head.dataOffset),
                        static_cast<uint64_t>(head.recordCount) * static_cast<uint64_t>(head.recordLength))) {
      return MAPGIS_NO_TABLE;
    }
  } else if (static_cast<uint64_t>(head.recordCount) > layer.FileSize()) {
    return MAPGIS_NO_TABLE;
  }
  const uint64_t tableBytes = static_cast<uint64_t>(head.fieldCount) * sizeof(MAPGIS_Field);
  const uint64_t tableStart = layer.SectionOffset(section) + sizeof head;
  if (!layer.FitsFile(tableStart, tableBytes)) return MAPGIS_NO_TABLE;
  std::vector<MAPGIS_Field> fields(static_cast<size_t>(head.fieldCount));
  if (!fields.empty() && !layer.ReadSection(section, sizeof head, fields.data(), tableBytes)) {
    return MAPGIS_READ_FAILED;
  }
  std::vector<std::wstring> names;
  names.reserve(fields.size());
  for (const MAPGIS_Field& f : fields) names.push_back(FieldToken(f));
  head_ = head;
  fields_ = std::move(fields);
  names_ = std::move(names);
  definitionsLoaded_ = true;
  return MAPGIS_OK;
}

long AttributeTable::LoadAllRecords(const LayerFile& layer, int section) {
  if (recordsLoaded_) return MAPGIS_OK;
  if (!definitionsLoaded_) return MAPGIS_NO_TABLE;
  const uint64_t bytes = static_cast<uint64_t>(head_.recordCount) * static_cast<uint64_t>(head_.recordLength);
  if (head_.dataOffset < 0) return MAPGIS_READ_FAILED;
  const uint64_t start = layer.SectionOffset(section) + static_cast<uint64_t>(head_.dataOffset);
  if (!layer.FitsFile(start, bytes)) return MAPGIS_READ_FAILED;
  records_.assign(static_cast<size_t>(bytes), 0);
  if (bytes > 0 && !layer.File().ReadAt(start, records_.data(), records_.size())) {
    records_.clear();
    return MAPGIS_READ_FAILED;
  }
  recordsLoaded_ = true;
  return MAPGIS_OK;
}

long AttributeTable::LoadRecord(const LayerFile& layer, int section, int record) {
  if (!definitionsLoaded_) return MAPGIS_NO_TABLE;
  if (record == current_ && recordsLoaded_) return MAPGIS_OK;
  if (head_.dataOffset < 0) return MAPGIS_READ_FAILED;
  const uint64_t length = static_cast<uint64_t>(head_.recordLength);
  const uint64_t start = layer.SectionOffset(section) + static_cast<uint64_t>(head_.dataOffset) +
                         (static_cast<uint64_t>(record) + 1) * length;
  if (!layer.FitsFile(start, length)) return MAPGIS_READ_FAILED;
  // Every byte is read over, so a buffer of the same length is reused as it is.
  records_.resize(static_cast<size_t>(length));
  if (length > 0 && !layer.File().ReadAt(start, records_.data(), records_.size())) {
    recordsLoaded_ = false;
    current_ = -1;
    return MAPGIS_READ_FAILED;
  }
  recordsLoaded_ = true;
  current_ = record;
  return MAPGIS_OK;
}

const MAPGIS_Field* AttributeTable::Field(int i) const {
  if (i < 0 || i >= FieldCount()) return nullptr;
  return &fields_[static_cast<size_t>(i)];
}

long AttributeTable::FieldInfo(int i, wchar_t* name, int* width, int* display, int* decimals) const {
  if (!definitionsLoaded_) return MAPGIS_NO_TABLE;
  const MAPGIS_Field* f = Field(i);
  if (!f) return MAPGIS_NO_TABLE;
  if (name) {
    const std::wstring& token = names_[static_cast<size_t>(i)];
    if (token.empty()) {
      CopyWide(kBadFieldName, name, 21);
    } else {
      CopyWide(token, name, 21);
    }
  }
  if ((width && f->width < 0) || (display && f->display < 0) || (decimals && f->decimals < 0)) {
    return MAPGIS_NO_TABLE;
  }
  if (width) *width = f->width;
  if (display) *display = f->display;
  if (decimals) *decimals = f->decimals;
  return f->type;
}

long AttributeTable::FieldIndex(const wchar_t* name) const {
  if (!name || !definitionsLoaded_) return -1;
  const std::wstring query = FirstToken(name);
  if (query.empty() || query.size() > kMaxNameToken) return -1;
  for (int i = 0; i < FieldCount(); ++i) {
    const std::wstring& token = names_[static_cast<size_t>(i)];
    if (SameIgnoringCase(query, token, kMaxNameToken)) return i;
  }
  return -1;
}

void* AttributeTable::Value(const LayerFile& layer, int section, int record, int field, int type) {
  if (!definitionsLoaded_ && LoadDefinitions(layer, section) != MAPGIS_OK) return nullptr;
  if (record < 0 || static_cast<int64_t>(record) > static_cast<int64_t>(head_.recordCount) - 2) return nullptr;
  const MAPGIS_Field* f = Field(field);
  if (!f) return nullptr;
  const uint8_t* bytes;
  if (wholeTable_) {
    if (LoadAllRecords(layer, section) != MAPGIS_OK) return nullptr;
    current_ = record;
    bytes = records_.data() + (static_cast<size_t>(record) + 1) * static_cast<size_t>(head_.recordLength);
  } else {
    if (LoadRecord(layer, section, record) != MAPGIS_OK) return nullptr;
    bytes = records_.data();
  }
  // A field that does not lie inside the record is an invalid definition.
  if (f->width < 0 || !FitsIn(static_cast<uint64_t>(head_.recordLength), f->offset, static_cast<uint64_t>(f->width))) {
    return nullptr;
  }
  const size_t width = static_cast<size_t>(f->width);
  const size_t need = width + 1 > kMinScratch ? width + 1 : kMinScratch;
  if (scratch_.size() < need) scratch_.resize(need);
  // Records of length 0 leave no buffer at all: copy only when there are bytes.
  if (width > 0) std::memcpy(scratch_.data(), bytes + f->offset, width);
  // Zeros after the value: its terminator and the bytes a typed read of a
  // shorter value finds missing.
  std::memset(scratch_.data() + width, 0, need - width);
  if (type == MAPGIS_FIELD_STRING || type == MAPGIS_FIELD_TEXT) {
    char* s = scratch_.data();
    size_t len = std::strlen(s);
    size_t lead = 0;
    while (lead < len && s[lead] == ' ') ++lead;
    std::memmove(s, s + lead, len - lead + 1);
    len -= lead;
    size_t kept = len;
    while (kept > 0 && s[kept - 1] == ' ') --kept;
    std::memset(s + kept, 0, len - kept);
  }
  return scratch_.data();
}

}  // namespace MapGis::detail

