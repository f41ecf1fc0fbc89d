#include "AttributeColumns.h"

using namespace MapGis;

namespace {

constexpr char kLogUnit[] = "AttributeColumns";

int IntegerWidth(int display, int minimum) {
  const int width = (display >= 6 && display <= 10) ? display : 8;
  return width < minimum ? minimum : width;
}

// Warns when a value could not be written whole.
void Checked(bool written, ConversionLog& log, int row, int column) {
  if (!written) CONVERT_LOG(log, L"------W__第[%d]行第[%d]列的值超出字段宽度，未能完整写入", row, column);
}

}  // namespace

long AttributeColumns::Declare(MapGis_FastReader& reader, LayerWriter& out, ConversionLog& log) {
  const long count = reader.GetFieldCount();
  const bool utf8 = out.Utf8();
  const TableText text(utf8);
  fields_.assign(static_cast<size_t>(count > 0 ? count : 0), Field{});
  for (int i = 0; i < count; ++i) {
    wchar_t name[32] = {0};
    int storage = 0, display = 0, decimals = 0;
    const long type = reader.GetFieldInfo(i, name, &storage, &display, &decimals);
    if (type < 0 || type > 18) {
      CONVERT_LOG(log, L"------E__[%ls]字段结构定义存在严重错误", name);
      return MAPGIS_NO_TABLE;
    }
    const std::string columnName = text.FromWide(name);
    ColumnKind kind = ColumnKind::Integer;
    int width = 8, places = 0;
    switch (type) {
      case MAPGIS_FIELD_STRING:
      case MAPGIS_FIELD_TEXT: {
        // Wide enough for the stored text as written (UTF-8 makes GBK half as long again).
        int bytes = display > storage ? display : storage;
        if (utf8) bytes = bytes + (bytes + 1) / 2;
        kind = ColumnKind::Text;
        width = bytes;
        break;
      }
      case MAPGIS_FIELD_BYTE:
      case MAPGIS_FIELD_SHORT:
      case MAPGIS_FIELD_BOOL:
        width = IntegerWidth(display, 0);
        break;
      case MAPGIS_FIELD_LONG:
        width = IntegerWidth(display, 11);  // a signed 32-bit value takes up to 11 characters
        break;
      case MAPGIS_FIELD_FLOAT:
      case MAPGIS_FIELD_DOUBLE:
        kind = ColumnKind::Double;
        width = display < 1 ? 16 : display;
        places = decimals < 1 ? 5 : decimals;
        break;
      case MAPGIS_FIELD_DATE:
        kind = ColumnKind::Date;
        width = 50;
        break;
      case MAPGIS_FIELD_TIME:
        kind = ColumnKind::Time;
        width = 50;
        break;
      case MAPGIS_FIELD_TIMESTAMP:
        kind = ColumnKind::DateTime;
        width = 50;
        break;
      default:
        // Other kinds are kept as numeric columns without values.
        CONVERT_LOG(log, L"------E__[%ls]字段类型SHAPE格式不支持", name);
        width = display < 1 ? 1 : display;
        break;
    }
    StoredColumn stored;
    const int column = out.AddColumn(columnName, kind, width, places, &stored);
    if (stored.narrowed) CONVERT_LOG(log, L"------W__[%ls]字段被截断，SHAPE不支持大于255字节的字符串类型", name);
    if (column >= 0 && stored.renamed) {
      CONVERT_LOG(log, L"------W__[%ls]字段名重复，输出为[%ls]", name,
                  (utf8 ? Utf8ToWide(stored.name) : AnsiToWide(stored.name)).c_str());
    }
    if (column < 0) CONVERT_LOG(log, L"------W__[%ls]字段无法输出", name);
    fields_[static_cast<size_t>(i)] = Field{static_cast<int>(type), column};
  }
  return MAPGIS_OK;
}

void AttributeColumns::Write(MapGis_FastReader& reader, LayerWriter& out, int r, int row, ConversionLog& log) const {
  for (size_t j = 0; j < fields_.size(); ++j) {
    const int f = static_cast<int>(j);
    const int column = fields_[j].column;
    if (column < 0) continue;
    switch (fields_[j].type) {
      case MAPGIS_FIELD_STRING:
      case MAPGIS_FIELD_TEXT: {
        const char* raw = static_cast<const char*>(reader.ReadAttribute(r, f, fields_[j].type));
        WriteStoredTextValue(out, log, row, column, raw ? raw : "");
        break;
      }
      case MAPGIS_FIELD_BYTE: WriteSignedValue(out, log, row, column, reader.ReadByteAttribute(r, f)); break;
      case MAPGIS_FIELD_SHORT: WriteSignedValue(out, log, row, column, reader.ReadShortAttribute(r, f)); break;
      case MAPGIS_FIELD_LONG:
        WriteSignedValue(out, log, row, column, static_cast<int32_t>(reader.ReadLongAttribute(r, f)));
        break;
      case MAPGIS_FIELD_BOOL: WriteSignedValue(out, log, row, column, reader.ReadBoolAttribute(r, f) ? 1 : 0); break;
      case MAPGIS_FIELD_FLOAT: WriteDoubleValue(out, log, row, column, reader.ReadFloatAttribute(r, f)); break;
      case MAPGIS_FIELD_DOUBLE: WriteDoubleValue(out, log, row, column, reader.ReadDoubleAttribute(r, f)); break;
      case MAPGIS_FIELD_DATE:
        Checked(out.WriteDate(row, column, reader.ReadDateAttribute(r, f)), log, row, column);
        break;
      case MAPGIS_FIELD_TIME:
        Checked(out.WriteTime(row, column, reader.ReadTimeAttribute(r, f)), log, row, column);
        break;
      case MAPGIS_FIELD_TIMESTAMP:
        Checked(out.WriteTimeStamp(row, column, reader.ReadTimeStampAttribute(r, f)), log, row, column);
        break;
      default: WriteNullValue(out, row, column); break;
    }
  }
}

void WriteTextValue(LayerWriter& out, ConversionLog& log, int row, int column, const std::string& tableText) {
  if (column >= 0) Checked(out.WriteString(row, column, tableText), log, row, column);
}

void WriteStoredTextValue(LayerWriter& out, ConversionLog& log, int row, int column, const std::string& gbk) {
  if (column >= 0) Checked(out.WriteStoredText(row, column, gbk), log, row, column);
}

void WriteUnsignedValue(LayerWriter& out, ConversionLog& log, int row, int column, uint32_t value) {
  if (column >= 0) Checked(out.WriteUnsigned(row, column, value), log, row, column);
}

void WriteSignedValue(LayerWriter& out, ConversionLog& log, int row, int column, int32_t value) {
  if (column >= 0) Checked(out.WriteInteger(row, column, value), log, row, column);
}

void WriteDoubleValue(LayerWriter& out, ConversionLog& log, int row, int column, double value) {
  if (column >= 0) Checked(out.WriteDouble(row, column, value), log, row, column);
}

// A null that cannot be written is reported by the writer's failure, if any.
void WriteNullValue(LayerWriter& out, int row, int column) { out.WriteNull(row, column); }
