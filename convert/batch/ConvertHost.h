#pragma once
// Everything a conversion run shows to or asks of a person goes through this
// interface: the desktop program implements it with widgets, the command
// line with a terminal, tests with a recording fake.
#include <string>

#include "ConversionLog.h"
#include "Converters.h"

struct FileNode;

// The host is also where a run's log lines go unless a front end chooses
// another sink, and where converters show their progress.
class ConvertHost : public LogSink, public ProgressSink {
 public:
  // Icons of a message box.
  enum class Icon { Information, Warning, Error, Question };

  // Answers of the duplicate-name question.
  enum DuplicateAnswer : int {
    kNoClash = 0,
    kSkipThis = 12,
    kSkipAll = 13,
    kOverwriteThis = 14,
    kOverwriteAll = 15,
    kStopBatch = 16,
    kRenameThis = 17,
    kRenameAll = 18,
  };

  // Asks what to do with an output that exists already; `name` is the
  // result's path. Returns one of DuplicateAnswer; 0 when the question was
  // closed without an answer, which the engine treats as skipping the file.
  virtual int AskDuplicate(const std::wstring& name) = 0;
  // Whether AskDuplicate puts the question to a person, who first sees the
  // log of the entries before it. A host answering from a fixed policy says
  // false, and entries already running go on converting meanwhile.
  virtual bool AsksInPerson() { return true; }
  virtual void MessageBox(const std::wstring& text, const std::wstring& caption, Icon icon) = 0;
  virtual bool AskYesNo(const std::wstring& text, const std::wstring& caption) = 0;

  // Status display: an information text, the progress pane's text and the
  // progress bar (0 to 100).
  virtual void SetStatusText(const std::wstring& text) = 0;
  virtual void SetProgressText(const std::wstring& text) = 0;
  virtual void SetProgress(int percent) = 0;

  // Asked between two entries of a batch: true when the person asked to stop.
  virtual bool CancelRequested() = 0;
  virtual void FinishSound() = 0;
  // A list node's status, colour or result name changed.
  virtual void NodeChanged(const FileNode*) {}
  // The batch is about to convert this entry.
  virtual void EntryStarting(const FileNode*) {}
};
