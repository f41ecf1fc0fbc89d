#pragma once
// The open layer file and its header block: what every reader of the layer
// format holds, with the checked reads all of them share.
#include <cstdint>
#include <cstring>
#include <vector>

#include "BinaryFile.h"
#include "MapGisFormat.h"
#include "MapGisProjection.h"
#include "MapGisStatus.h"

namespace MapGis::detail {

// Which type words an opener accepts.
enum AcceptedTypes : unsigned {
  kAcceptAll = 0,              // 0, 1, 2, 4, 7
  kAcceptNoNetwork = 1,        // 0, 1, 2, 7
};

class LayerFile {
 public:
  LayerFile() = default;
  // A copy shares nothing with its original: the file is duplicated.
  LayerFile(const LayerFile& other);
  LayerFile& operator=(const LayerFile& other);

  // Opens the file and validates its header block in the documented order.
  long Open(const wchar_t* path, BinaryFile::Mode mode, AcceptedTypes accepted);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }

  const BinaryFile& File() const { return file_; }
  BinaryFile& File() { return file_; }
  uint64_t FileSize() const { return file_.Size(); }

  int Type() const { return head.type; }
  // Element count `i` as stored.
  int32_t Element(int i) const { return elements.count[i]; }
  // Readable indexes of a table whose slots are element `i`: max(slots - 1, 0).
  int32_t Readable(int slotsElement) const {
    const int32_t slots = elements.count[slotsElement];
    return slots > 1 ? slots - 1 : 0;
  }

  bool HasSection(int n) const { return n >= 0 && static_cast<size_t>(n) < directory.size(); }
  uint64_t SectionOffset(int n) const { return HasSection(n) ? directory[n].offset : 0; }
  uint64_t SectionLength(int n) const { return HasSection(n) ? directory[n].length : 0; }

  // Reads `length` bytes at `offset` inside section `n`; false when the
  // section is missing or the bytes are not in the file.
  bool ReadSection(int n, uint64_t offset, void* buffer, size_t length) const;

  // Loads `slots` records of type Rec from the start of section `n`.
  // A count that the file cannot hold costs -9983 before anything is allocated.
  template <class Rec>
  long LoadRecords(int n, int64_t slots, std::vector<Rec>& table) const {
    table.clear();
    if (slots <= 0) return MAPGIS_OK;
    if (!HasSection(n)) return MAPGIS_READ_FAILED;
    const uint64_t bytes = static_cast<uint64_t>(slots) * sizeof(Rec);
    if (!FitsFile(SectionOffset(n), bytes)) return MAPGIS_READ_FAILED;
    table.resize(static_cast<size_t>(slots));
    if (!file_.ReadAt(SectionOffset(n), table.data(), static_cast<size_t>(bytes))) {
      table.clear();
      return MAPGIS_READ_FAILED;
    }
    return MAPGIS_OK;
  }

  // Reads and validates the header block of the open file.
  long ReadHeader(AcceptedTypes accepted);

  // True when [offset, offset + length) lies in the file.
  bool FitsFile(uint64_t offset, uint64_t length) const;

  MAPGIS_HEAD head{};
  MAP_PARAstruct projection{};
  MAPGIS_Element elements{};
  double extent[4] = {0, 0, 0, 0};
  MAPGIS_Tic_Stru tic{};
  std::vector<MAPGIS_Part> directory;

 private:
  BinaryFile file_;
};

}  // namespace MapGis::detail
