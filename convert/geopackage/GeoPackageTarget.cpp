#include "GeoPackageTarget.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "GeoPackageFiles.h"
#include "MapGisCodePage.h"
#include "ResultStaging.h"

namespace fs = std::filesystem;

namespace {

constexpr char kLogUnit[] = "GeoPackage";
constexpr char kStyleTable[] = "layer_styles";
constexpr char kPageCacheMegabytes[] = "128";

std::wstring Wide(const std::string& utf8) { return MapGis::Utf8ToWide(utf8); }

bool SameName(const char* a, const std::string& b) { return EQUAL(a, b.c_str()); }

// `base`, or base + "_1", "_2"... when a column of `defn` has that name:
// the identifier and geometry columns never take a MapGIS field's name.
std::string FreeColumnName(OGRFeatureDefn& defn, const std::string& base) {
  std::string name = base;
  for (int n = 1;; ++n) {
    bool taken = false;
    for (int i = 0; i < defn.GetFieldCount() && !taken; ++i) taken = SameName(defn.GetFieldDefn(i)->GetNameRef(), name);
    if (!taken) return name;
    name = base + "_" + std::to_string(n);
  }
}

// Whether every value of column `c` is a whole number.
bool WholeNumbers(const SideTable& table, size_t c) {
  for (const std::vector<std::string>& row : table.rows) {
    if (c >= row.size() || row[c].empty()) return false;
    char* end = nullptr;
    errno = 0;
    std::strtoll(row[c].c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE) return false;
  }
  return true;
}

// A literal of an attribute filter.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

void OgrFeatureDeleter::operator()(OGRFeature* f) const { OGRFeature::DestroyFeature(f); }

PendingLayer::PendingLayer(std::string layerName) : name(std::move(layerName)), defn(new OGRFeatureDefn(name.c_str())) {
  defn->Reference();
  defn->SetGeomType(wkbNone);
}

PendingLayer::~PendingLayer() {
  features.clear();
  defn->Release();
}

GeoPackageTarget::GeoPackageTarget(ResultStaging& staging, std::string file, bool replace)
    : staging_(staging), file_(std::move(file)), replace_(replace) {}

GeoPackageTarget::~GeoPackageTarget() { Discard(); }

bool GeoPackageTarget::Fail(const std::string& part, WriteFailure* failure) {
  if (failure) failure->file = Wide(part);
  return false;
}

bool GeoPackageTarget::Open(WriteFailure* failure) {
  if (dataset_) return true;
  lock_ = std::unique_lock<std::mutex>(GeoPackageLock(file_));
  QuietGdalErrors quiet;
  // A page cache that holds a large layer while its spatial index is built
  // (SQLite's default of 2 MB reads the table back from the file).
  const std::string cacheBefore = CPLGetThreadLocalConfigOption("OGR_SQLITE_CACHE", "");
  CPLSetThreadLocalConfigOption("OGR_SQLITE_CACHE", kPageCacheMegabytes);
  struct Restore {
    const std::string& before;
    ~Restore() { CPLSetThreadLocalConfigOption("OGR_SQLITE_CACHE", before.empty() ? nullptr : before.c_str()); }
  } restore{cacheBefore};
  std::error_code ec;
  if (fs::exists(fs::u8path(file_), ec)) {
    dataset_ = OpenGeoPackage(file_, true);
  } else {
    int error = 0;
    const size_t slash = file_.find_last_of('/');
    const std::string hidden = staging_.HiddenFolder(slash == std::string::npos ? "." : file_.substr(0, slash), &error);
    if (hidden.empty()) {
      lock_.unlock();
      if (failure) failure->reason = Wide(std::strerror(error));
      return Fail(file_, failure);
    }
    newFile_ = hidden + "/" + (slash == std::string::npos ? file_ : file_.substr(slash + 1));
    GDALDriver* driver = GeoPackageDriver();
    dataset_ = driver ? driver->Create(newFile_.c_str(), 0, 0, 0, GDT_Unknown, nullptr) : nullptr;
  }
  if (dataset_ && dataset_->StartTransaction(FALSE) == OGRERR_NONE) return true;
  if (failure) failure->reason = quiet.Reason();
  Discard();
  return Fail(file_, failure);
}

OGRLayer* GeoPackageTarget::CreateLayer(PendingLayer& layer) {
  const auto found = created_.find(&layer);
  if (found != created_.end()) return found->second;
  if (replace_ && !RemoveOld(layer.name, nullptr)) return nullptr;
  OGRFeatureDefn& defn = *layer.defn;
  const std::string fid = "FID=" + FreeColumnName(defn, "fid");
  const std::string geometry = "GEOMETRY_NAME=" + FreeColumnName(defn, "geom");
  const char* options[] = {fid.c_str(), geometry.c_str(), nullptr};
  OGRLayer* created =
      dataset_->CreateLayer(layer.name.c_str(), layer.srs.get(), defn.GetGeomType(), const_cast<char**>(options));
  if (!created) return nullptr;
  for (int i = 0; i < defn.GetFieldCount(); ++i) {
    if (created->CreateField(defn.GetFieldDefn(i), FALSE) != OGRERR_NONE) return nullptr;
  }
  // Rows are handed over with the layer's own definition (Flush): it must
  // hold the same columns in the same order.
  OGRFeatureDefn* written = created->GetLayerDefn();
  if (written->GetFieldCount() != defn.GetFieldCount() || written->GetGeomFieldCount() != defn.GetGeomFieldCount()) {
    CPLError(CE_Failure, CPLE_AppDefined, "the columns of layer %s differ from those declared", layer.name.c_str());
    return nullptr;
  }
  for (int i = 0; i < defn.GetFieldCount(); ++i) {
    if (written->GetFieldDefn(i)->GetType() != defn.GetFieldDefn(i)->GetType()) {
      CPLError(CE_Failure, CPLE_AppDefined, "column %s of layer %s has another type", defn.GetFieldDefn(i)->GetNameRef(),
               layer.name.c_str());
      return nullptr;
    }
  }
  created_[&layer] = created;
  return created;
}

bool GeoPackageTarget::Flush(PendingLayer& layer, WriteFailure* failure) {
  if (!Open(failure)) return false;
  QuietGdalErrors quiet;
  OGRLayer* out = CreateLayer(layer);
  bool ok = out != nullptr;
  for (size_t i = 0; ok && i < layer.features.size(); ++i) {
    OGRFeature* row = layer.features[i].get();
    // Same columns as the layer's (CreateLayer checked), so the row's
    // values stand as they are.
    row->SetFDefnUnsafe(out->GetLayerDefn());
    ok = out->CreateFeature(row) == OGRERR_NONE;
  }
  layer.features.clear();
  layer.bytes = 0;
  if (ok) return true;
  if (failure) failure->reason = quiet.Reason();
  return Fail(file_ + "/" + layer.name, failure);
}

bool GeoPackageTarget::WriteSideTable(PendingLayer& layer) {
  const SideTable& table = *layer.table;
  const std::string name = layer.name + kSideTableSuffix;
  if (replace_ && !RemoveOld(name, nullptr)) return false;
  OGRFeatureDefn columns;
  for (size_t c = 0; c < table.columns.size(); ++c) {
    OGRFieldDefn field(table.columns[c].c_str(), WholeNumbers(table, c) ? OFTInteger64 : OFTString);
    columns.AddFieldDefn(&field);
  }
  const std::string fid = "FID=" + FreeColumnName(columns, "fid");
  const char* options[] = {fid.c_str(), nullptr};
  OGRLayer* out = dataset_->CreateLayer(name.c_str(), nullptr, wkbNone, const_cast<char**>(options));
  if (!out) return false;
  for (int i = 0; i < columns.GetFieldCount(); ++i) {
    if (out->CreateField(columns.GetFieldDefn(i), FALSE) != OGRERR_NONE) return false;
  }
  for (const std::vector<std::string>& row : table.rows) {
    OGRFeature feature(out->GetLayerDefn());
    for (size_t c = 0; c < row.size() && c < table.columns.size(); ++c) feature.SetField(static_cast<int>(c), row[c].c_str());
    if (out->CreateFeature(&feature) != OGRERR_NONE) return false;
  }
  return out->SyncToDisk() == OGRERR_NONE;
}

bool GeoPackageTarget::WriteStyle(PendingLayer& layer) {
  OGRLayer* styles = dataset_->GetLayerByName(kStyleTable);
  if (!styles) {
    // The table and columns QGIS reads a layer's default style from.
    const char* options[] = {"FID=id", nullptr};
    styles = dataset_->CreateLayer(kStyleTable, nullptr, wkbNone, const_cast<char**>(options));
    if (!styles) return false;
    struct Column {
      const char* name;
      OGRFieldType type;
      int width;
    };
    const Column columns[] = {{"f_table_catalog", OFTString, 256}, {"f_table_schema", OFTString, 256},
                              {"f_table_name", OFTString, 256},    {"f_geometry_column", OFTString, 256},
                              {"styleName", OFTString, 30},        {"styleQML", OFTString, 0},
                              {"styleSLD", OFTString, 0},          {"useAsDefault", OFTInteger, 0},
                              {"description", OFTString, 0},       {"owner", OFTString, 30},
                              {"ui", OFTString, 30},               {"update_time", OFTDateTime, 0}};
    for (const Column& c : columns) {
      OGRFieldDefn field(c.name, c.type);
      field.SetWidth(c.width);
      if (c.type == OFTInteger) field.SetSubType(OFSTBoolean);
      if (c.type == OFTDateTime) field.SetDefault("CURRENT_TIMESTAMP");
      if (styles->CreateField(&field, FALSE) != OGRERR_NONE) return false;
    }
  }
  if (!RemoveOldStyles(layer.name, nullptr)) return false;
  OGRFeature row(styles->GetLayerDefn());
  OGRLayer* written = created_[&layer];
  auto set = [&](const char* column, const std::string& value) {
    const int i = row.GetFieldIndex(column);
    if (i >= 0) row.SetField(i, value.c_str());
  };
  for (const char* empty : {"f_table_catalog", "f_table_schema", "description", "owner"}) set(empty, "");
  set("f_table_name", layer.name);
  set("f_geometry_column", written && written->GetLayerDefn()->GetGeomFieldCount() > 0 ? written->GetGeometryColumn() : "");
  set("styleName", layer.name);
  if (!layer.qml.empty()) set("styleQML", layer.qml);
  if (!layer.sld.empty()) set("styleSLD", layer.sld);
  const int useAsDefault = row.GetFieldIndex("useAsDefault");
  if (useAsDefault >= 0) row.SetField(useAsDefault, 1);
  return styles->CreateFeature(&row) == OGRERR_NONE && styles->SyncToDisk() == OGRERR_NONE;
}

bool GeoPackageTarget::RemoveOld(const std::string& name, ConversionLog* log) {
  for (int i = 0; i < dataset_->GetLayerCount(); ++i) {
    OGRLayer* old = dataset_->GetLayer(i);
    if (!SameName(old->GetName(), name)) continue;
    for (const auto& c : created_) {
      if (c.second == old) return true;  // written by this entry
    }
    if (dataset_->DeleteLayer(i) != OGRERR_NONE) return false;
    if (log) CONVERT_LOG(*log, L"------I__删除原结果文件[%ls]", Wide(file_ + "/" + name).c_str());
    return true;
  }
  return true;
}

bool GeoPackageTarget::DeleteCreated(const PendingLayer& layer) {
  const auto found = created_.find(&layer);
  if (found == created_.end()) return true;
  OGRLayer* written = found->second;
  created_.erase(found);
  for (int i = 0; i < dataset_->GetLayerCount(); ++i) {
    if (dataset_->GetLayer(i) == written) return dataset_->DeleteLayer(i) == OGRERR_NONE;
  }
  return true;
}

bool GeoPackageTarget::RemoveOldStyles(const std::string& layer, ConversionLog* log) {
  OGRLayer* styles = dataset_->GetLayerByName(kStyleTable);
  if (!styles || styles->GetLayerDefn()->GetFieldIndex("f_table_name") < 0) return true;
  styles->SetAttributeFilter(("lower(f_table_name) = lower(" + Quoted(layer) + ")").c_str());
  std::vector<GIntBig> rows;
  styles->ResetReading();
  for (OGRFeature* f; (f = styles->GetNextFeature()) != nullptr;) {
    rows.push_back(f->GetFID());
    OGRFeature::DestroyFeature(f);
  }
  styles->SetAttributeFilter(nullptr);
  for (GIntBig fid : rows) {
    if (styles->DeleteFeature(fid) != OGRERR_NONE) return false;
  }
  if (log && !rows.empty()) {
    CONVERT_LOG(*log, L"------I__删除原结果文件[%ls]", Wide(file_ + "/" + kStyleTable + "/" + layer).c_str());
  }
  return true;
}

bool GeoPackageTarget::Commit(ConversionLog& log, WriteFailure* failure) {
  bool anyKept = false;
  for (const auto& layer : layers_) anyKept = anyKept || !layer->dropped;
  std::error_code ec;
  // Nothing to write, nor an old result to remove: the file is not touched.
  if (!dataset_ && !anyKept && !(replace_ && fs::exists(fs::u8path(file_), ec))) {
    layers_.clear();
    return true;
  }
  if (!Open(failure)) return false;
  QuietGdalErrors quiet;
  for (const auto& layer : layers_) {
    const std::string part = file_ + "/" + layer->name;
    bool ok = true;
    if (layer->dropped) {
      // A dropped result of this entry leaves nothing; an overwritten one
      // takes the old result with it.
      ok = DeleteCreated(*layer) && (!replace_ || (RemoveOld(layer->name, &log) && RemoveOldStyles(layer->name, &log) &&
                         (!layer->table || RemoveOld(layer->name + kSideTableSuffix, &log))));
    } else {
      if (!Flush(*layer, failure)) {
        Discard();
        return false;
      }
      OGRLayer* out = created_[layer.get()];
      if (layer->table) ok = WriteSideTable(*layer);
      if (ok) ok = layer->qml.empty() && layer->sld.empty() ? RemoveOldStyles(layer->name, &log) : WriteStyle(*layer);
      for (const auto& item : layer->metadata) {
        if (ok) ok = out->SetMetadataItem(item.first.c_str(), item.second.c_str()) == CE_None;
      }
      // Builds the spatial index and records the extent and the row count.
      if (ok) ok = out->SyncToDisk() == OGRERR_NONE;
    }
    if (!ok) {
      if (failure) failure->reason = quiet.Reason();
      Discard();
      return Fail(part, failure);
    }
  }
  dataset_->FlushCache(false);
  if (dataset_->CommitTransaction() != OGRERR_NONE) {
    if (failure) failure->reason = quiet.Reason();
    Discard();
    return Fail(file_, failure);
  }
  Close();
  if (!newFile_.empty() && std::rename(newFile_.c_str(), file_.c_str()) != 0) {
    if (failure) failure->reason = Wide(std::strerror(errno));
    Discard();
    return Fail(file_, failure);
  }
  newFile_.clear();
  layers_.clear();
  if (lock_.owns_lock()) lock_.unlock();
  return true;
}

void GeoPackageTarget::Close() {
  if (!dataset_) return;
  QuietGdalErrors quiet;
  GDALClose(dataset_);
  dataset_ = nullptr;
  created_.clear();
}

void GeoPackageTarget::Discard() {
  if (dataset_) {
    QuietGdalErrors quiet;
    // Deferred work (spatial indexes, counts, metadata) is done inside the
    // transaction, so that nothing of the rolled-back layers is written at close.
    for (const auto& c : created_) c.second->SyncToDisk();
    dataset_->FlushCache(false);
    dataset_->RollbackTransaction();
    Close();
  }
  if (!newFile_.empty()) {
    std::remove(newFile_.c_str());
    std::remove((newFile_ + "-journal").c_str());
    newFile_.clear();
  }
  layers_.clear();
  if (lock_.owns_lock()) lock_.unlock();
}
