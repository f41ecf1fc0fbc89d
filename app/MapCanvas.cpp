#include "MapCanvas.h"

#include <QFutureWatcher>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <QtConcurrent/QtConcurrentRun>
#include <cmath>

#include "PreviewRender.h"

namespace {

// Distance in pixels from `p` to the segment a-b.
double SegmentDistance(const QPointF& p, const QPointF& a, const QPointF& b) {
  const QPointF d = b - a;
  const double length = QPointF::dotProduct(d, d);
  double t = length > 0 ? QPointF::dotProduct(p - a, d) / length : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const QPointF q = a + t * d - p;
  return std::hypot(q.x(), q.y());
}

bool Hits(const PreviewLayer& layer, const PreviewShape& shape, const QTransform& view, const QPointF& pixel) {
  const QPointF mapPoint = view.inverted().map(pixel);
  const qreal reach = 6.0 / std::max(std::hypot(view.m11(), view.m12()), 1e-300);
  if (!Overlaps(shape.bounds.adjusted(-reach, -reach, reach, reach), QRectF(mapPoint, QSizeF(0, 0)))) return false;
  switch (shape.kind) {
    case PreviewShape::kPoint:
    case PreviewShape::kText: {
      const QPointF at = view.map(layer.detail.points[layer.detail.PartBegin(shape.firstPart)]);
      return std::hypot(at.x() - pixel.x(), at.y() - pixel.y()) <= 6.0;
    }
    case PreviewShape::kLine:
      for (uint32_t p = shape.firstPart; p < shape.firstPart + shape.partCount; ++p) {
        for (uint32_t i = layer.detail.PartBegin(p) + 1; i < layer.detail.partEnds[p]; ++i) {
          if (SegmentDistance(pixel, view.map(layer.detail.points[i - 1]), view.map(layer.detail.points[i])) <= 4.0) return true;
        }
      }
      return false;
    case PreviewShape::kPolygon: {
      if (!shape.bounds.contains(mapPoint)) return false;
      QPainterPath path;
      path.setFillRule(Qt::OddEvenFill);
      for (uint32_t p = shape.firstPart; p < shape.firstPart + shape.partCount; ++p) {
        const uint32_t b = layer.detail.PartBegin(p);
        path.moveTo(layer.detail.points[b]);
        for (uint32_t i = b + 1; i < layer.detail.partEnds[p]; ++i) path.lineTo(layer.detail.points[i]);
        path.closeSubpath();
      }
      return path.contains(mapPoint);
    }
  }
  return false;
}

}  // namespace

MapCanvas::MapCanvas(QWidget* parent)
    : QWidget(parent), generation_(std::make_shared<std::atomic<int>>(0)) {
  setMinimumSize(120, 80);
  setMouseTracking(false);
  setCursor(Qt::OpenHandCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
  settle_.setSingleShot(true);
  settle_.setInterval(120);
  connect(&settle_, &QTimer::timeout, this, &MapCanvas::StartRender);
}

// A render still running sees the new generation and stops.
MapCanvas::~MapCanvas() { ++*generation_; }

void MapCanvas::SetMap(std::shared_ptr<const PreviewMap> map) {
  map_ = std::move(map);
  image_ = QImage();
  FitAll();
}

QTransform MapCanvas::View() const {
  // y grows upwards on the map and downwards on the screen.
  QTransform t;
  t.translate(width() / 2.0, height() / 2.0);
  t.scale(scale_, -scale_);
  t.translate(-centre_.x(), -centre_.y());
  return t;
}

void MapCanvas::FitAll() {
  bool any = false;
  if (map_) {
    for (const PreviewLayer& layer : map_->layers) any = any || !layer.shapes.empty();
  }
  if (any) {
    // A side of no length (a lone point, a straight horizontal line) sets no scale.
    const QRectF b = map_->bounds;
    centre_ = b.center();
    const double across = b.width() > 0 ? width() / b.width() : HUGE_VAL;
    const double down = b.height() > 0 ? height() / b.height() : HUGE_VAL;
    scale_ = 0.95 * std::min(across, down);
  }
  if (!std::isfinite(scale_) || scale_ <= 0) scale_ = 1.0;
  StartRender();
}

void MapCanvas::ZoomAt(double factor, const QPointF& pixel) {
  const QPointF before = View().inverted().map(pixel);
  const double next = scale_ * factor;
  if (!std::isfinite(next) || next <= 0 || next > 1e12 || next < 1e-12) return;
  scale_ = next;
  const QPointF after = View().inverted().map(pixel);
  centre_ += before - after;
  update();
  RequestRender();
}

void MapCanvas::PanBy(const QPointF& pixels) {
  centre_ -= QPointF(pixels.x() / scale_, -pixels.y() / scale_);
  update();
  RequestRender();
}

void MapCanvas::RequestRender() { settle_.start(); }

void MapCanvas::StartRender() {
  settle_.stop();
  const int mine = ++*generation_;
  if (!map_ || width() <= 0 || height() <= 0) {
    rendering_ = false;
    update();
    return;
  }
  rendering_ = true;
  const qreal ratio = devicePixelRatioF();
  QTransform view = View() * QTransform::fromScale(ratio, ratio);
  const QSize size(qRound(width() * ratio), qRound(height() * ratio));
  auto map = map_;
  auto generation = generation_;
  auto* watcher = new QFutureWatcher<QImage>(this);
  connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, mine, ratio, view] {
    watcher->deleteLater();
    if (mine != generation_->load()) return;
    image_ = watcher->result();
    image_.setDevicePixelRatio(ratio);
    imageView_ = view * QTransform::fromScale(1 / ratio, 1 / ratio);
    rendering_ = false;
    update();
    emit Rendered();
  });
  watcher->setFuture(QtConcurrent::run([map, view, size, generation, mine] {
    QImage image(size, QImage::Format_RGB32);
    RenderPreview(*map, view, image, generation.get(), mine);
    return image;
  }));
}

void MapCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (image_.isNull()) return;
  // The last image, moved and scaled to the current view.
  painter.setTransform(imageView_.inverted() * View());
  painter.drawImage(QRectF(QPointF(0, 0), QSizeF(image_.size()) / image_.devicePixelRatio()), image_);
}

void MapCanvas::resizeEvent(QResizeEvent*) {
  if (map_ && image_.isNull()) {
    FitAll();
  } else {
    RequestRender();
  }
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps != 0) ZoomAt(std::pow(1.25, steps), event->position());
  event->accept();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  dragFrom_ = pressAt_ = event->position();
  setCursor(Qt::ClosedHandCursor);
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  PanBy(event->position() - dragFrom_);
  dragFrom_ = event->position();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  setCursor(Qt::OpenHandCursor);
  // A click that did not move the map asks what lies under it.
  const QPointF moved = event->position() - pressAt_;
  if (std::hypot(moved.x(), moved.y()) > 3) return;
  int layer = -1;
  const PreviewShape* shape = nullptr;
  if (ShapeAt(event->position(), &layer, &shape)) emit ShapeClicked(layer, *shape);
}

bool MapCanvas::ShapeAt(const QPointF& pixel, int* layer, const PreviewShape** shape) const {
  if (!map_) return false;
  const QTransform view = View();
  for (int l = static_cast<int>(map_->layers.size()) - 1; l >= 0; --l) {
    const PreviewLayer& candidate = map_->layers[static_cast<size_t>(l)];
    for (auto it = candidate.shapes.rbegin(); it != candidate.shapes.rend(); ++it) {
      if (!Hits(candidate, *it, view, pixel)) continue;
      *layer = l;
      *shape = &*it;
      return true;
    }
  }
  return false;
}
