#pragma once
// Everything a MapGis_FastReader holds between calls.
#include "AttributeTable.h"
#include "LayerFile.h"
#include "LayerTables.h"

namespace MapGis::detail {

struct FastReaderState {
  LayerFile layer;
  LayerTables tables;
  int attributeKind = 0;
  // Records are read one at a time through the file's read windows, so a
  // conversion never holds a whole attribute table in memory.
  AttributeTable attributes{false};
};

// Section of the attribute table `kind` in a file of header type `type`,
// or -1 when the file has no such table.
int FastAttributeSection(int type, int kind);

// Default attribute kind of a file type after Open.
int DefaultAttributeKind(int type);

}  // namespace MapGis::detail
