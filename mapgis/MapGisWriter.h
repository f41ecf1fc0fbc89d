#pragma once
// Writes a MapGIS layer file of one kind: lines (0), points (1), polygons
// (2) or an attribute table (7). Records, geometry and attribute values are
// kept in memory; Flush lays the whole file out and writes it in one pass.
//
// Statuses (long results; the attribute writes return false and keep the
// status for LastAttributeStatus):
//   99999  success
//   -9996  the file cannot be created, or no file is open (no Create yet)
//   -9997  Create with a kind other than 0, 1, 2 or 7; a record of a kind
//          the file does not hold (a point in a line file, ...)
//   -9983  an argument out of range: a null or malformed geometry, a part
//          outside the geometry, a text over 32767 bytes, a negative record
//          index or one more than one past the last record, a null value
//          pointer, a long value outside 32 bits, a null projection
//   -9980  a field definition that cannot be stored: a null name, a name
//          over 19 bytes in code page 936, a type, width, display width or
//          decimal count out of its stored range, a field added after the
//          first attribute value; a field index out of range
//   -9969  AddArcInfo: the geometry has more than one part (the requested
//          part is added all the same); AddPolygonInfo: a further outer
//          ring was not added (write it as a polygon of its own)
//   -9982  a write failed (WriteProjection, Flush: any step), or the file
//          would pass the 4 GiB its 32-bit offsets can address
//   -9999  out of memory
#include <memory>

#include "MapGisAttributes.h"
#include "MapGisFormat.h"
#include "MapGisGeometry.h"
#include "MapGisProjection.h"
#include "MapGisStatus.h"

namespace MapGis {

namespace detail {
struct WriterState;
}

class MapGis_Writer {
 public:
  MapGis_Writer();
  MapGis_Writer(const MapGis_Writer&) = delete;
  MapGis_Writer& operator=(const MapGis_Writer&) = delete;
  ~MapGis_Writer();

  // Creates (or replaces) the file and resets all state; a file still open
  // from an earlier Create is closed first, unflushed.
  long Create(const wchar_t* path, int kind);
  // Replaces the projection record and writes it at once.
  long WriteProjection(const MAP_PARAstruct* para);

  // Appends a field; returns the new field count. All fields come before
  // the first attribute value.
  long AddFieldInfo(const wchar_t* name, int type, int width, int display, int decimals);

  // Appends a point with its annotation text (8-bit, may be null or empty).
  // The position is the record's X and Y; `g` is not read.
  long AddPointInfo(MAPGIS_PntInfo info, const Geometry* g, const char* text);
  // Appends one line made of part `part` of `g`.
  long AddArcInfo(MAPGIS_LineInfo info, const Geometry* g, int part);
  // Appends one polygon arc made of part `part` of `g`.
  long AddPolyArcInfo(MAPGIS_LineInfo info, const Geometry* g, int part);
  // Appends a polygon and one arc per ring of `g`.
  long AddPolygonInfo(MAPGIS_RegInfo info, const Geometry* g);

  // One value of one field; record r is slot r + 1 and is either an
  // existing record or the next new one. Numbers are stored little-endian
  // in the field's storage width (cut or zero-filled to it).
  bool WriteByteAttribute(int record, int field, unsigned char value);
  bool WriteShortAttribute(int record, int field, short value);
  // Stored as a signed 32-bit value.
  bool WriteLongAttribute(int record, int field, long value);
  bool WriteFloatAttribute(int record, int field, float value);
  bool WriteDoubleAttribute(int record, int field, double value);
  bool WriteBoolAttribute(int record, int field, bool value);
  // Zero-terminated 8-bit text, cut to the storage width, padded with spaces.
  bool WriteStringAttribute(int record, int field, const char* text);
  // Zero-terminated 8-bit text, cut to the storage width, padded with zeros.
  bool WriteTextAttribute(int record, int field, const char* text);
  bool WriteDateAttribute(int record, int field, const DATE_STRUstruct* date);
  bool WriteTimeAttribute(int record, int field, const TIME_STRUstruct* time);
  // Raw bytes; `bytes` must hold the field's storage width.
  bool WriteBinareyAttribute(int record, int field, const void* bytes);
  // Status of the last attribute write (99999 or why it was refused).
  long LastAttributeStatus() const;

  // Lays out and writes the file; -9982 if any step failed.
  long Flush();
  // Closes the file and releases all state (nothing is flushed).
  void Close();

 private:
  std::unique_ptr<detail::WriterState> s_;
};

}  // namespace MapGis
