#include "OutputPane.h"

#include <QFontDatabase>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <sstream>

#include <QFile>
#include "InfoReport.h"
#include "LogModel.h"
#include "MapPreview.h"

QString FileInfoText(const QString& path) {
  if (path.isEmpty()) return QString();
  std::ostringstream out;
  gridmoor::InfoOptions options;
  gridmoor::ReportFile(out, path.toStdString(), options);
  return QString::fromStdString(out.str());
}

OutputPane::OutputPane(LogModel* log, QWidget* parent) : QDockWidget(parent), log_(log) {
  setObjectName(QStringLiteral("OutputPane"));
  setWindowTitle(QStringLiteral("信息窗口"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

  tabs_ = new QTabWidget(this);
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);

  info_ = new QPlainTextEdit(tabs_);
  info_->setReadOnly(true);
  info_->setLineWrapMode(QPlainTextEdit::NoWrap);
  info_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  logView_ = new QListView(tabs_);
  logView_->setModel(log_);
  logView_->setUniformItemSizes(true);
  logView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  logView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  logView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  logView_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(logView_, &QWidget::customContextMenuRequested, this, &OutputPane::ShowContextMenu);
  // A new line becomes the current one, so the list scrolls to it.
  connect(log_, &LogModel::LineAdded, this, [this](int row) {
    const QModelIndex i = log_->index(row);
    logView_->setCurrentIndex(i);
    logView_->scrollTo(i);
  });

  preview_ = new MapPreview(tabs_);
  connect(preview_, &MapPreview::FeatureInfo, this, &OutputPane::ShowInfoText);

  tabs_->addTab(info_, QStringLiteral("文件信息"));
  tabs_->addTab(preview_, QStringLiteral("地图预览"));
  tabs_->addTab(logView_, QStringLiteral("转换日志"));
  // Reading a map costs time: only the preview in front reads its file.
  connect(tabs_, &QTabWidget::currentChanged, this, [this] {
    if (tabs_->currentWidget() == preview_ && preview_->File() != previewPending_) preview_->ShowFile(previewPending_);
  });
  tabs_->setCurrentWidget(logView_);
  setWidget(tabs_);
}

void OutputPane::ShowFileInfo(const QString& path) {
  info_->setPlainText(FileInfoText(path));
  previewPending_ = path;
  if (tabs_->currentWidget() == preview_) preview_->ShowFile(path);
}

void OutputPane::ShowInfoText(const QString& text) { info_->setPlainText(text); }

void OutputPane::ShowLog() {
  if (isVisible()) return;
  show();
  raise();
  tabs_->setCurrentWidget(logView_);
}

bool OutputPane::SaveLog(const QString& path) const {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  for (const QString& line : log_->Lines()) {
    if (file.write(line.toUtf8() + '\n') < 0) return false;
  }
  return file.flush() && file.error() == QFileDevice::NoError;
}

void OutputPane::ShowContextMenu(const QPoint& pos) {
  QMenu menu(this);
  menu.addAction(QStringLiteral("清除(&C)"), this, &OutputPane::ClearRequested);
  menu.addAction(QStringLiteral("另存为"), this, &OutputPane::SaveRequested);
  menu.addSeparator();
  menu.addAction(QStringLiteral("隐藏"), this, &QWidget::hide);
  menu.exec(logView_->viewport()->mapToGlobal(pos));
}
