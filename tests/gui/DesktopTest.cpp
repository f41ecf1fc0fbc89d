// The desktop manners of the program: every command within reach at the
// common window sizes, files from the command line, the window's layout
// kept between runs, duplicates ignored, long lists added fast, Qt's own
// Chinese texts, files converted at once, the stop button, and the entry
// brought into view before it is converted.
#include <time.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "AppStart.h"
#include "Commands.h"
#include "DesktopServices.h"
#include "DesktopState.h"
#include "FileListModel.h"
#include "FileListView.h"
#include "GuiHost.h"
#include "GuiTestSupport.h"
#include "HelpBrowser.h"
#include "MainWindow.h"
#include "OutputPane.h"
#include "SettingsStore.h"
#include "SettingsPages.h"

namespace {

class DesktopTest : public GuiTest {
 protected:
  RecordingMessages messages;
  QTemporaryDir dir;

  void SetUp() override {
    GuiTest::SetUp();
    AppSettings().FinishBeep = 0;
    QSettings().remove(QStringLiteral("Desktop"));
  }
  void TearDown() override {
    QSettings().remove(QStringLiteral("Desktop"));
    GuiTest::TearDown();
  }
};

// The tool button showing `action` (or a menu holding it) when it lies fully
// inside the window, else null.
const QToolButton* VisibleButtonFor(const MainWindow& window, QAction* action) {
  for (QToolBar* bar : window.ToolBars()) {
    for (const QToolButton* button : bar->findChildren<QToolButton*>()) {
      const bool shows = button->defaultAction() == action || (button->menu() && button->menu()->actions().contains(action));
      if (!shows || !button->isVisible()) continue;
      const QRect inWindow(button->mapTo(&window, QPoint(0, 0)), button->size());
      if (window.rect().contains(inWindow)) return button;
    }
  }
  return nullptr;
}

TEST_F(DesktopTest, EveryCommandIsOnAVisibleToolButtonAtTheCommonWindowSizes) {
  for (const QSize size : {QSize(1000, 680), QSize(1280, 720)}) {
    MainWindow window;
    window.resize(size);
    window.show();
    QTest::qWait(50);
    for (const CommandInfo& c : CommandTable()) {
      // Quitting is the window's close button; the list's own commands are its context menu.
      if (c.id == ID_APP_EXIT || c.id >= ID_VIEW_EXPAND_ALL) continue;
      EXPECT_NE(VisibleButtonFor(window, window.Action(c.id)), nullptr)
          << QString::fromUtf8(c.label).toStdString() << " at " << size.width() << "x" << size.height();
    }
  }
}

TEST_F(DesktopTest, CommandLinePathsBecomeAbsoluteAndAreAddedToTheList) {
  const QString file = WriteBytes(dir, "a.WT", 10);
  QDir::setCurrent(dir.path());
  const QStringList paths = PathArguments({"GridmoorPro", "a.WT", "--unknown-option", dir.path() + "/./"});
  ASSERT_EQ(paths, (QStringList{file, dir.path()}));
  MainWindow window;
  window.AddPaths(paths);
  // The file named, and the same file again through the folder: once.
  ASSERT_EQ(window.Files().Count(), 1);
  EXPECT_EQ(QString::fromStdWString(window.Files().TopLevel()[0]->path), file);
}

TEST_F(DesktopTest, WindowGeometryDockAndColumnWidthsAreRestored) {
  {
    MainWindow window;
    window.show();
    window.resize(1111, 777);
    window.Pane()->hide();
    window.Tree()->header()->resizeSection(0, 321);
    DesktopState::SaveWindow(window, *window.Tree()->header());
  }
  MainWindow window;
  ASSERT_TRUE(DesktopState::RestoreWindow(window, *window.Tree()->header()));
  window.show();
  EXPECT_EQ(window.size(), QSize(1111, 777));
  EXPECT_TRUE(window.Pane()->isHidden());
  EXPECT_EQ(window.Tree()->header()->sectionSize(0), 321);

  // Without anything stored the window keeps its own defaults.
  QSettings().remove(QStringLiteral("Desktop"));
  MainWindow fresh;
  EXPECT_FALSE(DesktopState::RestoreWindow(fresh, *fresh.Tree()->header()));
  EXPECT_EQ(fresh.size(), QSize(1000, 680));
}

TEST_F(DesktopTest, FileDialogsStartInTheLastFolderUsedElseHome) {
  EXPECT_EQ(DesktopState::LastFolder(), QDir::homePath());
  DesktopState::RememberFolder(WriteBytes(dir, "b.WL", 10));
  EXPECT_EQ(DesktopState::LastFolder(), dir.path());
  // A folder that went away is not offered.
  QTemporaryDir gone;
  DesktopState::RememberFolder(gone.path());
  gone.remove();
  EXPECT_EQ(DesktopState::LastFolder(), QDir::homePath());
}

TEST_F(DesktopTest, FilesAlreadyInTheListAreIgnoredWithAStatusMessage) {
  const QStringList files = CopySamples(dir, {"jz-project/i486732jz.MPJ", "jz-project/JZ-FINAL.WL"});
  MainWindow window;
  window.AddPaths({files[0]});
  const int withProject = window.Files().Count();
  ASSERT_GT(withProject, 1);
  // A layer of the project may stand on its own too (its results go elsewhere), once.
  window.AddPaths({files[1]});
  EXPECT_EQ(window.Files().Count(), withProject + 1);
  // The project again, the layer again, and the layer spelled differently.
  window.AddPaths({files[0], files[1], dir.path() + "//./JZ-FINAL.WL"});
  EXPECT_EQ(window.Files().Count(), withProject + 1);
  EXPECT_EQ(window.StatusLabel()->text(), QStringLiteral("3个文件已在列表中，未重复添加"));
  // Removed files can be added again.
  window.ClearList();
  window.AddPaths({files[1]});
  EXPECT_EQ(window.Files().Count(), 1);
}

// Processor time of this thread, which does all the adding: on a busy
// shared machine the wall clock says more about the neighbours.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

TEST_F(DesktopTest, FiftyThousandFilesAreAddedInUnderTwoSeconds) {
  QStringList paths;
  for (int i = 0; i < 50000; ++i) paths << dir.filePath(QStringLiteral("f%1.WL").arg(i));
  MainWindow window;
  QElapsedTimer clock;
  clock.start();
  const double start = ThreadSeconds();
  window.AddPaths(paths);
  const double seconds = ThreadSeconds() - start;
  EXPECT_EQ(window.Files().Count(), 50000);
  EXPECT_EQ(window.Model()->rowCount(), 50000);
  EXPECT_LT(seconds, 2.0) << "wall clock " << clock.elapsed() << " ms";
}

TEST_F(DesktopTest, StockDialogsSpeakChinese) {
  ASSERT_TRUE(InstallChineseTranslations(*QCoreApplication::instance()));
  QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
  EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text(), QStringLiteral("打开"));
}

