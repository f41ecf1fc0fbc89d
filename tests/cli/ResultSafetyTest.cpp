// Results are whole or absent under their final names: a run into a folder
// too small for it fails the entries that did not fit and leaves only whole
// files, and a run killed at any moment leaves either no result or a whole one.
#include <gdal.h>
#include <ogrsf_frmts.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

#include "CliHarness.h"

using namespace cli_testing;
namespace fs = std::filesystem;

extern char** environ;

namespace {

// Features of a shapefile or rows of a table as GDAL reads them; -1 when it does not open.
long long FeatureCount(const fs::path& file) {
  static const bool registered = [] {
    GDALAllRegister();
    return true;
  }();
  (void)registered;
  GDALDataset* ds = static_cast<GDALDataset*>(GDALOpenEx(file.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
  if (!ds) return -1;
  OGRLayer* layer = ds->GetLayer(0);
  const long long n = layer ? layer->GetFeatureCount(TRUE) : -1;
  GDALClose(ds);
  return n;
}

// Feature counts of every result (.shp, or .dbf without a .shp) in a folder, by file stem.
std::map<std::string, long long> Results(const fs::path& folder) {
  std::map<std::string, long long> counts;
  for (const auto& e : fs::directory_iterator(folder)) {
    const fs::path p = e.path();
    if (p.extension() == ".shp" || (p.extension() == ".dbf" && !fs::exists(fs::path(p).replace_extension(".shp")))) {
      counts[p.stem().u8string()] = FeatureCount(p);
    }
  }
  return counts;
}

// Stems of every file under a final name (hidden temporaries aside).
std::map<std::string, int> FilesByStem(const fs::path& folder) {
  std::map<std::string, int> stems;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().u8string();
    if (name[0] != '.') ++stems[e.path().stem().u8string()];
  }
  return stems;
}

// Every result left is one of the reference's, with the reference's count.
void ExpectWhole(const std::map<std::string, long long>& left, const std::map<std::string, long long>& whole) {
  for (const auto& [name, count] : left) {
    ASSERT_TRUE(whole.count(name)) << name;
    EXPECT_EQ(count, whole.at(name)) << name;
  }
}

int HiddenTemporaries(const fs::path& folder) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(folder)) n += e.path().filename().u8string().rfind(".gridmoor-", 0) == 0;
  return n;
}

// A small tmpfs mounted for the test's life; Mounted() is false where the
// test may not mount (not root, or no permission in this container).
class SmallFilesystem {
 public:
  SmallFilesystem(const fs::path& where, const char* size) : where_(where) {
    fs::create_directories(where);
    mounted_ = geteuid() == 0 && mount("tmpfs", where.c_str(), "tmpfs", 0, size) == 0;
  }
  ~SmallFilesystem() {
    if (mounted_) umount(where_.c_str());
  }
  bool Mounted() const { return mounted_; }

 private:
  fs::path where_;
  bool mounted_ = false;
};

