#pragma once
// File hooks for shapelib that keep writes in a large buffer. shapelib
// seeks before every record it writes; through stdio each seek flushes the
// buffer, costing a seek, a write and often a read per record. These hooks
// treat a seek as a position change only and write contiguous data in big
// blocks; a read or a jump away from the buffered run writes it out first.
//
// shapelib ignores the result of closing a file, and with buffering a full
// disk shows only when the buffer is written. So the hooks remember the
// first failure of the calling thread (shapelib calls the hooks on the
// thread that calls it), and a writer asks for it after its calls.
#include <shapefil.h>

#include <string>

// The hooks (default error and number parsing, buffered file access).
const SAHooks& BufferedShapeHooks();

// A file that could not be written: its path and the system's error number.
struct ShapeFileFailure {
  std::string path;
  int error = 0;
};

// Forgets the calling thread's failure.
void ClearShapeFileFailure();
// The calling thread's first failure since the last clear, or null.
const ShapeFileFailure* LastShapeFileFailure();
