#pragma once
// Read-everything walks over one file, one per library parser. The fuzz
// targets run them on every generated input and the crasher regression
// tests run them on every kept crasher, so a fix is checked through the very
// calls that found the fault. Each walk touches every element of every
// array a call hands back, so that the sanitizers see an array shorter than
// its count; the number of records walked is bounded to keep executions fast.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MapGis.h"

namespace fuzzing {

// Records (and tics, legend items) read from the start of each table; the
// last slots are read as well.
constexpr int kRecordLimit = 24;
// Attribute records read field by field, the first of them through every
// typed read.
constexpr int kValueRecordLimit = 4;
constexpr int kTypedRecordLimit = 1;
constexpr int kFieldLimit = 64;

struct GeometryHolder {
  MapGis::Geometry* g = MapGis::CreateGeometry();
  ~GeometryHolder() { MapGis::DestroyGeometry(g); }
};

inline void Sink(double v) {
  volatile double s = v;
  (void)s;
}

// Touches every vertex and part a filled geometry claims to have.
inline void TouchGeometry(const MapGis::Geometry* g) {
  if (!g) return;
  double sum = 0;
  for (int32_t k = 0; k < g->nVertices; ++k) {
    sum += g->padfX[k] + g->padfY[k];
    if (g->padfZ) sum += g->padfZ[k];
    if (g->padfM) sum += g->padfM[k];
  }
  for (int32_t p = 0; p < g->nParts; ++p) sum += g->panPartStart[p] + g->panPartType[p];
  Sink(sum);
}

inline void TouchText(const char* s) {
  if (s) Sink(static_cast<double>(std::strlen(s)));
}

// Indexes worth reading in a table of `slots` readable entries.
inline std::vector<int> Indexes(int slots) {
  std::vector<int> out = {-1, INT32_MIN, slots, slots < INT32_MAX ? slots + 1 : slots};
  const int n = std::max(slots, 0);
  for (int i = 0; i < std::min(n, kRecordLimit); ++i) out.push_back(i);
  if (n > kRecordLimit) out.push_back(n - 1);
  return out;
}

// Every field of a bounded number of records through every typed read; a
// few more rows (out of range ones included) through the plain read only.
// The typed reads all go through the same raw read, so more records through
// them would find nothing new and only slow the fuzzer down.
template <class R>
void WalkAttributes(R& r) {
  const long fields = r.GetFieldCount();
  const long records = r.GetRecordCount();
  const int nf = static_cast<int>(std::min<long>(std::max<long>(fields, 0), kFieldLimit));
  const int nr = static_cast<int>(std::max<long>(records, 0));
  std::vector<wchar_t> name(21, L'\0');
  for (int f = -1; f <= nf; ++f) {
    int width = 0, display = 0, decimals = 0;
    r.GetFieldInfo(f, name.data(), &width, &display, &decimals);
    name.back() = L'\0';
  }
  // Look-ups by name: the last field's name, and names matching nothing.
  r.GetFieldIndex(name.data());
  r.GetFieldIndex(L"");
  r.GetFieldIndex(L"  ID  ");
  std::vector<int> rows = {-1, nr - 1, nr, INT32_MAX};
  for (int rec = 0; rec < std::min(nr, kValueRecordLimit); ++rec) rows.push_back(rec);
  for (int rec : rows) {
    const bool typed = rec >= 0 && rec < kTypedRecordLimit;
    for (int f = -1; f <= nf; ++f) {
      wchar_t fieldName[21] = L"";
      const long type = r.GetFieldInfo(f, fieldName, nullptr, nullptr, nullptr);
      if (type == MapGis::MAPGIS_FIELD_STRING || type == MapGis::MAPGIS_FIELD_TEXT) {
        TouchText(static_cast<const char*>(r.ReadAttribute(rec, f, static_cast<int>(type))));
      } else {
        r.ReadAttribute(rec, f, static_cast<int>(type));
      }
      if (!typed) continue;
      TouchText(r.ReadStringAttribute(rec, f));
      TouchText(r.ReadTextAttribute(rec, f));
      Sink(r.ReadByteAttribute(rec, f) + r.ReadShortAttribute(rec, f) + r.ReadLongAttribute(rec, f) +
           r.ReadFloatAttribute(rec, f) + r.ReadDoubleAttribute(rec, f) + r.ReadBoolAttribute(rec, f));
      Sink(r.ReadDateAttribute(rec, f).year + r.ReadTimeAttribute(rec, f).hour +
           r.ReadTimeStampAttribute(rec, f).year);
      Sink(static_cast<double>(reinterpret_cast<intptr_t>(r.ReadBinareyAttribute(rec, f))));
    }
  }
}

// Each walk returns what opening or loading the file gave.
inline long WalkFastReader(const std::wstring& path) {
  using namespace MapGis;
  MapGis_FastReader r;
  const long opened = r.Open(path.c_str());
  if (opened != MAPGIS_OK) {
    GeometryHolder g;
    r.ReadArcInfo(0, nullptr, g.g);
    r.GetFieldCount();
    return opened;
  }
  GeometryHolder g;
  r.GetShapeType();
  double box[4];
  r.GetExtentInfo(&box[0], &box[1], &box[2], &box[3]);
  MAP_PARAstruct para;
  r.GetProjectionInfo(&para);
  r.GetProjectionInfo(nullptr);

  int slots = 0;
  r.GetPointCount(&slots);
  for (int i : Indexes(slots)) {
    MAPGIS_PntInfo info;
    if (r.ReadPointInfo(i, &info, g.g) == MAPGIS_OK) TouchGeometry(g.g);
    WKBPoint w;
    r.ReadPointWKB(i, &info, &w);
    char text[260];
    if (r.GetNoteInfo(i, text) == MAPGIS_OK) TouchText(text);
  }
  slots = 0;
  r.GetArcCount(&slots);
  for (int i : Indexes(slots)) {
    MAPGIS_LineInfo info;
    if (r.ReadArcInfo(i, &info, g.g) == MAPGIS_OK) TouchGeometry(g.g);
    WKBLineString w{};
    if (r.ReadArcWKB(i, &info, &w) == MAPGIS_OK) {
      double sum = 0;
      for (uint32_t k = 0; k < w.numPoints; ++k) sum += w.points[k].x + w.points[k].y;
      Sink(sum);
      std::free(w.points);
    }
    MAPGIS_Topology t;
    r.GetTopoInfo(i, &t);
    if (i < INT32_MAX) r.GetTopoInfo(i + 1, &t);
  }
  slots = 0;
  r.GetPolygonCount(&slots);
  for (int i : Indexes(slots)) {
    MAPGIS_RegInfo info;
    if (r.ReadPolygonInfo(i, &info, g.g) == MAPGIS_OK) TouchGeometry(g.g);
    WKBPolygon w{};
    if (r.ReadPolygonWKB(i, &info, &w) == MAPGIS_OK && w.rings) {
      for (uint32_t k = 0; k < w.numRings; ++k) std::free(w.rings[k].points);
      std::free(w.rings);
    }
  }
  for (int i : Indexes(r.GetTicCount())) {
    MAPGIS_Tic_Info tic;
    r.GetTicInfo(i, &tic);
  }
  // Each kind the file can hold; a kind that cannot be made current leaves
  // the previous one current, which has been walked already.
  WalkAttributes(r);
  for (int kind : {0, 1, 2, 7, 4, -1}) {
    if (r.SetAttributeType(kind) == MapGis::MAPGIS_OK) WalkAttributes(r);
  }
  // A copy reads on after the original is closed.
  MapGis_FastReader copy(r);
  r.Close();
  copy.ReadArcInfo(0, nullptr, g.g);
  copy.ReadLongAttribute(0, 0);
  return opened;
}

inline long WalkMemReader(const std::wstring& path) {
  using namespace MapGis;
  MapGis_MemReader r;
  GeometryHolder g;
  const long opened = r.Open(path.c_str());
  if (opened != MAPGIS_OK) {
    r.ReadArcInfo(0, nullptr, g.g);
    r.GetFieldCount();
    return opened;
  }
  r.GetShapeType();
  double box[4];
  r.GetExtentInfo(&box[0], &box[1], &box[2], &box[3]);
  MAP_PARAstruct para;
  r.GetProjection(&para);
  WalkAttributes(r);
  for (int pass = 0; pass < 2; ++pass) {
    int slots = 0;
    r.GetPntCount(&slots);
    for (int i : Indexes(slots)) {
      MAPGIS_PntInfo info;
      if (r.ReadPointInfo(i, &info, g.g) == MAPGIS_OK) TouchGeometry(g.g);
      char text[260];
      if (r.GetNoteInfo(i, text) == MAPGIS_OK) TouchText(text);
    }
    slots = 0;
    r.GetNetPntCount(&slots);
    for (int i : Indexes(slots)) {
      MAPGIS_PntInfo info;
      if (r.ReadNetPointInfo(i, &info, g.g) == MAPGIS_OK) TouchGeometry(g.g);
    }
    slots = 0;
    r.GetArcCount(&slots);
    for (int i : Indexes(slots)) {
      MAPGIS_LineInfo info;
      if (r.ReadArcInfo(i, &info, g.g) == MAPGIS_OK) TouchGeometry(g.g);
      MAPGIS_Topology t;
      r.GetTopoInfo(i, &t);
    }
    slots = 0;
    r.GetRegCount(&slots);
    for (int i : Indexes(slots)) {
      MAPGIS_RegInfo info;
      if (r.ReadPolygonInfo(i, &info, g.g) == MAPGIS_OK) TouchGeometry(g.g);
    }
    for (int i : Indexes(r.GetTicCount())) {
      MAPGIS_Tic_Info tic;
      r.GetTicInfo(i, &tic);
    }
    // The second pass reads a polygon file as its arcs.
    r.ReadAsPolyArc();
    WalkAttributes(r);
  }
  MapGis_MemReader copy(r);
  r.Close();
  copy.ReadArcInfo(0, nullptr, g.g);
  copy.ReadLongAttribute(0, 0);
  return opened;
}

// The legacy reader opens read-write and writes its tables back: `path`
// must be a scratch copy.
inline long WalkReader(const std::wstring& path) {
  using namespace MapGis;
  MapGis_Reader r;
  GeometryHolder g;
  const long opened = r.Open(path.c_str());
  if (opened != MAPGIS_OK) {
    r.ReadArcInfo(0, nullptr, g.g);
    r.GetFieldCount();
    return opened;
  }
  int slots = 0, shapeType = 0, tics = 0;
  r.GetInfo(&slots, &shapeType, &tics);
  double box[4];
  r.GetExtentInfo(&box[0], &box[1], &box[2], &box[3]);
  MAP_PARAstruct para;
  r.GetProjection(&para);
  for (int i : Indexes(tics)) {
    MAPGIS_Tic_Info tic;
    r.GetTicInfo(i, &tic);
  }
  MAPGIS_PntInfo pnt{};
  MAPGIS_LineInfo lin{};
  MAPGIS_RegInfo reg{};
  for (int i : Indexes(slots)) {
    if (r.ReadPointInfo(i, &pnt, g.g) == MAPGIS_OK) TouchGeometry(g.g);
    char text[260];
    if (r.GetNoteInfo(i, text) == MAPGIS_OK) TouchText(text);
    if (r.ReadArcInfo(i, &lin, g.g) == MAPGIS_OK) TouchGeometry(g.g);
    if (r.ReadPolygonInfo(i, &reg, g.g) == MAPGIS_OK) TouchGeometry(g.g);
    MAPGIS_RegExt ext;
    r.GetPolyLab(i, &ext);
  }
  WalkAttributes(r);
  // Edit the first and an out-of-range record and write the tables back.
  for (int i : {0, -1, slots}) {
    r.SetPointInfo(i, pnt);
    r.SetArcInfo(i, lin);
    r.SetPolygonInfo(i, reg);
  }
  r.WriteGeomInfo();
  MapGis_Reader copy(r);
  r.Close();
  copy.ReadArcInfo(0, nullptr, g.g);
  copy.ReadLongAttribute(0, 0);
  return opened;
}

// `path` must be a scratch copy: the project is saved back into it.
inline long WalkProject(const std::wstring& path) {
  using namespace MapGis;
  MapGis_Prj p;
  const long n = p.LoadProject(path.c_str());
  MAP_PARAstruct para;
  p.GetProjectionInfo(&para);
  double box[4];
  p.GetExtentInfo(&box[0], &box[1], &box[2], &box[3]);
  std::vector<wchar_t> text(1024, L'\0');
  p.GetMpjDesc(text.data());
  p.GetMpjDesc(nullptr);
  const int items = static_cast<int>(std::max<long>(n, 0));
  for (int i : Indexes(items)) {
    double lo = 0, hi = 0;
    p.GetItemDesc(i, text.data());
    p.GetItemInfo(i, text.data(), &lo, &hi);
    p.GetItemInfo(i, nullptr, nullptr, nullptr);
    p.GetItemFileName(i, text.data());
  }
  p.SetItemInfo(0, L"renamed.WL", 0.0, 1e9, 0);
  p.SetItemInfo(items, L"x.WT", -1.0, 1.0, 1);
  p.SetItemInfo(-1, L"x.WP", 0.0, 0.0, 2);
  p.SaveProject(path.c_str());
  MapGis_Prj again;
  again.LoadProject(path.c_str());
  return n;
}

inline long WalkColorLib(const std::wstring& path) {
  using namespace MapGis;
  MapGis_ColorLib lib;
  lib.LoadColors(path.c_str());
  const long n = lib.GetColorNum();
  const long top = std::min<long>(std::max<long>(n, 0), 4096) + 2;
  uint32_t sum = 0;
  for (long c = -2; c <= top; ++c) {
    const RGBTRIPLE rgb = lib.GetRGB(c);
    const CMYKQUAD cmyk = lib.GetCMYK(c);
    sum += rgb.rgbtRed + rgb.rgbtGreen + rgb.rgbtBlue + cmyk.cmykCyan + cmyk.cmykBlack;
  }
  for (long c : {static_cast<long>(INT32_MAX), static_cast<long>(INT32_MIN), 65536L, n + 100}) {
    sum += lib.GetRGB(c).rgbtRed + lib.GetCMYK(c).cmykYellow;
  }
  Sink(sum);
  return n;
}

inline long WalkLegend(const std::wstring& path) {
  using namespace MapGis;
  MapGis_Legend legend;
  const long opened = legend.Open(path.c_str());
  const long n = legend.GetLegendNum();
  for (int i : Indexes(static_cast<int>(std::max<long>(n, 0)))) {
    MAPGIS_LegendItem item;
    PNT_INFOstruct pnt;
    LIN_INFOstruct lin;
    REG_INFOstruct reg;
    legend.GetLegendInfo(i, &item, &pnt, &lin, &reg);
    legend.GetLegendInfo(i, nullptr, &pnt, &lin, &reg);
  }
  legend.Close();
  MAPGIS_LegendItem item;
  PNT_INFOstruct pnt;
  LIN_INFOstruct lin;
  REG_INFOstruct reg;
  legend.GetLegendInfo(0, &item, &pnt, &lin, &reg);
  return opened;
}

}  // namespace fuzzing
