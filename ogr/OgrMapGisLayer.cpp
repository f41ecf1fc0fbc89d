#include <cmath>
#include <cstring>
#include <new>

#include <cpl_error.h>
#include <cpl_vsi.h>
#include <ogr_geometry.h>

#include "EpsgMatch.h"
#include "OgrMapGis.h"
#include "ProjectWriter.h"
#include "RecordStyle.h"

using namespace MapGis;

namespace ogrmapgis {

namespace {

struct StyleField {
  const char* name;
  OGRFieldType type;
  int width;
  int precision;
};

// The raw-parameter style columns of the shapefile converter, per role.
const StyleField kPointStyle[] = {
    {"VKT_TEXT", OFTString, 0, 0},  {"VKT_PTYPE", OFTInteger, 8, 0}, {"VKT_SCOLR", OFTInteger64, 10, 0},
    {"VKT_LAYER", OFTInteger64, 10, 0}, {"VKT_TRANS", OFTInteger, 8, 0},
};
const StyleField kLineStyle[] = {
    {"VKT_LTYPE", OFTInteger64, 10, 0}, {"VKT_LCOLR", OFTInteger64, 10, 0}, {"VKT_LWIDH", OFTReal, 8, 3},
    {"VKT_LCLAS", OFTInteger, 8, 0},    {"VKT_XSCAL", OFTReal, 8, 0},       {"VKT_YSCAL", OFTReal, 8, 0},
    {"VKT_FTYPE", OFTInteger, 8, 0},    {"VKT_FCOLR", OFTInteger64, 10, 0}, {"VKT_LAYER", OFTInteger64, 10, 0},
    {"VKT_TRANS", OFTInteger, 8, 0},
};
const StyleField kArcSides[] = {{"VKT_LPOY", OFTInteger, 11, 0}, {"VKT_RPOY", OFTInteger, 11, 0}};
const StyleField kPolygonStyle[] = {
    {"VKT_RCOLR", OFTInteger64, 10, 0}, {"VKT_PATNO", OFTInteger64, 10, 0}, {"VKT_RHEIH", OFTReal, 8, 3},
    {"VKT_RWIDH", OFTReal, 8, 3},       {"VKT_PCOLR", OFTInteger64, 10, 0}, {"VKT_LAYER", OFTInteger64, 10, 0},
    {"VKT_TRANS", OFTInteger, 8, 0},
};
// Network nodes carry the sub-picture columns; only kind-1 nodes have values.
const StyleField kNodeStyle[] = {
    {"VKT_SUBNO", OFTInteger64, 10, 0}, {"VKT_SHEIH", OFTReal, 8, 3},       {"VKT_SWIDH", OFTReal, 8, 3},
    {"VKT_ANGLE", OFTReal, 8, 3},       {"VKT_SCOLR", OFTInteger64, 10, 0}, {"VKT_LAYER", OFTInteger64, 10, 0},
    {"VKT_TRANS", OFTInteger, 8, 0},
};

// Values as the converter writes them into its unsigned integer columns.
GIntBig Unsigned(int32_t v) { return static_cast<GIntBig>(static_cast<uint32_t>(v)); }

bool FiniteExtent(double x0, double y0, double x1, double y1) {
  return std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1) && x0 <= x1 && y0 <= y1;
}

}  // namespace

MapGisLayer::MapGisLayer(LayerRole role, const std::string& name) : role_(role) {
  defn_ = new OGRFeatureDefn(name.c_str());
  defn_->Reference();
  SetDescription(name.c_str());
}

MapGisLayer::~MapGisLayer() {
  reader_.Close();
  defn_->Release();
  if (srs_) srs_->Release();
}

std::unique_ptr<MapGisLayer> MapGisLayer::Create(const std::string& path, LayerRole role, const std::string& name,
                                                 std::shared_ptr<const FeatureColours> colours) {
  std::unique_ptr<MapGisLayer> layer(new MapGisLayer(role, name));
  if (role != LayerRole::Table) layer->colours_ = std::move(colours);
  if (!layer->Open(path)) return nullptr;
  return layer;
}

