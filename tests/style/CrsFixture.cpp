// Writes copies of a MapGIS line layer in two other coordinate systems, so
// that the QGIS check sees one map in a geographic and two projected
// systems: the same lines, which must land on the same places.
//
//   crs_fixture SOURCE.WL FOLDER   writes FOLDER/NAME-degrees.WL (Xian 1980
//                                  in degrees) and FOLDER/NAME-cm117.WL
//                                  (Gauss-Kruger, eastings without zone)
// The source must be Gauss-Kruger on Xian 1980, central meridian 117 E,
// zone 39 in its eastings (the demo data).
#include <ogr_spatialref.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "MapGis.h"
#include "MapGisCodePage.h"

namespace {

constexpr int kZone39 = 2363;      // Xian 1980 / 3-degree Gauss-Kruger zone 39
constexpr int kXian1980 = 4610;    // its geographic system
constexpr double kZoneEasting = 39000000.0;

struct Variant {
  const char* suffix;
  MapGis::MAP_PARAstruct para;
  std::unique_ptr<OGRCoordinateTransformation> transform;  // null: subtract the zone from eastings
};

bool Copy(MapGis::MapGis_FastReader& reader, const std::filesystem::path& target, Variant& v) {
  MapGis::MapGis_Writer w;
  if (w.Create(MapGis::Utf8ToWide(target.u8string()).c_str(), MapGis::MAPGIS_TYPE_LINE) != MapGis::MAPGIS_OK ||
      w.WriteProjection(&v.para) != MapGis::MAPGIS_OK) {
    return false;
  }
  int slots = 0;
  reader.GetArcCount(&slots);
  for (int r = 0; r < slots; ++r) {
    MapGis::MAPGIS_LineInfo line{};
    MapGis::Geometry* g = MapGis::CreateGeometry();
    bool ok = reader.ReadArcInfo(r, &line, g) == MapGis::MAPGIS_OK;
    if (ok && v.transform) {
      ok = v.transform->Transform(g->nVertices, g->padfX, g->padfY) != 0;
    } else if (ok) {
      for (int i = 0; i < g->nVertices; ++i) g->padfX[i] -= kZoneEasting;
    }
    if (ok) ok = w.AddArcInfo(line, g, 0) == MapGis::MAPGIS_OK;
    MapGis::DestroyGeometry(g);
    if (!ok) return false;
  }
  return w.Flush() == MapGis::MAPGIS_OK;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: crs_fixture SOURCE.WL FOLDER\n");
    return 2;
  }
  const std::filesystem::path source = std::filesystem::u8path(argv[1]);
  MapGis::MapGis_FastReader reader;
  if (reader.Open(MapGis::Utf8ToWide(source.u8string()).c_str()) < 0) return 1;
  MapGis::MAP_PARAstruct para{};
  reader.GetProjectionInfo(&para);

  OGRSpatialReference zone39, degrees;
  if (zone39.importFromEPSG(kZone39) != OGRERR_NONE || degrees.importFromEPSG(kXian1980) != OGRERR_NONE) return 1;
  zone39.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  degrees.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);

  Variant geographic{"-degrees", para, nullptr};
  geographic.para.coordType = 1;  // geographic, in the unit below
  geographic.para.unit = 4;       // degrees
  geographic.para.projType = 0;
  geographic.transform.reset(OGRCreateCoordinateTransformation(&zone39, &degrees));
  Variant meridian{"-cm117", para, nullptr};
  if (!geographic.transform) return 1;

  for (Variant* v : {&geographic, &meridian}) {
    const std::filesystem::path target =
        std::filesystem::u8path(argv[2]) / (source.stem().u8string() + v->suffix + source.extension().u8string());
    if (!Copy(reader, target, *v)) {
      std::fprintf(stderr, "crs_fixture: cannot write %s\n", target.u8string().c_str());
      return 1;
    }
  }
  return 0;
}
