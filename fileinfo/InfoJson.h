#pragma once
// The JSON form of the report: one document for a run over many files.
#include <iosfwd>

#include "InfoFile.h"

namespace gridmoor {

// Writes the opening of the document, then one file at a time, then the
// summary, so that a long run keeps only one file in memory.
class JsonReportWriter {
 public:
  explicit JsonReportWriter(std::ostream& out);
  void Add(const InspectedFile& file);
  // Closes the document with the counts of files read and failed.
  void Finish();

 private:
  std::ostream& out_;
  int files_ = 0;
  int failed_ = 0;
};

}  // namespace gridmoor
