#pragma once
// The older layer reader: opens line, point, polygon and table files for
// reading and writing, reads one attribute record at a time, and can write
// edited record tables back into the file. It cannot read network files.
#include <memory>

#include "MapGisAttributeReads.h"
#include "MapGisAttributes.h"
#include "MapGisFormat.h"
#include "MapGisGeometry.h"
#include "MapGisProjection.h"
#include "MapGisStatus.h"

namespace MapGis {

namespace detail {
struct ReaderState;
}

class MapGis_Reader : public MapGis_AttributeReads<MapGis_Reader> {
 public:
  MapGis_Reader();
  MapGis_Reader(const MapGis_Reader& other);
  MapGis_Reader& operator=(const MapGis_Reader& other);
  virtual ~MapGis_Reader();

  long Open(const wchar_t* path);
  void Close();

  // Live count; readable slots, shapefile shape type and tic count through the pointers.
  int GetInfo(int* slots, int* shapeType, int* ticCount);
  void GetExtentInfo(double* xmin, double* ymin, double* xmax, double* ymax);
  char GetProjection(MAP_PARAstruct* out);
  long GetTicInfo(int i, MAPGIS_Tic_Info* out);
  long GetNoteInfo(int i, char* text);
  long ReadPointInfo(int i, MAPGIS_PntInfo* info, Geometry* geo);
  long ReadArcInfo(int i, MAPGIS_LineInfo* info, Geometry* geo);
  long ReadPolygonInfo(int i, MAPGIS_RegInfo* info, Geometry* geo);
  // Where the label points of polygons are stored is not known: always -9983.
  long GetPolyLab(int i, MAPGIS_RegExt* out);

  // Replace record slot i + 1 of the in-memory table.
  long SetPointInfo(int i, MAPGIS_PntInfo info);
  long SetArcInfo(int i, MAPGIS_LineInfo info);
  long SetPolygonInfo(int i, MAPGIS_RegInfo info);
  // Writes the edited point, line or polygon table back to its place.
  long WriteGeomInfo();

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
  long ReadCurrentRecord(int record);

 private:
  std::unique_ptr<detail::ReaderState> s_;
};

}  // namespace MapGis
