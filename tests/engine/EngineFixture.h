#pragma once
// What engine tests share: a host that records every call, settings put back
// to their defaults, the captured log, and shapefiles read back through GDAL.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "BatchRunner.h"
#include "ConvertHost.h"
#include "Converters.h"
#include "OutputNaming.h"
#include "TempDir.h"

class RecordingHost : public ConvertHost {
 public:
  int AskDuplicate(const std::wstring& name) override {
    asked.push_back(name);
    return duplicateAnswer;
  }
  void MessageBox(const std::wstring& text, const std::wstring& caption, Icon) override {
    messages.push_back(caption + L"|" + text);
  }
  bool AskYesNo(const std::wstring& text, const std::wstring&) override {
    questions.push_back(text);
    return yesNoAnswer;
  }
  void SetStatusText(const std::wstring& text) override { statusTexts.push_back(text); }
  void SetProgressText(const std::wstring& text) override { progressTexts.push_back(text); }
  void SetProgress(int percent) override { progress.push_back(percent); }
  bool CancelRequested() override { return cancel; }
  void FinishSound() override { ++sounds; }
  void AppendLine(const std::wstring& line) override { lines.push_back(line); }

  int duplicateAnswer = kOverwriteThis;
  bool yesNoAnswer = true;
  bool cancel = false;
  std::vector<std::wstring> asked, messages, questions, statusTexts, progressTexts, lines;
  std::vector<int> progress;
  int sounds = 0;
};

// The pieces of a conversion run for one test: default options writing
// into the test's folder, a recording host that also keeps the log, the
// file list, the colour library and the clash policy.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;

  using Converter = long (*)(const ConverterInputs&, const std::wstring&, const std::wstring&);
  // Runs one converter with the test's options, colours and host.
  long Convert(Converter converter, const std::wstring& source, const std::wstring& base);
  // Loads the colour library of the options' LibPath (LoadColourLibrary).
  int LoadColours();
  // A batch over `files` into `outputDir` (empty: next to each source),
  // shown to `other` instead of the recording host when given.
  BatchSummary RunBatch(const std::wstring& outputDir, bool labelsOnly = false, int jobs = 1,
                        ConvertHost* other = nullptr);
  // Output naming with the test's options, policy and host.
  OutputNaming Naming();
  ConversionLog RunLog() { return ConversionLog(&host, options.LogLevel); }

  // Log lines without their leading ">", as UTF-8.
  std::vector<std::string> Log() const;
  bool Logged(const std::string& utf8Line) const;
  // Lines that start with `prefix`.
  std::vector<std::string> LogStartingWith(const std::string& prefix) const;

  testing_support::TempDir dir;
  RecordingHost host;
  ConversionOptions options;
  FileList files{&host};
  MapGis::MapGis_ColorLib colours;
  OverwritePolicy policy;
};

// A shapefile as GDAL reads it.
struct OgrFeature {
  std::map<std::string, std::string> values;  // field name -> value as UTF-8 ("" when null)
  std::map<std::string, bool> isNull;
  std::string wkt;          // geometry as WKT ("" for a null shape)
  bool valid = true;        // GEOS validity
  std::vector<bool> ringClockwise;  // polygons: per ring
  std::vector<bool> ringClosed;
};

struct OgrLayer {
  bool opened = false;
  std::string geometryType;  // OGR name of the layer's type
  std::vector<std::string> fieldNames;
  std::map<std::string, std::pair<std::string, int>> fieldTypes;  // name -> (type name, width)
  std::vector<OgrFeature> features;
};

OgrLayer ReadWithOgr(const std::string& shpPath);

// Whether a file exists.
bool FileExists(const std::filesystem::path& p);
