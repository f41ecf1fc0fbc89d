// Files written by MapGis_Writer read back through the readers with the same
// records, geometry, texts and attribute values.
//
// Each Write*Sample function writes one file of a kind and returns what was
// written; each Expect*Sample template checks a reader opened on that file,
// so the same samples serve every reader with this interface.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "MapGisFastReader.h"
#include "MapGisMemReader.h"
#include "MapGisReader.h"
#include "MapGisWriter.h"
#include "TempDir.h"

using namespace MapGis;
using testing_support::TempDir;

namespace writer_samples {

using GeometryPtr = std::unique_ptr<Geometry, void (*)(Geometry*)>;
using Ring = std::vector<Point2D>;

// A Geometry of the given parts, arrays allocated as DestroyGeometry frees them.
GeometryPtr MakeGeometry(int shapeType, const std::vector<Ring>& parts, const std::vector<int>& types = {}) {
  GeometryPtr g(CreateGeometry(), DestroyGeometry);
  int32_t n = 0;
  for (const Ring& r : parts) n += static_cast<int32_t>(r.size());
  g->nSHPType = shapeType;
  g->nParts = static_cast<int32_t>(parts.size());
  g->nVertices = n;
  g->panPartStart = static_cast<int32_t*>(std::calloc(parts.size() + 1, sizeof(int32_t)));
  g->panPartType = static_cast<int32_t*>(std::calloc(parts.size() + 1, sizeof(int32_t)));
  g->padfX = static_cast<double*>(std::calloc(static_cast<size_t>(n) + 1, sizeof(double)));
  g->padfY = static_cast<double*>(std::calloc(static_cast<size_t>(n) + 1, sizeof(double)));
  int32_t at = 0;
  for (size_t p = 0; p < parts.size(); ++p) {
    g->panPartStart[p] = at;
    g->panPartType[p] = p < types.size() ? types[p] : (p == 0 ? 5 : 3);
    for (const Point2D& v : parts[p]) {
      g->padfX[at] = v.x;
      g->padfY[at] = v.y;
      ++at;
    }
  }
  return g;
}

// Members of packed records are copied out before gtest binds them to
// references.
template <class T>
T Val(T v) {
  return v;
}

// The vertices of part p of a geometry read back.
Ring PartOf(const Geometry* g, int p) {
  const int32_t s = g->panPartStart[p];
  const int32_t e = p + 1 < g->nParts ? g->panPartStart[p + 1] : g->nVertices;
  Ring r;
  for (int32_t i = s; i < e; ++i) r.push_back({g->padfX[i], g->padfY[i]});
  return r;
}

void ExpectSameRing(const Ring& got, const Ring& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].x, want[i].x) << "vertex " << i;
    EXPECT_EQ(got[i].y, want[i].y) << "vertex " << i;
  }
}

// Attribute values of every type, three records; type 10 is raw bytes and
// the timestamp is written as raw bytes too.
struct AttributeRow {
  std::string name;  // string field (GBK)
  unsigned char byteValue;
  short shortValue;
  long longValue;
  float floatValue;
  double doubleValue;
  DATE_STRUstruct date;
  TIME_STRUstruct time;
  bool flag;
  std::string text;  // text field
  TIMESTAMPstruct stamp;
  uint8_t blob[6];
};

struct FieldSpec {
  const wchar_t* name;
  int type, width, display, decimals;
};

const std::vector<FieldSpec>& AllTypeFields() {
  static const std::vector<FieldSpec> f = {
      {L"名称", MAPGIS_FIELD_STRING, 12, 12, 0}, {L"BYTEV", MAPGIS_FIELD_BYTE, 1, 3, 0},
      {L"SHORTV", MAPGIS_FIELD_SHORT, 2, 6, 0},  {L"LONGV", MAPGIS_FIELD_LONG, 4, 11, 0},
      {L"FLOATV", MAPGIS_FIELD_FLOAT, 4, 10, 3}, {L"DOUBLEV", MAPGIS_FIELD_DOUBLE, 8, 15, 4},
      {L"DATEV", MAPGIS_FIELD_DATE, 4, 10, 0},   {L"TIMEV", MAPGIS_FIELD_TIME, 10, 12, 0},
      {L"BOOLV", MAPGIS_FIELD_BOOL, 1, 1, 0},    {L"TEXTV", MAPGIS_FIELD_TEXT, 24, 24, 0},
      {L"STAMPV", MAPGIS_FIELD_TIMESTAMP, 16, 20, 0}, {L"BLOBV", 10, 6, 6, 0},
  };
  return f;
}

