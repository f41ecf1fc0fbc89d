#include "PolygonAssembly.h"

#include <algorithm>
#include <cstdlib>

#include "GeometryFill.h"
#include "LittleEndian.h"

namespace MapGis::detail {

namespace {
constexpr int kDataSection = 1;
}

long ReadArcList(const LayerFile& layer, const MAPGIS_RegInfo& reg, long* total, long* arcs) {
  if (!total || !arcs) return MAPGIS_OK;
  const int64_t entries = reg.arcCount > 1 ? static_cast<int64_t>(reg.arcCount) - 1 : 0;
  // The whole list must be in the file before room for it is allocated.
  if (!layer.HasSection(kDataSection) ||
      !layer.FitsFile(layer.SectionOffset(kDataSection) + reg.arcOffset, static_cast<uint64_t>(entries + 1) * 4)) {
    return MAPGIS_READ_FAILED;
  }
  int32_t stored = 0;
  if (!layer.ReadSection(kDataSection, reg.arcOffset, &stored, sizeof stored)) return MAPGIS_READ_FAILED;
  std::vector<int32_t> raw(static_cast<size_t>(entries));
  if (entries > 0 &&
      !layer.ReadSection(kDataSection, static_cast<uint64_t>(reg.arcOffset) + 4, raw.data(), raw.size() * 4)) {
    return MAPGIS_READ_FAILED;
  }
  *total = stored;
  for (size_t k = 0; k < raw.size(); ++k) arcs[k] = raw[k];
  return stored < 0 ? MAPGIS_BAD_ARC_LIST : MAPGIS_OK;
}

long ReadArcPoints(const LayerFile& layer, const std::vector<MAPGIS_LineInfo>& lines, long arc, long* count,
                   double* points, int64_t capacity) {
  // Arc number 0 and INT_MIN name no line.
  if (arc == 0 || arc <= INT32_MIN || arc > INT32_MAX) return MAPGIS_READ_FAILED;
  const int64_t slot = arc < 0 ? -static_cast<int64_t>(arc) : arc;
  if (slot >= static_cast<int64_t>(lines.size())) return MAPGIS_READ_FAILED;
  const MAPGIS_LineInfo& line = lines[static_cast<size_t>(slot)];
  if (line.status != 1) return MAPGIS_DELETED;
  if (count) *count = line.pointCount;
  if (!points) return MAPGIS_OK;
  if (line.pointCount < 0 || line.pointCount > capacity) return MAPGIS_READ_FAILED;
  const size_t n = static_cast<size_t>(line.pointCount);
  if (n > 0 && !layer.ReadSection(kDataSection, line.dataOffset, points, n * 16)) return MAPGIS_READ_FAILED;
  if (arc < 0) {
    for (size_t j = 0; j < n / 2; ++j) {
      std::swap(points[2 * j], points[2 * (n - 1 - j)]);
      std::swap(points[2 * j + 1], points[2 * (n - 1 - j) + 1]);
    }
  }
  return MAPGIS_OK;
}

int64_t RingCount(const std::vector<long>& entries) {
  const int64_t n = static_cast<int64_t>(entries.size()) + 1;
  int64_t rings = 1 + std::count(entries.begin(), entries.end(), 0L);
  if (!entries.empty() && entries.front() == 0) --rings;
  if (n >= 3 && entries.back() == 0) --rings;
  return rings;
}

long LoadArcList(const LayerFile& layer, const MAPGIS_RegInfo& reg, ArcList* list) {
  if (reg.arcCount < 1) return MAPGIS_BAD_ARC_LIST;
  const uint64_t listBytes = static_cast<uint64_t>(reg.arcCount) * 4;
  if (!layer.HasSection(kDataSection) ||
      !layer.FitsFile(layer.SectionOffset(kDataSection) + reg.arcOffset, listBytes)) {
    return MAPGIS_READ_FAILED;
  }
  list->entries.assign(static_cast<size_t>(reg.arcCount) - 1, 0);
  // A list without entries still has its total: hand ReadArcList a real
  // pointer, since it reads nothing when given null.
  long none = 0;
  long* arcs = list->entries.empty() ? &none : list->entries.data();
  long st = ReadArcList(layer, reg, &list->total, arcs);
  if (st != MAPGIS_OK) return st;
  list->zeros = std::count(list->entries.begin(), list->entries.end(), 0L);
  list->vertices = static_cast<int64_t>(list->total) - (list->zeros + 1);
  // The vertices must fit the data area: 16 bytes each after section 1 starts.
  const uint64_t room = layer.FileSize() > layer.SectionOffset(kDataSection)
                            ? layer.FileSize() - layer.SectionOffset(kDataSection)
                            : 0;
  if (list->vertices < 0 || static_cast<uint64_t>(list->vertices) > room / 16) return MAPGIS_BAD_ARC_LIST;
  return MAPGIS_OK;
}

long AssemblePolygon(const LayerFile& layer, const MAPGIS_RegInfo& reg, ArcSource& arcs, bool deletedIsError,
                     Geometry* geo) {
  ArcList list;
  long st = LoadArcList(layer, reg, &list);
  if (st != MAPGIS_OK) return st;
  const int64_t rings = RingCount(list.entries);
  const int32_t vertices = static_cast<int32_t>(list.vertices);

  st = AllocateVertices(geo, vertices);
  if (st != MAPGIS_OK) return st;
  std::free(geo->panPartStart);
  std::free(geo->panPartType);
  geo->panPartStart = static_cast<int32_t*>(std::calloc(static_cast<size_t>(rings), sizeof(int32_t)));
  geo->panPartType = static_cast<int32_t*>(std::calloc(static_cast<size_t>(rings), sizeof(int32_t)));
  geo->nParts = 0;
  if (!geo->panPartStart || !geo->panPartType) return MAPGIS_OUT_OF_MEMORY;
  geo->nSHPType = 5;
  geo->nShapeId = -1;
  geo->nParts = static_cast<int32_t>(rings);
  geo->panPartStart[0] = 0;
  geo->panPartType[0] = 5;
  geo->dfXMin = geo->dfYMin = kBoxStart;
  geo->dfXMax = geo->dfYMax = -kBoxStart;

  std::vector<double> points(static_cast<size_t>(vertices) * 2 + 2, 0.0);
  const size_t last = list.entries.size() - (list.entries.empty() ? 0 : 1);
  int64_t w = 0;
  int64_t r = 1;
  long walk = MAPGIS_OK;
  for (size_t k = 0; k < list.entries.size(); ++k) {
    const long a = list.entries[k];
    if (a != 0) {
      long count = 0;
      const long read = arcs.ReadArc(a, &count, points.data() + 2 * w, vertices - w);
      if (read == MAPGIS_DELETED && !deletedIsError) continue;
      if (read != MAPGIS_OK) {
        walk = read;
        break;
      }
      w += count;
    } else if (k > 0 && k < last && r < rings) {
      geo->panPartStart[r] = static_cast<int32_t>(w);
      geo->panPartType[r] = 3;
      ++r;
    }
  }
  // Only the vertices the arcs filled belong to the polygon: unfilled room
  // (a deleted arc, a total larger than the arcs) would sit at (0, 0).
  const int32_t filled = static_cast<int32_t>(w);
  for (int32_t i = 0; i < filled; ++i) {
    geo->padfX[i] = points[2 * static_cast<size_t>(i)];
    geo->padfY[i] = points[2 * static_cast<size_t>(i) + 1];
  }
  geo->nVertices = filled;
  for (int32_t p = 0; p < geo->nParts; ++p) geo->panPartStart[p] = std::min(geo->panPartStart[p], filled);
  WidenBox(geo, filled);
  return walk;
}

}  // namespace MapGis::detail
