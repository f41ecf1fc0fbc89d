// The JSON form of the report: common parts, projects, colour libraries and
// the document around the files.
#include "InfoJson.h"

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <sstream>

#include "InfoJsonParts.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

Json AngleJson(double dms) { return {{"dms", dms}, {"degrees", DMS2Degree(dms)}}; }

Json CmykJson(const CMYKQUAD& q) {
  return {{"k", q.cmykBlack}, {"c", q.cmykCyan}, {"m", q.cmykMagenta}, {"y", q.cmykYellow}};
}

Json ItemJson(const ProjectItem& item, size_t index) {
  Json j = {{"index", index}};
  if (item.kind < 0) {
    j["status"] = StatusJson(item.kind, StatusText(item.kind));
    return j;
  }
  j["kind"] = {{"code", item.kind}, {"name", ProjectItemKindName(item.kind)}};
  if (item.storedStatus == 0) {
    j["storedName"] = item.storedName;
    j["resolved"] = item.resolved.empty() ? Json(nullptr) : Json{{"path", item.resolved}, {"present", item.present}};
  } else {
    j["storedName"] = nullptr;
    j["storedNameStatus"] = item.storedStatus;
  }
  j["firstWord"] = item.firstWord;
  if (item.descriptionStatus == 0) {
    j["description"] = item.description;
  } else {
    j["description"] = nullptr;
    j["descriptionStatus"] = item.descriptionStatus;
  }
  j["displayScale"] = {{"min", item.displayMin}, {"max", item.displayMax}};
  return j;
}

Json ColorJson(const ColorLine& c, int inks) {
  Json stored = nullptr;
  if (c.stored) {
    stored = CmykJson(c.record.base);
    Json shares = Json::array();
    for (int i = 0; i < inks; ++i) shares.push_back(c.record.inkShare[i]);
    stored["shares"] = std::move(shares);
  }
  const RGBTRIPLE& rgb = c.rgb;
  return {{"number", c.number},
          {"stored", std::move(stored)},
          {"percent", CmykJson(c.percent)},
          {"rgb",
           {{"r", rgb.rgbtRed},
            {"g", rgb.rgbtGreen},
            {"b", rgb.rgbtBlue},
            {"hex", Format("#%02X%02X%02X", rgb.rgbtRed, rgb.rgbtGreen, rgb.rgbtBlue)}}}};
}

const char* KindKey(FileKind kind) {
  switch (kind) {
    case FileKind::Layer: return "layer";
    case FileKind::Project: return "project";
    case FileKind::ColorLibrary: return "colourLibrary";
  }
  return "";
}

Json FileJson(const InspectedFile& file) {
  Json j = {{"path", file.path}, {"kind", KindKey(file.kind)}, {"read", file.read}};
  switch (file.kind) {
    case FileKind::Layer:
      j["status"] = StatusJson(file.layer.status, StatusText(file.layer.status));
      if (file.read) j["layer"] = LayerJson(file.layer);
      break;
    case FileKind::Project:
      j["status"] = StatusJson(file.project.status, ProjectLoadStatusText(file.project.status));
      if (file.read) j["project"] = ProjectJson(file.project);
      break;
    case FileKind::ColorLibrary:
      j["status"] = StatusJson(file.colors.status, ColorLoadStatusText(file.colors.status));
      if (file.read) j["colourLibrary"] = ColorLibraryJson(file.colors);
      break;
  }
  return j;
}

// Text from files and paths need not be valid UTF-8: bad bytes become U+FFFD
// rather than stopping the report.
std::string Dump(const Json& j) { return j.dump(2, ' ', false, Json::error_handler_t::replace); }

// Writes `text` nested `indent` spaces deeper, its first line from where
// the output stands (dumped JSON keeps newlines only between tokens).
void Nested(std::ostream& out, const std::string& text, int indent) {
  const std::string pad(static_cast<size_t>(indent), ' ');
  std::istringstream lines(text);
  std::string line;
  bool first = true;
  while (std::getline(lines, line)) {
    if (!first) out << "\n" << pad;
    out << line;
    first = false;
  }
}

}  // namespace

Json StatusJson(long status, const std::string& text) { return {{"code", status}, {"text", text}}; }

Json ExtentJson(const Extent& e) { return {{"xmin", e.xmin}, {"ymin", e.ymin}, {"xmax", e.xmax}, {"ymax", e.ymax}}; }

Json ProjectionJson(const MAP_PARAstruct& p) {
  return {{"coordType", {{"code", int(p.coordType)}, {"name", CoordTypeName(p.coordType)}}},
          {"unit", {{"code", int(p.unit)}, {"name", UnitName(p.unit)}}},
          {"projType", int(p.projType)},
          {"ellipsoid", int(p.ellipsoid)},
          {"scale", p.scale},
          {"centralMeridian", AngleJson(p.centralMeridian)},
          {"originLatitude", AngleJson(p.originLatitude)},
          {"parallel1", AngleJson(p.parallel1)},
          {"parallel2", AngleJson(p.parallel2)},
          {"height", p.height},
          {"sizeFactorX", p.sizeFactorX},
          {"sizeFactorY", p.sizeFactorY}};
}

double ShortFloat(float v) {
  if (!std::isfinite(v)) return v;
  for (int digits = 1; digits < 9; ++digits) {
    const double shorter = std::strtod(Format("%.*g", digits, static_cast<double>(v)).c_str(), nullptr);
    if (static_cast<float>(shorter) == v) return shorter;
  }
  return v;
}

Json ProjectJson(const ProjectInfo& info) {
  Json items = Json::array();
  for (size_t i = 0; i < info.items.size(); ++i) items.push_back(ItemJson(info.items[i], i));
  return {{"version", 9},
          {"extent", ExtentJson(info.extent)},
          {"projection", ProjectionJson(info.projection)},
          {"description", info.description},
          {"items", std::move(items)}};
}

Json ColorLibraryJson(const ColorLibraryInfo& info) {
  const StoredColors& stored = info.stored;
  Json j = {{"loaded", info.loaded}};
  if (info.haveStored) {
    Json inks = Json::array();
    for (int i = 0; i < InkCount(stored.head); ++i) inks.push_back(CmykJson(stored.head.inks[i]));
    j["head"] = {{"colourCount", stored.head.colorCount}, {"inkCount", stored.head.inkCount}, {"inks", inks}};
    j["recordsInFile"] = stored.recordsInFile;
    j["trailingBytes"] = stored.trailingBytes;
  } else {
    j["head"] = nullptr;
    j["storedError"] = info.storedError;
  }
  if (info.listed) {
    Json colors = Json::array();
    for (const ColorLine& c : info.colors) colors.push_back(ColorJson(c, InkCount(stored.head)));
    j["colours"] = std::move(colors);
  }
  return j;
}

JsonReportWriter::JsonReportWriter(std::ostream& out) : out_(out) { out_ << "{\n  \"files\": ["; }

void JsonReportWriter::Add(const InspectedFile& file) {
  out_ << (files_ > 0 ? ",\n    " : "\n    ");
  Nested(out_, Dump(FileJson(file)), 4);
  ++files_;
  if (!file.read) ++failed_;
}

void JsonReportWriter::Finish() {
  const Json summary = {{"files", files_}, {"read", files_ - failed_}, {"failed", failed_}};
  out_ << (files_ > 0 ? "\n  " : "") << "],\n  \"summary\": ";
  Nested(out_, Dump(summary), 2);
  out_ << "\n}\n";
}

}  // namespace gridmoor
