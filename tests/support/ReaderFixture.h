#pragma once
// Layer files built in code, written to a temporary folder and opened with
// the fast reader; Geometry buffers released when a test ends.
#include <memory>
#include <string>

#include "LayerBuilder.h"
#include "MapGis.h"
#include "TempDir.h"

namespace testing_support {

struct GeometryDeleter {
  void operator()(MapGis::Geometry* g) const { MapGis::DestroyGeometry(g); }
};
using GeometryPtr = std::unique_ptr<MapGis::Geometry, GeometryDeleter>;

inline GeometryPtr NewGeometry() { return GeometryPtr(MapGis::CreateGeometry()); }

// One file in its own folder, opened once; `status` is what Open returned.
struct OpenedLayer {
  TempDir dir;
  std::wstring path;
  MapGis::MapGis_FastReader reader;
  long status;
  explicit OpenedLayer(const Bytes& bytes, const std::string& name = "layer.dat")
      : path(dir.Write(name, bytes)), status(reader.Open(path.c_str())) {}
};

}  // namespace testing_support
