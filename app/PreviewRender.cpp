#include "PreviewRender.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

// Lines keep a readable width at every zoom: one to three pixels. Width 0
// is Qt's one-pixel cosmetic pen, which draws far faster than width 1.
qreal PenWidth(float stored) {
  if (!(stored > 0)) return 0.0;
  const double pixels = std::min(3.0, std::max(1.0, std::round(static_cast<double>(stored) * 2.0)));
  return pixels <= 1.0 ? 0.0 : pixels;
}

// Draws one-pixel lines straight into a 32-bit image: for maps of many
// thin lines this is several times faster than the paint engine.
class Hairlines {
 public:
  explicit Hairlines(QImage& image)
      : bits_(reinterpret_cast<uint32_t*>(image.bits())),
        stride_(image.bytesPerLine() / 4),
        width_(image.width()),
        height_(image.height()) {}

  void Line(QPointF a, QPointF b, QRgb colour) {
    if (!Clip(a, b)) return;
    int x0 = static_cast<int>(std::lround(a.x())), y0 = static_cast<int>(std::lround(a.y()));
    const int x1 = static_cast<int>(std::lround(b.x())), y1 = static_cast<int>(std::lround(b.y()));
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
      if (x0 >= 0 && y0 >= 0 && x0 < width_ && y0 < height_) bits_[y0 * stride_ + x0] = colour | 0xFF000000u;
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * error;
      if (e2 >= dy) {
        error += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        error += dx;
        y0 += sy;
      }
    }
  }

 private:
  // Cuts the segment to the image (Liang-Barsky); false when none of it lies inside.
  bool Clip(QPointF& a, QPointF& b) const {
    const double xmax = width_ - 0.5, ymax = height_ - 0.5, dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() + 0.5, xmax - a.x(), a.y() + 0.5, ymax - a.y()};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return false;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0) {
        t0 = std::max(t0, t);
      } else {
        t1 = std::min(t1, t);
      }
      if (t0 > t1) return false;
    }
    const QPointF start = a;
    a = start + t0 * QPointF(dx, dy);
    b = start + t1 * QPointF(dx, dy);
    return std::isfinite(a.x()) && std::isfinite(a.y()) && std::isfinite(b.x()) && std::isfinite(b.y());
  }

  uint32_t* bits_;
  int stride_, width_, height_;
};

class Renderer {
 public:
  Renderer(QPainter& painter, Hairlines& hairlines, const QTransform& view)
      : painter_(painter), hairlines_(hairlines), view_(view) {
    unit_ = std::hypot(view.m11(), view.m12());
  }

  // The layer's overview parts when a pixel covers their tolerance, else its detailed parts.
  void BeginLayer(const PreviewLayer& layer) {
    const bool coarse = layer.overviewTolerance > 0 && 1.0 / unit_ >= layer.overviewTolerance;
    set_ = coarse ? &layer.overview : &layer.detail;
  }

  void Draw(const PreviewLayer& layer, const PreviewShape& shape) {
    const QRectF box = view_.mapRect(shape.bounds);
    // A shape smaller than a pixel is a pixel.
    if (shape.kind != PreviewShape::kText && shape.kind != PreviewShape::kPoint && box.width() < 1.5 &&
        box.height() < 1.5) {
      SetPen(shape.colour, 0.0);
      painter_.drawPoint(box.center());
      return;
    }
    switch (shape.kind) {
      case PreviewShape::kPolygon: DrawPolygon(shape); break;
      case PreviewShape::kLine:
      {
        const qreal width = PenWidth(shape.width);
        SetPen(shape.colour, width);
        SetBrush(0, false);
        for (uint32_t p = shape.firstPart; p < shape.firstPart + shape.partCount; ++p) {
          Thin(p);
          if (width > 0) {
            painter_.drawPolyline(buffer_.constData(), static_cast<int>(buffer_.size()));
            continue;
          }
          for (int i = 1; i < buffer_.size(); ++i) hairlines_.Line(buffer_[i - 1], buffer_[i], shape.colour);
        }
        break;
      }
      case PreviewShape::kPoint: {
        const QColor colour = QColor::fromRgb(shape.colour);
        SetPen(colour.darker(150).rgb(), 0.0);
        SetBrush(shape.colour, true);
        painter_.drawEllipse(view_.map(set_->points[set_->PartBegin(shape.firstPart)]), 3, 3);
        break;
      }
      case PreviewShape::kText: DrawText(layer, shape); break;
    }
  }

