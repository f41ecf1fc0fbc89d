#include "OgrSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "ColorModel.h"
#include "Converters.h"
#include "MapGis.h"
#include "TempDir.h"

namespace ogrtest {

void LoadDriver() {
  static std::once_flag once;
  std::call_once(once, [] {
    setenv("GDAL_DRIVER_PATH", GRIDMOOR_OGR_PLUGIN_DIR, 1);
    GDALAllRegister();
  });
}

Dataset OpenVector(const std::filesystem::path& path, const char* driver) {
  LoadDriver();
  const char* drivers[] = {driver, nullptr};
  return Dataset(static_cast<GDALDataset*>(GDALOpenEx(path.u8string().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                                      driver ? drivers : nullptr, nullptr, nullptr)));
}

namespace {

// Whether the layer file has a spatial reference (coordType not 0).
bool HasProjection(const std::filesystem::path& source) {
  MapGis::MapGis_FastReader reader;
  if (reader.Open(testing_support::Wide(source).c_str()) < 0) return false;
  MapGis::MAP_PARAstruct para{};
  reader.GetProjectionInfo(&para);
  return para.coordType != 0;
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// Fields before the first style field are the MapGIS attributes.
int AttributeCount(OGRFeatureDefn* defn) {
  for (int i = 0; i < defn->GetFieldCount(); ++i) {
    if (StartsWith(defn->GetFieldDefn(i)->GetNameRef(), "VKT_")) return i;
  }
  return defn->GetFieldCount();
}

// A date, time or timestamp value as the converter formats it.
std::string ConverterText(OGRFeature* f, int i, OGRFieldType type) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, tz = 0;
  float s = 0;
  if (f->IsFieldSetAndNotNull(i)) f->GetFieldAsDateTime(i, &y, &mo, &d, &h, &mi, &s, &tz);
  char text[96];
  if (type == OFTDate) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, mo, d);
  } else if (type == OFTTime) {
    std::snprintf(text, sizeof text, "%02d:%02d:%04.2f", h, mi, static_cast<double>(s));
  } else {
    const int whole = static_cast<int>(s);
    std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d:%02d:%02d.%08d", y, mo, d, h, mi, whole,
                  static_cast<int>(std::lround((s - whole) * 1e8)));
  }
  return text;
}

void CompareValue(OGRFeature* ref, int ri, OGRFeature* act, int ai, const std::string& where) {
  OGRFieldDefn* rd = ref->GetFieldDefnRef(ri);
  OGRFieldDefn* ad = act->GetFieldDefnRef(ai);
  const OGRFieldType at = ad->GetType();
  if (at == OFTDate || at == OFTTime || at == OFTDateTime) {
    // The shapefile holds the converter's text; ogr2ogr may have kept the date type.
    if (rd->GetType() == OFTString) {
      const std::string expected = ref->GetFieldAsString(ri);
      const std::string got = ConverterText(act, ai, at);
      if (at == OFTTime || at == OFTDateTime) {
        // Seconds are printed with two decimals by the converter: compare the text up to them.
        EXPECT_EQ(expected.substr(0, 8), got.substr(0, 8)) << where;
      } else {
        EXPECT_EQ(expected, got) << where;
      }
    }
    return;
  }
  const bool refNumeric = rd->GetType() == OFTInteger || rd->GetType() == OFTInteger64 || rd->GetType() == OFTReal;
  if (refNumeric && !ref->IsFieldSetAndNotNull(ri) && (at == OFTBinary || at == OFTString)) {
    // A kind the converter cannot write: a NULL column there, the stored bytes here.
    return;
  }
  if (rd->GetType() == OFTString || at == OFTString) {
    const std::string expected = ref->GetFieldAsString(ri);
    const std::string got = act->GetFieldAsString(ai);
    if (got.empty() && !act->IsFieldSetAndNotNull(ai) &&
        (expected == "0000-00-00" || expected == "00:00:00.00" || expected.rfind("0000-00-00_", 0) == 0)) {
      // An all-zero date is no date: null in the driver (a string column once in GeoJSON).
      return;
    }
    int h1 = 0, m1 = 0, h2 = 0, m2 = 0, end1 = 0, end2 = 0;
    double s1 = 0, s2 = 0;
    if (std::sscanf(expected.c_str(), "%d:%d:%lf%n", &h1, &m1, &s1, &end1) == 3 &&
        std::sscanf(got.c_str(), "%d:%d:%lf%n", &h2, &m2, &s2, &end2) == 3 &&
        end1 == static_cast<int>(expected.size()) && end2 == static_cast<int>(got.size())) {
      // A time kept as text by the target format (GeoPackage has no time type).
      EXPECT_EQ(h1 * 60 + m1, h2 * 60 + m2) << where;
      EXPECT_NEAR(s1, s2, 0.006) << where;
      return;
    }
    if (got.size() > 254) {
      // The converter keeps a shortened text with "..."; the driver the whole one.
      EXPECT_EQ(expected.substr(expected.size() - 3), "...") << where;
    } else {
      EXPECT_EQ(expected, got) << where;
    }
    return;
  }
  // Numbers: the shapefile keeps the column's decimals.
  const double expected = ref->GetFieldAsDouble(ri);
  const double got = act->GetFieldAsDouble(ai);
  const int places = rd->GetType() == OFTReal ? rd->GetPrecision() : 0;
  const double tolerance = (rd->GetType() == OFTReal ? 0.5 * std::pow(10.0, -places) : 0.0) + 1e-9 * std::fabs(got);
  EXPECT_NEAR(expected, got, tolerance) << where;
  EXPECT_EQ(ref->IsFieldSetAndNotNull(ri), act->IsFieldSetAndNotNull(ai)) << where << " (null)";
}

}  // namespace

