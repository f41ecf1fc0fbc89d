#pragma once
// Status codes returned by every operation of the library.

namespace MapGis {

enum : long {
  MAPGIS_OK = 99999,                 // success
  MAPGIS_NOT_SYSTEM_FILE = -10000,   // header word at offset 10 is not 0
  MAPGIS_OUT_OF_MEMORY = -9999,      // an allocation failed
  MAPGIS_NOT_MAPGIS_FILE = -9997,    // unknown type word, magic mismatch, wrong kind
  MAPGIS_OPEN_FAILED = -9996,        // the file cannot be opened, or its directory is out of range
  MAPGIS_READ_FAILED = -9983,        // a read failed, or an index is out of range
  MAPGIS_WRITE_FAILED = -9982,       // a write failed
  MAPGIS_DELETED = -9981,            // the record is deleted
  MAPGIS_NO_TABLE = -9980,           // no such table, or invalid field definitions
  MAPGIS_BAD_ARC_LIST = -9979,       // invalid polygon arc list
  MAPGIS_MULTI_PART = -9969,         // writer: the geometry has more parts than the record takes
};

// A short English description of a status, for diagnostics.
const char* StatusText(long status);

}  // namespace MapGis
