// The JSON form of a layer: header, counts, sections, records and tables.
#include <cstdlib>

#include "InfoJsonParts.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

Json RecordStatusJson(long status) {
  Json j = StatusJson(status, StatusText(status));
  j["deleted"] = status == MAPGIS_DELETED;
  return j;
}

Json PointJson(const GeometryRecord& r) {
  const MAPGIS_PntInfo& p = r.point;
  const int kind = p.kind;
  Json j = {{"x", p.x}, {"y", p.y}, {"kind", kind}, {"colour", p.color}, {"layer", p.layer}};
  if (kind == 0 || kind == 5) {
    if (r.textRead) {
      j["text"] = r.textStatus == MAPGIS_OK ? Json(r.text) : Json(nullptr);
      if (r.textStatus != MAPGIS_OK) j["textStatus"] = RecordStatusJson(r.textStatus);
    }
    const MAPGIS_NoteParam n = p.param.note;
    j["annotation"] = {{"height", ShortFloat(n.height)}, {"width", ShortFloat(n.width)},
                       {"spacing", ShortFloat(n.space)}, {"angle", ShortFloat(n.angle)},
                       {"chineseFont", n.chFont},        {"westernFont", n.enFont},
                       {"style", int(n.fontStyle)},      {"align", int(n.align)}};
  } else if (kind == 1) {
    const MAPGIS_SubParam s = p.param.sub;
    j["subPicture"] = {{"symbol", s.subNumber},
                       {"height", ShortFloat(s.height)},
                       {"width", ShortFloat(s.width)},
                       {"angle", ShortFloat(s.angle)}};
  }
  return j;
}

Json LineJson(const GeometryRecord& r) {
  const MAPGIS_LineInfo& l = r.line;
  return {{"vertices", l.pointCount}, {"lineType", l.lineType},        {"colour", l.color},
          {"width", ShortFloat(l.width)}, {"layer", l.layer}};
}

Json PolygonJson(const GeometryRecord& r) {
  const MAPGIS_RegInfo& p = r.polygon;
  return {{"rings", r.rings},        {"vertices", r.vertices}, {"fillColour", p.fillColor},
          {"pattern", p.pattern},    {"layer", p.layer}};
}

Json GeometryTableJson(const GeometryTable& table) {
  Json records = Json::array();
  for (size_t i = 0; i < table.records.size(); ++i) {
    const GeometryRecord& r = table.records[i];
    Json j = {{"index", i}};
    if (r.status != MAPGIS_OK) {
      j["status"] = RecordStatusJson(r.status);
    } else {
      switch (table.kind) {
        case GeometryKind::Point: j.update(PointJson(r)); break;
        case GeometryKind::Line: j.update(LineJson(r)); break;
        case GeometryKind::Polygon: j.update(PolygonJson(r)); break;
      }
    }
    records.push_back(std::move(j));
  }
  return {{"table", table.name}, {"slots", table.slots}, {"records", std::move(records)}};
}

Json ValueJson(const AttributeValue& v) {
  switch (v.kind) {
    case AttributeValue::Kind::Missing: return nullptr;
    case AttributeValue::Kind::Text:
    case AttributeValue::Kind::Moment: return v.text;
    case AttributeValue::Kind::Integer: return v.integer;
    case AttributeValue::Kind::Real: return std::strtod(v.text.c_str(), nullptr);
    case AttributeValue::Kind::Bool: return v.flag;
    case AttributeValue::Kind::Raw: return Hex(v.text.data(), v.text.size(), v.text.size());
  }
  return nullptr;
}

Json FieldJson(const FieldInfo& f, size_t index) {
  if (!f.valid) return {{"index", index}, {"status", StatusJson(f.status, StatusText(f.status))}};
  return {{"index", index},
          {"name", f.name},
          {"type", {{"code", f.type}, {"name", FieldTypeName(f.type)}}},
          {"width", f.width},
          {"display", f.display},
          {"decimals", f.decimals}};
}

Json AttributeTableJson(const AttributeTable& t) {
  Json j = {{"kind", t.kind}, {"name", t.name}};
  if (t.status != MAPGIS_OK) {
    j["status"] = StatusJson(t.status, StatusText(t.status));
    return j;
  }
  j["fieldCount"] = t.fieldCount;
  j["recordCount"] = t.recordCount;
  Json fields = Json::array();
  for (size_t i = 0; i < t.fields.size(); ++i) fields.push_back(FieldJson(t.fields[i], i));
  j["fields"] = std::move(fields);
  Json records = Json::array();
  for (const std::vector<AttributeValue>& values : t.records) {
    Json row = Json::array();
    for (const AttributeValue& v : values) row.push_back(ValueJson(v));
    records.push_back(std::move(row));
  }
  j["records"] = std::move(records);
  return j;
}

Json SectionsJson(const SectionList& s) {
  if (!s.readable) return {{"readable", false}, {"error", s.error}};
  Json entries = Json::array();
  for (const SectionEntry& e : s.entries) entries.push_back({{"offset", e.offset}, {"length", e.length}});
  return {{"readable", true}, {"entries", std::move(entries)}};
}

}  // namespace

Json LayerJson(const LayerInfo& info) {
  Json counts = Json::array();
  for (const TableCount& c : info.counts) {
    counts.push_back({{"table", c.table}, {"live", c.live}, {"slots", c.slots}, {"compacted", c.live == c.slots}});
  }
  Json j = {{"type", {{"code", info.type}, {"name", LayerKindName(info.type)}}},
            {"counts", std::move(counts)},
            {"extent", ExtentJson(info.extent)},
            {"projection", ProjectionJson(info.projection)},
            {"tics", info.usesTics ? Json(info.tics) : Json(nullptr)},
            {"sections", SectionsJson(info.sections)}};
  if (!info.geometry.empty()) {
    Json tables = Json::array();
    for (const GeometryTable& t : info.geometry) tables.push_back(GeometryTableJson(t));
    j["records"] = std::move(tables);
  }
  Json tables = Json::array();
  for (const AttributeTable& t : info.tables) tables.push_back(AttributeTableJson(t));
  j["attributeTables"] = std::move(tables);
  return j;
}

}  // namespace gridmoor
