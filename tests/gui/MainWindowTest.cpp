// The main window: list commands, the batch on its worker thread with the
// questions answered on the GUI thread, the log pane, and saving files.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "SettingsStore.h"
#include "Commands.h"
#include "FileListModel.h"
#include "FileListView.h"
#include "GuiHost.h"
#include "GuiTestSupport.h"
#include "LogModel.h"
#include "MainWindow.h"
#include "OutputPane.h"

namespace {

const QStringList kFrame = {"frame/YZT-SLH.WL", "frame/图框.WP", "frame/图例.WT"};

class MainWindowTest : public GuiTest {
 protected:
  RecordingMessages messages;
  QTemporaryDir dir;
  MainWindow window;

  void SetUp() override {
    GuiTest::SetUp();
    AppSettings().FinishBeep = 0;
  }

  // Runs a batch of `mode` and waits for its end.
  void RunAndWait(ConvertMode mode) {
    QSignalSpy finished(&window, &MainWindow::BatchFinished);
    ASSERT_TRUE(window.RunBatch(mode));
    ASSERT_TRUE(finished.wait(120000)) << "the batch did not end";
    ASSERT_FALSE(window.BatchRunning());
  }
  QString Cell(int row, int column) const {
    return window.Model()->data(window.Model()->index(row, column), Qt::DisplayRole).toString();
  }
  QStringList LogLines() const { return window.Log()->Lines(); }
  bool LogHas(const QString& text) const {
    for (const QString& l : LogLines()) {
      if (l.contains(text)) return true;
    }
    return false;
  }
};

TEST_F(MainWindowTest, AnEmptyListStartsNoConversion) {
  window.StartMode(ConvertMode::Advanced);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, QStringLiteral("没有发现任何可转换文件!"));
  EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("注意"));
  EXPECT_FALSE(window.BatchRunning());
  EXPECT_TRUE(window.Log()->Lines().isEmpty());
}

TEST_F(MainWindowTest, QuickBatchRunsOnAWorkerAndMarksEveryEntry) {
  CopySamples(dir, kFrame);
  window.AddPaths({dir.path()});
  ASSERT_EQ(window.Model()->rowCount(), 3);
  EXPECT_EQ(window.StatusLabel()->text(), QStringLiteral("当前共有3个待转换文件！"));
  AppSettings().SymbolType = 3;
  AppSettings().ExportProjection = 1;
  AppSettings().ExportLayerIndex = 1;

  QSignalSpy finished(&window, &MainWindow::BatchFinished);
  ASSERT_TRUE(window.RunBatch(ConvertMode::Quick));
  // The conversion commands wait for the batch.
  EXPECT_TRUE(window.BatchRunning());
  EXPECT_FALSE(window.Action(ID_CVT_QUICK)->isEnabled());
  EXPECT_FALSE(window.Action(ID_FILE_OPEN)->isEnabled());
  EXPECT_FALSE(window.RunBatch(ConvertMode::Quick));
  ASSERT_TRUE(finished.wait(120000));
  EXPECT_TRUE(window.Action(ID_CVT_QUICK)->isEnabled());

  // Quick conversion: ANSI tables, no style columns, no spatial reference.
  EXPECT_EQ(AppSettings().CodePage, 1);
  EXPECT_EQ(AppSettings().SymbolType, 0);
  EXPECT_EQ(AppSettings().ExportProjection, 0);
  EXPECT_EQ(AppSettings().ExportLayerIndex, 0);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(Cell(row, 3), QStringLiteral("成功")) << Cell(row, 0).toStdString();
    const QString base = QFileInfo(Cell(row, 1)).path() + "/" + QFileInfo(Cell(row, 1)).completeBaseName();
    EXPECT_EQ(Cell(row, 4), base + ".shp");
    EXPECT_TRUE(QFile::exists(base + ".shp"));
    EXPECT_FALSE(QFile::exists(base + ".prj"));
    QFile cpg(base + ".cpg");
    ASSERT_TRUE(cpg.open(QIODevice::ReadOnly));
    EXPECT_EQ(cpg.readAll().trimmed(), "936");
    EXPECT_EQ(window.Model()->data(window.Model()->index(row, 0), Qt::ForegroundRole).value<QColor>(),
              QColor(0, 0, 0));
  }

  const QString summary = QStringLiteral("转换完成：3个完成,0个空文件,0个跳过,0个失败");
  EXPECT_EQ(finished.at(0).at(0).toString(), summary);
  EXPECT_EQ(LogLines().first(), QStringLiteral(">====================转换信息：I 提示,W 警告,E 错误,F 未知错===================="));
  EXPECT_EQ(LogLines().last(), ">====================" + summary + "====================");
  EXPECT_EQ(messages.TextsWithCaption(QStringLiteral("转换完成")), std::vector<QString>{summary});
  EXPECT_FALSE(messages.offGuiThread);
  EXPECT_EQ(window.StatusLabel()->text(), summary);
  EXPECT_EQ(window.ProgressLabel()->text(), QStringLiteral("进度：[3/3]"));
}

