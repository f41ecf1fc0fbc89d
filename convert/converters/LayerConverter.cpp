#include "LayerConverter.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "MapGisCodePage.h"
#include "GeoPackageModule.h"
#include "ProjectWriter.h"
#include "QmlWriter.h"
#include "ShapefileWriter.h"
#include "SldWriter.h"
#include "StyleColumns.h"

using namespace MapGis;

namespace {
constexpr char kLogUnit[] = "LayerConversion";
}  // namespace

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

long RunStaged(const ConverterInputs& in, const std::function<long(ResultStaging&)>& convert) {
  if (in.staging) return convert(*in.staging);
  ResultStaging own;
  const long result = convert(own);
  if (result == MAPGIS_WRITE_FAILED) return result;
  WriteFailure failure;
  if (!own.Commit(in.log, &failure)) {
    CONVERT_LOG(in.log, L"------E__无法写入结果文件[%ls]：%ls", failure.file.c_str(), failure.reason.c_str());
    return MAPGIS_WRITE_FAILED;
  }
  return result;
}

LayerReport NewLayerReport(const char* converter, const std::wstring& base, const ConversionOptions& options) {
  LayerReport r;
  r.converter = converter;
  r.result = base;
  r.encoding = options.Utf8Tables() ? "UTF-8" : "CP936";
  return r;
}

std::unique_ptr<LayerWriter> CreateLayerWriter(const ConverterInputs& in, ResultStaging& staging,
                                               const std::wstring& base) {
  if (in.options.WritesGeoPackage()) return GeoPackageModule::Get().NewWriter(staging, base);
  return std::make_unique<ShapefileWriter>(staging, base, in.options.Utf8Tables());
}

long CreateFailed(ConversionLog& log, LayerWriter& out, const std::wstring& file) {
  const WriteFailure* f = out.Failure();
  CONVERT_LOG(log, L"------E__无法创建结果文件[%ls]：%ls", file.c_str(), f ? f->reason.c_str() : L"");
  CONVERT_LOG(log, L"%ls", OpenClosingText(MAPGIS_WRITE_FAILED));
  return MAPGIS_WRITE_FAILED;
}

long WriteFailed(ConversionLog& log, LayerWriter& out) {
  const WriteFailure* f = out.Failure();
  if (f) CONVERT_LOG(log, L"------E__无法写入结果文件[%ls]：%ls", f->file.c_str(), f->reason.c_str());
  CONVERT_LOG(log, L"%ls", OpenClosingText(MAPGIS_WRITE_FAILED));
  return MAPGIS_WRITE_FAILED;
}

namespace {

// Metres in one unit of coordinates written in `para`'s system: projected
// systems in a unit of length; 0 for angles and unknown units.
double MetresPerUnit(const MAP_PARAstruct& para) {
  constexpr int kProjected = 3;
  const int unit = para.unit;
  const bool length = unit == 0 || unit == 1 || unit == 2 || unit == 6 || (unit >= 10 && unit <= 16);
  return para.coordType == kProjected && length ? ProjectWriter::UnitFactor(unit) : 0.0;
}

// The EPSG system `para` describes, given the stored extent and the factor
// that scales it; logs why a record that looked like one did not match.
cartography::EpsgMatch MatchEpsg(ConversionLog& log, const MAP_PARAstruct& para, const cartography::Extent* stored,
                                 double factor) {
  cartography::Extent written;
  if (stored) {
    written = {stored->minX * factor, stored->minY * factor, stored->maxX * factor, stored->maxY * factor};
  }
  cartography::EpsgMatch match = cartography::IdentifyEpsg(para, stored ? &written : nullptr);
  for (const std::string& warning : match.warnings) {
    CONVERT_LOG(log, L"------W__%ls", MapGis::Utf8ToWide(warning).c_str());
  }
  return match;
}

}  // namespace

