#include <cstring>
#include <memory>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_vsi.h>

#include "OgrMapGis.h"
#include "MapGisProjectPaths.h"

using namespace MapGis;

namespace ogrmapgis {

namespace {

constexpr char kMagicStem[] = "WMAP`D2";  // then '1' line, '2' point, '3' polygon, '5' network, '8' table, ':' project

char KindByte(const unsigned char* bytes, int count) {
  if (!bytes || count < 8 || std::memcmp(bytes, kMagicStem, 7) != 0) return 0;
  const char k = static_cast<char>(bytes[7]);
  return std::strchr("12358:", k) && k != '\0' ? k : 0;
}

char KindOfFile(const std::string& path) {
  // Only regular files: a project item naming a pipe or a device would block
  // the open or never end.
  VSIStatBufL info;
  if (VSIStatL(path.c_str(), &info) != 0 || !VSI_ISREG(info.st_mode)) return 0;
  VSILFILE* fp = VSIFOpenL(path.c_str(), "rb");
  if (!fp) return 0;
  unsigned char head[8] = {0};
  const size_t n = VSIFReadL(head, 1, sizeof head, fp);
  VSIFCloseL(fp);
  return KindByte(head, static_cast<int>(n));
}

}  // namespace

bool IsMapGisHeader(const unsigned char* bytes, int count) { return KindByte(bytes, count) != 0; }

int MapGisDataset::Identify(GDALOpenInfo* info) {
  // The reader opens files by path: virtual file systems are not served.
  if (STARTS_WITH(info->pszFilename, "/vsi")) return FALSE;
  return IsMapGisHeader(info->pabyHeader, info->nHeaderBytes) ? TRUE : FALSE;
}

GDALDataset* MapGisDataset::Open(GDALOpenInfo* info) {
  if (!(info->nOpenFlags & GDAL_OF_VECTOR) || !Identify(info)) return nullptr;
  if (info->eAccess == GA_Update) {
    CPLError(CE_Failure, CPLE_NotSupported, "MAPGIS: the driver is read-only");
    return nullptr;
  }
  auto ds = std::make_unique<MapGisDataset>();
  const std::string path = info->pszFilename;
  ds->colours_ = FeatureColours::Load(path, info->papszOpenOptions);
  const bool ok = KindByte(info->pabyHeader, info->nHeaderBytes) == ':'
                      ? ds->AddProject(path)
                      : ds->AddFile(path, CPLGetBasename(path.c_str()));
  if (!ok) return nullptr;
  ds->SetDescription(path.c_str());
  return ds.release();
}

OGRLayer* MapGisDataset::GetLayer(int i) {
  if (i < 0 || i >= GetLayerCount()) return nullptr;
  return layers_[static_cast<size_t>(i)].get();
}

std::string MapGisDataset::UniqueName(const std::string& name, const std::string& ext) const {
  auto taken = [this](const std::string& n) {
    for (const auto& l : layers_) {
      if (EQUAL(l->GetName(), n.c_str())) return true;
    }
    return false;
  };
  // A project may hold "roads.WL" and "roads.WT": the second becomes "roads_WT".
  if (!taken(name)) return name;
  const std::string base = ext.empty() ? name : name + "_" + ext;
  std::string unique = base;
  for (int n = 2; taken(unique); ++n) unique = base + "_" + std::to_string(n);
  return unique;
}

bool MapGisDataset::AddFile(const std::string& path, const std::string& stem) {
  const char kind = KindOfFile(path);
  std::vector<std::pair<LayerRole, std::string>> roles;
  switch (kind) {
    case '1': roles = {{LayerRole::Lines, stem}}; break;
    case '2': roles = {{LayerRole::Points, stem}}; break;
    case '3': roles = {{LayerRole::Polygons, stem}, {LayerRole::PolygonArcs, stem + "_arc"}}; break;
    case '5': roles = {{LayerRole::NetworkArcs, stem}, {LayerRole::NetworkNodes, stem + "_node"}}; break;
    case '8': roles = {{LayerRole::Table, stem}}; break;
    default:
      CPLError(CE_Failure, CPLE_OpenFailed, "MAPGIS: %s is not a MapGIS layer or table file", path.c_str());
      return false;
  }
  bool added = false;
  for (const auto& role : roles) {
    auto layer =
        MapGisLayer::Create(path, role.first, UniqueName(role.second, CPLGetExtension(path.c_str())), colours_);
    if (!layer) continue;
    layers_.push_back(std::move(layer));
    added = true;
  }
  return added;
}

bool MapGisDataset::AddProject(const std::string& path) {
  MapGis_Prj project;
  const std::wstring wide = Utf8ToWide(path);
  const long count = project.LoadProject(wide.c_str());
  if (count < 0) {
    CPLError(CE_Failure, CPLE_OpenFailed, "MAPGIS: project %s cannot be read (status %ld)", path.c_str(), count);
    return false;
  }
  for (long i = 0; i < count; ++i) {
    std::vector<wchar_t> name(1024, L'\0');
    if (project.GetItemFileName(static_cast<int>(i), name.data()) < 0) continue;
    name.back() = L'\0';
    const std::string file = WideToUtf8(MapGis::ResolveProjectItem(wide, name.data()));
    if (file.empty() || KindOfFile(file) == 0 || KindOfFile(file) == ':') {
      CPLError(CE_Warning, CPLE_OpenFailed, "MAPGIS: project item %ld (%s) is not a readable layer file", i + 1,
               file.empty() ? "no name" : file.c_str());
      continue;
    }
    AddFile(file, CPLGetBasename(file.c_str()));
  }
  // A project whose layers are all missing still opens, without layers.
  return true;
}

}  // namespace ogrmapgis

extern "C" __attribute__((visibility("default"))) void RegisterOGRMAPGIS() {
  if (!GDAL_CHECK_VERSION("MAPGIS")) return;
  if (GDALGetDriverByName("MAPGIS") != nullptr) return;
  auto* driver = new GDALDriver();
  driver->SetDescription("MAPGIS");
  driver->SetMetadataItem(GDAL_DCAP_VECTOR, "YES");
  driver->SetMetadataItem(GDAL_DMD_LONGNAME, "MapGIS 6.x layer, table and project files");
  driver->SetMetadataItem(GDAL_DMD_EXTENSIONS, "wt wl wp wn wb mpj");
  driver->SetMetadataItem(GDAL_DCAP_VIRTUALIO, "NO");
  driver->SetMetadataItem(GDAL_DMD_SUPPORTED_SQL_DIALECTS, "OGRSQL SQLITE");
  driver->SetMetadataItem(GDAL_DCAP_FEATURE_STYLES, "YES");
  driver->SetMetadataItem(GDAL_DMD_OPENOPTIONLIST,
                          "<OpenOptionList>"
                          "<Option name='COLOR_LIB' type='string' description='MapGIS colour library (Pcolor.lib) "
                          "that gives features their style strings'/>"
                          "</OpenOptionList>");
  driver->pfnOpen = ogrmapgis::MapGisDataset::Open;
  driver->pfnIdentify = ogrmapgis::MapGisDataset::Identify;
  GetGDALDriverManager()->RegisterDriver(driver);
}
