#include "FeatureAttributes.h"

#include <QFileInfo>

#include "MapGis.h"

using namespace MapGis;

namespace {

QString Gbk(const char* text) { return text ? QString::fromStdString(AnsiToUtf8(text)) : QString(); }

QString ValueText(MapGis_FastReader& reader, int record, int field, long type) {
  switch (type) {
    case MAPGIS_FIELD_STRING: return Gbk(reader.ReadStringAttribute(record, field)).trimmed();
    case MAPGIS_FIELD_TEXT: return Gbk(reader.ReadTextAttribute(record, field)).trimmed();
    case MAPGIS_FIELD_BYTE: return QString::number(reader.ReadByteAttribute(record, field));
    case MAPGIS_FIELD_SHORT: return QString::number(reader.ReadShortAttribute(record, field));
    case MAPGIS_FIELD_LONG: return QString::number(static_cast<int32_t>(reader.ReadLongAttribute(record, field)));
    case MAPGIS_FIELD_FLOAT: return QString::number(reader.ReadFloatAttribute(record, field), 'g', 7);
    case MAPGIS_FIELD_DOUBLE: return QString::number(reader.ReadDoubleAttribute(record, field), 'g', 15);
    case MAPGIS_FIELD_BOOL: return reader.ReadBoolAttribute(record, field) ? QStringLiteral("是") : QStringLiteral("否");
    case MAPGIS_FIELD_DATE: {
      const DATE_STRUstruct d = reader.ReadDateAttribute(record, field);
      return QStringLiteral("%1-%2-%3").arg(d.year).arg(d.month, 2, 10, QChar('0')).arg(d.day, 2, 10, QChar('0'));
    }
    case MAPGIS_FIELD_TIME: {
      const TIME_STRUstruct t = reader.ReadTimeAttribute(record, field);
      return QStringLiteral("%1:%2:%3")
          .arg(t.hour, 2, 10, QChar('0'))
          .arg(t.minute, 2, 10, QChar('0'))
          .arg(static_cast<double>(t.second), 0, 'f', 2);
    }
    case MAPGIS_FIELD_TIMESTAMP: {
      const TIMESTAMPstruct t = reader.ReadTimeStampAttribute(record, field);
      return QStringLiteral("%1-%2-%3 %4:%5:%6")
          .arg(t.year)
          .arg(t.month, 2, 10, QChar('0'))
          .arg(t.day, 2, 10, QChar('0'))
          .arg(t.hour, 2, 10, QChar('0'))
          .arg(t.minute, 2, 10, QChar('0'))
          .arg(t.second, 2, 10, QChar('0'));
    }
    default: return QStringLiteral("（不支持的类型%1）").arg(type);
  }
}

}  // namespace

QString FeatureAttributesText(const QString& path, int table, int record) {
  QString text = QStringLiteral("%1  第%2号记录\n").arg(QFileInfo(path).fileName()).arg(record + 1);
  MapGis_FastReader reader;
  if (reader.Open(path.toStdWString().c_str()) != MAPGIS_OK) return text + QStringLiteral("文件无法读取\n");
  // A network's nodes and a polygon file's arcs have tables of their own.
  const int type = reader.GetShapeType();
  if ((type == MAPGIS_TYPE_NETWORK || type == MAPGIS_TYPE_POLYGON) && reader.SetAttributeType(table) != MAPGIS_OK) {
    return text + QStringLiteral("没有属性表\n");
  }
  const long fields = reader.GetFieldCount();
  if (fields <= 0) return text + QStringLiteral("没有属性字段\n");
  for (long f = 0; f < fields; ++f) {
    wchar_t name[260] = {0};
    int width = 0, display = 0, decimals = 0;
    const long type = reader.GetFieldInfo(static_cast<int>(f), name, &width, &display, &decimals);
    if (type < 0) continue;
    name[259] = L'\0';
    const bool present = reader.ReadAttribute(record, static_cast<int>(f), MAPGIS_FIELD_LONG) != nullptr;
    text += QStringLiteral("%1 = %2\n")
                .arg(QString::fromWCharArray(name),
                     present ? ValueText(reader, record, static_cast<int>(f), type) : QStringLiteral("（无值）"));
  }
  return text;
}
