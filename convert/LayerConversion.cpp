#include "LayerConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "ProjectWriter.h"
#include "StyleColumns.h"
#include "Settings.h"
#include "TableText.h"

using namespace MapGis;

namespace {

const wchar_t* OpenClosingText(long status) {
  switch (status) {
    case MAPGIS_NOT_SYSTEM_FILE: return L"----结束转换[原文件错误-非系统文件错误]";
    case MAPGIS_NOT_MAPGIS_FILE: return L"----结束转换[原文件错误-非MapGis文件]";
    case MAPGIS_OPEN_FAILED: return L"----结束转换[原文件错误-文件打开失败]";
    case MAPGIS_READ_FAILED: return L"----结束转换[原文件错误-文件读取失败]";
    case MAPGIS_WRITE_FAILED: return L"----结束转换[原文件错误-文件写入失败]";
    case MAPGIS_NO_TABLE: return L"----结束转换[原文件错误-属性字段定义错误]";
    default: return L"----结束转换[原文件错误-发生未知错误]";
  }
}

std::string DateText(const DATE_STRUstruct& d) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

// Seconds that are not finite or absurd give the all-zero text.
std::string TimeText(const TIME_STRUstruct& t) {
  char text[64];
  if (!std::isfinite(t.second) || t.second < 0.0 || t.second >= 1.0e6) return "00:00:00.00";
  std::snprintf(text, sizeof text, "%02d:%02d:%04.2f", t.hour, t.minute, t.second);
  return text;
}

std::string TimeStampText(const TIMESTAMPstruct& t) {
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d:%02d:%02d.%08u", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.fraction);
  return text;
}

int IntegerWidth(int display, int minimum) {
  const int width = (display >= 6 && display <= 10) ? display : 8;
  return width < minimum ? minimum : width;
}

}  // namespace

LayerConversion::LayerConversion(CGridmoorProView& view) : view_(view) {}

LayerConversion::~LayerConversion() = default;

const wchar_t* LayerConversion::RecordCountFailText() const { return L"----结束转换[原文件错误-属性结构定义错误]"; }
const wchar_t* LayerConversion::SkippedText() const { return L"----结束转换[文件存在错误(%d/%d)]"; }
const wchar_t* LayerConversion::MismatchText() const { return L"----结束转换[图元与属性不匹配(%d/%d)]"; }
const wchar_t* LayerConversion::ProjectionText() const { return L"------I__输出投影文件[%ls.prj]"; }

long LayerConversion::Stop(long result, const wchar_t* closing) {
  CONVERT_LOG(L"%ls", closing);
  out_.Close();
  reader_.Close();
  return result;
}

long LayerConversion::OpenFailure(long status) { return Stop(status, OpenClosingText(status)); }

