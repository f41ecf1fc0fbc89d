#include "PreviewLoader.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstring>
#include <new>

#include "FileList.h"
#include "MapGis.h"
#include "PreviewColour.h"
#include "MapGisProjectPaths.h"

using namespace MapGis;

namespace {

// One Geometry buffer for all records of a layer; the reader refills it.
class GeometryBuffer {
 public:
  GeometryBuffer() : g_(CreateGeometry()) {}
  ~GeometryBuffer() {
    if (g_) DestroyGeometry(g_);
  }
  GeometryBuffer(const GeometryBuffer&) = delete;
  GeometryBuffer& operator=(const GeometryBuffer&) = delete;
  Geometry* get() const { return g_; }

 private:
  Geometry* g_;
};

class LayerBuilder {
 public:
  LayerBuilder(PreviewLayer& layer, const MapGis_ColorLib* colours, double tolerance)
      : layer_(layer), colours_(colours), tolerance_(tolerance) {
    layer_.overviewTolerance = tolerance * 8;
  }

  QRgb Colour(long number) const { return PreviewColour(colours_, number).rgb(); }

  // Adds the parts of `g` as one shape; false when no part had a usable vertex.
  bool AddParts(PreviewShape shape, const Geometry& g) {
    if (g.nVertices <= 0 || !g.padfX || !g.padfY) return false;
    const int parts = g.nParts > 0 && g.panPartStart ? g.nParts : 1;
    const int minimum = shape.kind == PreviewShape::kPolygon ? 3 : 2;
    shape.firstPart = static_cast<uint32_t>(layer_.detail.partEnds.size());
    const size_t firstPoint = layer_.detail.points.size();
    for (int p = 0; p < parts; ++p) {
      const int s = parts == 1 ? 0 : g.panPartStart[p];
      const int e = p + 1 < parts ? g.panPartStart[p + 1] : g.nVertices;
      if (s < 0 || e > g.nVertices || e <= s) continue;
      source_.clear();
      for (int i = s; i < e; ++i) {
        if (std::isfinite(g.padfX[i]) && std::isfinite(g.padfY[i])) source_.emplace_back(g.padfX[i], g.padfY[i]);
      }
      if (source_.empty()) continue;
      Thin(source_, tolerance_, minimum, layer_.detail);
      Thin(source_, layer_.overviewTolerance, minimum, layer_.overview);
      ++shape.partCount;
    }
    if (shape.partCount == 0) return false;
    shape.bounds = BoundsOf(firstPoint);
    Add(shape);
    return true;
  }

  void AddPoint(PreviewShape shape, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    shape.firstPart = static_cast<uint32_t>(layer_.detail.partEnds.size());
    shape.partCount = 1;
    for (PreviewPoints* set : {&layer_.detail, &layer_.overview}) {
      set->points.emplace_back(x, y);
      set->partEnds.push_back(static_cast<uint32_t>(set->points.size()));
    }
    shape.bounds = QRectF(QPointF(x, y), QSizeF(0, 0));
    Add(shape);
  }

 private:
  // Keeps the vertices that move at least `tolerance` from the last one
  // kept, and the last vertex; a part thinned below `minimum` vertices
  // keeps its first, middle and last.
  static void Thin(const std::vector<QPointF>& source, double tolerance, int minimum, PreviewPoints& into) {
    const size_t start = into.points.size();
    QPointF last = source.front();
    into.points.push_back(last);
    for (size_t i = 1; i < source.size(); ++i) {
      const QPointF& q = source[i];
      if (i + 1 < source.size() && std::fabs(q.x() - last.x()) < tolerance && std::fabs(q.y() - last.y()) < tolerance) {
        continue;
      }
      into.points.push_back(q);
      last = q;
    }
    if (into.points.size() - start < static_cast<size_t>(minimum) && source.size() >= static_cast<size_t>(minimum)) {
      into.points.resize(start);
      for (size_t i : {size_t{0}, source.size() / 2, source.size() - 1}) into.points.push_back(source[i]);
    }
    into.partEnds.push_back(static_cast<uint32_t>(into.points.size()));
  }

