// Point conversion: every live point whatever its kind, with its attributes,
// its style parameters and the text of annotations as label mark-up.
#include <cstring>

#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "LayerConversion.h"
#include "LegendWriter.h"
#include "PointLabel.h"
#include "Settings.h"
#include "StyleColumns.h"

namespace {

const StyleColumn kLabel = {"VKT_LABEL", FTString, 255, 0};

const StyleColumn kRawColumns[] = {
    kLabel,
    {"VKT_PTYPE", FTInteger, kSmallInt, 0},
    {"VKT_SCOLR", FTInteger, kUnsignedInt, 0},
    {"VKT_LAYER", FTInteger, kUnsignedInt, 0},
    {"VKT_TRANS", FTInteger, kSmallInt, 0},
};

const StyleColumn kTextColumns[] = {
    kLabel,
    {"点类型", FTInteger, kSmallInt, 0},
    {"点颜色", FTInteger, kUnsignedInt, 0},
    {"图层号", FTInteger, kUnsignedInt, 0},
    {"透明输出", FTString, 8, 0},
};

const StyleColumn kSymbolColumns[] = {kLabel, {"VKT_SYMBOL", FTString, kCodeWidth, 0}};
const StyleColumn kLegendColumns[] = {kLabel, {"VKT_LEGEND", FTString, kCodeWidth, 0}};

class PointConversion : public LayerConversion {
 public:
  using LayerConversion::LayerConversion;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POINT; }
  int CountRecords(int* slots) override { return reader_.GetPointCount(slots); }
  int ShapeType() const override { return SHPT_POINT; }
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
      WriteText(row, Style(0), BuildPointLabel(point_, text, PackedRgb(point_.color)));
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
        WriteUnsigned(row, Style(2), plain ? view_.GetModelColor(point_.color) : static_cast<uint32_t>(point_.color));
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

  bool WriteLegend(const std::wstring& base) override {
    bool written = false;
    LegendWriter::WriteMarkerLegend(colours_, keys_, base, Settings::SymbolFontName, &written);
    return written;
  }

 private:
  MapGis::MAPGIS_PntInfo point_{};
  int index_ = 0;
};

}  // namespace

long CGridmoorProView::ConvertPoint2Shp(std::wstring source, std::wstring base) {
  PointConversion conversion(*this);
  return conversion.Run(source, base);
}
