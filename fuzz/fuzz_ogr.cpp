// Fuzz target: the OGR driver. Each input is written as a scratch file and
// opened through GDAL with the MAPGIS driver only, registered in this
// process; every layer is read as OgrWalk.h says. A broken promise of the
// driver aborts like a sanitizer finding, so libFuzzer keeps the input.
#include <cpl_error.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzInput.h"
#include "HeapBound.h"
#include "OgrMapGis.h"
#include "OgrWalk.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Warnings about damaged records are expected on every input: keep them
  // quiet and cheap. Only this driver is registered, so no open asks another.
  CPLSetErrorHandler(CPLQuietErrorHandler);
  RegisterOGRMAPGIS();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzzing::Scratch scratch;
  fuzzing::HeapBound bound(size);
  const fuzzing::OgrWalkResult result = fuzzing::WalkOgrDataset(scratch.Write("input.dat", data, size).string());
  if (!result.faults.empty()) {
    for (const std::string& fault : result.faults) std::fprintf(stderr, "==OgrWalk== %s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
