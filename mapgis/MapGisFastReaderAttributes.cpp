// Attribute reads of MapGis_FastReader: the current kind selects the section.
#include "FastReaderState.h"
#include "MapGisFastReader.h"

namespace MapGis {

long MapGis_FastReader::ReadFieldInfo(int kind) {
  if (kind != s_->attributeKind) {
    s_->attributes.Reset();
    s_->attributeKind = kind;
  }
  if (s_->attributes.DefinitionsLoaded()) return MAPGIS_OK;
  const int section = detail::FastAttributeSection(s_->layer.Type(), kind);
  if (section < 0) return MAPGIS_NO_TABLE;
  return s_->attributes.LoadDefinitions(s_->layer, section);
}

long MapGis_FastReader::SetAttributeType(int kind) {
  const int previous = s_->attributeKind;
  if (detail::FastAttributeSection(s_->layer.Type(), kind) < 0) return MAPGIS_NO_TABLE;
  long st = ReadFieldInfo(kind);
  if (st != MAPGIS_OK) {
    // The previous kind stays current; its definitions load again on next use.
    s_->attributes.Reset();
    s_->attributeKind = previous;
  }
  return st;
}

long MapGis_FastReader::GetFieldCount() {
  long st = ReadFieldInfo(s_->attributeKind);
  return st == MAPGIS_OK ? s_->attributes.FieldCount() : st;
}

long MapGis_FastReader::GetRecordCount() {
  long st = ReadFieldInfo(s_->attributeKind);
  return st == MAPGIS_OK ? s_->attributes.RecordCount() : st;
}

long MapGis_FastReader::GetFieldInfo(int i, wchar_t* name, int* width, int* display, int* decimals) {
  return s_->attributes.FieldInfo(i, name, width, display, decimals);
}

long MapGis_FastReader::GetFieldIndex(const wchar_t* name) { return s_->attributes.FieldIndex(name); }

long MapGis_FastReader::ReadRecordAll() {
  long st = ReadFieldInfo(s_->attributeKind);
  if (st != MAPGIS_OK) return st;
  const int section = detail::FastAttributeSection(s_->layer.Type(), s_->attributeKind);
  return s_->attributes.LoadAllRecords(s_->layer, section);
}

long MapGis_FastReader::GetCurrentRecord() { return ReadRecordAll(); }

void* MapGis_FastReader::ReadAttribute(int record, int field, int type) {
  if (ReadFieldInfo(s_->attributeKind) != MAPGIS_OK) return nullptr;
  const int section = detail::FastAttributeSection(s_->layer.Type(), s_->attributeKind);
  return s_->attributes.Value(s_->layer, section, record, field, type);
}

}  // namespace MapGis
