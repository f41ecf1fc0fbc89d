// The host between the batch's worker thread and the window.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <thread>

#include "GuiHost.h"
#include "GuiTestSupport.h"
#include "LogModel.h"

namespace {

using GuiHostTest = GuiTest;

// Lines a worker posted before the log was cleared do not reappear after it.
TEST_F(GuiHostTest, LinesPostedBeforeAClearAreDropped) {
  GuiHost host;
  LogModel log;
  QObject::connect(&host, &GuiHost::LineAppended, &log, &LogModel::Append);
  QObject::connect(&host, &GuiHost::LinesCleared, &log, &LogModel::Clear);
  std::thread([&] { host.AppendLine(L">old"); }).join();
  host.ClearLines();
  std::thread([&] { host.AppendLine(L">new"); }).join();
  QCoreApplication::processEvents();
  EXPECT_EQ(log.Lines(), QStringList{">new"});
  host.AppendLine(L">direct");  // on the GUI thread the line arrives at once
  EXPECT_EQ(log.Lines(), (QStringList{">new", ">direct"}));
}

TEST_F(GuiHostTest, QuestionsFromAWorkerAreAnsweredOnTheGuiThread) {
  RecordingMessages messages;
  messages.yes = false;
  messages.duplicateAnswers = {18};
  GuiHost host;
  bool yes = true;
  int answer = 0;
  std::thread worker([&] {
    yes = host.AskYesNo(L"确定要取消当前转换过程？", L"取消转换");
    answer = host.AskDuplicate(L"/out/a.shp");
    host.MessageBox(L"done", L"转换完成", ConvertHost::Icon::Information);
  });
  // The worker waits for each answer while this thread processes its events.
  QElapsedTimer waited;
  waited.start();
  while (messages.boxes.empty() && waited.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_FALSE(yes);
  EXPECT_EQ(answer, 18);
  EXPECT_EQ(messages.duplicates, std::vector<QString>{"/out/a.shp"});
  EXPECT_FALSE(messages.offGuiThread);
}

TEST_F(GuiHostTest, CancelRequestIsReadOnceAndProgressOnlyWhenItChanges) {
  GuiHost host;
  EXPECT_FALSE(host.CancelRequested());
  host.RequestCancel();
  EXPECT_TRUE(host.CancelRequested());
  EXPECT_FALSE(host.CancelRequested());

  QSignalSpy progress(&host, &GuiHost::ProgressChanged);
  for (int p : {0, 0, 1, 1, 1, 2, 0}) host.SetProgress(p);
  ASSERT_EQ(progress.size(), 4);
  EXPECT_EQ(progress.at(3).at(0).toInt(), 0);
}

}  // namespace
