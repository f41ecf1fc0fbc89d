#include "MapGisStatus.h"

namespace MapGis {

const char* StatusText(long status) {
  switch (status) {
    case MAPGIS_OK: return "success";
    case MAPGIS_NOT_SYSTEM_FILE: return "not a system file";
    case MAPGIS_OUT_OF_MEMORY: return "out of memory";
    case MAPGIS_NOT_MAPGIS_FILE: return "not a MapGIS file";
    case MAPGIS_OPEN_FAILED: return "open failed";
    case MAPGIS_READ_FAILED: return "read failed or index out of range";
    case MAPGIS_WRITE_FAILED: return "write failed";
    case MAPGIS_DELETED: return "deleted record";
    case MAPGIS_NO_TABLE: return "no such table or invalid field definitions";
    case MAPGIS_BAD_ARC_LIST: return "invalid polygon arc list";
    case MAPGIS_MULTI_PART: return "geometry has more parts than the record takes";
    default: return status >= 0 ? "count" : "unknown error";
  }
}

}  // namespace MapGis
