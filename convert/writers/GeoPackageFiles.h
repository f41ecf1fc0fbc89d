#pragma once
// GeoPackage files as the engine names and guards them. A result in a
// GeoPackage is named like a file in a folder: "DIR/NAME.gpkg/LAYER" is the
// layer LAYER of DIR/NAME.gpkg. SQLite allows one writer per file, so every
// writer of a GeoPackage in this process holds the file's lock while it writes.
#include <memory>
#include <mutex>
#include <string>

class GDALDataset;
class GDALDriver;

// A layer's table without shapes (a project's .CSV) is the layer's name and this.
constexpr char kSideTableSuffix[] = "_CSV";

// Whether `path` ends with ".gpkg" (any letter case).
bool IsGeoPackagePath(const std::wstring& path);

// The GeoPackage and the layer name of a result path (UTF-8). A path whose
// folder is not a GeoPackage gives the GeoPackage named after the result
// ("DIR/roads" -> "DIR/roads.gpkg", layer "roads").
void SplitLayerPath(const std::string& path, std::string* file, std::string* layer);

// Whether a result exists: a layer of a GeoPackage (letter case ignored,
// as SQLite compares table names), or a file.
bool ResultExists(const std::wstring& path);

// The lock of the GeoPackage `file` (one per file and process).
std::mutex& GeoPackageLock(const std::string& file);

// GDAL's GeoPackage driver, registered on first use.
GDALDriver* GeoPackageDriver();

// Opens an existing GeoPackage, for update or to read; null when it is not
// one. A journal left by an interrupted write is rolled back first.
GDALDataset* OpenGeoPackage(const std::string& file, bool update);

// Runs GDAL calls without printing GDAL's messages; Reason() gives the last one.
class QuietGdalErrors {
 public:
  QuietGdalErrors();
  ~QuietGdalErrors();
  QuietGdalErrors(const QuietGdalErrors&) = delete;
  QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;
  std::wstring Reason() const;
};
