#pragma once
// The drawing area of the map preview. The map is drawn into an image on a
// worker thread; the widget shows the last image, moved and scaled at once
// while the person drags or turns the wheel, and asks for a new image when
// the view has settled. Clicking a shape reports which record it is.
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QTransform>
#include <QWidget>
#include <atomic>
#include <memory>

#include "PreviewMap.h"

class MapCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit MapCanvas(QWidget* parent = nullptr);
  ~MapCanvas() override;

  void SetMap(std::shared_ptr<const PreviewMap> map);
  const PreviewMap* Map() const { return map_.get(); }

  // Shows the whole map.
  void FitAll();
  // Zooms by `factor` keeping the map point under `pixel` in place.
  void ZoomAt(double factor, const QPointF& pixel);
  void PanBy(const QPointF& pixels);

  // Map coordinates to widget pixels.
  QTransform View() const;
  // True while an image for the current view is being drawn.
  bool Rendering() const { return rendering_; }
  // The last finished image, and the view it was drawn with.
  const QImage& Image() const { return image_; }

  // The shape under `pixel`, topmost first; false when there is none.
  bool ShapeAt(const QPointF& pixel, int* layer, const PreviewShape** shape) const;

 signals:
  void Rendered();
  void ShapeClicked(int layer, const PreviewShape& shape);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  void RequestRender();
  void StartRender();

  std::shared_ptr<const PreviewMap> map_;
  QPointF centre_;        // map point at the widget's centre
  double scale_ = 1.0;    // pixels per map unit
  QImage image_;
  QTransform imageView_;  // the view image_ was drawn with
  QTimer settle_;
  std::shared_ptr<std::atomic<int>> generation_;
  bool rendering_ = false;
  QPointF dragFrom_;
  QPointF pressAt_;
  bool dragging_ = false;
};
