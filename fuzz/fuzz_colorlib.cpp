// Fuzz target: colour libraries.
#include <cstddef>
#include <cstdint>

#include "FuzzInput.h"
#include "HeapBound.h"
#include "LibraryWalks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzzing::Scratch scratch;
  fuzzing::HeapBound bound(size);
  fuzzing::WalkColorLib(fuzzing::Wide(scratch.Write("input.dat", data, size)));
  return 0;
}
