#include "MapGisFormat.h"

namespace MapGis {

const char* LayerMagic(int type) {
  switch (type) {
    case MAPGIS_TYPE_LINE: return "WMAP`D21";
    case MAPGIS_TYPE_POINT: return "WMAP`D22";
    case MAPGIS_TYPE_POLYGON: return "WMAP`D23";
    case MAPGIS_TYPE_NETWORK: return "WMAP`D25";
    case MAPGIS_TYPE_TABLE: return "WMAP`D28";
    default: return nullptr;
  }
}

}  // namespace MapGis
