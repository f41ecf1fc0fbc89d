#pragma once
// Output naming of a batch: the folder of each result, the clash test with
// the duplicate-name question, and the final names with automatic renaming.
#include <functional>
#include <string>
#include <vector>

#include "ConversionLog.h"
#include "ConversionOptions.h"
#include "ConvertHost.h"
#include "FileList.h"
#include "OverwritePolicy.h"

class OutputNaming {
 public:
  // `exists` tells whether a result file or layer exists (the batch waits
  // there for running entries that write it); the host answers the
  // duplicate question.
  OutputNaming(const ConversionOptions& options, OverwritePolicy& policy, ConvertHost* host,
               std::function<bool(const std::wstring&)> exists);

  // Called before the duplicate question is asked: a parallel batch
  // finishes and logs the entries before it first.
  void SetBeforeQuestion(std::function<void()> beforeQuestion) { beforeQuestion_ = std::move(beforeQuestion); }

  // The folder of a node's results in `dir` (the run's output folder, empty
  // to write next to each source): a project gets a folder of its own. In
  // a GeoPackage run the "folder" is the GeoPackage: the run's own when
  // `dir` names one, else one per input named after it ("DIR/roads.gpkg"),
  // a project's layers in the project's.
  void BuildOutputDir(const FileNode* node, std::wstring& dir, ConversionLog& log) const;
  // 0 when no result of `path` (folder + list name) exists, else the answer
  // code 12..18. `companionOnly`: the annotation batch, which writes only the companion.
  int CheckOverwrite(const std::wstring& path, bool companionOnly, ConversionLog& log);
  // The main and companion result paths (without extension) of `fileName` in `dir`.
  void BuildFinalName(const std::wstring& dir, const std::wstring& fileName, std::wstring& mainName,
                      std::wstring& companionName, bool companionOnly, ConversionLog& log) const;
  // The companion path (without extension) of a source path.
  std::wstring BuildAnnotationName(const std::wstring& path) const;
  // What the list shows as an entry's result: the main shapefile, or the layer.
  std::wstring ResultName(const std::wstring& mainBase) const;

  // The main results an entry writes (and its companion's when this run
  // writes one), with their extensions; in a GeoPackage run, its layers.
  std::vector<std::wstring> ResultFiles(const std::wstring& mainBase, const std::wstring& companionBase,
                                        const std::wstring& ext, bool companionOnly) const;
  // Every file an entry may write: its result files and their side files.
  std::vector<std::wstring> WrittenFiles(const std::wstring& mainBase, const std::wstring& companionBase,
                                         const std::wstring& ext, bool companionOnly) const;

  // Splits "name.ext" into the name and the upper-case extension with its dot.
  static void SplitName(const std::wstring& fileName, std::wstring* base, std::wstring* ext);

 private:
  struct Affixes {
    std::wstring type;
    std::wstring companion;
  };
  Affixes AffixesOf(const std::wstring& ext) const;
  std::wstring GeoPackageOf(const FileNode* node, const std::wstring& dir) const;
  bool WritesCompanion(const std::wstring& ext) const;

  const ConversionOptions& options_;
  OverwritePolicy& policy_;
  ConvertHost* host_;
  std::function<bool(const std::wstring&)> exists_;
  std::function<void()> beforeQuestion_;
};
