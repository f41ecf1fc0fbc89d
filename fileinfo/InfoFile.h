#pragma once
// One inspected file: its kind and what was read from it.
#include <string>

#include "InfoModel.h"
#include "InfoReport.h"

namespace gridmoor {

enum class FileKind { Layer, Project, ColorLibrary };

struct InspectedFile {
  std::string path;  // as given (UTF-8)
  FileKind kind = FileKind::Layer;
  bool read = false;  // the file could be read
  LayerInfo layer;          // kind Layer
  ProjectInfo project;      // kind Project
  ColorLibraryInfo colors;  // kind ColorLibrary
};

// Reads the file as --colors or its first bytes and name say.
InspectedFile InspectFile(const std::string& path, const InfoOptions& options);

}  // namespace gridmoor
