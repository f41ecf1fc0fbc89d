#pragma once
// A batch over the file list: every entry in list order, named, checked for
// clashes, converted by the converters of its kind (on several threads when
// asked), marked with its status, and a summary. Everything a run needs is
// given to it; nothing is process-wide.
#include <functional>
#include <string>

#include "ColorModel.h"
#include "ConversionLog.h"
#include "ConversionOptions.h"
#include "ConvertHost.h"
#include "EntryConversion.h"
#include "FileList.h"
#include "MapGis.h"
#include "OverwritePolicy.h"
#include "RunReport.h"

// The outcome of a batch.
struct BatchSummary {
  int done = 0;
  int empty = 0;
  int skipped = 0;
  int failed = 0;
  int missing = 0;
  int total = 0;
  bool cancelled = false;   // Escape (Ctrl-C) answered Yes, or the clash answer "stop"
  std::wstring text;        // "转换完成：..."
};

// `path` shortened to at most `maxChars` characters with "..." in the middle,
// keeping its file name.
std::wstring CompactPath(const std::wstring& path, size_t maxChars);

// Loads "Pcolor.lib" (any letter case) from the LibPath folder when the
// style mode uses colours, logging the library used. 1 when the run may use
// style values, 0 when the library is missing or unreadable (the host then
// shows a warning).
int LoadColourLibrary(const ConversionOptions& options, MapGis::MapGis_ColorLib& library, ConvertHost* host,
                      ConversionLog& log);

class BatchRunner {
 public:
  // `host` shows the run to a person (may be null), `sink` receives the log
  // lines, `colours` is the colour library of the run (may be empty).
  BatchRunner(const ConversionOptions& options, FileList& files, const MapGis::MapGis_ColorLib& colours,
              ConvertHost* host, LogSink* sink);

  // Entries converted at once (1: one after the other). Names, clash
  // questions, log order, statuses and outputs do not depend on it.
  void SetJobs(int jobs) { jobs_ = jobs < 1 ? 1 : jobs; }
  // Replaces the converters of an entry (tests inject failures here).
  void SetEntryConverter(EntryConverter converter) { convert_ = std::move(converter); }
  // Keeps a report of the run in `report` (null: none). Polygons are
  // checked for validity only when a report is kept.
  void SetReport(RunReport* report) { report_ = report; }

  // Every entry into the run's output folder (OutPath; empty writes each
  // result next to its source), or only the annotations of point files.
  BatchSummary ConvertAllFiles() { return Run(false); }
  BatchSummary ConvertAllLabels() { return Run(true); }

 private:
  BatchSummary Run(bool labelsOnly);

  const ConversionOptions options_;
  FileList& files_;
  const ColorModel colors_;
  ConvertHost* host_;
  LogSink* sink_;
  int jobs_ = 1;
  EntryConverter convert_;
  RunReport* report_ = nullptr;
};
