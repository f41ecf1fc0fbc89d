#pragma once
// GeoPackage output is written through GDAL, which takes long to load and
// much memory (its libraries make a conversion's start ten times slower).
// It lives in a library of its own, loaded the first time a run writes or
// tests a GeoPackage; shapefile runs never load GDAL.
#include <memory>
#include <string>

#include "ConversionLog.h"
#include "LayerWriter.h"

class ResultStaging;

// The layers one entry writes into one GeoPackage, put in place by the
// entry's commit.
class GeoPackageCommit {
 public:
  virtual ~GeoPackageCommit() = default;
  // Writes every kept layer and commits; false with `failure` when not.
  virtual bool Commit(ConversionLog& log, WriteFailure* failure) = 0;
};

// What the library offers; the names of its entry point's table.
struct GeoPackageFunctions {
  // A writer of the layer `finalBase` ("DIR/NAME.gpkg/LAYER").
  std::unique_ptr<LayerWriter> (*newWriter)(ResultStaging& staging, const std::wstring& finalBase);
  // The entry's layers in the GeoPackage `file` (UTF-8).
  std::unique_ptr<GeoPackageCommit> (*newTarget)(ResultStaging& staging, const std::string& file, bool replace);
  // Whether the GeoPackage `file` holds the layer `layer` (letter case ignored).
  bool (*layerExists)(const std::string& file, const std::string& layer);
};

// The entry point the library exports.
#define GRIDMOOR_GEOPACKAGE_ENTRY "GridmoorGeoPackageFunctions"

class GeoPackageModule {
 public:
  // The library, loaded on first use (once per process). When it cannot be
  // loaded, NewWriter and NewTarget throw std::runtime_error with the
  // reason (the entry that needed it fails with that line, the batch goes
  // on) and LayerExists finds nothing.
  static const GeoPackageModule& Get();

  std::unique_ptr<LayerWriter> NewWriter(ResultStaging& staging, const std::wstring& finalBase) const;
  std::unique_ptr<GeoPackageCommit> NewTarget(ResultStaging& staging, const std::string& file, bool replace) const;
  bool LayerExists(const std::string& file, const std::string& layer) const;

 private:
  GeoPackageModule();
  const GeoPackageFunctions& Functions() const;

  const GeoPackageFunctions* functions_ = nullptr;
  std::string error_;
};