std::vector<AttributeRow> AllTypeRows() {
  return {
      {"\xB5\xD8\xC3\xFB", 200, -12345, -2000000000L, 3.5f, -1234.5678, {2024, 2, 29}, {13, 45, 30.25}, true,
       "note text", {2024, 2, 29, 13, 45, 30, 123}, {1, 2, 3, 0x84, 5, 6}},
      {"ab", 0, 32767, INT32_MAX, -0.125f, 1e-300, {1999, 12, 31}, {0, 0, 0.0}, false, "", {1, 1, 1, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0}},
      {"twelve chars", 1, -1, -1L, 0.0f, 0.0, {1, 1, 1}, {23, 59, 59.999}, true, "x", {9999, 12, 31, 23, 59, 59, 7},
       {0xFF, 0xFF, 0xFF, 0x7F, 0, 9}},
  };
}

void AddAllTypeFields(MapGis_Writer& w) {
  long n = 0;
  for (const FieldSpec& f : AllTypeFields()) {
    ASSERT_EQ(w.AddFieldInfo(f.name, f.type, f.width, f.display, f.decimals), ++n);
  }
}

void WriteAllTypeRows(MapGis_Writer& w, const std::vector<AttributeRow>& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    const int r = static_cast<int>(i);
    const AttributeRow& v = rows[i];
    ASSERT_TRUE(w.WriteStringAttribute(r, 0, v.name.c_str()));
    ASSERT_TRUE(w.WriteByteAttribute(r, 1, v.byteValue));
    ASSERT_TRUE(w.WriteShortAttribute(r, 2, v.shortValue));
    ASSERT_TRUE(w.WriteLongAttribute(r, 3, v.longValue));
    ASSERT_TRUE(w.WriteFloatAttribute(r, 4, v.floatValue));
    ASSERT_TRUE(w.WriteDoubleAttribute(r, 5, v.doubleValue));
    ASSERT_TRUE(w.WriteDateAttribute(r, 6, &v.date));
    ASSERT_TRUE(w.WriteTimeAttribute(r, 7, &v.time));
    ASSERT_TRUE(w.WriteBoolAttribute(r, 8, v.flag));
    ASSERT_TRUE(w.WriteTextAttribute(r, 9, v.text.c_str()));
    ASSERT_TRUE(w.WriteBinareyAttribute(r, 10, &v.stamp));
    ASSERT_TRUE(w.WriteBinareyAttribute(r, 11, v.blob));
  }
}

