#include "GuiHost.h"

#include <QApplication>
#include <QThread>

#include "DesktopServices.h"
#include "MessageDisplay.h"

GuiHost::GuiHost(QObject* parent) : QObject(parent) {}

template <typename F>
void GuiHost::OnGuiThread(F&& f) {
  if (QThread::currentThread() == thread()) {
    f();
  } else {
    QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::BlockingQueuedConnection);
  }
}

int GuiHost::AskDuplicate(const std::wstring& name) {
  int answer = 0;
  const QString text = QString::fromStdWString(name);
  OnGuiThread([&] { answer = Messages().AskDuplicate(dialogParent_, text); });
  return answer;
}

void GuiHost::MessageBox(const std::wstring& text, const std::wstring& caption, Icon icon) {
  const QString t = QString::fromStdWString(text);
  const QString c = QString::fromStdWString(caption);
  OnGuiThread([&] { Messages().Show(dialogParent_, t, c, icon); });
}

bool GuiHost::AskYesNo(const std::wstring& text, const std::wstring& caption) {
  bool yes = false;
  const QString t = QString::fromStdWString(text);
  const QString c = QString::fromStdWString(caption);
  OnGuiThread([&] { yes = Messages().AskYesNo(dialogParent_, t, c); });
  return yes;
}

void GuiHost::SetStatusText(const std::wstring& text) { emit StatusTextChanged(QString::fromStdWString(text)); }

void GuiHost::SetProgressText(const std::wstring& text) { emit ProgressTextChanged(QString::fromStdWString(text)); }

// Converters report after every record; only a changed value goes to the window.
void GuiHost::SetProgress(int percent) {
  if (lastProgress_.exchange(percent) != percent) emit ProgressChanged(percent);
}

bool GuiHost::CancelRequested() {
  if (QThread::currentThread() == thread()) QCoreApplication::processEvents();
  return cancel_.exchange(false);
}

void GuiHost::FinishSound() {
  OnGuiThread([] { PlayFinishSound(); });
}

void GuiHost::EntryStarting(const FileNode* node) {
  OnGuiThread([&] { emit EntryStarted(node); });
}

void GuiHost::NodeChanged(const FileNode* node) {
  OnGuiThread([&] { emit NodeUpdated(node); });
}

void GuiHost::AppendLine(const std::wstring& line) {
  emit LineAppended(QString::fromStdWString(line), generation_.load());
}

void GuiHost::ClearLines() { emit LinesCleared(++generation_); }

void GuiHost::ShowLog() { emit ShowLogRequested(); }
