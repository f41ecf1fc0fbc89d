#include "LogModel.h"

LogModel::LogModel(QObject* parent) : QAbstractListModel(parent) {}

int LogModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : lines_.size(); }

QVariant LogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= lines_.size()) return QVariant();
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return lines_.at(index.row());
  return QVariant();
}

void LogModel::Append(const QString& line, quint64 generation) {
  if (generation != generation_) return;
  const int row = lines_.size();
  beginInsertRows(QModelIndex(), row, row);
  lines_.append(line);
  endInsertRows();
  emit LineAdded(row);
}

void LogModel::Clear(quint64 generation) {
  generation_ = generation;
  if (lines_.isEmpty()) return;
  beginResetModel();
  lines_.clear();
  endResetModel();
}