long LayerConversion::Run(const std::wstring& source, const std::wstring& base) {
  mode_ = Settings::SymbolType;
  CONVERT_LOG(L"开始转换[%ls]", source.c_str());

  long status = reader_.Open(source.c_str());
  if (status < 0) return OpenFailure(status);
  if (reader_.GetShapeType() != LayerKind()) return Stop(MAPGIS_NOT_MAPGIS_FILE, L"----结束转换[原文件错误-几何类型错误]");

  int slots = 0;
  const int valid = CountRecords(&slots);
  if (valid != slots) CONVERT_LOG(L"------I__文件未压缩存盘，请在mapgis软件下压缩存盘后再进行转换");

  status = SelectAttributes();
  if (status != MAPGIS_OK) return OpenFailure(status);

  const long records = reader_.GetRecordCount();
  if (records < 0) return Stop(MAPGIS_NO_TABLE, RecordCountFailText());
  if (records != slots) CONVERT_LOG(L"------E__文件图形记录与属性记录数量不匹配");
  const long fieldCount = reader_.GetFieldCount();
  if (fieldCount < 0) return Stop(MAPGIS_NO_TABLE, L"----结束转换[原文件错误-属性结构定义错误]");

  // Spatial reference and the factor applied to every coordinate.
  double k = 1.0;
  MAP_PARAstruct para;
  reader_.GetProjectionInfo(&para);
  if (Settings::ExportProjection != 0) {
    if (para.coordType == 0) {
      CONVERT_LOG(L"------E__待转换文件无投影信息");
      reader_.Close();
      return -9978;
    }
    if (Settings::ExportProjection == 2) ProjectWriter::ConvertToMeters(&para);
    k = para.scale;
    para.scale = 1.0;
    if (ProjectWriter::WritePrjFile(&para, base) != MAPGIS_OK) {
      return Stop(MAPGIS_WRITE_FAILED, L"----结束转换[原文件错误-文件写入失败]");
    }
    extraFiles_.push_back(WideToUtf8(base) + ".prj");
    CONVERT_LOG(ProjectionText(), base.c_str());
  }

  std::wstring failed;
  if (!out_.CreateTable(base, TableText::Utf8Tables(), &failed)) {
    CONVERT_LOG(L"------E__无法创建结果文件[%ls]", failed.c_str());
    return Stop(MAPGIS_WRITE_FAILED, L"----结束转换[原文件错误-文件写入失败]");
  }
  status = DeclareAttributeColumns();
  if (status != MAPGIS_OK) return Stop(status, L"----结束转换[原文件错误-属性结构定义错误]");
  AddStyleColumns();
  if (!out_.CreateShapes(base, ShapeType(), &failed)) {
    CONVERT_LOG(L"------E__无法创建结果文件[%ls]", failed.c_str());
    return Stop(MAPGIS_WRITE_FAILED, L"----结束转换[原文件错误-文件写入失败]");
  }

  int written = 0, errors = 0;
  ConvertHost* host = view_.Host();
  for (int r = 0; r < slots; ++r) {
    Geometry* g = CreateGeometry();
    status = ReadRecord(r, g);
    if (status == MAPGIS_OK) {
      ReScaleGeometry(g, k);
      FinishGeometry(g);
      if (!out_.WriteShape(g)) {
        CONVERT_LOG(L"------F__第[%d]号图元信息错误，已跳过", r);
        ++errors;
      } else {
        WriteAttributes(r, written);
        WriteStyleValues(written);
        ++written;
      }
    } else if (status != MAPGIS_DELETED) {
      CONVERT_LOG(L"------F__第[%d]号图元信息错误，已跳过", r);
      ++errors;
    }
    DestroyGeometry(g);
    if (host) host->SetProgress(static_cast<int>(100LL * (static_cast<long long>(r) + 1) / slots));
  }

  out_.Close();
  reader_.Close();
  CONVERT_LOG(L"------I__输出结果文件[%ls.shp]", base.c_str());
  if (mode_ == kStyleLegend && WriteLegend(base)) {
    extraFiles_.push_back(WideToUtf8(base) + ".avl");
    CONVERT_LOG(L"------I__输出图例文件[%ls.avl]", base.c_str());
  }
  if (Settings::ExportEmptyFile == 0 && written == 0) DeleteEmptyResult(base);

  if (errors >= 1) {
    CONVERT_LOG(SkippedText(), written, valid);
    return MAPGIS_BAD_ARC_LIST;  // -9979: some records had to be skipped
  }
  if (written == valid) {
    CONVERT_LOG(L"----结束转换[全部正确转换(%d/%d)]", written, valid);
    return MAPGIS_OK;
  }
  CONVERT_LOG(MismatchText(), written, valid);
  return MAPGIS_READ_FAILED;  // -9983: written and valid counts differ
}

