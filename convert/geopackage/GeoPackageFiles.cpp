#include "GeoPackageFiles.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <map>

#include "MapGisCodePage.h"

namespace fs = std::filesystem;

namespace {

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::u8path(path), ec);
}

}  // namespace

bool LayerExists(const std::string& file, const std::string& layer) {
  std::lock_guard<std::mutex> lock(GeoPackageLock(file));
  QuietGdalErrors quiet;
  GDALDatasetUniquePtr ds(OpenGeoPackage(file, false));
  // GDAL finds a layer by its exact name first, then ignoring letter case.
  return ds && ds->GetLayerByName(layer.c_str()) != nullptr;
}

std::mutex& GeoPackageLock(const std::string& file) {
  static std::mutex guard;
  static std::map<std::string, std::unique_ptr<std::mutex>> locks;
  std::error_code ec;
  fs::path key = fs::weakly_canonical(fs::absolute(fs::u8path(file), ec), ec);
  if (ec) key = fs::u8path(file);
  std::lock_guard<std::mutex> lock(guard);
  std::unique_ptr<std::mutex>& m = locks[key.u8string()];
  if (!m) m = std::make_unique<std::mutex>();
  return *m;
}

GDALDriver* GeoPackageDriver() {
  static std::once_flag once;
  // Only the GeoPackage driver: the engine reads nothing else through GDAL.
  std::call_once(once, [] {
    if (!GDALGetDriverByName("GPKG")) RegisterOGRGeoPackage();
  });
  return GetGDALDriverManager()->GetDriverByName("GPKG");
}

GDALDataset* OpenGeoPackage(const std::string& file, bool update) {
  if (!GeoPackageDriver()) return nullptr;
  static const char* const kDrivers[] = {"GPKG", nullptr};
  auto open = [&](unsigned flags) {
    return GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR | flags, kDrivers, nullptr, nullptr);
  };
  GDALDataset* ds = open(update ? GDAL_OF_UPDATE : GDAL_OF_READONLY);
  if (!ds && !update && IsFile(file)) {
    // A read-only open cannot roll back a journal that a killed writer
    // left; an open for update does.
    GDALDatasetUniquePtr recovered(open(GDAL_OF_UPDATE));
    if (recovered) {
      recovered.reset();
      ds = open(GDAL_OF_READONLY);
    }
  }
  return ds;
}

QuietGdalErrors::QuietGdalErrors() {
  CPLPushErrorHandler(CPLQuietErrorHandler);
  CPLErrorReset();
}

QuietGdalErrors::~QuietGdalErrors() { CPLPopErrorHandler(); }

std::wstring QuietGdalErrors::Reason() const {
  const char* message = CPLGetLastErrorMsg();
  return MapGis::Utf8ToWide(message && *message ? message : "GDAL error");
}
