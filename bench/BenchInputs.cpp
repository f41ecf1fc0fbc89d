// Writes the deterministic inputs of the conversion benchmark with the
// library's own layer writer: points, annotations, lines, polygons, an
// attribute table, and a batch of medium line files.
//
//   bench_inputs FOLDER SCALE
//
// SCALE multiplies every record count (1 = full size).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "DemoCommon.h"
#include "MapGisWriter.h"

namespace fs = std::filesystem;
using namespace demo;

namespace {

// A small deterministic generator, so every run writes the same bytes.
struct Random {
  uint64_t state = 0x9E3779B97F4A7C15ull;
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<uint32_t>(state >> 11);
  }
  double Unit() { return Next() / 2097152.0 / 1024.0; }  // [0, 2)
};

const char* const kNames[] = {"东风路", "人民广场", "城关镇", "新华街", "水库", "林地", "耕地", "居民点"};

// The ten attribute fields every benchmark layer carries.
void AddFields(MapGis::MapGis_Writer& w, const std::string& what) {
  struct F {
    const wchar_t* name;
    int type, width, display, decimals;
  };
  const F fields[] = {
      {L"名称", MapGis::MAPGIS_FIELD_STRING, 24, 24, 0},  {L"编码", MapGis::MAPGIS_FIELD_LONG, 4, 11, 0},
      {L"面积", MapGis::MAPGIS_FIELD_DOUBLE, 8, 15, 3},   {L"登记日期", MapGis::MAPGIS_FIELD_DATE, 4, 10, 0},
      {L"类别", MapGis::MAPGIS_FIELD_STRING, 12, 12, 0},  {L"高程", MapGis::MAPGIS_FIELD_DOUBLE, 8, 12, 2},
      {L"数量", MapGis::MAPGIS_FIELD_LONG, 4, 8, 0},      {L"备注", MapGis::MAPGIS_FIELD_STRING, 40, 40, 0},
      {L"更新日期", MapGis::MAPGIS_FIELD_DATE, 4, 10, 0}, {L"权重", MapGis::MAPGIS_FIELD_DOUBLE, 8, 12, 4},
  };
  long n = 0;
  for (const F& f : fields) {
    if (w.AddFieldInfo(f.name, f.type, f.width, f.display, f.decimals) != ++n) throw DemoError(what + ": AddFieldInfo");
  }
}

void WriteValues(MapGis::MapGis_Writer& w, int r, Random& rnd, const std::vector<std::string>& names,
                 const std::string& what) {
  MapGis::DATE_STRUstruct d1{}, d2{};
  d1.year = static_cast<decltype(d1.year)>(1990 + r % 30);
  d1.month = static_cast<decltype(d1.month)>(1 + r % 12);
  d1.day = static_cast<decltype(d1.day)>(1 + r % 28);
  d2 = d1;
  d2.year = static_cast<decltype(d2.year)>(2020 + r % 5);
  const std::string& name = names[static_cast<size_t>(r) % names.size()];
  const std::string& kind = names[(static_cast<size_t>(r) / 7) % names.size()];
  const std::string note = name + std::to_string(r);
  if (!w.WriteStringAttribute(r, 0, name.c_str()) || !w.WriteLongAttribute(r, 1, 100000 + r) ||
      !w.WriteDoubleAttribute(r, 2, rnd.Unit() * 5000.0) || !w.WriteDateAttribute(r, 3, &d1) ||
      !w.WriteStringAttribute(r, 4, kind.c_str()) || !w.WriteDoubleAttribute(r, 5, 20.0 + rnd.Unit() * 300.0) ||
      !w.WriteLongAttribute(r, 6, static_cast<long>(rnd.Next() % 1000)) ||
      !w.WriteStringAttribute(r, 7, note.c_str()) || !w.WriteDateAttribute(r, 8, &d2) ||
      !w.WriteDoubleAttribute(r, 9, rnd.Unit())) {
    Check(w.LastAttributeStatus(), what + ": attribute of record " + std::to_string(r));
  }
}

std::vector<std::string> GbkNames() {
  std::vector<std::string> names;
  for (const char* n : kNames) names.push_back(Gbk(n));
  return names;
}

