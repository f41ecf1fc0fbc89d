#pragma once
// Helpers of the GUI tests: a message display that records every box and
// question and answers from a script, and the settings put back to their
// defaults around each test.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <QThread>
#include <deque>
#include <functional>
#include <vector>

#include "MessageDisplay.h"

class RecordingMessages : public MessageDisplay {
 public:
  struct Box {
    QString text;
    QString caption;
    ConvertHost::Icon icon;
  };

  RecordingMessages() { SetMessages(this); }
  ~RecordingMessages() override { SetMessages(nullptr); }

  void Show(QWidget*, const QString& text, const QString& caption, ConvertHost::Icon icon) override {
    NoteThread();
    boxes.push_back({text, caption, icon});
  }
  bool AskYesNo(QWidget*, const QString& text, const QString&) override {
    NoteThread();
    questions.push_back(text);
    return yes;
  }
  int AskDuplicate(QWidget*, const QString& name) override {
    NoteThread();
    duplicates.push_back(name);
    if (onDuplicate) onDuplicate();
    if (duplicateAnswers.empty()) return 0;
    const int answer = duplicateAnswers.front();
    duplicateAnswers.pop_front();
    return answer;
  }

  // The texts of every box shown with `caption`.
  std::vector<QString> TextsWithCaption(const QString& caption) const {
    std::vector<QString> out;
    for (const Box& b : boxes) {
      if (b.caption == caption) out.push_back(b.text);
    }
    return out;
  }

  std::vector<Box> boxes;
  std::vector<QString> questions;
  std::vector<QString> duplicates;
  bool yes = true;
  std::deque<int> duplicateAnswers;
  std::function<void()> onDuplicate;   // runs on the GUI thread while the batch waits
  bool offGuiThread = false;           // some dialog was asked from another thread

 private:
  void NoteThread() {
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) offGuiThread = true;
  }
};

// Every test starts from the default settings, with the output next to the sources.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The real MapGIS samples.
QString RealSample(const QString& relative);

class QTemporaryDir;
// Copies real samples into `dir` (writable copies); returns their paths.
QStringList CopySamples(const QTemporaryDir& dir, const QStringList& relatives);
// Writes a file of `size` bytes; returns its path.
QString WriteBytes(const QTemporaryDir& dir, const QString& name, int size);
