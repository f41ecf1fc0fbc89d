#include "GeoPackagePaths.h"

#include <filesystem>
#include <stdexcept>

#include "GeoPackageModule.h"
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
  std::error_code ec;
  if (slash == std::string::npos || !EndsWithGeoPackage(utf8.substr(0, slash))) return fs::exists(fs::u8path(utf8), ec);
  const std::string file = utf8.substr(0, slash);
  if (!fs::is_regular_file(fs::u8path(file), ec)) return false;
  return GeoPackageModule::Get().LayerExists(file, utf8.substr(slash + 1));
}
