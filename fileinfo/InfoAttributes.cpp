// The attribute tables of a layer: field definitions, record count and the
// values of the first records, each printed by its type.
#include <algorithm>
#include <ostream>
#include <vector>

#include "InfoModel.h"
#include "InfoParts.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

struct TableKind {
  int kind;
  const char* name;
};

// The attribute kinds each file type can hold.
std::vector<TableKind> KindsOf(int type) {
  switch (type) {
    case MAPGIS_TYPE_POINT: return {{1, "point attributes"}};
    case MAPGIS_TYPE_LINE: return {{0, "line attributes"}, {1, "second attribute table"}};
    case MAPGIS_TYPE_POLYGON: return {{0, "arc attributes"}, {2, "polygon attributes"}};
    case MAPGIS_TYPE_NETWORK: return {{0, "line attributes"}, {1, "node attributes"}};
    case MAPGIS_TYPE_TABLE: return {{7, "table"}};
    default: return {};
  }
}

AttributeValue Integer(int64_t v) {
  AttributeValue value;
  value.kind = AttributeValue::Kind::Integer;
  value.integer = v;
  return value;
}

AttributeValue Printed(AttributeValue::Kind kind, std::string text) {
  AttributeValue value;
  value.kind = kind;
  value.text = std::move(text);
  return value;
}

// One value of one record, typed as its field is.
AttributeValue ReadValue(MapGis_FastReader& reader, int record, int field, const FieldInfo& f) {
  using Kind = AttributeValue::Kind;
  if (f.type == MAPGIS_FIELD_STRING || f.type == MAPGIS_FIELD_TEXT) {
    const char* text = f.type == MAPGIS_FIELD_STRING ? reader.ReadStringAttribute(record, field)
                                                     : reader.ReadTextAttribute(record, field);
    return text ? Printed(Kind::Text, FromGbk(text)) : AttributeValue{};
  }
  // The typed reads answer 0 when nothing can be fetched; look first, so a
  // missing value is not shown as a zero.
  const void* raw = reader.ReadAttribute(record, field, MAPGIS_FIELD_LONG);
  if (!raw) return AttributeValue{};
  switch (f.type) {
    case MAPGIS_FIELD_BYTE: return Integer(reader.ReadByteAttribute(record, field));
    case MAPGIS_FIELD_SHORT: return Integer(reader.ReadShortAttribute(record, field));
    case MAPGIS_FIELD_LONG: return Integer(reader.ReadLongAttribute(record, field));
    case MAPGIS_FIELD_FLOAT:
      return Printed(Kind::Real, Format("%.7g", static_cast<double>(reader.ReadFloatAttribute(record, field))));
    case MAPGIS_FIELD_DOUBLE: return Printed(Kind::Real, Format("%.15g", reader.ReadDoubleAttribute(record, field)));
    case MAPGIS_FIELD_DATE: {
      const DATE_STRUstruct d = reader.ReadDateAttribute(record, field);
      return Printed(Kind::Moment, Format("%04d-%02u-%02u", static_cast<int>(d.year), static_cast<unsigned>(d.month),
                                          static_cast<unsigned>(d.day)));
    }
    case MAPGIS_FIELD_TIME: {
      const TIME_STRUstruct t = reader.ReadTimeAttribute(record, field);
      return Printed(Kind::Moment, Format("%02u:%02u:%06.3f", static_cast<unsigned>(t.hour),
                                          static_cast<unsigned>(t.minute), static_cast<double>(t.second)));
    }
    case MAPGIS_FIELD_BOOL: {
      AttributeValue value;
      value.kind = Kind::Bool;
      value.flag = reader.ReadBoolAttribute(record, field);
      return value;
    }
    case MAPGIS_FIELD_TIMESTAMP: {
      const TIMESTAMPstruct t = reader.ReadTimeStampAttribute(record, field);
      return Printed(Kind::Moment, Format("%04d-%02d-%02d %02d:%02d:%02d.%u", t.year, t.month, t.day, t.hour,
                                          t.minute, t.second, static_cast<unsigned>(t.fraction)));
    }
    default:
      // Kinds no converter handles: the stored bytes, as they are.
      return Printed(Kind::Raw, std::string(static_cast<const char*>(raw), static_cast<size_t>(std::max(0, f.width))));
  }
}

