#include "GeoPackageModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Where the library may be: beside an installed program (its library
// folder relative to the program's), else where the build tree the program
// was built in made it.
std::vector<std::string> Candidates() {
  std::vector<std::string> paths;
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) paths.push_back((program.parent_path() / GRIDMOOR_GEOPACKAGE_INSTALLED).lexically_normal().string());
  paths.push_back(GRIDMOOR_GEOPACKAGE_BUILT);
  return paths;
}

}  // namespace

GeoPackageModule::GeoPackageModule() {
  using Entry = const GeoPackageFunctions* (*)();
  for (const std::string& path : Candidates()) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) continue;
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
      const char* why = dlerror();
      error_ = why ? why : path;
      continue;
    }
    // Kept loaded until the process ends: its objects may live that long.
    const auto entry = reinterpret_cast<Entry>(dlsym(library, GRIDMOOR_GEOPACKAGE_ENTRY));
    functions_ = entry ? entry() : nullptr;
    if (functions_) return;
    error_ = path + ": no " GRIDMOOR_GEOPACKAGE_ENTRY;
  }
  if (error_.empty()) error_ = "GeoPackage output library not found: " + std::string(GRIDMOOR_GEOPACKAGE_BUILT);
}

const GeoPackageModule& GeoPackageModule::Get() {
  static const GeoPackageModule module;
  return module;
}

const GeoPackageFunctions& GeoPackageModule::Functions() const {
  if (!functions_) throw std::runtime_error(error_);
  return *functions_;
}

std::unique_ptr<LayerWriter> GeoPackageModule::NewWriter(ResultStaging& staging, const std::wstring& finalBase) const {
  return Functions().newWriter(staging, finalBase);
}

std::unique_ptr<GeoPackageCommit> GeoPackageModule::NewTarget(ResultStaging& staging, const std::string& file,
                                                              bool replace) const {
  return Functions().newTarget(staging, file, replace);
}

bool GeoPackageModule::LayerExists(const std::string& file, const std::string& layer) const {
  // Asked on the driver thread before an entry starts: without the library
  // nothing can be found (the entry then fails with the reason).
  return functions_ && functions_->layerExists(file, layer);
}
