#pragma once
// The conversion host of the desktop program. It lives on the GUI thread;
// the batch calls it from its worker thread. Questions (duplicate names,
// Yes/No, message boxes) are asked on the GUI thread while the worker waits;
// status texts and log lines are posted to the GUI thread without waiting.
// Escape sets an atomic cancel request that the batch reads between entries.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <atomic>

#include "ConvertHost.h"

class GuiHost : public QObject, public ConvertHost {
  Q_OBJECT
 public:
  explicit GuiHost(QObject* parent = nullptr);

  // The window that owns the dialogs the host opens.
  void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }

  // Set by Escape (any thread); read and cleared by CancelRequested.
  void RequestCancel() { cancel_.store(true); }

  int AskDuplicate(const std::wstring& name) override;
  void MessageBox(const std::wstring& text, const std::wstring& caption, Icon icon) override;
  bool AskYesNo(const std::wstring& text, const std::wstring& caption) override;
  void SetStatusText(const std::wstring& text) override;
  void SetProgressText(const std::wstring& text) override;
  void SetProgress(int percent) override;
  // On the GUI thread (the directory search) pending events are processed
  // first, so that Escape can reach the request.
  bool CancelRequested() override;
  void FinishSound() override;
  void NodeChanged(const FileNode* node) override;
  void EntryStarting(const FileNode* node) override;

  void AppendLine(const std::wstring& line) override;
  // Empties the log pane; shows it.
  void ClearLines();
  void ShowLog();

 signals:
  void StatusTextChanged(const QString& text);
  void ProgressTextChanged(const QString& text);
  void ProgressChanged(int percent);
  // Delivered on the GUI thread while the batch waits, so the node can be read.
  void NodeUpdated(const FileNode* node);
  // Delivered on the GUI thread while the batch waits, before the entry is converted.
  void EntryStarted(const FileNode* node);
  // `generation` tells lines appended before a clear from lines after it.
  void LineAppended(const QString& line, quint64 generation);
  void LinesCleared(quint64 generation);
  void ShowLogRequested();

 private:
  // Runs `f` on the GUI thread and waits for it.
  template <typename F>
  void OnGuiThread(F&& f);

  QPointer<QWidget> dialogParent_;
  std::atomic<bool> cancel_{false};
  std::atomic<quint64> generation_{0};
  std::atomic<int> lastProgress_{-1};
};
