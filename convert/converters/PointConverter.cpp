// Point conversion: every live point whatever its kind, with its attributes,
// its style parameters and the text of annotations as label mark-up.
#include <cstring>

#include "LayerConverter.h"
#include "LegendWriter.h"
#include "PointLabel.h"
#include "RecordStyle.h"
#include "StyleClasses.h"
#include "StyleColumns.h"
#include "SubPictureStyle.h"

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
  int CountRecords(int* slots) override {
    factors_ = ReadSizeFactors(reader_);
    return reader_.GetPointCount(slots);
  }
  ShapeKind Shapes() const override { return ShapeKind::Point; }
  long ReadRecord(int r, MapGis::Geometry* g) override {
    index_ = r;
    return reader_.ReadPointInfo(r, &point_, g);
  }

  void AddStyleColumns() override {
    AddModeColumns({kSymbolColumns, 2, kRawColumns, kTextColumns, 5, kLegendColumns, 2,
                    L"------I__增加图示编码字段[%ls]"});
    // Annotations are labelled with the text of their mark-up.
    LayerStyles().labelText = StyleName(0);
    LayerStyles().labelTextIsMarkup = true;
  }

  void WriteStyleValues(int row) override {
    if (Mode() < kStyleCode || Mode() > kStyleBoard) return;
    if (point_.kind == 0 || point_.kind == 5) {
      char text[2600];
      std::memset(text, 0, sizeof text);
      reader_.GetNoteInfo(index_, text);
      const std::string label = BuildPointLabel(point_, text, PackedRgb(point_.color), text_);
      WriteText(row, Style(0), label);
      if (CollectingStyles()) CollectLabel(label);
    }

    StyleKey key;
    key.type = point_.kind;
    key.size1 = 9.0f;
    key.size2 = 9.0f;
    key.size3 = 0.0f;
    std::string code;
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
        code = LegendCode(key, rgb);
        WriteText(row, Style(1), code);
        break;
      }
      case kStyleCode:
        key.colour = PackedCmyk(point_.color);
        code = SymbolCode(key);
        WriteText(row, Style(1), code);
        break;
      default:
        break;
    }
    if (CollectingStyles() && point_.kind != 0 && point_.kind != 5) CollectMarker(code);
  }

  // The class of a point drawn as a marker: by its code, or by its kind and
  // colour. The table keeps no size: every marker is 2 mm wide.
  void CollectMarker(const std::string& code) {
    const auto style = [this] {
      return cartography::MarkerOf(point_, Colours(), {2.0, cartography::Unit::Millimetre});
    };
    if (Mode() == kStyleCode || Mode() == kStyleLegend) return CollectCoded(1, code, style);
    if (Mode() != kStyleRaw && Mode() != kStyleText) return;
    CollectStyle(RawKey(point_.kind, point_.color), [&] {
      const uint32_t colour =
          Mode() == kStyleText ? Colours().ModelValue(point_.color) : static_cast<uint32_t>(point_.color);
      return ClassOf({IntegerIs(StyleName(1), point_.kind), IntegerIs(StyleName(2), colour)}, style());
    });
  }

  // The class of an annotation: labels whose mark-up starts with the same
  // font, size and colour, italic ones apart. The table keeps no angle.
  void CollectLabel(const std::string& label) {
    const MarkupHead head = HeadOfMarkup(TableUtf8(label));
    if (head.text.empty()) return;
    CollectStyle(head.text + (head.italic ? "<ITA>" : ""), [&] {
      cartography::FeatureStyle style =
          cartography::LabelOf(point_, Colours(), factors_.height * CoordinateFactor());
      style.label.angle = 0.0;
      return MarkupClass(StyleName(0), head, style);
    });
  }

  std::string LegendText() override { return LegendWriter::MarkerLegend(colours_, keys_, Options().SymbolFontName); }

 private:
  MapGis::MAPGIS_PntInfo point_{};
  int index_ = 0;
  SizeFactors factors_;
};

}  // namespace

long ConvertPoints(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return PointConverter(in).Run(source, base);
}
