#pragma once
// The pieces of the reports, each written by its own unit.
#include <iosfwd>
#include <string>

namespace MapGis {
class MapGis_FastReader;
struct MAP_PARAstruct;
}

namespace gridmoor {

struct InfoOptions;

// The first `limit` record slots of every geometry table of the open layer.
void ReportGeometryRecords(std::ostream& out, MapGis::MapGis_FastReader& reader, int limit);

// Every attribute table the open layer's type can hold: its fields, its
// record count and its first `limit` records. A table the file lacks is
// reported with its status.
void ReportAttributeTables(std::ostream& out, MapGis::MapGis_FastReader& reader, int limit);

// A projection record (already normalised by the reader that gave it).
void ReportProjection(std::ostream& out, const MapGis::MAP_PARAstruct& projection);

// A project file (.MPJ): header, extent, projection, description and every
// item. Returns true when the project loaded.
bool ReportProject(std::ostream& out, const std::string& path);

// A colour library: head, spot inks and, when `listColors` is set, one line
// per colour (all of them, or the first options.records when --records was
// given). Returns true when the library loaded.
bool ReportColorLibrary(std::ostream& out, const std::string& path, bool listColors, const InfoOptions& options);

}  // namespace gridmoor
