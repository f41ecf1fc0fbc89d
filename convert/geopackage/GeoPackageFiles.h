#pragma once
// GeoPackage files opened through GDAL and guarded. SQLite allows one
// writer per file, so every writer of a GeoPackage in this process holds
// the file's lock while it writes.
#include <memory>
#include <mutex>
#include <string>

#include "GeoPackagePaths.h"

class GDALDataset;
class GDALDriver;

// Whether the GeoPackage `file` holds the layer `layer` (letter case ignored).
bool LayerExists(const std::string& file, const std::string& layer);

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
