// The file list, output naming with clash answers, and the batch driver,
// with a recording host.
#include <fstream>

#include "EngineFixture.h"
#include "FileList.h"
#include "LayerBuilder.h"
#include "MapGisCodePage.h"

using namespace testing_support;

namespace {

std::wstring W(const std::filesystem::path& p) { return Wide(p); }

void WriteBytes(const std::filesystem::path& p, size_t n) {
  std::ofstream out(p, std::ios::binary);
  out << std::string(n, 'x');
}

// A small line layer with one line (deleted when not `live`) and one attribute record.
Bytes OneLine(bool live = true) {
  DataArea data;
  const uint32_t run = data.AddRun({0, 0, 5, 5});
  LayerBuilder b(0);
  b.Element(0, live ? 1 : 0).Element(1, 2);
  b.Section(0, Table(57, {LineRecord(live ? 1 : 0, 2, run)}));
  b.Section(1, data.Get());
  b.Section(2, AttributeSection({{"ID", 3, 1, 4, 8, 0}}, 5, {Bytes(5, 1)}));
  return b.Build();
}

// Host that asks to cancel at its n-th cancel check.
class CancellingHost : public RecordingHost {
 public:
  bool CancelRequested() override { return ++checks == cancelAt; }
  int checks = 0;
  int cancelAt = -1;
};

}  // namespace

class FileListTest : public EngineTest {};

TEST_F(FileListTest, KindsSizesAndSearchProgress) {
  FileList list(&host);
  WriteBytes(dir.File("a.wt"), 500);
  WriteBytes(dir.File("b.WL"), 2047);
  WriteBytes(dir.File("c.Wp"), 2048);
  EXPECT_EQ(list.AddFile(W(dir.File("a.wt"))), kKindPoint);
  EXPECT_EQ(list.AddFile(W(dir.File("b.WL"))), kKindLine);
  EXPECT_EQ(list.AddFile(W(dir.File("c.Wp"))), kKindPolygon);
  EXPECT_EQ(list.AddFile(W(dir.File("missing.WN"))), kKindNetwork);
  EXPECT_EQ(list.AddFile(W(dir.File("notes.txt"))), 0);
  EXPECT_EQ(list.AddFile(W(dir.File("p.MPJ"))), 0);
  EXPECT_EQ(list.AddProject(W(dir.File("x.WT"))), -1);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.TopLevel()[0]->size, L"1KB");
  EXPECT_EQ(list.TopLevel()[1]->size, L"1KB");
  EXPECT_EQ(list.TopLevel()[2]->size, L"2KB");
  EXPECT_EQ(list.TopLevel()[3]->size, L"0KB");
  EXPECT_EQ(list.TopLevel()[0]->name, L"a.wt");

  host.statusTexts.clear();
  for (int i = 0; i < 21; ++i) list.AddFile(W(dir.File("f" + std::to_string(i) + ".WB")));
  // 25 nodes: the search message at the 10th and 20th node only.
  EXPECT_EQ(host.statusTexts, (std::vector<std::wstring>{L"已搜索到[10]个待转换文件...", L"已搜索到[20]个待转换文件..."}));
}

TEST_F(FileListTest, SearchAddsLayersAndProjectsWithTheirItems) {
  std::filesystem::create_directories(dir.File("data/sub"));
  for (const char* f : {"JZ.WT", "JZ.WL", "I486732TK.WL", "I486732TK.WT", "i486732jz1.MPJ"}) {
    std::filesystem::copy_file(RealSamples() / "jz-project" / f, dir.File(std::string("data/sub/") + f));
  }
  std::ofstream(dir.File("data/readme.txt")) << "x";
  FileList list(&host);
  EXPECT_EQ(list.SearchFolder(W(dir.File("data")), true), 0);
  // Four layer files at top level, the project with its four resolved layers.
  EXPECT_EQ(list.Count(), 9);
  const FileNode* project = nullptr;
  for (const auto& n : list.TopLevel()) {
    if (n->image == kKindProject) project = n.get();
  }
  ASSERT_NE(project, nullptr);
  ASSERT_EQ(project->children.size(), 4u);
  EXPECT_EQ(project->children[0]->path, W(dir.File("data/sub/JZ.WT")));
  EXPECT_EQ(project->children[0]->parent, project);

  // Removing the selected project removes its layers.
  const_cast<FileNode*>(project)->selected = true;
  list.RemoveSelection();
  EXPECT_EQ(list.Count(), 4);
}

