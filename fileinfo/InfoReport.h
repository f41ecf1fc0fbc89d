#pragma once
// `gridmoor info`: a report of what the library sees in MapGIS files: for
// layers the header, counts, projection, section directory, attribute tables
// and, on request, the first records of every table; for project files their
// items; for colour libraries their colours. As plain text, or as one JSON
// document with the same values.
#include <iosfwd>
#include <string>
#include <vector>

namespace gridmoor {

struct InfoOptions {
  int records = 0;            // records to list per table; 0 lists none
  bool recordsGiven = false;  // --records was given (it also limits the colour lines)
  bool colors = false;        // read every file as a colour library
};

// Reports one file (UTF-8 path). Returns true when the file could be read.
bool ReportFile(std::ostream& out, const std::string& path, const InfoOptions& options);

// Reports every file in turn, going on after a failure. Returns the number
// of files that could not be read.
int ReportFiles(std::ostream& out, const std::vector<std::string>& paths, const InfoOptions& options);

// The same reports as one JSON document: {"files": [...], "summary": {...}}.
// Returns the number of files that could not be read.
int ReportFilesJson(std::ostream& out, const std::vector<std::string>& paths, const InfoOptions& options);

}  // namespace gridmoor
