#pragma once
// The docking output pane: the tab "文件信息" with a report on the list
// entry in focus (or the values of a record clicked in the preview), the
// tab "地图预览" drawing that entry, and the tab "转换日志" with the lines
// of the conversion log; its context menu clears the log, saves it, or
// hides the pane.
#include <QDockWidget>

class LogModel;
class MapPreview;
class QListView;
class QPlainTextEdit;
class QTabWidget;

class OutputPane : public QDockWidget {
  Q_OBJECT
 public:
  OutputPane(LogModel* log, QWidget* parent = nullptr);

  QListView* LogView() const { return logView_; }
  QPlainTextEdit* InfoView() const { return info_; }
  QTabWidget* Tabs() const { return tabs_; }
  MapPreview* Preview() const { return preview_; }

  // Shows the report on a file and draws it in the preview (when the
  // preview is in front, else when it comes to the front); an empty path
  // clears both.
  void ShowFileInfo(const QString& path);
  // Shows `text` in the information tab.
  void ShowInfoText(const QString& text);
  // Brings the pane up with the log tab in front (nothing when already visible).
  void ShowLog();

  // Writes the log to `path`; false when the file cannot be written.
  // Writes every line of the log, each followed by a line break, as UTF-8.
  bool SaveLog(const QString& path) const;

 signals:
  void SaveRequested();
  void ClearRequested();

 private:
  void ShowContextMenu(const QPoint& pos);

  LogModel* log_;
  QTabWidget* tabs_;
  QPlainTextEdit* info_;
  MapPreview* preview_;
  QString previewPending_;  // the file the preview draws when it is shown
  QListView* logView_;
};

// The report `gridmoor info` prints for a file, as text.
QString FileInfoText(const QString& path);
