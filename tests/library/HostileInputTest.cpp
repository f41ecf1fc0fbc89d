// Damaged and hostile files: every operation of the fast reader must answer
// with a status (or a count) and never crash, read out of bounds or
// allocate what the file cannot back.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "MapGis.h"
#include "ReaderFixture.h"

using namespace MapGis;
using testing_support::AttributeSection;
using testing_support::Bytes;
using testing_support::ByteBuilder;
using testing_support::DataArea;
using testing_support::GeometryPtr;
using testing_support::LayerBuilder;
using testing_support::LineRecord;
using testing_support::NewGeometry;
using testing_support::NodeRecord;
using testing_support::OpenedLayer;
using testing_support::PointRecord;
using testing_support::PolygonRecord;
using testing_support::Table;
using testing_support::TempDir;

namespace {

const std::set<long> kStatuses = {MAPGIS_OK,         MAPGIS_NOT_SYSTEM_FILE, MAPGIS_OUT_OF_MEMORY,
                                  MAPGIS_NOT_MAPGIS_FILE, MAPGIS_OPEN_FAILED, MAPGIS_READ_FAILED,
                                  MAPGIS_DELETED,    MAPGIS_NO_TABLE,        MAPGIS_BAD_ARC_LIST};

const char* const kLayerSamples[] = {
    "jz-project/I486732TK.WL", "jz-project/I486732TK.WT", "jz-project/JZ-FINAL.WL", "jz-project/JZ.WL",
    "jz-project/JZ.WT",        "frame/YZT-SLH.WL",        "frame/图例.WL",          "frame/图例.WT",
    "frame/图框.WL",           "frame/图框.WP",           "tables/区.WB",           "tables/点.WB",
    "unsupported/Fram_1.wt"};

// How far the walk over records and fields goes.
struct Limits {
  int records;        // geometry records and tics
  int fields;         // attribute fields
  int valueRecords;   // attribute records read value by value (and the last one)
};

// Collects answers that are neither a known status nor a plausible count.
class Verdict {
 public:
  void Status(long st, const char* op, int i) {
    if (kStatuses.count(st) == 0) Bad(op, i, st);
  }
  void Check(bool ok, const char* op, int i, long value) {
    if (!ok) Bad(op, i, value);
  }
  int failures() const { return failures_; }
  std::string Report() const { return report_.str(); }

