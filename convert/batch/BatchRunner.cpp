#include "BatchRunner.h"

#include <chrono>
#include <ctime>
#include <cwctype>
#include <filesystem>
#include <memory>
#include <mutex>
#include <new>

#include "EntryScheduler.h"
#include "GeoPackagePaths.h"
#include "MapGisCodePage.h"
#include "OutputNaming.h"
#include "SerialHost.h"

namespace fs = std::filesystem;

namespace {

constexpr char kLogUnit[] = "MapViewConvert";

const wchar_t kInterrupted[] = L"====================用户中断了本次转换====================";

bool Exists(const std::wstring& p) {
  std::error_code ec;
  return fs::exists(fs::u8path(MapGis::WideToUtf8(p)), ec);
}

std::wstring Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  wchar_t text[64];
  std::wcsftime(text, 64, L"%Y-%m-%d-%H:%M:%S", &local);
  return text;
}

std::wstring Upper(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return s;
}

// The colour library file in `dir`: "Pcolor.lib", in any letter case.
std::wstring FindColourLibrary(const std::wstring& dir) {
  const std::wstring exact = dir + L"/Pcolor.lib";
  if (Exists(exact)) return exact;
  std::error_code ec;
  for (fs::directory_iterator it(fs::u8path(MapGis::WideToUtf8(dir)), ec), end; !ec && it != end; it.increment(ec)) {
    const std::wstring name = MapGis::Utf8ToWide(it->path().filename().u8string());
    if (Upper(name) == L"PCOLOR.LIB") return dir + L"/" + name;
  }
  return exact;
}

// One run of a batch and the state its steps share.
class BatchRun {
 public:
  BatchRun(const ConversionOptions& options, FileList& files, const ColorModel& colors, ConvertHost* host,
           LogSink* sink, int jobs, const EntryConverter& convert, bool labelsOnly, RunReport* report);
  BatchSummary Run();

 private:
  // Asks whether to stop when the person asked to cancel; true to stop.
  bool StopRequested();
  // Names one entry, asks about a clash and starts its conversion; false
  // when the person chose to stop the batch.
  bool Schedule(FileNode* node, int index);
  // The conversion of an entry as its worker runs it: never throws.
  EntryOutcome Convert(ScheduledEntry& e, const EntryNames& names, LogSink* lines, const std::function<void()>& written);
  // Seconds since the run started.
  double Elapsed() const;
  // Marks a finished entry in the list and counts it.
  void Record(ScheduledEntry& e);
  void Finish();

  const ConversionOptions& options_;
  FileList& files_;
  const ColorModel& colors_;
  SerialHost serial_;
  ConvertHost* host_;
  LogSink* sink_;
  const EntryConverter& convert_;
  const bool labelsOnly_;
  RunReport* report_;
  const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  ReportingSink runSink_;
  ConversionLog log_;
  OverwritePolicy policy_;
  EntryScheduler scheduler_;
  OutputNaming naming_;
  BatchSummary sum_;
};

BatchRun::BatchRun(const ConversionOptions& options, FileList& files, const ColorModel& colors, ConvertHost* host,
                   LogSink* sink, int jobs, const EntryConverter& convert, bool labelsOnly, RunReport* report)
    : options_(options),
      files_(files),
      colors_(colors),
      serial_(host),
      // Workers report progress while the driver shows status: one call at a time.
      host_(host && jobs > 1 ? &serial_ : host),
      sink_(sink),
      convert_(convert),
      labelsOnly_(labelsOnly),
      report_(report),
      runSink_(sink, report ? &report->items : nullptr),
      log_(&runSink_, options.LogLevel),
      scheduler_(jobs, [this](ScheduledEntry& e) { Record(e); }),
      naming_(options, policy_, host_, [this](const std::wstring& path) {
        scheduler_.WaitForWriters(path);
        return ResultExists(path);
      }) {}

BatchSummary BatchRun::Run() {
  CONVERT_LOG(log_, L"====================转换信息：I 提示,W 警告,E 错误,F 未知错====================");
  CONVERT_LOG(log_, L"--------------------开始时间:(%ls)--------------------", Now().c_str());
  if (host_) host_->CancelRequested();  // a request left from before the run does not count
  const std::vector<FileNode*> nodes = files_.Walk();
  sum_.total = static_cast<int>(nodes.size());
  int index = 0;
  for (FileNode* node : nodes) {
    if (StopRequested() || !Schedule(node, index)) break;
    ++index;
  }
  scheduler_.Drain();
  Finish();
  return sum_;
}

