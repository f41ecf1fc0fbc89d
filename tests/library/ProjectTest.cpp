// Project files: header and item reads, refusal of malformed files, item
// edits and writing them back in place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "MapGis.h"
#include "TempDir.h"

using namespace MapGis;
using testing_support::ByteBuilder;
using testing_support::ReadAll;
using testing_support::TempDir;

namespace {

constexpr size_t kHead = 12;          // header behind magic and version
constexpr size_t kItems = 1113;       // usual start of the item table

struct Item {
  uint8_t kind;
  std::string name, desc;  // GBK bytes
  double dmin = 0, dmax = 0;
};

// A project file written at the documented offsets.
ByteBuilder Project(const std::vector<Item>& items, size_t tableAt = kItems, int32_t version = 9) {
  ByteBuilder b(tableAt);
  b.Text(0, "WMAP`D2:").I32(8, version).I16(kHead, static_cast<int16_t>(items.size()));
  b.F64(kHead + 2, -1.5).F64(kHead + 10, 2.5).F64(kHead + 18, 100.25).F64(kHead + 26, 200.75);
  b.I32(kHead + 738, static_cast<int32_t>(tableAt));
  b.U8(kHead + 804, 3).F64(kHead + 804 + 52, 5000.0).F64(kHead + 804 + 60, 1173000.0);
  b.Text(kHead + 973, "  \xB5\xD8\xCD\xBC survey");  // "  地图 survey"
  for (size_t i = 0; i < items.size(); ++i) {
    const size_t o = tableAt + 400 * i;
    b.U8(o, items[i].kind).Text(o + 2, items[i].name).Text(o + 130, items[i].desc);
    b.F64(o + 324, items[i].dmin).F64(o + 332, items[i].dmax).U8(o + 399, 0);
  }
  return b;
}

std::wstring Name(MapGis_Prj& p, int i, long* kind = nullptr) {
  wchar_t buf[2600] = L"untouched";
  const long k = p.GetItemInfo(i, buf, nullptr, nullptr);
  if (kind) *kind = k;
  return buf;
}

std::wstring Desc(MapGis_Prj& p, int i) {
  wchar_t buf[2600] = L"untouched";
  p.GetItemDesc(i, buf);
  return buf;
}

}  // namespace

TEST(Project, RealProjectsListTheirFourLayers) {
  struct Expect {
    const char* file;
    double ext[4];
    std::vector<std::pair<std::wstring, long>> items;
  } cases[] = {
      {"jz-project/i486732jz1.MPJ", {-3.5569162185316827, 110.61118800727422, 206.67215715698367, 245.80932037821896},
       {{L".\\JZ.WT", 1}, {L".\\I486732TK.WL", 3}, {L".\\I486732TK.WT", 1}, {L".\\JZ.WL", 3}}},
      {"jz-project/i486732jz.MPJ", {-7.75239094939742, -40.51059247946532, 626.4564534630597, 493.2080406831881},
       {{L".\\JZ-FINAL.WL", 3}, {L".\\JZ2.WT", 1}, {L".\\I486732TK.WT", 1}, {L".\\I486732TK.WL", 3}}},
  };
  for (const Expect& e : cases) {
    TempDir dir;
    MapGis_Prj p;
    ASSERT_EQ(p.LoadProject(dir.CopySample(e.file).c_str()), 4) << e.file;
    double ext[4];
    p.GetExtentInfo(&ext[0], &ext[1], &ext[2], &ext[3]);
    for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(ext[k], e.ext[k]) << e.file;
    MAP_PARAstruct mp;
    EXPECT_EQ(p.GetProjectionInfo(&mp), 0);
    EXPECT_EQ(double{mp.scale}, 1.0);  // stored 0, no projection
    wchar_t desc[2600];
    p.GetMpjDesc(desc);
    EXPECT_EQ(std::wstring(desc), L"NULL");
    for (int i = 0; i < 4; ++i) {
      long kind = -1;
      EXPECT_EQ(Name(p, i, &kind), e.items[i].first) << e.file << " item " << i;
      EXPECT_EQ(kind, e.items[i].second);
      double lo = -1, hi = -1;
      p.GetItemInfo(i, nullptr, &lo, &hi);
      EXPECT_EQ(lo, 0.0);
      EXPECT_EQ(hi, 0.0);
      EXPECT_EQ(Desc(p, i), L"NULL");
    }
  }
}

