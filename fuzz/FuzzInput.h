#pragma once
// Fuzz inputs reach the library as files opened by path: each execution
// writes its bytes to a file in a per-process scratch folder (in memory when
// /dev/shm exists) and removes what a conversion wrote there.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace fuzzing {

// A wide path for the library; the scratch paths are plain ASCII.
inline std::wstring Wide(const std::filesystem::path& p) {
  const std::string s = p.string();
  return std::wstring(s.begin(), s.end());
}

class Scratch {
 public:
  Scratch() {
    std::error_code ec;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
    root_ = base / ("gridmoor-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(root_ / "out", ec);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  // Writes `data` as `name` in the scratch folder and returns its path.
  std::filesystem::path Write(const std::string& name, const uint8_t* data, size_t size) {
    const std::filesystem::path p = root_ / name;
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return p;
  }
  std::filesystem::path Out() const { return root_ / "out"; }
  // Empties the output folder.
  void CleanOut() {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(Out(), ec)) std::filesystem::remove_all(e.path(), ec);
  }

 private:
  std::filesystem::path root_;
};

}  // namespace fuzzing
