#pragma once
// The reader through which every layer is converted: validates the header,
// answers count, extent and projection queries, reads records, assembles
// polygons from their arcs and reads attribute tables.
#include <memory>

#include "MapGisAttributeReads.h"
#include "MapGisAttributes.h"
#include "MapGisFormat.h"
#include "MapGisGeometry.h"
#include "MapGisProjection.h"
#include "MapGisStatus.h"

namespace MapGis {

namespace detail {
struct FastReaderState;
}

class MapGis_FastReader : public MapGis_AttributeReads<MapGis_FastReader> {
 public:
  MapGis_FastReader();
  // A copy is an independent reader on the same file.
  MapGis_FastReader(const MapGis_FastReader& other);
  MapGis_FastReader& operator=(const MapGis_FastReader& other);
  virtual ~MapGis_FastReader();

  long Open(const wchar_t* path);
  void Close();

  // Header type word: 0 line, 1 point, 2 polygon, 4 network, 7 table.
  int GetShapeType();
  int GetPointCount(int* slots);
  int GetArcCount(int* slots);
  int GetPolygonCount(int* slots);
  int GetTicCount();
  long GetTicInfo(int i, MAPGIS_Tic_Info* out);
  long GetTopoInfo(int i, MAPGIS_Topology* out);
  void GetExtentInfo(double* xmin, double* ymin, double* xmax, double* ymax);
  char GetProjectionInfo(MAP_PARAstruct* out);

  long ReadPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo);
  long ReadArcInfo(int i, MAPGIS_LineInfo* info, Geometry* geo);
  long ReadPolygonInfo(int i, MAPGIS_RegInfo* info, Geometry* geo);
  long GetNoteInfo(int i, char* text);
  long ReadPointWKB(int i, MAPGIS_PntInfo* info, WKBPoint* out);
  long ReadArcWKB(int i, MAPGIS_LineInfo* info, WKBLineString* out);
  long ReadPolygonWKB(int i, MAPGIS_RegInfo* info, WKBPolygon* out);

  long SetAttributeType(int kind);
  long GetFieldCount();
  long GetRecordCount();
  long GetFieldInfo(int i, wchar_t* name, int* width, int* display, int* decimals);
  long GetFieldIndex(const wchar_t* name);
  // Raw value of one field of one record; valid until the next attribute read.
  void* ReadAttribute(int record, int field, int type);

 protected:
  long ReadHeadInfo();
  long ReadGeomInfo();
  void ClearGeomBuffer();
  void ClearAttrBuffer();
  long ReadPolyTopo(MAPGIS_RegInfo reg, long* total, long* arcs);
  long ReadPolyArc(int arc, long* count, double* points, int capacity);
  long ReadFieldInfo(int kind);
  long ReadRecordAll();
  long GetCurrentRecord();

 private:
  std::unique_ptr<detail::FastReaderState> s_;
};

}  // namespace MapGis
