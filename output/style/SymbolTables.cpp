#include "SymbolTables.h"

namespace cartography {

std::vector<double> DashOfLineType(int lineType) {
  switch (lineType) {
    case 2: return {4.0, 2.0};
    case 3: return {0.6, 1.2};
    case 4: return {4.0, 1.5, 0.6, 1.5};
    case 5: return {4.0, 1.5, 0.6, 1.5, 0.6, 1.5};
    case 6: return {8.0, 2.0};
    case 7: return {2.0, 1.5};
    default: return {};
  }
}

Hatch HatchOfPattern(int pattern) {
  if (pattern <= 0) return Hatch::None;
  static const Hatch kCycle[] = {Hatch::Forward,  Hatch::Backward, Hatch::Horizontal,
                                 Hatch::Vertical, Hatch::Cross,    Hatch::DiagonalCross};
  return kCycle[(pattern - 1) % 6];
}

std::vector<double> HatchAngles(Hatch hatch) {
  switch (hatch) {
    case Hatch::Forward: return {45.0};
    case Hatch::Backward: return {135.0};
    case Hatch::Horizontal: return {0.0};
    case Hatch::Vertical: return {90.0};
    case Hatch::Cross: return {0.0, 90.0};
    case Hatch::DiagonalCross: return {45.0, 135.0};
    case Hatch::None: break;
  }
  return {};
}

namespace {

// The families of one look, simplified and traditional Chinese.
struct Face {
  const char* windows;
  const char* linux;
};
const Face kSong = {"SimSun", "Noto Serif CJK SC"};
const Face kHei = {"SimHei", "Noto Sans CJK SC"};
const Face kKai = {"KaiTi", "AR PL UKai CN"};
const Face kFangSong = {"FangSong", "Noto Serif CJK SC"};
const Face kYaHei = {"Microsoft YaHei", "Noto Sans CJK SC"};
const Face kMing = {"MingLiU", "Noto Serif CJK TC"};
const Face kJhengHei = {"Microsoft JhengHei", "Noto Sans CJK TC"};
const Face kKaiTraditional = {"DFKai-SB", "AR PL UKai TW"};

struct FontEntry {
  const Face* face;
  bool bold;
};

// By MapGIS font number 0..28 (the names MapGIS gives them in the comments).
const FontEntry kFonts[29] = {
    {&kHei, false},             // 0 单线 (single-stroke lettering)
    {&kSong, false},            // 1 宋体
    {&kFangSong, false},        // 2 (not a font number: read as 仿宋)
    {&kHei, false},             // 3 黑体
    {&kKai, false},             // 4 楷体
    {&kKai, false},             // 5 隶书 (no clerical script on both systems)
    {&kHei, true},              // 6 大黑
    {&kKai, false},             // 7 行楷
    {&kKai, false},             // 8 魏碑
    {&kSong, false},            // 9 姚体
    {&kYaHei, false},           // 10 美黑
    {&kKai, false},             // 11 隶变
    {&kSong, true},             // 12 标宋
    {&kYaHei, false},           // 13 细圆
    {&kYaHei, true},            // 14 粗圆
    {&kFangSong, false},        // 15 仿宋
    {&kJhengHei, false},        // 16 繁单线
    {&kMing, false},            // 17 繁宋体
    {&kMing, false},            // 18 繁仿宋
    {&kJhengHei, false},        // 19 繁黑体
    {&kKaiTraditional, false},  // 20 繁楷体
    {&kKaiTraditional, false},  // 21 繁隶变
    {&kJhengHei, true},         // 22 繁大黑
    {&kKaiTraditional, false},  // 23 繁行楷
    {&kKaiTraditional, false},  // 24 繁魏碑
    {&kJhengHei, false},        // 25 繁细圆
    {&kJhengHei, true},         // 26 繁粗圆
    {&kJhengHei, false},        // 27 繁美黑
    {&kJhengHei, true},         // 28 繁综艺
};

}  // namespace

FontFaces FontOfNumber(int fontNumber) {
  const FontEntry& entry = fontNumber >= 0 && fontNumber <= 28 ? kFonts[fontNumber] : kFonts[15];
  return FontFaces{{entry.face->windows, entry.face->linux, "WenQuanYi Micro Hei"}, entry.bold};
}

}  // namespace cartography
