// Writes style files for shapefiles converted with the raw-parameter style
// columns, the way the converters will: one class per distinct combination
// of style values, colours resolved through the colour library. Also writes
// a .prj carrying the EPSG system of a MapGIS layer's projection record.
//
//   style_fixture styles COLOUR_LIB SHAPEFILE...   writes NAME.qml and NAME.sld
//   style_fixture prj MAPGIS_LAYER SHAPEFILE       writes NAME.prj, prints the code
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "EpsgMatch.h"
#include "MapGis.h"
#include "MapGisCodePage.h"
#include "ProjectWriter.h"
#include "QmlWriter.h"
#include "SldWriter.h"
#include "SymbolTables.h"

using namespace cartography;

namespace {

using Dataset = std::unique_ptr<GDALDataset>;

Dataset OpenVector(const std::string& path) {
  return Dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

std::string BaseOf(const std::string& shp) { return shp.substr(0, shp.size() - 4); }

class Styler {
 public:
  explicit Styler(const MapGis::MapGis_ColorLib& colours) : colours_(colours) {}

  bool Write(const std::string& shp) {
    Dataset ds = OpenVector(shp);
    if (!ds || ds->GetLayerCount() != 1) return false;
    OGRLayer* layer = ds->GetLayer(0);
    defn_ = layer->GetLayerDefn();
    style_ = LayerStyle{};
    style_.name = layer->GetName();
    const OGRSpatialReference* srs = layer->GetSpatialRef();
    if (srs && srs->IsProjected()) style_.metresPerMapUnit = srs->GetLinearUnits();
    if (Has("VKT_PTYPE")) {
      // Every kind of point in one layer: sub-pictures as markers,
      // annotations as labels classed by their mark-up.
      kind_ = SymbolKind::Marker;
      style_.labelText = "VKT_LABEL";
      style_.labelTextIsMarkup = true;
    } else if (Has("VKT_RCOLR")) {
      kind_ = SymbolKind::Fill;
    } else if (Has("VKT_LCOLR")) {
      kind_ = SymbolKind::Line;
    } else if (Has("VKT_SUBNO")) {
      kind_ = SymbolKind::Marker;
    } else if (Has("VKT_AHEI")) {
      kind_ = SymbolKind::Label;
      // The annotation text is the column just before the label mark-up.
      style_.labelText = defn_->GetFieldDefn(defn_->GetFieldIndex("VKT_LABEL") - 1)->GetNameRef();
      style_.labelSize = {"VKT_AHEI", 1.0, 0.0};
      style_.labelAngle = {"VKT_ANGL", 1.0, 0.0};
    } else {
      return false;
    }
    for (auto& feature : *layer) AddClassOf(*feature);

    std::vector<std::string> warnings;
    const std::string base = BaseOf(shp);
    const bool written = WriteText(base + ".qml", BuildQml(style_)) && WriteText(base + ".sld", BuildSld(style_, &warnings));
    for (const std::string& w : warnings) std::printf("%s\n", w.c_str());
    std::printf("%s: %zu classes\n", style_.name.c_str(), style_.classes.size());
    return written;
  }

 private:
  bool Has(const char* column) const { return defn_->GetFieldIndex(column) >= 0; }

  Rgba Colour(const OGRFeature& f, const char* column) const {
    const MapGis::RGBTRIPLE rgb = colours_.GetRGB(static_cast<long>(f.GetFieldAsInteger64(column)));
    return Rgba{rgb.rgbtRed, rgb.rgbtGreen, rgb.rgbtBlue};
  }

  // A condition on the value the feature holds in `column`, as the table shows it.
  static Condition Equal(const OGRFeature& f, const char* column) {
    return Condition{column, Match::Equal, f.GetFieldAsString(column), true};
  }

  // Annotations of a point layer: one class per mark-up head (font, size in
  // points, colour), italic ones apart.
  void AddMarkupClassOf(const OGRFeature& f) {
    const std::string markup = f.GetFieldAsString("VKT_LABEL");
    const size_t end = markup.find('>', markup.find("<CLR"));
    if (end == std::string::npos) return;
    const std::string head = markup.substr(0, end + 1);
    const bool italic = markup.compare(end + 1, 5, "<ITA>") == 0;
    StyleClass c;
    c.title = head + (italic ? "<ITA>" : "");
    c.when = {{"VKT_LABEL", Match::StartsWith, c.title, false}};
    if (!italic) c.when.push_back({"VKT_LABEL", Match::NotStartsWith, head + "<ITA>", false});
    c.style.kind = SymbolKind::Label;
    c.style.label.fonts = FontOfNumber(FontNumberOf(head)).families;
    c.style.label.italic = italic;
    // The mark-up's size is the character height (map units) times 2.8345.
    c.style.label.size = {std::atof(markup.c_str() + markup.find("size='") + 6) / 2.8345, Unit::MapUnit};
    c.style.label.colour = Colour(f, "VKT_SCOLR");
    AddStyleClass(style_, std::move(c));
  }

  // The number of the font the mark-up names.
  static int FontNumberOf(const std::string& head) {
    for (int n = 0; n <= 28; ++n) {
      char name[16] = {};
      MapGis::GetFontName(n, name);
      if (head.find("name='" + MapGis::AnsiToUtf8(name) + "'") != std::string::npos) return n;
    }
    return 15;
  }

  void AddClassOf(const OGRFeature& f) {
    if (Has("VKT_PTYPE")) {
      const int type = f.GetFieldAsInteger("VKT_PTYPE");
      if (type == 0 || type == 5) return AddMarkupClassOf(f);
      if (type != 1) return;
    }
    StyleClass c;
    c.style.kind = kind_;
    switch (kind_) {
      case SymbolKind::Fill:
        c.when = {Equal(f, "VKT_RCOLR"), Equal(f, "VKT_PATNO"), Equal(f, "VKT_PCOLR"), Equal(f, "VKT_TRANS")};
        c.style.fill = {Colour(f, "VKT_RCOLR"), f.GetFieldAsInteger("VKT_PATNO"), Colour(f, "VKT_PCOLR"),
                        f.GetFieldAsInteger("VKT_TRANS") != 0};
        break;
      case SymbolKind::Line:
        c.when = {Equal(f, "VKT_LTYPE"), Equal(f, "VKT_LCOLR"), Equal(f, "VKT_LWIDH")};
        c.style.line = {Colour(f, "VKT_LCOLR"), {f.GetFieldAsDouble("VKT_LWIDH"), Unit::Millimetre},
                        DashOfLineType(f.GetFieldAsInteger("VKT_LTYPE"))};
        break;
      case SymbolKind::Marker:
        // Network nodes that are no sub-picture have no style values.
        if (!f.IsFieldSetAndNotNull(defn_->GetFieldIndex("VKT_SCOLR"))) return;
        if (!Has("VKT_SWIDH")) {  // a point layer keeps no sizes: 2 mm
          c.when = {Equal(f, "VKT_PTYPE"), Equal(f, "VKT_SCOLR")};
          c.style.marker = {Colour(f, "VKT_SCOLR"), {2.0, Unit::Millimetre}};
          break;
        }
        c.when = {Equal(f, "VKT_SCOLR"), Equal(f, "VKT_SWIDH")};
        c.style.marker = {Colour(f, "VKT_SCOLR"), {f.GetFieldAsDouble("VKT_SWIDH"), Unit::MapUnit}};
        break;
      case SymbolKind::Label: {
        c.when = {Equal(f, "VKT_CFNT"), Equal(f, "VKT_CFNX"), Equal(f, "VKT_ACLR"), Equal(f, "VKT_ALGN")};
        const FontFaces faces = FontOfNumber(f.GetFieldAsInteger("VKT_CFNT"));
        c.style.label.fonts = faces.families;
        c.style.label.bold = faces.bold;
        c.style.label.italic = f.GetFieldAsInteger("VKT_CFNX") > 0;
        c.style.label.vertical = f.GetFieldAsInteger("VKT_ALGN") != 0;
        c.style.label.size = {f.GetFieldAsDouble("VKT_AHEI"), Unit::MapUnit};
        c.style.label.colour = Colour(f, "VKT_ACLR");
        break;
      }
    }
    for (const Condition& w : c.when) c.title += (c.title.empty() ? "" : " ") + w.column + "=" + w.value;
    AddStyleClass(style_, std::move(c));
  }

  const MapGis::MapGis_ColorLib& colours_;
  OGRFeatureDefn* defn_ = nullptr;
  SymbolKind kind_ = SymbolKind::Fill;
  LayerStyle style_;
};

int Styles(int argc, char** argv) {
  MapGis::MapGis_ColorLib colours;
  if (colours.LoadColors(MapGis::Utf8ToWide(argv[2]).c_str()) <= 0) {
    std::fprintf(stderr, "style_fixture: cannot load %s\n", argv[2]);
    return 1;
  }
  Styler styler(colours);
  for (int i = 3; i < argc; ++i) {
    if (!styler.Write(argv[i])) {
      std::fprintf(stderr, "style_fixture: no style for %s\n", argv[i]);
      return 1;
    }
  }
  return 0;
}

// The record as the standard spatial-reference mode hands it to the
// projection writer (metres, scale folded into the coordinates), the
// extent of the coordinates as written.
int Prj(const char* layerPath, const std::string& shp) {
  MapGis::MapGis_FastReader reader;
  if (reader.Open(MapGis::Utf8ToWide(layerPath).c_str()) < 0) return 1;
  MapGis::MAP_PARAstruct para{};
  reader.GetProjectionInfo(&para);
  ProjectWriter::ConvertToMeters(&para);
  para.scale = 1.0;
  Dataset ds = OpenVector(shp);
  OGREnvelope envelope;
  if (!ds || ds->GetLayer(0)->GetExtent(&envelope) != OGRERR_NONE) return 1;
  const Extent extent{envelope.MinX, envelope.MinY, envelope.MaxX, envelope.MaxY};
  const EpsgMatch match = IdentifyEpsg(para, &extent);
  for (const std::string& w : match.warnings) std::printf("%s\n", w.c_str());
  if (match.code == 0 || !WriteText(BaseOf(shp) + ".prj", match.esriText)) return 1;
  std::printf("%d\n", match.code);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  GDALAllRegister();
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "styles" && argc >= 4) return Styles(argc, argv);
  if (command == "prj" && argc == 4) return Prj(argv[2], argv[3]);
  std::fprintf(stderr, "usage: style_fixture styles COLOUR_LIB SHAPEFILE... | prj MAPGIS_LAYER SHAPEFILE\n");
  return 2;
}