bool BatchRun::StopRequested() {
  if (!host_ || !host_->CancelRequested()) return false;
  scheduler_.Drain();
  if (!host_->AskYesNo(L"确定要取消当前转换过程？", L"取消转换")) return false;
  CONVERT_LOG(log_, L"%ls", kInterrupted);
  sum_.cancelled = true;
  return true;
}

bool BatchRun::Schedule(FileNode* node, int index) {
  auto entry = std::make_unique<ScheduledEntry>();
  ScheduledEntry& e = *entry;
  e.node = node;
  // While entries run at once, this entry's lines wait for those before it.
  LogSink* lines = scheduler_.Parallel() ? &e.lines : sink_;
  if (report_) {
    e.reporting = ReportingSink(lines, &e.report.items);
    lines = &e.reporting;
  }
  ConversionLog log(lines, options_.LogLevel);
  if (scheduler_.Parallel() && host_ && host_->AsksInPerson()) {
    naming_.SetBeforeQuestion([&] {
      scheduler_.Drain();
      e.lines.ReleaseTo(sink_);
    });
  }
  if (!Exists(node->path)) {
    CONVERT_LOG(log, L"----结束转换[文件不存在(0/0)]");
    ++sum_.missing;
    e.missing = true;
  }
  if (host_) {
    host_->SetStatusText(FormatText(L"正在转换%ls", CompactPath(node->path, 50).c_str()));
    host_->SetProgressText(FormatText(L"进度：[%d/%d]", index, sum_.total));
    host_->SetProgress(0);
    host_->EntryStarting(node);
  }
  std::wstring dir = options_.OutPath;
  naming_.BuildOutputDir(node, dir, log);
  const int answer = naming_.CheckOverwrite(dir + L"/" + node->name, labelsOnly_, log);
  naming_.SetBeforeQuestion(nullptr);
  policy_.Apply(answer);
  if (answer == ConvertHost::kStopBatch) {
    scheduler_.Drain();
    e.lines.ReleaseTo(sink_);
    CONVERT_LOG(log_, L"%ls", kInterrupted);
    sum_.cancelled = true;
    return false;
  }
  EntryNames names;
  naming_.BuildFinalName(dir, node->name, names.main, names.companion, labelsOnly_, log);
  names.replace = answer == ConvertHost::kOverwriteThis || answer == ConvertHost::kOverwriteAll;
  node->result = naming_.ResultName(names.main);

  std::wstring stem, ext;
  OutputNaming::SplitName(node->name, &stem, &ext);
  bool convert = true;
  if (policy_.skipThis) {
    policy_.skipThis = false;
    convert = false;
  } else if (labelsOnly_ && ext != L".WT") {
    convert = false;
  }
  policy_.AfterFile();
  if (!convert) {
    scheduler_.Add(std::move(entry), nullptr);
    return true;
  }
  for (const std::wstring& f : naming_.WrittenFiles(names.main, names.companion, ext, labelsOnly_)) {
    scheduler_.WaitForWriters(f);
    e.writes.insert(EntryScheduler::Fold(f));
  }
  scheduler_.Add(std::move(entry), [this, &e, names, lines](const std::function<void()>& written) {
    return Convert(e, names, lines, written);
  });
  return true;
}

double BatchRun::Elapsed() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

EntryOutcome BatchRun::Convert(ScheduledEntry& e, const EntryNames& names, LogSink* lines,
                               const std::function<void()>& written) {
  ConversionLog log(lines, options_.LogLevel);
  ConverterInputs in{options_, colors_, log, nullptr, host_, report_ ? &e.report : nullptr, written};
  e.report.started = Elapsed();
  struct Finish {
    ScheduledEntry& e;
    const BatchRun& run;
    ~Finish() { e.report.finished = run.Elapsed(); }
  } finish{e, *this};
  try {
    return convert_(*e.node, names, labelsOnly_, in);
  } catch (const std::exception& error) {
    // The entry fails; the batch and the other entries go on.
    CONVERT_LOG(log, L"------E__转换过程发生异常[%ls]", MapGis::Utf8ToWide(error.what()).c_str());
  } catch (...) {
    CONVERT_LOG(log, L"------E__转换过程发生异常[%ls]", L"");
  }
  CONVERT_LOG(log, L"%ls", OpenClosingText(kUnexpectedError));
  return {EntryResult::Failed, kUnexpectedError};
}

