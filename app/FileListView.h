#pragma once
// The tree view of the file list: the five columns at their widths, the
// view's selection kept in step with the nodes' selection marks, expanding
// kept in step with the nodes' expanded marks, and files and folders
// dropped onto it handed on as paths.
#include <QStringList>
#include <QTreeView>

class FileListModel;

class FileListView : public QTreeView {
  Q_OBJECT
 public:
  explicit FileListView(QWidget* parent = nullptr);

  void SetListModel(FileListModel* model);
  FileListModel* ListModel() const { return model_; }

  // Drops are refused while the list may not change (a batch is running).
  void SetAcceptingDrops(bool accept) { acceptingDrops_ = accept; }

  // Shows the nodes' selection and expanded marks (after the engine changed them).
  void ShowMarks();

 signals:
  void PathsDropped(const QStringList& paths);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void StoreSelectionMarks();
  void FitPathColumn();
  static QStringList LocalPaths(const class QMimeData* mime);

  FileListModel* model_ = nullptr;
  bool acceptingDrops_ = true;
  bool showingMarks_ = false;
};