GeometryPtr NewGeometry(int type, const std::vector<int>& partSizes) {
  GeometryPtr g(MapGis::CreateGeometry(), MapGis::DestroyGeometry);
  size_t n = 0;
  for (int s : partSizes) n += static_cast<size_t>(s);
  const size_t parts = partSizes.size();
  g->nSHPType = type;
  g->nParts = static_cast<int32_t>(parts);
  g->nVertices = static_cast<int32_t>(n);
  g->panPartStart = static_cast<int32_t*>(std::calloc(parts, sizeof(int32_t)));
  g->panPartType = static_cast<int32_t*>(std::calloc(parts, sizeof(int32_t)));
  g->padfX = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfY = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfZ = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  g->padfM = static_cast<double*>(std::calloc(n + 1, sizeof(double)));
  if (!g->panPartStart || !g->panPartType || !g->padfX || !g->padfY || !g->padfZ || !g->padfM) {
    throw DemoError("out of memory");
  }
  int start = 0;
  for (size_t p = 0; p < parts; ++p) {
    g->panPartStart[p] = start;
    g->panPartType[p] = p == 0 ? 5 : 3;
    start += partSizes[p];
  }
  return g;
}

MapGis::MapGis_Writer* Open(MapGis::MapGis_Writer& w, const fs::path& path, int kind) {
  const std::string what = path.filename().u8string();
  Check(w.Create(WidePath(path).c_str(), kind), what + ": Create");
  if (kind != MapGis::MAPGIS_TYPE_TABLE) {
    const MapGis::MAP_PARAstruct para = DemoProjection();
    Check(w.WriteProjection(&para), what + ": WriteProjection");
  }
  AddFields(w, what);
  return &w;
}

void Finish(MapGis::MapGis_Writer& w, const fs::path& path) {
  Check(w.Flush(), path.filename().u8string() + ": Flush");
  w.Close();
}

void WritePoints(const fs::path& path, long count, bool annotations) {
  MapGis::MapGis_Writer w;
  Open(w, path, MapGis::MAPGIS_TYPE_POINT);
  const std::string what = path.filename().u8string();
  const std::vector<std::string> names = GbkNames();
  Random rnd;
  for (long i = 0; i < count; ++i) {
    MapGis::MAPGIS_PntInfo p;
    std::memset(&p, 0, sizeof p);
    p.status = 1;
    p.x = GroundX(rnd.Unit() * kWidth / 2);
    p.y = GroundY(rnd.Unit() * kHeight / 2);
    p.color = 1 + static_cast<int32_t>(i % 300);
    p.layer = static_cast<int16_t>(i % 16);
    std::string text;
    if (annotations) {
      p.param.note.height = 3.0f + static_cast<float>(i % 5);
      p.param.note.width = p.param.note.height;
      p.param.note.angle = static_cast<float>(i % 360);
      p.param.note.chFont = 1;
      p.param.note.enFont = 1;
      text = names[static_cast<size_t>(i) % names.size()] + std::to_string(i);
    } else {
      p.param.sub.subNumber = 1 + static_cast<int32_t>(i % 100);
      p.param.sub.height = 4.0f;
      p.param.sub.width = 4.0f;
    }
    Check(w.AddPointInfo(p, nullptr, annotations ? text.c_str() : nullptr), what + ": AddPointInfo");
    WriteValues(w, static_cast<int>(i), rnd, names, what);
  }
  Finish(w, path);
}