  QRectF BoundsOf(size_t firstPoint) const {
    const std::vector<QPointF>& points = layer_.detail.points;
    double x0 = points[firstPoint].x(), x1 = x0, y0 = points[firstPoint].y(), y1 = y0;
    for (size_t i = firstPoint + 1; i < points.size(); ++i) {
      x0 = std::min(x0, points[i].x());
      x1 = std::max(x1, points[i].x());
      y0 = std::min(y0, points[i].y());
      y1 = std::max(y1, points[i].y());
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
  }

  void Add(const PreviewShape& shape) {
    layer_.bounds = layer_.shapes.empty() ? shape.bounds : UnionOf(layer_.bounds, shape.bounds);
    layer_.shapes.push_back(shape);
  }

  PreviewLayer& layer_;
  const MapGis_ColorLib* colours_;
  double tolerance_;
  std::vector<QPointF> source_;
};

// Calls `read(i)` for every index the file can hold; counts the records
// that failed. A damaged slot count can name billions of records in a small
// file: no record is shorter than 40 bytes, so indexes past size / 40 are
// counted as unreadable without being read one by one.
template <typename Read>
bool ReadRecords(int slotCount, PreviewLayer& layer, PreviewProgress& progress, int base, int share, Read read) {
  const qint64 holdable = std::min<qint64>(slotCount, QFileInfo(layer.path).size() / 40);
  if (holdable < slotCount) layer.unreadable += static_cast<int>(slotCount - holdable);
  for (int i = 0; i < holdable; ++i) {
    if ((i & 1023) == 0) {
      if (progress.cancel.load()) return false;
      progress.percent.store(base + static_cast<int>(static_cast<long long>(share) * i / holdable));
    }
    const long status = read(i);
    if (status != MAPGIS_OK && status != MAPGIS_DELETED) ++layer.unreadable;
  }
  return true;
}

QString NoteText(MapGis_FastReader& reader, int i) {
  char text[2600];
  std::memset(text, 0, sizeof text);
  if (reader.GetNoteInfo(i, text) != MAPGIS_OK) return QString();
  text[sizeof text - 1] = '\0';
  return QString::fromStdString(AnsiToUtf8(text));
}

// The layer's factor for annotation heights, as the converters apply it.
float HeightFactor(MapGis_FastReader& reader) {
  MAP_PARAstruct projection;
  std::memset(&projection, 0, sizeof projection);
  reader.GetProjectionInfo(&projection);
  const double factor = projection.sizeFactorY;
  return std::isfinite(factor) && factor > 0 && factor < 1e6 ? static_cast<float>(factor) : 1.0f;
}

bool ReadPoints(MapGis_FastReader& reader, LayerBuilder& build, PreviewLayer& layer, PreviewProgress& progress,
                int base, int share, bool nodes) {
  const float heightFactor = HeightFactor(reader);
  int slotCount = 0;
  reader.GetPointCount(&slotCount);
  GeometryBuffer g;
  return ReadRecords(slotCount, layer, progress, base, share, [&](int i) {
    MAPGIS_PntInfo info;
    const long status = reader.ReadPointInfo(i, &info, g.get());
    if (status != MAPGIS_OK) return status;
    PreviewShape shape;
    shape.table = 1;
    shape.record = i;
    shape.colour = build.Colour(info.color);
    shape.kind = PreviewShape::kPoint;
    if (!nodes && (info.kind == 0 || info.kind == 5)) {
      const QString text = NoteText(reader, i);
      if (!text.isEmpty()) {
        shape.kind = PreviewShape::kText;
        shape.text = static_cast<int>(layer.texts.size());
        layer.texts << text;
        const float height = info.param.note.height * heightFactor;
        shape.height = std::isfinite(height) ? std::fabs(height) : 0.0f;
        shape.angle = std::isfinite(info.param.note.angle) ? info.param.note.angle : 0.0f;
      }
    }
    build.AddPoint(shape, info.x, info.y);
    return status;
  });
}

// Reads every line (kind kLine) or polygon (kPolygon) of the layer.
bool ReadParts(MapGis_FastReader& reader, PreviewShape::Kind kind, LayerBuilder& build, PreviewLayer& layer,
               PreviewProgress& progress, int base, int share) {
  const bool lines = kind == PreviewShape::kLine;
  int slotCount = 0;
  if (lines) {
    reader.GetArcCount(&slotCount);
  } else {
    reader.GetPolygonCount(&slotCount);
  }
  GeometryBuffer g;
  return ReadRecords(slotCount, layer, progress, base, share, [&](int i) {
    PreviewShape shape;
    shape.kind = kind;
    shape.record = i;
    long status;
    if (lines) {
      MAPGIS_LineInfo info;
      status = reader.ReadArcInfo(i, &info, g.get());
      shape.table = 0;
      shape.colour = build.Colour(info.color);
      shape.width = std::isfinite(info.width) ? info.width : 0.0f;
    } else {
      MAPGIS_RegInfo info;
      status = reader.ReadPolygonInfo(i, &info, g.get());
      shape.table = 2;
      shape.colour = build.Colour(info.fillColor);
    }
    if (status == MAPGIS_OK) build.AddParts(shape, *g.get());
    return status;
  });
}

QString OpenProblem(long status) {
  switch (status) {
    case MAPGIS_OPEN_FAILED: return QStringLiteral("无法打开文件");
    case MAPGIS_NOT_MAPGIS_FILE: return QStringLiteral("不是MapGIS文件");
    default: return QStringLiteral("文件无法读取（状态%1）").arg(status);
  }
}

// Reads one layer file; false when cancelled.
bool LoadLayer(const QString& path, const QStringList& colourFolders, PreviewMap& map, PreviewProgress& progress,
               int base, int share) {
  map.layers.emplace_back();
  PreviewLayer& layer = map.layers.back();
  layer.path = path;
  MapGis_FastReader reader;
  const long opened = reader.Open(path.toStdWString().c_str());
  if (opened != MAPGIS_OK) {
    layer.problem = OpenProblem(opened);
    return true;
  }
  MapGis_ColorLib colours;
  QStringList folders = colourFolders;
  folders << QFileInfo(path).absolutePath();
  const bool haveColours = LoadPreviewColours(colours, folders);

  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  reader.GetExtentInfo(&x0, &y0, &x1, &y1);
  LayerBuilder build(layer, haveColours ? &colours : nullptr, PreviewTolerance(QRectF(QPointF(x0, y0), QPointF(x1, y1))));
  switch (reader.GetShapeType()) {
    case MAPGIS_TYPE_POINT: return ReadPoints(reader, build, layer, progress, base, share, false);
    case MAPGIS_TYPE_LINE: return ReadParts(reader, PreviewShape::kLine, build, layer, progress, base, share);
    case MAPGIS_TYPE_POLYGON: return ReadParts(reader, PreviewShape::kPolygon, build, layer, progress, base, share);
    case MAPGIS_TYPE_NETWORK:
      return ReadParts(reader, PreviewShape::kLine, build, layer, progress, base, share / 2) &&
             ReadPoints(reader, build, layer, progress, base + share / 2, share - share / 2, true);
    case MAPGIS_TYPE_TABLE: map.table = true; return true;
    default: layer.problem = QStringLiteral("未知的文件类型"); return true;
  }
}

void LoadProject(const QString& path, const QStringList& colourFolders, PreviewMap& map, PreviewProgress& progress) {
  MapGis_Prj project;
  const long count = project.LoadProject(path.toStdWString().c_str());
  if (count < 0) {
    map.problems << QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), OpenProblem(count));
    return;
  }
  std::vector<QString> items;
  for (long i = 0; i < count; ++i) {
    wchar_t stored[2600] = {0};
    if (project.GetItemFileName(static_cast<int>(i), stored) != 0 || stored[0] == L'\0') continue;
    items.push_back(QString::fromStdWString(MapGis::ResolveProjectItem(path.toStdWString(), stored)));
  }
  const int n = static_cast<int>(items.size());
  for (int i = 0; i < n; ++i) {
    if (!LoadLayer(items[static_cast<size_t>(i)], colourFolders, map, progress, 100 * i / n, 100 / n)) return;
  }
}

}  // namespace

