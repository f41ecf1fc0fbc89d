// A batch converted on several threads against the same batch converted one
// entry after the other: outputs, log order, questions and statuses agree.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <filesystem>
#include <fstream>

#include "EngineFixture.h"
#include "FileList.h"
#include "MapGisCodePage.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Records log lines and clash questions in one sequence, so the place of
// each question among the lines is compared too.
class SequenceHost : public RecordingHost {
 public:
  int AskDuplicate(const std::wstring& name) override {
    events.push_back(L"?" + name);
    return RecordingHost::AskDuplicate(name);
  }
  bool AsksInPerson() override { return inPerson; }
  void AppendLine(const std::wstring& line) override { events.push_back(line); }
  std::vector<std::wstring> events;
  bool inPerson = true;
};

struct RunResult {
  BatchSummary sum;
  std::vector<std::wstring> events;  // with the output folder's name replaced by "OUT"
  std::vector<std::wstring> statuses;
};

std::wstring Replace(std::wstring s, const std::wstring& from, const std::wstring& to) {
  for (size_t at = s.find(from); at != std::wstring::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
  return s;
}

// Every file under `root` by its relative path, with its bytes.
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

}  // namespace

class ParallelBatchTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    const fs::path src = dir.File("src");
    fs::create_directories(src / "frame");
    fs::create_directories(src / "jz");
    for (const char* f : {"JZ.WT", "JZ.WL", "JZ-FINAL.WL", "I486732TK.WL", "I486732TK.WT", "i486732jz1.MPJ"}) {
      fs::copy_file(RealSamples() / "jz-project" / f, src / "jz" / f);
    }
    for (const char* f : {"图框.WP", "图框.WL", "图例.WT", "图例.WL", "YZT-SLH.WL"}) {
      fs::copy_file(RealSamples() / "frame" / fs::u8path(f), src / "frame" / fs::u8path(f));
    }
    for (const char* f : {"区.WB", "点.WB"}) fs::copy_file(RealSamples() / "tables" / fs::u8path(f), src / fs::u8path(f));
    // Same base names in two folders: their results meet in one output folder.
    fs::copy_file(RealSamples() / "jz-project" / "JZ.WL", src / "frame" / "JZ.WL");
    fs::copy_file(RealSamples() / "frame" / fs::u8path("图框.WP"), src / "jz" / fs::u8path("图框.WP"));
    options.SymbolType = 2;
    options.LibPath = Wide(RealSamples() / "colour");
    options.ExportPolyArc = 1;
    options.ExportAnnotation = 1;
    options.ExportNetNode = 1;
    options.ExportProjection = 0;  // the project's layers have none
  }

  RunResult Run(int jobs, const std::string& out, int answer, bool labels = false) {
    fs::create_directories(dir.File(out));
    SequenceHost seq;
    seq.duplicateAnswer = answer;
    FileList list(&seq);
    EXPECT_EQ(list.SearchFolder(Wide(dir.File("src")), true), 0);
    list.ResetForBatch();
    ConversionOptions run = options;
    run.OutPath = Wide(dir.File(out));
    MapGis::MapGis_ColorLib library;
    ConversionLog log(&seq, run.LogLevel);
    EXPECT_EQ(LoadColourLibrary(run, library, &seq, log), 1);
    BatchRunner batch(run, list, library, &seq, &seq);
    batch.SetJobs(jobs);
    RunResult r;
    r.sum = labels ? batch.ConvertAllLabels() : batch.ConvertAllFiles();
    const std::wstring outDir = Wide(dir.File(out));
    for (const std::wstring& e : seq.events) {
      if (e.find(L"开始时间") != std::wstring::npos || e.find(L"结束时间") != std::wstring::npos) continue;
      r.events.push_back(Replace(e, outDir, L"OUT"));
    }
    for (const FileNode* n : list.Walk()) {
      r.statuses.push_back(n->status + L"|" + Replace(n->result, outDir, L"OUT") + L"|" + std::to_wstring(n->resultCode));
    }
    return r;
  }

  void ExpectSame(const RunResult& a, const RunResult& b) {
    EXPECT_EQ(a.sum.text, b.sum.text);
    EXPECT_EQ(a.sum.missing, b.sum.missing);
    EXPECT_EQ(a.sum.cancelled, b.sum.cancelled);
    EXPECT_EQ(a.statuses, b.statuses);
    ASSERT_EQ(a.events.size(), b.events.size());
    for (size_t i = 0; i < a.events.size(); ++i) EXPECT_EQ(a.events[i], b.events[i]) << "event " << i;
  }
};

