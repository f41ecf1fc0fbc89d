#pragma once
// The engine's file list as a two-level item model: top-level files and
// projects, a project's layer files under it, five columns per node, the
// node's kind image and its text colour.
#include <QAbstractItemModel>
#include <QHash>

#include "FileList.h"

class FileListModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  // Initial column widths; column 1 ("文件路径") takes the remaining width.
  static constexpr int kNameWidth = 200;
  static constexpr int kSizeWidth = 60;
  static constexpr int kStatusWidth = 60;
  static constexpr int kResultWidth = 0;

  explicit FileListModel(FileList& list, QObject* parent = nullptr);

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  FileList& List() const { return list_; }
  FileNode* NodeAt(const QModelIndex& index) const;
  QModelIndex IndexOf(const FileNode* node, int column = 0) const;

  // Every change of the list's nodes happens between these two calls.
  void BeginChange();
  void EndChange();
  // Every row's texts and colour may have changed.
  void RefreshAll();

  // While a batch runs on its worker thread the nodes' status, result name
  // and colour are written by the batch; the model then shows copies taken
  // when each node was reported finished, and never reads those fields.
  void BeginBatch();
  void EndBatch();
  bool InBatch() const { return inBatch_; }

 public slots:
  // A node finished by the batch; called while the batch waits.
  void OnNodeUpdated(const FileNode* node);

 private:
  struct Shown {
    QString status;
    QString result;
    uint32_t colour = kColourBlack;
  };
  Shown ShownOf(const FileNode* node) const;

  FileList& list_;
  bool inBatch_ = false;
  QHash<const FileNode*, Shown> shown_;
  QHash<const FileNode*, int> rows_;  // each node's row, as of the last change
};
