// Attribute-table conversion: a MapGIS table file copied into a dBASE
// table with the field mapping of the layer conversions.
#include <cstdio>

#include "AttributeColumns.h"
#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "LayerConversion.h"
#include "Settings.h"
#include "ShapefileOutput.h"
#include "TableText.h"

using namespace MapGis;

long CGridmoorProView::ConvertWB2DBF(std::wstring source, std::wstring base) {
  CONVERT_LOG(L"开始转换[%ls]", source.c_str());
  MapGis_FastReader reader;
  ShapefileOutput out;
  auto stop = [&](long result, const wchar_t* closing) {
    CONVERT_LOG(L"%ls", closing);
    out.Close();
    reader.Close();
    return result;
  };

  const long status = reader.Open(source.c_str());
  if (status < 0) return stop(status, OpenClosingText(status));
  const long records = reader.GetRecordCount();
  if (records < 0) return stop(MAPGIS_NO_TABLE, L"----结束转换[原文件错误-属性结构定义错误]");
  const long fieldCount = reader.GetFieldCount();
  if (fieldCount < 0) return stop(MAPGIS_NO_TABLE, L"----结束转换[原文件错误-属性结构定义错误]");

  std::wstring failed;
  if (!out.CreateTable(base, TableText::Utf8Tables(), &failed)) {
    CONVERT_LOG(L"------E__无法创建结果文件[%ls]", failed.c_str());
    return stop(MAPGIS_WRITE_FAILED, L"----结束转换[原文件错误-文件写入失败]");
  }
  AttributeColumns columns;
  if (columns.Declare(reader, out) != MAPGIS_OK) {
    return stop(MAPGIS_NO_TABLE, L"----结束转换[原文件错误-属性结构定义错误]");
  }

  // Rows are addressed by the record index, so the table holds every record.
  const int n = static_cast<int>(records);
  for (int i = 0; i < n; ++i) {
    columns.Write(reader, out, i, i);
    if (host_) host_->SetProgress(static_cast<int>((static_cast<long long>(i) + 1) * 100 / n));
  }

  out.Close();
  reader.Close();
  CONVERT_LOG(L"------I__输出属性文件[%ls.dbf]", base.c_str());
  if (Settings::ExportEmptyFile == 0 && n == 0) {
    for (const std::string& f : out.CreatedFiles()) std::remove(f.c_str());
    CONVERT_LOG(L"------I__转换结果为空文件,已被删除！");
  }
  CONVERT_LOG(L"----结束转换[全部正确转换(%d/%d)]", n, n);
  return MAPGIS_OK;
}
