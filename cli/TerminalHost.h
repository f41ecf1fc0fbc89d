#pragma once
// The conversion host of the command line: log lines on stdout, questions
// on the terminal (or a fixed answer when there is none), a progress bar on
// stderr when stderr is a terminal, Ctrl-C as the cancel request.
#include <mutex>
#include <string>

#include "ConvertHost.h"

class TerminalHost : public ConvertHost {
 public:
  // How name clashes are answered: "ask", "skip", "overwrite", "rename" or "stop".
  TerminalHost(const std::string& onClash, bool quiet);
  ~TerminalHost() override;

  int AskDuplicate(const std::wstring& name) override;
  // Only --on-clash ask puts the question on the terminal.
  bool AsksInPerson() override { return onClash_ == "ask"; }
  void MessageBox(const std::wstring& text, const std::wstring& caption, Icon icon) override;
  bool AskYesNo(const std::wstring& text, const std::wstring& caption) override;
  void SetStatusText(const std::wstring& text) override;
  void SetProgressText(const std::wstring& text) override;
  void SetProgress(int percent) override;
  bool CancelRequested() override;
  void FinishSound() override;
  void AppendLine(const std::wstring& line) override;

  // Writes a line on stdout even when quiet (the summary).
  void PrintAlways(const std::wstring& line);
  // Log lines and the summary go to stderr instead (stdout carries a report).
  void SetLinesToStderr(bool toStderr) { linesToStderr_ = toStderr; }

 private:
  void DrawProgress();
  void ClearProgress();
  std::string ReadAnswer(const std::string& prompt);

  // Workers of a parallel batch report progress while the driver logs.
  std::recursive_mutex mutex_;
  std::string onClash_;
  bool quiet_;
  bool stdinTerminal_;
  bool stderrTerminal_;
  bool progressShown_ = false;
  bool linesToStderr_ = false;
  std::wstring status_;
  std::wstring progressText_;
  int percent_ = 0;
};
