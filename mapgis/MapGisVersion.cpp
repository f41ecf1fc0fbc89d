#include "MapGisVersion.h"

namespace MapGis {

const char* LibraryVersion() { return BRINDLE_VERSION; }

}  // namespace MapGis