TEST_F(FileListTest, ExportWritesAHeaderAndOneLinePerNode) {
  FileList list(&host);
  for (const char* f : {"a.WT", "b,c.WL", "d.WB"}) list.AddFile(W(dir.File(f)));
  ASSERT_TRUE(list.Export(dir.File("list.txt").string()));
  std::ifstream in(dir.File("list.txt"));
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "编号,文件名称,文件类型,文件路径,投影信息,文件大小,输出名称,转换时间,状态");
  EXPECT_EQ(lines[1].substr(0, 12), "1,a.WT,.WT,/");
  EXPECT_EQ(lines[1].substr(lines[1].size() - 2), ",,");
  EXPECT_EQ(lines[2].substr(0, 9), "2,\"b,c.WL");
  EXPECT_FALSE(list.Export((dir.Path() / "no/such/dir/list.txt").string()));
}

class NamingTest : public EngineTest {};

TEST_F(NamingTest, RenamesWithTypeAndCompanionAffixes) {
  WriteBytes(dir.File("roads.shp"), 1);
  WriteBytes(dir.File("roads_L0.shp"), 1);
  std::wstring mainName, companion;
  ConversionLog log = RunLog();
  policy.renameThis = true;
  Naming().BuildFinalName(W(dir.Path()), L"roads.WL", mainName, companion, false, log);
  EXPECT_EQ(mainName, W(dir.File("roads_L1")));
  EXPECT_TRUE(Logged("------I__存在同名文件，自动改名为[roads_L1]"));

  WriteBytes(dir.File("a.shp"), 1);
  Naming().BuildFinalName(W(dir.Path()), L"a.WT", mainName, companion, false, log);
  EXPECT_EQ(mainName, W(dir.File("a_T0")));
  EXPECT_EQ(companion, W(dir.File("a_A0")));

  policy.Clear();
  Naming().BuildFinalName(W(dir.Path()), L"a.WT", mainName, companion, false, log);
  EXPECT_EQ(mainName, W(dir.File("a")));
  EXPECT_EQ(companion, W(dir.File("aA")));
  EXPECT_EQ(Naming().BuildAnnotationName(L"/d/x.WP"), L"/d/xC");
}

TEST_F(NamingTest, ClashTestLooksAtEveryMainResult) {
  // A table writes a .dbf, a project also a .CSV, a companion its own .shp.
  WriteBytes(dir.File("t.dbf"), 1);
  host.duplicateAnswer = ConvertHost::kSkipThis;
  ConversionLog log = RunLog();
  OutputNaming naming = Naming();
  EXPECT_EQ(naming.CheckOverwrite(W(dir.File("t.WB")), false, log), 12);
  EXPECT_EQ(naming.CheckOverwrite(W(dir.File("t.WL")), false, log), 0);
  WriteBytes(dir.File("pA.shp"), 1);
  EXPECT_EQ(naming.CheckOverwrite(W(dir.File("p.WT")), false, log), 0);
  options.ExportAnnotation = 1;
  EXPECT_EQ(naming.CheckOverwrite(W(dir.File("p.WT")), false, log), 12);
  WriteBytes(dir.File("m.CSV"), 1);
  EXPECT_EQ(naming.CheckOverwrite(W(dir.File("m.MPJ")), false, log), 12);
  // A question closed without an answer skips.
  host.duplicateAnswer = 0;
  EXPECT_EQ(naming.CheckOverwrite(W(dir.File("m.MPJ")), false, log), 12);
  EXPECT_EQ(host.asked.size(), 4u);
}

TEST_F(NamingTest, ProjectNodesGetTheirOwnFolder) {
  std::filesystem::create_directories(dir.File("out/data"));
  for (const char* f : {"JZ.WT", "JZ.WL", "I486732TK.WL", "I486732TK.WT"}) {
    std::filesystem::copy_file(RealSamples() / "jz-project" / f, dir.File(f));
  }
  std::filesystem::copy_file(RealSamples() / "jz-project" / "i486732jz1.MPJ", dir.File("data.MPJ"));
  FileList& list = files;
  list.AddProject(W(dir.File("data.MPJ")));
  ASSERT_EQ(list.Count(), 5);
  std::wstring out = W(dir.File("out"));
  ConversionLog log = RunLog();
  Naming().BuildOutputDir(list.TopLevel()[0].get(), out, log);
  EXPECT_EQ(out, W(dir.File("out/data_0")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("out/data_0")));
  EXPECT_EQ(LogStartingWith("----输出路径下存在同名文件夹，自动改名[").size(), 1u);
  std::wstring empty;
  Naming().BuildOutputDir(list.TopLevel()[0].get(), empty, log);
  EXPECT_EQ(empty, W(dir.Path()));

  // A whole batch puts the project's layers into its folder.
  options.ExportProjection = 0;
  const BatchSummary sum = RunBatch(W(dir.File("out")));
  EXPECT_EQ(sum.done, 5);
  EXPECT_TRUE(FileExists(dir.File("out/data_1/data.shp")));
  EXPECT_TRUE(FileExists(dir.File("out/data_1/data.CSV")));
  EXPECT_TRUE(FileExists(dir.File("out/data_1/JZ.shp")));
}