 private:
  void SetPen(QRgb colour, qreal width) {
    if (havePen_ && colour == penColour_ && width == penWidth_) return;
    painter_.setPen(QPen(QColor::fromRgb(colour), width));
    havePen_ = true;
    penColour_ = colour;
    penWidth_ = width;
  }

  void SetBrush(QRgb colour, bool solid) {
    if (haveBrush_ && solid == brushSolid_ && (!solid || colour == brushColour_)) return;
    painter_.setBrush(solid ? QBrush(QColor::fromRgb(colour)) : QBrush(Qt::NoBrush));
    haveBrush_ = true;
    brushSolid_ = solid;
    brushColour_ = colour;
  }

  // The part's vertices in pixels, leaving out those within a pixel of the
  // last one kept.
  void Thin(uint32_t part) {
    buffer_.clear();
    const uint32_t b = set_->PartBegin(part), e = set_->partEnds[part];
    QPointF last = view_.map(set_->points[b]);
    buffer_.append(last);
    for (uint32_t i = b + 1; i < e; ++i) {
      const QPointF q = view_.map(set_->points[i]);
      if (i + 1 < e && std::fabs(q.x() - last.x()) < 1.0 && std::fabs(q.y() - last.y()) < 1.0) continue;
      buffer_.append(q);
      last = q;
    }
  }

  void DrawPolygon(const PreviewShape& shape) {
    SetPen(QColor::fromRgb(shape.colour).darker(140).rgb(), 0);
    SetBrush(shape.colour, true);
    if (shape.partCount == 1) {
      Thin(shape.firstPart);
      painter_.drawPolygon(buffer_.constData(), static_cast<int>(buffer_.size()), Qt::OddEvenFill);
      return;
    }
    // Rings after the first are holes where they lie inside it.
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (uint32_t p = shape.firstPart; p < shape.firstPart + shape.partCount; ++p) {
      Thin(p);
      path.addPolygon(QPolygonF(buffer_));
      path.closeSubpath();
    }
    painter_.drawPath(path);
  }

  void DrawText(const PreviewLayer& layer, const PreviewShape& shape) {
    const QPointF at = view_.map(set_->points[set_->PartBegin(shape.firstPart)]);
    const double pixels = shape.height * unit_;
    if (!(pixels >= 4.0)) {
      SetPen(shape.colour, 0.0);
      painter_.drawPoint(at);
      return;
    }
    const int size = static_cast<int>(std::min(pixels, 2000.0));
    auto font = fonts_.find(size);
    if (font == fonts_.end()) {
      QFont f = painter_.font();
      f.setPixelSize(size);
      font = fonts_.insert(size, f);
    }
    painter_.setFont(*font);
    SetPen(shape.colour, 0.0);
    // The stored point is the text's lower left corner.
    QTransform place;
    place.translate(at.x(), at.y());
    place.rotate(-shape.angle);
    painter_.setTransform(place);
    painter_.drawText(QPointF(0, 0), layer.texts.value(shape.text));
    painter_.resetTransform();
  }

  QPainter& painter_;
  Hairlines& hairlines_;
  QTransform view_;
  double unit_ = 1.0;  // pixels per map unit
  const PreviewPoints* set_ = nullptr;
  QVector<QPointF> buffer_;
  QHash<int, QFont> fonts_;
  bool havePen_ = false;
  QRgb penColour_ = 0;
  qreal penWidth_ = 0;
  bool haveBrush_ = false;
  bool brushSolid_ = false;
  QRgb brushColour_ = 0;
};

}  // namespace

bool RenderPreview(const PreviewMap& map, const QTransform& view, QImage& image, const std::atomic<int>* generation,
                   int mine) {
  image.fill(Qt::white);
  if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
  Hairlines hairlines(image);
  QPainter painter(&image);
  Renderer renderer(painter, hairlines, view);
  const QRectF world = view.inverted().mapRect(QRectF(image.rect()).adjusted(-8, -8, 8, 8));
  int counter = 0;
  for (const PreviewLayer& layer : map.layers) {
    renderer.BeginLayer(layer);
    for (const PreviewShape& shape : layer.shapes) {
      if ((++counter & 2047) == 0 && generation && generation->load() != mine) return false;
      if (shape.kind == PreviewShape::kText) {
        // A text reaches beyond its anchor by about its length in heights.
        const qreal reach = shape.height * (layer.texts.value(shape.text).size() + 1);
        if (!Overlaps(world, shape.bounds.adjusted(-reach, -reach, reach, reach))) continue;
      } else if (!Overlaps(world, shape.bounds)) {
        continue;
      }
      renderer.Draw(layer, shape);
    }
  }
  return true;
}