TEST_F(DesktopTest, FilesConvertedAtOnceAreSetInTheGeneralPageAndPassedToTheBatch) {
  CPageGeneral page;
  EXPECT_EQ(page.JobsBox()->minimum(), 1);
  EXPECT_EQ(page.JobsBox()->maximum(), QThread::idealThreadCount());
  page.JobsBox()->setValue(page.JobsBox()->maximum());
  page.Apply();
  EXPECT_EQ(DesktopState::Jobs(), QThread::idealThreadCount());
  // A stored value beyond this machine is brought within it.
  QSettings().setValue(QStringLiteral("Desktop/Jobs"), 999);
  EXPECT_EQ(DesktopState::Jobs(), DesktopState::MaxJobs());

  CopySamples(dir, {"frame/图例.WT"});
  MainWindow window;
  window.AddPaths({dir.path()});
  QSignalSpy finished(&window, &MainWindow::BatchFinished);
  ASSERT_TRUE(window.RunBatch(ConvertMode::Quick));
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_EQ(window.LastRunJobs(), DesktopState::MaxJobs());
}

TEST_F(DesktopTest, TheStopButtonShowsDuringARunAndStopsIt) {
  CopySamples(dir, {"frame/YZT-SLH.WL", "frame/图框.WP", "frame/图例.WT"});
  MainWindow window;
  window.show();
  window.AddPaths({dir.path()});
  EXPECT_FALSE(window.StopButton()->isVisible());
  QSignalSpy finished(&window, &MainWindow::BatchFinished);
  ASSERT_TRUE(window.RunBatch(ConvertMode::Quick));
  ASSERT_TRUE(finished.wait(60000));
  // Again with clashes: while the first is asked, the person clicks "停止".
  messages.onDuplicate = [&] {
    EXPECT_TRUE(window.StopButton()->isVisible());
    QTest::mouseClick(window.StopButton(), Qt::LeftButton);
  };
  messages.duplicateAnswers = {12};
  ASSERT_TRUE(window.RunBatch(ConvertMode::Quick));
  ASSERT_TRUE(finished.wait(60000));
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0], QStringLiteral("确定要取消当前转换过程？"));
  EXPECT_TRUE(window.LastSummary().cancelled);
  EXPECT_FALSE(window.StopButton()->isVisible());
}

