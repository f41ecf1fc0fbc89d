// Polygon conversion: rings assembled from the file's arcs, oriented and
// closed, with the fill style.
#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "LayerConversion.h"
#include "LegendWriter.h"
#include "StyleColumns.h"

namespace {

const StyleColumn kRawColumns[] = {
    {"VKT_RCOLR", FTInteger, kUnsignedInt, 0}, {"VKT_PATNO", FTInteger, kUnsignedInt, 0},
    {"VKT_RHEIH", FTDouble, 8, 3},             {"VKT_RWIDH", FTDouble, 8, 3},
    {"VKT_PCOLR", FTInteger, kUnsignedInt, 0}, {"VKT_LAYER", FTInteger, kUnsignedInt, 0},
    {"VKT_TRANS", FTInteger, kSmallInt, 0},
};

const StyleColumn kTextColumns[] = {
    {"填充颜色", FTInteger, kUnsignedInt, 0}, {"填充图案", FTInteger, kUnsignedInt, 0},
    {"图案高度", FTDouble, 8, 3},             {"图案宽度", FTDouble, 8, 3},
    {"图案颜色", FTInteger, kUnsignedInt, 0}, {"图层", FTInteger, kUnsignedInt, 0},
    {"透明输出", FTString, 8, 0},
};

class PolygonConversion : public LayerConversion {
 public:
  using LayerConversion::LayerConversion;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POLYGON; }
  int CountRecords(int* slots) override { return reader_.GetPolygonCount(slots); }
  const wchar_t* RecordCountFailText() const override { return L"----结束转换[原文件错误-属性记录数量错误]"; }
  int ShapeType() const override { return SHPT_POLYGON; }
  long ReadRecord(int r, MapGis::Geometry* g) override { return reader_.ReadPolygonInfo(r, &reg_, g); }
  const wchar_t* MismatchText() const override { return L"----结束转换[图元与属性数量不匹配(%d/%d)]"; }

  // First ring clockwise, holes counter-clockwise, every ring closed.
  void FinishGeometry(MapGis::Geometry* g) override {
    MapGis::FixGeoTopo(g);
    MapGis::FixUnclosedRing(g);
  }

  void AddStyleColumns() override {
    static const StyleColumn kSymbol[] = {{"VKT_SYMBOL", FTString, kCodeWidth, 0}};
    static const StyleColumn kLegend[] = {{"VKT_LEGEND", FTString, kCodeWidth, 0}};
    AddModeColumns({kSymbol, 1, kRawColumns, kTextColumns, 7, kLegend, 1, L"------I__增加图示匹配字段[%ls]"});
  }

  void WriteStyleValues(int row) override {
    StyleKey key;
    key.type = reg_.pattern;
    key.size1 = reg_.patternWidth;
    key.size2 = reg_.patternHeight;
    key.size3 = 0.0f;
    switch (Mode()) {
      case kStyleRaw:
      case kStyleText: {
        const bool text = Mode() == kStyleText;
        WriteUnsigned(row, Style(0), text ? view_.GetModelColor(reg_.fillColor) : static_cast<uint32_t>(reg_.fillColor));
        WriteUnsigned(row, Style(1), static_cast<uint32_t>(reg_.pattern));
        WriteDouble(row, Style(2), reg_.patternHeight);
        WriteDouble(row, Style(3), reg_.patternWidth);
        WriteUnsigned(row, Style(4),
                      text ? view_.GetModelColor(reg_.patternColor) : static_cast<uint32_t>(reg_.patternColor));
        WriteUnsigned(row, Style(5), static_cast<uint32_t>(reg_.layer));
        if (text) {
          WriteText(row, Style(6), TransparencyText(reg_.transparent));
        } else {
          WriteUnsigned(row, Style(6), reg_.transparent);
        }
        break;
      }
      case kStyleLegend: {
        const uint32_t fill = PackedRgb(reg_.fillColor);
        key.colour = fill;
        key.extra = static_cast<int32_t>(PackedRgb(reg_.patternColor));
        WriteText(row, Style(0), LegendCode(key, fill));
        break;
      }
      case kStyleCode:
        key.colour = PackedCmyk(reg_.fillColor);
        key.extra = static_cast<int32_t>(PackedCmyk(reg_.patternColor));
        WriteText(row, Style(0), SymbolCode(key));
        break;
      default:
        break;
    }
  }

  bool WriteLegend(const std::wstring& base) override {
    bool written = false;
    LegendWriter::WriteShadeLegend(colours_, keys_, base, &written);
    return written;
  }

 private:
  MapGis::MAPGIS_RegInfo reg_{};
};

}  // namespace

long CGridmoorProView::ConvertPolygon2Shp(std::wstring source, std::wstring base) {
  PolygonConversion conversion(*this);
  return conversion.Run(source, base);
}
