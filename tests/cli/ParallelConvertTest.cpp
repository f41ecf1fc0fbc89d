// gridmoor convert -j N against -j 1 on two copies of the real samples: the
// printed log, the exit status and every written byte agree.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "CliHarness.h"

namespace fs = std::filesystem;
using cli_testing::CliResult;
using cli_testing::Contains;
using cli_testing::RunGridmoor;

namespace {

class TwoCopies {
 public:
  TwoCopies() {
    std::string pattern = (fs::temp_directory_path() / "gridmoor-parallel-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    for (const char* side : {"a", "b"}) {
      fs::copy(fs::u8path(GRIDMOOR_REAL_SAMPLES), root_ / side, fs::copy_options::recursive);
      for (const auto& e : fs::recursive_directory_iterator(root_ / side)) {
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
      }
    }
  }
  ~TwoCopies() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path Side(const char* side) const { return root_ / side; }

 private:
  fs::path root_;
};

// The printed log with the copy's folder replaced and the clock lines dropped.
std::string Normalised(const std::string& out, const std::string& folder) {
  std::string result;
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    std::string line = out.substr(start, end - start);
    start = end + 1;
    if (line.find("开始时间") != std::string::npos || line.find("结束时间") != std::string::npos) continue;
    for (size_t at = line.find(folder); at != std::string::npos; at = line.find(folder, at)) line.replace(at, folder.size(), "DIR");
    result += line + "\n";
  }
  return result;
}

std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    files[fs::relative(e.path(), root).u8string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

CliResult Convert(const fs::path& side, const std::string& jobs, const std::string& clash) {
  return RunGridmoor({"convert", "-j", jobs, "--set", "SymbolType=2", "--set", "ExportPolyArc=1", "--set",
                      "ExportAnnotation=1", "--on-clash", clash, "--lib", (side / "colour").string(), side.string()});
}

}  // namespace

TEST(ParallelConvert, TwoJobsPrintAndWriteWhatOneJobDoes) {
  TwoCopies copies;
  const fs::path a = copies.Side("a"), b = copies.Side("b");
  // The second pair of runs meets every earlier result and renames.
  for (const char* clash : {"rename", "rename", "skip", "overwrite"}) {
    const CliResult one = Convert(a, "1", clash);
    const CliResult two = Convert(b, "2", clash);
    EXPECT_EQ(one.exitCode, two.exitCode) << clash;
    EXPECT_EQ(Normalised(one.out, a.string()), Normalised(two.out, b.string())) << clash;
    EXPECT_TRUE(Contains(two.out, ">====================转换完成："));
  }
  const auto treeA = Tree(a), treeB = Tree(b);
  EXPECT_GT(treeA.size(), 60u);
  ASSERT_EQ(treeA.size(), treeB.size());
  for (const auto& [name, bytes] : treeA) {
    const auto it = treeB.find(name);
    ASSERT_NE(it, treeB.end()) << name;
    EXPECT_TRUE(it->second == bytes) << name << " differs";
  }
}

TEST(ParallelConvert, JobCountIsChecked) {
  TwoCopies copies;
  EXPECT_EQ(RunGridmoor({"convert", "-j", "0", copies.Side("a").string()}).exitCode, 2);
  EXPECT_EQ(RunGridmoor({"convert", "-j", "many", copies.Side("a").string()}).exitCode, 2);
  const CliResult quiet = RunGridmoor({"convert", "--mode", "quick", "-q", "-j", "4", (copies.Side("a") / "tables").string()});
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.out, "转换完成：2个完成,0个空文件,0个跳过,0个失败\n");
}