// Checks the fields and rows of AllTypeFields/AllTypeRows through `r`,
// whose current attribute kind is the table written.
template <class Reader>
void ExpectAllTypes(Reader& r, const std::vector<AttributeRow>& rows) {
  const auto& fields = AllTypeFields();
  ASSERT_EQ(r.GetFieldCount(), static_cast<long>(fields.size()));
  ASSERT_EQ(r.GetRecordCount(), static_cast<long>(rows.size()));
  for (size_t i = 0; i < fields.size(); ++i) {
    wchar_t name[32] = {0};
    int width = -1, display = -1, decimals = -1;
    EXPECT_EQ(r.GetFieldInfo(static_cast<int>(i), name, &width, &display, &decimals), fields[i].type);
    EXPECT_EQ(std::wstring(name), fields[i].name);
    EXPECT_EQ(width, fields[i].width);
    EXPECT_EQ(display, fields[i].display);
    EXPECT_EQ(decimals, fields[i].decimals);
  }
  EXPECT_EQ(r.GetFieldIndex(L"doublev"), 5);
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i));
    const int k = static_cast<int>(i);
    const AttributeRow& v = rows[i];
    EXPECT_STREQ(r.ReadStringAttribute(k, 0), v.name.c_str());
    EXPECT_EQ(r.ReadByteAttribute(k, 1), v.byteValue);
    EXPECT_EQ(r.ReadShortAttribute(k, 2), v.shortValue);
    EXPECT_EQ(r.ReadLongAttribute(k, 3), v.longValue);
    EXPECT_EQ(r.ReadFloatAttribute(k, 4), v.floatValue);
    EXPECT_EQ(r.ReadDoubleAttribute(k, 5), v.doubleValue);
    const DATE_STRUstruct d = r.ReadDateAttribute(k, 6);
    EXPECT_EQ(std::memcmp(&d, &v.date, sizeof d), 0);
    const TIME_STRUstruct t = r.ReadTimeAttribute(k, 7);
    EXPECT_EQ(t.hour, v.time.hour);
    EXPECT_EQ(t.minute, v.time.minute);
    EXPECT_EQ(Val(t.second), Val(v.time.second));
    EXPECT_EQ(r.ReadBoolAttribute(k, 8), v.flag);
    EXPECT_STREQ(r.ReadTextAttribute(k, 9), v.text.c_str());
    const TIMESTAMPstruct ts = r.ReadTimeStampAttribute(k, 10);
    EXPECT_EQ(std::memcmp(&ts, &v.stamp, sizeof ts), 0);
    int32_t first4;
    std::memcpy(&first4, v.blob, 4);
    EXPECT_EQ(reinterpret_cast<intptr_t>(r.ReadBinareyAttribute(k, 11)), static_cast<intptr_t>(first4));
    const void* raw = r.ReadAttribute(k, 11, 10);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(std::memcmp(raw, v.blob, sizeof v.blob), 0);
  }
  EXPECT_EQ(r.ReadAttribute(static_cast<int>(rows.size()), 0, 0), nullptr);
}

// A small table for the layer files: a name and a code per record.
void AddNameCodeFields(MapGis_Writer& w) {
  ASSERT_EQ(w.AddFieldInfo(L"NAME", MAPGIS_FIELD_STRING, 10, 10, 0), 1);
  ASSERT_EQ(w.AddFieldInfo(L"CODE", MAPGIS_FIELD_LONG, 4, 8, 0), 2);
}

void WriteNameCode(MapGis_Writer& w, int record) {
  ASSERT_TRUE(w.WriteStringAttribute(record, 0, ("n" + std::to_string(record)).c_str()));
  ASSERT_TRUE(w.WriteLongAttribute(record, 1, -100 - record));
}

template <class Reader>
void ExpectNameCodes(Reader& r, int records) {
  ASSERT_EQ(r.GetFieldCount(), 2);
  ASSERT_EQ(r.GetRecordCount(), records);
  for (int k = 0; k < records; ++k) {
    EXPECT_STREQ(r.ReadStringAttribute(k, 0), ("n" + std::to_string(k)).c_str());
    EXPECT_EQ(r.ReadLongAttribute(k, 1), -100 - k);
  }
}

// Points: annotations with texts and sub-pictures without.
struct PointSample {
  std::vector<MAPGIS_PntInfo> records;
  std::vector<std::string> texts;
};

PointSample WritePointSample(const std::wstring& path) {
  PointSample s;
  const std::string texts[] = {"Hill 305", "", "\xB5\xD8\xC3\xFB", std::string(300, 'w')};
  MapGis_Writer w;
  EXPECT_EQ(w.Create(path.c_str(), MAPGIS_TYPE_POINT), MAPGIS_OK);
  AddNameCodeFields(w);
  for (int i = 0; i < 4; ++i) {
    MAPGIS_PntInfo p{};
    p.status = 1;
    p.x = 500000.0 + 10.5 * i;
    p.y = 3800000.0 - 7.25 * i;
    p.color = 3 + i;
    p.layer = static_cast<int16_t>(i);
    p.param.note.height = 2.5f + i;
    p.param.note.angle = 45.0f;
    p.param.note.chFont = 7;
    GeometryPtr g = MakeGeometry(1, {{{p.x, p.y}}});
    EXPECT_EQ(w.AddPointInfo(p, g.get(), texts[i].c_str()), MAPGIS_OK);
    WriteNameCode(w, i);
    p.kind = texts[i].empty() ? 1 : 0;
    s.records.push_back(p);
    s.texts.push_back(texts[i]);
  }
  EXPECT_EQ(w.Flush(), MAPGIS_OK);
  return s;
}