bool MapGisLayer::Open(const std::string& path) {
  const long status = reader_.Open(Utf8ToWide(path).c_str());
  if (status < 0) {
    CPLError(CE_Failure, CPLE_OpenFailed, "MAPGIS: %s cannot be read (status %ld)", path.c_str(), status);
    return false;
  }
  const int kind = reader_.GetShapeType();
  int expected = MAPGIS_TYPE_TABLE;
  switch (role_) {
    case LayerRole::Points: expected = MAPGIS_TYPE_POINT; break;
    case LayerRole::Lines: expected = MAPGIS_TYPE_LINE; break;
    case LayerRole::Polygons:
    case LayerRole::PolygonArcs: expected = MAPGIS_TYPE_POLYGON; break;
    case LayerRole::NetworkArcs:
    case LayerRole::NetworkNodes: expected = MAPGIS_TYPE_NETWORK; break;
    case LayerRole::Table: expected = MAPGIS_TYPE_TABLE; break;
  }
  if (kind != expected) {
    CPLError(CE_Failure, CPLE_OpenFailed, "MAPGIS: %s is not of the expected kind", path.c_str());
    return false;
  }

  int slots = 0;
  switch (role_) {
    case LayerRole::Points:
    case LayerRole::NetworkNodes: reader_.GetPointCount(&slots); break;
    case LayerRole::Lines:
    case LayerRole::PolygonArcs:
    case LayerRole::NetworkArcs: reader_.GetArcCount(&slots); break;
    case LayerRole::Polygons: reader_.GetPolygonCount(&slots); break;
    case LayerRole::Table: {
      const long records = reader_.GetRecordCount();
      slots = records > 0 ? static_cast<int>(records) : 0;
      break;
    }
  }
  slots_ = slots > 0 ? slots : 0;
  // A damaged slot count can name billions of records in a small file. No
  // record is shorter than 40 bytes, so indexes past size / 40 cannot be in
  // the file and are never read.
  VSIStatBufL fileStat;
  if (role_ != LayerRole::Table && VSIStatL(path.c_str(), &fileStat) == 0 &&
      static_cast<GIntBig>(slots_) > fileStat.st_size / 40) {
    const int holdable = static_cast<int>(fileStat.st_size / 40);
    CPLError(CE_Warning, CPLE_AppDefined, "MAPGIS: layer %s names %d records, the file can hold %d; the rest are not read",
             defn_->GetName(), slots_, holdable);
    slots_ = holdable;
  }

  // The arcs of a polygon file and the nodes of a network have tables of their own.
  if (role_ == LayerRole::PolygonArcs || role_ == LayerRole::NetworkNodes) {
    const int table = role_ == LayerRole::PolygonArcs ? 0 : 1;
    if (reader_.SetAttributeType(table) != MAPGIS_OK) {
      // Never read the other kind's table in their place.
      CPLError(CE_Warning, CPLE_AppDefined, "MAPGIS: %s has no attribute table for layer %s; only geometry is read",
               path.c_str(), defn_->GetName());
      haveAttributes_ = false;
    }
  }
  if (reader_.GetFieldCount() < 0 || reader_.GetRecordCount() < 0) {
    CPLError(CE_Warning, CPLE_AppDefined, "MAPGIS: the attribute structure of %s is unreadable; only geometry is read",
             path.c_str());
    haveAttributes_ = false;
  }

  switch (role_) {
    case LayerRole::Points:
    case LayerRole::NetworkNodes: defn_->SetGeomType(wkbPoint); break;
    case LayerRole::Lines:
    case LayerRole::PolygonArcs:
    case LayerRole::NetworkArcs: defn_->SetGeomType(wkbLineString); break;
    case LayerRole::Polygons: defn_->SetGeomType(wkbPolygon); break;
    case LayerRole::Table: defn_->SetGeomType(wkbNone); break;
  }
  if (role_ != LayerRole::Table) SetSpatialReference();
  DeclareAttributes();
  DeclareStyle();
  return true;
}