long LayerConversion::DeclareAttributeColumns() {
  const long count = reader_.GetFieldCount();
  const bool utf8 = TableText::Utf8Tables();
  fields_.assign(static_cast<size_t>(count > 0 ? count : 0), FieldColumn{});
  for (int i = 0; i < count; ++i) {
    wchar_t name[32] = {0};
    int storage = 0, display = 0, decimals = 0;
    const long type = reader_.GetFieldInfo(i, name, &storage, &display, &decimals);
    if (type < 0 || type > 18) {
      CONVERT_LOG(L"------E__[%ls]字段结构定义存在严重错误", name);
      return MAPGIS_NO_TABLE;
    }
    const std::string columnName = TableText::FromWide(name);
    DBFFieldType dbfType = FTInteger;
    int width = 8, places = 0;
    switch (type) {
      case MAPGIS_FIELD_STRING:
      case MAPGIS_FIELD_TEXT: {
        // Wide enough for the stored text as written (UTF-8 makes GBK half as long again).
        int bytes = display > storage ? display : storage;
        if (utf8) bytes = bytes + (bytes + 1) / 2;
        if (bytes > 255) CONVERT_LOG(L"------W__[%ls]字段被截断，SHAPE不支持大于255字节的字符串类型", name);
        dbfType = FTString;
        width = bytes > 255 ? 255 : bytes;
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
        dbfType = FTDouble;
        width = display < 1 ? 16 : display;
        places = decimals < 1 ? 5 : decimals;
        break;
      case MAPGIS_FIELD_DATE:
      case MAPGIS_FIELD_TIME:
      case MAPGIS_FIELD_TIMESTAMP:
        dbfType = FTString;
        width = 50;
        break;
      default:
        // Other kinds are kept as numeric columns without values.
        CONVERT_LOG(L"------E__[%ls]字段类型SHAPE格式不支持", name);
        width = display < 1 ? 1 : display;
        break;
    }
    std::string stored;
    const int column = out_.AddColumn(columnName, dbfType, width, places, &stored);
    if (column >= 0 && stored != TableText::CutAt(columnName, 10, utf8)) {
      CONVERT_LOG(L"------W__[%ls]字段名重复，输出为[%ls]", name,
                  (utf8 ? Utf8ToWide(stored) : AnsiToWide(stored)).c_str());
    }
    if (column < 0) CONVERT_LOG(L"------W__[%ls]字段无法输出", name);
    fields_[static_cast<size_t>(i)] = FieldColumn{static_cast<int>(type), column};
  }
  return MAPGIS_OK;
}

void LayerConversion::WriteAttributes(int r, int row) {
  for (size_t j = 0; j < fields_.size(); ++j) {
    const int f = static_cast<int>(j);
    const int column = fields_[j].column;
    if (column < 0) continue;
    switch (fields_[j].type) {
      case MAPGIS_FIELD_STRING:
      case MAPGIS_FIELD_TEXT: {
        const char* raw = static_cast<const char*>(reader_.ReadAttribute(r, f, fields_[j].type));
        WriteText(row, column, TableText::FromAnsi(TableText::ShortenStored(raw ? raw : "")));
        break;
      }
      case MAPGIS_FIELD_BYTE: WriteSigned(row, column, reader_.ReadByteAttribute(r, f)); break;
      case MAPGIS_FIELD_SHORT: WriteSigned(row, column, reader_.ReadShortAttribute(r, f)); break;
      case MAPGIS_FIELD_LONG: WriteSigned(row, column, static_cast<int32_t>(reader_.ReadLongAttribute(r, f))); break;
      case MAPGIS_FIELD_BOOL: WriteSigned(row, column, reader_.ReadBoolAttribute(r, f) ? 1 : 0); break;
      case MAPGIS_FIELD_FLOAT: WriteDouble(row, column, reader_.ReadFloatAttribute(r, f)); break;
      case MAPGIS_FIELD_DOUBLE: WriteDouble(row, column, reader_.ReadDoubleAttribute(r, f)); break;
      case MAPGIS_FIELD_DATE: WriteText(row, column, DateText(reader_.ReadDateAttribute(r, f))); break;
      case MAPGIS_FIELD_TIME: WriteText(row, column, TimeText(reader_.ReadTimeAttribute(r, f))); break;
      case MAPGIS_FIELD_TIMESTAMP:
        WriteText(row, column, TimeStampText(reader_.ReadTimeStampAttribute(r, f)));
        break;
      default: WriteNull(row, column); break;
    }
  }
}

void LayerConversion::WarnUnwritten(int row, int column) {
  CONVERT_LOG(L"------W__第[%d]行第[%d]列的值超出字段宽度，未能完整写入", row, column);
}

void LayerConversion::WriteText(int row, int column, const std::string& tableText) {
  if (column < 0) return;
  if (!out_.WriteString(row, column, tableText)) WarnUnwritten(row, column);
}

void LayerConversion::WriteUnsigned(int row, int column, uint32_t value) {
  if (column < 0) return;
  if (!out_.WriteUnsigned(row, column, value)) WarnUnwritten(row, column);
}

void LayerConversion::WriteSigned(int row, int column, int32_t value) {
  if (column < 0) return;
  if (!out_.WriteInteger(row, column, value)) WarnUnwritten(row, column);
}

void LayerConversion::WriteDouble(int row, int column, double value) {
  if (column < 0) return;
  if (!out_.WriteDouble(row, column, value)) WarnUnwritten(row, column);
}

void LayerConversion::WriteNull(int row, int column) { out_.WriteNull(row, column); }

void LayerConversion::AddStyleColumns(const StyleColumn* columns, int count) {
  for (int i = 0; i < count; ++i) {
    int width = columns[i].width;
    // Chinese texts ("不透明") take half as many bytes again in UTF-8.
    if (columns[i].type == FTString && TableText::Utf8Tables() && width < 255) {
      width = std::min(255, width + (width + 1) / 2);
    }
    style_.push_back(out_.AddColumn(TableText::FromUtf8(columns[i].name), columns[i].type, width, columns[i].decimals));
  }
}

std::string LayerConversion::TransparencyText(int flag) const {
  return TableText::FromUtf8(flag != 0 ? "透明" : "不透明");
}

uint32_t LayerConversion::PackedRgb(long colour) {
  const RGBTRIPLE c = view_.GetRGBColor(colour);
  return static_cast<uint32_t>(c.rgbtRed) + 256u * c.rgbtGreen + 65536u * c.rgbtBlue;
}

uint32_t LayerConversion::PackedCmyk(long colour) {
  const CMYKQUAD c = view_.GetCmykColor(colour);
  return 16777216u * c.cmykCyan + 65536u * c.cmykMagenta + 256u * c.cmykYellow + c.cmykBlack;
}

std::string LayerConversion::SymbolCode(StyleKey key) {
  if (FindStyleKey(keys_, key) < 0) {
    key.index = key.type;
    keys_.push_back(key);
  }
  return key.Code();
}

std::string LayerConversion::LegendCode(StyleKey key, uint32_t rgb) {
  const int position = AddColour(colours_, rgb);
  if (FindStyleKey(keys_, key) < 0) {
    key.index = position;
    keys_.push_back(key);
  }
  return key.Code();
}

void LayerConversion::DeleteEmptyResult(const std::wstring&) {
  for (const std::string& f : out_.CreatedFiles()) std::remove(f.c_str());
  for (const std::string& f : extraFiles_) std::remove(f.c_str());
  CONVERT_LOG(L"------I__转换结果为空文件,已被删除！");
}