pid_t Start(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {GRIDMOOR_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

const std::vector<std::string> kRealLayers = {"frame/YZT-SLH.WL", "frame/图框.WP",      "frame/图框.WL",
                                              "frame/图例.WT",    "frame/图例.WL",      "jz-project/JZ.WT",
                                              "jz-project/JZ.WL", "jz-project/JZ-FINAL.WL", "jz-project/I486732TK.WL",
                                              "jz-project/I486732TK.WT", "tables/区.WB", "tables/点.WB"};

}  // namespace

TEST(ResultSafety, AFullFilesystemFailsTheEntriesThatDidNotFitAndLeavesOnlyWholeFiles) {
  ScratchDir dir;
  fs::create_directories(dir.Path() / "src");
  fs::create_directories(dir.Path() / "roomy");
  for (const std::string& f : kRealLayers) {
    fs::copy_file(dir.CopySample(f), dir.Path() / "src" / fs::u8path(f).filename());
  }
  const std::string src = (dir.Path() / "src").u8string();
  const CliResult reference = RunGridmoor({"convert", "--mode", "quick", "-q", "-o", (dir.Path() / "roomy").u8string(),
                                           "--on-clash", "rename", src});
  ASSERT_EQ(reference.exitCode, 0) << reference.out << reference.err;
  const auto whole = Results(dir.Path() / "roomy");

  SmallFilesystem small(dir.Path() / "small", "size=400k");
  if (!small.Mounted()) GTEST_SKIP() << "a tmpfs cannot be mounted here (the test needs root)";
  const CliResult run = RunGridmoor({"convert", "--mode", "quick", "-o", (dir.Path() / "small").u8string(),
                                     "--on-clash", "rename", "--list-out", (dir.Path() / "list.txt").u8string(), src});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  std::ifstream list(dir.Path() / "list.txt");
  const std::string listed((std::istreambuf_iterator<char>(list)), {});
  size_t failed = 0;
  for (size_t at = listed.find("失败"); at != std::string::npos; at = listed.find("失败", at + 1)) ++failed;
  EXPECT_GT(failed, 0u);
  size_t errors = 0;
  for (size_t at = run.out.find("------E__无法"); at != std::string::npos; at = run.out.find("------E__无法", at + 1)) {
    ++errors;
  }
  EXPECT_GE(errors, failed);
  EXPECT_TRUE(Contains(run.out, "No space left on device"));

  // What is under a final name is whole: the reference's count of features.
  const auto left = Results(dir.Path() / "small");
  EXPECT_FALSE(left.empty());
  EXPECT_LT(left.size(), whole.size());
  ExpectWhole(left, whole);
  EXPECT_EQ(HiddenTemporaries(dir.Path() / "small"), 0);
}

TEST(ResultSafety, AKilledRunLeavesNoResultOrAWholeOne) {
  ScratchDir dir;
  const fs::path inputs = dir.Path() / "inputs";
  ASSERT_EQ(std::system((std::string(GRIDMOOR_BENCH_INPUTS) + " " + inputs.string() + " 0.05 >/dev/null").c_str()), 0);
  const std::vector<std::string> sources = {(inputs / "lines.WL").string(), (inputs / "points.WT").string()};
  auto args = [&](const fs::path& out) {
    std::vector<std::string> a = {"convert"};
    a.insert(a.end(), sources.begin(), sources.end());
    for (const char* option : {"-q", "-o", "", "--on-clash", "overwrite", "--set", "SymbolType=2", "--set",
                               "ExportProjection=0"}) {
      a.push_back(*option ? option : out.string());
    }
    return a;
  };
  fs::create_directories(dir.Path() / "reference");
  ASSERT_EQ(RunGridmoor(args(dir.Path() / "reference")).exitCode, 0);
  const auto whole = Results(dir.Path() / "reference");
  ASSERT_EQ(whole.size(), 2u);

  for (int delayMs : {30, 120, 250, 400, 600, 900}) {
    SCOPED_TRACE(delayMs);
    const fs::path out = dir.Path() / ("out" + std::to_string(delayMs));
    fs::create_directories(out);
    const pid_t pid = Start(args(out));
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    // Every result under a final name is whole, with all of its files.
    const auto left = Results(out);
    for (const auto& [stem, count] : left) EXPECT_EQ(count, whole.at(stem)) << stem;
    // .shp .shx .dbf .cpg .qml .sld
    for (const auto& [stem, files] : FilesByStem(out)) EXPECT_EQ(files, 6) << stem;

    // The next run into the folder removes what the killed one left.
    ASSERT_EQ(RunGridmoor(args(out)).exitCode, 0);
    EXPECT_EQ(HiddenTemporaries(out), 0);
    EXPECT_EQ(Results(out), whole);
  }
}

TEST(ResultSafety, AGeoPackageTooSmallForItsLayersKeepsTheWholeOnes) {
  ScratchDir dir;
  std::vector<std::string> sources;
  for (const std::string& f : kRealLayers) sources.push_back(dir.CopySample(f));
  auto args = [&](const fs::path& out) {
    std::vector<std::string> a = {"convert", "--mode", "quick", "--on-clash", "rename", "-o", out.u8string()};
    a.insert(a.end(), sources.begin(), sources.end());
    return a;
  };
  fs::create_directories(dir.Path() / "roomy");
  ASSERT_EQ(RunGridmoor(args(dir.Path() / "roomy" / "all.gpkg")).exitCode, 0);
  const auto whole = GeoPackageLayers(dir.Path() / "roomy" / "all.gpkg");

  SmallFilesystem small(dir.Path() / "small", "size=300k");
  if (!small.Mounted()) GTEST_SKIP() << "a tmpfs cannot be mounted here (the test needs root)";
  const CliResult run = RunGridmoor(args(dir.Path() / "small" / "all.gpkg"));
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_TRUE(Contains(run.out, "------E__无法写入结果文件[" + (dir.Path() / "small" / "all.gpkg").u8string()));
  const auto left = GeoPackageLayers(dir.Path() / "small" / "all.gpkg");
  EXPECT_FALSE(left.empty());
  EXPECT_LT(left.size(), whole.size());
  ExpectWhole(left, whole);
  EXPECT_EQ(HiddenTemporaries(dir.Path() / "small"), 0);
}

TEST(ResultSafety, AKilledRunLeavesAGeoPackageWithItsCompleteLayers) {
  ScratchDir dir;
  const fs::path inputs = dir.Path() / "inputs";
  ASSERT_EQ(std::system((std::string(GRIDMOOR_BENCH_INPUTS) + " " + inputs.string() + " 0.05 >/dev/null").c_str()), 0);
  auto args = [&](const fs::path& out) {
    return std::vector<std::string>{"convert", (inputs / "lines.WL").string(), (inputs / "points.WT").string(),
                                    (inputs / "polygons.WP").string(), "-q", "-o", out.string(), "--on-clash",
                                    "overwrite", "--set", "SymbolType=2"};
  };
  fs::create_directories(dir.Path() / "reference");
  ASSERT_EQ(RunGridmoor(args(dir.Path() / "reference" / "all.gpkg")).exitCode, 0);
  const auto whole = GeoPackageLayers(dir.Path() / "reference" / "all.gpkg");
  ASSERT_EQ(whole.size(), 3u);

  for (int delayMs : {30, 150, 300, 500, 800, 1200}) {
    SCOPED_TRACE(delayMs);
    const fs::path out = dir.Path() / ("out" + std::to_string(delayMs));
    fs::create_directories(out);
    const pid_t pid = Start(args(out / "all.gpkg"));
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    // The GeoPackage opens with the layers that were complete.
    ExpectWhole(GeoPackageLayers(out / "all.gpkg"), whole);
    ASSERT_EQ(RunGridmoor(args(out / "all.gpkg")).exitCode, 0);
    EXPECT_EQ(GeoPackageLayers(out / "all.gpkg"), whole);
    EXPECT_EQ(HiddenTemporaries(out), 0);
    EXPECT_FALSE(fs::exists(out / "all.gpkg-journal"));
  }
}