long ApplySpatialReference(const ConverterInputs& in, MAP_PARAstruct para, const cartography::Extent* extent,
                           LayerWriter& out, const wchar_t* logText, LayerReport* report,
                           AppliedReference* applied) {
  *applied = AppliedReference{};
  if (in.options.ExportProjection == 0) return MAPGIS_OK;
  if (para.coordType == 0) {
    CONVERT_LOG(in.log, L"------E__待转换文件无投影信息");
    // Every file's conversion ends with one closing line, this one too.
    CONVERT_LOG(in.log, L"----结束转换[原文件错误-无投影信息]");
    return kNoProjection;
  }
  if (in.options.ExportProjection == 2) ProjectWriter::ConvertToMeters(&para);
  applied->factor = para.scale;
  para.scale = 1.0;
  const ProjectWriter::Text prj = ProjectWriter::TranslateProjection(&para);
  for (const std::wstring& warning : prj.warnings) in.log.WriteMessage(warning);
  // A record that matches an EPSG system gets that system's own text, so
  // GIS programs recognise it; any other keeps the text of its parameters.
  cartography::EpsgMatch epsg;
  if (in.options.PrjEpsg != 0) epsg = MatchEpsg(in.log, para, extent, applied->factor);
  const std::string text = epsg.code != 0 ? epsg.esriText : WideToUtf8(prj.wkt);
  if (!out.WriteSideFile(L".prj", text)) {
    const WriteFailure* f = out.Failure();
    CONVERT_LOG(in.log, L"------E__投影文件[%ls]无法写入：%ls", out.PartName(L".prj").c_str(),
                f ? f->reason.c_str() : L"");
    CONVERT_LOG(in.log, L"%ls", OpenClosingText(MAPGIS_WRITE_FAILED));
    return MAPGIS_WRITE_FAILED;
  }
  CONVERT_LOG(in.log, logText, out.PartName(L".prj").c_str());
  if (epsg.code != 0) {
    out.SetSpatialReferenceCode(epsg.code);
    CONVERT_LOG(in.log, L"------I__投影文件采用EPSG:%d坐标系[%ls]", epsg.code, MapGis::Utf8ToWide(epsg.name).c_str());
  }
  applied->metresPerUnit = MetresPerUnit(para);
  if (report) report->spatialReference = epsg.code != 0 ? "EPSG:" + std::to_string(epsg.code) : "text";
  return MAPGIS_OK;
}

LayerConverter::LayerConverter(const ConverterInputs& in)
    : text_(in.options.Utf8Tables()), in_(in), angles_{in.options.SymbolType, in.options.RotateType} {}

LayerConverter::~LayerConverter() = default;

const wchar_t* LayerConverter::RecordCountFailText() const { return L"----结束转换[原文件错误-属性结构定义错误]"; }
const wchar_t* LayerConverter::SkippedText() const { return L"----结束转换[文件存在错误(%d/%d)]"; }
const wchar_t* LayerConverter::MismatchText() const { return L"----结束转换[图元与属性不匹配(%d/%d)]"; }
const wchar_t* LayerConverter::ProjectionText() const { return L"------I__输出投影文件[%ls]"; }
const wchar_t* LayerConverter::OutputText() const { return L"------I__输出结果文件[%ls]"; }

long LayerConverter::Stop(long result, const wchar_t* closing) {
  CONVERT_LOG(in_.log, L"%ls", closing);
  out_.reset();
  reader_.Close();
  return result;
}

long LayerConverter::OpenFailure(long status) { return Stop(status, OpenClosingText(status)); }

long LayerConverter::Run(const std::wstring& source, const std::wstring& base) {
  if (in_.report) {
    in_.report->layers.push_back(NewLayerReport(ReportName(), base, in_.options));
    report_ = &in_.report->layers.back();
  }
  const long result = RunStaged(in_, [&](ResultStaging& staging) { return Convert(staging, source, base); });
  if (report_) report_->status = result;
  return result;
}

long LayerConverter::Convert(ResultStaging& staging, const std::wstring& source, const std::wstring& base) {
  mode_ = in_.options.SymbolType;
  CONVERT_LOG(in_.log, L"开始转换[%ls]", source.c_str());
  int slots = 0, valid = 0;
  long status = OpenSource(source, &slots, &valid);
  if (status != MAPGIS_OK) return status;
  status = CreateResult(staging, base);
  if (status != MAPGIS_OK) return status;
  int written = 0, errors = 0;
  if (!CopyRecords(source, slots, reference_.factor, &written, &errors)) return Failed();
  return FinishResult(base, written, valid, errors);
}

