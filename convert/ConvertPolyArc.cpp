// The arcs of a polygon file as a line shapefile, with the line style and,
// in the parameter modes, the polygons on either side of each arc.
#include "ConvertArc.h"
#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "StyleColumns.h"

namespace {

class PolyArcConversion : public LineConversion {
 public:
  using LineConversion::LineConversion;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POLYGON; }

  // The arcs' own attribute table.
  long SelectAttributes() override { return reader_.SetAttributeType(0); }

  void AddStyleColumns() override {
    static const StyleColumn kRaw[] = {{"VKT_LPOY", FTInteger, kSignedInt, 0}, {"VKT_RPOY", FTInteger, kSignedInt, 0}};
    static const StyleColumn kText[] = {{"左多边形", FTInteger, kSignedInt, 0}, {"右多边形", FTInteger, kSignedInt, 0}};
    LineConversion::AddStyleColumns();
    if (Mode() == kStyleRaw || Mode() == kStyleText) {
      LayerConversion::AddStyleColumns(Mode() == kStyleRaw ? kRaw : kText, 2);
      CONVERT_LOG(L"------I__增加MapGIS弧段拓扑字段");
    }
  }

  // The topology table has one record per line slot, slot 0 included, so the
  // arc of index r (slot r + 1) has its sides in record r + 1.
  long ReadRecord(int r, MapGis::Geometry* g) override {
    haveTopology_ = reader_.GetTopoInfo(r + 1, &topology_) == MapGis::MAPGIS_OK;
    return reader_.ReadArcInfo(r, &line_, g);
  }

  void WriteStyleValues(int row) override {
    LineConversion::WriteStyleValues(row);
    if (Mode() != kStyleRaw && Mode() != kStyleText) return;
    if (haveTopology_) {
      WriteSigned(row, Style(10), topology_.leftPolygon);
      WriteSigned(row, Style(11), topology_.rightPolygon);
    } else {
      WriteNull(row, Style(10));
      WriteNull(row, Style(11));
    }
  }

 private:
  MapGis::MAPGIS_Topology topology_{};
  bool haveTopology_ = false;
};

}  // namespace

long CGridmoorProView::ConvertPolyArc2Shp(std::wstring source, std::wstring base) {
  PolyArcConversion conversion(*this);
  return conversion.Run(source, base);
}
