#pragma once
// The main window: the commands in menus and tool bars, the file list, the
// output pane and the status bar, around the engine's main view. A batch
// runs on a worker thread; the window stays live and answers its questions.
#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include "BatchRunner.h"
#include "FileList.h"
#include "MapGis.h"
#include "WizShapeDlg.h"

class FileListModel;
class FileListView;
class GuiHost;
class LogModel;
class OutputPane;
class QActionGroup;
class QLabel;
class QProgressBar;
class QThread;
class QToolBar;
class QToolButton;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  FileList& Files() { return files_; }
  // Entries the last batch converted at once.
  int LastRunJobs() const { return lastRunJobs_; }
  FileListModel* Model() const { return model_; }
  FileListView* Tree() const { return tree_; }
  LogModel* Log() const { return log_; }
  OutputPane* Pane() const { return pane_; }
  GuiHost* Host() const { return host_; }
  QAction* Action(int id) const { return actions_.value(id); }
  QLabel* StatusLabel() const { return statusText_; }
  QLabel* ProgressLabel() const { return progressText_; }
  QProgressBar* ProgressBar() const { return progress_; }
  // The "停止" button of the status bar, shown while a batch or a search runs.
  QToolButton* StopButton() const { return stop_; }
  // The tool bars in the order they are laid out.
  const QList<QToolBar*>& ToolBars() const { return toolBars_; }

  // List operations without their dialogs.
  // Files go to the list (projects with their layers), folders are searched.
  void AddPaths(const QStringList& paths);
  // Searches each folder in turn (a file is added as it is) until the
  // person stops the search with Escape.
  void SearchFolders(const QStringList& paths);
  // Tells in the status bar how many added files were in the list already.
  void ReportDuplicates();
  void SelectAll();
  void ClearSelection();
  void RemoveSelection();
  void ClearList();
  void ExpandAll();
  void CollapseAll();
  // Writes the list to `path` and tells the person whether it worked.
  bool ExportList(const QString& path);
  // Writes the log to `path` and tells the person whether it worked.
  bool SaveLog(const QString& path);

  // A conversion command: refuses an empty list, runs the mode's wizard and,
  // when it is finished, the batch.
  void StartMode(ConvertMode mode);
  // What follows the wizard's finish: the run options of the mode, blank
  // status columns, an empty log, the colour library, then the batch on its
  // worker thread. False when a batch is running already.
  bool RunBatch(ConvertMode mode);
  bool BatchRunning() const { return batchThread_ != nullptr; }
  const BatchSummary& LastSummary() const { return summary_; }

  // Ticks the colour and angle model commands that match the settings.
  void ShowModelChoices();

  // Lays the tool bars out in one row when they fit the window's width,
  // else in two, so that no command hides behind an overflow button.
  void ArrangeToolBars();

 signals:
  void BatchFinished(const QString& summary);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* MakeAction(int id);
  void BuildCommands();
  void BuildMenusAndToolBars();
  void BuildStatusBar();
  void ConnectHost();
  void OnCommand(int id);
  void SetBusy(bool busy);
  void OnBatchFinished();
  template <typename F>
  void ChangeList(F&& change);

  // Command handlers that open dialogs.
  void AskAddFiles();
  void AskSearchFolders();
  void AskExportList();
  void AskSaveLog();
  void OpenSourceLocation();
  void ShowSettingsDialog();
  void ShowLocalHelp();
  // The web commands: the configured address, else the local help page in
  // the system's browser.
  void OpenWebPage(const char* address);
  // After a run: a desktop notification when it was long and the window is
  // not the active one.
  void NotifyIfAway(const QString& summary);
  void ShowAbout();

  GuiHost* host_;
  FileList files_;
  MapGis::MapGis_ColorLib colours_;  // the colour library of the last run
  int lastRunJobs_ = 1;
  FileListModel* model_;
  FileListView* tree_;
  LogModel* log_;
  OutputPane* pane_;
  QLabel* statusText_;
  QLabel* progressText_;
  QProgressBar* progress_;
  QToolButton* stop_ = nullptr;
  QList<QToolBar*> toolBars_;
  bool toolBarBreak_ = false;
  QElapsedTimer runClock_;
  QHash<int, QAction*> actions_;
  QActionGroup* colourModels_ = nullptr;
  QActionGroup* angleModels_ = nullptr;

  QThread* batchThread_ = nullptr;
  BatchSummary summary_;
  bool searching_ = false;
  bool closeWhenDone_ = false;
};

// The text of the about box: the program's name, version and copyright.
QString AboutText();
