// Polygon conversion: rings assembled from the file's arcs, oriented and
// closed, with the fill style.
#include "LayerConverter.h"
#include "PolygonCheck.h"
#include "LegendWriter.h"
#include "RecordStyle.h"
#include "StyleClasses.h"
#include "StyleColumns.h"

namespace {

const StyleColumn kRawColumns[] = {
    {"VKT_RCOLR", ColumnKind::Unsigned, kUnsignedInt, 0}, {"VKT_PATNO", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"VKT_RHEIH", ColumnKind::Double, 8, 3},             {"VKT_RWIDH", ColumnKind::Double, 8, 3},
    {"VKT_PCOLR", ColumnKind::Unsigned, kUnsignedInt, 0}, {"VKT_LAYER", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"VKT_TRANS", ColumnKind::Integer, kSmallInt, 0},
};

const StyleColumn kTextColumns[] = {
    {"填充颜色", ColumnKind::Unsigned, kUnsignedInt, 0}, {"填充图案", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"图案高度", ColumnKind::Double, 8, 3},             {"图案宽度", ColumnKind::Double, 8, 3},
    {"图案颜色", ColumnKind::Unsigned, kUnsignedInt, 0}, {"图层", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"透明输出", ColumnKind::Text, 8, 0},
};

class PolygonConverter : public LayerConverter {
 public:
  using LayerConverter::LayerConverter;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POLYGON; }
  const char* ReportName() const override { return "polygons"; }
  int CountRecords(int* slots) override { return reader_.GetPolygonCount(slots); }
  const wchar_t* RecordCountFailText() const override { return L"----结束转换[原文件错误-属性记录数量错误]"; }
  ShapeKind Shapes() const override { return ShapeKind::Polygon; }
  long ReadRecord(int r, MapGis::Geometry* g) override {
    index_ = r;
    return reader_.ReadPolygonInfo(r, &reg_, g);
  }
  const wchar_t* MismatchText() const override { return L"----结束转换[图元与属性数量不匹配(%d/%d)]"; }

  // First ring clockwise, holes counter-clockwise, every ring closed.
  void FinishGeometry(MapGis::Geometry* g) override {
    MapGis::FixGeoTopo(g);
    MapGis::FixUnclosedRing(g);
    // The run report names polygons that are still not valid.
    InvalidPolygon problem;
    if (Report() && !check_.Valid(*g, &problem)) {
      problem.index = index_;
      Report()->AddInvalid(problem);
    }
  }

  void AddStyleColumns() override {
    static const StyleColumn kSymbol[] = {{"VKT_SYMBOL", ColumnKind::Text, kCodeWidth, 0}};
    static const StyleColumn kLegend[] = {{"VKT_LEGEND", ColumnKind::Text, kCodeWidth, 0}};
    AddModeColumns({kSymbol, 1, kRawColumns, kTextColumns, 7, kLegend, 1, L"------I__增加图示匹配字段[%ls]"});
  }

  void WriteStyleValues(int row) override {
    StyleKey key;
    key.type = reg_.pattern;
    key.size1 = reg_.patternWidth;
    key.size2 = reg_.patternHeight;
    key.size3 = 0.0f;
    std::string code;
    switch (Mode()) {
      case kStyleRaw:
      case kStyleText: {
        const bool text = Mode() == kStyleText;
        WriteUnsigned(row, Style(0), text ? ModelColor(reg_.fillColor) : static_cast<uint32_t>(reg_.fillColor));
        WriteUnsigned(row, Style(1), static_cast<uint32_t>(reg_.pattern));
        WriteDouble(row, Style(2), reg_.patternHeight);
        WriteDouble(row, Style(3), reg_.patternWidth);
        WriteUnsigned(row, Style(4),
                      text ? ModelColor(reg_.patternColor) : static_cast<uint32_t>(reg_.patternColor));
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
        code = LegendCode(key, fill);
        WriteText(row, Style(0), code);
        break;
      }
      case kStyleCode:
        key.colour = PackedCmyk(reg_.fillColor);
        key.extra = static_cast<int32_t>(PackedCmyk(reg_.patternColor));
        code = SymbolCode(key);
        WriteText(row, Style(0), code);
        break;
      default:
        break;
    }
    if (CollectingStyles()) CollectFill(code);
  }

  // The class of the polygon just written: by its code, or by the fill
  // colour, pattern, pattern colour and transparency columns.
  void CollectFill(const std::string& code) {
    const auto style = [this] { return cartography::FillOf(reg_, Colours()); };
    if (Mode() == kStyleCode || Mode() == kStyleLegend) return CollectCoded(0, code, style);
    if (Mode() != kStyleRaw && Mode() != kStyleText) return;
    CollectStyle(RawKey(reg_.fillColor, reg_.pattern, reg_.patternColor, reg_.transparent), [&] {
      const bool text = Mode() == kStyleText;
      auto colour = [&](int32_t number) { return text ? Colours().ModelValue(number) : static_cast<uint32_t>(number); };
      return ClassOf({IntegerIs(StyleName(0), colour(reg_.fillColor)),
                      IntegerIs(StyleName(1), static_cast<uint32_t>(reg_.pattern)),
                      IntegerIs(StyleName(4), colour(reg_.patternColor)),
                      text ? TextIs(StyleName(6), TableUtf8(TransparencyText(reg_.transparent)))
                           : IntegerIs(StyleName(6), reg_.transparent)},
                     style());
    });
  }

  std::string LegendText() override { return LegendWriter::ShadeLegend(colours_, keys_); }

 private:
  MapGis::MAPGIS_RegInfo reg_{};
  int index_ = 0;
  PolygonCheck check_;
};

}  // namespace

long ConvertPolygons(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return PolygonConverter(in).Run(source, base);
}
