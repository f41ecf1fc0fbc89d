#pragma once
// The layers one batch entry writes into one GeoPackage, put in place
// together in one transaction. Layers are kept in memory while they are
// converted, so that conversions of other entries into the same file go on
// meanwhile; the file's lock is taken only to write: when the entry is
// committed, or earlier when a large layer must be written as it grows (the
// lock is then kept until the commit). A failed entry rolls its transaction
// back; a new GeoPackage is made in the staging's hidden folder and renamed
// into place at the commit, so a failed entry leaves nothing behind.
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ConversionLog.h"
#include "GeoPackageModule.h"
#include "LayerWriter.h"

class GDALDataset;
class OGRFeature;
class OGRFeatureDefn;
class OGRLayer;
class OGRSpatialReference;
class ResultStaging;

struct OgrFeatureDeleter {
  void operator()(OGRFeature* f) const;
};
using OgrFeaturePtr = std::unique_ptr<OGRFeature, OgrFeatureDeleter>;

// A table without shapes that belongs to a layer (a project's .CSV): its
// column names and rows of texts.
struct SideTable {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

// One layer as its writer builds it.
class PendingLayer {
 public:
  explicit PendingLayer(std::string name);
  ~PendingLayer();
  PendingLayer(const PendingLayer&) = delete;
  PendingLayer& operator=(const PendingLayer&) = delete;

  const std::string name;     // the layer's name (UTF-8)
  OGRFeatureDefn* defn;       // its columns and geometry type
  std::unique_ptr<OGRSpatialReference> srs;
  std::vector<OgrFeaturePtr> features;  // rows not yet written
  size_t bytes = 0;                     // their size, roughly
  std::string qml, sld;                 // the default style (QGIS, SLD)
  std::map<std::string, std::string> metadata;
  std::unique_ptr<SideTable> table;     // written as "NAME_CSV"
  bool dropped = false;                 // not to be kept
};

class GeoPackageTarget : public GeoPackageCommit {
 public:
  // `file` is the GeoPackage's final path; `replace`: the entry's results
  // replace existing layers of the same names (the clash policy overwrites).
  GeoPackageTarget(ResultStaging& staging, std::string file, bool replace);
  ~GeoPackageTarget() override;
  GeoPackageTarget(const GeoPackageTarget&) = delete;
  GeoPackageTarget& operator=(const GeoPackageTarget&) = delete;

  const std::string& File() const { return file_; }
  void Add(std::shared_ptr<PendingLayer> layer) { layers_.push_back(std::move(layer)); }

  // Writes the layer's rows so far into the file (creating the layer) and
  // forgets them. False with `failure` when they could not be written.
  bool Flush(PendingLayer& layer, WriteFailure* failure);
  // Writes every kept layer with its style, side table and metadata, and
  // commits. Removed parts of replaced layers get an "I" line.
  bool Commit(ConversionLog& log, WriteFailure* failure) override;
  // Rolls back whatever was written and removes a new file.
  void Discard();

 private:
  bool Open(WriteFailure* failure);
  bool Fail(const std::string& part, WriteFailure* failure);
  OGRLayer* CreateLayer(PendingLayer& layer);
  bool WriteSideTable(PendingLayer& layer);
  bool WriteStyle(PendingLayer& layer);
  // Removes a layer or table of an earlier result; false when it could not be.
  bool RemoveOld(const std::string& name, ConversionLog* log);
  bool RemoveOldStyles(const std::string& layer, ConversionLog* log);
  // Deletes a layer this entry wrote and then dropped.
  bool DeleteCreated(const PendingLayer& layer);
  void Close();

  ResultStaging& staging_;
  const std::string file_;
  const bool replace_;
  std::vector<std::shared_ptr<PendingLayer>> layers_;
  std::map<const PendingLayer*, OGRLayer*> created_;
  std::unique_lock<std::mutex> lock_;
  GDALDataset* dataset_ = nullptr;
  std::string newFile_;  // the file being made in the hidden folder, if new
};
