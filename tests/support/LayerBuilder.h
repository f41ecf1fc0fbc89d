#pragma once
// Writes MapGIS layer files for tests at the documented byte offsets.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ByteBuilder.h"

namespace testing_support {

using Bytes = std::vector<uint8_t>;

struct FieldDef {
  std::string name;  // 8-bit (GBK) bytes
  int8_t type;
  uint32_t offset;
  int16_t width;
  int16_t display;
  int8_t decimals;
};

// An attribute section: field head, field table, then record slots (slot 0
// is written as zeros before the given records).
Bytes AttributeSection(const std::vector<FieldDef>& fields, int32_t recordLength, const std::vector<Bytes>& records);

// One 93-byte point record.
Bytes PointRecord(uint8_t status, double x, double y, uint8_t kind = 1, int16_t textLength = 0,
                  uint32_t textOffset = 0, int32_t color = 0);
// One 57-byte line record.
Bytes LineRecord(uint8_t status, int32_t pointCount, uint32_t dataOffset, int32_t color = 0);
// One 40-byte polygon record.
Bytes PolygonRecord(uint8_t status, int32_t arcCount, uint32_t arcOffset, int32_t fillColor = 0);
// One 55-byte network node record.
Bytes NodeRecord(uint8_t status, double x, double y, uint32_t paramOffset);

// Concatenation of records, with an all-zero slot 0 of `size` bytes first.
Bytes Table(size_t recordSize, const std::vector<Bytes>& records);

class LayerBuilder {
 public:
  explicit LayerBuilder(int16_t type);

  LayerBuilder& Element(int index, int32_t value);
  LayerBuilder& Extent(double xmin, double ymin, double xmax, double ymax);
  LayerBuilder& Tic(int32_t count, uint32_t offset);
  LayerBuilder& Section(int n, Bytes bytes);
  // Direct access to the header block (offsets below 817).
  ByteBuilder& Header() { return head_; }

  // Lays the sections out from offset 817 after a 16-entry directory at 657.
  Bytes Build() const;

 private:
  ByteBuilder head_;
  std::map<int, Bytes> sections_;
};

// Section 1 content built up piece by piece; offsets are relative to its start.
class DataArea {
 public:
  DataArea() : bytes_(2, 0) {}
  // Appends x, y pairs; returns their offset.
  uint32_t AddRun(const std::vector<double>& xy);
  uint32_t AddText(const std::string& text);
  uint32_t AddInts(const std::vector<int32_t>& values);
  uint32_t AddBytes(const Bytes& b);
  const Bytes& Get() const { return bytes_; }

 private:
  Bytes bytes_;
};

}  // namespace testing_support