void MapGisLayer::SetSpatialReference() {
  // As the converter with a spatial reference: coordinates multiplied by the
  // record's scale, and the reference of the record with scale 1.
  MAP_PARAstruct para;
  std::memset(&para, 0, sizeof para);
  reader_.GetProjectionInfo(&para);
  const cartography::SizeFactors factors = cartography::SizeFactorsOf(para);
  sizeX_ = factors.width;
  sizeY_ = factors.height;
  if (para.coordType == 0) return;  // no spatial reference: coordinates as stored
  scale_ = para.scale;
  para.scale = 1.0;
  const ProjectWriter::Text prj = ProjectWriter::TranslateProjection(&para);
  const std::string wkt = WideToUtf8(prj.wkt);
  // An invalid record gives the converter's warning: pass it on to GDAL.
  for (const std::wstring& warning : prj.warnings) {
    CPLError(CE_Warning, CPLE_AppDefined, "MAPGIS: layer %s: >%s", defn_->GetName(), WideToUtf8(warning).c_str());
  }
  if (wkt.empty()) return;
  auto* srs = new OGRSpatialReference();
  srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  // A record that matches an EPSG system is that system, with its authority.
  cartography::Extent extent;
  reader_.GetExtentInfo(&extent.minX, &extent.minY, &extent.maxX, &extent.maxY);
  extent = {extent.minX * scale_, extent.minY * scale_, extent.maxX * scale_, extent.maxY * scale_};
  const cartography::EpsgMatch epsg = cartography::IdentifyEpsg(para, &extent);
  char* lines[2] = {const_cast<char*>(wkt.c_str()), nullptr};
  if (epsg.code != 0 && srs->importFromEPSG(epsg.code) == OGRERR_NONE) {
    CPLDebug("MAPGIS", "layer %s: EPSG:%d", defn_->GetName(), epsg.code);
  } else if (srs->importFromESRI(lines) != OGRERR_NONE) {
    CPLError(CE_Warning, CPLE_AppDefined, "MAPGIS: the projection of layer %s is not understood", defn_->GetName());
    srs->Release();
    return;
  }
  srs_ = srs;
  if (defn_->GetGeomFieldCount() > 0) defn_->GetGeomFieldDefn(0)->SetSpatialRef(srs_);
}

void MapGisLayer::DeclareAttributes() {
  if (!haveAttributes_) return;
  const long count = reader_.GetFieldCount();
  for (int i = 0; i < count; ++i) {
    wchar_t name[64] = {0};
    int storage = 0, display = 0, decimals = 0;
    const long type = reader_.GetFieldInfo(i, name, &storage, &display, &decimals);
    std::string fieldName = WideToUtf8(name);
    if (fieldName.empty()) fieldName = "FIELD_" + std::to_string(i + 1);
    if (type < 0 || type > 18) {
      // The converter stops on such a table; here only that field is dropped.
      CPLError(CE_Warning, CPLE_AppDefined, "MAPGIS: field %s of layer %s has the invalid type %ld and is skipped",
               fieldName.c_str(), defn_->GetName(), type);
      continue;
    }
    OGRFieldType ogrType = OFTInteger;
    OGRFieldSubType subType = OFSTNone;
    int width = 0, precision = 0;
    switch (type) {
      case MAPGIS_FIELD_STRING:
      case MAPGIS_FIELD_TEXT: ogrType = OFTString; break;
      case MAPGIS_FIELD_BYTE:
      case MAPGIS_FIELD_SHORT: width = (display >= 6 && display <= 10) ? display : 8; break;
      case MAPGIS_FIELD_LONG: width = 11; break;
      case MAPGIS_FIELD_BOOL: subType = OFSTBoolean; break;
      case MAPGIS_FIELD_FLOAT:
      case MAPGIS_FIELD_DOUBLE:
        ogrType = OFTReal;
        width = display < 1 ? 16 : display;
        precision = decimals < 1 ? 5 : decimals;
        if (precision >= width) width = 0, precision = 0;
        break;
      case MAPGIS_FIELD_DATE: ogrType = OFTDate; break;
      case MAPGIS_FIELD_TIME: ogrType = OFTTime; break;
      case MAPGIS_FIELD_TIMESTAMP: ogrType = OFTDateTime; break;
      default:
        // Kinds without an OGR counterpart keep their stored bytes.
        ogrType = OFTBinary;
        break;
    }
    // Field names must be unique for most output formats.
    OGRFieldDefn field(fieldNames_.Unique(fieldName).c_str(), ogrType);
    field.SetSubType(subType);
    field.SetWidth(width);
    field.SetPrecision(precision);
    defn_->AddFieldDefn(&field);
    attributes_.push_back(Attribute{i, static_cast<int>(type), defn_->GetFieldCount() - 1, storage > 0 ? storage : 0});
  }
}