 private:
  void Bad(const char* op, int i, long value) {
    if (++failures_ <= 5) report_ << op << "(" << i << ") gave " << value << "; ";
  }
  int failures_ = 0;
  std::ostringstream report_;
};

// Touches every array entry a filled geometry claims to have, so that the
// sanitizer sees any array shorter than its count.
void CheckGeometry(const Geometry* g, Verdict& v, const char* op, int i) {
  v.Check(g->nVertices >= 0 && g->nParts >= 0, op, i, g->nVertices);
  double sum = 0.0;
  for (int32_t k = 0; k < g->nVertices; ++k) sum += g->padfX[k] + g->padfY[k] + g->padfZ[k] + g->padfM[k];
  for (int32_t p = 0; p < g->nParts; ++p) {
    const int32_t s = g->panPartStart[p];
    v.Check(s >= 0 && s <= g->nVertices && (p == 0 || s >= g->panPartStart[p - 1]), op, i, s);
    sum += g->panPartType[p];
  }
  volatile double sink = sum;
  (void)sink;
}

void ReadRecords(MapGis_FastReader& r, const Limits& lim, Verdict& v) {
  GeometryPtr g = NewGeometry();
  int slots = 0;
  r.GetShapeType();
  r.GetTicCount();
  double box[4];
  r.GetExtentInfo(&box[0], &box[1], &box[2], &box[3]);
  MAP_PARAstruct para;
  r.GetProjectionInfo(&para);
  r.GetProjectionInfo(nullptr);

  slots = -1;
  if (r.GetPointCount(&slots) != -1 || slots != -1) v.Check(slots >= 0, "GetPointCount", 0, slots);
  for (int i = -1; i < std::min(slots, lim.records) + 1; ++i) {
    MAPGIS_PntInfo info;
    long st = r.ReadPointInfo(i, &info, g.get());
    v.Status(st, "ReadPointInfo", i);
    if (st == MAPGIS_OK) CheckGeometry(g.get(), v, "ReadPointInfo", i);
    WKBPoint w;
    v.Status(r.ReadPointWKB(i, nullptr, &w), "ReadPointWKB", i);
    char text[260];
    v.Status(r.GetNoteInfo(i, text), "GetNoteInfo", i);
  }

  slots = -1;
  if (r.GetArcCount(&slots) != -1 || slots != -1) v.Check(slots >= 0, "GetArcCount", 0, slots);
  for (int i = -1; i < std::min(slots, lim.records) + 1; ++i) {
    MAPGIS_LineInfo info;
    long st = r.ReadArcInfo(i, &info, g.get());
    v.Status(st, "ReadArcInfo", i);
    if (st == MAPGIS_OK) CheckGeometry(g.get(), v, "ReadArcInfo", i);
    WKBLineString w{};
    st = r.ReadArcWKB(i, nullptr, &w);
    v.Status(st, "ReadArcWKB", i);
    if (st == MAPGIS_OK) {
      double sum = 0;
      for (uint32_t k = 0; k < w.numPoints; ++k) sum += w.points[k].x + w.points[k].y;
      volatile double sink = sum;
      (void)sink;
      std::free(w.points);
    }
    MAPGIS_Topology t;
    v.Status(r.GetTopoInfo(i, &t), "GetTopoInfo", i);
  }
  v.Status(r.GetTopoInfo(slots + 1, nullptr), "GetTopoInfo", slots + 1);

  slots = -1;
  if (r.GetPolygonCount(&slots) != -1 || slots != -1) v.Check(slots >= 0, "GetPolygonCount", 0, slots);
  for (int i = -1; i < std::min(slots, lim.records) + 1; ++i) {
    MAPGIS_RegInfo info;
    long st = r.ReadPolygonInfo(i, &info, g.get());
    v.Status(st, "ReadPolygonInfo", i);
    if (st == MAPGIS_OK) CheckGeometry(g.get(), v, "ReadPolygonInfo", i);
    WKBPolygon w;
    v.Status(r.ReadPolygonWKB(i, nullptr, &w), "ReadPolygonWKB", i);
  }

  const int tics = r.GetTicCount();
  for (int i = -1; i < std::min(tics, lim.records) + 1; ++i) {
    MAPGIS_Tic_Info tic;
    v.Status(r.GetTicInfo(i, &tic), "GetTicInfo", i);
  }
}

void ReadAttributes(MapGis_FastReader& r, const Limits& lim, Verdict& v) {
  for (int kind : {0, 1, 2, 7}) {
    const long set = r.SetAttributeType(kind);
    v.Status(set, "SetAttributeType", kind);
    const long fields = r.GetFieldCount();
    v.Check(fields >= 0 || kStatuses.count(fields), "GetFieldCount", kind, fields);
    const long records = r.GetRecordCount();
    v.Check(records >= 0 || kStatuses.count(records), "GetRecordCount", kind, records);
    const int nf = static_cast<int>(std::min<long>(std::max<long>(fields, 0), lim.fields));
    const int nr = static_cast<int>(std::max<long>(records, 0));
    for (int f = -1; f <= nf; ++f) {
      wchar_t name[21] = L"";
      int width, display, decimals;
      const long type = r.GetFieldInfo(f, name, &width, &display, &decimals);
      v.Check((type >= -128 && type <= 127) || type == MAPGIS_NO_TABLE, "GetFieldInfo", f, type);
      const long index = r.GetFieldIndex(name);
      v.Check(index >= -1 && index < std::max<long>(fields, 0), "GetFieldIndex", f, index);
    }
    std::set<int> rows = {-1, nr - 1, nr};
    for (int rec = 0; rec < std::min(nr, lim.valueRecords); ++rec) rows.insert(rec);
    for (int rec : rows) {
      for (int f = -1; f <= nf; ++f) {
        for (int type : {0, 3, 9}) {
          if (const char* s = static_cast<const char*>(r.ReadAttribute(rec, f, type))) {
            volatile size_t n = std::strlen(s);
            (void)n;
          }
        }
        if (const char* s = r.ReadStringAttribute(rec, f)) v.Check(std::strlen(s) < 65536, "String", rec, 0);
        if (const char* s = r.ReadTextAttribute(rec, f)) v.Check(std::strlen(s) < 65536, "Text", rec, 0);
        r.ReadByteAttribute(rec, f);
        r.ReadShortAttribute(rec, f);
        r.ReadLongAttribute(rec, f);
        r.ReadFloatAttribute(rec, f);
        r.ReadDoubleAttribute(rec, f);
        r.ReadBoolAttribute(rec, f);
        r.ReadDateAttribute(rec, f);
        r.ReadTimeAttribute(rec, f);
        r.ReadTimeStampAttribute(rec, f);
        r.ReadBinareyAttribute(rec, f);
      }
    }
  }
}

// Opens `path` and reads everything it offers. Returns the open status.
long ReadEverything(const std::wstring& path, const Limits& lim, Verdict& v) {
  MapGis_FastReader r;
  const long st = r.Open(path.c_str());
  v.Status(st, "Open", 0);
  if (st != MAPGIS_OK) {
    // Only Close and Open are meaningful now, but nothing may crash either.
    GeometryPtr g = NewGeometry();
    r.ReadArcInfo(0, nullptr, g.get());
    r.GetFieldCount();
    r.Close();
    return st;
  }
  ReadRecords(r, lim, v);
  ReadAttributes(r, lim, v);
  // A copy reads on after the original is closed.
  MapGis_FastReader copy(r);
  r.Close();
  GeometryPtr g = NewGeometry();
  copy.ReadArcInfo(0, nullptr, g.get());
  copy.ReadLongAttribute(0, 0);
  return st;
}

// Offsets of the sections the readers use, taken from the directory bytes.
std::vector<size_t> SectionStarts(const Bytes& file) {
  std::vector<size_t> starts;
  if (file.size() < 20) return starts;
  int32_t dirOffset, dirCount;
  std::memcpy(&dirOffset, &file[12], 4);
  std::memcpy(&dirCount, &file[16], 4);
  for (int n : {0, 1, 2, 3, 4, 5, 8, 9}) {
    const size_t entry = static_cast<size_t>(dirOffset) + 10 * static_cast<size_t>(n);
    if (n >= dirCount || entry + 4 > file.size()) continue;
    uint32_t offset;
    std::memcpy(&offset, &file[entry], 4);
    if (offset < file.size()) starts.push_back(offset);
  }
  return starts;
}

// One change to a file: `bytes` written at `at`.
struct Patch {
  size_t at;
  Bytes bytes;
};

// The changes that make one damaged copy of `file`: a few bytes or a 32-bit
// word, mostly where the headers, directories and record tables lie.
std::vector<Patch> Mutation(const Bytes& file, const std::vector<size_t>& sections, std::mt19937& rng) {
  const size_t size = file.size();
  auto pick = [&]() -> size_t {
    const unsigned where = rng() % 10;
    if (where < 4) return rng() % std::min<size_t>(size, 1100);
    if (where < 7 && !sections.empty()) return std::min(size - 1, sections[rng() % sections.size()] + rng() % 512);
    return rng() % size;
  };
  std::vector<Patch> patches;
  const int edits = 1 + static_cast<int>(rng() % 3);
  for (int e = 0; e < edits; ++e) {
    const size_t at = pick();
    if (rng() % 3 == 0 && at + 4 <= size) {
      static const int32_t extremes[] = {INT32_MAX, INT32_MIN, -1, 0, 1, 0x7FFF, 0x10000, 1025};
      const int32_t value = extremes[rng() % 8];
      Bytes word(4);
      std::memcpy(word.data(), &value, 4);
      patches.push_back({at, word});
    } else {
      static const uint8_t bytes[] = {0x00, 0xFF, 0x7F, 0x80, 0x01};
      patches.push_back({at, {rng() % 2 ? static_cast<uint8_t>(rng()) : bytes[rng() % 5]}});
    }
  }
  return patches;
}

// Writes `bytes` at `at` in the file open as `fd`.
void WriteAt(int fd, size_t at, const uint8_t* bytes, size_t n) {
  ASSERT_EQ(pwrite(fd, bytes, n, static_cast<off_t>(at)), static_cast<ssize_t>(n));
}

long MaxRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

}  // namespace

