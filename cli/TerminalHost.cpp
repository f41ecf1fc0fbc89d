#include "TerminalHost.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "MapGisCodePage.h"

namespace {

std::atomic<int> g_interrupts{0};

// The first Ctrl-C asks to cancel between two files; a second one ends the program.
void OnInterrupt(int) {
  if (g_interrupts.fetch_add(1) >= 1) {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
  }
}

std::string Utf8(const std::wstring& s) { return MapGis::WideToUtf8(s); }

}  // namespace

TerminalHost::TerminalHost(const std::string& onClash, bool quiet)
    : onClash_(onClash), quiet_(quiet), stdinTerminal_(isatty(0) != 0), stderrTerminal_(isatty(2) != 0) {
  if (onClash_.empty()) onClash_ = stdinTerminal_ ? "ask" : "skip";
  std::signal(SIGINT, OnInterrupt);
}

TerminalHost::~TerminalHost() {
  ClearProgress();
  std::signal(SIGINT, SIG_DFL);
}

std::string TerminalHost::ReadAnswer(const std::string& prompt) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ClearProgress();
  std::cerr << prompt << std::flush;
  std::string line;
  if (!std::getline(std::cin, line)) return std::string();
  return line;
}

int TerminalHost::AskDuplicate(const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (onClash_ == "skip") return kSkipThis;
  if (onClash_ == "overwrite") return kOverwriteThis;
  if (onClash_ == "rename") return kRenameThis;
  if (onClash_ == "stop") return kStopBatch;
  for (;;) {
    const std::string a = ReadAnswer("重名文件: " + Utf8(name) +
                                     "\n输出目录下已经包含同名文件,覆盖该文件？ [r]自动改名 [o]覆盖 [s]跳过 [t]终止"
                                     " (大写: 后续所有冲突都执行此操作) ");
    if (a.empty()) return kSkipThis;  // end of input: skip, never overwrite
    switch (a[0]) {
      case 'r': return kRenameThis;
      case 'R': return kRenameAll;
      case 'o': return kOverwriteThis;
      case 'O': return kOverwriteAll;
      case 's': return kSkipThis;
      case 'S': return kSkipAll;
      case 't':
      case 'T': return kStopBatch;
      default: break;
    }
  }
}

void TerminalHost::MessageBox(const std::wstring& text, const std::wstring& caption, Icon icon) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  // Quiet runs print their summary once, on stdout; warnings still show.
  if (quiet_ && icon == Icon::Information) return;
  ClearProgress();
  std::cerr << Utf8(caption) << ": " << Utf8(text) << std::endl;
}

bool TerminalHost::AskYesNo(const std::wstring& text, const std::wstring& caption) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!stdinTerminal_) return true;
  const std::string a = ReadAnswer(Utf8(caption) + ": " + Utf8(text) + " [y/n] ");
  return a.empty() || a[0] == 'y' || a[0] == 'Y';
}

void TerminalHost::SetStatusText(const std::wstring& text) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  status_ = text;
  DrawProgress();
}

void TerminalHost::SetProgressText(const std::wstring& text) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  progressText_ = text;
  DrawProgress();
}

void TerminalHost::SetProgress(int percent) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (percent == percent_ && progressShown_) return;
  percent_ = percent;
  DrawProgress();
}

bool TerminalHost::CancelRequested() { return g_interrupts.exchange(0) > 0; }

void TerminalHost::FinishSound() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (stderrTerminal_ && !quiet_) std::cerr << '\a' << std::flush;
}

void TerminalHost::AppendLine(const std::wstring& line) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (quiet_) return;
  ClearProgress();
  (linesToStderr_ ? std::cerr : std::cout) << Utf8(line) << '\n' << std::flush;
  DrawProgress();
}

void TerminalHost::PrintAlways(const std::wstring& line) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  ClearProgress();
  (linesToStderr_ ? std::cerr : std::cout) << Utf8(line) << std::endl;
}

void TerminalHost::DrawProgress() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!stderrTerminal_ || quiet_) return;
  const int p = percent_ < 0 ? 0 : percent_ > 100 ? 100 : percent_;
  const int filled = p / 5;
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(20 - filled), '.');
  std::cerr << "\r\033[K" << Utf8(progressText_) << " [" << bar << "] " << p << "% " << Utf8(status_) << std::flush;
  progressShown_ = true;
}

void TerminalHost::ClearProgress() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!progressShown_) return;
  std::cerr << "\r\033[K" << std::flush;
  progressShown_ = false;
}
