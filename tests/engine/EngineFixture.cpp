#include "EngineFixture.h"

#include <gdal.h>
#include <ogrsf_frmts.h>

#include "MapGisCodePage.h"

void EngineTest::SetUp() { options.OutPath = testing_support::Wide(dir.Path()); }

long EngineTest::Convert(Converter converter, const std::wstring& source, const std::wstring& base) {
  const ColorModel colors(&colours, options.ColorModel);
  ConversionLog log(&host, options.LogLevel);
  const ConverterInputs in{options, colors, log, nullptr, &host};
  return converter(in, source, base);
}

int EngineTest::LoadColours() {
  ConversionLog log(&host, options.LogLevel);
  return LoadColourLibrary(options, colours, &host, log);
}

BatchSummary EngineTest::RunBatch(const std::wstring& outputDir, bool labelsOnly, int jobs, ConvertHost* other) {
  ConversionOptions run = options;
  run.OutPath = outputDir;
  ConvertHost* shown = other ? other : &host;
  BatchRunner batch(run, files, colours, shown, shown);
  batch.SetJobs(jobs);
  return labelsOnly ? batch.ConvertAllLabels() : batch.ConvertAllFiles();
}

OutputNaming EngineTest::Naming() {
  return OutputNaming(options, policy, &host, [](const std::wstring& path) {
    return FileExists(std::filesystem::u8path(MapGis::WideToUtf8(path)));
  });
}

std::vector<std::string> EngineTest::Log() const {
  std::vector<std::string> out;
  for (const std::wstring& l : host.lines) {
    out.push_back(MapGis::WideToUtf8(l.size() > 0 && l[0] == L'>' ? l.substr(1) : l));
  }
  return out;
}

bool EngineTest::Logged(const std::string& line) const {
  for (const std::string& l : Log()) {
    if (l == line) return true;
  }
  return false;
}

std::vector<std::string> EngineTest::LogStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& l : Log()) {
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l);
  }
  return out;
}

bool FileExists(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::exists(p, ec);
}

OgrLayer ReadWithOgr(const std::string& shpPath) {
  static const bool registered = [] {
    GDALAllRegister();
    return true;
  }();
  (void)registered;
  OgrLayer result;
  GDALDataset* ds = static_cast<GDALDataset*>(GDALOpenEx(shpPath.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
  if (!ds) return result;
  OGRLayer* layer = ds->GetLayer(0);
  if (!layer) {
    GDALClose(ds);
    return result;
  }
  result.opened = true;
  result.geometryType = OGRGeometryTypeToName(layer->GetGeomType());
  OGRFeatureDefn* defn = layer->GetLayerDefn();
  for (int i = 0; i < defn->GetFieldCount(); ++i) {
    OGRFieldDefn* f = defn->GetFieldDefn(i);
    result.fieldNames.push_back(f->GetNameRef());
    result.fieldTypes[f->GetNameRef()] = {OGRFieldDefn::GetFieldTypeName(f->GetType()), f->GetWidth()};
  }
  layer->ResetReading();
  while (OGRFeature* feature = layer->GetNextFeature()) {
    OgrFeature row;
    for (int i = 0; i < defn->GetFieldCount(); ++i) {
      const std::string name = defn->GetFieldDefn(i)->GetNameRef();
      const bool null = !feature->IsFieldSetAndNotNull(i);
      row.isNull[name] = null;
      row.values[name] = null ? "" : feature->GetFieldAsString(i);
    }
    if (OGRGeometry* g = feature->GetGeometryRef()) {
      char* wkt = nullptr;
      g->exportToWkt(&wkt);
      row.wkt = wkt ? wkt : "";
      CPLFree(wkt);
      row.valid = g->IsValid();
      if (wkbFlatten(g->getGeometryType()) == wkbPolygon) {
        OGRPolygon* poly = g->toPolygon();
        for (int r = 0; r < poly->getNumInteriorRings() + 1; ++r) {
          OGRLinearRing* ring = r == 0 ? poly->getExteriorRing() : poly->getInteriorRing(r - 1);
          row.ringClockwise.push_back(ring->isClockwise());
          row.ringClosed.push_back(ring->get_IsClosed());
        }
      }
    }
    result.features.push_back(row);
    OGRFeature::DestroyFeature(feature);
  }
  GDALClose(ds);
  return result;
}
