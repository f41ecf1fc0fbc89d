#pragma once
// What a batch did, entry by entry, for machines: the report that
// `gridmoor convert --report` writes. The batch fills it only when asked,
// in list order, so a run on several threads reports what a run on one does.
#include <cstdint>
#include <string>
#include <vector>

// A log line as a structured item: its severity letter (I, W, E, F, or ' '
// for lines that open or close a conversion), a stable English code and the
// message as logged.
struct LogItem {
  char level = ' ';
  std::string code;
  std::wstring message;
};

// A polygon that is not valid, with a point near the problem.
struct InvalidPolygon {
  long long index = 0;  // record index in the source
  double x = 0.0;
  double y = 0.0;
  std::string reason;
};

// One converter's result within an entry (a layer and its companion are two).
struct LayerReport {
  std::string converter;        // "points", "lines", "polygons", ...
  std::wstring result;          // the result's path without extension
  long status = 0;              // the converter's result
  long long slotCount = -1;     // record slots of the source (-1 when not read)
  long long liveCount = -1;     // live records of the kind
  long long written = 0;        // records written
  long long unreadableCount = 0;
  std::vector<long long> unreadable;  // their indexes, the first kMaxIndexes
  long long invalidCount = 0;
  std::vector<InvalidPolygon> invalid;  // the first kMaxIndexes
  std::string spatialReference = "none";  // "none", "text" or "EPSG:n"
  std::string encoding;                   // "UTF-8" or "CP936"

  static constexpr size_t kMaxIndexes = 100;
  void AddUnreadable(long long index);
  void AddInvalid(const InvalidPolygon& polygon);
};

struct OutputFile {
  std::wstring path;
  uintmax_t size = 0;
};

struct EntryReport {
  std::wstring source;
  std::string kind;    // "point", "line", "polygon", "network", "table", "project"
  std::string result;  // "done", "empty", "skipped", "failed", "missing"
  long status = 0;
  std::vector<LayerReport> layers;
  std::vector<OutputFile> files;   // every file put in place
  std::vector<LogItem> items;      // the entry's log lines
  double started = 0.0;            // seconds since the run started
  double finished = 0.0;
};

struct RunReport {
  std::vector<EntryReport> entries;
  std::vector<LogItem> items;  // lines of the run itself (banners, colour library, summary)
  int done = 0, empty = 0, skipped = 0, failed = 0, missing = 0, total = 0;
  bool cancelled = false;
  double seconds = 0.0;
};

// The structured form of one log line (with or without its leading ">").
LogItem ClassifyLogLine(const std::wstring& line);
