// gridmoor convert --format gpkg as a person uses it: a GeoPackage per input
// (a project's layers in the project's) or one for the whole run, the same
// with two jobs, read by GDAL's own tools and its GeoPackage validation.
#include <cstdlib>
#include <filesystem>

#include "CliHarness.h"

using namespace cli_testing;
namespace fs = std::filesystem;

namespace {

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

}  // namespace

TEST(GeoPackageCli, PerInputOrOneForTheRunReadByGdalTools) {
  ScratchDir dir;
  std::vector<std::string> inputs = {dir.CopySample("jz-project/i486732jz1.MPJ"), dir.CopySample("tables/区.WB")};
  for (const char* layer : {"JZ.WT", "JZ.WL", "I486732TK.WL", "I486732TK.WT"}) {
    dir.CopySample(std::string("jz-project/") + layer);
  }
  auto run = [&](std::vector<std::string> options) {
    std::vector<std::string> args = {"convert", "-q", "--on-clash", "rename", "--set", "ExportProjection=0"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), inputs.begin(), inputs.end());
    return RunGridmoor(args);
  };
  const fs::path out = dir.Path() / "out";
  fs::create_directories(out);
  ASSERT_EQ(run({"--format", "gpkg", "-o", out.string()}).exitCode, 0);
  auto layers = GeoPackageLayers(out / "i486732jz1.gpkg");
  // The index and its table, and the project's four layers: JZ (points), then JZ_L0 (lines of the same name).
  EXPECT_EQ(layers.size(), 6u);
  EXPECT_EQ(layers["i486732jz1_CSV"], 5);
  EXPECT_EQ(layers["JZ_L0"], 129);
  const auto table = GeoPackageLayers(out / fs::u8path("区.gpkg"));
  ASSERT_EQ(table.size(), 1u);
  layers.insert(table.begin(), table.end());

  // Every result in one GeoPackage, by the stored setting; one job or two.
  ASSERT_EQ(run({"--set", "OutputFormat=1", "-j", "2", "-o", (out / "one.gpkg").string()}).exitCode, 0);
  ASSERT_EQ(run({"-o", (out / "serial.gpkg").string()}).exitCode, 0);
  EXPECT_EQ(GeoPackageLayers(out / "one.gpkg"), layers);
  EXPECT_EQ(GeoPackageLayers(out / "serial.gpkg"), layers);

  EXPECT_EQ(Shell("ogrinfo -ro -al " + (out / "one.gpkg").string()), 0);
  EXPECT_EQ(Shell("ogr2ogr -f GPKG " + (out / "copy.gpkg").string() + " " + (out / "one.gpkg").string()), 0);
  EXPECT_EQ(GeoPackageLayers(out / "copy.gpkg"), layers);
  EXPECT_EQ(Shell("/usr/bin/python3 -m osgeo_utils.samples.validate_gpkg " + (out / "one.gpkg").string()), 0);

  EXPECT_EQ(run({"--format", "gpkg", "-o", (dir.Path() / "missing" / "x.gpkg").string()}).exitCode, 2);
  EXPECT_TRUE(Contains(RunGridmoor({"convert", "--help"}).out, "does not apply to GeoPackage"));
}
