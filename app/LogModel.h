#pragma once
// The lines of the conversion log as a list model for the log pane.
#include <QAbstractListModel>
#include <QStringList>

class LogModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit LogModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  const QStringList& Lines() const { return lines_; }

 public slots:
  // A line of the log generation `generation`; lines of an older
  // generation (posted before the last clear) are dropped.
  void Append(const QString& line, quint64 generation);
  void Clear(quint64 generation);

 signals:
  void LineAdded(int row);

 private:
  QStringList lines_;
  quint64 generation_ = 0;
};