long LayerConverter::OpenSource(const std::wstring& source, int* slots, int* valid) {
  long status = reader_.Open(source.c_str());
  if (status < 0) return OpenFailure(status);
  if (reader_.GetShapeType() != LayerKind()) return Stop(MAPGIS_NOT_MAPGIS_FILE, L"----结束转换[原文件错误-几何类型错误]");

  *valid = CountRecords(slots);
  if (report_) {
    report_->slotCount = *slots;
    report_->liveCount = *valid;
  }
  if (*valid != *slots) CONVERT_LOG(in_.log, L"------I__文件未压缩存盘，请在mapgis软件下压缩存盘后再进行转换");

  status = SelectAttributes();
  if (status != MAPGIS_OK) return OpenFailure(status);

  const long records = reader_.GetRecordCount();
  if (records < 0) return Stop(MAPGIS_NO_TABLE, RecordCountFailText());
  if (records != *slots) CONVERT_LOG(in_.log, L"------E__文件图形记录与属性记录数量不匹配");
  const long fieldCount = reader_.GetFieldCount();
  if (fieldCount < 0) return Stop(MAPGIS_NO_TABLE, L"----结束转换[原文件错误-属性结构定义错误]");
  return MAPGIS_OK;
}

long LayerConverter::CreateResult(ResultStaging& staging, const std::wstring& base) {
  // Spatial reference and the factor applied to every coordinate.
  out_ = CreateLayerWriter(in_, staging, base);
  text_ = TableText(out_->Utf8());
  MAP_PARAstruct para;
  reader_.GetProjectionInfo(&para);
  cartography::Extent extent;
  reader_.GetExtentInfo(&extent.minX, &extent.minY, &extent.maxX, &extent.maxY);
  const long status = ApplySpatialReference(in_, para, &extent, *out_, ProjectionText(), report_, &reference_);
  if (status != MAPGIS_OK) {
    out_.reset();
    reader_.Close();
    return status;
  }

  std::wstring failed;
  if (!out_->CreateTable(&failed)) return CreateFailedStop(failed);
  const long declared = attributes_.Declare(reader_, *out_, in_.log);
  if (declared != MAPGIS_OK) return Stop(declared, L"----结束转换[原文件错误-属性结构定义错误]");
  AddStyleColumns();
  collecting_ = in_.options.ExportStyleFile != 0 && mode_ >= kStyleCode && mode_ <= kStyleBoard;
  styles_.metresPerMapUnit = reference_.metresPerUnit;
  if (!out_->CreateShapes(Shapes(), &failed)) return CreateFailedStop(failed);
  return MAPGIS_OK;
}

long LayerConverter::FinishResult(const std::wstring& base, int written, int valid, int errors) {
  reader_.Close();
  if (report_) report_->written = written;
  if (!out_->Close()) return Failed();
  CONVERT_LOG(in_.log, OutputText(), out_->PartName(L".shp").c_str());
  if (mode_ == kStyleLegend) {
    const std::string legend = LegendText();
    if (!legend.empty()) {
      if (!out_->WriteSideFile(L".avl", legend)) return Failed();
      CONVERT_LOG(in_.log, L"------I__输出图例文件[%ls]", out_->PartName(L".avl").c_str());
    }
  }
  if (!WriteStyleFiles(base)) return Failed();
  if (in_.options.ExportEmptyFile == 0 && written == 0) {
    out_->Discard();
    CONVERT_LOG(in_.log, L"------I__转换结果为空文件,已被删除！");
  }
  out_.reset();
  return Closing(written, valid, errors);
}

