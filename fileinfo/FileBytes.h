#pragma once
// The first bytes of a file, read once for the inspection of its layout.
#include <cstdint>
#include <string>
#include <vector>

namespace gridmoor {

// Reads up to `limit` bytes from the start of the file at `path` (UTF-8)
// into `bytes` and its size into `fileSize`. Returns false, with `error`
// set, when the file cannot be opened, measured or read.
bool ReadFileStart(const std::string& path, uint64_t limit, std::vector<unsigned char>& bytes, uint64_t& fileSize,
                   std::string& error);

}  // namespace gridmoor
