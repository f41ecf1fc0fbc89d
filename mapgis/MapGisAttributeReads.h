#pragma once
// The typed attribute reads every reader offers, each built on the reader's
// own ReadAttribute: the leading bytes of the raw value, little-endian, or
// 0 / false / zeros when no value can be fetched.
#include <cstdint>
#include <cstring>

#include "MapGisAttributes.h"

namespace MapGis {

template <class Reader>
class MapGis_AttributeReads {
 public:
  const char* ReadStringAttribute(int record, int field) {
    return static_cast<const char*>(Self().ReadAttribute(record, field, MAPGIS_FIELD_STRING));
  }
  const char* ReadTextAttribute(int record, int field) {
    return static_cast<const char*>(Self().ReadAttribute(record, field, MAPGIS_FIELD_TEXT));
  }
  unsigned char ReadByteAttribute(int record, int field) { return Raw<unsigned char>(record, field); }
  short ReadShortAttribute(int record, int field) { return Raw<int16_t>(record, field); }
  // A 32-bit signed value, widened with its sign.
  long ReadLongAttribute(int record, int field) { return Raw<int32_t>(record, field); }
  float ReadFloatAttribute(int record, int field) { return Raw<float>(record, field); }
  double ReadDoubleAttribute(int record, int field) { return Raw<double>(record, field); }
  bool ReadBoolAttribute(int record, int field) { return Raw<unsigned char>(record, field) != 0; }
  DATE_STRUstruct ReadDateAttribute(int record, int field) { return Raw<DATE_STRUstruct>(record, field); }
  TIME_STRUstruct ReadTimeAttribute(int record, int field) { return Raw<TIME_STRUstruct>(record, field); }
  TIMESTAMPstruct ReadTimeStampAttribute(int record, int field) { return Raw<TIMESTAMPstruct>(record, field); }
  // The first four bytes as a pointer-sized value, read like ReadLongAttribute.
  void* ReadBinareyAttribute(int record, int field) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(Raw<int32_t>(record, field)));
  }

 protected:
  ~MapGis_AttributeReads() = default;

 private:
  Reader& Self() { return static_cast<Reader&>(*this); }
  template <class T>
  T Raw(int record, int field) {
    T v{};
    if (const void* raw = Self().ReadAttribute(record, field, MAPGIS_FIELD_LONG)) std::memcpy(&v, raw, sizeof v);
    return v;
  }
};

}  // namespace MapGis