// Counts are asked differently by each reader: the callers check them.
template <class Reader>
void ExpectPointSample(Reader& r, const PointSample& s) {
  const int n = static_cast<int>(s.records.size());
  for (int i = 0; i < n; ++i) {
    const MAPGIS_PntInfo& want = s.records[static_cast<size_t>(i)];
    MAPGIS_PntInfo got;
    GeometryPtr g(CreateGeometry(), DestroyGeometry);
    ASSERT_EQ(r.ReadPointInfo(i, &got, g.get()), MAPGIS_OK);
    EXPECT_EQ(g->nVertices, 1);
    EXPECT_EQ(g->padfX[0], Val(want.x));
    EXPECT_EQ(g->padfY[0], Val(want.y));
    EXPECT_EQ(Val(got.kind), Val(want.kind));
    EXPECT_EQ(Val(got.color), Val(want.color));
    EXPECT_EQ(Val(got.layer), Val(want.layer));
    EXPECT_EQ(Val(got.param.note.height), Val(want.param.note.height));
    EXPECT_EQ(Val(got.param.note.chFont), Val(want.param.note.chFont));
    const std::string& text = s.texts[static_cast<size_t>(i)];
    EXPECT_EQ(Val(got.textLength), static_cast<int16_t>(text.size()));
    char read[260] = "untouched";
    EXPECT_EQ(r.GetNoteInfo(i, read), MAPGIS_OK);
    EXPECT_EQ(std::string(read), text.empty() ? "untouched" : text.substr(0, 259));
  }
  double x0, y0, x1, y1;
  r.GetExtentInfo(&x0, &y0, &x1, &y1);
  EXPECT_EQ(x0, Val(s.records.front().x));
  EXPECT_EQ(x1, Val(s.records.back().x));
  EXPECT_EQ(y0, Val(s.records.back().y));
  EXPECT_EQ(y1, Val(s.records.front().y));
  ExpectNameCodes(r, n);
}

// Lines of different lengths.
struct LineSample {
  std::vector<Ring> lines;
  std::vector<int32_t> colors;
};

LineSample WriteLineSample(const std::wstring& path) {
  LineSample s;
  s.lines = {{{0, 0}, {10, 0}, {10, 5}}, {{-3.5, 2}, {4, 4}}, {{1, 1}, {2, 2}, {3, 1}, {4, 2}, {5, 1.5}}};
  MapGis_Writer w;
  EXPECT_EQ(w.Create(path.c_str(), MAPGIS_TYPE_LINE), MAPGIS_OK);
  AddNameCodeFields(w);
  for (size_t i = 0; i < s.lines.size(); ++i) {
    MAPGIS_LineInfo info{};
    info.status = 1;
    info.lineType = 2;
    info.color = 10 + static_cast<int32_t>(i);
    info.width = 0.5f;
    GeometryPtr g = MakeGeometry(3, {s.lines[i]});
    EXPECT_EQ(w.AddArcInfo(info, g.get(), 0), MAPGIS_OK);
    WriteNameCode(w, static_cast<int>(i));
    s.colors.push_back(Val(info.color));
  }
  EXPECT_EQ(w.Flush(), MAPGIS_OK);
  return s;
}

template <class Reader>
void ExpectLineSample(Reader& r, const LineSample& s) {
  const int n = static_cast<int>(s.lines.size());
  for (int i = 0; i < n; ++i) {
    MAPGIS_LineInfo info;
    GeometryPtr g(CreateGeometry(), DestroyGeometry);
    ASSERT_EQ(r.ReadArcInfo(i, &info, g.get()), MAPGIS_OK);
    EXPECT_EQ(Val(info.color), s.colors[static_cast<size_t>(i)]);
    EXPECT_EQ(Val(info.lineType), 2);
    EXPECT_EQ(Val(info.width), 0.5f);
    ASSERT_EQ(g->nParts, 1);
    ExpectSameRing(PartOf(g.get(), 0), s.lines[static_cast<size_t>(i)]);
  }
  ExpectNameCodes(r, n);
}

// Polygons: one with a hole, one simple.
struct PolygonSample {
  std::vector<std::vector<Ring>> polygons;
  std::vector<int32_t> fills;
};