TEST(Project, ReadsTextsKindsAndRangesFromTheirOffsets) {
  TempDir dir;
  const std::vector<Item> items = {
      {1, "   lead.WT", "two words", 10.5, 2000.0}, {0, "", "     "},          {2, "a b.WP", "\xC7\xF8 x"},
      {7, "k7.WN", ""},                           {11, "k11", ""},               {5, "odd", ""}};
  // The table may lie behind a gap; it is read where the header says.
  MapGis_Prj p;
  ASSERT_EQ(p.LoadProject(dir.Write("a.MPJ", Project(items, 1300).Bytes()).c_str()), 6);
  double x0, y1;
  p.GetExtentInfo(&x0, nullptr, nullptr, &y1);
  EXPECT_EQ(x0, -1.5);
  EXPECT_EQ(y1, 200.75);
  MAP_PARAstruct mp;
  EXPECT_EQ(p.GetProjectionInfo(nullptr), 3);
  EXPECT_EQ(p.GetProjectionInfo(&mp), 3);
  EXPECT_EQ(double{mp.scale}, 5000.0);
  EXPECT_EQ(double{mp.centralMeridian}, 1173000.0);
  wchar_t desc[2600];
  EXPECT_EQ(p.GetMpjDesc(desc), 0);
  EXPECT_EQ(std::wstring(desc), L"地图");
  EXPECT_EQ(p.GetMpjDesc(nullptr), 0);

  const long kinds[] = {1, 3, 5, 7, 9, 0};
  const wchar_t* names[] = {L"lead.WT", L"字段名错误", L"a", L"k7.WN", L"k11", L"odd"};
  for (int i = 0; i < 6; ++i) {
    long kind = -1;
    EXPECT_EQ(Name(p, i, &kind), names[i]) << i;
    EXPECT_EQ(kind, kinds[i]) << i;
  }
  EXPECT_EQ(Desc(p, 0), L"two");
  EXPECT_EQ(Desc(p, 1), L"NULL");
  EXPECT_EQ(Desc(p, 2), L"区");
  double lo, hi;
  p.GetItemInfo(0, nullptr, &lo, &hi);
  EXPECT_EQ(lo, 10.5);
  EXPECT_EQ(hi, 2000.0);
  wchar_t whole[2600];
  EXPECT_EQ(p.GetItemFileName(2, whole), 0);
  EXPECT_EQ(std::wstring(whole), L"a b.WP");
  p.GetItemFileName(0, whole);
  EXPECT_EQ(std::wstring(whole), L"lead.WT");
}