void BatchRun::Record(ScheduledEntry& e) {
  e.lines.ReleaseTo(sink_);
  FileNode* node = e.node;
  // The list keeps the number of the result; a skipped entry has the skip answer's.
  node->resultCode = e.outcome.result == EntryResult::Skipped ? long{ConvertHost::kSkipThis} : e.outcome.status;
  switch (e.outcome.result) {
    case EntryResult::Done:
      node->status = L"成功";
      node->colour = kColourBlack;
      ++sum_.done;
      break;
    case EntryResult::Empty:
      node->status = L"空文件";
      node->colour = kColourBlue;
      ++sum_.empty;
      break;
    case EntryResult::Skipped:
      node->status = labelsOnly_ ? L"…" : L"跳过";
      node->colour = kColourBlue;
      ++sum_.skipped;
      break;
    case EntryResult::Failed:
      node->status = L"失败";
      node->colour = kColourRed;
      ++sum_.failed;
      break;
  }
  if (host_) host_->NodeChanged(node);
  if (report_) {
    static const char* const kKinds[] = {"none", "project", "point", "line", "polygon", "table", "network"};
    static const char* const kResults[] = {"done", "empty", "skipped", "failed"};
    EntryReport& r = e.report;
    r.source = node->path;
    r.kind = node->image >= 0 && node->image <= kKindNetwork ? kKinds[node->image] : "none";
    r.result = e.missing ? "missing" : kResults[static_cast<int>(e.outcome.result)];
    r.status = node->resultCode;
    report_->entries.push_back(std::move(r));
  }
}

void BatchRun::Finish() {
  CONVERT_LOG(log_, L"--------------------结束时间:(%ls)--------------------", Now().c_str());
  sum_.text = FormatText(L"转换完成：%d个完成,%d个空文件,%d个跳过,%d个失败", sum_.done, sum_.empty, sum_.skipped,
                         sum_.failed);
  if (host_) {
    host_->SetStatusText(sum_.text);
    host_->SetProgressText(FormatText(L"进度：[%d/%d]", sum_.missing + sum_.empty + sum_.failed + sum_.skipped + sum_.done,
                                      sum_.total));
    host_->SetProgress(0);
  }
  CONVERT_LOG(log_, L"====================%ls====================", sum_.text.c_str());
  if (report_) {
    report_->done = sum_.done;
    report_->empty = sum_.empty;
    report_->skipped = sum_.skipped;
    report_->failed = sum_.failed;
    report_->missing = sum_.missing;
    report_->total = sum_.total;
    report_->cancelled = sum_.cancelled;
    report_->seconds = Elapsed();
  }
  if (host_) {
    if (options_.FinishBeep != 0) host_->FinishSound();
    host_->MessageBox(sum_.text, L"转换完成", ConvertHost::Icon::Information);
  }
}

}  // namespace

std::wstring CompactPath(const std::wstring& path, size_t maxChars) {
  if (path.size() <= maxChars) return path;
  const size_t slash = path.find_last_of(L'/');
  const std::wstring tail = slash == std::wstring::npos ? path : path.substr(slash);
  if (tail.size() + 3 >= maxChars) return L"..." + tail.substr(tail.size() - (maxChars - 3));
  const size_t head = maxChars - 3 - tail.size();
  return path.substr(0, head) + L"..." + tail;
}

int LoadColourLibrary(const ConversionOptions& options, MapGis::MapGis_ColorLib& library, ConvertHost* host,
                      ConversionLog& log) {
  if (options.SymbolType == 0) return 1;
  if (!options.LibPath.empty()) {
    const std::wstring path = FindColourLibrary(options.LibPath);
    if (Exists(path)) {
      const long count = library.LoadColors(path.c_str());
      // A library that cannot be loaded is as good as missing.
      if (count >= 0) {
        CONVERT_LOG(log, L"使用MapGIS颜色库:[%ls]，包含[%ld]种颜色", path.c_str(), count);
        return 1;
      }
    }
  }
  if (host) host->MessageBox(L"未设定匹配色标库文件或者指定色标库文件不存在!", L"注意", ConvertHost::Icon::Warning);
  return 0;
}

BatchRunner::BatchRunner(const ConversionOptions& options, FileList& files, const MapGis::MapGis_ColorLib& colours,
                         ConvertHost* host, LogSink* sink)
    : options_(options),
      files_(files),
      colors_(&colours, options.ColorModel),
      host_(host),
      sink_(sink),
      convert_(ConvertEntry) {}

BatchSummary BatchRunner::Run(bool labelsOnly) {
  BatchRun run(options_, files_, colors_, host_, sink_, jobs_, convert_, labelsOnly, report_);
  return run.Run();
}
