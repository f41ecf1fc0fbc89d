#include "LayerConversion.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "ProjectWriter.h"
#include "StyleColumns.h"
#include "Settings.h"
#include "TableText.h"

using namespace MapGis;

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

long ApplySpatialReference(MAP_PARAstruct para, const std::wstring& base, const wchar_t* logText, double* factor,
                           std::string* prjPath) {
  *factor = 1.0;
  prjPath->clear();
  if (Settings::ExportProjection == 0) return MAPGIS_OK;
  if (para.coordType == 0) {
    CONVERT_LOG(L"------E__待转换文件无投影信息");
    // Every file's conversion ends with one closing line, this one too.
    CONVERT_LOG(L"----结束转换[原文件错误-无投影信息]");
    return kNoProjection;
  }
  if (Settings::ExportProjection == 2) ProjectWriter::ConvertToMeters(&para);
  *factor = para.scale;
  para.scale = 1.0;
  if (ProjectWriter::WritePrjFile(&para, base) != MAPGIS_OK) {
    CONVERT_LOG(L"%ls", OpenClosingText(MAPGIS_WRITE_FAILED));
    return MAPGIS_WRITE_FAILED;
  }
  *prjPath = WideToUtf8(base) + ".prj";
  CONVERT_LOG(logText, base.c_str());
  return MAPGIS_OK;
}

LayerConversion::LayerConversion(CGridmoorProView& view) : view_(view) {}

LayerConversion::~LayerConversion() = default;

const wchar_t* LayerConversion::RecordCountFailText() const { return L"----结束转换[原文件错误-属性结构定义错误]"; }
const wchar_t* LayerConversion::SkippedText() const { return L"----结束转换[文件存在错误(%d/%d)]"; }
const wchar_t* LayerConversion::MismatchText() const { return L"----结束转换[图元与属性不匹配(%d/%d)]"; }
const wchar_t* LayerConversion::ProjectionText() const { return L"------I__输出投影文件[%ls.prj]"; }
const wchar_t* LayerConversion::OutputText() const { return L"------I__输出结果文件[%ls.shp]"; }

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
  std::string prj;
  status = ApplySpatialReference(para, base, ProjectionText(), &k, &prj);
  if (status != MAPGIS_OK) {
    out_.Close();
    reader_.Close();
    return status;
  }
  if (!prj.empty()) extraFiles_.push_back(prj);

  std::wstring failed;
  if (!out_.CreateTable(base, TableText::Utf8Tables(), &failed)) {
    CONVERT_LOG(L"------E__无法创建结果文件[%ls]", failed.c_str());
    return Stop(MAPGIS_WRITE_FAILED, L"----结束转换[原文件错误-文件写入失败]");
  }
  status = attributes_.Declare(reader_, out_);
  if (status != MAPGIS_OK) return Stop(status, L"----结束转换[原文件错误-属性结构定义错误]");
  AddStyleColumns();
  if (!out_.CreateShapes(base, ShapeType(), &failed)) {
    CONVERT_LOG(L"------E__无法创建结果文件[%ls]", failed.c_str());
    return Stop(MAPGIS_WRITE_FAILED, L"----结束转换[原文件错误-文件写入失败]");
  }

  int written = 0, errors = 0;
  ConvertHost* host = view_.Host();
  // A damaged slot count can name billions of records in a small file. No
  // record is shorter than 40 bytes, so indexes past size / 40 cannot be in
  // the file: they are counted as unreadable with one line, not read one by one.
  std::error_code sizeError;
  const uintmax_t fileSize = std::filesystem::file_size(std::filesystem::u8path(WideToUtf8(source)), sizeError);
  const int holdable =
      sizeError || slots <= 0 ? slots : static_cast<int>(std::min<uintmax_t>(static_cast<uintmax_t>(slots), fileSize / 40));
  if (holdable < slots) {
    CONVERT_LOG(L"------F__第[%d]至第[%d]号图元超出文件范围，已跳过", holdable, slots - 1);
    errors += slots - holdable;
  }
  for (int r = 0; r < holdable; ++r) {
    Geometry* g = CreateGeometry();
    status = ReadRecord(r, g);
    // A record the converter passes over is neither written nor counted.
    if (status == MAPGIS_OK && KeepRecord()) {
      ReScaleGeometry(g, k);
      FinishGeometry(g);
      if (!out_.WriteShape(g)) {
        CONVERT_LOG(L"------F__第[%d]号图元信息错误，已跳过", r);
        ++errors;
      } else {
        attributes_.Write(reader_, out_, r, written);
        WriteStyleValues(written);
        ++written;
      }
    } else if (status != MAPGIS_OK && status != MAPGIS_DELETED) {
      CONVERT_LOG(L"------F__第[%d]号图元信息错误，已跳过", r);
      ++errors;
    }
    DestroyGeometry(g);
    if (host) host->SetProgress(static_cast<int>(100LL * (static_cast<long long>(r) + 1) / slots));
  }

  out_.Close();
  reader_.Close();
  CONVERT_LOG(OutputText(), base.c_str());
  if (mode_ == kStyleLegend && WriteLegend(base)) {
    extraFiles_.push_back(WideToUtf8(base) + ".avl");
    CONVERT_LOG(L"------I__输出图例文件[%ls.avl]", base.c_str());
  }
  if (Settings::ExportEmptyFile == 0 && written == 0) DeleteEmptyResult(base);
  return Closing(written, valid, errors);
}

long LayerConversion::Closing(int written, int valid, int errors) {
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

void LayerConversion::WriteText(int row, int column, const std::string& tableText) {
  WriteTextValue(out_, row, column, tableText);
}

void LayerConversion::WriteUnsigned(int row, int column, uint32_t value) {
  WriteUnsignedValue(out_, row, column, value);
}

void LayerConversion::WriteSigned(int row, int column, int32_t value) { WriteSignedValue(out_, row, column, value); }

void LayerConversion::WriteDouble(int row, int column, double value) { WriteDoubleValue(out_, row, column, value); }

void LayerConversion::WriteNull(int row, int column) { WriteNullValue(out_, row, column); }

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

void LayerConversion::AddModeColumns(const ModeColumns& c) {
  switch (mode_) {
    case kStyleCode:
      AddStyleColumns(c.code, c.codeCount);
      CONVERT_LOG(c.keyLog, L"VKT_SYMBOL");
      break;
    case kStyleRaw:
    case kStyleText:
      AddStyleColumns(mode_ == kStyleRaw ? c.raw : c.text, c.paramCount);
      CONVERT_LOG(L"------I__增加MapGIS图示表达参数字段");
      break;
    case kStyleLegend:
    case kStyleBoard:
      AddStyleColumns(c.legend, c.legendCount);
      CONVERT_LOG(c.keyLog, L"VKT_LEGEND");
      break;
    default:
      break;
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