bool LayerConverter::WriteStyleFiles(const std::wstring& base) {
  if (in_.options.ExportStyleFile == 0) return true;
  if (styles_.classes.empty()) {
    // No style mode, or no feature whose style values a class can test.
    CONVERT_LOG(in_.log, L"------I__结果中无图示参数，未输出样式文件");
    return true;
  }
  styles_.name = WideToUtf8(base.substr(base.find_last_of(L'/') + 1));
  if (!out_->WriteSideFile(L".qml", cartography::BuildQml(styles_))) return false;
  CONVERT_LOG(in_.log, L"------I__输出样式文件[%ls]", out_->PartName(L".qml").c_str());
  std::vector<std::string> warnings;
  if (!out_->WriteSideFile(L".sld", cartography::BuildSld(styles_, &warnings))) return false;
  CONVERT_LOG(in_.log, L"------I__输出样式文件[%ls]", out_->PartName(L".sld").c_str());
  for (const std::string& warning : warnings) CONVERT_LOG(in_.log, L"------W__%ls", Utf8ToWide(warning).c_str());
  return true;
}

long LayerConverter::CreateFailedStop(const std::wstring& file) {
  reader_.Close();
  const long result = CreateFailed(in_.log, *out_, file);
  out_.reset();
  return result;
}

long LayerConverter::Failed() {
  reader_.Close();
  const long result = WriteFailed(in_.log, *out_);
  out_.reset();
  return result;
}

bool LayerConverter::CopyRecords(const std::wstring& source, int slots, double k, int* written, int* errors) {
  // A damaged slot count can name billions of records in a small file. No
  // record is shorter than 40 bytes, so indexes past size / 40 cannot be in
  // the file: they are counted as unreadable with one line, not read one by one.
  std::error_code sizeError;
  const uintmax_t fileSize = std::filesystem::file_size(std::filesystem::u8path(WideToUtf8(source)), sizeError);
  const int holdable =
      sizeError || slots <= 0 ? slots : static_cast<int>(std::min<uintmax_t>(static_cast<uintmax_t>(slots), fileSize / 40));
  if (holdable < slots) {
    CONVERT_LOG(in_.log, L"------F__第[%d]至第[%d]号图元超出文件范围，已跳过", holdable, slots - 1);
    *errors += slots - holdable;
    if (report_) {
      for (int r = holdable; r < slots && report_->unreadable.size() < LayerReport::kMaxIndexes; ++r) {
        report_->unreadable.push_back(r);
      }
      report_->unreadableCount += slots - holdable;
    }
  }
  ProgressSteps progress(in_.progress);
  for (int r = 0; r < holdable; ++r) {
    Geometry* g = CreateGeometry();
    const long status = ReadRecord(r, g);
    // A record the converter passes over is neither written nor counted.
    if (status == MAPGIS_OK && KeepRecord()) {
      ReScaleGeometry(g, k);
      FinishGeometry(g);
      if (!out_->WriteShape(g)) {
        if (out_->Failure()) {
          DestroyGeometry(g);
          return false;
        }
        CONVERT_LOG(in_.log, L"------F__第[%d]号图元信息错误，已跳过", r);
        ++*errors;
        if (report_) report_->AddUnreadable(r);
      } else {
        attributes_.Write(reader_, *out_, r, *written, in_.log);
        WriteStyleValues(*written);
        ++*written;
      }
    } else if (status != MAPGIS_OK && status != MAPGIS_DELETED) {
      CONVERT_LOG(in_.log, L"------F__第[%d]号图元信息错误，已跳过", r);
      ++*errors;
      if (report_) report_->AddUnreadable(r);
    }
    DestroyGeometry(g);
    progress.Done(static_cast<long long>(r) + 1, slots);
  }
  return out_->Failure() == nullptr;
}

long LayerConverter::Closing(int written, int valid, int errors) {
  if (errors >= 1) {
    CONVERT_LOG(in_.log, SkippedText(), written, valid);
    return MAPGIS_BAD_ARC_LIST;  // -9979: some records had to be skipped
  }
  if (written == valid) {
    CONVERT_LOG(in_.log, L"----结束转换[全部正确转换(%d/%d)]", written, valid);
    return written == 0 ? kEmptyResult : MAPGIS_OK;
  }
  CONVERT_LOG(in_.log, MismatchText(), written, valid);
  return MAPGIS_READ_FAILED;  // -9983: written and valid counts differ
}