double PreviewTolerance(const QRectF& extent) {
  const double side = std::max(std::fabs(extent.width()), std::fabs(extent.height()));
  return std::isfinite(side) && side > 0 ? side / 8192.0 : 0.0;
}

std::shared_ptr<PreviewMap> LoadPreview(const QString& path, const QStringList& colourFolders,
                                        PreviewProgress& progress) {
  auto map = std::make_shared<PreviewMap>();
  try {
    if (FileList::KindOf(path.toStdWString()) == kKindProject) {
      LoadProject(path, colourFolders, *map, progress);
    } else {
      LoadLayer(path, colourFolders, *map, progress, 0, 100);
    }
  } catch (const std::bad_alloc&) {
    map->problems << QStringLiteral("内存不足，只显示已读取的部分");
  }
  bool first = true;
  for (const PreviewLayer& layer : map->layers) {
    const QString name = QFileInfo(layer.path).fileName();
    if (!layer.problem.isEmpty()) map->problems << QStringLiteral("%1: %2").arg(name, layer.problem);
    if (layer.unreadable > 0) map->problems << QStringLiteral("%1: %2条记录无法读取").arg(name).arg(layer.unreadable);
    if (layer.shapes.empty()) continue;
    map->bounds = first ? layer.bounds : UnionOf(map->bounds, layer.bounds);
    first = false;
  }
  progress.percent.store(100);
  return map;
}
