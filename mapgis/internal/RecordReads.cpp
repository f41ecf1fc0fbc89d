#include "RecordReads.h"

#include <cstring>

#include "GeometryFill.h"

namespace MapGis::detail {

long LoadTics(const LayerFile& layer, std::vector<MAPGIS_Tic_Info>& tics) {
  tics.clear();
  const int count = TicCount(layer.tic);
  if (count <= 0) return MAPGIS_OK;
  const uint64_t bytes = static_cast<uint64_t>(count) * sizeof(MAPGIS_Tic_Info);
  // Refuse a table the file cannot hold before making room for it.
  if (!layer.HasSection(1) || !layer.FitsFile(layer.SectionOffset(1) + layer.tic.ticOffset, bytes)) {
    return MAPGIS_READ_FAILED;
  }
  tics.resize(static_cast<size_t>(count));
  if (!layer.ReadSection(1, layer.tic.ticOffset, tics.data(), bytes)) {
    tics.clear();
    return MAPGIS_READ_FAILED;
  }
  return MAPGIS_OK;
}

long ReadNoteText(const LayerFile& layer, const MAPGIS_PntInfo& rec, char* text) {
  if (!text || rec.textLength < 1) return MAPGIS_OK;
  const size_t n = rec.textLength < 259 ? static_cast<size_t>(rec.textLength) : 259;
  char buffer[260];
  if (!layer.ReadSection(1, rec.textOffset, buffer, n)) return MAPGIS_READ_FAILED;
  buffer[n] = '\0';
  std::memcpy(text, buffer, n + 1);
  return MAPGIS_OK;
}

long ReadLineGeometry(const LayerFile& layer, const MAPGIS_LineInfo& rec, bool checkDataArea, bool allBounds,
                      Geometry* geo) {
  if (rec.pointCount < 0) return MAPGIS_READ_FAILED;
  const uint64_t count = static_cast<uint64_t>(rec.pointCount);
  if (checkDataArea && count > layer.SectionLength(1) / 16) return MAPGIS_READ_FAILED;
  // Whatever the section says, the run must be in the file before anything is allocated.
  if (!layer.HasSection(1) || !layer.FitsFile(layer.SectionOffset(1) + rec.dataOffset, count * 16)) {
    return MAPGIS_READ_FAILED;
  }
  std::vector<double> xy(static_cast<size_t>(count) * 2);
  if (count > 0 && !layer.ReadSection(1, rec.dataOffset, xy.data(), static_cast<size_t>(count) * 16)) {
    return MAPGIS_READ_FAILED;
  }
  return FillLine(geo, static_cast<int32_t>(count), xy.data(), allBounds);
}

}  // namespace MapGis::detail