TEST_F(ParallelBatchTest, OutputsLogAndQuestionsMatchASequentialRun) {
  // First runs into empty folders; the second runs meet every result again
  // and answer each clash question by renaming.
  const RunResult a1 = Run(1, "out1", ConvertHost::kRenameThis);
  const RunResult b1 = Run(3, "out2", ConvertHost::kRenameThis);
  const RunResult a2 = Run(1, "out1", ConvertHost::kRenameThis);
  const RunResult b2 = Run(3, "out2", ConvertHost::kRenameThis);
  ExpectSame(a1, b1);
  ExpectSame(a2, b2);
  EXPECT_GT(a1.sum.done, 10);
  // Layers of one base name (JZ.WL twice, 图框.WP twice, 图例.WL and .WT...)
  // clash with each other within one run.
  const auto questions = std::count_if(a1.events.begin(), a1.events.end(), [](const std::wstring& e) { return e[0] == L'?'; });
  EXPECT_GE(questions, 5);
  EXPECT_GT(std::count_if(a2.events.begin(), a2.events.end(), [](const std::wstring& e) { return e[0] == L'?'; }),
            questions);

  const auto one = Tree(dir.File("out1"));
  const auto two = Tree(dir.File("out2"));
  EXPECT_GT(one.size(), 40u);
  ASSERT_EQ(one.size(), two.size());
  for (const auto& [name, bytes] : one) {
    const auto it = two.find(name);
    ASSERT_NE(it, two.end()) << name;
    EXPECT_TRUE(it->second == bytes) << name << " differs";
  }
}

TEST_F(ParallelBatchTest, SkipOverwriteAndStopAnswersMatch) {
  Run(1, "out1", ConvertHost::kOverwriteThis);
  Run(2, "out2", ConvertHost::kOverwriteThis);
  ExpectSame(Run(1, "out1", ConvertHost::kSkipAll), Run(2, "out2", ConvertHost::kSkipAll));
  ExpectSame(Run(1, "out1", ConvertHost::kOverwriteAll), Run(2, "out2", ConvertHost::kOverwriteAll));
  const RunResult stopA = Run(1, "out1", ConvertHost::kStopBatch);
  const RunResult stopB = Run(2, "out2", ConvertHost::kStopBatch);
  EXPECT_TRUE(stopB.sum.cancelled);
  ExpectSame(stopA, stopB);
  // Annotations only: companions of point files, every other entry marked.
  ExpectSame(Run(1, "lab1", ConvertHost::kRenameAll, true), Run(4, "lab2", ConvertHost::kRenameAll, true));
  const auto one = Tree(dir.File("lab1"));
  EXPECT_FALSE(one.empty());
  EXPECT_TRUE(one == Tree(dir.File("lab2")));
}

TEST_F(ParallelBatchTest, CancelStopsBeforeTheNextEntryAfterFinishingTheRunningOnes) {
  class CancellingHost : public RecordingHost {
   public:
    bool CancelRequested() override { return ++checks == cancelAt; }
    int checks = 0;
    int cancelAt = -1;
  } cancelling;
  for (const char* f : {"JZ.WL", "JZ-FINAL.WL", "I486732TK.WL"}) {
    fs::copy_file(RealSamples() / "jz-project" / f, dir.File(f));
    files.AddFile(Wide(dir.File(f)));
  }
  options.SymbolType = 0;
  options.ExportProjection = 0;
  // Check 1 drains an old request; check 4 comes before the third entry.
  cancelling.cancelAt = 4;
  const BatchSummary sum = RunBatch(L"", false, 2, &cancelling);
  EXPECT_TRUE(sum.cancelled);
  EXPECT_EQ(sum.done, 2);
  EXPECT_EQ(files.Walk()[1]->status, L"成功");
  EXPECT_EQ(files.Walk()[2]->resultCode, 0);
  // The interruption is logged after both finished entries' lines.
  std::vector<std::string> log;
  for (const std::wstring& l : cancelling.lines) log.push_back(MapGis::WideToUtf8(l.substr(1)));
  const auto stop = std::find(log.begin(), log.end(), "====================用户中断了本次转换====================");
  ASSERT_NE(stop, log.end());
  EXPECT_EQ(std::find_if(stop, log.end(), [](const std::string& l) { return l.find("JZ-FINAL") != std::string::npos; }),
            log.end());
}