void MapGisLayer::DeclareStyle() {
  styleStart_ = defn_->GetFieldCount();
  auto add = [this](const StyleField* fields, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      // A MapGIS field of the same name keeps its name; the style field gets a suffix.
      OGRFieldDefn field(fieldNames_.Unique(fields[i].name).c_str(), fields[i].type);
      field.SetWidth(fields[i].width);
      field.SetPrecision(fields[i].precision);
      defn_->AddFieldDefn(&field);
    }
  };
  switch (role_) {
    case LayerRole::Points: add(kPointStyle, 5); break;
    case LayerRole::Lines:
    case LayerRole::NetworkArcs: add(kLineStyle, 10); break;
    case LayerRole::PolygonArcs:
      add(kLineStyle, 10);
      add(kArcSides, 2);
      break;
    case LayerRole::Polygons: add(kPolygonStyle, 7); break;
    case LayerRole::NetworkNodes: add(kNodeStyle, 7); break;
    case LayerRole::Table: break;
  }
}

namespace {

// Whether every coordinate of `g` is a finite number.
bool AllFinite(const OGRGeometry* g) {
  const OGRwkbGeometryType type = wkbFlatten(g->getGeometryType());
  if (type == wkbPoint) return std::isfinite(g->toPoint()->getX()) && std::isfinite(g->toPoint()->getY());
  if (type == wkbLineString || type == wkbLinearRing) {
    const OGRSimpleCurve* c = g->toSimpleCurve();
    for (int i = 0; i < c->getNumPoints(); ++i) {
      if (!std::isfinite(c->getX(i)) || !std::isfinite(c->getY(i))) return false;
    }
    return true;
  }
  if (type == wkbPolygon) {
    for (const OGRLinearRing* ring : *g->toPolygon()) {
      if (!AllFinite(ring)) return false;
    }
    return true;
  }
  if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
    for (const OGRGeometry* part : *g->toGeometryCollection()) {
      if (!AllFinite(part)) return false;
    }
  }
  return true;
}

}  // namespace

bool MapGisLayer::PassesSpatialFilter(const OGRGeometry* g) {
  if (m_poFilterGeom == nullptr) return true;
  // A damaged record's coordinates may be infinite or NaN: such a shape lies
  // nowhere, and GEOS (which GDAL's filter asks) throws on it and leaks.
  if (g != nullptr && !AllFinite(g)) return false;
  return FilterGeometry(const_cast<OGRGeometry*>(g));
}

OGRFeature* MapGisLayer::GetNextFeature() {
  while (next_ < slots_) {
    const int r = next_++;
    OGRFeature* f = ReadFeature(r);
    if (!f) continue;
    if (PassesSpatialFilter(f->GetGeometryRef()) &&
        (m_poAttrQuery == nullptr || m_poAttrQuery->Evaluate(f))) {
      return f;
    }
    delete f;
  }
  return nullptr;
}

OGRFeature* MapGisLayer::GetFeature(GIntBig fid) {
  // Feature ids are slot numbers: index + 1.
  if (fid < 1 || fid > slots_) return nullptr;
  return ReadFeature(static_cast<int>(fid - 1));
}

GIntBig MapGisLayer::GetFeatureCount(int force) {
  if (m_poFilterGeom != nullptr || m_poAttrQuery != nullptr) return OGRLayer::GetFeatureCount(force);
  return LiveCount();
}

int MapGisLayer::LiveCount() {
  // Counted once from the status of every readable slot; a read without a
  // geometry touches only the record table. The header's own count is not
  // used: in a damaged file it can be smaller than the records that read as
  // features, and a count is a promise about what reading gives.
  if (live_ >= 0) return live_;
  live_ = 0;
  for (int r = 0; r < slots_; ++r) {
    long status = MAPGIS_OK;
    switch (role_) {
      case LayerRole::Points:
      case LayerRole::NetworkNodes: status = reader_.ReadPointInfo(r, nullptr, nullptr); break;
      case LayerRole::Lines:
      case LayerRole::PolygonArcs:
      case LayerRole::NetworkArcs: status = reader_.ReadArcInfo(r, nullptr, nullptr); break;
      case LayerRole::Polygons: status = reader_.ReadPolygonInfo(r, nullptr, nullptr); break;
      case LayerRole::Table: break;
    }
    if (status == MAPGIS_OK) ++live_;
  }
  return live_;
}

