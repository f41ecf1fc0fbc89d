#include "ByteLayout.h"

#include <fstream>
#include <utility>

#include "DemoCommon.h"
#include "MapGisFormat.h"

namespace demo {

namespace {

constexpr size_t kDirectoryOffset = 657;
constexpr int kDirectoryEntries = 16;
constexpr size_t kFirstSection = kDirectoryOffset + 10 * kDirectoryEntries;  // 817
constexpr size_t kFieldHeadSize = 348;
constexpr size_t kFieldSize = 39;
// The first six bytes of the field head of every attribute section.
constexpr uint8_t kFieldHeadTag[6] = {0x60, 0x44, 0xDC, 0x07, 0x05, 0x16};

}  // namespace

Bytes& Bytes::Raw(size_t offset, const void* data, size_t n) {
  if (data_.size() < offset + n) data_.resize(offset + n, 0);
  if (n > 0) std::memcpy(&data_[offset], data, n);
  return *this;
}

size_t Bytes::AppendRaw(const void* data, size_t n) {
  const size_t at = data_.size();
  Raw(at, data, n);
  return at;
}

AttributeLayout::AttributeLayout(std::vector<FieldDef> fields) : fields_(std::move(fields)) {
  for (const FieldDef& f : fields_) {
    if (f.name.size() > 19) throw DemoError("field name over 19 bytes: " + f.name);
    offsets_.push_back(static_cast<uint32_t>(recordLength_));
    recordLength_ += f.width;
  }
  // Slot 0: zeros behind the leading 1.
  records_.assign(static_cast<size_t>(recordLength_), 0);
  records_[0] = 1;
}

int AttributeLayout::AddRecord() {
  const size_t at = records_.size();
  records_.resize(at + static_cast<size_t>(recordLength_), 0);
  records_[at] = 1;
  return static_cast<int>(records_.size() / static_cast<size_t>(recordLength_)) - 2;
}

uint8_t* AttributeLayout::At(int record, int field) {
  const size_t slots = records_.size() / static_cast<size_t>(recordLength_);
  if (record < 0 || static_cast<size_t>(record) + 1 >= slots || field < 0 ||
      static_cast<size_t>(field) >= fields_.size()) {
    throw DemoError("attribute record or field out of range");
  }
  return &records_[(static_cast<size_t>(record) + 1) * static_cast<size_t>(recordLength_) +
                   offsets_[static_cast<size_t>(field)]];
}

void AttributeLayout::Store(int record, int field, const void* value, size_t n) {
  uint8_t* to = At(record, field);
  if (n != static_cast<size_t>(fields_[static_cast<size_t>(field)].width)) {
    throw DemoError("value size differs from the width of field " + fields_[static_cast<size_t>(field)].name);
  }
  std::memcpy(to, value, n);
}

void AttributeLayout::SetText(int record, int field, const std::string& gbk, char pad) {
  uint8_t* to = At(record, field);
  const size_t width = static_cast<size_t>(fields_[static_cast<size_t>(field)].width);
  if (gbk.size() > width) throw DemoError("text longer than field " + fields_[static_cast<size_t>(field)].name);
  std::memcpy(to, gbk.data(), gbk.size());
  std::memset(to + gbk.size(), pad, width - gbk.size());
}

Bytes AttributeLayout::Build() const {
  Bytes b;
  const int32_t dataOffset = static_cast<int32_t>(kFieldHeadSize + kFieldSize * fields_.size());
  b.Raw(0, kFieldHeadTag, sizeof kFieldHeadTag);
  b.Put<int32_t>(12, dataOffset);
  b.Put<uint16_t>(320, 0x4460);
  b.Put<int16_t>(322, static_cast<int16_t>(fields_.size()));
  b.Put<int32_t>(324, static_cast<int32_t>(records_.size() / static_cast<size_t>(recordLength_)));
  b.Put<int32_t>(328, recordLength_);
  b.Put<uint8_t>(kFieldHeadSize - 1, 0);  // the head is 348 bytes whatever is set in it
  for (size_t i = 0; i < fields_.size(); ++i) {
    const size_t at = kFieldHeadSize + kFieldSize * i;
    const FieldDef& f = fields_[i];
    b.Raw(at, f.name.data(), f.name.size());
    b.Put<int8_t>(at + 20, f.type);
    b.Put<uint32_t>(at + 21, offsets_[i]);
    b.Put<int16_t>(at + 25, f.width);
    b.Put<int16_t>(at + 27, f.display);
    b.Put<int8_t>(at + 29, f.decimals);
    b.Put<uint8_t>(at + 30, 1);
    b.Put<int16_t>(at + 33, static_cast<int16_t>(i));
    b.Put<uint8_t>(at + kFieldSize - 1, 0);
  }
  b.Raw(static_cast<size_t>(dataOffset), records_.data(), records_.size());
  return b;
}

LayerLayout::LayerLayout(int16_t type) : type_(type) {
  if (!MapGis::LayerMagic(type)) throw DemoError("unknown layer type");
}

void LayerLayout::SetCount(int index, int32_t value) {
  if (index < 0 || index >= 11) throw DemoError("element count index out of range");
  counts_[index] = value;
}

void LayerLayout::SetExtent(double xmin, double ymin, double xmax, double ymax) {
  extent_[0] = xmin;
  extent_[1] = ymin;
  extent_[2] = xmax;
  extent_[3] = ymax;
}

void LayerLayout::SetSection(int n, Bytes bytes) {
  if (n < 0 || n >= kDirectoryEntries) throw DemoError("section number out of range");
  sections_[n] = std::move(bytes);
}

Bytes LayerLayout::Build() const {
  Bytes b(kFirstSection);
  b.Raw(0, MapGis::LayerMagic(type_), 8);
  b.Put<int16_t>(8, type_);
  b.Put<uint16_t>(10, 0);
  b.Put<int32_t>(12, static_cast<int32_t>(kDirectoryOffset));
  b.Put<int32_t>(16, kDirectoryEntries);
  b.Raw(91, &projection_, sizeof projection_);
  b.Raw(260, counts_, sizeof counts_);
  b.Raw(304, extent_, sizeof extent_);
  // Sections follow the directory in section order; unused entries keep
  // offset 0, length 0 and the tag 65535, as the layer writer leaves them.
  size_t at = kFirstSection;
  for (int n = 0; n < kDirectoryEntries; ++n) {
    const size_t entry = kDirectoryOffset + 10 * static_cast<size_t>(n);
    b.Put<uint16_t>(entry + 8, 0xFFFF);
    auto it = sections_.find(n);
    if (it == sections_.end() || it->second.Size() == 0) continue;
    b.Put<uint32_t>(entry, static_cast<uint32_t>(at));
    b.Put<uint32_t>(entry + 4, static_cast<uint32_t>(it->second.Size()));
    b.Raw(at, it->second.Data().data(), it->second.Size());
    at += it->second.Size();
  }
  return b;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.Data().data()), static_cast<std::streamsize>(bytes.Size()));
  out.close();
  if (!out) throw DemoError("cannot write " + path.u8string());
}

}  // namespace demo