std::filesystem::path ConvertWithEngine(const std::filesystem::path& source, Reference kind,
                                        const std::filesystem::path& folder, long* result) {
  ConversionOptions options;
  options.OutPath = testing_support::Wide(folder);
  options.ExportProjection = HasProjection(source) ? 1 : 0;
  options.SymbolType = 2;
  options.CodePage = 0;
  options.ExportEmptyFile = 1;
  const MapGis::MapGis_ColorLib library;
  const ColorModel colors(&library, options.ColorModel);
  ConversionLog log(nullptr, options.LogLevel);
  const ConverterInputs in{options, colors, log, nullptr, nullptr};
  static int serial = 0;
  const std::filesystem::path base = folder / ("reference" + std::to_string(++serial));
  const std::wstring src = testing_support::Wide(source);
  const std::wstring out = testing_support::Wide(base);
  switch (kind) {
    case Reference::Points: *result = ConvertPoints(in, src, out); break;
    case Reference::Lines: *result = ConvertLines(in, src, out); break;
    case Reference::Polygons: *result = ConvertPolygons(in, src, out); break;
    case Reference::PolygonArcs: *result = ConvertPolygonArcs(in, src, out); break;
    case Reference::NetworkArcs: *result = ConvertNetworkArcs(in, src, out); break;
    case Reference::NetworkNodes: *result = ConvertNetworkNodes(in, src, out); break;
    case Reference::Table: *result = ConvertTable(in, src, out); break;
  }
  std::filesystem::path written = base;
  written += kind == Reference::Table ? ".dbf" : ".shp";
  return std::filesystem::exists(written) ? written : std::filesystem::path();
}

std::vector<OGRPoint> Vertices(const OGRGeometry* g) {
  std::vector<OGRPoint> out;
  if (!g) return out;
  switch (wkbFlatten(g->getGeometryType())) {
    case wkbPoint: out.push_back(*g->toPoint()); break;
    case wkbLineString:
    case wkbLinearRing:
      for (const OGRPoint& p : *g->toSimpleCurve()) out.push_back(p);
      break;
    case wkbPolygon:
      for (const OGRLinearRing* ring : *g->toPolygon()) {
        for (const OGRPoint& p : *ring) out.push_back(p);
      }
      break;
    default:
      if (OGR_GT_IsSubClassOf(g->getGeometryType(), wkbGeometryCollection)) {
        for (const OGRGeometry* part : *g->toGeometryCollection()) {
          const auto v = Vertices(part);
          out.insert(out.end(), v.begin(), v.end());
        }
      }
      break;
  }
  return out;
}

void CompareWithReference(OGRLayer* reference, OGRLayer* actual, double tolerance, const std::string& what) {
  ASSERT_NE(reference, nullptr) << what;
  ASSERT_NE(actual, nullptr) << what;
  EXPECT_EQ(reference->GetFeatureCount(TRUE), actual->GetFeatureCount(TRUE)) << what;

  OGRFeatureDefn* rdefn = reference->GetLayerDefn();
  OGRFeatureDefn* adefn = actual->GetLayerDefn();
  const int attributes = AttributeCount(rdefn);
  ASSERT_EQ(attributes, AttributeCount(adefn)) << what << ": attribute columns";

  reference->ResetReading();
  actual->ResetReading();
  int n = 0;
  for (;;) {
    std::unique_ptr<OGRFeature> r(reference->GetNextFeature());
    std::unique_ptr<OGRFeature> a(actual->GetNextFeature());
    if (!r || !a) {
      EXPECT_EQ(r == nullptr, a == nullptr) << what << ": one side ends at feature " << n;
      break;
    }
    const std::string where = what + " feature " + std::to_string(n);
    ++n;

    const auto rv = Vertices(r->GetGeometryRef());
    const auto av = Vertices(a->GetGeometryRef());
    if (rv.size() == av.size()) {
      for (size_t i = 0; i < rv.size(); ++i) {
        ASSERT_NEAR(rv[i].getX(), av[i].getX(), tolerance) << where << " vertex " << i;
        ASSERT_NEAR(rv[i].getY(), av[i].getY(), tolerance) << where << " vertex " << i;
      }
    } else {
      ADD_FAILURE() << where << ": " << rv.size() << " vertices in the reference, " << av.size() << " read";
    }

    for (int i = 0; i < attributes; ++i) {
      CompareValue(r.get(), i, a.get(), i, where + " field " + adefn->GetFieldDefn(i)->GetNameRef());
    }
    for (int i = attributes; i < adefn->GetFieldCount(); ++i) {
      const char* name = adefn->GetFieldDefn(i)->GetNameRef();
      const int ri = rdefn->GetFieldIndex(name);
      if (ri < 0) continue;  // VKT_TEXT: the converter writes label mark-up instead
      CompareValue(r.get(), ri, a.get(), i, where + " field " + name);
    }
  }
}

}  // namespace ogrtest
