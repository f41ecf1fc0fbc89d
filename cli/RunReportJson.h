#pragma once
// The run report of `gridmoor convert --report` as one JSON document
// (its schema is docs/report-schema.json).
#include <string>

#include "RunReport.h"

// The document for `report`, ending in the run's exit status.
std::string RunReportJson(const RunReport& report, int exitStatus);
