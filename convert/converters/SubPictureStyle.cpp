#include "SubPictureStyle.h"

#include "LegendWriter.h"
#include "RecordStyle.h"
#include "StyleClasses.h"
#include "StyleColumns.h"

namespace {

const StyleColumn kSymbolColumns[] = {{"VKT_SYMBOL", ColumnKind::Text, kCodeWidth, 0}, {"VKT_ANGLE", ColumnKind::Double, 8, 3}};
const StyleColumn kLegendColumns[] = {{"VKT_LEGEND", ColumnKind::Text, kCodeWidth, 0}, {"VKT_ANGLE", ColumnKind::Double, 8, 3}};

const StyleColumn kRawColumns[] = {
    {"VKT_SUBNO", ColumnKind::Unsigned, kUnsignedInt, 0}, {"VKT_SHEIH", ColumnKind::Double, 8, 3},
    {"VKT_SWIDH", ColumnKind::Double, 8, 3},             {"VKT_ANGLE", ColumnKind::Double, 8, 3},
    {"VKT_SCOLR", ColumnKind::Unsigned, kUnsignedInt, 0}, {"VKT_LAYER", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"VKT_TRANS", ColumnKind::Integer, kSmallInt, 0},
};

const StyleColumn kTextColumns[] = {
    {"子图号", ColumnKind::Unsigned, kUnsignedInt, 0},   {"子图高度", ColumnKind::Double, 8, 3},
    {"子图宽度", ColumnKind::Double, 8, 3},             {"旋转角度", ColumnKind::Double, 8, 3},
    {"子图颜色", ColumnKind::Unsigned, kUnsignedInt, 0}, {"图层号", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"透明输出", ColumnKind::Text, 16, 0},
};

}  // namespace

SizeFactors ReadSizeFactors(MapGis::MapGis_FastReader& reader) {
  MapGis::MAP_PARAstruct para{};
  reader.GetProjectionInfo(&para);
  return cartography::SizeFactorsOf(para);
}

void SubPictureStyleConverter::AddStyleColumns() {
  AddModeColumns({kSymbolColumns, 2, kRawColumns, kTextColumns, 7, kLegendColumns, 2, L"------I__增加图示编码字段[%ls]"});
}

void SubPictureStyleConverter::WriteStyleValues(int row) {
  if (point_.kind != 1) return;
  const MapGis::MAPGIS_SubParam& sub = point_.param.sub;
  StyleKey key;
  key.type = sub.subNumber;
  key.size1 = sub.width;
  key.size2 = sub.height;
  key.size3 = 0.0f;
  std::string code;
  switch (Mode()) {
    case kStyleRaw:
    case kStyleText: {
      const bool text = Mode() == kStyleText;
      WriteUnsigned(row, Style(0), static_cast<uint32_t>(sub.subNumber));
      WriteDouble(row, Style(1), sub.height);
      WriteDouble(row, Style(2), sub.width);
      WriteDouble(row, Style(3), text ? Angles().StyleAngle(sub.angle, Use()) : sub.angle);
      WriteUnsigned(row, Style(4), text ? ModelColor(point_.color) : static_cast<uint32_t>(point_.color));
      WriteUnsigned(row, Style(5), static_cast<uint32_t>(point_.layer));
      if (text) {
        WriteText(row, Style(6), TransparencyText(point_.transparent));
      } else {
        WriteUnsigned(row, Style(6), point_.transparent);
      }
      break;
    }
    case kStyleLegend: {
      const uint32_t rgb = PackedRgb(point_.color);
      key.colour = rgb;
      code = LegendCode(key, rgb);
      WriteText(row, Style(0), code);
      WriteDouble(row, Style(1), Angles().StyleAngle(sub.angle, Use()));
      break;
    }
    case kStyleCode:
      key.colour = PackedCmyk(point_.color);
      code = SymbolCode(key);
      WriteText(row, Style(0), code);
      WriteDouble(row, Style(1), Angles().CodedAngle(sub.angle));
      break;
    default:
      break;
  }
  if (CollectingStyles()) CollectMarker(code);
}

void SubPictureStyleConverter::CollectMarker(const std::string& code) {
  const auto style = [this] {
    return cartography::MarkerOf(point_, Colours(), cartography::SubPictureSize(point_, CoordinateFactor()));
  };
  if (Mode() == kStyleCode || Mode() == kStyleLegend) return CollectCoded(0, code, style);
  if (Mode() != kStyleRaw && Mode() != kStyleText) return;
  const float width = point_.param.sub.width;
  CollectStyle(RawKey(point_.color, width), [&] {
    const uint32_t colour =
        Mode() == kStyleText ? Colours().ModelValue(point_.color) : static_cast<uint32_t>(point_.color);
    return ClassOf({IntegerIs(StyleName(4), colour), DecimalIs(StyleName(2), width)}, style());
  });
}

std::string SubPictureStyleConverter::LegendText() {
  return LegendWriter::MarkerLegend(colours_, keys_, Options().SymbolFontName);
}