AttributeTable ReadTable(MapGis_FastReader& reader, const TableKind& kind, int limit) {
  AttributeTable table;
  table.kind = kind.kind;
  table.name = kind.name;
  const long selected = reader.SetAttributeType(kind.kind);
  if (selected != MAPGIS_OK) {
    table.status = selected;
    return table;
  }
  table.fieldCount = reader.GetFieldCount();
  table.recordCount = reader.GetRecordCount();
  if (table.fieldCount < 0 || table.recordCount < -1) {
    table.status = table.fieldCount < 0 ? table.fieldCount : table.recordCount;
    return table;
  }

  table.fields.resize(static_cast<size_t>(table.fieldCount));
  for (int i = 0; i < table.fieldCount; ++i) {
    FieldInfo& f = table.fields[static_cast<size_t>(i)];
    wchar_t name[32] = {0};
    const long type = reader.GetFieldInfo(i, name, &f.width, &f.display, &f.decimals);
    // Type codes are signed bytes; anything below is a status.
    if (type < -128) {
      f.status = type;
      continue;
    }
    f.valid = true;
    f.name = WideToUtf8(name);
    f.type = type;
  }

  const int shown = static_cast<int>(std::max(0L, std::min<long>(table.recordCount, limit)));
  table.records.resize(static_cast<size_t>(shown));
  for (int r = 0; r < shown; ++r) {
    std::vector<AttributeValue>& values = table.records[static_cast<size_t>(r)];
    values.resize(table.fields.size());
    for (int i = 0; i < table.fieldCount; ++i) {
      const FieldInfo& f = table.fields[static_cast<size_t>(i)];
      if (f.valid) values[static_cast<size_t>(i)] = ReadValue(reader, r, i, f);
    }
  }
  return table;
}

// A value in the fixed text form of its type.
std::string ValueText(const AttributeValue& v) {
  switch (v.kind) {
    case AttributeValue::Kind::Missing: return "(no value)";
    case AttributeValue::Kind::Text: return Quoted(v.text);
    case AttributeValue::Kind::Integer: return std::to_string(v.integer);
    case AttributeValue::Kind::Bool: return v.flag ? "true" : "false";
    case AttributeValue::Kind::Raw: return "raw " + Hex(v.text.data(), v.text.size());
    case AttributeValue::Kind::Real:
    case AttributeValue::Kind::Moment: return v.text;
  }
  return std::string();
}

void PrintTable(std::ostream& out, const AttributeTable& table) {
  out << "  attribute table " << table.kind << " (" << table.name << "): ";
  if (table.status != MAPGIS_OK) {
    out << "status " << table.status << " " << StatusText(table.status) << "\n";
    return;
  }
  out << table.fieldCount << " fields, " << table.recordCount << " records\n";
  for (size_t i = 0; i < table.fields.size(); ++i) {
    const FieldInfo& f = table.fields[i];
    out << "    field " << i << ": ";
    if (!f.valid) {
      out << "status " << f.status << " " << StatusText(f.status) << "\n";
      continue;
    }
    out << Quoted(f.name) << ", type " << f.type << " " << FieldTypeName(f.type) << ", width " << f.width
        << ", display " << f.display << ", decimals " << f.decimals << "\n";
  }
  for (size_t r = 0; r < table.records.size(); ++r) {
    out << "    record " << r << ":\n";
    for (size_t i = 0; i < table.fields.size(); ++i) {
      const FieldInfo& f = table.fields[i];
      if (!f.valid) continue;
      out << "      " << Escaped(f.name) << ": " << ValueText(table.records[r][i]) << "\n";
    }
  }
}

}  // namespace

const char* FieldTypeName(long type) {
  switch (type) {
    case MAPGIS_FIELD_STRING: return "string";
    case MAPGIS_FIELD_BYTE: return "byte";
    case MAPGIS_FIELD_SHORT: return "short";
    case MAPGIS_FIELD_LONG: return "long";
    case MAPGIS_FIELD_FLOAT: return "float";
    case MAPGIS_FIELD_DOUBLE: return "double";
    case MAPGIS_FIELD_DATE: return "date";
    case MAPGIS_FIELD_TIME: return "time";
    case MAPGIS_FIELD_BOOL: return "bool";
    case MAPGIS_FIELD_TEXT: return "text";
    case MAPGIS_FIELD_TIMESTAMP: return "timestamp";
    default: return "unsupported";
  }
}

void ReadAttributeTables(MapGis_FastReader& reader, int limit, std::vector<AttributeTable>& tables) {
  for (const TableKind& kind : KindsOf(reader.GetShapeType())) tables.push_back(ReadTable(reader, kind, limit));
}

void PrintAttributeTables(std::ostream& out, const std::vector<AttributeTable>& tables) {
  for (const AttributeTable& table : tables) PrintTable(out, table);
}

}  // namespace gridmoor