// Re-running a batch into a folder that holds its results, with every clash
// overwritten, still converts entries at the same time: names that are
// prefixes of others (medium1, medium10) or empty companion names never
// make one entry wait for another. Outputs and log equal a sequential run's.
TEST_F(EngineTest, ARerunThatOverwritesStillRunsEntriesAtOnce) {
  fs::create_directories(dir.File("src"));
  for (int i = 0; i < 20; ++i) {
    fs::copy_file(RealSamples() / "frame" / "YZT-SLH.WL", dir.File("src/medium" + std::to_string(i) + ".WL"));
  }
  struct Interval {
    std::chrono::steady_clock::time_point start, end;
  };
  auto run = [&](int jobs, const std::string& out, std::vector<Interval>* times) {
    // As gridmoor --on-clash overwrite answers: each file on its own, from
    // a fixed policy that no person sees.
    SequenceHost seq;
    seq.duplicateAnswer = ConvertHost::kOverwriteThis;
    seq.inPerson = false;
    FileList list(&seq);
    list.SearchFolder(Wide(dir.File("src")), true);
    ConversionOptions o = options;
    o.ExportProjection = 0;
    o.SymbolType = 2;
    o.OutPath = Wide(dir.File(out));
    const MapGis::MapGis_ColorLib none;
    BatchRunner batch(o, list, none, &seq, &seq);
    batch.SetJobs(jobs);
    std::mutex mutex;
    if (times) times->assign(20, Interval{});
    batch.SetEntryConverter([&](const FileNode& node, const EntryNames& names, bool labels, const ConverterInputs& in) {
      const auto start = std::chrono::steady_clock::now();
      const EntryOutcome outcome = ConvertEntry(node, names, labels, in);
      if (times) {
        std::lock_guard<std::mutex> lock(mutex);
        const int index = std::stoi(MapGis::WideToUtf8(node.name.substr(6)));
        (*times)[static_cast<size_t>(index)] = Interval{start, std::chrono::steady_clock::now()};
      }
      return outcome;
    });
    EXPECT_EQ(batch.ConvertAllFiles().done, 20);
    std::vector<std::wstring> events;
    for (const std::wstring& e : seq.events) {
      if ((e.empty() || e[0] != L'?') && e.find(L"开始时间") == std::wstring::npos && e.find(L"结束时间") == std::wstring::npos) {
        events.push_back(Replace(e, Wide(dir.File(out)), L"OUT"));
      }
    }
    return events;
  };
  fs::create_directories(dir.File("one"));
  fs::create_directories(dir.File("two"));
  run(1, "one", nullptr);
  run(2, "two", nullptr);
  std::vector<Interval> times;
  const auto sequential = run(1, "one", nullptr);
  const auto parallel = run(2, "two", &times);
  EXPECT_EQ(sequential, parallel);
  EXPECT_TRUE(Tree(dir.File("one")) == Tree(dir.File("two")));
  // Entries ran at the same time: most pairs of neighbours in the list overlap.
  int overlapping = 0;
  for (size_t i = 0; i + 1 < times.size(); ++i) {
    for (size_t j = i + 1; j < times.size(); ++j) {
      if (times[i].start < times[j].end && times[j].start < times[i].end) {
        ++overlapping;
        break;
      }
    }
  }
  EXPECT_GE(overlapping, 10) << "entries of the re-run did not overlap";
}

// An entry whose results are written and that only waits for the disk to
// put them in place gives its job to the next entry: with two jobs, the
// third entry starts while the first two are still putting theirs in place.
TEST_F(EngineTest, EntriesWaitingForTheDiskLeaveTheirJobToTheNext) {
  fs::create_directories(dir.File("src"));
  for (int i = 0; i < 3; ++i) fs::copy_file(RealSamples() / "frame" / "YZT-SLH.WL", dir.File("src/e" + std::to_string(i) + ".WL"));
  RecordingHost host;
  FileList list(&host);
  list.SearchFolder(Wide(dir.File("src")), true);
  ConversionOptions o = options;
  o.OutPath = Wide(dir.File("out"));
  fs::create_directories(dir.File("out"));
  const MapGis::MapGis_ColorLib none;
  BatchRunner batch(o, list, none, &host, &host);
  batch.SetJobs(2);
  std::mutex mutex;
  std::condition_variable changed;
  bool thirdStarted = false;
  int waitedFor = 0;  // entries that saw the third start while they were writing
  batch.SetEntryConverter([&](const FileNode& node, const EntryNames&, bool, const ConverterInputs& in) {
    std::unique_lock<std::mutex> lock(mutex);
    if (node.name == L"e2.WL") {
      thirdStarted = true;
      changed.notify_all();
      return EntryOutcome{EntryResult::Done, 0};
    }
    lock.unlock();
    in.written();
    lock.lock();
    if (changed.wait_for(lock, std::chrono::seconds(20), [&] { return thirdStarted; })) ++waitedFor;
    return EntryOutcome{EntryResult::Done, 0};
  });
  EXPECT_EQ(batch.ConvertAllFiles().done, 3);
  EXPECT_EQ(waitedFor, 2);
}
