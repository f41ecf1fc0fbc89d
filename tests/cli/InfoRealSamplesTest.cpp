// gridmoor info on copies of real MapGIS files: the facts a person checks
// first, readable Chinese text, and the exit status.
#include <gtest/gtest.h>

#include <string>

#include "CliHarness.h"

using cli_testing::CliResult;
using cli_testing::RunGridmoor;
using cli_testing::ScratchDir;
using cli_testing::Contains;
using cli_testing::LineStarting;

TEST(InfoRealSamples, AnnotationLayerCountsAndChineseFieldNames) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", dir.CopySample("jz-project/JZ.WT")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(LineStarting(r.out, "status:"), "status: 99999 success");
  EXPECT_EQ(LineStarting(r.out, "kind:"), "kind: 1 point file");
  EXPECT_EQ(LineStarting(r.out, "points:"), "points: 95 live in 95 slots");
  EXPECT_EQ(LineStarting(r.out, "attribute table 1"), "attribute table 1 (point attributes): 10 fields, 95 records");
  EXPECT_EQ(LineStarting(r.out, "field 1:"), "field 1: \"点号\", type 0 string, width 41, display 40, decimals 0");
  EXPECT_TRUE(Contains(LineStarting(r.out, "field 9:"), "\"点状要素编码\""));
  // Without --records no record is listed.
  EXPECT_FALSE(Contains(r.out, "record 0:"));
  EXPECT_FALSE(Contains(r.out, "point records"));
}

TEST(InfoRealSamples, UncompactedFilesAreFlagged) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", dir.CopySample("frame/YZT-SLH.WL"), dir.CopySample("frame/图框.WP"),
                                   dir.CopySample("jz-project/JZ.WL")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "  lines: 129 live in 188 slots, not compacted\n"));
  EXPECT_TRUE(Contains(r.out, "  polygons: 1 live in 2 slots, not compacted\n"));
  // A compacted table carries no hint.
  EXPECT_TRUE(Contains(r.out, "  lines: 129 live in 129 slots\n"));
  EXPECT_TRUE(Contains(r.out, "files: 3, read 3, failed 0"));
}

TEST(InfoRealSamples, PolygonWithHoleProjectionAndDeletedSlot) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", "--records", "5", dir.CopySample("frame/图框.WP")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(LineStarting(r.out, "coordType:"), "coordType: 3 projected");
  EXPECT_EQ(LineStarting(r.out, "centralMeridian:"), "centralMeridian: 1050000.000000 (105.0000000000 deg)");
  EXPECT_EQ(LineStarting(r.out, "originLatitude:"), "originLatitude: 341000.000000 (34.1666666667 deg)");
  // --records 5 on a two-slot table lists both slots, the first of them deleted.
  EXPECT_TRUE(Contains(r.out, "  polygon records (first 2 of 2 slots):\n    0: deleted\n"
                               "    1: rings 2, vertices 10, fill colour 260, pattern 14, layer 0\n"));
  // Both attribute tables of a polygon file, with their Chinese field names.
  EXPECT_EQ(LineStarting(r.out, "attribute table 0"), "attribute table 0 (arc attributes): 2 fields, 2 records");
  EXPECT_EQ(LineStarting(r.out, "attribute table 2"), "attribute table 2 (polygon attributes): 3 fields, 2 records");
  EXPECT_TRUE(Contains(r.out, "      面积: 37414973.8209991\n"));
}

TEST(InfoRealSamples, TableFileWithDateField) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", "--records", "1", dir.CopySample("tables/区.WB")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(LineStarting(r.out, "kind:"), "kind: 7 attribute table file");
  EXPECT_EQ(LineStarting(r.out, "attribute table 7"), "attribute table 7 (table): 22 fields, 1 records");
  EXPECT_EQ(LineStarting(r.out, "field 17:"), "field 17: \"变更时间\", type 6 date, width 4, display 10, decimals 0");
  EXPECT_EQ(LineStarting(r.out, "field 8:"), "field 8: \"争议代码\", type 0 string, width 161, display 160, decimals 0");
  EXPECT_EQ(LineStarting(r.out, "变更时间:"), "变更时间: 0000-00-00");
  // The bytes where a layer keeps its tic directory belong to the table here.
  EXPECT_EQ(LineStarting(r.out, "tics:"), "tics: not used by attribute table files");
}

TEST(InfoRealSamples, AnnotationTextPrintsAsUtf8) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", "--records", "2", dir.CopySample("frame/图例.WT")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "file: " + dir.CopySample("frame/图例.WT") + "\n"));
  EXPECT_TRUE(Contains(LineStarting(r.out, "0: x"), ", kind 0 annotation, colour 1, layer 0, text \"图例\", height 100"));
  EXPECT_TRUE(Contains(LineStarting(r.out, "1: x"), "text \"礼县土地利用图\""));
}

TEST(InfoRealSamples, ForeignFileFailsAndTheOthersAreStillReported) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", dir.CopySample("unsupported/Fram_1.wt"), dir.CopySample("frame/图框.WL"),
                                   dir.Write("empty.WL", {})});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.out, "Fram_1.wt\n  status: -9997 not a MapGIS file\n"));
  // A failed file prints only its status.
  EXPECT_TRUE(Contains(r.out, "Fram_1.wt\n  status: -9997 not a MapGIS file\n\nfile: "));
  EXPECT_TRUE(Contains(r.out, "图框.WL\n  status: 99999 success\n  kind: 0 line file\n"));
  EXPECT_TRUE(Contains(r.out, "empty.WL\n  status: -9983 read failed or index out of range\n"));
  EXPECT_TRUE(Contains(r.out, "files: 3, read 1, failed 2\n"));
}

TEST(InfoRealSamples, MissingFileFails) {
  ScratchDir dir;
  const CliResult r = RunGridmoor({"info", dir.Write("present.WB", {}) + ".missing"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.out, "  status: -9996 open failed\n"));
}

TEST(InfoUsage, UsageErrorsExitTwoAndHelpNamesTheStatuses) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"info"}, {"info", "--records", "-1", "x.WT"}, {"info", "--records", "many", "x.WT"},
           {"info", "--no-such-option", "x.WT"}, {"convert-everything"}}) {
    const CliResult r = RunGridmoor(args);
    EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args);
    EXPECT_EQ(r.out.find("file:"), std::string::npos) << "nothing is reported on a usage error";
    EXPECT_FALSE(r.err.empty());
  }
  const CliResult help = RunGridmoor({"info", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.out, "--records"));
  EXPECT_TRUE(Contains(help.out, "Exit status: 0 when every file was read, 1 when some file could not be read, 2 for"));
}
