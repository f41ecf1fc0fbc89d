#pragma once
// One attribute section of a layer file: field definitions, records and the
// value reads shared by every reader.
#include <cstdint>
#include <string>
#include <vector>

#include "LayerFile.h"
#include "MapGisAttributes.h"

namespace MapGis::detail {

class AttributeTable {
 public:
  // Whole: all records in one read (memory reader); otherwise one record
  // at a time (fast and legacy readers).
  explicit AttributeTable(bool wholeTable = true) : wholeTable_(wholeTable) {}

  // Forgets everything loaded; the current record becomes -1.
  void Reset();

  bool DefinitionsLoaded() const { return definitionsLoaded_; }
  bool RecordsLoaded() const { return recordsLoaded_; }

  // Reads the field head and field table at the start of `section`.
  long LoadDefinitions(const LayerFile& layer, int section);
  // Reads every record slot of the table in one read.
  long LoadAllRecords(const LayerFile& layer, int section);
  // Reads only record `record` (slot record + 1).
  long LoadRecord(const LayerFile& layer, int section, int record);

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  // Readable records: slots - 1, never below 0.
  long RecordCount() const { return head_.recordCount > 1 ? head_.recordCount - 1 : 0; }
  const MAPGIS_Field* Field(int i) const;

  // Field i's name (first token, wide), widths and type; see GetFieldInfo.
  long FieldInfo(int i, wchar_t* name, int* width, int* display, int* decimals) const;
  // Index of the field named like the first token of `name`, any letter case.
  long FieldIndex(const wchar_t* name) const;

  // The raw value of one field of one record in the scratch buffer, trimmed
  // of spaces for the text types; null when it cannot be read.
  void* Value(const LayerFile& layer, int section, int record, int field, int type);

  // The scratch buffer is at least this long, so a typed read of a shorter
  // value finds zeros where its bytes are missing.
  static constexpr size_t kMinScratch = 32;

 private:
  bool wholeTable_;
  bool definitionsLoaded_ = false;
  bool recordsLoaded_ = false;
  MAPGIS_FieldHead head_{};
  std::vector<MAPGIS_Field> fields_;
  // Each field's name token, decoded once when the definitions load: name
  // look-ups run per value in the converters.
  std::vector<std::wstring> names_;
  std::vector<uint8_t> records_;   // all slots, or the current record only
  int current_ = -1;
  std::vector<char> scratch_;
};

// Typed views of a raw value (the scratch buffer): little-endian leading bytes.
template <class T>
T RawAs(const void* raw) {
  T v{};
  if (raw) std::memcpy(&v, raw, sizeof v);
  return v;
}

}  // namespace MapGis::detail
