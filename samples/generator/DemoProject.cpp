// demo.MPJ: the project of the town map, by the project file's byte layout
// (the library rewrites items of existing projects but creates none). Item
// names are Windows relative paths as MapGIS writes them; the roads are
// named in another letter case than the file on disk.
#include <vector>

#include "ByteLayout.h"
#include "DemoCommon.h"
#include "DemoLayers.h"

namespace demo {

namespace {

constexpr size_t kHeadOffset = 12;
constexpr size_t kItemTable = kHeadOffset + 1101;  // items follow the header
constexpr size_t kItemSize = 400;

struct Item {
  int8_t kind;  // 0 lines, 1 points, 2 polygons
  const char* fileName;
  const char* description;
  double displayMin, displayMax;
};

}  // namespace

void WriteProject(const std::filesystem::path& folder) {
  static const std::vector<Item> items = {
      {2, ".\\landuse.WP", "土地利用现状", 0, 100000},
      {0, ".\\ROADS.wl", "道路 交通", 1000, 50000},
      {0, ".\\sub\\河流.WL", "河流水系", 0, 200000},
      {1, ".\\地名注记.WT", "地名注记", 0, 25000},
  };
  Bytes b(kItemTable + kItemSize * items.size());
  b.Raw(0, "WMAP`D2:", 8);
  b.Put<int32_t>(8, 9);  // version
  b.Put<int16_t>(kHeadOffset, static_cast<int16_t>(items.size()));
  b.Put<double>(kHeadOffset + 2, GroundX(0));
  b.Put<double>(kHeadOffset + 10, GroundY(0));
  b.Put<double>(kHeadOffset + 18, GroundX(kWidth));
  b.Put<double>(kHeadOffset + 26, GroundY(kHeight));
  b.Put<int32_t>(kHeadOffset + 738, static_cast<int32_t>(kItemTable));
  const MapGis::MAP_PARAstruct para = DemoProjection();
  b.Raw(kHeadOffset + 804, &para, sizeof para);
  const std::string description = Gbk("示范图 城镇土地利用现状图");
  if (description.size() >= 128) throw DemoError("project description too long");
  b.Raw(kHeadOffset + 973, description.data(), description.size());
  for (size_t i = 0; i < items.size(); ++i) {
    const size_t at = kItemTable + kItemSize * i;
    const std::string name = Gbk(items[i].fileName);
    const std::string text = Gbk(items[i].description);
    if (name.size() >= 128 || text.size() >= 194) throw DemoError("project item text too long");
    b.Put<int8_t>(at, items[i].kind);
    b.Raw(at + 2, name.data(), name.size());
    b.Raw(at + 130, text.data(), text.size());
    b.Put<double>(at + 324, items[i].displayMin);
    b.Put<double>(at + 332, items[i].displayMax);
  }
  WriteFile(folder / "demo.MPJ", b);
}

}  // namespace demo
