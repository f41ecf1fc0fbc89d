// parcels.WB: the land register of the town's parcels, an attribute table
// with a field of every type, written with the layer writer. Timestamps and
// the kinds the converters do not convert (10 and 12) are stored as raw
// bytes.
#include <cstdint>
#include <vector>

#include "DemoCommon.h"
#include "DemoLayers.h"
#include "MapGisWriter.h"

namespace demo {

namespace {

struct Parcel {
  const char* number;
  uint8_t grade;
  int16_t floors;
  int32_t areaChange;
  float plotRatio;
  double area;
  MapGis::DATE_STRUstruct registered;
  MapGis::TIME_STRUstruct registeredAt;
  bool certified;
  const char* remark;
  MapGis::TIMESTAMPstruct updated;
  uint8_t picture[8];  // kind 10: the first bytes of a picture
  int32_t extension;   // kind 12
};

const std::vector<Parcel>& Parcels() {
  static const std::vector<Parcel> parcels = {
      {"0312", 1, 3, 120, 1.5f, 12500.0, {2018, 3, 12}, {9, 30, 15.5}, true, "住宅用地，已完成确权登记",
       {2020, 1, 2, 3, 4, 5, 600}, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, 7},
      {"0313", 2, 6, -250, 2.2f, 8320.75, {2019, 11, 30}, {14, 5, 0.25}, false, "",
       {2021, 12, 31, 23, 59, 58, 0}, {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4}, -2},
      {"0401", 3, 1, -98765, 0.8f, 45210.5, {2020, 2, 29}, {0, 0, 0.0}, true, "含公共通道, 面积&边界待核",
       {2022, 2, 28, 8, 0, 0, 123456}, {0x42, 0x4D, 0, 0, 0, 0, 0, 0}, 0},
      {"0402", 4, 32, 0, 3.75f, 0.5, {1999, 12, 31}, {23, 59, 59.75}, false,
       "本宗地备注文字恰好三十个汉字用于检验定长文本字段读取是否完整", {2023, 6, 15, 12, 30, 45, 999},
       {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0, 0}, 123456},
  };
  return parcels;
}

}  // namespace

void WriteParcels(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / "parcels.WB";
  const std::string what = "parcels.WB";
  MapGis::MapGis_Writer w;
  Check(w.Create(WidePath(path).c_str(), MapGis::MAPGIS_TYPE_TABLE), what + ": Create");
  const MapGis::MAP_PARAstruct para = DemoProjection();
  Check(w.WriteProjection(&para), what + ": WriteProjection");
  struct {
    const wchar_t* name;
    int type, width, display, decimals;
  } const fields[] = {
      {L"宗地号", MapGis::MAPGIS_FIELD_STRING, 12, 12, 0},
      {L"土地级别", MapGis::MAPGIS_FIELD_BYTE, 1, 3, 0},
      {L"建筑层数", MapGis::MAPGIS_FIELD_SHORT, 2, 6, 0},
      {L"面积增减", MapGis::MAPGIS_FIELD_LONG, 4, 11, 0},
      {L"容积率", MapGis::MAPGIS_FIELD_FLOAT, 4, 8, 2},
      {L"宗地面积", MapGis::MAPGIS_FIELD_DOUBLE, 8, 15, 2},
      {L"登记日期", MapGis::MAPGIS_FIELD_DATE, 4, 10, 0},
      {L"登记时间", MapGis::MAPGIS_FIELD_TIME, 10, 8, 0},
      {L"已发证", MapGis::MAPGIS_FIELD_BOOL, 1, 1, 0},
      {L"备注", MapGis::MAPGIS_FIELD_TEXT, 60, 60, 0},
      {L"更新时间", MapGis::MAPGIS_FIELD_TIMESTAMP, 16, 19, 0},
      {L"宗地图", 10, 8, 8, 0},
      {L"扩展码", 12, 4, 4, 0},
  };
  long count = 0;
  for (const auto& f : fields) {
    if (w.AddFieldInfo(f.name, f.type, f.width, f.display, f.decimals) != ++count) {
      throw DemoError(what + ": AddFieldInfo");
    }
  }
  const std::vector<Parcel>& parcels = Parcels();
  for (size_t i = 0; i < parcels.size(); ++i) {
    const Parcel& p = parcels[i];
    const int r = static_cast<int>(i);
    const std::string number = Gbk(p.number);
    const std::string remark = Gbk(p.remark);
    if (!w.WriteStringAttribute(r, 0, number.c_str()) || !w.WriteByteAttribute(r, 1, p.grade) ||
        !w.WriteShortAttribute(r, 2, p.floors) || !w.WriteLongAttribute(r, 3, p.areaChange) ||
        !w.WriteFloatAttribute(r, 4, p.plotRatio) || !w.WriteDoubleAttribute(r, 5, p.area) ||
        !w.WriteDateAttribute(r, 6, &p.registered) || !w.WriteTimeAttribute(r, 7, &p.registeredAt) ||
        !w.WriteBoolAttribute(r, 8, p.certified) || !w.WriteTextAttribute(r, 9, remark.c_str()) ||
        !w.WriteBinareyAttribute(r, 10, &p.updated) || !w.WriteBinareyAttribute(r, 11, p.picture) ||
        !w.WriteBinareyAttribute(r, 12, &p.extension)) {
      Check(w.LastAttributeStatus(), what + ": attribute of record " + std::to_string(i));
    }
  }
  Check(w.Flush(), what + ": Flush");
}

}  // namespace demo