void LayerConverter::WriteText(int row, int column, const std::string& tableText) {
  WriteTextValue(*out_, in_.log, row, column, tableText);
}

void LayerConverter::WriteStoredText(int row, int column, const std::string& gbk) {
  WriteStoredTextValue(*out_, in_.log, row, column, gbk);
}

void LayerConverter::WriteUnsigned(int row, int column, uint32_t value) {
  WriteUnsignedValue(*out_, in_.log, row, column, value);
}

void LayerConverter::WriteSigned(int row, int column, int32_t value) {
  WriteSignedValue(*out_, in_.log, row, column, value);
}

void LayerConverter::WriteDouble(int row, int column, double value) {
  WriteDoubleValue(*out_, in_.log, row, column, value);
}

void LayerConverter::WriteNull(int row, int column) { WriteNullValue(*out_, row, column); }

void LayerConverter::AddStyleColumns(const StyleColumn* columns, int count) {
  for (int i = 0; i < count; ++i) {
    int width = columns[i].width;
    // Chinese texts ("不透明") take half as many bytes again in UTF-8.
    if (columns[i].kind == ColumnKind::Text && text_.Utf8() && width < 255) {
      width = std::min(255, width + (width + 1) / 2);
    }
    StoredColumn declared;
    style_.push_back(out_->AddColumn(text_.FromUtf8(columns[i].name), columns[i].kind, width, columns[i].decimals,
                                     &declared));
    styleNames_.push_back(declared.name);
  }
}

std::string LayerConverter::StyleName(int i) const {
  if (i < 0 || i >= static_cast<int>(styleNames_.size())) return std::string();
  return TableUtf8(styleNames_[static_cast<size_t>(i)]);
}

std::string LayerConverter::TableUtf8(const std::string& tableText) const {
  return text_.Utf8() ? tableText : MapGis::AnsiToUtf8(tableText);
}

void LayerConverter::AddModeColumns(const ModeColumns& c) {
  switch (mode_) {
    case kStyleCode:
      AddStyleColumns(c.code, c.codeCount);
      CONVERT_LOG(in_.log, c.keyLog, L"VKT_SYMBOL");
      break;
    case kStyleRaw:
    case kStyleText:
      AddStyleColumns(mode_ == kStyleRaw ? c.raw : c.text, c.paramCount);
      CONVERT_LOG(in_.log, L"------I__增加MapGIS图示表达参数字段");
      break;
    case kStyleLegend:
    case kStyleBoard:
      AddStyleColumns(c.legend, c.legendCount);
      CONVERT_LOG(in_.log, c.keyLog, L"VKT_LEGEND");
      break;
    default:
      break;
  }
}

std::string LayerConverter::TransparencyText(int flag) const { return text_.FromUtf8(flag != 0 ? "透明" : "不透明"); }

bool LayerConverter::InLibrary(long colour) const {
  if (in_.colors.Contains(colour)) return true;
  CONVERT_LOG(in_.log, L"------E__第[%ld]号颜色超出颜色库范围", colour);
  return false;
}

uint32_t LayerConverter::PackedRgb(long colour) const {
  InLibrary(colour);
  return in_.colors.PackedRgb(colour);
}

uint32_t LayerConverter::PackedCmyk(long colour) const {
  InLibrary(colour);
  return in_.colors.PackedCmyk(colour);
}

uint32_t LayerConverter::ModelColor(long colour) const {
  const int model = in_.options.ColorModel;
  if (model >= ColorModel::kRgb && model <= ColorModel::kCmyk) InLibrary(colour);
  return in_.colors.ModelValue(colour);
}

std::string LayerConverter::SymbolCode(StyleKey key) {
  if (FindStyleKey(keys_, key) < 0) {
    key.index = key.type;
    keys_.push_back(key);
  }
  return key.Code();
}

std::string LayerConverter::LegendCode(StyleKey key, uint32_t rgb) {
  const int position = AddColour(colours_, rgb);
  if (FindStyleKey(keys_, key) < 0) {
    key.index = position;
    keys_.push_back(key);
  }
  return key.Code();
}
