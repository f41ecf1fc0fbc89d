#pragma once
// Runs the entries of a batch, one after the other or on up to N worker
// threads, and hands them back in list order. An entry waits only for
// running entries that write one of the files it tests or writes. An entry
// whose results are written and that only waits for the disk to put them
// in place gives its job to the next entry (at most 2N entries under way).
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "ConversionLog.h"
#include "EntryConversion.h"
#include "ReportingSink.h"
#include "RunReport.h"

// One entry between its naming and its release.
struct ScheduledEntry {
  FileNode* node = nullptr;
  std::set<std::wstring> writes;  // case-folded paths of every file it may write
  LineBuffer lines;               // its log lines while entries run at once
  EntryOutcome outcome;           // skipped until converted
  bool missing = false;           // the source did not exist
  EntryReport report;             // filled when the run keeps a report
  ReportingSink reporting;        // keeps its log lines as report items
  bool done = false;
  bool converting = false;        // holds one of the N jobs
  std::thread worker;
};

class EntryScheduler {
 public:
  // `release` is called on the driver thread for every finished entry, in
  // list order.
  EntryScheduler(int jobs, std::function<void(ScheduledEntry&)> release);
  // Waits for every running entry: no worker outlives the scheduler.
  ~EntryScheduler();
  EntryScheduler(const EntryScheduler&) = delete;
  EntryScheduler& operator=(const EntryScheduler&) = delete;

  bool Parallel() const { return jobs_ > 1; }

  // What converts an entry and gives its outcome; it calls `written` (at
  // most once) when only the wait for the disk remains.
  using Work = std::function<EntryOutcome(const std::function<void()>& written)>;
  // Appends an entry. `work` converts it (on a worker when parallel, else
  // right away); an entry without work is finished.
  void Add(std::unique_ptr<ScheduledEntry> entry, Work work);
  // Waits until no running entry writes `path` (compared case-folded).
  void WaitForWriters(const std::wstring& path);
  // Waits for every entry and releases them all.
  void Drain();

  // Case-folded form of a path, as `writes` holds it.
  static std::wstring Fold(std::wstring path);

 private:
  void ReleaseFinished();
  // The entry gives up its job (under the lock).
  void EndConverting(ScheduledEntry& e);
  void WaitUntil(const std::function<bool()>& ready);

  const int jobs_;
  std::function<void(ScheduledEntry&)> release_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int running_ = 0;  // entries holding a job
  int writing_ = 0;  // entries waiting for the disk
  std::deque<std::unique_ptr<ScheduledEntry>> pending_;  // in list order, not yet released
};
