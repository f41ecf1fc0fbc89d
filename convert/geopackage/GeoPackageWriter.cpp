#include "GeoPackageWriter.h"

#include <ogr_feature.h>
#include <ogr_spatialref.h>

#include <climits>
#include <cmath>
#include <cstdio>

#include "GeoPackageFiles.h"
#include "GeoPackageGeometry.h"
#include "MapGisCodePage.h"

namespace {

// Rows kept in memory before they are written into the file (roughly).
constexpr size_t kMemoryLimit = 64u << 20;

OGRFieldType FieldType(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Integer: return OFTInteger;
    case ColumnKind::Unsigned: return OFTInteger64;
    case ColumnKind::Double: return OFTReal;
    case ColumnKind::Date: return OFTDate;
    case ColumnKind::DateTime: return OFTDateTime;
    default: return OFTString;  // texts, and times as "HH:MM:SS"
  }
}

bool CalendarDay(int month, int day) { return month >= 1 && month <= 12 && day >= 1 && day <= 31; }

// The fields of a comma-separated text line; quoted fields may hold
// separators and doubled quotes.
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::unique_ptr<SideTable> ParseCsv(const std::string& text) {
  auto table = std::make_unique<SideTable>();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (table->columns.empty()) {
      table->columns = CsvFields(line);
    } else {
      table->rows.push_back(CsvFields(line));
    }
    start = end + 1;
  }
  return table;
}

size_t GeometryBytes(const MapGis::Geometry* g) { return g ? static_cast<size_t>(g->nVertices > 0 ? g->nVertices : 0) * 16 : 0; }

}  // namespace

GeoPackageWriter::GeoPackageWriter(ResultStaging& staging, const std::wstring& finalBase) {
  std::string file, name;
  SplitLayerPath(MapGis::WideToUtf8(finalBase), &file, &name);
  finalBase_ = MapGis::Utf8ToWide(file + "/" + name);
  // This library made the staging's GeoPackage layers: they are GeoPackageTargets.
  target_ = &static_cast<GeoPackageTarget&>(staging.GeoPackage(file));
  layer_ = std::make_shared<PendingLayer>(name);
  target_->Add(layer_);
}

GeoPackageWriter::~GeoPackageWriter() {
  // A result that was never closed whole is not kept.
  if (!closed_) Discard();
}

void GeoPackageWriter::Fail(const std::wstring& reason) {
  if (failed_) return;
  failed_ = true;
  failure_ = WriteFailure{finalBase_, reason};
}

bool GeoPackageWriter::CreateTable(std::wstring*) { return true; }

bool GeoPackageWriter::CreateShapes(ShapeKind kind, std::wstring*) {
  shapes_ = kind;
  hasShapes_ = true;
  layer_->defn->SetGeomType(static_cast<OGRwkbGeometryType>(GeoPackageGeometryType(kind)));
  return true;
}

int GeoPackageWriter::AddColumn(const std::string& name, ColumnKind kind, int, int, StoredColumn* stored) {
  OGRFeatureDefn& defn = *layer_->defn;
  if (rows_ > 0) return -1;
  std::string unique = name;
  for (int n = 1; defn.GetFieldIndex(unique.c_str()) >= 0; ++n) unique = name + std::to_string(n);
  OGRFieldDefn field(unique.c_str(), FieldType(kind));
  defn.AddFieldDefn(&field);
  if (stored) *stored = StoredColumn{unique, unique != name, false};
  return defn.GetFieldCount() - 1;
}

void GeoPackageWriter::FinishRow() {
  if (!current_) return;
  layer_->bytes += 64 + 32 * static_cast<size_t>(layer_->defn->GetFieldCount());
  layer_->features.push_back(std::move(current_));
  WriteFailure failure;
  if (layer_->bytes > kMemoryLimit && !failed_ && !target_->Flush(*layer_, &failure)) Fail(failure.reason);
}

OGRFeature* GeoPackageWriter::Row(int row, int column) {
  if (column < 0 || column >= layer_->defn->GetFieldCount()) return nullptr;
  if (current_ && row == currentRow_) return current_.get();
  if (hasShapes_ || row != rows_ || closed_) return nullptr;
  FinishRow();
  current_.reset(new OGRFeature(layer_->defn));
  currentRow_ = rows_++;
  return current_.get();
}

bool GeoPackageWriter::WriteShape(const MapGis::Geometry* g) {
  if (!hasShapes_ || closed_) return false;
  FinishRow();
  OgrFeaturePtr feature(new OGRFeature(layer_->defn));
  if (g) {
    std::unique_ptr<OGRGeometry> geometry = ToGeoPackageGeometry(*g, shapes_);
    if (geometry) feature->SetGeometryDirectly(geometry.release());
  }
  layer_->bytes += GeometryBytes(g);
  current_ = std::move(feature);
  currentRow_ = rows_++;
  return !failed_;
}

