#include "FileListView.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>

#include "FileListModel.h"

FileListView::FileListView(QWidget* parent) : QTreeView(parent) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DropOnly);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  header()->setStretchLastSection(false);
}

void FileListView::SetListModel(FileListModel* model) {
  model_ = model;
  setModel(model);
  header()->resizeSection(0, FileListModel::kNameWidth);
  header()->resizeSection(2, FileListModel::kSizeWidth);
  header()->resizeSection(3, FileListModel::kStatusWidth);
  header()->resizeSection(4, FileListModel::kResultWidth);
  FitPathColumn();
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!showingMarks_) StoreSelectionMarks();
  });
  connect(this, &QTreeView::expanded, this, [this](const QModelIndex& i) {
    if (FileNode* n = model_->NodeAt(i)) n->expanded = true;
  });
  connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& i) {
    if (FileNode* n = model_->NodeAt(i)) n->expanded = false;
  });
  connect(model, &QAbstractItemModel::modelReset, this, &FileListView::ShowMarks);
}

void FileListView::StoreSelectionMarks() {
  if (!model_) return;
  for (FileNode* n : model_->List().Walk()) n->selected = false;
  for (const QModelIndex& i : selectionModel()->selectedRows(0)) {
    if (FileNode* n = model_->NodeAt(i)) n->selected = true;
  }
}

void FileListView::ShowMarks() {
  if (!model_) return;
  showingMarks_ = true;
  QItemSelection selection;
  auto mark = [&](const QModelIndex& i) {
    if (const FileNode* n = model_->NodeAt(i); n && n->selected) selection.select(i, i.siblingAtColumn(4));
  };
  for (int r = 0; r < model_->rowCount(); ++r) {
    const QModelIndex top = model_->index(r, 0);
    mark(top);
    const FileNode* n = model_->NodeAt(top);
    if (n->children.empty()) continue;
    setExpanded(top, n->expanded);
    for (int c = 0; c < model_->rowCount(top); ++c) mark(model_->index(c, 0, top));
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  showingMarks_ = false;
}

QStringList FileListView::LocalPaths(const QMimeData* mime) {
  QStringList paths;
  if (!mime || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) paths << url.toLocalFile();
  }
  return paths;
}

void FileListView::dragEnterEvent(QDragEnterEvent* event) {
  if (acceptingDrops_ && !LocalPaths(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void FileListView::dragMoveEvent(QDragMoveEvent* event) {
  if (acceptingDrops_ && !LocalPaths(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void FileListView::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalPaths(event->mimeData());
  if (!acceptingDrops_ || paths.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  emit PathsDropped(paths);
}

void FileListView::resizeEvent(QResizeEvent* event) {
  QTreeView::resizeEvent(event);
  FitPathColumn();
}

// The path column takes the view's width less the name, size and status columns and 22.
void FileListView::FitPathColumn() {
  if (!model_) return;
  const int rest = viewport()->width() - header()->sectionSize(0) - header()->sectionSize(2) -
                   header()->sectionSize(3) - 22;
  header()->resizeSection(1, qMax(rest, 50));
}
