// Point conversion: every live point whatever its kind, with its attributes,
// its style parameters and the text of annotations as label mark-up.
#include <cstring>

#include "LayerConverter.h"
#include "LegendWriter.h"
#include "PointLabel.h"
#include "StyleColumns.h"

namespace {

const StyleColumn kLabel = {"VKT_LABEL", ColumnKind::Text, 255, 0};

const StyleColumn kRawColumns[] = {
    kLabel,
    {"VKT_PTYPE", ColumnKind::Integer, kSmallInt, 0},
    {"VKT_SCOLR", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"VKT_LAYER", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"VKT_TRANS", ColumnKind::Integer, kSmallInt, 0},
};

const StyleColumn kTextColumns[] = {
    kLabel,
    {"点类型", ColumnKind::Integer, kSmallInt, 0},
    {"点颜色", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"图层号", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"透明输出", ColumnKind::Text, 8, 0},
};

const StyleColumn kSymbolColumns[] = {kLabel, {"VKT_SYMBOL", ColumnKind::Text, kCodeWidth, 0}};
const StyleColumn kLegendColumns[] = {kLabel, {"VKT_LEGEND", ColumnKind::Text, kCodeWidth, 0}};

class PointConverter : public LayerConverter {
 public:
  using LayerConverter::LayerConverter;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POINT; }
  const char* ReportName() const override { return "points"; }
  int CountRecords(int* slots) override { return reader_.GetPointCount(slots); }
  ShapeKind Shapes() const override { return ShapeKind::Point; }
  long ReadRecord(int r, MapGis::Geometry* g) override {
    index_ = r;
    return reader_.ReadPointInfo(r, &point_, g);
  }

  void AddStyleColumns() override {
    AddModeColumns({kSymbolColumns, 2, kRawColumns, kTextColumns, 5, kLegendColumns, 2,
                    L"------I__增加图示编码字段[%ls]"});
  }

  void WriteStyleValues(int row) override {
    if (Mode() < kStyleCode || Mode() > kStyleBoard) return;
    if (point_.kind == 0 || point_.kind == 5) {
      char text[2600];
      std::memset(text, 0, sizeof text);
      reader_.GetNoteInfo(index_, text);
      WriteText(row, Style(0), BuildPointLabel(point_, text, PackedRgb(point_.color), text_));
    }

    StyleKey key;
    key.type = point_.kind;
    key.size1 = 9.0f;
    key.size2 = 9.0f;
    key.size3 = 0.0f;
    switch (Mode()) {
      case kStyleRaw:
      case kStyleText: {
        const bool plain = Mode() == kStyleText;
        WriteUnsigned(row, Style(1), point_.kind);
        WriteUnsigned(row, Style(2), plain ? ModelColor(point_.color) : static_cast<uint32_t>(point_.color));
        WriteUnsigned(row, Style(3), static_cast<uint32_t>(point_.layer));
        if (plain) {
          WriteText(row, Style(4), TransparencyText(point_.transparent));
        } else {
          WriteUnsigned(row, Style(4), point_.transparent);
        }
        break;
      }
      case kStyleLegend: {
        const uint32_t rgb = PackedRgb(point_.color);
        key.colour = rgb;
        WriteText(row, Style(1), LegendCode(key, rgb));
        break;
      }
      case kStyleCode:
        key.colour = PackedCmyk(point_.color);
        WriteText(row, Style(1), SymbolCode(key));
        break;
      default:
        break;
    }
  }

  std::string LegendText() override { return LegendWriter::MarkerLegend(colours_, keys_, Options().SymbolFontName); }

 private:
  MapGis::MAPGIS_PntInfo point_{};
  int index_ = 0;
};

}  // namespace

long ConvertPoints(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return PointConverter(in).Run(source, base);
}