bool MapGisLayer::HeaderExtent(OGREnvelope* extent) {
  // The header extent covers the whole file: it answers for the layers that
  // span it, not for the nodes of a network.
  if (role_ == LayerRole::Table || role_ == LayerRole::NetworkNodes) return false;
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  reader_.GetExtentInfo(&x0, &y0, &x1, &y1);
  if (!FiniteExtent(x0, y0, x1, y1)) return false;
  const double k = scale_;
  extent->MinX = std::fmin(x0 * k, x1 * k);
  extent->MaxX = std::fmax(x0 * k, x1 * k);
  extent->MinY = std::fmin(y0 * k, y1 * k);
  extent->MaxY = std::fmax(y0 * k, y1 * k);
  return FiniteExtent(extent->MinX, extent->MinY, extent->MaxX, extent->MaxY);
}

OGRErr MapGisLayer::GetExtent(OGREnvelope* extent, int force) {
  if (role_ == LayerRole::Table) return OGRERR_FAILURE;
  if (LiveCount() > 0 && HeaderExtent(extent)) return OGRERR_NONE;
  return OGRLayer::GetExtent(extent, force);
}

int MapGisLayer::TestCapability(const char* cap) {
  if (EQUAL(cap, OLCRandomRead) || EQUAL(cap, OLCStringsAsUTF8)) return TRUE;
  if (EQUAL(cap, OLCFastFeatureCount)) return m_poFilterGeom == nullptr && m_poAttrQuery == nullptr;
  if (EQUAL(cap, OLCFastGetExtent)) {
    OGREnvelope e;
    return LiveCount() > 0 && HeaderExtent(&e);
  }
  return FALSE;
}

OGRFeature* MapGisLayer::ReadFeature(int r) {
  // A corrupt file must never take the host program down: the reader gives
  // statuses, and anything thrown here (memory) ends as a skipped record.
  Geometry* g = nullptr;
  OGRFeature* f = nullptr;
  try {
    long status = MAPGIS_OK;
    if (role_ != LayerRole::Table) {
      g = CreateGeometry();
      if (!g) return nullptr;
      switch (role_) {
        case LayerRole::Points:
        case LayerRole::NetworkNodes: status = reader_.ReadPointInfo(r, &point_, g); break;
        case LayerRole::Lines:
        case LayerRole::NetworkArcs: status = reader_.ReadArcInfo(r, &line_, g); break;
        case LayerRole::PolygonArcs:
          // The topology table holds one record per slot: index r is slot r + 1.
          haveTopology_ = reader_.GetTopoInfo(r + 1, &topology_) == MAPGIS_OK;
          status = reader_.ReadArcInfo(r, &line_, g);
          break;
        case LayerRole::Polygons: status = reader_.ReadPolygonInfo(r, &region_, g); break;
        case LayerRole::Table: break;
      }
      if (status != MAPGIS_OK) {
        if (status != MAPGIS_DELETED) {
          CPLError(CE_Warning, CPLE_AppDefined, "MAPGIS: record %d of layer %s cannot be read (status %ld), skipped",
                   r + 1, defn_->GetName(), status);
        }
        DestroyGeometry(g);
        return nullptr;
      }
    }
    f = new OGRFeature(defn_);
    f->SetFID(r + 1);
    if (g) {
      OGRGeometry* geometry = BuildGeometry(g);
      if (geometry) {
        geometry->assignSpatialReference(srs_);
        f->SetGeometryDirectly(geometry);
      }
    }
    FillAttributes(f, r);
    FillStyle(f, r);
    SetFeatureStyle(f);
  } catch (...) {
    CPLError(CE_Failure, CPLE_OutOfMemory, "MAPGIS: record %d of layer %s could not be built", r + 1,
             defn_->GetName());
    delete f;
    f = nullptr;
  }
  if (g) DestroyGeometry(g);
  return f;
}

