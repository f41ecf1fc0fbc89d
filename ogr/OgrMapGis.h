#pragma once
// OGR driver for MapGIS 6.x files: every layer of a layer file, attribute
// table or project as a read-only OGR layer. Records are read through the
// fast reader; geometry, field values and style values follow the shapefile
// converter (coordinates scaled by the projection record's scale, polygon
// rings oriented and closed, the converter's field mapping with dates and
// times as OGR date types, the raw-parameter style values).
#include <memory>
#include <string>
#include <vector>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "ColorModel.h"
#include "FieldNames.h"
#include "MapGis.h"

namespace ogrmapgis {

// The colour library that gives a dataset's features their style strings.
class FeatureColours {
 public:
  // The library found for the file `path` (see FindColourLibrary), or null
  // when there is none or it cannot be loaded (with a CPLDebug line).
  static std::shared_ptr<const FeatureColours> Load(const std::string& path, CSLConstList openOptions);
  const ColorModel& Model() const { return model_; }

 private:
  MapGis::MapGis_ColorLib library_;
  ColorModel model_{&library_, ColorModel::kRgb};
};

// The colour library of the file `path`: the open option COLOR_LIB, else
// the configuration option MAPGIS_COLOR_LIB, else "Pcolor.lib" in any
// letter case in the file's folder, its "slib" folder or the "slib" folder
// beside it, where MapGIS projects keep it. Empty when none is found.
std::string FindColourLibrary(const std::string& path, CSLConstList openOptions);

// What a layer holds; a layer file gives one or two of these.
enum class LayerRole {
  Points,        // point file: every live point
  Lines,         // line file: every live line
  Polygons,      // polygon file: polygons assembled from the arcs
  PolygonArcs,   // polygon file: the arcs with their left and right polygons
  NetworkArcs,   // network file: the arcs
  NetworkNodes,  // network file: the live nodes
  Table,         // attribute-table file: records without geometry
};

// True when the first bytes are those of a MapGIS layer or project file.
bool IsMapGisHeader(const unsigned char* bytes, int count);

class MapGisLayer final : public OGRLayer {
 public:
  // Opens `path` for one role; features get style strings from `colours`
  // when it is given. Null (with a CPLError) when the file cannot be read.
  static std::unique_ptr<MapGisLayer> Create(const std::string& path, LayerRole role, const std::string& name,
                                             std::shared_ptr<const FeatureColours> colours);
  ~MapGisLayer() override;

  OGRFeatureDefn* GetLayerDefn() override { return defn_; }
  void ResetReading() override { next_ = 0; }
  OGRFeature* GetNextFeature() override;
  OGRFeature* GetFeature(GIntBig fid) override;
  GIntBig GetFeatureCount(int force) override;
  OGRErr GetExtent(OGREnvelope* extent, int force) override;
  OGRErr GetExtent(int geomField, OGREnvelope* extent, int force) override {
    return OGRLayer::GetExtent(geomField, extent, force);
  }
  int TestCapability(const char* cap) override;

  LayerRole Role() const { return role_; }

 private:
  MapGisLayer(LayerRole role, const std::string& name);
  bool Open(const std::string& path);
  void DeclareAttributes();
  void DeclareStyle();
  void SetSpatialReference();
  bool HeaderExtent(OGREnvelope* extent);
  int LiveCount();
  // Feature of slot index r; null for a deleted or unreadable record.
  OGRFeature* ReadFeature(int r);
  OGRGeometry* BuildGeometry(MapGis::Geometry* g);
  void FillAttributes(OGRFeature* f, int r);
  // Whether a geometry passes the spatial filter; one with coordinates that
  // are not finite never does.
  bool PassesSpatialFilter(const OGRGeometry* g);
  void FillStyle(OGRFeature* f, int r);
  // The feature's OGR style string, from the record last read.
  void SetFeatureStyle(OGRFeature* f);

  struct Attribute {
    int field;  // field index in the MapGIS table
    int type;   // MapGIS type code
    int ogr;    // field index in the feature definition
    int width;  // storage width in bytes
  };

  LayerRole role_;
  MapGis::MapGis_FastReader reader_;
  OGRFeatureDefn* defn_ = nullptr;
  OGRSpatialReference* srs_ = nullptr;
  std::vector<Attribute> attributes_;
  FieldNames fieldNames_;   // names given to the definition's fields
  int styleStart_ = 0;      // first style field
  bool haveAttributes_ = true;
  int slots_ = 0;           // readable record indexes
  int live_ = -1;           // live records, -1 until counted
  double scale_ = 1.0;      // factor applied to every coordinate
  std::shared_ptr<const FeatureColours> colours_;
  double sizeX_ = 1.0;      // size factors of sub-pictures and annotations
  double sizeY_ = 1.0;
  int next_ = 0;            // next slot index of sequential reading

  // The record last read.
  MapGis::MAPGIS_PntInfo point_{};
  MapGis::MAPGIS_LineInfo line_{};
  MapGis::MAPGIS_RegInfo region_{};
  MapGis::MAPGIS_Topology topology_{};
  bool haveTopology_ = false;
};

class MapGisDataset final : public GDALDataset {
 public:
  static GDALDataset* Open(GDALOpenInfo* info);
  static int Identify(GDALOpenInfo* info);

  int GetLayerCount() override { return static_cast<int>(layers_.size()); }
  OGRLayer* GetLayer(int i) override;
  int TestCapability(const char*) override { return FALSE; }

 private:
  // Adds the layers of one layer file (or table file); false when it gives none.
  bool AddFile(const std::string& path, const std::string& stem);
  bool AddProject(const std::string& path);
  std::string UniqueName(const std::string& name, const std::string& ext) const;

  std::vector<std::unique_ptr<MapGisLayer>> layers_;
  std::shared_ptr<const FeatureColours> colours_;
};

}  // namespace ogrmapgis

extern "C" void RegisterOGRMAPGIS();
