// A batch is a value of its own: two batches with different options run at
// the same time on two threads and each gets its own results and log; an
// entry whose conversion throws fails alone while the others finish.
#include <atomic>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "EngineFixture.h"
#include "MapGisCodePage.h"

using namespace testing_support;

namespace fs = std::filesystem;

namespace {

std::string Text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool LogMentions(const RecordingHost& host, const std::wstring& text) {
  for (const std::wstring& l : host.lines) {
    if (l.find(text) != std::wstring::npos) return true;
  }
  return false;
}

}  // namespace

TEST_F(EngineTest, TwoBatchesWithDifferentOptionsRunAtOnce) {
  const fs::path real(GRIDMOOR_REAL_SAMPLES);
  for (const char* folder : {"a", "b"}) {
    fs::create_directories(dir.File(folder));
    fs::create_directories(dir.File(std::string(folder) + "-out"));
    for (const char* f : {"YZT-SLH.WL", "图框.WP"}) {
      fs::copy_file(real / "frame" / fs::u8path(f), dir.File(folder) / fs::u8path(f));
    }
  }
  // Batch A: raw style values, UTF-8 tables. Batch B: legends, GBK tables.
  ConversionOptions a, b;
  a.SymbolType = 2;
  a.CodePage = 0;
  a.ExportProjection = 0;
  a.OutPath = Wide(dir.File("a-out"));
  b.SymbolType = 4;
  b.CodePage = 1;
  b.ExportProjection = 0;
  b.OutPath = Wide(dir.File("b-out"));
  RecordingHost hostA, hostB;
  FileList listA(&hostA), listB(&hostB);
  listA.SearchFolder(Wide(dir.File("a")), true);
  listB.SearchFolder(Wide(dir.File("b")), true);
  const MapGis::MapGis_ColorLib none;

  for (int round = 0; round < 3; ++round) {
    hostA.lines.clear();
    hostB.lines.clear();
    std::atomic<int> ready{0};
    BatchSummary sumA, sumB;
    auto run = [&](const ConversionOptions& o, FileList& list, RecordingHost& h, BatchSummary* sum) {
      ++ready;
      while (ready < 2) std::this_thread::yield();
      BatchRunner batch(o, list, none, &h, &h);
      batch.SetJobs(2);
      *sum = batch.ConvertAllFiles();
    };
    hostA.duplicateAnswer = hostB.duplicateAnswer = ConvertHost::kOverwriteAll;
    std::thread ta(run, std::cref(a), std::ref(listA), std::ref(hostA), &sumA);
    std::thread tb(run, std::cref(b), std::ref(listB), std::ref(hostB), &sumB);
    ta.join();
    tb.join();
    EXPECT_EQ(sumA.done, 2) << round;
    EXPECT_EQ(sumB.done, 2) << round;
    // Each log names only its own batch's files.
    EXPECT_TRUE(LogMentions(hostA, Wide(dir.File("a-out"))));
    EXPECT_FALSE(LogMentions(hostA, Wide(dir.File("b-out"))));
    EXPECT_TRUE(LogMentions(hostB, Wide(dir.File("b-out"))));
    EXPECT_FALSE(LogMentions(hostB, Wide(dir.File("a-out"))));
  }
  EXPECT_EQ(Text(dir.File("a-out/YZT-SLH.cpg")), "UTF-8");
  EXPECT_EQ(Text(dir.File("b-out/YZT-SLH.cpg")), "936");
  EXPECT_FALSE(FileExists(dir.File("a-out/YZT-SLH.avl")));
  EXPECT_TRUE(FileExists(dir.File("b-out/YZT-SLH.avl")));
  const OgrLayer lineA = ReadWithOgr(dir.File("a-out/YZT-SLH.shp").string());
  const OgrLayer lineB = ReadWithOgr(dir.File("b-out/YZT-SLH.shp").string());
  ASSERT_TRUE(lineA.opened && lineB.opened);
  EXPECT_TRUE(lineA.fieldTypes.count("VKT_LTYPE"));
  EXPECT_FALSE(lineA.fieldTypes.count("VKT_LEGEND"));
  EXPECT_TRUE(lineB.fieldTypes.count("VKT_LEGEND"));
  EXPECT_FALSE(lineB.fieldTypes.count("VKT_LTYPE"));
}

TEST_F(EngineTest, AnEntryThatThrowsFailsAloneWhileTheOthersFinish) {
  for (const char* f : {"a.WL", "b.WL", "c.WL", "d.WL"}) {
    fs::copy_file(fs::path(GRIDMOOR_REAL_SAMPLES) / "frame" / "YZT-SLH.WL", dir.File(f));
    files.AddFile(Wide(dir.File(f)));
  }
  options.ExportProjection = 0;
  for (int jobs : {1, 2}) {
    SCOPED_TRACE(jobs);
    files.ResetForBatch();
    host.lines.clear();
    ConversionOptions run = options;
    run.OutPath = Wide(dir.File("out" + std::to_string(jobs)));
    fs::create_directories(dir.File("out" + std::to_string(jobs)));
    BatchRunner batch(run, files, colours, &host, &host);
    batch.SetJobs(jobs);
    batch.SetEntryConverter([](const FileNode& node, const EntryNames& names, bool labels, const ConverterInputs& in) {
      if (node.name == L"b.WL") throw std::runtime_error("injected");
      return ConvertEntry(node, names, labels, in);
    });
    const BatchSummary sum = batch.ConvertAllFiles();
    EXPECT_EQ(sum.done, 3);
    EXPECT_EQ(sum.failed, 1);
    EXPECT_EQ(files.Walk()[1]->status, L"失败");
    EXPECT_EQ(files.Walk()[1]->resultCode, kUnexpectedError);
    EXPECT_TRUE(Logged("------E__转换过程发生异常[injected]"));
    EXPECT_TRUE(Logged("----结束转换[原文件错误-发生未知错误]"));
    // One closing line per entry, in list order.
    EXPECT_EQ(LogStartingWith("----结束转换[").size(), 4u);
    EXPECT_FALSE(FileExists(dir.File("out" + std::to_string(jobs) + "/b.shp")));
    EXPECT_TRUE(FileExists(dir.File("out" + std::to_string(jobs) + "/d.shp")));
  }
}
