#include "MapPreview.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "FeatureAttributes.h"
#include "MapCanvas.h"

MapPreview::MapPreview(QWidget* parent) : QWidget(parent) {
  canvas_ = new MapCanvas(this);
  auto* fit = new QToolButton(this);
  fit->setText(QStringLiteral("全图"));
  fit->setToolTip(QStringLiteral("显示整幅地图"));
  connect(fit, &QToolButton::clicked, canvas_, &MapCanvas::FitAll);
  message_ = new QLabel(this);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setMaximumWidth(160);
  progress_->setTextVisible(false);
  progress_->hide();

  auto* bar = new QHBoxLayout;
  bar->setContentsMargins(4, 2, 4, 2);
  bar->addWidget(fit);
  bar->addWidget(progress_);
  bar->addWidget(message_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(bar);
  layout->addWidget(canvas_, 1);

  poll_ = new QTimer(this);
  poll_->setInterval(50);
  connect(poll_, &QTimer::timeout, this, [this] {
    if (job_) progress_->setValue(job_->percent.load());
  });
  connect(canvas_, &MapCanvas::ShapeClicked, this, &MapPreview::OnShapeClicked);
}

MapPreview::~MapPreview() {
  if (job_) job_->cancel.store(true);
}

void MapPreview::ShowFile(const QString& path) {
  if (job_) job_->cancel.store(true);
  job_.reset();
  path_ = path;
  canvas_->SetMap(nullptr);
  message_->clear();
  if (path.isEmpty()) {
    progress_->hide();
    poll_->stop();
    return;
  }
  auto job = std::make_shared<PreviewProgress>();
  job_ = job;
  progress_->setValue(0);
  progress_->show();
  poll_->start();
  message_->setText(QStringLiteral("正在读取%1...").arg(QFileInfo(path).fileName()));
  const QStringList folders = colourFolders_;
  auto* watcher = new QFutureWatcher<std::shared_ptr<PreviewMap>>(this);
  connect(watcher, &QFutureWatcher<std::shared_ptr<PreviewMap>>::finished, this, [this, watcher, job] {
    watcher->deleteLater();
    if (job != job_) return;
    job_.reset();
    OnLoaded(watcher->result());
  });
  watcher->setFuture(QtConcurrent::run([path, folders, job] { return LoadPreview(path, folders, *job); }));
}

void MapPreview::OnLoaded(const std::shared_ptr<PreviewMap>& map) {
  poll_->stop();
  progress_->hide();
  size_t shapes = 0;
  for (const PreviewLayer& layer : map->layers) shapes += layer.shapes.size();
  QString text;
  if (shapes == 0) {
    text = map->table ? QStringLiteral("表格文件没有图形") : QStringLiteral("没有可显示的图形");
  } else {
    text = QStringLiteral("%1个图元").arg(shapes);
  }
  if (!map->problems.isEmpty()) text += QStringLiteral("；") + map->problems.join(QStringLiteral("；"));
  message_->setText(text);
  canvas_->SetMap(map);
  emit Loaded();
}

void MapPreview::OnShapeClicked(int layer, const PreviewShape& shape) {
  const PreviewMap* map = canvas_->Map();
  if (!map || layer < 0 || static_cast<size_t>(layer) >= map->layers.size()) return;
  const QString text = FeatureAttributesText(map->layers[static_cast<size_t>(layer)].path, shape.table, shape.record);
  // The values show beside the pointer too, so the map can stay in front.
  QToolTip::showText(QCursor::pos(), text.trimmed(), canvas_);
  emit FeatureInfo(text);
}
