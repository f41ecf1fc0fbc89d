#pragma once
// What the map preview draws: the shapes of one layer file, or of every
// layer of a project in project order, in map coordinates, already thinned
// to the resolution the preview can show.
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <vector>

// The smallest rectangle holding both; unlike QRectF::united, a rectangle
// of no size (a lone point) counts.
inline QRectF UnionOf(const QRectF& a, const QRectF& b) {
  return QRectF(QPointF(std::min(a.left(), b.left()), std::min(a.top(), b.top())),
                QPointF(std::max(a.right(), b.right()), std::max(a.bottom(), b.bottom())));
}

// Whether two rectangles touch, sizes of zero included.
inline bool Overlaps(const QRectF& a, const QRectF& b) {
  return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

struct PreviewShape {
  enum Kind : uint8_t { kPolygon, kLine, kPoint, kText };
  Kind kind = kPoint;
  // Which attribute table the record's values live in (the reader's kinds:
  // 0 lines/arcs, 1 points/nodes, 2 polygons), and its record index.
  int8_t table = 0;
  int record = -1;
  QRgb colour = 0;
  float width = 0;   // line width as stored
  float height = 0;  // text height in map units
  float angle = 0;   // text angle in degrees, counter-clockwise
  uint32_t firstPart = 0;
  uint32_t partCount = 0;
  int text = -1;     // index into the layer's texts
  QRectF bounds;
};

// The vertices of every part of a layer's shapes.
struct PreviewPoints {
  std::vector<QPointF> points;
  std::vector<uint32_t> partEnds;  // end (exclusive) of each part in points

  uint32_t PartBegin(uint32_t part) const { return part == 0 ? 0 : partEnds[part - 1]; }
};

struct PreviewLayer {
  QString path;
  std::vector<PreviewShape> shapes;
  // The parts kept to about 1/8192 of the layer's extent, and the same
  // parts kept to 1/1024 for drawing the whole map or much of it.
  PreviewPoints detail;
  PreviewPoints overview;
  double overviewTolerance = 0;
  QStringList texts;
  QRectF bounds;
  int unreadable = 0;  // records that could not be read
  QString problem;     // why the layer could not be read at all, or empty
};

struct PreviewMap {
  std::vector<PreviewLayer> layers;  // drawn in this order
  QRectF bounds;
  QStringList problems;  // one line per unreadable layer or group of records
  bool table = false;    // the file is an attribute table without shapes
};