bool GeoPackageWriter::WriteString(int row, int column, const std::string& value) {
  OGRFeature* f = Row(row, column);
  if (!f) return false;
  f->SetField(column, value.c_str());
  layer_->bytes += value.size();
  return true;
}

bool GeoPackageWriter::WriteStoredText(int row, int column, const std::string& gbk) {
  return WriteString(row, column, MapGis::AnsiToUtf8(gbk));
}

bool GeoPackageWriter::WriteInteger(int row, int column, int value) {
  OGRFeature* f = Row(row, column);
  if (!f) return false;
  f->SetField(column, value);
  return true;
}

bool GeoPackageWriter::WriteUnsigned(int row, int column, uint32_t value) {
  OGRFeature* f = Row(row, column);
  // A 32-bit integer column holds values up to INT_MAX.
  if (!f || (f->GetFieldDefnRef(column)->GetType() == OFTInteger && value > static_cast<uint32_t>(INT_MAX))) {
    return false;
  }
  f->SetField(column, static_cast<GIntBig>(value));
  return true;
}

bool GeoPackageWriter::WriteDouble(int row, int column, double value) {
  OGRFeature* f = Row(row, column);
  if (!f) return false;
  f->SetField(column, value);
  return true;
}

bool GeoPackageWriter::WriteDate(int row, int column, const MapGis::DATE_STRUstruct& value) {
  OGRFeature* f = Row(row, column);
  if (!f) return false;
  if (CalendarDay(value.month, value.day)) {
    f->SetField(column, value.year, value.month, value.day);
  } else {
    f->SetFieldNull(column);
  }
  return true;
}

bool GeoPackageWriter::WriteTime(int row, int column, const MapGis::TIME_STRUstruct& value) {
  char text[64];
  const bool usable = std::isfinite(value.second) && value.second >= 0.0 && value.second < 1.0e6;
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", usable ? value.hour : 0, usable ? value.minute : 0,
                usable ? static_cast<int>(value.second) : 0);
  return WriteString(row, column, text);
}

bool GeoPackageWriter::WriteTimeStamp(int row, int column, const MapGis::TIMESTAMPstruct& value) {
  OGRFeature* f = Row(row, column);
  if (!f) return false;
  const bool valid = CalendarDay(value.month, value.day) && value.hour >= 0 && value.hour < 24 && value.minute >= 0 &&
                     value.minute < 60 && value.second >= 0 && value.second < 61;
  if (valid) {
    // The fraction counts billionths of a second.
    const double fraction = value.fraction < 1000000000u ? value.fraction / 1.0e9 : 0.0;
    f->SetField(column, value.year, value.month, value.day, value.hour, value.minute,
                static_cast<float>(value.second + fraction), 0);
  } else {
    f->SetFieldNull(column);
  }
  return true;
}

bool GeoPackageWriter::WriteNull(int row, int column) {
  OGRFeature* f = Row(row, column);
  if (!f) return false;
  f->SetFieldNull(column);
  return true;
}

void GeoPackageWriter::SetSpatialReferenceCode(int epsg) {
  auto srs = std::make_unique<OGRSpatialReference>();
  QuietGdalErrors quiet;
  if (srs->importFromEPSG(epsg) != OGRERR_NONE) return;  // the .prj text stays
  srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  layer_->srs = std::move(srs);
}

bool GeoPackageWriter::WriteSideFile(const std::wstring& extension, const std::string& bytes) {
  if (extension == L".prj") {
    // The layer's spatial reference from the .prj text (ESRI well-known
    // text); an empty text declares none. A system known by its EPSG code
    // is set again by SetSpatialReferenceCode.
    if (bytes.empty()) return true;
    auto srs = std::make_unique<OGRSpatialReference>();
    char* lines[] = {const_cast<char*>(bytes.c_str()), nullptr};
    QuietGdalErrors quiet;
    if (srs->importFromESRI(lines) != OGRERR_NONE) {
      Fail(quiet.Reason());
      return false;
    }
    srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    layer_->srs = std::move(srs);
  } else if (extension == L".qml") {
    layer_->qml = bytes;
  } else if (extension == L".sld") {
    layer_->sld = bytes;
  } else if (extension == L".CSV") {
    layer_->table = ParseCsv(bytes);
  } else if (extension == L".avl") {
    // The ArcView legend (code page 936) as the layer's metadata.
    layer_->metadata["ARCVIEW_LEGEND"] = MapGis::AnsiToUtf8(bytes);
  } else {
    layer_->metadata["FILE" + MapGis::WideToUtf8(extension)] = bytes;
  }
  return true;
}

bool GeoPackageWriter::Close() {
  FinishRow();
  closed_ = true;
  return !failed_;
}

const WriteFailure* GeoPackageWriter::Failure() { return failed_ ? &failure_ : nullptr; }

void GeoPackageWriter::Discard() {
  current_.reset();
  closed_ = true;
  layer_->dropped = true;
  layer_->features.clear();
  layer_->bytes = 0;
}
