#include "FileListModel.h"

#include <QColor>

#include "Icons.h"

namespace {

QColor TextColour(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

FileListModel::FileListModel(FileList& list, QObject* parent) : QAbstractItemModel(parent), list_(list) {}

QModelIndex FileListModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= 5) return QModelIndex();
  if (!parent.isValid()) {
    const auto& top = list_.TopLevel();
    if (static_cast<size_t>(row) >= top.size()) return QModelIndex();
    return createIndex(row, column, top[static_cast<size_t>(row)].get());
  }
  const FileNode* p = NodeAt(parent);
  if (!p || parent.column() != 0 || static_cast<size_t>(row) >= p->children.size()) return QModelIndex();
  return createIndex(row, column, p->children[static_cast<size_t>(row)].get());
}

QModelIndex FileListModel::parent(const QModelIndex& index) const {
  const FileNode* node = NodeAt(index);
  if (!node || !node->parent) return QModelIndex();
  return IndexOf(node->parent, 0);
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return static_cast<int>(list_.TopLevel().size());
  if (parent.column() != 0) return 0;
  const FileNode* node = NodeAt(parent);
  return node ? static_cast<int>(node->children.size()) : 0;
}

int FileListModel::columnCount(const QModelIndex&) const { return 5; }

FileListModel::Shown FileListModel::ShownOf(const FileNode* node) const {
  if (inBatch_) return shown_.value(node);
  return Shown{QString::fromStdWString(node->status), QString::fromStdWString(node->result), node->colour};
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  const FileNode* node = NodeAt(index);
  if (!node) return QVariant();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      switch (column) {
        case 0: return QString::fromStdWString(node->name);
        case 1: return QString::fromStdWString(node->path);
        case 2: return QString::fromStdWString(node->size);
        case 3: return ShownOf(node).status;
        case 4: return ShownOf(node).result;
        default: return QVariant();
      }
    case Qt::DecorationRole:
      return column == 0 ? QVariant(KindIcon(node->image)) : QVariant();
    case Qt::ForegroundRole:
      return TextColour(ShownOf(node).colour);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue((column == 2 || column == 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default:
      return QVariant();
  }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= 5) return QVariant();
  if (role == Qt::DisplayRole) return QString::fromWCharArray(FileList::kColumnTitles[section]);
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue((section == 2 || section == 3 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  return QVariant();
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

FileNode* FileListModel::NodeAt(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return nullptr;
  return static_cast<FileNode*>(index.internalPointer());
}

QModelIndex FileListModel::IndexOf(const FileNode* node, int column) const {
  if (!node) return QModelIndex();
  const auto& siblings = node->parent ? node->parent->children : list_.TopLevel();
  // The row kept since the last change of the list, checked; else a search.
  const auto cached = rows_.constFind(node);
  if (cached != rows_.constEnd() && static_cast<size_t>(*cached) < siblings.size() &&
      siblings[static_cast<size_t>(*cached)].get() == node) {
    return createIndex(*cached, column, const_cast<FileNode*>(node));
  }
  for (size_t row = 0; row < siblings.size(); ++row) {
    if (siblings[row].get() == node) return createIndex(static_cast<int>(row), column, const_cast<FileNode*>(node));
  }
  return QModelIndex();
}

void FileListModel::BeginChange() { beginResetModel(); }

void FileListModel::EndChange() {
  rows_.clear();
  for (const auto& top : list_.TopLevel()) {
    rows_.insert(top.get(), rows_.size());
  }
  for (const auto& top : list_.TopLevel()) {
    for (size_t r = 0; r < top->children.size(); ++r) rows_.insert(top->children[r].get(), static_cast<int>(r));
  }
  endResetModel();
}

void FileListModel::RefreshAll() {
  if (rowCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, 4));
  for (const auto& top : list_.TopLevel()) {
    if (!top->children.empty()) {
      const QModelIndex p = IndexOf(top.get());
      emit dataChanged(index(0, 0, p), index(static_cast<int>(top->children.size()) - 1, 4, p));
    }
  }
}

void FileListModel::BeginBatch() {
  shown_.clear();
  for (const FileNode* node : list_.Walk()) {
    shown_.insert(node, Shown{QString::fromStdWString(node->status), QString::fromStdWString(node->result),
                              node->colour});
  }
  inBatch_ = true;
  // The status and result columns were blanked before the batch.
  RefreshAll();
}

void FileListModel::EndBatch() {
  inBatch_ = false;
  shown_.clear();
  RefreshAll();
}

void FileListModel::OnNodeUpdated(const FileNode* node) {
  if (!node) return;
  if (inBatch_) {
    shown_.insert(node, Shown{QString::fromStdWString(node->status), QString::fromStdWString(node->result),
                              node->colour});
  }
  const QModelIndex first = IndexOf(node, 0);
  if (first.isValid()) emit dataChanged(first, IndexOf(node, 4));
}
