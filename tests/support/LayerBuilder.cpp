#include "LayerBuilder.h"

namespace testing_support {

namespace {
const char* Magic(int16_t type) {
  switch (type) {
    case 0: return "WMAP`D21";
    case 1: return "WMAP`D22";
    case 2: return "WMAP`D23";
    case 4: return "WMAP`D25";
    case 7: return "WMAP`D28";
    default: return "WMAP`D2?";
  }
}
}  // namespace

Bytes AttributeSection(const std::vector<FieldDef>& fields, int32_t recordLength, const std::vector<Bytes>& records) {
  ByteBuilder b(348);
  b.U8(0, 0x60).U8(1, 0x44);
  const int32_t dataOffset = 348 + 39 * static_cast<int32_t>(fields.size());
  b.I32(12, dataOffset);
  b.U16(320, 0x4460);
  b.I16(322, static_cast<int16_t>(fields.size()));
  b.I32(324, static_cast<int32_t>(records.size()) + 1);
  b.I32(328, recordLength);
  for (size_t i = 0; i < fields.size(); ++i) {
    const size_t o = 348 + 39 * i;
    b.Grow(o + 39);
    b.Raw(o, fields[i].name.data(), fields[i].name.size() < 20 ? fields[i].name.size() : 20);
    b.Put<int8_t>(o + 20, fields[i].type);
    b.U32(o + 21, fields[i].offset);
    b.I16(o + 25, fields[i].width);
    b.I16(o + 27, fields[i].display);
    b.Put<int8_t>(o + 29, fields[i].decimals);
  }
  size_t at = static_cast<size_t>(dataOffset) + static_cast<size_t>(recordLength);  // slot 0
  b.Grow(at);
  for (const Bytes& r : records) {
    Bytes rec = r;
    rec.resize(static_cast<size_t>(recordLength), 0);
    b.Raw(at, rec.data(), rec.size());
    at += rec.size();
  }
  return b.Bytes();
}

Bytes PointRecord(uint8_t status, double x, double y, uint8_t kind, int16_t textLength, uint32_t textOffset,
                  int32_t color) {
  ByteBuilder b(93);
  b.U8(0, status).I16(1, textLength).U32(3, textOffset).F64(7, x).F64(15, y).U8(31, kind).I32(75, color);
  return b.Bytes();
}

Bytes LineRecord(uint8_t status, int32_t pointCount, uint32_t dataOffset, int32_t color) {
  ByteBuilder b(57);
  b.U8(0, status).I32(10, pointCount).U32(14, dataOffset).I32(26, color);
  return b.Bytes();
}

Bytes PolygonRecord(uint8_t status, int32_t arcCount, uint32_t arcOffset, int32_t fillColor) {
  ByteBuilder b(40);
  b.U8(0, status).I32(1, arcCount).U32(5, arcOffset).I32(9, fillColor);
  return b.Bytes();
}

Bytes NodeRecord(uint8_t status, double x, double y, uint32_t paramOffset) {
  ByteBuilder b(55);
  b.F64(0, x).F64(8, y).U8(24, status).U32(30, paramOffset);
  return b.Bytes();
}

Bytes Table(size_t recordSize, const std::vector<Bytes>& records) {
  Bytes out(recordSize, 0);
  for (const Bytes& r : records) out.insert(out.end(), r.begin(), r.end());
  return out;
}

LayerBuilder::LayerBuilder(int16_t type) : head_(817) {
  head_.Text(0, Magic(type));
  head_.I16(8, type).U16(10, 0).I32(12, 657).I32(16, 16);
}

LayerBuilder& LayerBuilder::Element(int index, int32_t value) {
  head_.I32(260 + 4 * static_cast<size_t>(index), value);
  return *this;
}

LayerBuilder& LayerBuilder::Extent(double xmin, double ymin, double xmax, double ymax) {
  head_.F64(304, xmin).F64(312, ymin).F64(320, xmax).F64(328, ymax);
  return *this;
}

LayerBuilder& LayerBuilder::Tic(int32_t count, uint32_t offset) {
  head_.I32(592, count).U32(596, offset);
  return *this;
}

LayerBuilder& LayerBuilder::Section(int n, Bytes bytes) {
  sections_[n] = std::move(bytes);
  return *this;
}

Bytes LayerBuilder::Build() const {
  ByteBuilder out = head_;
  size_t at = 817;
  for (int n = 0; n < 16; ++n) {
    const size_t entry = 657 + 10 * static_cast<size_t>(n);
    auto it = sections_.find(n);
    if (it == sections_.end()) {
      out.U32(entry, 0).U32(entry + 4, 0).U16(entry + 8, 0xFFFF);
      continue;
    }
    out.U32(entry, static_cast<uint32_t>(at)).U32(entry + 4, static_cast<uint32_t>(it->second.size()));
    out.U16(entry + 8, 0);
    out.Raw(at, it->second.data(), it->second.size());
    at += it->second.size();
  }
  return out.Bytes();
}

uint32_t DataArea::AddRun(const std::vector<double>& xy) {
  const uint32_t at = static_cast<uint32_t>(bytes_.size());
  bytes_.resize(bytes_.size() + xy.size() * 8);
  std::memcpy(&bytes_[at], xy.data(), xy.size() * 8);
  return at;
}

uint32_t DataArea::AddText(const std::string& text) {
  const uint32_t at = static_cast<uint32_t>(bytes_.size());
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return at;
}

uint32_t DataArea::AddInts(const std::vector<int32_t>& values) {
  const uint32_t at = static_cast<uint32_t>(bytes_.size());
  bytes_.resize(bytes_.size() + values.size() * 4);
  std::memcpy(&bytes_[at], values.data(), values.size() * 4);
  return at;
}

uint32_t DataArea::AddBytes(const Bytes& b) {
  const uint32_t at = static_cast<uint32_t>(bytes_.size());
  bytes_.insert(bytes_.end(), b.begin(), b.end());
  return at;
}

}  // namespace testing_support