TEST(Project, MalformedFilesAreRefusedAndKeepTheLoadedProject) {
  TempDir dir;
  MapGis_Prj p;
  ASSERT_EQ(p.LoadProject(dir.Write("ok.MPJ", Project({{1, "keep.WT", ""}}).Bytes()).c_str()), 1);

  EXPECT_EQ(p.LoadProject(dir.Write("v8", Project({}, kItems, 8).Bytes()).c_str()), MAPGIS_NOT_MAPGIS_FILE);
  EXPECT_EQ(p.LoadProject(dir.Write("v10", Project({}, kItems, 10).Bytes()).c_str()), MAPGIS_NOT_MAPGIS_FILE);
  ByteBuilder magic = Project({});
  magic.U8(4, 0x05);
  EXPECT_EQ(p.LoadProject(dir.Write("magic", magic.Bytes()).c_str()), MAPGIS_NOT_MAPGIS_FILE);
  EXPECT_EQ(p.LoadProject(testing_support::Wide(dir.File("none.MPJ")).c_str()), MAPGIS_OPEN_FAILED);
  ByteBuilder cut = Project({});
  cut.Bytes().resize(1000);
  EXPECT_EQ(p.LoadProject(dir.Write("cut", cut.Bytes()).c_str()), MAPGIS_READ_FAILED);

  // Counts and offsets the file cannot hold cost a status, not an allocation.
  ByteBuilder negative = Project({{1, "x", ""}});
  negative.I16(kHead, -1);
  EXPECT_EQ(p.LoadProject(dir.Write("neg", negative.Bytes()).c_str()), MAPGIS_READ_FAILED);
  ByteBuilder huge = Project({{1, "x", ""}});
  huge.Grow(3000);
  huge.I16(kHead, 32767);
  EXPECT_EQ(p.LoadProject(dir.Write("huge", huge.Bytes()).c_str()), MAPGIS_READ_FAILED);
  ByteBuilder before = Project({{1, "x", ""}});
  before.I32(kHead + 738, -400);
  EXPECT_EQ(p.LoadProject(dir.Write("before", before.Bytes()).c_str()), MAPGIS_READ_FAILED);
  ByteBuilder shortTable = Project({{1, "x", ""}, {1, "y", ""}});
  shortTable.Bytes().resize(kItems + 799);
  EXPECT_EQ(p.LoadProject(dir.Write("short", shortTable.Bytes()).c_str()), MAPGIS_READ_FAILED);
  EXPECT_EQ(Name(p, 0), L"keep.WT");

  EXPECT_EQ(p.LoadProject(dir.Write("empty", Project({}).Bytes()).c_str()), 0);
  EXPECT_EQ(p.GetItemInfo(0, nullptr, nullptr, nullptr), MAPGIS_READ_FAILED);
}

TEST(Project, ItemIndexesOutsideTheTableWriteNothing) {
  TempDir dir;
  MapGis_Prj p;
  EXPECT_EQ(p.SetItemInfo(0, L"x", 1, 2, 1), 0);  // nothing loaded
  ASSERT_EQ(p.LoadProject(dir.Write("a.MPJ", Project({{1, "a", "d"}, {0, "b", "e"}}).Bytes()).c_str()), 2);
  for (int bad : {-1, 2, 32767}) {
    wchar_t buf[8] = L"same";
    double lo = 7, hi = 8;
    EXPECT_EQ(p.GetItemInfo(bad, buf, &lo, &hi), MAPGIS_READ_FAILED);
    EXPECT_EQ(p.GetItemDesc(bad, buf), MAPGIS_READ_FAILED);
    EXPECT_EQ(p.GetItemFileName(bad, buf), MAPGIS_READ_FAILED);
    EXPECT_EQ(p.SetItemInfo(bad, L"z", 0, 0, 3), MAPGIS_READ_FAILED);
    EXPECT_EQ(std::wstring(buf), L"same");
    EXPECT_EQ(lo, 7);
    EXPECT_EQ(hi, 8);
  }
  EXPECT_EQ(Name(p, 0), L"a");
  EXPECT_EQ(Name(p, 1), L"b");
}

TEST(Project, SetItemInfoMapsKindsBackAndCutsLongNamesAtCharacters) {
  TempDir dir;
  MapGis_Prj p;
  ASSERT_EQ(p.LoadProject(dir.Write("a.MPJ", Project({{0, "a", ""}}).Bytes()).c_str()), 1);
  const std::pair<int, long> kinds[] = {{1, 1}, {3, 0}, {5, 2}, {7, 7}, {9, 11}, {4, 11}, {-1, 11}};
  for (const auto& k : kinds) EXPECT_EQ(p.SetItemInfo(0, nullptr, 1, 2, k.first), k.second) << k.first;
  EXPECT_EQ(Name(p, 0), L"a");  // a null name leaves it

  const std::wstring chinese(70, L'中');  // 140 GBK bytes: 63 characters fit in 127
  p.SetItemInfo(0, chinese.c_str(), 0, 0, 0);
  EXPECT_EQ(Name(p, 0), chinese.substr(0, 63));
  const std::wstring odd = L"a" + chinese;  // 1 + 126 bytes fill 127 exactly
  p.SetItemInfo(0, odd.c_str(), 0, 0, 0);
  EXPECT_EQ(Name(p, 0), odd.substr(0, 64));
  p.SetItemInfo(0, L"", 0, 0, 0);
  EXPECT_EQ(Name(p, 0), L"字段名错误");
}

