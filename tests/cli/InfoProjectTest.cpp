// gridmoor info on project files: the real projects, projects written here
// byte by byte, and damaged ones, which must fail alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "CliHarness.h"

using cli_testing::CliResult;
using cli_testing::Contains;
using cli_testing::LineStarting;
using cli_testing::RunGridmoor;
using cli_testing::ScratchDir;
using testing_support::ByteBuilder;

namespace {

using Bytes = std::vector<uint8_t>;

struct Item {
  int8_t kind;
  std::string name;         // GBK bytes
  std::string description;  // GBK bytes
  double displayMin;
  double displayMax;
};

// A project file: magic and version, the header from byte 12 (item count,
// extent, item table offset at 750, projection at 816, description at 985),
// and 400-byte items from `tableOffset`.
ByteBuilder Project(const std::vector<Item>& items, int32_t tableOffset = 1113) {
  ByteBuilder b(1113);
  b.Text(0, "WMAP`D2:").I32(8, 9).I16(12, static_cast<int16_t>(items.size()));
  b.F64(14, -1.5).F64(22, 2.25).F64(30, 1000.125).F64(38, 2000.0);
  b.I32(750, tableOffset);
  for (size_t i = 0; i < items.size(); ++i) {
    const size_t o = static_cast<size_t>(tableOffset) + 400 * i;
    b.Grow(o + 400);
    b.Put<int8_t>(o, items[i].kind).Text(o + 2, items[i].name).Text(o + 130, items[i].description);
    b.F64(o + 324, items[i].displayMin).F64(o + 332, items[i].displayMax);
  }
  return b;
}

Bytes SampleBytes(const std::string& relative) {
  std::ifstream in(std::filesystem::u8path(GRIDMOOR_REAL_SAMPLES) / std::filesystem::u8path(relative),
                   std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(InfoProject, RealProjectsListEveryItem) {
  ScratchDir dir;
  std::string folder;
  for (const char* layer : {"JZ.WT", "JZ.WL", "I486732TK.WL", "I486732TK.WT", "JZ-FINAL.WL"}) {
    const std::string copy = dir.CopySample(std::string("jz-project/") + layer);
    folder = copy.substr(0, copy.size() - std::string(layer).size());
  }
  const CliResult r = RunGridmoor({"info", dir.CopySample("jz-project/i486732jz1.MPJ"),
                                   dir.CopySample("jz-project/i486732jz.MPJ")});
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  EXPECT_TRUE(Contains(r.out, "i486732jz1.MPJ\n  status: 4 items loaded\n  kind: project file, version 9\n"
                              "  extent: xmin -3.556916, ymin 110.611188, xmax 206.672157, ymax 245.809320\n"));
  EXPECT_TRUE(Contains(r.out,
                       "  items: 4\n"
                       "    item 0: kind 1 point file\n"
                       "      stored name: \".\\\\JZ.WT\"\n"
                       "      resolved: \"" + folder + "JZ.WT\", present\n"
                       "      first word: \".\\\\JZ.WT\"\n"
                       "      description: \"NULL\"\n"
                       "      display scale: 0 to 0\n"
                       "    item 1: kind 3 line file\n"
                       "      stored name: \".\\\\I486732TK.WL\"\n"));
  EXPECT_TRUE(Contains(r.out, "    item 2: kind 1 point file\n      stored name: \".\\\\I486732TK.WT\"\n"));
  EXPECT_TRUE(Contains(r.out, "    item 3: kind 3 line file\n      stored name: \".\\\\JZ.WL\"\n"));
  // The second project names a layer that is not there; listing it is no failure.
  EXPECT_TRUE(Contains(r.out, "    item 0: kind 3 line file\n      stored name: \".\\\\JZ-FINAL.WL\"\n"));
  EXPECT_TRUE(Contains(r.out, "    item 1: kind 1 point file\n      stored name: \".\\\\JZ2.WT\"\n"
                              "      resolved: \"" + folder + "JZ2.WT\", missing\n"));
  EXPECT_EQ(LineStarting(r.out, "coordType:"), "coordType: 0 no projection information");
  EXPECT_TRUE(Contains(r.out, "files: 2, read 2, failed 0\n"));
}

TEST(InfoProject, FixtureKindsNamesDescriptionsAndProjection) {
  const std::vector<Item> items = {
      {1, "  D:\\\xCA\xFD\xBE\xDD\\my points.WT  ", "   ", 500.0, 250000.5},  // D:\数据\my points.WT
      {0, "LINES.wl", "\xCD\xBC\xB2\xE3 \xCB\xB5\xC3\xF7", 0, 0},              // 图层 说明
      {2, "areas.WP", "", 0, 0},
      {7, "seven", "", 0, 0},
      {11, "eleven", "", 0, 0},
      {4, "", "", 0, 0},
  };
  // The item table lies away from the header, behind bytes of another use.
  ByteBuilder b = Project(items, 1500);
  b.Text(1113, "not an item");
  b.Text(985, "\xCD\xC1\xB5\xD8 \xC0\xFB\xD3\xC3");  // 土地 利用
  b.Put<int8_t>(816, 3).Put<int8_t>(817, 2).Put<int8_t>(834, 5).Put<int8_t>(835, 1);
  b.F64(868, 0.0005).F64(876, 1173000.0).F64(900, 341000.0);

  ScratchDir dir;
  const std::string lines = dir.Write("lines.WL", {});
  const CliResult r = RunGridmoor({"info", dir.Write("工程.MPJ", b.Bytes())});
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  EXPECT_EQ(LineStarting(r.out, "status:"), "status: 6 items loaded");
  EXPECT_EQ(LineStarting(r.out, "extent:"), "extent: xmin -1.500000, ymin 2.250000, xmax 1000.125000, ymax 2000.000000");
  EXPECT_EQ(LineStarting(r.out, "coordType:"), "coordType: 3 projected");
  EXPECT_EQ(LineStarting(r.out, "unit:"), "unit: 2 Meter");
  EXPECT_EQ(LineStarting(r.out, "projType:"), "projType: 5");
  // A scale below 0.001 is reported as 1, as the converters will use it.
  EXPECT_EQ(LineStarting(r.out, "scale:"), "scale: 1");
  EXPECT_EQ(LineStarting(r.out, "centralMeridian:"), "centralMeridian: 1173000.000000 (117.5000000000 deg)");
  EXPECT_EQ(LineStarting(r.out, "description (first word):"), "description (first word): \"土地\"");
  EXPECT_TRUE(Contains(r.out,
                       "    item 0: kind 1 point file\n"
                       "      stored name: \"D:\\\\数据\\\\my points.WT\"\n"
                       "      resolved: \"" + lines.substr(0, lines.size() - 8) + "my points.WT\", missing\n"
                       "      first word: \"D:\\\\数据\\\\my\"\n"
                       "      description: \"NULL\"\n"
                       "      display scale: 500 to 250000.5\n"
                       "    item 1: kind 3 line file\n"
                       "      stored name: \"LINES.wl\"\n"
                       "      resolved: \"" + lines + "\", present\n"
                       "      first word: \"LINES.wl\"\n"
                       "      description: \"图层\"\n"));
  EXPECT_TRUE(Contains(r.out, "    item 2: kind 5 polygon file\n"));
  EXPECT_TRUE(Contains(r.out, "    item 3: kind 7 stored kind 7, passed through\n"));
  EXPECT_TRUE(Contains(r.out, "    item 4: kind 9 stored kind 11, passed through\n"));
  // An item without a name: the reader's placeholder for the first word.
  EXPECT_TRUE(Contains(r.out,
                       "    item 5: kind 0 unknown kind\n"
                       "      stored name: \"\"\n"
                       "      resolved: none (the item names no file)\n"
                       "      first word: \"字段名错误\"\n"));
  EXPECT_FALSE(Contains(r.out, "item 6:"));
}

TEST(InfoProject, ProjectWithoutItemsAndOneFoundByItsMagic) {
  ScratchDir dir;
  // A project is recognised by its magic whatever its name.
  const CliResult r = RunGridmoor({"info", dir.Write("empty.MPJ", Project({}).Bytes()),
                                   dir.Write("renamed.dat", Project({{1, "p.WT", "", 0, 0}}).Bytes())});
  ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
  EXPECT_TRUE(Contains(r.out, "empty.MPJ\n  status: 0 items loaded\n"));
  EXPECT_TRUE(Contains(r.out, "  items: 0\n\nfile: "));
  EXPECT_TRUE(Contains(r.out, "renamed.dat\n  status: 1 items loaded\n"));
  EXPECT_TRUE(Contains(r.out, "      stored name: \"p.WT\"\n"));
}

TEST(InfoProject, DamagedProjectsFailAloneAndTheOthersAreReported) {
  const Bytes real = SampleBytes("jz-project/i486732jz1.MPJ");
  ASSERT_EQ(real.size(), 3177u);

  ByteBuilder version8 = Project({});
  version8.I32(8, 8);
  ByteBuilder negative = Project({});
  negative.I16(12, -1);
  // A count the file cannot hold is refused before anything is allocated.
  ByteBuilder huge = Project({{1, "p.WT", "", 0, 0}});
  huge.I16(12, 32767);
  ByteBuilder pastEnd = Project({{1, "p.WT", "", 0, 0}});
  pastEnd.I32(750, 0x7FFFFF00);

  ScratchDir dir;
  const CliResult r = RunGridmoor({
      "info",
      dir.Write("items-cut.MPJ", Bytes(real.begin(), real.begin() + 1500)),
      dir.Write("head-cut.MPJ", Bytes(real.begin(), real.begin() + 600)),
      dir.Write("magic-only.MPJ", Bytes(real.begin(), real.begin() + 6)),
      dir.Write("version8.MPJ", version8.Bytes()),
      dir.Write("negative.MPJ", negative.Bytes()),
      dir.Write("huge.MPJ", huge.Bytes()),
      dir.Write("past-end.MPJ", pastEnd.Bytes()),
      dir.CopySample("jz-project/JZ.WL"),
  });
  EXPECT_EQ(r.exitCode, 1) << r.err;
  const std::string readFailed =
      "  status: -9983 read failed (the header or the item table is cut short or out of range)\n\nfile: ";
  for (const char* name : {"items-cut", "head-cut", "magic-only", "negative", "huge", "past-end"}) {
    EXPECT_TRUE(Contains(r.out, std::string(name) + ".MPJ\n" + readFailed)) << name;
  }
  EXPECT_TRUE(Contains(r.out, "version8.MPJ\n  status: -9997 not a project file (magic or version wrong)\n"));
  EXPECT_TRUE(Contains(r.out, "JZ.WL\n  status: 99999 success\n  kind: 0 line file\n"));
  EXPECT_TRUE(Contains(r.out, "files: 8, read 1, failed 7\n"));
  // Nothing on stderr: a sanitizer report would land there.
  EXPECT_EQ(r.err, "");
}

TEST(InfoProject, ALayerNamedLikeAProjectIsNotReadAsALayer) {
  ScratchDir dir;
  const std::string layer = dir.CopySample("jz-project/JZ.WT");
  const std::string renamed = layer.substr(0, layer.size() - 2) + "MPJ";
  std::filesystem::rename(std::filesystem::u8path(layer), std::filesystem::u8path(renamed));
  const CliResult r = RunGridmoor({"info", renamed});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.out, "  status: -9997 not a project file (magic or version wrong)\n"));
}