TEST_F(DesktopTest, EachEntryIsBroughtIntoViewBeforeItIsConverted) {
  CopySamples(dir, {"frame/YZT-SLH.WL", "frame/图框.WP", "frame/图例.WT"});
  MainWindow window;
  window.AddPaths({dir.path()});
  QStringList events;
  QObject::connect(window.Host(), &GuiHost::EntryStarted, [&](const FileNode* n) {
    events << "start " + QString::fromStdWString(n->name);
  });
  QObject::connect(window.Host(), &GuiHost::NodeUpdated, [&](const FileNode* n) {
    events << "done " + QString::fromStdWString(n->name);
  });
  QSignalSpy finished(&window, &MainWindow::BatchFinished);
  ASSERT_TRUE(window.RunBatch(ConvertMode::Quick));
  ASSERT_TRUE(finished.wait(60000));
  ASSERT_EQ(events.size(), 6);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(events[2 * i].startsWith("start ")) << events.join(", ").toStdString();
    EXPECT_EQ(events[2 * i].mid(6), events[2 * i + 1].mid(5));
  }
}

// Writes an executable `name` into `folder` that records its arguments in `log`.
void FakeProgram(const QString& folder, const QString& name, const QString& log) {
  QFile script(QDir(folder).filePath(name));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n").arg(log).toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(DesktopTest, TheFinishingSoundIsTheProgramsOwnWaveElseTheDesktopThemeElseTheBell) {
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", dir.path().toUtf8());
  EXPECT_EQ(PlayFinishSound(), QStringLiteral("bell"));

  const QString log = dir.filePath("played.txt");
  FakeProgram(dir.path(), "aplay", log);
  EXPECT_EQ(PlayFinishSound(), QStringLiteral("aplay"));
  for (int i = 0; i < 250 && QFileInfo(log).size() == 0; ++i) QTest::qWait(20);
  ASSERT_GT(QFileInfo(log).size(), 0);
  QFile played(log);
  ASSERT_TRUE(played.open(QIODevice::ReadOnly));
  const QStringList arguments = QString::fromUtf8(played.readAll()).trimmed().split(' ');
  ASSERT_EQ(arguments.size(), 2);
  QFile wave(arguments[1]);
  ASSERT_TRUE(wave.open(QIODevice::ReadOnly));
  const QByteArray head = wave.read(12);
  EXPECT_TRUE(head.startsWith("RIFF") && head.endsWith("WAVE"));

  // The desktop's own sound theme goes first when it can be played.
  FakeProgram(dir.path(), "canberra-gtk-play", dir.filePath("theme.txt"));
  EXPECT_EQ(PlayFinishSound(), QStringLiteral("canberra"));
  qputenv("PATH", path);
}

TEST_F(DesktopTest, LocalHelpShowsTheShippedPages) {
  MainWindow window;
  window.Action(ID_HELP)->trigger();
  const HelpBrowser* help = window.findChild<HelpBrowser*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  const QString text = help->Browser()->toPlainText();
  for (const char* part : {"地图预览", "高级转换", "同时转换文件数", "gridmoor convert", "ogr_MAPGIS.so", ".prj"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
  }
}

}  // namespace
