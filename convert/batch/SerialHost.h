#pragma once
// A host that forwards every call to another one at a time: while entries
// are converted at once, workers report progress and the driver shows
// status through the same host.
#include <mutex>
#include <string>

#include "ConvertHost.h"

class SerialHost : public ConvertHost {
 public:
  explicit SerialHost(ConvertHost* host) : host_(host) {}

  int AskDuplicate(const std::wstring& name) override { return Locked([&] { return host_->AskDuplicate(name); }); }
  bool AsksInPerson() override { return Locked([&] { return host_->AsksInPerson(); }); }
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

 private:
  template <typename F>
  auto Locked(F f) -> decltype(f()) {
    std::lock_guard<std::mutex> lock(mutex_);
    return f();
  }

  ConvertHost* host_;
  std::mutex mutex_;
};
