// Feature style strings: every feature of a geometry layer carries the OGR
// style of its MapGIS record, colours through the project's colour library.
#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>

#include <cstring>

#include "OgrMapGis.h"
#include "OgrStyleString.h"
#include "RecordStyle.h"

using namespace MapGis;

namespace ogrmapgis {

namespace {

constexpr char kLibraryName[] = "Pcolor.lib";

// The file of `folder` named `name` in any letter case; empty when none.
std::string FileInAnyCase(const std::string& folder, const char* name) {
  char** entries = VSIReadDir(folder.c_str());
  std::string found;
  for (int i = 0; entries && entries[i] && found.empty(); ++i) {
    if (EQUAL(entries[i], name)) found = CPLFormFilename(folder.c_str(), entries[i], nullptr);
  }
  CSLDestroy(entries);
  VSIStatBufL stat;
  if (!found.empty() && (VSIStatL(found.c_str(), &stat) != 0 || !VSI_ISREG(stat.st_mode))) found.clear();
  return found;
}

}  // namespace

std::string FindColourLibrary(const std::string& path, CSLConstList openOptions) {
  const char* option = CSLFetchNameValue(openOptions, "COLOR_LIB");
  if (option && *option) return option;
  const char* configured = CPLGetConfigOption("MAPGIS_COLOR_LIB", nullptr);
  if (configured && *configured) return configured;
  const std::string folder = CPLGetPath(path.c_str());
  const std::string parent = CPLGetPath(folder.c_str());
  for (const std::string& place : {folder, std::string(CPLFormFilename(folder.c_str(), "slib", nullptr)),
                                   std::string(CPLFormFilename(parent.c_str(), "slib", nullptr))}) {
    std::string library = FileInAnyCase(place.empty() ? "." : place, kLibraryName);
    if (!library.empty()) return library;
  }
  return std::string();
}

std::shared_ptr<const FeatureColours> FeatureColours::Load(const std::string& path, CSLConstList openOptions) {
  const std::string library = FindColourLibrary(path, openOptions);
  if (library.empty()) {
    CPLDebug("MAPGIS", "%s: no colour library (COLOR_LIB, MAPGIS_COLOR_LIB or Pcolor.lib), features carry no style",
             path.c_str());
    return nullptr;
  }
  auto colours = std::make_shared<FeatureColours>();
  const long count = colours->library_.LoadColors(Utf8ToWide(library).c_str());
  if (count <= 0) {
    CPLDebug("MAPGIS", "%s: the colour library %s cannot be read (status %ld), features carry no style", path.c_str(),
             library.c_str(), count);
    return nullptr;
  }
  CPLDebug("MAPGIS", "%s: features styled with the colour library %s (%ld colours)", path.c_str(), library.c_str(),
           count);
  return colours;
}

void MapGisLayer::SetFeatureStyle(OGRFeature* f) {
  if (!colours_) return;
  const ColorModel& model = colours_->Model();
  cartography::FeatureStyle style;
  switch (role_) {
    case LayerRole::Points:
      if (point_.kind == 0 || point_.kind == 5) {
        style = cartography::LabelOf(point_, model, sizeY_ * scale_);
        style.label.text = cartography::AnnotationDisplayText(f->GetFieldAsString(styleStart_));
      } else if (point_.kind == 1) {
        style = cartography::MarkerOf(point_, model, cartography::SubPictureSize(point_, sizeX_ * scale_));
      } else {
        style = cartography::MarkerOf(point_, model, {2.0, cartography::Unit::Millimetre});
      }
      break;
    case LayerRole::NetworkNodes:
      // Only nodes drawn as sub-pictures have a look of their own.
      if (point_.kind != 1) return;
      style = cartography::MarkerOf(point_, model, cartography::SubPictureSize(point_, scale_));
      break;
    case LayerRole::Lines:
    case LayerRole::PolygonArcs:
    case LayerRole::NetworkArcs: style = cartography::LineOf(line_, model); break;
    case LayerRole::Polygons: style = cartography::FillOf(region_, model); break;
    case LayerRole::Table: return;
  }
  f->SetStyleString(cartography::BuildOgrStyle(style).c_str());
}

}  // namespace ogrmapgis
