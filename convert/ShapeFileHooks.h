#pragma once
// File hooks for shapelib that keep writes in a large buffer. shapelib
// seeks before every record it writes; through stdio each seek flushes the
// buffer, costing a seek, a write and often a read per record. These hooks
// treat a seek as a position change only and write contiguous data in big
// blocks; a read or a jump away from the buffered run writes it out first.
#include <shapefil.h>

// The hooks (default error and number parsing, buffered file access).
const SAHooks& BufferedShapeHooks();
