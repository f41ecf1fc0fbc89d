#pragma once
// The main view of the program, without its widgets: the colour library of
// the run, the host that shows what happens, and the operations that
// convert each kind of MapGIS file.
#include <functional>
#include <string>
#include <vector>

#include "ConvertHost.h"
#include "FileList.h"
#include "MapGis.h"
#include "OverwritePolicy.h"

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

class CGridmoorProView {
 public:
  CGridmoorProView() = default;

  void SetHost(ConvertHost* host) {
    host_ = host;
    files_.SetHost(host);
  }
  ConvertHost* Host() const { return host_; }
  MapGis::MapGis_ColorLib& ColorLib() { return colorLib_; }
  FileList& Files() { return files_; }
  OverwritePolicy& Policy() { return policy_; }
  // Entries of a batch converted at once (1: one after the other). Names,
  // clash questions, log order, statuses and outputs do not depend on it.
  void SetJobs(int jobs) { jobs_ = jobs < 1 ? 1 : jobs; }
  int Jobs() const { return jobs_; }

  // Batches over the file list. ConvertLoadRules loads the colour library
  // when a style mode is chosen: 1 when the run may use style values, 0
  // when the library is missing. The output directory is empty to write
  // each result next to its source.
  int ConvertLoadRules();
  BatchSummary ConvertAllFiles(const std::wstring& outputDir);
  BatchSummary ConvertAllLabels(const std::wstring& outputDir);

  // Output naming. Paths are joined with "/".
  void BuildOutputDir(const FileNode* node, std::wstring& dir);
  // 0 when no result of `path` (folder + list name) exists, else the answer code 12..18.
  // `companionOnly`: the annotation batch, which writes only the companion.
  int ConvertCheckOverwrite(const std::wstring& path, bool companionOnly = false);
  void BuildFinalName(const std::wstring& dir, const std::wstring& fileName, std::wstring& mainName,
                      std::wstring& companionName, bool companionOnly = false);
  std::wstring BuildAnnotationName(const std::wstring& path);

  // Colour and angle models of style values.
  MapGis::CMYKQUAD GetCmykColor(long number);
  MapGis::RGBTRIPLE GetRGBColor(long number);
  uint32_t GetModelColor(long number);

  // Converters of one layer file each: source path and output base path
  // (full path without extension) in, conversion result out.
  long ConvertPoint2Shp(std::wstring source, std::wstring base);
  long ConvertArc2Shp(std::wstring source, std::wstring base);
  long ConvertPolygon2Shp(std::wstring source, std::wstring base);
  long ConvertPolyArc2Shp(std::wstring source, std::wstring base);
  // The annotations (kinds 0 and 5) and the sub-pictures (kind 1) of a point file.
  long ConvertNote2Shp(std::wstring source, std::wstring base);
  long ConvertPntSub2Shp(std::wstring source, std::wstring base);
  // The arcs and the nodes of a network file.
  long ConvertNetArc2Shp(std::wstring source, std::wstring base);
  long ConvertNetPoint2Shp(std::wstring source, std::wstring base);
  // An attribute-table file into base + ".dbf".
  long ConvertWB2DBF(std::wstring source, std::wstring base);
  // A project into an index of its layers' extents, with base + ".CSV"
  // mapping each index number to the layer's file.
  long ConvertMpj2Shp(std::wstring source, std::wstring base);

 private:
  BatchSummary RunBatch(const std::wstring& outputDir, bool labelsOnly);
  long ConvertEntry(const FileNode& node, const std::wstring& mainName, const std::wstring& companion);
  // The main results an entry writes (and its companion's when this run writes one).
  std::vector<std::wstring> ResultFiles(const std::wstring& mainBase, const std::wstring& companionBase,
                                        const std::wstring& ext, bool companionOnly) const;

  ConvertHost* host_ = nullptr;
  MapGis::MapGis_ColorLib colorLib_;
  FileList files_;
  OverwritePolicy policy_;
  int jobs_ = 1;
  // Called before a clash question: a parallel batch finishes and logs the
  // entries before it first, so the question comes where a sequential run asks it.
  std::function<void()> beforeQuestion_;
};