TEST(Project, SaveProjectRewritesOnlyTheItemTable) {
  TempDir dir;
  const std::wstring path = dir.CopySample("jz-project/i486732jz1.MPJ");
  const auto original = ReadAll(dir.File("i486732jz1.MPJ"));
  MapGis_Prj p;
  ASSERT_EQ(p.LoadProject(path.c_str()), 4);
  EXPECT_EQ(p.SetItemInfo(2, L".\\新图层.WP", 500, 25000, 5), 2);
  ASSERT_EQ(p.SaveProject(path.c_str()), 4);

  const auto saved = ReadAll(dir.File("i486732jz1.MPJ"));
  ASSERT_EQ(saved.size(), original.size());
  const size_t item2 = kItems + 800;
  for (size_t i = 0; i < saved.size(); ++i) {
    if (i < item2 || i >= item2 + 400) {
      ASSERT_EQ(saved[i], original[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(saved[item2], 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[item2 + 2])), ".\\\xD0\xC2\xCD\xBC\xB2\xE3.WP");

  MapGis_Prj again;
  ASSERT_EQ(again.LoadProject(path.c_str()), 4);
  long kind = 0;
  EXPECT_EQ(Name(again, 2, &kind), L".\\新图层.WP");
  EXPECT_EQ(kind, 5);
  double lo, hi;
  again.GetItemInfo(2, nullptr, &lo, &hi);
  EXPECT_EQ(lo, 500);
  EXPECT_EQ(hi, 25000);
  EXPECT_EQ(Name(again, 3), L".\\JZ.WL");
}

TEST(Project, SaveProjectWritesWhereTheFileKeepsItsTableOrNotAtAll) {
  TempDir dir;
  MapGis_Prj p;
  ByteBuilder gap = Project({{1, "a", ""}, {0, "b", ""}}, 1300);
  gap.Text(kItems, "gap bytes");
  const std::wstring gapPath = dir.Write("gap.MPJ", gap.Bytes());
  ASSERT_EQ(p.LoadProject(gapPath.c_str()), 2);
  p.SetItemInfo(1, L"moved.WL", 0, 0, 3);
  ASSERT_EQ(p.SaveProject(gapPath.c_str()), 2);
  const auto saved = ReadAll(dir.File("gap.MPJ"));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[kItems])), "gap bytes");
  MapGis_Prj again;
  ASSERT_EQ(again.LoadProject(gapPath.c_str()), 2);
  EXPECT_EQ(Name(again, 0), L"a");
  EXPECT_EQ(Name(again, 1), L"moved.WL");

  // A file with fewer items, a non-project file or a table over the header
  // is left as it was.
  const auto smaller = Project({{1, "only", ""}}).Bytes();
  ByteBuilder overHeader = Project({{1, "a", ""}, {0, "b", ""}});
  overHeader.I32(kHead + 738, 12);
  const std::vector<uint8_t> notProject(4000, 'x');
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    long status;
  } refused[] = {{"small.MPJ", smaller, MAPGIS_READ_FAILED},
                 {"over.MPJ", overHeader.Bytes(), MAPGIS_READ_FAILED},
                 {"text.MPJ", notProject, MAPGIS_NOT_MAPGIS_FILE}};
  for (const auto& r : refused) {
    const std::wstring target = dir.Write(r.name, r.bytes);
    EXPECT_EQ(p.SaveProject(target.c_str()), r.status) << r.name;
    EXPECT_EQ(ReadAll(dir.File(r.name)), r.bytes) << r.name;
  }
  EXPECT_EQ(p.SaveProject(testing_support::Wide(dir.File("new.MPJ")).c_str()), MAPGIS_OPEN_FAILED);
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.MPJ")));
}
