#pragma once
// The section directory of a layer file, read on its own for inspection:
// the reader uses the directory but does not hand it out.
#include <cstdint>
#include <string>
#include <vector>

namespace gridmoor {

struct SectionEntry {
  uint32_t offset;  // from the start of the file
  uint32_t length;  // in bytes
};

// Reads the directory of the layer file at `path` (UTF-8). Returns false,
// with `error` set, when the header or the directory cannot be read whole.
bool ReadSectionDirectory(const std::string& path, std::vector<SectionEntry>& entries, std::string& error);

}  // namespace gridmoor
