#include "LayerFile.h"

#include <unistd.h>

#include "LittleEndian.h"

namespace MapGis::detail {

LayerFile::LayerFile(const LayerFile& other) { *this = other; }

LayerFile& LayerFile::operator=(const LayerFile& other) {
  if (this == &other) return *this;
  file_.Close();
  head = other.head;
  projection = other.projection;
  elements = other.elements;
  std::memcpy(extent, other.extent, sizeof extent);
  tic = other.tic;
  directory = other.directory;
  file_.DuplicateFrom(other.file_);
  return *this;
}

long LayerFile::Open(const wchar_t* path, BinaryFile::Mode mode, AcceptedTypes accepted) {
  Close();
  if (!file_.Open(path, mode)) return MAPGIS_OPEN_FAILED;
  return ReadHeader(accepted);
}

void LayerFile::Close() {
  file_.Close();
  head = MAPGIS_HEAD{};
  projection = MAP_PARAstruct{};
  elements = MAPGIS_Element{};
  for (double& v : extent) v = 0.0;
  tic = MAPGIS_Tic_Stru{};
  directory.clear();
}

long LayerFile::ReadHeader(AcceptedTypes accepted) {
  if (!file_.ReadAt(0, &head, sizeof head)) return MAPGIS_READ_FAILED;
  if (head.zero != 0) return MAPGIS_NOT_SYSTEM_FILE;
  // The kind is checked before the directory bounds, so a file of another
  // format (whose "directory" words are arbitrary) is reported as not a
  // MapGIS file rather than as a failed open.
  const char* magic = LayerMagic(head.type);
  if (!magic || std::memcmp(magic, head.magic, 8) != 0) return MAPGIS_NOT_MAPGIS_FILE;
  if (accepted == kAcceptNoNetwork && head.type == MAPGIS_TYPE_NETWORK) return MAPGIS_NOT_MAPGIS_FILE;
  if (head.dirOffset > MAPGIS_MAX_DIRECTORY || head.dirCount > MAPGIS_MAX_DIRECTORY) return MAPGIS_OPEN_FAILED;
  if (!file_.ReadAt(MAPGIS_PROJECTION_OFFSET, &projection, sizeof projection) ||
      !file_.ReadAt(MAPGIS_ELEMENT_OFFSET, &elements, sizeof elements) ||
      !file_.ReadAt(MAPGIS_EXTENT_OFFSET, extent, sizeof extent) ||
      !file_.ReadAt(MAPGIS_TIC_OFFSET, &tic, sizeof tic)) {
    return MAPGIS_READ_FAILED;
  }
  // A negative directory offset or count cannot be read.
  if (head.dirOffset < 0 || head.dirCount < 0) return MAPGIS_READ_FAILED;
  directory.resize(static_cast<size_t>(head.dirCount));
  if (!directory.empty() &&
      !file_.ReadAt(static_cast<uint64_t>(head.dirOffset), directory.data(), directory.size() * sizeof(MAPGIS_Part))) {
    directory.clear();
    return MAPGIS_READ_FAILED;
  }
  return MAPGIS_OK;
}

bool LayerFile::FitsFile(uint64_t offset, uint64_t length) const { return FitsIn(file_.Size(), offset, length); }

bool LayerFile::ReadSection(int n, uint64_t offset, void* buffer, size_t length) const {
  if (!HasSection(n)) return false;
  const uint64_t start = SectionOffset(n);
  if (offset > UINT64_MAX - start) return false;
  return file_.ReadAt(start + offset, buffer, length);
}

}  // namespace MapGis::detail
