// The table of functions the engine finds in this library when it loads it.
#include "GeoPackageFiles.h"
#include "GeoPackageModule.h"
#include "GeoPackageTarget.h"
#include "GeoPackageWriter.h"

namespace {

std::unique_ptr<LayerWriter> NewWriter(ResultStaging& staging, const std::wstring& finalBase) {
  return std::make_unique<GeoPackageWriter>(staging, finalBase);
}

std::unique_ptr<GeoPackageCommit> NewTarget(ResultStaging& staging, const std::string& file, bool replace) {
  return std::make_unique<GeoPackageTarget>(staging, file, replace);
}

const GeoPackageFunctions kFunctions = {NewWriter, NewTarget, LayerExists};

}  // namespace

extern "C" __attribute__((visibility("default"))) const GeoPackageFunctions* GridmoorGeoPackageFunctions() {
  return &kFunctions;
}
