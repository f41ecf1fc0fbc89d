// gridmoor convert on copies of the real samples: a closing line per file,
// clash policies over repeated runs, option errors and exit codes.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "CliHarness.h"

namespace fs = std::filesystem;
using cli_testing::CliResult;
using cli_testing::Contains;
using cli_testing::RunGridmoor;

namespace {

// A copy of every real sample in a fresh folder, removed afterwards.
class SampleCopy {
 public:
  SampleCopy() {
    std::string pattern = (fs::temp_directory_path() / "gridmoor-convert-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    fs::copy(fs::u8path(GRIDMOOR_REAL_SAMPLES), root_ / "real", fs::copy_options::recursive);
    for (const auto& e : fs::recursive_directory_iterator(root_)) {
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
    }
  }
  ~SampleCopy() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path Real() const { return root_ / "real"; }
  fs::path Root() const { return root_; }

 private:
  fs::path root_;
};

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

}  // namespace

TEST(ConvertCommand, EveryStartedFileHasOneClosingLine) {
  SampleCopy copy;
  const CliResult r = RunGridmoor({"convert", "--set", "SymbolType=2", "--set", "ExportPolyArc=1", "--on-clash",
                                   "rename", "--lib", (copy.Real() / "colour").string(), copy.Real().string()});
  // The foreign Fram_1.wt and the project item JZ2.WT that does not exist fail.
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(Count(r.out, ">开始转换["), Count(r.out, ">----结束转换[") - Count(r.out, "[文件不存在(0/0)]"));
  EXPECT_TRUE(Contains(r.out, ">使用MapGIS颜色库:["));
  EXPECT_TRUE(Contains(r.out, ">----结束转换[原文件错误-非MapGis文件]"));
  EXPECT_TRUE(Contains(r.out, ">------I__输出属性文件["));
  // 图框.WL is written first; the polygon file of the same name is renamed,
  // its arcs with it.
  EXPECT_TRUE(fs::exists(copy.Real() / "frame" / fs::u8path("图框.shp")));
  EXPECT_TRUE(fs::exists(copy.Real() / "frame" / fs::u8path("图框_P0.shp")));
  EXPECT_TRUE(fs::exists(copy.Real() / "frame" / fs::u8path("图框_C0.shp")));
  EXPECT_TRUE(fs::exists(copy.Real() / "frame" / fs::u8path("图框.prj")));
  EXPECT_TRUE(fs::exists(copy.Real() / "tables" / fs::u8path("区.dbf")));
  // The summary is the last line.
  const std::string last = r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1);
  EXPECT_TRUE(Contains(last, ">====================转换完成："));
}

TEST(ConvertCommand, ClashPoliciesOverRepeatedRuns) {
  SampleCopy copy;
  const std::string frame = (copy.Real() / "frame").string();
  const CliResult first = RunGridmoor({"convert", "--mode", "quick", frame});
  EXPECT_EQ(first.exitCode, 0) << first.out;
  // 图例.WL and 图例.WT share a base name: the point file's result clashes.
  EXPECT_TRUE(Contains(first.out, "已跳过此文件["));

  const CliResult renamed = RunGridmoor({"convert", "--mode", "quick", "--on-clash", "rename", frame});
  EXPECT_EQ(renamed.exitCode, 0);
  EXPECT_TRUE(fs::exists(copy.Real() / "frame" / fs::u8path("图框_L0.shp")));
  EXPECT_TRUE(fs::exists(copy.Real() / "frame" / fs::u8path("图框_P0.shp")));
  EXPECT_TRUE(Contains(renamed.out, ">------I__存在同名文件，自动改名为[YZT-SLH_L0]"));

  const CliResult skipped = RunGridmoor({"convert", "--mode", "quick", "--on-clash", "skip", "-q", frame});
  EXPECT_EQ(skipped.exitCode, 0);
  EXPECT_EQ(skipped.out, "转换完成：0个完成,0个空文件,5个跳过,0个失败\n");

  const CliResult stopped = RunGridmoor({"convert", "--mode", "quick", "--on-clash", "stop", frame});
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_TRUE(Contains(stopped.out, ">====================用户中断了本次转换===================="));
}

