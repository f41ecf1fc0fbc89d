#pragma once
// The results of one batch entry (a layer and its companion, a table, a
// project index) are written under temporary names in a hidden folder
// beside their final place, ".gridmoor-PID-XXXXXX", and renamed into place
// together only when the entry is complete. A failed or interrupted entry
// leaves nothing under a final name; a killed run leaves only the hidden
// folder, which the next run in that folder removes. Layers of a
// GeoPackage are kept by its GeoPackageCommit and written at the commit.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ConversionLog.h"
#include "LayerWriter.h"

class GeoPackageCommit;
class HeldFiles;

class ResultStaging {
 public:
  // `replace`: the results replace existing results of the same names (the
  // clash policy overwrites), so files of an old result that the new one
  // does not write are removed as the new one is put in place.
  explicit ResultStaging(bool replace = false);
  ~ResultStaging();
  ResultStaging(const ResultStaging&) = delete;
  ResultStaging& operator=(const ResultStaging&) = delete;

  // The temporary base path (UTF-8, without extension) of the result whose
  // final base path is `finalBase`; empty when the hidden folder cannot be
  // made (`error` receives the system's error number).
  std::string Stage(const std::string& finalBase, int* error);
  // The result of `finalBase` is not to be kept.
  void Drop(const std::string& finalBase);
  // The hidden folder of this entry in `folder` (made on first use); empty
  // when it cannot be made (`error` receives the system's error number).
  std::string HiddenFolder(const std::string& folder, int* error);
  // The layers this entry writes into the GeoPackage `file` (UTF-8 path).
  GeoPackageCommit& GeoPackage(const std::string& file);

  // Waits until every kept result is on the disk and puts them in place.
  // False when a file could not be written out or renamed
  // (`failure` tells which and why); what was not renamed is removed.
  // `placed`, when given, receives the final path of every file put in place.
  bool Commit(ConversionLog& log, WriteFailure* failure, std::vector<std::string>* placed = nullptr);
  // Removes every temporary file and folder.
  void Discard();

 private:
  struct Result {
    std::string finalBase;
    std::string tempBase;
    bool dropped = false;
  };
  // Removes the files of an old result at `finalBase` whose extensions are
  // not in `kept`, with a log line each.
  void RemoveOldFiles(const std::string& finalBase, const std::vector<std::string>& kept, ConversionLog& log,
                      HeldFiles& held);

  bool replace_;
  std::vector<Result> results_;
  std::map<std::string, std::string> folders_;  // final folder -> hidden folder
  std::map<std::string, std::unique_ptr<GeoPackageCommit>> geoPackages_;
};
