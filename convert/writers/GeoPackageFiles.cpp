#include "GeoPackageFiles.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <map>

#include "MapGisCodePage.h"

namespace fs = std::filesystem;

namespace {

constexpr char kExtension[] = ".gpkg";

bool EndsWithGeoPackage(const std::string& path) {
  const size_t n = sizeof kExtension - 1;
  if (path.size() <= n) return false;
  for (size_t i = 0; i < n; ++i) {
    const char c = path[path.size() - n + i];
    if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != kExtension[i]) return false;
  }
  return true;
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::u8path(path), ec);
}

}  // namespace

bool IsGeoPackagePath(const std::wstring& path) { return EndsWithGeoPackage(MapGis::WideToUtf8(path)); }

void SplitLayerPath(const std::string& path, std::string* file, std::string* layer) {
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  *layer = slash == std::string::npos ? path : path.substr(slash + 1);
  *file = EndsWithGeoPackage(folder) ? folder : path + kExtension;
}

bool ResultExists(const std::wstring& path) {
  const std::string utf8 = MapGis::WideToUtf8(path);
  const size_t slash = utf8.find_last_of('/');
  if (slash == std::string::npos || !EndsWithGeoPackage(utf8.substr(0, slash))) {
    std::error_code ec;
    return fs::exists(fs::u8path(utf8), ec);
  }
  const std::string file = utf8.substr(0, slash);
  if (!IsFile(file)) return false;
  std::lock_guard<std::mutex> lock(GeoPackageLock(file));
  QuietGdalErrors quiet;
  GDALDatasetUniquePtr ds(OpenGeoPackage(file, false));
  // GDAL finds a layer by its exact name first, then ignoring letter case.
  return ds && ds->GetLayerByName(utf8.substr(slash + 1).c_str()) != nullptr;
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