void WriteLines(const fs::path& path, long count, int vertices) {
  MapGis::MapGis_Writer w;
  Open(w, path, MapGis::MAPGIS_TYPE_LINE);
  const std::string what = path.filename().u8string();
  const std::vector<std::string> names = GbkNames();
  Random rnd;
  for (long i = 0; i < count; ++i) {
    GeometryPtr g = NewGeometry(3, {vertices});
    double x = rnd.Unit() * kWidth / 2, y = rnd.Unit() * kHeight / 2;
    for (int v = 0; v < vertices; ++v) {
      x += rnd.Unit() * 4 - 4;
      y += rnd.Unit() * 4 - 4;
      g->padfX[v] = GroundX(x);
      g->padfY[v] = GroundY(y);
    }
    MapGis::MAPGIS_LineInfo l;
    std::memset(&l, 0, sizeof l);
    l.status = 1;
    l.lineType = static_cast<int16_t>(1 + i % 20);
    l.color = 1 + static_cast<int32_t>(i % 300);
    l.width = 0.1f * static_cast<float>(1 + i % 5);
    Check(w.AddArcInfo(l, g.get(), 0), what + ": AddArcInfo");
    WriteValues(w, static_cast<int>(i), rnd, names, what);
  }
  Finish(w, path);
}

// Polygons of one to three rings: a square outline and up to two square holes.
void WritePolygons(const fs::path& path, long count) {
  MapGis::MapGis_Writer w;
  Open(w, path, MapGis::MAPGIS_TYPE_POLYGON);
  const std::string what = path.filename().u8string();
  const std::vector<std::string> names = GbkNames();
  Random rnd;
  const long perRow = 1000;
  for (long i = 0; i < count; ++i) {
    const int rings = 1 + static_cast<int>(i % 3);
    std::vector<int> sizes(static_cast<size_t>(rings), 5);
    GeometryPtr g = NewGeometry(5, sizes);
    const double x0 = static_cast<double>(i % perRow) * 10.0, y0 = static_cast<double>(i / perRow) * 10.0;
    // Outline clockwise, holes counter-clockwise.
    const double outer[5][2] = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
    int v = 0;
    for (const auto& c : outer) {
      g->padfX[v] = GroundX(x0 + c[0]);
      g->padfY[v++] = GroundY(y0 + c[1]);
    }
    for (int h = 1; h < rings; ++h) {
      const double hx = x0 + 1 + (h - 1) * 5, hy = y0 + 1;
      const double hole[5][2] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}, {0, 0}};
      for (const auto& c : hole) {
        g->padfX[v] = GroundX(hx + c[0]);
        g->padfY[v++] = GroundY(hy + c[1]);
      }
    }
    MapGis::MAPGIS_RegInfo r;
    std::memset(&r, 0, sizeof r);
    r.status = 1;
    r.fillColor = 1 + static_cast<int32_t>(i % 300);
    r.pattern = static_cast<int16_t>(i % 10);
    Check(w.AddPolygonInfo(r, g.get()), what + ": AddPolygonInfo");
    WriteValues(w, static_cast<int>(i), rnd, names, what);
  }
  Finish(w, path);
}

void WriteTable(const fs::path& path, long count) {
  MapGis::MapGis_Writer w;
  Open(w, path, MapGis::MAPGIS_TYPE_TABLE);
  const std::string what = path.filename().u8string();
  const std::vector<std::string> names = GbkNames();
  Random rnd;
  for (long i = 0; i < count; ++i) WriteValues(w, static_cast<int>(i), rnd, names, what);
  Finish(w, path);
}

long Scaled(double n, double scale) {
  const long v = std::lround(n * scale);
  return v < 1 ? 1 : v;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_inputs FOLDER SCALE\n");
    return 2;
  }
  const fs::path folder = fs::u8path(argv[1]);
  const double scale = std::atof(argv[2]);
  if (!(scale > 0)) {
    std::fprintf(stderr, "bench_inputs: SCALE must be a positive number\n");
    return 2;
  }
  try {
    fs::create_directories(folder / "batch");
    WritePoints(folder / "points.WT", Scaled(1e6, scale), false);
    WritePoints(folder / "notes.WT", Scaled(2e5, scale), true);
    WriteLines(folder / "lines.WL", Scaled(2e5, scale), 50);
    WritePolygons(folder / "polygons.WP", Scaled(1e5, scale));
    WriteTable(folder / "table.WB", Scaled(1e6, scale));
    for (int i = 0; i < 20; ++i) {
      WriteLines(folder / "batch" / ("medium" + std::to_string(i) + ".WL"), Scaled(2e4, scale), 50);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_inputs: %s\n", e.what());
    return 1;
  }
  return 0;
}