TEST_F(MainWindowTest, ClashesAreAskedOnTheGuiThreadWhileTheBatchWaits) {
  CopySamples(dir, kFrame);
  window.AddPaths({dir.path()});
  RunAndWait(ConvertMode::Quick);
  bool busyWhileAsked = false;
  messages.onDuplicate = [&] { busyWhileAsked = window.BatchRunning() && !window.Action(ID_CVT_SITU)->isEnabled(); };
  messages.duplicateAnswers = {13};  // skip this and every later clash
  RunAndWait(ConvertMode::Quick);
  ASSERT_EQ(messages.duplicates.size(), 1u);
  EXPECT_TRUE(messages.duplicates[0].endsWith(".shp"));
  EXPECT_TRUE(busyWhileAsked);
  EXPECT_FALSE(messages.offGuiThread);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(Cell(row, 3), QStringLiteral("跳过"));
    EXPECT_EQ(window.Model()->data(window.Model()->index(row, 2), Qt::ForegroundRole).value<QColor>(),
              QColor(0, 0, 255));
  }
  EXPECT_TRUE(LogHas(QStringLiteral("------I__后续如果存在同名文件，全部自动跳过")));
}

TEST_F(MainWindowTest, EscapeAsksToCancelBeforeTheNextEntry) {
  CopySamples(dir, kFrame);
  window.AddPaths({dir.path()});
  RunAndWait(ConvertMode::Quick);
  // While the first clash is asked, the person presses Escape in the window.
  messages.onDuplicate = [&] { QTest::keyClick(window.Tree(), Qt::Key_Escape); };
  messages.duplicateAnswers = {12};
  messages.yes = true;
  RunAndWait(ConvertMode::Quick);
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0], QStringLiteral("确定要取消当前转换过程？"));
  EXPECT_TRUE(LogHas(QStringLiteral("====================用户中断了本次转换====================")));
  EXPECT_EQ(Cell(0, 3), QStringLiteral("跳过"));
  EXPECT_EQ(Cell(1, 3), QStringLiteral(" "));
  EXPECT_EQ(Cell(2, 3), QStringLiteral(" "));
  EXPECT_TRUE(window.LastSummary().cancelled);
}

TEST_F(MainWindowTest, AnnotationRunLoadsTheColourLibraryForAStyleMode) {
  CopySamples(dir, {"frame/图例.WT", "frame/图框.WL"});
  QTemporaryDir library;
  window.AddPaths({dir.path()});
  AppSettings().SymbolType = 3;
  AppSettings().LibPath = library.path().toStdWString();
  RunAndWait(ConvertMode::Annotation);
  EXPECT_EQ(AppSettings().ExportAnnotation, 1);
  EXPECT_EQ(messages.TextsWithCaption(QStringLiteral("注意")),
            std::vector<QString>{QStringLiteral("未设定匹配色标库文件或者指定色标库文件不存在!")});

  CopySamples(library, {"colour/Pcolor.lib"});
  messages.boxes.clear();
  messages.duplicateAnswers = {14, 14};
  RunAndWait(ConvertMode::Annotation);
  EXPECT_TRUE(messages.TextsWithCaption(QStringLiteral("注意")).empty());
  EXPECT_TRUE(LogHas(QStringLiteral("使用MapGIS颜色库:[")));
  // Only the point file holds annotations; the line file is passed over.
  const int wt = Cell(0, 0).endsWith(".WT") ? 0 : 1;
  EXPECT_EQ(Cell(wt, 3), QStringLiteral("成功"));
  EXPECT_EQ(Cell(1 - wt, 3), QStringLiteral("…"));
  EXPECT_TRUE(QFile::exists(dir.filePath("图例A.shp")));
}

