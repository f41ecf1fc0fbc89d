#pragma once
// The read-everything walk of the OGR driver over one file, as a GDAL
// program would use it: opened with the MAPGIS driver only, then every layer's
// count, every feature in sequence and again by its id, ids that name no
// feature, both extents, the spatial reference as WKT and a spatially
// filtered pass. The fuzz target runs it on every input and the driver's
// crasher test on every kept crasher. Besides what the sanitizers see, the
// walk checks the promises a layer makes to its callers and names each one
// broken.
#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace fuzzing {

struct OgrWalkResult {
  int layers = -1;                  // -1 when the file does not open
  std::vector<std::string> faults;  // promises the driver broke
};

namespace ogrwalk {

struct DatasetCloser {
  void operator()(GDALDataset* ds) const { GDALClose(ds); }
};
using FeaturePtr = std::unique_ptr<OGRFeature>;

// The geometry of a feature as WKB, into a buffer kept between calls.
inline void GeometryBytes(const OGRFeature* f, std::vector<unsigned char>* out) {
  out->clear();
  if (const OGRGeometry* g = f->GetGeometryRef()) {
    out->resize(g->WkbSize());
    g->exportToWkb(wkbNDR, out->data());
  }
}

// Whether two reads of one record gave the same feature, value by value and
// bit for bit (OGRFeature::Equal calls a NaN unequal to itself).
inline bool SameValues(OGRFeature* a, OGRFeature* b) {
  if (a->GetFieldCount() != b->GetFieldCount()) return false;
  for (int i = 0; i < a->GetFieldCount(); ++i) {
    if (a->IsFieldSetAndNotNull(i) != b->IsFieldSetAndNotNull(i)) return false;
    if (!a->IsFieldSetAndNotNull(i)) continue;
    const OGRField* x = a->GetRawFieldRef(i);
    const OGRField* y = b->GetRawFieldRef(i);
    switch (a->GetFieldDefnRef(i)->GetType()) {
      case OFTInteger: if (x->Integer != y->Integer) return false; break;
      case OFTInteger64: if (x->Integer64 != y->Integer64) return false; break;
      case OFTReal: if (std::memcmp(&x->Real, &y->Real, sizeof x->Real) != 0) return false; break;
      case OFTString: if (std::strcmp(x->String, y->String) != 0) return false; break;
      case OFTBinary:
        if (x->Binary.nCount != y->Binary.nCount ||
            std::memcmp(x->Binary.paData, y->Binary.paData, static_cast<size_t>(x->Binary.nCount)) != 0) {
          return false;
        }
        break;
      case OFTDate:
      case OFTTime:
      case OFTDateTime:
        if (std::memcmp(&x->Date, &y->Date, sizeof x->Date) != 0) return false;
        break;
      default: if (std::strcmp(a->GetFieldAsString(i), b->GetFieldAsString(i)) != 0) return false; break;
    }
  }
  return true;
}

inline bool FiniteEnvelope(const OGREnvelope& e) {
  return std::isfinite(e.MinX) && std::isfinite(e.MinY) && std::isfinite(e.MaxX) && std::isfinite(e.MaxY);
}

// Layers read once more through a spatial filter: small ones only, since the
// filtered pass reads every record through the same code as the full pass.
constexpr GIntBig kFilteredLimit = 64;

class LayerWalk {
 public:
  LayerWalk(OGRLayer* layer, OgrWalkResult* result) : layer_(layer), result_(result) {}

  void Run() {
    name_ = layer_->GetName();
    if (!CPLIsUTF8(name_.c_str(), -1)) Fault("the layer name is not UTF-8");
    OGRFeatureDefn* defn = layer_->GetLayerDefn();
    for (int i = 0; i < defn->GetFieldCount(); ++i) {
      if (!CPLIsUTF8(defn->GetFieldDefn(i)->GetNameRef(), -1)) Fault("a field name is not UTF-8");
    }
    layer_->TestCapability(OLCFastFeatureCount);
    layer_->TestCapability(OLCFastGetExtent);
    count_ = layer_->GetFeatureCount(FALSE);
    if (count_ < 0) Fault("negative feature count");

    ReadInSequence();
    for (GIntBig fid : {GIntBig{0}, GIntBig{-1}, GIntBig{INT32_MAX} + 2, std::numeric_limits<GIntBig>::max()}) {
      FeaturePtr f(layer_->GetFeature(fid));
      if (f) Fault("id " + std::to_string(fid) + " gives a feature");
    }

    OGREnvelope quick, forced;
    const bool haveQuick = layer_->GetExtent(&quick, FALSE) == OGRERR_NONE;
    const bool haveForced = layer_->GetExtent(&forced, TRUE) == OGRERR_NONE;
    if (haveQuick) CheckEnvelope(quick, "quick extent");
    if (haveForced) CheckEnvelope(forced, "forced extent");

    if (const OGRSpatialReference* srs = layer_->GetSpatialRef()) {
      // WKT2, as GDAL's tools print it: a WKT1 export of a reference PROJ
      // has not met before spends most of an execution in name searches.
      const char* const options[] = {"FORMAT=WKT2_2019", nullptr};
      char* wkt = nullptr;
      srs->exportToWkt(&wkt, options);
      CPLFree(wkt);
    }
    if (haveForced && FiniteEnvelope(forced) && count_ <= kFilteredLimit) ReadFiltered(forced);
  }