TEST(HostileInput, UndamagedSamplesReadThroughWithoutSurprises) {
  TempDir dir;
  for (const char* sample : kLayerSamples) {
    Verdict v;
    const long st = ReadEverything(dir.CopySample(sample), Limits{100000, 1000, 100000}, v);
    EXPECT_EQ(v.failures(), 0) << sample << ": " << v.Report();
    if (std::string(sample).rfind("unsupported/", 0) != 0) {
      EXPECT_EQ(st, MAPGIS_OK) << sample;
    }
  }
}

TEST(HostileInput, TruncatedSamplesGiveStatusesOnly) {
  TempDir dir;
  const std::filesystem::path file = dir.File("cut.dat");
  const std::wstring path = testing_support::Wide(file);
  for (const char* sample : kLayerSamples) {
    const Bytes bytes = testing_support::ReadAll(testing_support::RealSamples() / std::filesystem::u8path(sample));
    ASSERT_GT(bytes.size(), 1100u) << sample;
    std::set<size_t> cuts;
    for (size_t k = 0; k < 64; ++k) cuts.insert(bytes.size() * k / 64);
    for (size_t n = 0; n <= 1100; n += 13) cuts.insert(n);
    // Longest first, so that each cut only shortens the file.
    dir.Write("cut.dat", bytes);
    Verdict v;
    int opened = 0;
    for (auto n = cuts.rbegin(); n != cuts.rend(); ++n) {
      std::filesystem::resize_file(file, *n);
      if (ReadEverything(path, Limits{60, 24, 4}, v) == MAPGIS_OK) ++opened;
    }
    EXPECT_EQ(v.failures(), 0) << sample << ": " << v.Report();
    // Cuts past the header and directory still open: the walk above really
    // reached the record reads.
    if (std::string(sample).rfind("unsupported/", 0) != 0) {
      EXPECT_GT(opened, 30) << sample;
    }
  }
}

