#pragma once
// Attribute sections: field definitions and typed values.
#include <cstddef>
#include <cstdint>

namespace MapGis {

// Field type codes.
enum : int {
  MAPGIS_FIELD_STRING = 0,
  MAPGIS_FIELD_BYTE = 1,
  MAPGIS_FIELD_SHORT = 2,
  MAPGIS_FIELD_LONG = 3,
  MAPGIS_FIELD_FLOAT = 4,
  MAPGIS_FIELD_DOUBLE = 5,
  MAPGIS_FIELD_DATE = 6,
  MAPGIS_FIELD_TIME = 7,
  MAPGIS_FIELD_BOOL = 8,
  MAPGIS_FIELD_TEXT = 9,
  MAPGIS_FIELD_TIMESTAMP = 16,
};

#pragma pack(push, 1)

struct MAPGIS_FieldHead {
  char tag[2];            // 60 44 hex
  uint8_t reserved2[10];
  int32_t dataOffset;     // start of the records, from the section start
  uint8_t reserved16[304];
  uint16_t tag2;          // 0x4460
  int16_t fieldCount;
  int32_t recordCount;    // record slots, slot 0 included
  int32_t recordLength;
  uint8_t reserved332[16];
};

struct MAPGIS_Field {
  char name[20];          // code page 936, zero-terminated
  int8_t type;
  uint32_t offset;        // byte offset of the value in a record
  int16_t width;          // storage width in bytes
  int16_t display;        // display width in characters
  int8_t decimals;
  uint8_t reserved30[9];
};

struct DATE_STRUstruct {
  int16_t year;
  uint8_t month;
  uint8_t day;
};

struct TIME_STRUstruct {
  uint8_t hour;
  uint8_t minute;
  double second;
};

struct TIMESTAMPstruct {
  int16_t year;
  int16_t month;
  int16_t day;
  int16_t hour;
  int16_t minute;
  int16_t second;
  uint32_t fraction;
};

struct ATTINFO_HEAD {
  uint8_t data[32];
};

#pragma pack(pop)

static_assert(sizeof(MAPGIS_FieldHead) == 348, "layout");
static_assert(offsetof(MAPGIS_FieldHead, dataOffset) == 12, "layout");
static_assert(offsetof(MAPGIS_FieldHead, tag2) == 320 && offsetof(MAPGIS_FieldHead, fieldCount) == 322, "layout");
static_assert(offsetof(MAPGIS_FieldHead, recordCount) == 324 && offsetof(MAPGIS_FieldHead, recordLength) == 328, "layout");
static_assert(sizeof(MAPGIS_Field) == 39, "layout");
static_assert(offsetof(MAPGIS_Field, type) == 20 && offsetof(MAPGIS_Field, offset) == 21, "layout");
static_assert(offsetof(MAPGIS_Field, width) == 25 && offsetof(MAPGIS_Field, display) == 27, "layout");
static_assert(offsetof(MAPGIS_Field, decimals) == 29, "layout");
static_assert(sizeof(DATE_STRUstruct) == 4, "layout");
static_assert(sizeof(TIME_STRUstruct) == 10, "layout");
static_assert(sizeof(TIMESTAMPstruct) == 16, "layout");
static_assert(sizeof(ATTINFO_HEAD) == 32, "layout");

}  // namespace MapGis
