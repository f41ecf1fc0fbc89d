// Names of MapGIS annotation fonts and font styles, as GBK bytes (the names
// are written into GBK tables and label mark-up unchanged).
#include <cstring>

#include "MapGisLegend.h"

namespace MapGis {

namespace {

// Font numbers 0..28; number 2 has no font of its own.
const char* const kFontNames[] = {
    "\xB5\xA5\xCF\xDF",              // 0 单线
    "\xCB\xCE\xCC\xE5",              // 1 宋体
    nullptr,                         // 2
    "\xBA\xDA\xCC\xE5",              // 3 黑体
    "\xBF\xAC\xCC\xE5",              // 4 楷体
    "\xC1\xA5\xCA\xE9",              // 5 隶书
    "\xB4\xF3\xBA\xDA",              // 6 大黑
    "\xD0\xD0\xBF\xAC",              // 7 行楷
    "\xCE\xBA\xB1\xAE",              // 8 魏碑
    "\xD2\xA6\xCC\xE5",              // 9 姚体
    "\xC3\xC0\xBA\xDA",              // 10 美黑
    "\xC1\xA5\xB1\xE4",              // 11 隶变
    "\xB1\xEA\xCB\xCE",              // 12 标宋
    "\xCF\xB8\xD4\xB2",              // 13 细圆
    "\xB4\xD6\xD4\xB2",              // 14 粗圆
    "\xB7\xC2\xCB\xCE",              // 15 仿宋
    "\xB7\xB1\xB5\xA5\xCF\xDF",      // 16 繁单线
    "\xB7\xB1\xCB\xCE\xCC\xE5",      // 17 繁宋体
    "\xB7\xB1\xB7\xC2\xCB\xCE",      // 18 繁仿宋
    "\xB7\xB1\xBA\xDA\xCC\xE5",      // 19 繁黑体
    "\xB7\xB1\xBF\xAC\xCC\xE5",      // 20 繁楷体
    "\xB7\xB1\xC1\xA5\xB1\xE4",      // 21 繁隶变
    "\xB7\xB1\xB4\xF3\xBA\xDA",      // 22 繁大黑
    "\xB7\xB1\xD0\xD0\xBF\xAC",      // 23 繁行楷
    "\xB7\xB1\xCE\xBA\xB1\xAE",      // 24 繁魏碑
    "\xB7\xB1\xCF\xB8\xD4\xB2",      // 25 繁细圆
    "\xB7\xB1\xB4\xD6\xD4\xB2",      // 26 繁粗圆
    "\xB7\xB1\xC3\xC0\xBA\xDA",      // 27 繁美黑
    "\xB7\xB1\xD7\xDB\xD2\xD5",      // 28 繁综艺
};
const char kDefaultFont[] = "\xB7\xC2\xCB\xCE";  // 仿宋

const char* const kStyleNames[] = {
    "\xD5\xFD\xCC\xE5",                  // 0 正体
    "\xD7\xF3\xD0\xB1\xCC\xE5",          // 1 左斜体
    "\xD3\xD2\xD0\xB1\xCC\xE5",          // 2 右斜体
    "\xD3\xD2\xCB\xCA\xBC\xE7",          // 3 右耸肩
    "\xD7\xF3\xCB\xCA\xBC\xE7",          // 4 左耸肩
    "\xD5\xFD\xCC\xE5\xD2\xF5\xD3\xB0",  // 5 正体阴影
    "\xD7\xF3\xD0\xB1\xD2\xF5\xD3\xB0",  // 6 左斜阴影
    "\xD3\xD2\xD0\xB1\xD2\xF5\xD3\xB0",  // 7 右斜阴影
    "\xD3\xD2\xCB\xCA\xD2\xF5\xD3\xB0",  // 8 右耸阴影
    "\xD7\xF3\xCB\xCA\xD2\xF5\xD3\xB0",  // 9 左耸阴影
};

constexpr int kFontCount = static_cast<int>(sizeof kFontNames / sizeof kFontNames[0]);
constexpr int kStyleCount = static_cast<int>(sizeof kStyleNames / sizeof kStyleNames[0]);
static_assert(kFontCount == 29 && kStyleCount == 10, "font tables");

}  // namespace

int GetFontName(int number, char* out) {
  const char* name = kDefaultFont;
  if (number >= 0 && number < kFontCount && kFontNames[number]) name = kFontNames[number];
  if (out) std::strcpy(out, name);
  return number;
}

int GetFontStyle(int number, char* out) {
  const char* name = kStyleNames[0];
  if (number >= 0 && number < kStyleCount) name = kStyleNames[number];
  if (out) std::strcpy(out, name);
  return number;
}

}  // namespace MapGis