class BatchTest : public EngineTest {};

TEST_F(BatchTest, CountsStatusesAndSummary) {
  dir.Write("ok.WL", OneLine());
  FileList& list = files;
  list.AddFile(W(dir.File("ok.WL")));
  list.AddFile(W(dir.File("gone.WL")));
  list.AddProject(W(dir.File("idx.MPJ")));
  options.ExportProjection = 0;
  options.ExportLayerIndex = 0;
  const BatchSummary sum = RunBatch(L"");
  EXPECT_EQ(sum.done, 1);
  EXPECT_EQ(sum.failed, 1);  // the missing file fails to open as well
  EXPECT_EQ(sum.missing, 2);  // the absent file and the absent project
  EXPECT_EQ(sum.skipped, 1);
  const auto nodes = list.Walk();
  EXPECT_EQ(nodes[0]->status, L"成功");
  EXPECT_EQ(nodes[0]->colour, kColourBlack);
  EXPECT_EQ(nodes[0]->result, W(dir.File("ok.shp")));
  EXPECT_EQ(nodes[1]->status, L"失败");
  EXPECT_EQ(nodes[1]->colour, kColourRed);
  EXPECT_EQ(nodes[2]->status, L"跳过");
  EXPECT_EQ(nodes[2]->colour, kColourBlue);
  EXPECT_TRUE(Logged("----结束转换[文件不存在(0/0)]"));
  EXPECT_TRUE(Logged("====================转换完成：1个完成,0个空文件,1个跳过,1个失败===================="));
  EXPECT_EQ(Log().front(), "====================转换信息：I 提示,W 警告,E 错误,F 未知错====================");
  EXPECT_EQ(host.sounds, 1);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back(), L"转换完成|转换完成：1个完成,0个空文件,1个跳过,1个失败");
  // Missing entries count once as missing and again by their outcome.
  EXPECT_EQ(host.progressTexts.back(), L"进度：[5/3]");
}

TEST_F(BatchTest, OverwriteAllAsksOnceAndStopEndsTheBatch) {
  for (const char* f : {"a.WL", "b.WL", "c.WL"}) {
    dir.Write(f, OneLine());
    files.AddFile(W(dir.File(f)));
  }
  options.ExportProjection = 0;
  ASSERT_EQ(RunBatch(L"").done, 3);
  host.asked.clear();
  host.duplicateAnswer = ConvertHost::kOverwriteAll;
  EXPECT_EQ(RunBatch(L"").done, 3);
  EXPECT_EQ(host.asked.size(), 1u);
  EXPECT_EQ(LogStartingWith("------I__存在同名文件，已覆盖原文件[").size(), 2u);

  host.asked.clear();
  host.duplicateAnswer = ConvertHost::kStopBatch;
  const BatchSummary stopped = RunBatch(L"");
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_EQ(stopped.done, 0);
  EXPECT_TRUE(Logged("====================用户中断了本次转换===================="));

  host.duplicateAnswer = ConvertHost::kSkipAll;
  const BatchSummary skipped = RunBatch(L"");
  EXPECT_EQ(skipped.skipped, 3);
}

TEST_F(BatchTest, CancelTakesEffectBeforeTheNextEntry) {
  CancellingHost cancelling;
  for (const char* f : {"a.WL", "b.WL", "c.WL"}) {
    dir.Write(f, OneLine());
    files.AddFile(W(dir.File(f)));
  }
  options.ExportProjection = 0;
  // Check 1 drains any old request; check 3 comes before the second entry.
  cancelling.cancelAt = 3;
  const BatchSummary sum = RunBatch(L"", false, 1, &cancelling);
  EXPECT_TRUE(sum.cancelled);
  EXPECT_EQ(sum.done, 1);
  EXPECT_EQ(cancelling.questions, (std::vector<std::wstring>{L"确定要取消当前转换过程？"}));

  // "No" goes on with the entry that was about to start.
  cancelling.checks = 0;
  cancelling.yesNoAnswer = false;
  cancelling.duplicateAnswer = ConvertHost::kOverwriteAll;
  EXPECT_EQ(RunBatch(L"", false, 1, &cancelling).done, 3);
}

