#pragma once
// A temporary folder for one test, removed with everything in it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Full path of `name` inside the folder.
  std::filesystem::path File(const std::string& name) const { return path_ / std::filesystem::u8path(name); }
  // Writes `bytes` to `name` and returns the wide path for the library.
  std::wstring Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  // Copies a real sample into the folder; returns its wide path.
  std::wstring CopySample(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// Wide form of a UTF-8 path.
std::wstring Wide(const std::filesystem::path& p);
// The bytes of a file.
std::vector<uint8_t> ReadAll(const std::filesystem::path& p);
// Folder of the real MapGIS samples.
std::filesystem::path RealSamples();

}  // namespace testing_support
