#include "LineConverter.h"

#include "LegendWriter.h"
#include "RecordStyle.h"
#include "StyleClasses.h"
#include "StyleColumns.h"

namespace {

const StyleColumn kRawColumns[] = {
    {"VKT_LTYPE", ColumnKind::Unsigned, kUnsignedInt, 0}, {"VKT_LCOLR", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"VKT_LWIDH", ColumnKind::Double, 8, 3},             {"VKT_LCLAS", ColumnKind::Integer, kSmallInt, 0},
    {"VKT_XSCAL", ColumnKind::Double, 8, 0},             {"VKT_YSCAL", ColumnKind::Double, 8, 0},
    {"VKT_FTYPE", ColumnKind::Integer, kSmallInt, 0},    {"VKT_FCOLR", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"VKT_LAYER", ColumnKind::Unsigned, kUnsignedInt, 0}, {"VKT_TRANS", ColumnKind::Integer, kSmallInt, 0},
};

const StyleColumn kTextColumns[] = {
    {"线型", ColumnKind::Unsigned, kUnsignedInt, 0},   {"线颜色", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"线宽", ColumnKind::Double, 8, 3},               {"线类型", ColumnKind::Integer, kSmallInt, 0},
    {"X系数", ColumnKind::Double, 8, 0},              {"Y系数", ColumnKind::Double, 8, 0},
    {"辅助线型", ColumnKind::Integer, kSmallInt, 0},  {"辅助颜色", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"图层", ColumnKind::Unsigned, kUnsignedInt, 0},   {"透明输出", ColumnKind::Text, 8, 0},
};

}  // namespace

long ConvertLines(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return LineConverter(in).Run(source, base);
}

void LineConverter::AddStyleColumns() {
  static const StyleColumn kSymbol[] = {{"VKT_SYMBOL", ColumnKind::Text, kCodeWidth, 0}};
  static const StyleColumn kLegend[] = {{"VKT_LEGEND", ColumnKind::Text, kCodeWidth, 0}};
  AddModeColumns({kSymbol, 1, kRawColumns, kTextColumns, 10, kLegend, 1, L"------I__增加图示编码字段[%ls]"});
}

void LineConverter::WriteStyleValues(int row) {
  StyleKey key;
  key.type = line_.lineType;
  key.extra = line_.auxType;
  key.size1 = line_.width;
  key.size2 = line_.xScale;
  key.size3 = line_.yScale;
  std::string code;
  switch (Mode()) {
    case kStyleRaw:
    case kStyleText: {
      const bool text = Mode() == kStyleText;
      WriteUnsigned(row, Style(0), static_cast<uint32_t>(line_.lineType));
      WriteUnsigned(row, Style(1), text ? ModelColor(line_.color) : static_cast<uint32_t>(line_.color));
      WriteDouble(row, Style(2), line_.width);
      WriteUnsigned(row, Style(3), line_.lineClass);
      WriteDouble(row, Style(4), line_.xScale);
      WriteDouble(row, Style(5), line_.yScale);
      WriteUnsigned(row, Style(6), line_.auxType);
      WriteUnsigned(row, Style(7), text ? ModelColor(line_.auxColor) : static_cast<uint32_t>(line_.auxColor));
      WriteUnsigned(row, Style(8), static_cast<uint32_t>(line_.layer));
      if (text) {
        WriteText(row, Style(9), TransparencyText(line_.transparent));
      } else {
        WriteUnsigned(row, Style(9), line_.transparent);
      }
      break;
    }
    case kStyleLegend: {
      const uint32_t rgb = PackedRgb(line_.color);
      key.colour = rgb;
      code = LegendCode(key, rgb);
      WriteText(row, Style(0), code);
      break;
    }
    case kStyleCode:
      key.colour = PackedCmyk(line_.color);
      code = SymbolCode(key);
      WriteText(row, Style(0), code);
      break;
    default:
      break;
  }
  if (CollectingStyles()) CollectLine(code);
}

void LineConverter::CollectLine(const std::string& code) {
  const auto style = [this] { return cartography::LineOf(line_, Colours()); };
  if (Mode() == kStyleCode || Mode() == kStyleLegend) return CollectCoded(0, code, style);
  if (Mode() != kStyleRaw && Mode() != kStyleText) return;
  CollectStyle(RawKey(line_.lineType, line_.color, line_.width), [&] {
    const uint32_t colour =
        Mode() == kStyleText ? Colours().ModelValue(line_.color) : static_cast<uint32_t>(line_.color);
    return ClassOf({IntegerIs(StyleName(0), static_cast<uint32_t>(line_.lineType)), IntegerIs(StyleName(1), colour),
                    DecimalIs(StyleName(2), line_.width)},
                   style());
  });
}

std::string LineConverter::LegendText() { return LegendWriter::LineLegend(colours_, keys_); }
