#include "EntryScheduler.h"

#include <cwctype>
#include <system_error>

EntryScheduler::EntryScheduler(int jobs, std::function<void(ScheduledEntry&)> release)
    : jobs_(jobs < 1 ? 1 : jobs), release_(std::move(release)) {}

EntryScheduler::~EntryScheduler() {
  for (auto& e : pending_) {
    if (e->worker.joinable()) e->worker.join();
  }
}

std::wstring EntryScheduler::Fold(std::wstring path) {
  for (wchar_t& c : path) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return path;
}

void EntryScheduler::ReleaseFinished() {
  for (;;) {
    std::unique_ptr<ScheduledEntry> e;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (pending_.empty() || !pending_.front()->done) return;
      e = std::move(pending_.front());
      pending_.pop_front();
    }
    if (e->worker.joinable()) e->worker.join();
    release_(*e);
  }
}

void EntryScheduler::WaitUntil(const std::function<bool()>& ready) {
  for (;;) {
    ReleaseFinished();
    std::unique_lock<std::mutex> lock(mutex_);
    if (ready()) return;
    changed_.wait(lock);
  }
}

void EntryScheduler::WaitForWriters(const std::wstring& path) {
  if (!Parallel()) return;
  const std::wstring key = Fold(path);
  WaitUntil([&] {
    for (const auto& e : pending_) {
      if (!e->done && e->writes.count(key)) return false;
    }
    return true;
  });
}

void EntryScheduler::Drain() {
  WaitUntil([&] { return running_ == 0 && writing_ == 0; });
  ReleaseFinished();
}

void EntryScheduler::EndConverting(ScheduledEntry& e) {
  if (!e.converting) return;
  e.converting = false;
  --running_;
  ++writing_;
  changed_.notify_all();
}

void EntryScheduler::Add(std::unique_ptr<ScheduledEntry> entry, Work work) {
  ScheduledEntry& e = *entry;
  if (!work) {
    e.done = true;
  } else if (!Parallel()) {
    e.outcome = work(nullptr);
    e.done = true;
  } else {
    WaitUntil([&] { return running_ < jobs_ && running_ + writing_ < 2 * jobs_; });
    ++running_;  // only the driver starts entries; workers decrement under the lock
    e.converting = true;
    try {
      e.worker = std::thread([this, &e, work]() {
        const EntryOutcome outcome = work([this, &e] {
          std::lock_guard<std::mutex> lock(mutex_);
          EndConverting(e);
        });
        std::lock_guard<std::mutex> lock(mutex_);
        EndConverting(e);
        --writing_;
        e.outcome = outcome;
        e.done = true;
        changed_.notify_all();
      });
    } catch (const std::system_error&) {
      // No thread to be had: convert it here.
      --running_;
      e.converting = false;
      e.outcome = work(nullptr);
      e.done = true;
    }
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.push_back(std::move(entry));
  }
  ReleaseFinished();
}
