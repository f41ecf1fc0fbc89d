#pragma once
// Runs the gridmoor binary the way a person would, in a scratch folder that
// holds copies of the real samples and fixtures written by the tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace cli_testing {

struct CliResult {
  int exitCode = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs the program `argv[0]` with its arguments; stdout and stderr are captured apart.
CliResult RunProgram(std::vector<std::string> argv);
// Runs the gridmoor binary with `args`.
CliResult RunGridmoor(const std::vector<std::string>& args);

// Success when `part` occurs in `text`; the failure shows both.
::testing::AssertionResult Contains(const std::string& text, const std::string& part);

// The first line of `text` that starts with `prefix` once its indentation
// is removed, without that indentation; "" when there is none.
std::string LineStarting(const std::string& text, const std::string& prefix);

// Row counts of the layers of a GeoPackage opened for update, as QGIS and
// ogrinfo open it (which rolls back what a killed writer left); empty when
// there is no file. A file that does not open, or fails SQLite's integrity
// check, gives one entry "!". The layer_styles table is not counted.
std::map<std::string, long long> GeoPackageLayers(const std::filesystem::path& gpkg);

// A temporary folder, removed with its contents.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // Copies a real sample (path relative to the samples folder, UTF-8) and
  // returns the UTF-8 path of the copy.
  std::string CopySample(const std::string& relative) const;
  // Writes `bytes` to `name` and returns its UTF-8 path.
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace cli_testing
