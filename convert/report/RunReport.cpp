#include "RunReport.h"

#include <cwchar>

namespace {

// Stable codes of the log's messages, found by a fragment of their text.
// The first fragment a message holds decides; lines the table does not know
// get "info", "warning", "error" or "record_error" by their level.
struct CodeOf {
  const wchar_t* fragment;
  const char* code;
};

const CodeOf kCodes[] = {
    {L"开始转换[", "conversion_started"},
    {L"结束转换[全部正确转换", "conversion_done"},
    {L"结束转换[文件不存在", "source_missing"},
    {L"结束转换[原文件错误-无投影信息]", "no_projection"},
    {L"结束转换[原文件错误-文件写入失败]", "write_failed"},
    {L"结束转换[原文件错误-非MapGis文件]", "not_mapgis_file"},
    {L"结束转换[原文件错误-几何类型错误]", "wrong_layer_kind"},
    {L"结束转换[原文件错误-文件打开失败]", "open_failed"},
    {L"结束转换[原文件错误-文件读取失败]", "read_failed"},
    {L"结束转换[原文件错误-属性", "attribute_table_invalid"},
    {L"结束转换[原文件错误-发生未知错误]", "unexpected_error"},
    {L"结束转换[原文件错误-非系统文件错误]", "not_system_file"},
    {L"结束转换[存在同名文件，终止后续转换]", "batch_stopped"},
    {L"存在错误(", "records_skipped"},
    {L"不匹配(", "record_count_mismatch"},
    {L"待转换文件无投影信息", "no_projection"},
    {L"字段名重复", "field_name_duplicate"},
    {L"字段被截断", "value_truncated"},
    {L"超出字段宽度", "value_truncated"},
    {L"字段类型SHAPE格式不支持", "field_type_unsupported"},
    {L"字段结构定义存在严重错误", "field_definition_invalid"},
    {L"字段无法输出", "field_not_written"},
    {L"超出颜色库范围", "colour_outside_library"},
    {L"文件图形记录与属性记录数量不匹配", "record_count_mismatch"},
    {L"文件未压缩存盘", "file_not_compacted"},
    {L"超出文件范围", "records_beyond_file"},
    {L"图元信息错误", "record_unreadable"},
    {L"无法创建结果文件", "create_failed"},
    {L"无法写入结果文件", "write_failed"},
    {L"无法写入", "write_failed"},
    {L"转换过程发生异常", "unexpected_error"},
    {L"删除原结果文件", "old_file_removed"},
    {L"转换结果为空文件", "empty_result_deleted"},
    {L"存在同名文件，已覆盖", "result_overwritten"},
    {L"存在同名文件，已跳过", "result_skipped"},
    {L"存在同名文件，自动改名", "result_renamed"},
    {L"后续如果存在同名文件", "clash_policy"},
    {L"输出路径下存在同名文件夹", "folder_renamed"},
    {L"未输出样式文件", "style_not_written"},
    {L"输出样式文件", "style_written"},
    {L"SLD中", "style_approximated"},
    {L"投影文件采用EPSG", "projection_epsg"},
    {L"未匹配EPSG坐标系", "epsg_not_matched"},
    {L"文本，未使用", "epsg_not_matched"},
    {L"不符，未使用", "epsg_not_matched"},
    {L"输出投影文件", "projection_written"},
    {L"输出注记投影", "projection_written"},
    {L"输出图例文件", "legend_written"},
    {L"输出结果文件", "result_written"},
    {L"输出注记文件", "result_written"},
    {L"输出属性文件", "result_written"},
    {L"使用MapGIS颜色库", "colour_library"},
    {L"增加", "columns_added"},
    {L"用户中断了本次转换", "batch_cancelled"},
    {L"转换完成：", "summary"},
    {L"开始时间", "run_started"},
    {L"结束时间", "run_finished"},
    {L"转换信息：", "legend_of_levels"},
};

}  // namespace

void LayerReport::AddUnreadable(long long index) {
  ++unreadableCount;
  if (unreadable.size() < kMaxIndexes) unreadable.push_back(index);
}

void LayerReport::AddInvalid(const InvalidPolygon& polygon) {
  ++invalidCount;
  if (invalid.size() < kMaxIndexes) invalid.push_back(polygon);
}

LogItem ClassifyLogLine(const std::wstring& line) {
  LogItem item;
  item.message = !line.empty() && line[0] == L'>' ? line.substr(1) : line;
  const std::wstring& m = item.message;
  if (m.compare(0, 9, L"------I__") == 0) item.level = 'I';
  if (m.compare(0, 9, L"------W__") == 0) item.level = 'W';
  if (m.compare(0, 9, L"------E__") == 0) item.level = 'E';
  if (m.compare(0, 9, L"------F__") == 0) item.level = 'F';
  for (const CodeOf& c : kCodes) {
    if (m.find(c.fragment) != std::wstring::npos) {
      item.code = c.code;
      return item;
    }
  }
  switch (item.level) {
    case 'W': item.code = "warning"; break;
    case 'E': item.code = "error"; break;
    case 'F': item.code = "record_error"; break;
    default: item.code = "info"; break;
  }
  return item;
}
