#pragma once
// The bytes of a colour library as the file stores them, read on their own
// for inspection: the library resolves colours but does not hand out the
// stored ink bytes and shares.
#include <cstdint>
#include <string>
#include <vector>

#include "MapGisColorLib.h"

namespace gridmoor {

struct StoredColors {
  MapGis::COLORLIB_HEAD head{};
  // The complete records the file holds, at most as many as the head counts.
  std::vector<MapGis::MAPGIS_Color> colors;
  uint64_t recordsInFile = 0;  // complete 32-byte records behind the head
  uint64_t trailingBytes = 0;  // bytes of an incomplete last record
};

// Reads the head and records of the colour library at `path` (UTF-8).
// Returns false, with `error` set, when the head cannot be read whole.
bool ReadStoredColors(const std::string& path, StoredColors& stored, std::string& error);

}  // namespace gridmoor
