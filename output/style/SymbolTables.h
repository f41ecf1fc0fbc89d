#pragma once
// How MapGIS line types, fill patterns and font numbers are drawn without
// the MapGIS system libraries: a dash pattern per common line type, a hatch
// per fill pattern, and font families found on Windows and on Linux.
#include <string>
#include <vector>

namespace cartography {

// Dash pattern of a MapGIS line type, in millimetres (dash, gap, ...):
//   0, 1 solid               5 dash-dot-dot 4 1.5 0.6 1.5 0.6 1.5
//   2 dashed 4 2             6 long dash    8 2
//   3 dotted 0.6 1.2         7 short dash   2 1.5
//   4 dash-dot 4 1.5 0.6 1.5
// Every other type (decorated lines of a line library: railways,
// boundaries ...) is drawn solid. Empty means solid.
std::vector<double> DashOfLineType(int lineType);

// The hatch that stands for a MapGIS fill pattern: lines in the pattern
// colour over the fill colour. Pattern 0 is a plain fill; patterns 1, 2, 3
// ... take the six hatches in turn (45 degrees, 135 degrees, horizontal,
// vertical, crossed, diagonally crossed), so neighbouring pattern numbers
// look different. Lines are 0.2 mm wide, 2.5 mm apart.
enum class Hatch { None, Forward, Backward, Horizontal, Vertical, Cross, DiagonalCross };
Hatch HatchOfPattern(int pattern);
// Angles (degrees, counter-clockwise from east) of the hatch's line sets.
std::vector<double> HatchAngles(Hatch hatch);
constexpr double kHatchSpacingMm = 2.5;
constexpr double kHatchWidthMm = 0.2;

// Font families standing for a MapGIS Chinese font number: the Windows
// family first, then its Linux counterpart (Debian fonts-noto-cjk or
// fonts-arphic-ukai), then a CJK sans font common on Linux desktops.
// Numbers outside the font table stand for FangSong, as MapGIS reads them.
struct FontFaces {
  std::vector<std::string> families;
  bool bold = false;
};
FontFaces FontOfNumber(int fontNumber);

}  // namespace cartography
