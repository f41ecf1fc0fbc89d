// Fuzz target: one input converted end to end through the converters of its
// kind, with the options its first two bytes choose (see ConvertWalk.h).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "ConvertWalk.h"
#include "HeapBound.h"

namespace {

// The colour library the style modes resolve colours through: the one named
// by GRIDMOOR_FUZZ_COLOURS, else the real sample's when it is there.
std::wstring ColourLibrary() {
  std::string path;
  if (const char* env = std::getenv("GRIDMOOR_FUZZ_COLOURS")) {
    path = env;
  } else {
    path = std::string(GRIDMOOR_REAL_SAMPLES) + "/colour/Pcolor.lib";
  }
  std::error_code ec;
  return std::filesystem::exists(path, ec) ? fuzzing::Wide(path) : std::wstring();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzzing::ConvertRunner runner(ColourLibrary());
  fuzzing::HeapBound bound(size);
  runner.Run(data, size);
  return 0;
}
