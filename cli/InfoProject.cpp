// The report of a project file: what the project reader hands out, item by item.
#include <filesystem>
#include <ostream>
#include <system_error>

#include "InfoParts.h"
#include "MapGis.h"
#include "MapGisProjectPaths.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

// The reader's wide-text outputs are filled from fields of at most 194
// bytes; this is the size the program passes for them.
constexpr size_t kTextBuffer = 2600;

// The meaning of LoadProject's result: an item count or a status.
std::string LoadStatusText(long status) {
  if (status >= 0) return "items loaded";
  switch (status) {
    case MAPGIS_NOT_MAPGIS_FILE: return "not a project file (magic or version wrong)";
    case MAPGIS_READ_FAILED: return "read failed (the header or the item table is cut short or out of range)";
    default: return StatusText(status);
  }
}

// The shape type GetItemInfo gives for an item's kind.
const char* ItemKindName(long kind) {
  switch (kind) {
    case 1: return "point file";
    case 3: return "line file";
    case 5: return "polygon file";
    case 7: return "stored kind 7, passed through";
    case 9: return "stored kind 11, passed through";
    default: return "unknown kind";
  }
}

std::string Utf8(const wchar_t* text) { return WideToUtf8(std::wstring(text)); }

// Where the item's layer is on this system, and whether it is there.
void ReportResolved(std::ostream& out, const std::string& projectPath, const wchar_t* stored) {
  const std::wstring resolved = MapGis::ResolveProjectItem(Utf8ToWide(projectPath), stored);
  out << "      resolved: ";
  if (resolved.empty()) {
    out << "none (the item names no file)\n";
    return;
  }
  const std::string path = WideToUtf8(resolved);
  std::error_code ec;
  const bool exists = std::filesystem::is_regular_file(std::filesystem::u8path(path), ec);
  out << Quoted(path) << (exists ? ", present" : ", missing") << "\n";
}

void ReportItem(std::ostream& out, const std::string& projectPath, MapGis_Prj& project, int index) {
  wchar_t name[kTextBuffer] = {0};
  wchar_t stored[kTextBuffer] = {0};
  wchar_t description[kTextBuffer] = {0};
  double displayMin = 0, displayMax = 0;
  const long kind = project.GetItemInfo(index, name, &displayMin, &displayMax);
  out << "    item " << index << ": ";
  if (kind < 0) {
    out << "status " << kind << " " << StatusText(kind) << "\n";
    return;
  }
  out << "kind " << kind << " " << ItemKindName(kind) << "\n";
  const long storedStatus = project.GetItemFileName(index, stored);
  out << "      stored name: ";
  if (storedStatus == 0) {
    out << Quoted(Utf8(stored)) << "\n";
    ReportResolved(out, projectPath, stored);
  } else {
    out << "unreadable (status " << storedStatus << ")\n";
  }
  out << "      first word: " << Quoted(Utf8(name)) << "\n";
  const long descriptionStatus = project.GetItemDesc(index, description);
  out << "      description: ";
  if (descriptionStatus == 0) {
    out << Quoted(Utf8(description)) << "\n";
  } else {
    out << "unreadable (status " << descriptionStatus << ")\n";
  }
  out << "      display scale: " << Format("%.10g", displayMin) << " to " << Format("%.10g", displayMax) << "\n";
}

}  // namespace

bool ReportProject(std::ostream& out, const std::string& path) {
  MapGis_Prj project;
  const long status = project.LoadProject(Utf8ToWide(path).c_str());
  out << "  status: " << status << " " << LoadStatusText(status) << "\n";
  if (status < 0) return false;

  // A loaded project passed the version check, so its version is 9.
  out << "  kind: project file, version 9\n";
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  project.GetExtentInfo(&xmin, &ymin, &xmax, &ymax);
  out << "  extent: xmin " << Fixed(xmin) << ", ymin " << Fixed(ymin) << ", xmax " << Fixed(xmax) << ", ymax "
      << Fixed(ymax) << "\n";
  MAP_PARAstruct projection{};
  project.GetProjectionInfo(&projection);
  ReportProjection(out, projection);
  wchar_t description[kTextBuffer] = {0};
  project.GetMpjDesc(description);
  out << "  description (first word): " << Quoted(Utf8(description)) << "\n";
  out << "  items: " << status << "\n";
  for (int i = 0; i < static_cast<int>(status); ++i) ReportItem(out, path, project, i);
  return true;
}

}  // namespace gridmoor
