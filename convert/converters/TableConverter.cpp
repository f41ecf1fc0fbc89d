// Attribute-table conversion: a MapGIS table file copied into a table
// without shapes, with the field mapping of the layer conversions.
#include "AttributeColumns.h"
#include "LayerConverter.h"

using namespace MapGis;

namespace {

constexpr char kLogUnit[] = "ConvertDb";

long Convert(const ConverterInputs& in, ResultStaging& staging, const std::wstring& source, const std::wstring& base) {
  CONVERT_LOG(in.log, L"开始转换[%ls]", source.c_str());
  MapGis_FastReader reader;
  std::unique_ptr<LayerWriter> out;
  auto stop = [&](long result, const wchar_t* closing) {
    CONVERT_LOG(in.log, L"%ls", closing);
    out.reset();
    reader.Close();
    return result;
  };

  const long status = reader.Open(source.c_str());
  if (status < 0) return stop(status, OpenClosingText(status));
  const long records = reader.GetRecordCount();
  if (records < 0) return stop(MAPGIS_NO_TABLE, L"----结束转换[原文件错误-属性结构定义错误]");
  const long fieldCount = reader.GetFieldCount();
  if (fieldCount < 0) return stop(MAPGIS_NO_TABLE, L"----结束转换[原文件错误-属性结构定义错误]");

  out = CreateLayerWriter(in, staging, base);
  std::wstring failed;
  if (!out->CreateTable(&failed)) return CreateFailed(in.log, *out, failed);
  AttributeColumns columns;
  if (columns.Declare(reader, *out, in.log) != MAPGIS_OK) {
    return stop(MAPGIS_NO_TABLE, L"----结束转换[原文件错误-属性结构定义错误]");
  }

  // Rows are addressed by the record index, so the table holds every record.
  const int n = static_cast<int>(records);
  ProgressSteps progress(in.progress);
  for (int i = 0; i < n; ++i) {
    columns.Write(reader, *out, i, i, in.log);
    if (out->Failure()) break;
    progress.Done(static_cast<long long>(i) + 1, n);
  }
  reader.Close();
  if (out->Failure() || !out->Close()) return WriteFailed(in.log, *out);
  CONVERT_LOG(in.log, L"------I__输出属性文件[%ls]", out->PartName(L".dbf").c_str());
  if (in.options.ExportEmptyFile == 0 && n == 0) {
    out->Discard();
    CONVERT_LOG(in.log, L"------I__转换结果为空文件,已被删除！");
  }
  CONVERT_LOG(in.log, L"----结束转换[全部正确转换(%d/%d)]", n, n);
  if (in.report) in.report->layers.back().slotCount = in.report->layers.back().liveCount = in.report->layers.back().written = n;
  return n == 0 ? kEmptyResult : MAPGIS_OK;
}

}  // namespace

long ConvertTable(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  if (in.report) in.report->layers.push_back(NewLayerReport("table", base, in.options));
  const long result = RunStaged(in, [&](ResultStaging& staging) { return Convert(in, staging, source, base); });
  if (in.report) in.report->layers.back().status = result;
  return result;
}
