// The report of a colour library: its head, its spot inks and, on request,
// every colour with its stored bytes and what the library resolves it to.
#include <algorithm>
#include <ostream>

#include "InfoModel.h"
#include "InfoParts.h"
#include "InfoReport.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

std::string Inks(const CMYKQUAD& q) {
  return Format("K %d C %d M %d Y %d", q.cmykBlack, q.cmykCyan, q.cmykMagenta, q.cmykYellow);
}

void PrintRecordCount(std::ostream& out, const StoredColors& stored) {
  const uint64_t counted = stored.head.colorCount > 0 ? static_cast<uint64_t>(stored.head.colorCount) : 0;
  out << "  records in the file: " << stored.recordsInFile << " complete";
  if (stored.recordsInFile > counted) {
    out << ", " << (stored.recordsInFile - counted) << " beyond the head's count (not loaded)";
  } else if (stored.recordsInFile < counted) {
    out << ", " << (counted - stored.recordsInFile) << " fewer than the head counts (those are outside the library)";
  }
  if (stored.trailingBytes > 0) out << ", " << stored.trailingBytes << " bytes of an incomplete record";
  out << "\n";
}

void PrintColor(std::ostream& out, const ColorLine& c, int inks) {
  out << "    " << c.number << ": stored ";
  if (c.stored) {
    out << Inks(c.record.base);
    if (inks > 0) {
      out << ", shares";
      for (int i = 0; i < inks; ++i) out << " " << int(c.record.inkShare[i]);
    }
  } else {
    out << "unreadable";
  }
  out << ", percent " << Inks(c.percent);
  out << Format(", rgb %d,%d,%d #%02X%02X%02X\n", c.rgb.rgbtRed, c.rgb.rgbtGreen, c.rgb.rgbtBlue, c.rgb.rgbtRed,
                c.rgb.rgbtGreen, c.rgb.rgbtBlue);
}

}  // namespace

// The meaning of LoadColors's result: a colour count or a status.
std::string ColorLoadStatusText(long status) {
  if (status >= 0) return "colours loaded";
  switch (status) {
    case MAPGIS_NOT_MAPGIS_FILE:
      return "not a colour library (no \"PCOLOR 3\" at the start, or more than 28 spot inks)";
    case MAPGIS_READ_FAILED: return "read failed (shorter than the 156-byte head, or a negative colour count)";
    default: return StatusText(status);
  }
}

// The head's count within the room of a record (a library with more does not load).
int InkCount(const COLORLIB_HEAD& head) { return std::clamp<int>(head.inkCount, 0, MAPGIS_MAX_INKS); }

ColorLibraryInfo ReadColorLibraryInfo(const std::string& path, bool listColors, const InfoOptions& options) {
  ColorLibraryInfo info;
  MapGis_ColorLib library;
  info.status = library.LoadColors(Utf8ToWide(path).c_str());
  if (info.status < 0) return info;

  // The library resolves colours; the stored head and records are read here
  // once more to show the bytes behind them.
  info.haveStored = ReadStoredColors(path, info.stored, info.storedError);
  info.loaded = library.GetColorNum();
  info.listed = listColors;
  if (!listColors) return info;
  long shown = info.loaded;
  if (options.recordsGiven) shown = std::min<long>(info.loaded, std::max(0, options.records));
  for (long n = 1; n <= shown; ++n) {
    ColorLine line{n, false};
    const size_t index = static_cast<size_t>(n - 1);
    if (index < info.stored.colors.size()) {
      line.stored = true;
      line.record = info.stored.colors[index];
    }
    line.percent = library.GetCMYK(n);
    line.rgb = library.GetRGB(n);
    info.colors.push_back(line);
  }
  return info;
}

bool PrintColorLibrary(std::ostream& out, const ColorLibraryInfo& info) {
  out << "  status: " << info.status << " " << ColorLoadStatusText(info.status) << "\n";
  if (info.status < 0) return false;
  out << "  kind: colour library\n";
  const StoredColors& stored = info.stored;
  if (info.haveStored) {
    out << "  colours: " << stored.head.colorCount << " in the head, " << info.loaded << " loaded\n";
    PrintRecordCount(out, stored);
    const int inks = InkCount(stored.head);
    out << "  inks: " << stored.head.inkCount << "\n";
    for (int i = 0; i < inks; ++i) out << "    ink " << i << ": " << Inks(stored.head.inks[i]) << "\n";
  } else {
    out << "  colours: " << info.loaded << " loaded\n";
    out << "  stored bytes: unreadable (" << info.storedError << ")\n";
  }

  if (!info.listed) {
    out << "  colour lines: listed with --colors\n";
    return true;
  }
  out << "  colours (first " << info.colors.size() << " of " << info.loaded << "):\n";
  for (const ColorLine& c : info.colors) PrintColor(out, c, InkCount(stored.head));
  return true;
}

}  // namespace gridmoor
