#pragma once
// A variant of the fast reader: one attribute table per file, shapefile
// shape types, and a node reader for network files that respects deleted
// nodes.
#include <memory>

#include "MapGisAttributeReads.h"
#include "MapGisAttributes.h"
#include "MapGisFormat.h"
#include "MapGisGeometry.h"
#include "MapGisProjection.h"
#include "MapGisStatus.h"

namespace MapGis {

namespace detail {
struct MemReaderState;
}

class MapGis_MemReader : public MapGis_AttributeReads<MapGis_MemReader> {
 public:
  MapGis_MemReader();
  MapGis_MemReader(const MapGis_MemReader& other);
  MapGis_MemReader& operator=(const MapGis_MemReader& other);
  virtual ~MapGis_MemReader();

  long Open(const wchar_t* path);
  void Close();

  // Shapefile shape type: 1 point, 3 line or network, 5 polygon, -1 otherwise.
  int GetShapeType();
  // Element 0 and its readable slots, whatever the file type.
  int GetPntCount(int* slots);
  int GetArcCount(int* slots);
  int GetRegCount(int* slots);
  int GetNetPntCount(int* slots);
  int GetTicCount();
  long GetTicInfo(int i, MAPGIS_Tic_Info* out);
  long GetTopoInfo(int i, MAPGIS_Topology* out);
  void GetExtentInfo(double* xmin, double* ymin, double* xmax, double* ymax);
  char GetProjection(MAP_PARAstruct* out);

  long ReadPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo);
  long ReadNetPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo);
  long ReadArcInfo(int i, MAPGIS_LineInfo* info, Geometry* geo);
  long ReadPolygonInfo(int i, MAPGIS_RegInfo* info, Geometry* geo);
  long GetNoteInfo(int i, char* text);
  // From now on a polygon file reads as a line file (its arcs and arc attributes).
  void ReadAsPolyArc();

  long GetFieldCount();
  long GetRecordCount();
  long GetFieldInfo(int i, wchar_t* name, int* width, int* display, int* decimals);
  long GetFieldIndex(const wchar_t* name);
  void* ReadAttribute(int record, int field, int type);

 protected:
  long ReadGeomInfo();
  long ReadPolyTopo(MAPGIS_RegInfo reg, long* total, long* arcs);
  long ReadPolyArc(int arc, long* count, double* points, int capacity);
  long ReadFieldInfo();
  long ReadRecordAll();

 private:
  std::unique_ptr<detail::MemReaderState> s_;
};

}  // namespace MapGis