PolygonSample WritePolygonSample(const std::wstring& path) {
  PolygonSample s;
  s.polygons = {
      {{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}, {{2, 2}, {4, 2}, {4, 4}, {2, 2}}},
      {{{20, 20}, {20, 25}, {26, 25}, {20, 20}}},
  };
  MapGis_Writer w;
  EXPECT_EQ(w.Create(path.c_str(), MAPGIS_TYPE_POLYGON), MAPGIS_OK);
  AddNameCodeFields(w);
  for (size_t i = 0; i < s.polygons.size(); ++i) {
    MAPGIS_RegInfo info{};
    info.status = 1;
    info.fillColor = 40 + static_cast<int32_t>(i);
    info.pattern = 3;
    GeometryPtr g = MakeGeometry(5, s.polygons[i]);
    EXPECT_EQ(w.AddPolygonInfo(info, g.get()), MAPGIS_OK);
    WriteNameCode(w, static_cast<int>(i));
    s.fills.push_back(Val(info.fillColor));
  }
  EXPECT_EQ(w.Flush(), MAPGIS_OK);
  return s;
}

int ArcCount(const PolygonSample& s) {
  int arcs = 0;
  for (const auto& p : s.polygons) arcs += static_cast<int>(p.size());
  return arcs;
}

template <class Reader>
void ExpectPolygonSample(Reader& r, const PolygonSample& s) {
  const int n = static_cast<int>(s.polygons.size());
  for (int i = 0; i < n; ++i) {
    const auto& rings = s.polygons[static_cast<size_t>(i)];
    MAPGIS_RegInfo info;
    GeometryPtr g(CreateGeometry(), DestroyGeometry);
    ASSERT_EQ(r.ReadPolygonInfo(i, &info, g.get()), MAPGIS_OK);
    EXPECT_EQ(Val(info.fillColor), s.fills[static_cast<size_t>(i)]);
    EXPECT_EQ(Val(info.pattern), 3);
    ASSERT_EQ(g->nParts, static_cast<int32_t>(rings.size()));
    for (size_t p = 0; p < rings.size(); ++p) ExpectSameRing(PartOf(g.get(), static_cast<int>(p)), rings[p]);
  }
  ExpectNameCodes(r, n);
}

std::vector<AttributeRow> WriteTableSample(const std::wstring& path) {
  const std::vector<AttributeRow> rows = AllTypeRows();
  MapGis_Writer w;
  EXPECT_EQ(w.Create(path.c_str(), MAPGIS_TYPE_TABLE), MAPGIS_OK);
  AddAllTypeFields(w);
  WriteAllTypeRows(w, rows);
  EXPECT_EQ(w.Flush(), MAPGIS_OK);
  return rows;
}

}  // namespace writer_samples

using namespace writer_samples;

TEST(WriterRoundTrip, PointsWithAndWithoutTextReadBack) {
  TempDir dir;
  const std::wstring path = testing_support::Wide(dir.File("points.WT"));
  const PointSample s = WritePointSample(path);
  MapGis_FastReader r;
  ASSERT_EQ(r.Open(path.c_str()), MAPGIS_OK);
  ASSERT_EQ(r.GetShapeType(), MAPGIS_TYPE_POINT);
  int slots = -1;
  EXPECT_EQ(r.GetPointCount(&slots), 4);
  EXPECT_EQ(slots, 4);
  ExpectPointSample(r, s);
}

TEST(WriterRoundTrip, LinesReadBackWithTheirVertices) {
  TempDir dir;
  const std::wstring path = testing_support::Wide(dir.File("lines.WL"));
  const LineSample s = WriteLineSample(path);
  MapGis_FastReader r;
  ASSERT_EQ(r.Open(path.c_str()), MAPGIS_OK);
  ASSERT_EQ(r.GetShapeType(), MAPGIS_TYPE_LINE);
  int slots = -1;
  EXPECT_EQ(r.GetArcCount(&slots), 3);
  EXPECT_EQ(slots, 3);
  ExpectLineSample(r, s);
}

