// The attribute tables of a layer: field definitions, record count and the
// values of the first records, each printed by its type.
#include <algorithm>
#include <ostream>
#include <vector>

#include "InfoParts.h"
#include "MapGis.h"
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

const char* TypeName(long type) {
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

struct FieldView {
  bool valid = false;  // false when the definition could not be read
  std::string name;    // UTF-8
  long type = 0;
  int width = 0;
};

// One value of one record, in a fixed text form for its type.
std::string Value(MapGis_FastReader& reader, int record, int field, const FieldView& f) {
  if (f.type == MAPGIS_FIELD_STRING || f.type == MAPGIS_FIELD_TEXT) {
    const char* text = f.type == MAPGIS_FIELD_STRING ? reader.ReadStringAttribute(record, field)
                                                     : reader.ReadTextAttribute(record, field);
    return text ? Quoted(FromGbk(text)) : "(no value)";
  }
  // The typed reads answer 0 when nothing can be fetched; look first, so a
  // missing value is not shown as a zero.
  const void* raw = reader.ReadAttribute(record, field, MAPGIS_FIELD_LONG);
  if (!raw) return "(no value)";
  switch (f.type) {
    case MAPGIS_FIELD_BYTE: return Format("%u", static_cast<unsigned>(reader.ReadByteAttribute(record, field)));
    case MAPGIS_FIELD_SHORT: return Format("%d", static_cast<int>(reader.ReadShortAttribute(record, field)));
    case MAPGIS_FIELD_LONG: return Format("%ld", reader.ReadLongAttribute(record, field));
    case MAPGIS_FIELD_FLOAT: return Format("%.7g", static_cast<double>(reader.ReadFloatAttribute(record, field)));
    case MAPGIS_FIELD_DOUBLE: return Format("%.15g", reader.ReadDoubleAttribute(record, field));
    case MAPGIS_FIELD_DATE: {
      const DATE_STRUstruct d = reader.ReadDateAttribute(record, field);
      return Format("%04d-%02u-%02u", static_cast<int>(d.year), static_cast<unsigned>(d.month),
                    static_cast<unsigned>(d.day));
    }
    case MAPGIS_FIELD_TIME: {
      const TIME_STRUstruct t = reader.ReadTimeAttribute(record, field);
      return Format("%02u:%02u:%06.3f", static_cast<unsigned>(t.hour), static_cast<unsigned>(t.minute),
                    static_cast<double>(t.second));
    }
    case MAPGIS_FIELD_BOOL: return reader.ReadBoolAttribute(record, field) ? "true" : "false";
    case MAPGIS_FIELD_TIMESTAMP: {
      const TIMESTAMPstruct t = reader.ReadTimeStampAttribute(record, field);
      return Format("%04d-%02d-%02d %02d:%02d:%02d.%u", t.year, t.month, t.day, t.hour, t.minute, t.second,
                    static_cast<unsigned>(t.fraction));
    }
    default:
      // Kinds no converter handles: the stored bytes, as they are.
      return "raw " + Hex(raw, static_cast<size_t>(f.width));
  }
}

void ReportTable(std::ostream& out, MapGis_FastReader& reader, const TableKind& table, int limit) {
  out << "  attribute table " << table.kind << " (" << table.name << "): ";
  const long selected = reader.SetAttributeType(table.kind);
  if (selected != MAPGIS_OK) {
    out << "status " << selected << " " << StatusText(selected) << "\n";
    return;
  }
  const long fieldCount = reader.GetFieldCount();
  const long recordCount = reader.GetRecordCount();
  if (fieldCount < 0 || recordCount < -1) {
    const long status = fieldCount < 0 ? fieldCount : recordCount;
    out << "status " << status << " " << StatusText(status) << "\n";
    return;
  }
  out << fieldCount << " fields, " << recordCount << " records\n";

  std::vector<FieldView> fields(static_cast<size_t>(fieldCount));
  for (int i = 0; i < fieldCount; ++i) {
    FieldView& f = fields[static_cast<size_t>(i)];
    wchar_t name[32] = {0};
    int width = 0, display = 0, decimals = 0;
    const long type = reader.GetFieldInfo(i, name, &width, &display, &decimals);
    out << "    field " << i << ": ";
    // Type codes are signed bytes; anything below is a status.
    if (type < -128) {
      out << "status " << type << " " << StatusText(type) << "\n";
      continue;
    }
    f.valid = true;
    f.name = WideToUtf8(name);
    f.type = type;
    f.width = width;
    out << Quoted(f.name) << ", type " << type << " " << TypeName(type) << ", width " << width << ", display "
        << display << ", decimals " << decimals << "\n";
  }

  const int shown = static_cast<int>(std::max(0L, std::min<long>(recordCount, limit)));
  for (int r = 0; r < shown; ++r) {
    out << "    record " << r << ":\n";
    for (int i = 0; i < fieldCount; ++i) {
      const FieldView& f = fields[static_cast<size_t>(i)];
      if (!f.valid) continue;
      out << "      " << Escaped(f.name) << ": " << Value(reader, r, i, f) << "\n";
    }
  }
}

}  // namespace

void ReportAttributeTables(std::ostream& out, MapGis_FastReader& reader, int limit) {
  for (const TableKind& table : KindsOf(reader.GetShapeType())) ReportTable(out, reader, table, limit);
}

}  // namespace gridmoor
