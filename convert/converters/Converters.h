#pragma once
// The converters of one MapGIS file each, and what every converter is
// given. A converter reads the source, writes its result under `base` (the
// full output path without extension), logs every step with one closing
// line, and returns the conversion result: MAPGIS_OK, kEmptyResult, or a
// negative library status.
#include <functional>
#include <string>

#include "AngleModel.h"
#include "ColorModel.h"
#include "ConversionLog.h"
#include "ConversionOptions.h"
#include "ResultStaging.h"
#include "RunReport.h"

// Where a converter shows how far it got (0 to 100).
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void SetProgress(int percent) = 0;
};

// Passes a converter's progress on only when the percentage changes: a
// layer counts every record, and while entries run at once the host takes
// a lock for every call.
class ProgressSteps {
 public:
  explicit ProgressSteps(ProgressSink* sink) : sink_(sink) {}
  void Done(long long done, long long total) {
    if (!sink_ || total <= 0) return;
    const int percent = static_cast<int>(done * 100 / total);
    if (percent == last_) return;
    last_ = percent;
    sink_->SetProgress(percent);
  }

 private:
  ProgressSink* sink_;
  int last_ = -1;
};

// The inputs of a converter: the run's options and colour model, the log of
// the entry, the entry's staging of results (null: the converter puts its
// result in place itself), an optional progress display, and the entry's
// report when the run keeps one (the converter adds its layer's counts).
struct ConverterInputs {
  const ConversionOptions& options;
  const ColorModel& colors;
  ConversionLog& log;
  ResultStaging* staging = nullptr;
  ProgressSink* progress = nullptr;
  EntryReport* report = nullptr;
  // Called once the entry's results are written and only putting them in
  // place remains (mostly waiting for the disk): a parallel batch starts
  // the next entry meanwhile.
  std::function<void()> written = nullptr;
};

// Result of a conversion that ran without error and wrote no record.
constexpr long kEmptyResult = 10;
// Result of a conversion whose spatial-reference mode asks for a reference
// the source does not have.
constexpr long kNoProjection = -9978;

// Every live point whatever its kind.
long ConvertPoints(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
// The annotations (kinds 0 and 5) and the sub-pictures (kind 1) of a point file.
long ConvertAnnotations(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
long ConvertSubPictures(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
long ConvertLines(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
long ConvertPolygons(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
// The arcs of a polygon file, with the polygons on either side.
long ConvertPolygonArcs(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
// The arcs and the nodes of a network file.
long ConvertNetworkArcs(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
long ConvertNetworkNodes(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
// An attribute-table file into base + ".dbf".
long ConvertTable(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);
// A project into an index of its layers' extents, with base + ".CSV"
// mapping each index number to the layer's file.
long ConvertProjectIndex(const ConverterInputs& in, const std::wstring& source, const std::wstring& base);

// The closing line of an open status of the reader (or of a project load).
const wchar_t* OpenClosingText(long status);