TEST(WriterRoundTrip, PolygonsWithHolesReadBackRingByRing) {
  TempDir dir;
  const std::wstring path = testing_support::Wide(dir.File("polygons.WP"));
  const PolygonSample s = WritePolygonSample(path);
  MapGis_FastReader r;
  ASSERT_EQ(r.Open(path.c_str()), MAPGIS_OK);
  ASSERT_EQ(r.GetShapeType(), MAPGIS_TYPE_POLYGON);
  int slots = -1;
  EXPECT_EQ(r.GetPolygonCount(&slots), 2);
  EXPECT_EQ(slots, 2);
  const int arcs = ArcCount(s);
  EXPECT_EQ(r.GetArcCount(&slots), arcs);
  EXPECT_EQ(slots, arcs);
  // One topology record per line slot, slot 0 included.
  for (int i = 0; i <= arcs; ++i) EXPECT_EQ(r.GetTopoInfo(i, nullptr), MAPGIS_OK) << "topology " << i;
  ExpectPolygonSample(r, s);
}

TEST(WriterRoundTrip, TableFileKeepsValuesOfEveryType) {
  TempDir dir;
  const std::wstring path = testing_support::Wide(dir.File("table.WB"));
  const std::vector<AttributeRow> rows = WriteTableSample(path);
  MapGis_FastReader r;
  ASSERT_EQ(r.Open(path.c_str()), MAPGIS_OK);
  EXPECT_EQ(r.GetShapeType(), MAPGIS_TYPE_TABLE);
  ExpectAllTypes(r, rows);
}

TEST(WriterRoundTrip, PolygonWithASecondOuterRingKeepsTheFirstOnly) {
  TempDir dir;
  const std::wstring path = testing_support::Wide(dir.File("outer.WP"));
  const Ring first = {{0, 0}, {0, 1}, {1, 1}, {0, 0}};
  const Ring second = {{5, 5}, {5, 6}, {6, 6}, {5, 5}};
  {
    MapGis_Writer w;
    ASSERT_EQ(w.Create(path.c_str(), MAPGIS_TYPE_POLYGON), MAPGIS_OK);
    GeometryPtr g = MakeGeometry(5, {first, second}, {5, 2});
    MAPGIS_RegInfo info{};
    info.status = 1;
    EXPECT_EQ(w.AddPolygonInfo(info, g.get()), MAPGIS_MULTI_PART);
    ASSERT_EQ(w.Flush(), MAPGIS_OK);
  }
  MapGis_FastReader r;
  ASSERT_EQ(r.Open(path.c_str()), MAPGIS_OK);
  GeometryPtr g(CreateGeometry(), DestroyGeometry);
  ASSERT_EQ(r.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_OK);
  ASSERT_EQ(g->nParts, 1);
  ExpectSameRing(PartOf(g.get(), 0), first);
}

// The memory reader and the legacy reader read what the writer wrote too.
template <class Reader>
void ExpectEverySampleThrough() {
  TempDir dir;
  const std::wstring points = testing_support::Wide(dir.File("points.WT"));
  const std::wstring lines = testing_support::Wide(dir.File("lines.WL"));
  const std::wstring polygons = testing_support::Wide(dir.File("polygons.WP"));
  const std::wstring table = testing_support::Wide(dir.File("table.WB"));
  const PointSample p = WritePointSample(points);
  const LineSample l = WriteLineSample(lines);
  const PolygonSample g = WritePolygonSample(polygons);
  const std::vector<AttributeRow> rows = WriteTableSample(table);
  Reader r;
  ASSERT_EQ(r.Open(points.c_str()), MAPGIS_OK);
  ExpectPointSample(r, p);
  ASSERT_EQ(r.Open(lines.c_str()), MAPGIS_OK);
  ExpectLineSample(r, l);
  ASSERT_EQ(r.Open(polygons.c_str()), MAPGIS_OK);
  ExpectPolygonSample(r, g);
  ASSERT_EQ(r.Open(table.c_str()), MAPGIS_OK);
  ExpectAllTypes(r, rows);
}

TEST(WriterRoundTrip, MemoryReaderReadsEveryKind) { ExpectEverySampleThrough<MapGis::MapGis_MemReader>(); }

TEST(WriterRoundTrip, LegacyReaderReadsEveryKind) { ExpectEverySampleThrough<MapGis::MapGis_Reader>(); }
