#include "FileBytes.h"

#include <filesystem>
#include <fstream>

namespace gridmoor {

bool ReadFileStart(const std::string& path, uint64_t limit, std::vector<unsigned char>& bytes, uint64_t& fileSize,
                   std::string& error) {
  bytes.clear();
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary | std::ios::ate);
  if (!in) {
    error = "cannot open the file";
    return false;
  }
  const std::streamoff end = in.tellg();
  if (end < 0) {
    error = "cannot tell the file size";
    return false;
  }
  fileSize = static_cast<uint64_t>(end);
  bytes.resize(static_cast<size_t>(fileSize < limit ? fileSize : limit));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<size_t>(in.gcount()) != bytes.size()) {
    error = "cannot read the file";
    return false;
  }
  return true;
}

}  // namespace gridmoor
