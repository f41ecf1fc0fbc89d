#include "TempDir.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "MapGisCodePage.h"

namespace testing_support {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "gridmoor-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::wstring Wide(const std::filesystem::path& p) { return MapGis::Utf8ToWide(p.u8string()); }

std::wstring TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  const auto p = File(name);
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return Wide(p);
}

std::wstring TempDir::CopySample(const std::string& relative) const {
  const auto from = RealSamples() / std::filesystem::u8path(relative);
  const auto to = path_ / from.filename();
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(to, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  return Wide(to);
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path RealSamples() { return std::filesystem::u8path(GRIDMOOR_REAL_SAMPLES); }

}  // namespace testing_support