 private:
  void Fault(const std::string& what) { result_->faults.push_back("layer " + name_ + ": " + what); }

  void CheckEnvelope(const OGREnvelope& e, const char* what) {
    if (FiniteEnvelope(e) && (e.MinX > e.MaxX || e.MinY > e.MaxY)) Fault(std::string(what) + " is inverted");
  }

  // Every feature in sequence, each one read again by its id right away.
  void ReadInSequence() {
    layer_->ResetReading();
    for (FeaturePtr f(layer_->GetNextFeature()); f; f.reset(layer_->GetNextFeature())) {
      const GIntBig fid = f->GetFID();
      if (!fids_.empty() && fid <= fids_.back()) Fault("ids in sequence are not increasing at " + std::to_string(fid));
      fids_.push_back(fid);
      if (static_cast<GIntBig>(fids_.size()) > count_) {
        Fault("more features in sequence than the count " + std::to_string(count_));
        return;
      }
      for (int i = 0; i < f->GetFieldCount(); ++i) {
        if (f->GetFieldDefnRef(i)->GetType() == OFTString && f->IsFieldSetAndNotNull(i) &&
            !CPLIsUTF8(f->GetFieldAsString(i), -1)) {
          Fault("a string value of feature " + std::to_string(fid) + " is not UTF-8");
        }
      }
      FeaturePtr again(layer_->GetFeature(fid));
      if (!again) {
        Fault("feature " + std::to_string(fid) + " read in sequence is missing by id");
        continue;
      }
      GeometryBytes(f.get(), &seen_);
      GeometryBytes(again.get(), &again_);
      if (seen_ != again_ || !SameValues(f.get(), again.get())) {
        Fault("feature " + std::to_string(fid) + " reads differently by id");
      }
    }
  }

  // The lower left quarter of the extent: only features of the full pass.
  void ReadFiltered(const OGREnvelope& e) {
    layer_->SetSpatialFilterRect(e.MinX, e.MinY, e.MinX + (e.MaxX - e.MinX) / 2, e.MinY + (e.MaxY - e.MinY) / 2);
    layer_->ResetReading();
    for (FeaturePtr f(layer_->GetNextFeature()); f; f.reset(layer_->GetNextFeature())) {
      if (!std::binary_search(fids_.begin(), fids_.end(), f->GetFID())) {
        Fault("the filtered pass gives feature " + std::to_string(f->GetFID()) + " the full pass did not");
        break;
      }
    }
    layer_->SetSpatialFilter(nullptr);
  }

  OGRLayer* layer_;
  OgrWalkResult* result_;
  std::string name_;
  GIntBig count_ = 0;
  std::vector<GIntBig> fids_;
  std::vector<unsigned char> seen_, again_;
};

}  // namespace ogrwalk

// Opens `path` with the MAPGIS driver only and reads all of it.
inline OgrWalkResult WalkOgrDataset(const std::string& path) {
  OgrWalkResult result;
  const char* const drivers[] = {"MAPGIS", nullptr};
  std::unique_ptr<GDALDataset, ogrwalk::DatasetCloser> ds(GDALDataset::FromHandle(
      GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, nullptr, nullptr)));
  if (!ds) return result;
  result.layers = ds->GetLayerCount();
  if (ds->GetLayer(-1) || ds->GetLayer(result.layers)) result.faults.push_back("a layer beyond the count");
  for (int i = 0; i < result.layers; ++i) {
    OGRLayer* layer = ds->GetLayer(i);
    if (!layer) {
      result.faults.push_back("layer " + std::to_string(i) + " is missing");
      continue;
    }
    for (int j = 0; j < i; ++j) {
      if (EQUAL(ds->GetLayer(j)->GetName(), layer->GetName())) {
        result.faults.push_back(std::string("two layers named ") + layer->GetName());
      }
    }
    ogrwalk::LayerWalk(layer, &result).Run();
  }
  return result;
}

}  // namespace fuzzing
