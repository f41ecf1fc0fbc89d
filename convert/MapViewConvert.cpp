// The batch driver: every entry of the file list in list order, named,
// checked for clashes, converted, marked with its status, and a summary.
#include <condition_variable>
#include <ctime>
#include <cwctype>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "MapGisCodePage.h"
#include "Settings.h"

namespace fs = std::filesystem;

namespace {

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

std::wstring UpperExtension(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  std::wstring ext = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
  for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return ext;
}

// The colour library file in `dir`: "Pcolor.lib", in any letter case.
std::wstring FindColourLibrary(const std::wstring& dir) {
  const std::wstring exact = dir + L"/Pcolor.lib";
  if (Exists(exact)) return exact;
  std::error_code ec;
  for (fs::directory_iterator it(fs::u8path(MapGis::WideToUtf8(dir)), ec), end; !ec && it != end; it.increment(ec)) {
    std::wstring name = MapGis::Utf8ToWide(it->path().filename().u8string());
    std::wstring upper = name;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    if (upper == L"PCOLOR.LIB") return dir + L"/" + name;
  }
  return exact;
}

std::wstring FoldCase(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return s;
}

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'/');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring StemOf(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

bool StartsWith(const std::wstring& s, const std::wstring& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

// One entry of a batch between its naming and its release to the log.
struct BatchEntry {
  FileNode* node = nullptr;
  std::wstring dir;                 // output folder, case-folded
  std::vector<std::wstring> stems;  // case-folded names (without extension) of the results
  std::vector<std::wstring> lines;  // its log lines, released in list order
  long result = 12;
  std::exception_ptr failure;
  bool done = false;
  std::thread worker;

  // Whether results of this entry could be seen or written by an entry
  // naming its results from `stem` in `dir` (both case-folded). Every result
  // file is a result name plus an extension, so related names share a prefix.
  bool Clashes(const std::wstring& otherDir, const std::wstring& stem) const {
    if (otherDir != dir) return false;
    for (const std::wstring& s : stems) {
      if (StartsWith(s, stem) || StartsWith(stem, s)) return true;
    }
    return false;
  }
};

// Forwards every call to the host one at a time: workers report progress
// while the driver shows status.
class SerialHost : public ConvertHost {
 public:
  explicit SerialHost(ConvertHost* host) : host_(host) {}

 private:
  template <typename F>
  auto Locked(F f) -> decltype(f()) {
    std::lock_guard<std::mutex> lock(mutex_);
    return f();
  }

 public:
  int AskDuplicate(const std::wstring& name) override { return Locked([&] { return host_->AskDuplicate(name); }); }
  void MessageBox(const std::wstring& text, const std::wstring& caption, Icon icon) override {
    Locked([&] { host_->MessageBox(text, caption, icon); });
  }
  bool AskYesNo(const std::wstring& text, const std::wstring& caption) override {
    return Locked([&] { return host_->AskYesNo(text, caption); });
  }
  void SetStatusText(const std::wstring& text) override { Locked([&] { host_->SetStatusText(text); }); }
  void SetProgressText(const std::wstring& text) override { Locked([&] { host_->SetProgressText(text); }); }
  void SetProgress(int percent) override { Locked([&] { host_->SetProgress(percent); }); }
  bool CancelRequested() override { return Locked([&] { return host_->CancelRequested(); }); }
  void FinishSound() override { Locked([&] { host_->FinishSound(); }); }
  void NodeChanged(const FileNode* node) override { Locked([&] { host_->NodeChanged(node); }); }
  void EntryStarting(const FileNode* node) override { Locked([&] { host_->EntryStarting(node); }); }
  void AppendLine(const std::wstring& line) override { Locked([&] { host_->AppendLine(line); }); }
  void ClearLines() override { Locked([&] { host_->ClearLines(); }); }
  void ShowLog() override { Locked([&] { host_->ShowLog(); }); }

 private:
  ConvertHost* host_;
  std::mutex mutex_;
};

}  // namespace

std::wstring CompactPath(const std::wstring& path, size_t maxChars) {
  if (path.size() <= maxChars) return path;
  const size_t slash = path.find_last_of(L'/');
  const std::wstring tail = slash == std::wstring::npos ? path : path.substr(slash);
  if (tail.size() + 3 >= maxChars) return L"..." + tail.substr(tail.size() - (maxChars - 3));
  const size_t head = maxChars - 3 - tail.size();
  return path.substr(0, head) + L"..." + tail;
}

int CGridmoorProView::ConvertLoadRules() {
  if (Settings::SymbolType == 0) return 1;
  if (!Settings::LibPath.empty()) {
    const std::wstring path = FindColourLibrary(Settings::LibPath);
    if (Exists(path)) {
      const long count = colorLib_.LoadColors(path.c_str());
      // A library that cannot be loaded is as good as missing.
      if (count >= 0) {
        CONVERT_LOG(L"使用MapGIS颜色库:[%ls]，包含[%ld]种颜色", path.c_str(), count);
        return 1;
      }
    }
  }
  if (host_) {
    host_->MessageBox(L"未设定匹配色标库文件或者指定色标库文件不存在!", L"注意", ConvertHost::Icon::Warning);
  }
  return 0;
}

BatchSummary CGridmoorProView::ConvertAllFiles(const std::wstring& outputDir) {
  return RunBatch(outputDir, false);
}

BatchSummary CGridmoorProView::ConvertAllLabels(const std::wstring& outputDir) { return RunBatch(outputDir, true); }

long CGridmoorProView::ConvertEntry(const FileNode& node, const std::wstring& mainName, const std::wstring& companion) {
  const std::wstring& source = node.path;
  const std::wstring ext = UpperExtension(node.name);
  if (ext == L".MPJ") return Settings::ExportLayerIndex != 0 ? ConvertMpj2Shp(source, mainName) : 12;
  if (ext == L".WT") {
    if (Settings::ExportAnnotation == 0) return ConvertPoint2Shp(source, mainName);
    const long result = ConvertPntSub2Shp(source, mainName);
    ConvertNote2Shp(source, companion);
    return result;
  }
  if (ext == L".WL") return ConvertArc2Shp(source, mainName);
  if (ext == L".WP") {
    const long result = ConvertPolygon2Shp(source, mainName);
    if (Settings::ExportPolyArc != 0) ConvertPolyArc2Shp(source, companion);
    return result;
  }
  if (ext == L".WB") return ConvertWB2DBF(source, mainName);
  if (ext == L".WN") {
    const long result = ConvertNetArc2Shp(source, mainName);
    if (Settings::ExportNetNode != 0) ConvertNetPoint2Shp(source, companion);
    return result;
  }
  return 12;
}

BatchSummary CGridmoorProView::RunBatch(const std::wstring& outputDir, bool labelsOnly) {
  BatchSummary sum;
  CONVERT_LOG(L"====================转换信息：I 提示,W 警告,E 错误,F 未知错====================");
  CONVERT_LOG(L"--------------------开始时间:(%ls)--------------------", Now().c_str());
  policy_.Clear();
  if (host_) host_->CancelRequested();  // a request left from before the run does not count
  const std::vector<FileNode*> nodes = files_.Walk();
  sum.total = static_cast<int>(nodes.size());

  // With several jobs the driver still names every entry and asks every
  // question in list order on this thread; workers only convert. Each
  // entry's log lines are buffered and released in list order, and an entry
  // waits for every running one whose results could share its names.
  const bool parallel = jobs_ > 1 && nodes.size() > 1;
  ConvertHost* const ownHost = host_;
  SerialHost serial(ownHost);
  if (parallel && host_) host_ = &serial;
  CConvertLog& log = CConvertLog::Instance();
  std::mutex mutex;
  std::condition_variable changed;
  int running = 0;
  std::deque<std::unique_ptr<BatchEntry>> pending;  // in list order, not yet released

  auto record = [&](BatchEntry& e) {
    if (e.worker.joinable()) e.worker.join();
    log.Release(e.lines);
    if (e.failure) std::rethrow_exception(e.failure);
    FileNode* node = e.node;
    const long result = e.result;
    node->resultCode = result;
    if (result == 99999) {
      node->status = L"成功";
      node->colour = kColourBlack;
      ++sum.done;
    } else if (result == 10) {
      node->status = L"空文件";
      node->colour = kColourBlue;
      ++sum.empty;
    } else if (result == 12) {
      node->status = labelsOnly ? L"…" : L"跳过";
      node->colour = kColourBlue;
      ++sum.skipped;
    } else {
      node->status = L"失败";
      node->colour = kColourRed;
      ++sum.failed;
    }
    if (host_) host_->NodeChanged(node);
  };
  // Releases the finished entries at the front of the list.
  auto releaseFinished = [&]() {
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (pending.empty() || !pending.front()->done) return;
      }
      std::unique_ptr<BatchEntry> e = std::move(pending.front());
      pending.pop_front();
      record(*e);
    }
  };
  auto waitUntil = [&](const std::function<bool()>& ready) {
    for (;;) {
      releaseFinished();
      std::unique_lock<std::mutex> lock(mutex);
      if (ready()) return;
      changed.wait(lock);
    }
  };
  auto drain = [&]() {
    waitUntil([&] { return running == 0; });
    releaseFinished();
  };
  // Waits for every running entry that writes into `dir` a name related to `stem`.
  auto waitForClashes = [&](const std::wstring& dir, const std::wstring& stem) {
    const std::wstring key = FoldCase(dir), name = FoldCase(stem);
    waitUntil([&] {
      for (const auto& e : pending) {
        if (!e->done && e->Clashes(key, name)) return false;
      }
      return true;
    });
  };

  int index = 0;
  for (FileNode* node : nodes) {
    if (host_ && host_->CancelRequested()) {
      if (parallel) drain();
      if (host_->AskYesNo(L"确定要取消当前转换过程？", L"取消转换")) {
        CONVERT_LOG(L"%ls", kInterrupted);
        sum.cancelled = true;
        break;
      }
    }
    auto entry = std::make_unique<BatchEntry>();
    BatchEntry& e = *entry;
    e.node = node;
    if (parallel) {
      CConvertLog::SetThreadCapture(&e.lines);
      beforeQuestion_ = [&] {
        drain();
        log.Release(e.lines);
      };
    }
    const std::wstring& source = node->path;
    if (!Exists(source)) {
      CONVERT_LOG(L"----结束转换[文件不存在(0/0)]");
      ++sum.missing;
    }
    if (host_) {
      host_->SetStatusText(FormatText(L"正在转换%ls", CompactPath(source, 50).c_str()));
      host_->SetProgressText(FormatText(L"进度：[%d/%d]", index, sum.total));
      host_->SetProgress(0);
      host_->EntryStarting(node);
    }
    const std::wstring stem = StemOf(node->name);
    std::wstring dir = outputDir;
    if (parallel && !dir.empty() && !node->parent && !node->children.empty()) waitForClashes(dir, stem);
    BuildOutputDir(node, dir);
    if (parallel) waitForClashes(dir, stem);
    const int answer = ConvertCheckOverwrite(dir + L"/" + node->name, labelsOnly);
    policy_.Apply(answer);
    if (answer == ConvertHost::kStopBatch) {
      if (parallel) {
        CConvertLog::SetThreadCapture(nullptr);
        beforeQuestion_ = nullptr;
        drain();
        log.Release(e.lines);
      }
      CONVERT_LOG(L"%ls", kInterrupted);
      sum.cancelled = true;
      break;
    }
    std::wstring mainName, companion;
    BuildFinalName(dir, node->name, mainName, companion, labelsOnly);
    node->result = mainName + L".shp";
    if (parallel) {
      CConvertLog::SetThreadCapture(nullptr);
      beforeQuestion_ = nullptr;
    }
    e.dir = FoldCase(dir);
    e.stems = {FoldCase(FileNameOf(mainName)), FoldCase(FileNameOf(companion))};

    bool convert = true;
    if (policy_.skipThis) {
      policy_.skipThis = false;
      convert = false;
    } else if (labelsOnly && UpperExtension(node->name) != L".WT") {
      convert = false;
    }
    policy_.AfterFile();
    auto work = [this, node, labelsOnly, mainName, companion]() {
      return labelsOnly ? ConvertNote2Shp(node->path, companion) : ConvertEntry(*node, mainName, companion);
    };
    if (!convert) {
      e.done = true;
    } else if (!parallel) {
      e.result = work();
      e.done = true;
    } else {
      waitUntil([&] { return running < jobs_; });
      ++running;  // only the driver starts entries; workers decrement under the lock
      e.worker = std::thread([&e, work, &mutex, &changed, &running]() {
        CConvertLog::SetThreadCapture(&e.lines);
        long result = 12;
        std::exception_ptr failure;
        try {
          result = work();
        } catch (...) {
          failure = std::current_exception();
        }
        CConvertLog::SetThreadCapture(nullptr);
        std::lock_guard<std::mutex> lock(mutex);
        e.result = result;
        e.failure = failure;
        e.done = true;
        --running;
        changed.notify_all();
      });
    }
    {
      std::lock_guard<std::mutex> lock(mutex);
      pending.push_back(std::move(entry));
    }
    releaseFinished();
    ++index;
  }
  if (parallel) {
    CConvertLog::SetThreadCapture(nullptr);
    beforeQuestion_ = nullptr;
  }
  drain();
  host_ = ownHost;
  CONVERT_LOG(L"--------------------结束时间:(%ls)--------------------", Now().c_str());
  const std::wstring summary =
      FormatText(L"转换完成：%d个完成,%d个空文件,%d个跳过,%d个失败", sum.done, sum.empty, sum.skipped, sum.failed);
  if (host_) {
    host_->SetStatusText(summary);
    host_->SetProgressText(FormatText(L"进度：[%d/%d]", sum.missing + sum.empty + sum.failed + sum.skipped + sum.done,
                                      sum.total));
    host_->SetProgress(0);
  }
  CONVERT_LOG(L"====================%ls====================", summary.c_str());
  if (host_) {
    if (Settings::FinishBeep != 0) host_->FinishSound();
    host_->MessageBox(summary, L"转换完成", ConvertHost::Icon::Information);
  }
  sum.text = summary;
  return sum;
}