OGRGeometry* MapGisLayer::BuildGeometry(Geometry* g) {
  if (g->nVertices <= 0 || !g->padfX || !g->padfY) return nullptr;
  ReScaleGeometry(g, scale_);
  switch (role_) {
    case LayerRole::Points:
    case LayerRole::NetworkNodes: return new OGRPoint(g->padfX[0], g->padfY[0]);
    case LayerRole::Lines:
    case LayerRole::PolygonArcs:
    case LayerRole::NetworkArcs: {
      auto* line = new OGRLineString();
      line->setPoints(g->nVertices, g->padfX, g->padfY);
      return line;
    }
    case LayerRole::Polygons: break;
    case LayerRole::Table: return nullptr;
  }

  // First ring clockwise, later rings counter-clockwise, every ring closed,
  // as the converter writes them; then grouped into polygons by containment
  // as a shapefile reader does.
  FixGeoTopo(g);
  FixUnclosedRing(g);
  std::vector<OGRGeometry*> rings;
  const int parts = g->nParts > 0 && g->panPartStart ? g->nParts : 1;
  for (int p = 0; p < parts; ++p) {
    const int s = parts == 1 ? 0 : g->panPartStart[p];
    const int e = (p + 1 < parts) ? g->panPartStart[p + 1] : g->nVertices;
    if (s < 0 || e > g->nVertices || e - s < 1) continue;  // empty parts are dropped
    auto* ring = new OGRLinearRing();
    ring->setPoints(e - s, g->padfX + s, g->padfY + s);
    auto* polygon = new OGRPolygon();
    polygon->addRingDirectly(ring);
    rings.push_back(polygon);
  }
  if (rings.empty()) return nullptr;
  if (rings.size() == 1) return rings[0];
  int valid = FALSE;
  const char* options[] = {"METHOD=ONLY_CCW", nullptr};
  return OGRGeometryFactory::organizePolygons(rings.data(), static_cast<int>(rings.size()), &valid, options);
}

void MapGisLayer::FillAttributes(OGRFeature* f, int r) {
  for (const Attribute& a : attributes_) {
    const int j = a.field;
    switch (a.type) {
      case MAPGIS_FIELD_STRING:
      case MAPGIS_FIELD_TEXT: {
        const char* raw = static_cast<const char*>(reader_.ReadAttribute(r, j, a.type));
        f->SetField(a.ogr, raw ? AnsiToUtf8(raw).c_str() : "");
        break;
      }
      case MAPGIS_FIELD_BYTE: f->SetField(a.ogr, static_cast<int>(reader_.ReadByteAttribute(r, j))); break;
      case MAPGIS_FIELD_SHORT: f->SetField(a.ogr, static_cast<int>(reader_.ReadShortAttribute(r, j))); break;
      case MAPGIS_FIELD_LONG: f->SetField(a.ogr, static_cast<int>(static_cast<int32_t>(reader_.ReadLongAttribute(r, j)))); break;
      case MAPGIS_FIELD_BOOL: f->SetField(a.ogr, reader_.ReadBoolAttribute(r, j) ? 1 : 0); break;
      case MAPGIS_FIELD_FLOAT: f->SetField(a.ogr, static_cast<double>(reader_.ReadFloatAttribute(r, j))); break;
      case MAPGIS_FIELD_DOUBLE: f->SetField(a.ogr, reader_.ReadDoubleAttribute(r, j)); break;
      case MAPGIS_FIELD_DATE: {
        const DATE_STRUstruct d = reader_.ReadDateAttribute(r, j);
        // An all-zero or impossible date has no OGR value.
        if (d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31) {
          f->SetField(a.ogr, d.year, d.month, d.day);
        } else {
          f->SetFieldNull(a.ogr);
        }
        break;
      }
      case MAPGIS_FIELD_TIME: {
        const TIME_STRUstruct t = reader_.ReadTimeAttribute(r, j);
        if (t.hour < 24 && t.minute < 60 && std::isfinite(t.second) && t.second >= 0.0 && t.second < 61.0) {
          f->SetField(a.ogr, 0, 0, 0, t.hour, t.minute, static_cast<float>(t.second), 0);
        } else {
          f->SetFieldNull(a.ogr);
        }
        break;
      }
      case MAPGIS_FIELD_TIMESTAMP: {
        const TIMESTAMPstruct t = reader_.ReadTimeStampAttribute(r, j);
        if (t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 && t.hour < 24 &&
            t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 61) {
          // The fraction is printed with eight digits: hundred-millionths of a second.
          const double fraction = t.fraction < 100000000u ? t.fraction * 1e-8 : 0.0;
          f->SetField(a.ogr, t.year, t.month, t.day, t.hour, t.minute, static_cast<float>(t.second + fraction), 0);
        } else {
          f->SetFieldNull(a.ogr);
        }
        break;
      }
      default: {
        const void* raw = reader_.ReadAttribute(r, j, a.type);
        if (raw && a.width > 0) {
          f->SetField(a.ogr, a.width, static_cast<const GByte*>(raw));
        } else {
          f->SetFieldNull(a.ogr);
        }
        break;
      }
    }
  }
}