TEST(ConvertCommand, OutputFolderLogAndListFiles) {
  SampleCopy copy;
  const fs::path out = copy.Root() / "out";
  fs::create_directories(out);
  const fs::path log = copy.Root() / "run.log";
  const fs::path list = copy.Root() / "list.txt";
  const CliResult r =
      RunGridmoor({"convert", "--mode", "quick", "-o", out.string(), "--log", log.string(), "--list-out",
                   list.string(), "--encoding", "ansi", (copy.Real() / "tables").string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(fs::exists(out / fs::u8path("区.dbf")));
  std::ifstream cpg(out / fs::u8path("区.cpg"));
  std::string codePage;
  std::getline(cpg, codePage);
  EXPECT_EQ(codePage, "936");
  std::ifstream logIn(log);
  std::string firstLine;
  std::getline(logIn, firstLine);
  EXPECT_EQ(firstLine, ">====================转换信息：I 提示,W 警告,E 错误,F 未知错====================");
  std::ifstream listIn(list);
  std::string header, row;
  std::getline(listIn, header);
  std::getline(listIn, row);
  EXPECT_EQ(header, "编号,文件名称,文件类型,文件路径,投影信息,文件大小,输出名称,转换时间,状态");
  EXPECT_TRUE(std::regex_search(row, std::regex("^1,.*\\.WB,\\.WB,.*,成功,.*\\.shp,,$"))) << row;
}

TEST(ConvertCommand, UsageErrorsExitWithTwo) {
  SampleCopy copy;
  const std::string tables = (copy.Real() / "tables").string();
  const CliResult unknown = RunGridmoor({"convert", "--set", "NoSuchKey=1", tables});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_TRUE(Contains(unknown.err, "unknown setting 'NoSuchKey'"));
  const CliResult notNumber = RunGridmoor({"convert", "--set", "SymbolType=four", tables});
  EXPECT_EQ(notNumber.exitCode, 2);
  EXPECT_TRUE(Contains(notNumber.err, "takes a whole number"));
  EXPECT_EQ(RunGridmoor({"convert", (copy.Root() / "missing").string()}).exitCode, 2);
  EXPECT_EQ(RunGridmoor({"convert", "--mode", "fast", tables}).exitCode, 2);
  EXPECT_EQ(RunGridmoor({"convert", "-o", (copy.Root() / "nowhere").string(), tables}).exitCode, 2);
  // A GeoPackage in a missing folder: the message names the folder.
  const CliResult noFolder =
      RunGridmoor({"convert", "--format", "gpkg", "-o", (copy.Root() / "nowhere" / "all.gpkg").string(), tables});
  EXPECT_EQ(noFolder.exitCode, 2);
  EXPECT_TRUE(Contains(noFolder.err, "output folder does not exist: " + (copy.Root() / "nowhere").string() + "\n"))
      << noFolder.err;
  EXPECT_EQ(RunGridmoor({"convert"}).exitCode, 2);
  const CliResult help = RunGridmoor({"convert", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.out, "--on-clash"));
}

TEST(ConvertCommand, OptionsAndInputsInTheOrdersPeopleType) {
  SampleCopy copy;
  const std::string frame = (copy.Real() / "frame").string() + "/";
  const std::string zone = (copy.Real() / "tables" / fs::u8path("区.WB")).string();
  const std::string point = (copy.Real() / "tables" / fs::u8path("点.WB")).string();
  const std::string border = frame + "图框.WL";
  const std::string out = (copy.Root() / "out").string();
  fs::create_directories(out);
  // Each --set, -o or --mode takes one value; every other word is an input.
  const std::vector<std::vector<std::string>> orders = {
      {"--set", "SymbolType=2", zone, point, "--set", "ExportProjection=1", border},
      {zone, "--set", "SymbolType=2", point, "-o", out, border, "--mode", "quick"},
      {"-q", zone, point, "--set=ExportPolyArc=0", border, "-j", "2"},
  };
  for (const auto& args : orders) {
    std::vector<std::string> argv = {"convert", "--on-clash", "overwrite"};
    argv.insert(argv.end(), args.begin(), args.end());
    const CliResult r = RunGridmoor(argv);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "转换完成：3个完成,0个空文件,0个跳过,0个失败")) << args[0];
  }
  EXPECT_TRUE(fs::exists(fs::u8path(out) / fs::u8path("图框.shp")));
}

TEST(ConvertCommand, ShellPatternsQuietRunsAndPlainPaths) {
  SampleCopy copy;
  const fs::path tables = copy.Real() / "tables";
  ASSERT_EQ(RunGridmoor({"convert", "--mode", "quick", tables.string()}).exitCode, 0);

  // `gridmoor convert tables/*` after a first run names the results too.
  std::vector<std::string> argv = {"convert", "-q", "--mode", "quick", "--on-clash", "overwrite"};
  std::vector<std::string> named;
  for (const auto& e : fs::directory_iterator(tables)) named.push_back(e.path().string());
  argv.insert(argv.end(), named.begin(), named.end());
  const CliResult quiet = RunGridmoor(argv);
  EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
  EXPECT_EQ(quiet.out, "转换完成：2个完成,0个空文件,0个跳过,0个失败\n");
  EXPECT_EQ(Count(quiet.err, "skipped, not a MapGIS file"), 4) << quiet.err;
  EXPECT_EQ(Count(quiet.err, "区.dbf"), 1);
  EXPECT_EQ(Count(quiet.err, "转换完成"), 0) << quiet.err;

  // Paths typed with "." steps and doubled or trailing slashes are logged plainly.
  const std::string typed = copy.Root().string() + "/./real//tables//";
  const CliResult r = RunGridmoor({"convert", "--mode", "quick", "--on-clash", "overwrite", "-o",
                                   copy.Root().string() + "/./", typed});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, ">开始转换[" + (tables / fs::u8path("区.WB")).string() + "]"));
  EXPECT_TRUE(Contains(r.out, "[" + (copy.Root() / fs::u8path("区.dbf")).string() + "]"));
  EXPECT_EQ(r.out.find("/./"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("//"), std::string::npos) << r.out;
}
