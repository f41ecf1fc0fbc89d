#pragma once
// The pieces of a layer report, each written by its own unit.
#include <iosfwd>

namespace MapGis {
class MapGis_FastReader;
}

namespace gridmoor {

// The first `limit` record slots of every geometry table of the open layer.
void ReportGeometryRecords(std::ostream& out, MapGis::MapGis_FastReader& reader, int limit);

// Every attribute table the open layer's type can hold: its fields, its
// record count and its first `limit` records. A table the file lacks is
// reported with its status.
void ReportAttributeTables(std::ostream& out, MapGis::MapGis_FastReader& reader, int limit);

}  // namespace gridmoor
