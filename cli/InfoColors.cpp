// The report of a colour library: its head, its spot inks and, on request,
// every colour with its stored bytes and what the library resolves it to.
#include <algorithm>
#include <ostream>

#include "InfoParts.h"
#include "InfoReport.h"
#include "MapGis.h"
#include "StoredColors.h"
#include "TextFormat.h"

using namespace MapGis;

namespace gridmoor {

namespace {

// The meaning of LoadColors's result: a colour count or a status.
std::string LoadStatusText(long status) {
  if (status >= 0) return "colours loaded";
  switch (status) {
    case MAPGIS_NOT_MAPGIS_FILE:
      return "not a colour library (no \"PCOLOR 3\" at the start, or more than 28 spot inks)";
    case MAPGIS_READ_FAILED: return "read failed (shorter than the 156-byte head, or a negative colour count)";
    default: return StatusText(status);
  }
}

std::string Inks(const CMYKQUAD& q) {
  return Format("K %d C %d M %d Y %d", q.cmykBlack, q.cmykCyan, q.cmykMagenta, q.cmykYellow);
}

// Spot inks the records carry shares of: the head's count within the room
// of a record (a library with more does not load).
int InkCount(const COLORLIB_HEAD& head) { return std::clamp<int>(head.inkCount, 0, MAPGIS_MAX_INKS); }

void ReportRecordCount(std::ostream& out, const StoredColors& stored) {
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

void ReportColor(std::ostream& out, const MapGis_ColorLib& library, const StoredColors& stored, long number) {
  out << "    " << number << ": stored ";
  const size_t index = static_cast<size_t>(number - 1);
  if (index < stored.colors.size()) {
    const MAPGIS_Color& c = stored.colors[index];
    out << Inks(c.base);
    const int inks = InkCount(stored.head);
    if (inks > 0) {
      out << ", shares";
      for (int i = 0; i < inks; ++i) out << " " << int(c.inkShare[i]);
    }
  } else {
    out << "unreadable";
  }
  const CMYKQUAD percent = library.GetCMYK(number);
  const RGBTRIPLE rgb = library.GetRGB(number);
  out << ", percent " << Inks(percent);
  out << Format(", rgb %d,%d,%d #%02X%02X%02X\n", rgb.rgbtRed, rgb.rgbtGreen, rgb.rgbtBlue, rgb.rgbtRed,
                rgb.rgbtGreen, rgb.rgbtBlue);
}

}  // namespace

bool ReportColorLibrary(std::ostream& out, const std::string& path, bool listColors, const InfoOptions& options) {
  MapGis_ColorLib library;
  const long status = library.LoadColors(Utf8ToWide(path).c_str());
  out << "  status: " << status << " " << LoadStatusText(status) << "\n";
  if (status < 0) return false;
  out << "  kind: colour library\n";

  // The library resolves colours; the stored head and records are read here
  // once more to show the bytes behind them.
  StoredColors stored;
  std::string error;
  const bool haveStored = ReadStoredColors(path, stored, error);
  const long loaded = library.GetColorNum();
  if (haveStored) {
    out << "  colours: " << stored.head.colorCount << " in the head, " << loaded << " loaded\n";
    ReportRecordCount(out, stored);
    const int inks = InkCount(stored.head);
    out << "  inks: " << stored.head.inkCount << "\n";
    for (int i = 0; i < inks; ++i) out << "    ink " << i << ": " << Inks(stored.head.inks[i]) << "\n";
  } else {
    out << "  colours: " << loaded << " loaded\n";
    out << "  stored bytes: unreadable (" << error << ")\n";
  }

  if (!listColors) {
    out << "  colour lines: listed with --colors\n";
    return true;
  }
  long shown = loaded;
  if (options.recordsGiven) shown = std::min<long>(loaded, std::max(0, options.records));
  out << "  colours (first " << shown << " of " << loaded << "):\n";
  for (long n = 1; n <= shown; ++n) ReportColor(out, library, stored, n);
  return true;
}

}  // namespace gridmoor
