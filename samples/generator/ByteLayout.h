#pragma once
// Builds files byte by byte at their documented offsets, for the parts of
// the demo data set that the layer writer cannot express: network files,
// polygon files whose rings share arcs, the project file and the colour
// library.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "MapGisProjection.h"

namespace demo {

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "values are copied to the files in host order");

class Bytes {
 public:
  explicit Bytes(size_t size = 0) : data_(size, 0) {}

  size_t Size() const { return data_.size(); }
  const std::vector<uint8_t>& Data() const { return data_; }

  // Writes `value` at `offset`, growing the buffer with zeros as needed.
  template <class T>
  Bytes& Put(size_t offset, T value) {
    return Raw(offset, &value, sizeof value);
  }
  Bytes& Raw(size_t offset, const void* data, size_t n);
  // Appends and returns the offset the value starts at.
  template <class T>
  size_t Append(T value) {
    return AppendRaw(&value, sizeof value);
  }
  size_t AppendRaw(const void* data, size_t n);
  size_t AppendBytes(const Bytes& b) { return AppendRaw(b.data_.data(), b.data_.size()); }

 private:
  std::vector<uint8_t> data_;
};

// One field of an attribute section; the name is GBK text.
struct FieldDef {
  std::string name;
  int8_t type;
  int16_t width;
  int16_t display;
  int8_t decimals;
};

// An attribute section laid out as the layer writer lays its own out: the
// 348-byte field head, the 39-byte field definitions, then the record slots,
// slot 0 first. Every record starts with the byte 1 and its fields follow it.
class AttributeLayout {
 public:
  explicit AttributeLayout(std::vector<FieldDef> fields);

  // Appends a record of zeros (first byte 1); returns its index (slot - 1).
  int AddRecord();
  // Stores a numeric or structure value; its size must be the field's width.
  template <class T>
  void Set(int record, int field, const T& value) {
    Store(record, field, &value, sizeof value);
  }
  // Stores GBK text, cut to the field's width and padded with `pad`.
  void SetText(int record, int field, const std::string& gbk, char pad = ' ');

  Bytes Build() const;

 private:
  void Store(int record, int field, const void* value, size_t n);
  uint8_t* At(int record, int field);

  std::vector<FieldDef> fields_;
  std::vector<uint32_t> offsets_;
  int32_t recordLength_ = 1;
  std::vector<uint8_t> records_;  // slot 0 included
};

// A layer file laid out as the layer writer lays its own out: header at 0,
// projection at 91, element counts at 260, extent at 304, tic directory at
// 592 (zero), a 16-entry section directory at 657 and the sections from 817
// in section order without gaps.
class LayerLayout {
 public:
  explicit LayerLayout(int16_t type);

  void SetProjection(const MapGis::MAP_PARAstruct& para) { projection_ = para; }
  void SetCount(int index, int32_t value);
  void SetExtent(double xmin, double ymin, double xmax, double ymax);
  void SetSection(int n, Bytes bytes);

  Bytes Build() const;

 private:
  int16_t type_;
  MapGis::MAP_PARAstruct projection_{};
  int32_t counts_[11] = {0};
  double extent_[4] = {0, 0, 0, 0};
  std::map<int, Bytes> sections_;
};

// Writes the bytes to a new file (replacing one of that name); throws on failure.
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace demo