TEST_F(MainWindowTest, LogAndListAreSavedOrTheFailureIsShown) {
  CopySamples(dir, {"frame/图框.WP"});
  window.AddPaths({dir.filePath("图框.WP")});
  AppSettings().ViewLogFile = 1;
  window.show();
  window.Pane()->hide();
  RunAndWait(ConvertMode::Quick);
  EXPECT_TRUE(window.Pane()->isVisible());  // shown after the run
  messages.boxes.clear();

  const QString logPath = dir.filePath("run.log");
  EXPECT_TRUE(window.SaveLog(logPath));
  QFile log(logPath);
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(log.readAll()), window.Log()->Lines().join('\n') + '\n');

  const QString listPath = dir.filePath("list.txt");
  EXPECT_TRUE(window.ExportList(listPath));
  QFile list(listPath);
  ASSERT_TRUE(list.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = list.readAll().split('\n');
  ASSERT_EQ(lines.size(), 3);  // header, one entry, the empty tail after the last break
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1,图框.WP,.WP,").toUtf8()));

  EXPECT_FALSE(window.SaveLog(dir.filePath("no/such/folder/run.log")));
  EXPECT_FALSE(window.ExportList(dir.filePath("no/such/folder/list.txt")));
  ASSERT_EQ(messages.boxes.size(), 4u);
  EXPECT_EQ(messages.boxes[0].text, QStringLiteral("转换日志信息已经正确输出！"));
  EXPECT_EQ(messages.boxes[0].caption, QStringLiteral("输出完成"));
  EXPECT_EQ(messages.boxes[1].text, QStringLiteral("转换列表信息已经正确输出！"));
  EXPECT_EQ(messages.boxes[1].caption, QStringLiteral("输出完成"));
  EXPECT_EQ(messages.boxes[2].caption, QStringLiteral("注意"));
  EXPECT_EQ(messages.boxes[3].caption, QStringLiteral("注意"));
  EXPECT_TRUE(messages.boxes[2].text.contains("run.log"));

  // Clearing the list clears the log too.
  window.ClearList();
  EXPECT_EQ(window.Model()->rowCount(), 0);
  EXPECT_EQ(window.Log()->rowCount(), 0);
}

TEST_F(MainWindowTest, DroppedFoldersAreSearchedAndEscapeStopsASearch) {
  CopySamples(dir, {"frame/图框.WP", "frame/图框.WL"});
  QTemporaryDir second;
  const QString single = CopySamples(second, {"tables/点.WB"})[0];
  WriteBytes(second, "readme.txt", 10);

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(dir.path()), QUrl::fromLocalFile(single)});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QPoint at = window.Tree()->viewport()->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window.Tree()->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window.Tree()->viewport(), &drop);
  EXPECT_TRUE(drop.isAccepted());
  ASSERT_EQ(window.Files().Count(), 3);
  EXPECT_EQ(window.ProgressLabel()->text(), QStringLiteral("进度：[0/3]"));

  // Escape waiting in the queue reaches the search before its first entry.
  QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  window.SearchFolders({second.path()});
  ASSERT_EQ(messages.questions.size(), 1u);
  EXPECT_EQ(messages.questions[0], QStringLiteral("确定要停止当前搜索过程？"));
  EXPECT_EQ(window.Files().Count(), 3);
  EXPECT_TRUE(window.Tree()->isEnabled());
  EXPECT_TRUE(window.Action(ID_FILE_FLD)->isEnabled());
}

TEST_F(MainWindowTest, ModelCommandsFollowTheSettings) {
  AppSettings().ColorModel = 2;
  AppSettings().RotateType = 1;
  window.ShowModelChoices();
  EXPECT_TRUE(window.Action(ID_CLR_CMYK)->isChecked());
  EXPECT_FALSE(window.Action(ID_CLR_RGBTRIPLE)->isChecked());
  EXPECT_TRUE(window.Action(ID_ROTATE_GEO)->isChecked());
  window.Action(ID_CLR_RGBQUAD)->trigger();
  window.Action(ID_ROTATE_ARITH)->trigger();
  EXPECT_EQ(AppSettings().ColorModel, 1);
  EXPECT_EQ(AppSettings().RotateType, 0);
  EXPECT_TRUE(window.Action(ID_CLR_RGBQUAD)->isChecked());
  EXPECT_FALSE(window.Action(ID_CLR_CMYK)->isChecked());
  // A stored model no command stands for ticks none.
  AppSettings().ColorModel = 7;
  window.ShowModelChoices();
  for (int id : {ID_CLR_RGBTRIPLE, ID_CLR_RGBQUAD, ID_CLR_CMYK}) EXPECT_FALSE(window.Action(id)->isChecked());
  EXPECT_EQ(window.Action(ID_CVT_QUICK)->text(), QStringLiteral("快速转换"));
  EXPECT_EQ(window.Action(ID_CVT_QUICK)->statusTip(),
            QStringLiteral("无文字注记、无符号参数、无投影信息一键式快速转换所有文件"));
}

TEST_F(MainWindowTest, FileInfoTabReportsTheEntryInFocus) {
  const QString wp = CopySamples(dir, {"frame/图框.WP"})[0];
  window.AddPaths({wp});
  window.Tree()->setCurrentIndex(window.Model()->index(0, 0));
  const QString text = window.Pane()->InfoView()->toPlainText();
  EXPECT_TRUE(text.contains(wp)) << text.toStdString();
  EXPECT_TRUE(text.contains("99999")) << text.toStdString();
  EXPECT_TRUE(text.contains("polygon file")) << text.toStdString();
}

}  // namespace