TEST_F(BatchTest, AnnotationBatchConvertsPointFilesOnly) {
  dir.CopySample("jz-project/JZ.WT");
  dir.Write("l.WL", OneLine());
  files.AddFile(W(dir.File("JZ.WT")));
  files.AddFile(W(dir.File("l.WL")));
  options.ExportProjection = 0;
  const BatchSummary sum = RunBatch(L"", true);
  EXPECT_EQ(sum.done, 1);
  EXPECT_EQ(sum.skipped, 1);
  EXPECT_EQ(files.Walk()[1]->status, L"…");
  EXPECT_TRUE(FileExists(dir.File("JZA.shp")));
  EXPECT_FALSE(FileExists(dir.File("l.shp")));
}

TEST_F(BatchTest, AnEmptyLayerIsCountedAsAnEmptyFile) {
  dir.Write("full.WL", OneLine());
  dir.Write("empty.WL", OneLine(false));
  files.AddFile(W(dir.File("full.WL")));
  files.AddFile(W(dir.File("empty.WL")));
  options.ExportProjection = 0;
  std::filesystem::create_directories(dir.File("out"));
  const BatchSummary sum = RunBatch(W(dir.File("out")));
  EXPECT_EQ(sum.text, L"转换完成：1个完成,1个空文件,0个跳过,0个失败");
  EXPECT_EQ(files.Walk()[1]->status, L"空文件");
  EXPECT_EQ(files.Walk()[1]->colour, kColourBlue);
  EXPECT_EQ(files.Walk()[1]->resultCode, 10);
  // The log is as for any conversion that wrote all it found, and the empty result is gone.
  EXPECT_TRUE(Logged("----结束转换[全部正确转换(0/0)]"));
  EXPECT_TRUE(Logged("------I__转换结果为空文件,已被删除！"));
  EXPECT_FALSE(FileExists(dir.File("out/empty.shp")));
  EXPECT_TRUE(FileExists(dir.File("out/full.shp")));
}

// Overwriting replaces a result whole: files of the old result that the new
// run does not write are removed, each with a line; a result that is not
// overwritten keeps the files beside it.
TEST_F(BatchTest, AnOverwrittenResultIsReplacedWhole) {
  std::filesystem::copy_file(RealSamples() / "frame" / std::filesystem::u8path("图框.WL"), dir.File("frame.WL"));
  files.AddFile(W(dir.File("frame.WL")));
  std::filesystem::create_directories(dir.File("out"));
  options.SymbolType = 4;
  options.ExportProjection = 1;
  ASSERT_EQ(RunBatch(W(dir.File("out"))).done, 1);
  ASSERT_TRUE(FileExists(dir.File("out/frame.prj")));
  ASSERT_TRUE(FileExists(dir.File("out/frame.avl")));

  host.lines.clear();
  options = options.Quick();
  host.duplicateAnswer = ConvertHost::kOverwriteThis;
  ASSERT_EQ(RunBatch(W(dir.File("out"))).done, 1);
  EXPECT_FALSE(FileExists(dir.File("out/frame.prj")));
  EXPECT_FALSE(FileExists(dir.File("out/frame.avl")));
  EXPECT_TRUE(FileExists(dir.File("out/frame.shp")));
  EXPECT_TRUE(Logged("------I__删除原结果文件[" + dir.File("out/frame.prj").u8string() + "]"));
  EXPECT_TRUE(Logged("------I__删除原结果文件[" + dir.File("out/frame.avl").u8string() + "]"));
  EXPECT_EQ(ReadWithOgr(dir.File("out/frame.shp").string()).fieldTypes.count("VKT_LEGEND"), 0u);

  // Without a clash nothing beside the result is touched.
  std::filesystem::remove(dir.File("out/frame.shp"));
  WriteBytes(dir.File("out/frame.prj"), 10);
  host.lines.clear();
  ASSERT_EQ(RunBatch(W(dir.File("out"))).done, 1);
  EXPECT_TRUE(FileExists(dir.File("out/frame.prj")));
  EXPECT_TRUE(LogStartingWith("------I__删除原结果文件").empty());
}