void MapGisLayer::FillStyle(OGRFeature* f, int r) {
  const int s = styleStart_;
  switch (role_) {
    case LayerRole::Points: {
      if (point_.kind == 0 || point_.kind == 5) {
        char text[2600];
        std::memset(text, 0, sizeof text);
        if (reader_.GetNoteInfo(r, text) == MAPGIS_OK) {
          text[sizeof text - 1] = '\0';
          f->SetField(s, AnsiToUtf8(text).c_str());
        }
      }
      f->SetField(s + 1, static_cast<int>(point_.kind));
      f->SetField(s + 2, Unsigned(point_.color));
      f->SetField(s + 3, Unsigned(point_.layer));
      f->SetField(s + 4, static_cast<int>(point_.transparent));
      break;
    }
    case LayerRole::Lines:
    case LayerRole::NetworkArcs:
    case LayerRole::PolygonArcs: {
      f->SetField(s, Unsigned(line_.lineType));
      f->SetField(s + 1, Unsigned(line_.color));
      f->SetField(s + 2, static_cast<double>(line_.width));
      f->SetField(s + 3, static_cast<int>(line_.lineClass));
      f->SetField(s + 4, static_cast<double>(line_.xScale));
      f->SetField(s + 5, static_cast<double>(line_.yScale));
      f->SetField(s + 6, static_cast<int>(line_.auxType));
      f->SetField(s + 7, Unsigned(line_.auxColor));
      f->SetField(s + 8, Unsigned(line_.layer));
      f->SetField(s + 9, static_cast<int>(line_.transparent));
      if (role_ == LayerRole::PolygonArcs && haveTopology_) {
        // Written exactly as stored: an outer arc has 0 on its open side.
        f->SetField(s + 10, static_cast<int>(topology_.leftPolygon));
        f->SetField(s + 11, static_cast<int>(topology_.rightPolygon));
      }
      break;
    }
    case LayerRole::Polygons:
      f->SetField(s, Unsigned(region_.fillColor));
      f->SetField(s + 1, Unsigned(region_.pattern));
      f->SetField(s + 2, static_cast<double>(region_.patternHeight));
      f->SetField(s + 3, static_cast<double>(region_.patternWidth));
      f->SetField(s + 4, Unsigned(region_.patternColor));
      f->SetField(s + 5, Unsigned(region_.layer));
      f->SetField(s + 6, static_cast<int>(region_.transparent));
      break;
    case LayerRole::NetworkNodes:
      if (point_.kind == 1) {
        MAPGIS_SubParam sub;  // copied out of the packed record
        std::memcpy(&sub, &point_.param.sub, sizeof sub);
        f->SetField(s, Unsigned(sub.subNumber));
        f->SetField(s + 1, static_cast<double>(sub.height));
        f->SetField(s + 2, static_cast<double>(sub.width));
        f->SetField(s + 3, static_cast<double>(sub.angle));
        f->SetField(s + 4, Unsigned(point_.color));
        f->SetField(s + 5, Unsigned(point_.layer));
        f->SetField(s + 6, static_cast<int>(point_.transparent));
      }
      break;
    case LayerRole::Table: break;
  }
}

}  // namespace ogrmapgis
