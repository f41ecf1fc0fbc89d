// The report of a project file: what the project reader hands out, item by item.
#include <filesystem>
#include <ostream>
#include <system_error>

#include "InfoModel.h"
#include "InfoParts.h"
#include "MapGisProjectPaths.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

// The reader's wide-text outputs are filled from fields of at most 194
// bytes; this is the size the program passes for them.
constexpr size_t kTextBuffer = 2600;

std::string Utf8(const wchar_t* text) { return WideToUtf8(std::wstring(text)); }

ProjectItem ReadItem(const std::string& projectPath, MapGis_Prj& project, int index) {
  ProjectItem item;
  wchar_t name[kTextBuffer] = {0};
  wchar_t stored[kTextBuffer] = {0};
  wchar_t description[kTextBuffer] = {0};
  item.kind = project.GetItemInfo(index, name, &item.displayMin, &item.displayMax);
  if (item.kind < 0) return item;
  item.storedStatus = project.GetItemFileName(index, stored);
  if (item.storedStatus == 0) {
    item.storedName = Utf8(stored);
    // Where the item's layer is on this system, and whether it is there.
    const std::wstring resolved = MapGis::ResolveProjectItem(Utf8ToWide(projectPath), stored);
    if (!resolved.empty()) {
      item.resolved = WideToUtf8(resolved);
      std::error_code ec;
      item.present = std::filesystem::is_regular_file(std::filesystem::u8path(item.resolved), ec);
    }
  }
  item.firstWord = Utf8(name);
  item.descriptionStatus = project.GetItemDesc(index, description);
  if (item.descriptionStatus == 0) item.description = Utf8(description);
  return item;
}

void PrintItem(std::ostream& out, const ProjectItem& item, size_t index) {
  out << "    item " << index << ": ";
  if (item.kind < 0) {
    out << "status " << item.kind << " " << StatusText(item.kind) << "\n";
    return;
  }
  out << "kind " << item.kind << " " << ProjectItemKindName(item.kind) << "\n";
  out << "      stored name: ";
  if (item.storedStatus == 0) {
    out << Quoted(item.storedName) << "\n";
    out << "      resolved: ";
    if (item.resolved.empty()) {
      out << "none (the item names no file)\n";
    } else {
      out << Quoted(item.resolved) << (item.present ? ", present" : ", missing") << "\n";
    }
  } else {
    out << "unreadable (status " << item.storedStatus << ")\n";
  }
  out << "      first word: " << Quoted(item.firstWord) << "\n";
  out << "      description: ";
  if (item.descriptionStatus == 0) {
    out << Quoted(item.description) << "\n";
  } else {
    out << "unreadable (status " << item.descriptionStatus << ")\n";
  }
  out << "      display scale: " << Format("%.10g", item.displayMin) << " to " << Format("%.10g", item.displayMax)
      << "\n";
}

}  // namespace

// The meaning of LoadProject's result: an item count or a status.
std::string ProjectLoadStatusText(long status) {
  if (status >= 0) return "items loaded";
  switch (status) {
    case MAPGIS_NOT_MAPGIS_FILE: return "not a project file (magic or version wrong)";
    case MAPGIS_READ_FAILED: return "read failed (the header or the item table is cut short or out of range)";
    default: return StatusText(status);
  }
}

// The shape type GetItemInfo gives for an item's kind.
const char* ProjectItemKindName(long kind) {
  switch (kind) {
    case 1: return "point file";
    case 3: return "line file";
    case 5: return "polygon file";
    case 7: return "stored kind 7, passed through";
    case 9: return "stored kind 11, passed through";
    default: return "unknown kind";
  }
}

ProjectInfo ReadProjectInfo(const std::string& path) {
  ProjectInfo info;
  MapGis_Prj project;
  info.status = project.LoadProject(Utf8ToWide(path).c_str());
  if (info.status < 0) return info;
  Extent& e = info.extent;
  project.GetExtentInfo(&e.xmin, &e.ymin, &e.xmax, &e.ymax);
  project.GetProjectionInfo(&info.projection);
  wchar_t description[kTextBuffer] = {0};
  project.GetMpjDesc(description);
  info.description = Utf8(description);
  for (int i = 0; i < static_cast<int>(info.status); ++i) info.items.push_back(ReadItem(path, project, i));
  return info;
}

bool PrintProject(std::ostream& out, const ProjectInfo& info) {
  out << "  status: " << info.status << " " << ProjectLoadStatusText(info.status) << "\n";
  if (info.status < 0) return false;
  // A loaded project passed the version check, so its version is 9.
  out << "  kind: project file, version 9\n";
  PrintExtent(out, info.extent);
  PrintProjection(out, info.projection);
  out << "  description (first word): " << Quoted(info.description) << "\n";
  out << "  items: " << info.status << "\n";
  for (size_t i = 0; i < info.items.size(); ++i) PrintItem(out, info.items[i], i);
  return true;
}

}  // namespace gridmoor
