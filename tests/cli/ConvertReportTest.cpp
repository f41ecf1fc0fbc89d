// gridmoor convert --report: a JSON document that its schema accepts for the
// demo data, the real samples and damaged files, whose counts are what GDAL
// reads from the outputs, and which is the same with -j 2 as with -j 1 but
// for the timings.
#include <gdal.h>
#include <ogrsf_frmts.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "CliHarness.h"

using namespace cli_testing;
namespace fs = std::filesystem;
using nlohmann::json;

namespace {

json ReadJson(const fs::path& p) {
  std::ifstream in(p);
  return json::parse(in);
}

// Validates a document against docs/report-schema.json with python3-jsonschema.
::testing::AssertionResult MatchesSchema(const fs::path& document) {
  const std::string command = std::string(GRIDMOOR_PYTHON3) + " " + GRIDMOOR_JSON_VALIDATOR + " " +
                              GRIDMOOR_REPORT_SCHEMA + " '" + document.string() + "'";
  if (std::system(command.c_str()) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << document << " does not match " << GRIDMOOR_REPORT_SCHEMA;
}

long long Features(const std::string& path) {
  GDALAllRegister();
  GDALDataset* ds = static_cast<GDALDataset*>(GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
  if (!ds) return -1;
  const long long n = ds->GetLayer(0)->GetFeatureCount(TRUE);
  GDALClose(ds);
  return n;
}

// The report without its timings and the run's time stamps, and with the
// output folder named "OUT".
std::string WithoutTimings(json doc, const std::string& outputFolder) {
  doc.erase("timing");
  for (json& e : doc["entries"]) e.erase("timing");
  json kept = json::array();
  for (const json& m : doc["messages"]) {
    if (m["code"] != "run_started" && m["code"] != "run_finished") kept.push_back(m);
  }
  doc["messages"] = kept;
  std::string text = doc.dump();
  for (size_t at = text.find(outputFolder); at != std::string::npos; at = text.find(outputFolder, at)) {
    text.replace(at, outputFolder.size(), "OUT");
  }
  return text;
}

}  // namespace

TEST(ConvertReport, MatchesItsSchemaAndWhatGdalReads) {
  ScratchDir dir;
  const fs::path src = dir.Path() / "src";
  fs::create_directories(src);
  fs::copy(fs::u8path(GRIDMOOR_REAL_SAMPLES), src / "real", fs::copy_options::recursive);
  fs::copy(fs::u8path(GRIDMOOR_DEMO_DIR), src / "demo", fs::copy_options::recursive);
  // Damaged copies: cut in half, and a header of zeros.
  fs::create_directories(src / "damaged");
  fs::copy_file(src / "real" / "frame" / "YZT-SLH.WL", src / "damaged" / "cut.WL");
  fs::resize_file(src / "damaged" / "cut.WL", fs::file_size(src / "damaged" / "cut.WL") / 2);
  std::ofstream(src / "damaged" / "zero.WP", std::ios::binary) << std::string(2000, '\0');
  for (const auto& e : fs::recursive_directory_iterator(src)) fs::permissions(e.path(), fs::perms::owner_all);

  for (int jobs : {1, 2}) {
    const fs::path out = dir.Path() / ("out" + std::to_string(jobs));
    fs::create_directories(out);
    const fs::path report = dir.Path() / ("report" + std::to_string(jobs) + ".json");
    const CliResult run = RunGridmoor({"convert", src.string(), "-q", "-j", std::to_string(jobs), "-o", out.string(),
                                       "--lib", (src / "real" / "colour").string(), "--on-clash", "rename",
                                       "--set", "ExportProjection=0", "--set", "SymbolType=2", "--report",
                                       report.string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;  // the damaged and the missing files fail
    ASSERT_TRUE(MatchesSchema(report));
  }
  const json one = ReadJson(dir.Path() / "report1.json");
  const json two = ReadJson(dir.Path() / "report2.json");
  EXPECT_EQ(one["exit_status"], 1);
  EXPECT_GT(one["summary"]["done"].get<int>(), 10);
  EXPECT_GT(one["summary"]["failed"].get<int>(), 0);
  EXPECT_EQ(WithoutTimings(one, (dir.Path() / "out1").string()), WithoutTimings(two, (dir.Path() / "out2").string()));

  // What a layer reports written is what GDAL reads from its file.
  int checked = 0;
  for (const json& entry : one["entries"]) {
    for (const json& layer : entry["layers"]) {
      const std::string shp = layer["result"].get<std::string>() + ".shp";
      if (layer["status"] != 99999 || !fs::exists(shp)) continue;
      EXPECT_EQ(Features(shp), layer["written"].get<long long>()) << shp;
      ++checked;
    }
  }
  EXPECT_GT(checked, 10);
}

TEST(ConvertReport, ToStdoutWithTheLogOnStderr) {
  ScratchDir dir;
  const std::string line = dir.CopySample("frame/YZT-SLH.WL");
  fs::create_directories(dir.Path() / "out");
  const CliResult run = RunGridmoor({"convert", line, "-o", (dir.Path() / "out").string(), "--set",
                                     "ExportProjection=0", "--report", "-"});
  EXPECT_EQ(run.exitCode, 0);
  const json doc = json::parse(run.out);
  ASSERT_EQ(doc["entries"].size(), 1u);
  EXPECT_EQ(doc["entries"][0]["result"], "done");
  EXPECT_EQ(doc["entries"][0]["layers"][0]["records"]["slots"], 188);
  EXPECT_EQ(doc["entries"][0]["layers"][0]["records"]["live"], 129);
  EXPECT_EQ(doc["entries"][0]["layers"][0]["records"]["deleted"], 59);
  EXPECT_TRUE(Contains(run.err, ">----结束转换[全部正确转换(129/129)]"));
}

// A point file split into sub-pictures and annotations, with no sub-picture:
// its main result is empty, counted as an empty file, and the run exits 0.
TEST(ConvertReport, AnEmptyResultIsCountedEmptyAndExitsZero) {
  ScratchDir dir;
  const std::string points = dir.CopySample("jz-project/JZ.WT");
  fs::create_directories(dir.Path() / "out");
  const CliResult run = RunGridmoor({"convert", points, "-o", (dir.Path() / "out").string(), "--set",
                                     "ExportAnnotation=1", "--set", "ExportProjection=0", "--report", "-"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, "转换完成：0个完成,1个空文件,0个跳过,0个失败"));
  const json doc = json::parse(run.out);
  EXPECT_EQ(doc["entries"][0]["result"], "empty");
  EXPECT_EQ(doc["entries"][0]["status"], 10);
  EXPECT_EQ(doc["summary"]["empty"], 1);
}
