// The arcs of a polygon file as a line shapefile, with the line style and,
// in the parameter modes, the polygons on either side of each arc.
#include "LineConverter.h"
#include "StyleColumns.h"

namespace {

constexpr char kLogUnit[] = "ConvertPolyArc";

class PolygonArcConverter : public LineConverter {
 public:
  using LineConverter::LineConverter;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POLYGON; }
  const char* ReportName() const override { return "polygon_arcs"; }

  // The arcs' own attribute table.
  long SelectAttributes() override { return reader_.SetAttributeType(0); }

  void AddStyleColumns() override {
    static const StyleColumn kRaw[] = {{"VKT_LPOY", ColumnKind::Integer, kSignedInt, 0}, {"VKT_RPOY", ColumnKind::Integer, kSignedInt, 0}};
    static const StyleColumn kText[] = {{"左多边形", ColumnKind::Integer, kSignedInt, 0}, {"右多边形", ColumnKind::Integer, kSignedInt, 0}};
    LineConverter::AddStyleColumns();
    if (Mode() == kStyleRaw || Mode() == kStyleText) {
      LayerConverter::AddStyleColumns(Mode() == kStyleRaw ? kRaw : kText, 2);
      CONVERT_LOG(Log(), L"------I__增加MapGIS弧段拓扑字段");
    }
  }

  // The topology table has one record per line slot, slot 0 included, so the
  // arc of index r (slot r + 1) has its sides in record r + 1.
  long ReadRecord(int r, MapGis::Geometry* g) override {
    haveTopology_ = reader_.GetTopoInfo(r + 1, &topology_) == MapGis::MAPGIS_OK;
    return reader_.ReadArcInfo(r, &line_, g);
  }

  void WriteStyleValues(int row) override {
    LineConverter::WriteStyleValues(row);
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

long ConvertPolygonArcs(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return PolygonArcConverter(in).Run(source, base);
}
