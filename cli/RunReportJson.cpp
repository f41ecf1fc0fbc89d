#include "RunReportJson.h"

#include <nlohmann/json.hpp>

#include "MapGisCodePage.h"

using json = nlohmann::ordered_json;

namespace {

std::string Utf8(const std::wstring& s) { return MapGis::WideToUtf8(s); }

json Items(const std::vector<LogItem>& items) {
  json out = json::array();
  for (const LogItem& i : items) {
    out.push_back({{"level", std::string(1, i.level == ' ' ? '-' : i.level)}, {"code", i.code}, {"message", Utf8(i.message)}});
  }
  return out;
}

json Layer(const LayerReport& l) {
  json invalid = json::array();
  for (const InvalidPolygon& p : l.invalid) {
    invalid.push_back({{"index", p.index}, {"x", p.x}, {"y", p.y}, {"reason", p.reason}});
  }
  json records = {{"slots", l.slotCount}, {"live", l.liveCount}};
  records["deleted"] = l.slotCount >= 0 && l.liveCount >= 0 ? l.slotCount - l.liveCount : -1;
  return {{"converter", l.converter},
          {"result", Utf8(l.result)},
          {"status", l.status},
          {"records", records},
          {"written", l.written},
          {"unreadable", {{"count", l.unreadableCount}, {"indexes", l.unreadable}}},
          {"invalid_polygons", {{"count", l.invalidCount}, {"items", invalid}}},
          {"spatial_reference", l.spatialReference},
          {"encoding", l.encoding}};
}

json Entry(const EntryReport& e) {
  json layers = json::array(), files = json::array();
  for (const LayerReport& l : e.layers) layers.push_back(Layer(l));
  for (const OutputFile& f : e.files) files.push_back({{"path", Utf8(f.path)}, {"size", f.size}});
  return {{"source", Utf8(e.source)}, {"kind", e.kind},       {"result", e.result},
          {"status", e.status},       {"layers", layers},     {"files", files},
          {"messages", Items(e.items)}, {"timing", {{"started", e.started}, {"finished", e.finished}}}};
}

}  // namespace

std::string RunReportJson(const RunReport& report, int exitStatus) {
  json entries = json::array();
  for (const EntryReport& e : report.entries) entries.push_back(Entry(e));
  const json doc = {{"entries", entries},
                    {"messages", Items(report.items)},
                    {"summary",
                     {{"done", report.done},
                      {"empty", report.empty},
                      {"skipped", report.skipped},
                      {"failed", report.failed},
                      {"missing", report.missing},
                      {"total", report.total},
                      {"cancelled", report.cancelled}}},
                    {"timing", {{"seconds", report.seconds}}},
                    {"exit_status", exitStatus}};
  return doc.dump(2) + "\n";
}