TEST(HostileInput, DamagedSamplesGiveStatusesOnly) {
  TempDir dir;
  const std::wstring path = testing_support::Wide(dir.File("damaged.dat"));
  std::mt19937 rng(20240607);
  for (const char* sample : kLayerSamples) {
    const Bytes bytes = testing_support::ReadAll(testing_support::RealSamples() / std::filesystem::u8path(sample));
    const std::vector<size_t> sections = SectionStarts(bytes);
    dir.Write("damaged.dat", bytes);
    const int fd = open(dir.File("damaged.dat").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    Verdict v;
    int opened = 0;
    for (int m = 0; m < 250; ++m) {
      const std::vector<Patch> patches = Mutation(bytes, sections, rng);
      for (const Patch& p : patches) WriteAt(fd, p.at, p.bytes.data(), p.bytes.size());
      if (ReadEverything(path, Limits{60, 24, 4}, v) == MAPGIS_OK) ++opened;
      // Undo, so the next mutant starts from the sample again.
      for (const Patch& p : patches) WriteAt(fd, p.at, &bytes[p.at], p.bytes.size());
    }
    close(fd);
    EXPECT_EQ(v.failures(), 0) << sample << ": " << v.Report();
    if (std::string(sample).rfind("unsupported/", 0) != 0) {
      EXPECT_GT(opened, 100) << sample;
    }
  }
}

namespace {

// A tiny file of `type` with one record of every table it has and the given
// element counts; every count far beyond what 1 KB of file can hold.
Bytes TinyLayer(int16_t type, int element, int32_t value) {
  DataArea data;
  const uint32_t run = data.AddRun({1, 2, 3, 4});
  const uint32_t list = data.AddInts({3, 1});
  const uint32_t params = data.AddBytes(Bytes(94, 1));
  LayerBuilder b(type);
  b.Element(0, 1).Element(1, 2).Element(2, 1).Element(3, 2).Element(4, 1).Element(5, 2);
  b.Element(element, value);
  b.Section(0, type == 1 ? Table(93, {PointRecord(1, 1, 2)}) : Table(57, {LineRecord(1, 2, run)}));
  b.Section(1, data.Get());
  b.Section(3, Bytes(48, 0));
  b.Section(4, Table(55, {NodeRecord(1, 5, 6, params)}));
  b.Section(8, Table(40, {PolygonRecord(1, 2, list)}));
  return b.Build();
}

}  // namespace

TEST(HostileInput, HugeRecordCountsCostAStatusNotMemory) {
  const long rssBefore = MaxRssKb();
  const auto start = std::chrono::steady_clock::now();
  for (int32_t huge : {INT32_MAX, INT32_MAX / 57, 0x40000000}) {
    auto g = NewGeometry();
    OpenedLayer line(TinyLayer(0, 1, huge));
    ASSERT_EQ(line.status, MAPGIS_OK);
    EXPECT_EQ(line.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    EXPECT_EQ(line.reader.GetTopoInfo(0, nullptr), MAPGIS_READ_FAILED);
    OpenedLayer point(TinyLayer(1, 1, huge));
    EXPECT_EQ(point.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    EXPECT_EQ(point.reader.GetNoteInfo(0, nullptr), MAPGIS_READ_FAILED);
    OpenedLayer polygon(TinyLayer(2, 5, huge));
    EXPECT_EQ(polygon.reader.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    OpenedLayer polygonArcs(TinyLayer(2, 1, huge));
    EXPECT_EQ(polygonArcs.reader.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    OpenedLayer network(TinyLayer(4, 3, huge));
    EXPECT_EQ(network.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    EXPECT_EQ(network.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    int slots = 0;
    EXPECT_EQ(network.reader.GetPointCount(&slots), 1);
    EXPECT_EQ(slots, huge - 1);
  }
  // The fixtures themselves read fine with sane counts.
  auto g = NewGeometry();
  OpenedLayer sane(TinyLayer(2, 6, 0));
  EXPECT_EQ(sane.reader.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_OK);
  EXPECT_EQ(g->nVertices, 2);
  OpenedLayer saneNet(TinyLayer(4, 6, 0));
  EXPECT_EQ(saneNet.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_OK);

  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0);
  EXPECT_LT(MaxRssKb() - rssBefore, 256 * 1024) << "kilobytes";
}

// Bytes this process has read through read calls so far; -1 when unknown.
long long BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = -1;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return -1;
}

// A polygon file whose line table loads but whose polygon table does not fit
// the file: the failed load is kept, so the line table is read once and not
// again for every polygon asked for (a large damaged file would never end).
TEST(HostileInput, TablesThatFailToLoadAreNotReadAgain) {
  if (BytesRead() < 0) GTEST_SKIP() << "no /proc/self/io";
  DataArea data;
  const uint32_t run = data.AddRun({1, 2, 3, 4});
  const uint32_t list = data.AddInts({1});
  LayerBuilder b(2);
  b.Element(0, 500).Element(1, 501).Element(4, 300).Element(5, 301);
  b.Section(0, Table(57, std::vector<Bytes>(500, LineRecord(1, 2, run))));
  b.Section(1, data.Get());
  b.Section(8, Table(40, {PolygonRecord(1, 1, list)}));
  OpenedLayer polygons(b.Build());
  ASSERT_EQ(polygons.status, MAPGIS_OK);
  auto g = NewGeometry();
  const long long before = BytesRead();
  for (int i = 0; i < 300; ++i) EXPECT_EQ(polygons.reader.ReadPolygonInfo(i, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_LT(BytesRead() - before, 2 * 501 * 57);
}

TEST(HostileInput, NegativeSlotCountsReadAsEmptyTables) {
  for (int32_t negative : {-5, INT32_MIN}) {
    auto g = NewGeometry();
    int slots = -1;
    OpenedLayer line(TinyLayer(0, 1, negative));
    EXPECT_EQ(line.reader.GetArcCount(&slots), 1);
    EXPECT_EQ(slots, 0);
    EXPECT_EQ(line.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    EXPECT_EQ(line.reader.GetTopoInfo(0, nullptr), MAPGIS_READ_FAILED);
    OpenedLayer point(TinyLayer(1, 1, negative));
    slots = -1;
    point.reader.GetPointCount(&slots);
    EXPECT_EQ(slots, 0);
    EXPECT_EQ(point.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    OpenedLayer polygon(TinyLayer(2, 5, negative));
    slots = -1;
    polygon.reader.GetPolygonCount(&slots);
    EXPECT_EQ(slots, 0);
    EXPECT_EQ(polygon.reader.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    EXPECT_EQ(polygon.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_OK);
    OpenedLayer network(TinyLayer(4, 3, negative));
    slots = -1;
    network.reader.GetPointCount(&slots);
    EXPECT_EQ(slots, 0);
    EXPECT_EQ(network.reader.ReadPointInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
    EXPECT_EQ(network.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_OK);
  }
}

TEST(HostileInput, HugeArcListsAndTotalsAreRefusedQuickly) {
  class Exposed : public MapGis_FastReader {
   public:
    using MapGis_FastReader::ReadPolyTopo;
  };
  DataArea data;
  const uint32_t run = data.AddRun({1, 2, 3, 4});
  const uint32_t hugeTotal = data.AddInts({INT32_MAX, 1});
  const uint32_t minArcs = data.AddInts({7, INT32_MIN, INT32_MIN, 1});
  const uint32_t good = data.AddInts({3, 1});
  LayerBuilder b(2);
  b.Element(0, 1).Element(1, 2).Element(4, 4).Element(5, 5);
  b.Section(0, Table(57, {LineRecord(1, 2, run)}));
  b.Section(1, data.Get());
  b.Section(8, Table(40, {PolygonRecord(1, INT32_MAX, good), PolygonRecord(1, 2, hugeTotal),
                          PolygonRecord(1, 4, minArcs), PolygonRecord(1, 0x40000000, 0xFFFFFFF0u)}));
  TempDir dir;
  Exposed r;
  ASSERT_EQ(r.Open(dir.Write("huge.WP", b.Build()).c_str()), MAPGIS_OK);
  const auto start = std::chrono::steady_clock::now();
  auto g = NewGeometry();
  EXPECT_EQ(r.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  WKBPolygon w;
  EXPECT_EQ(r.ReadPolygonWKB(0, nullptr, &w), MAPGIS_READ_FAILED);
  MAPGIS_RegInfo reg;
  ASSERT_EQ(r.ReadPolygonInfo(0, &reg, nullptr), MAPGIS_OK);
  long total = -7;
  long arcs[4] = {0};
  EXPECT_EQ(r.ReadPolyTopo(reg, &total, arcs), MAPGIS_READ_FAILED);  // nothing written to `arcs`
  EXPECT_EQ(total, -7);
  EXPECT_EQ(r.ReadPolygonInfo(1, nullptr, g.get()), MAPGIS_BAD_ARC_LIST);
  EXPECT_EQ(r.ReadPolygonInfo(2, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(r.ReadPolygonInfo(3, nullptr, g.get()), MAPGIS_READ_FAILED);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 2.0);
}

TEST(HostileInput, HugeRunsTextsAndTicsStayInsideTheFile) {
  DataArea data;
  const uint32_t text = data.AddText(std::string(300, 'q'));
  LayerBuilder point(1);
  point.Element(1, 3).Tic(0x7FFF, 0);
  point.Section(0, Table(93, {PointRecord(1, 0, 0, 0, 32767, text), PointRecord(1, 0, 0, 0, -32768, text)}));
  point.Section(1, data.Get());
  OpenedLayer p(point.Build());
  char buffer[261];
  buffer[260] = '!';
  EXPECT_EQ(p.reader.GetNoteInfo(0, buffer), MAPGIS_OK);
  EXPECT_EQ(std::strlen(buffer), 259u);
  EXPECT_EQ(buffer[260], '!');
  EXPECT_EQ(p.reader.GetNoteInfo(1, buffer), MAPGIS_OK);
  // A tic table the file cannot hold is refused before room is made for it,
  // on every one of the calls that try again.
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 0x7FFF; ++i) ASSERT_EQ(p.reader.GetTicInfo(i, nullptr), MAPGIS_READ_FAILED) << i;
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.25);

  // A line claiming 2^31 - 1 points in a data area the directory says is 4 GB.
  LayerBuilder line(0);
  line.Element(1, 2).Section(0, Table(57, {LineRecord(1, INT32_MAX, 0)})).Section(1, Bytes(64, 0));
  Bytes bytes = line.Build();
  ByteBuilder patched;
  patched.Raw(0, bytes.data(), bytes.size()).U32(657 + 10 + 4, 0xFFFFFFFFu);
  OpenedLayer l(patched.Bytes());
  auto g = NewGeometry();
  EXPECT_EQ(l.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  WKBLineString w{};
  EXPECT_EQ(l.reader.ReadArcWKB(0, nullptr, &w), MAPGIS_READ_FAILED);
  EXPECT_EQ(+w.points, nullptr);
}

TEST(HostileInput, HostileAttributeHeads) {
  struct Case {
    int32_t records, length;
    int16_t width;
    uint32_t offset;
    bool readable;
    long count;  // what GetRecordCount reports
  } cases[] = {
      {INT32_MAX, INT32_MAX, 4, 0, false, MAPGIS_NO_TABLE},  // 2^62 bytes of records
      {INT32_MAX, 0, 0, 0, false, MAPGIS_NO_TABLE},          // more empty records than the file has bytes
      {3, 0, 0, 0, true, 2},
      {3, 4, 4, 0xFFFFFFFEu, false, 2},                      // field offset near the top of 32 bits
      {3, 4, -1, 0, false, 2},                               // negative storage width
      {3, 4, 0x7FFF, 0, false, 2},                           // wider than the record
  };
  for (const Case& c : cases) {
    Bytes section = AttributeSection({{"v", 3, c.offset, c.width, 4, 0}}, 4, {Bytes(4, 0x11), Bytes(4, 0x22)});
    ByteBuilder s;
    s.Raw(0, section.data(), section.size()).I32(324, c.records).I32(328, c.length);
    LayerBuilder b(7);
    b.Section(0, s.Bytes());
    OpenedLayer o(b.Build());
    ASSERT_EQ(o.status, MAPGIS_OK);
    EXPECT_EQ(o.reader.GetRecordCount(), c.count);
    for (int rec : {0, 1, c.records - 2}) {
      const char* v = o.reader.ReadStringAttribute(rec, 0);
      EXPECT_EQ(v != nullptr, c.readable) << c.records << " " << c.length << " " << c.width << " " << rec;
      if (v) {
        EXPECT_STREQ(v, "");
      }
      EXPECT_EQ(o.reader.ReadLongAttribute(rec, 0), 0L);
      EXPECT_EQ(+o.reader.ReadTimeStampAttribute(rec, 0).year, 0);
    }
  }
}

TEST(HostileInput, DirectoryOfUnreachableSections) {
  LayerBuilder b(2);
  b.Element(0, 1).Element(1, 2).Element(4, 1).Element(5, 2).Tic(3, 0);
  Bytes bytes = b.Build();
  ByteBuilder patched;
  patched.Raw(0, bytes.data(), bytes.size());
  for (size_t n = 0; n < 16; ++n) patched.U32(657 + 10 * n, 0xFFFFFFF0u).U32(657 + 10 * n + 4, 0xFFFFFFFFu);
  OpenedLayer o(patched.Bytes());
  ASSERT_EQ(o.status, MAPGIS_OK);
  Verdict v;
  ReadEverything(o.path, Limits{10, 10, 10}, v);
  EXPECT_EQ(v.failures(), 0) << v.Report();
  auto g = NewGeometry();
  EXPECT_EQ(o.reader.ReadArcInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.ReadPolygonInfo(0, nullptr, g.get()), MAPGIS_READ_FAILED);
  EXPECT_EQ(o.reader.GetTicInfo(0, nullptr), MAPGIS_READ_FAILED);
  EXPECT_LT(o.reader.GetFieldCount(), 0);
}
