// Annotation conversion: the annotations (kind 0) and text blocks (kind 5)
// of a point file, with their text and, by style mode, their typographic
// parameters and label mark-up. No legend is written.
#include <cstring>

#include "PointLabel.h"
#include "RecordStyle.h"
#include "StyleClasses.h"
#include "StyleColumns.h"
#include "SubPictureStyle.h"
#include "TableText.h"

namespace {

constexpr char kLogUnit[] = "ConvertPntNote";

// An 8-bit value, or one plus 2, takes up to 3 characters.
constexpr int kByteInt = 3;

const StyleColumn kNoteText[] = {{"注释文字", ColumnKind::Text, 255, 0}};
const StyleColumn kLabel = {"VKT_LABEL", ColumnKind::Text, 255, 0};

const StyleColumn kRawColumns[] = {
    kLabel,
    {"VKT_AHEI", ColumnKind::Double, 8, 3},
    {"VKT_AWID", ColumnKind::Double, 8, 3},
    {"VKT_ASPA", ColumnKind::Double, 8, 3},
    {"VKT_ANGL", ColumnKind::Double, 8, 3},
    {"VKT_CFNT", ColumnKind::Integer, kSmallInt, 0},
    {"VKT_EFNT", ColumnKind::Integer, kSmallInt, 0},
    {"VKT_CFNX", ColumnKind::Integer, kSmallInt, 0},
    {"VKT_ACLR", ColumnKind::Integer, kSignedInt, 0},
    {"VKT_TRAN", ColumnKind::Integer, kByteInt, 0},
    {"VKT_ALGN", ColumnKind::Integer, kByteInt, 0},
    {"VKT_LAYR", ColumnKind::Integer, kSmallInt, 0},
};

const StyleColumn kTextColumns[] = {
    kLabel,
    {"注释高度", ColumnKind::Double, 8, 3},
    {"注释宽度", ColumnKind::Double, 8, 3},
    {"注释间隔", ColumnKind::Double, 8, 3},
    {"注释角度", ColumnKind::Double, 8, 3},
    {"汉字字体", ColumnKind::Text, 16, 0},
    {"西文字体", ColumnKind::Text, 16, 0},
    {"注释字形", ColumnKind::Text, 16, 0},
    {"注释颜色", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"透明输出", ColumnKind::Text, 16, 0},
    {"排列方式", ColumnKind::Text, 16, 0},
    {"图层号", ColumnKind::Integer, kSmallInt, 0},
};

const StyleColumn kLabelColumns[] = {
    kLabel,
    {"VKT_ALIGN", ColumnKind::Integer, kByteInt, 0},
    {"VKT_ANGLE", ColumnKind::Double, 8, 3},
};

std::string FontText(int number, bool style, const TableText& text) {
  char name[260] = {0};
  if (style) {
    MapGis::GetFontStyle(number, name);
  } else {
    MapGis::GetFontName(number, name);
  }
  return text.FromAnsi(name);
}

class AnnotationConverter : public LayerConverter {
 public:
  using LayerConverter::LayerConverter;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POINT; }
  const char* ReportName() const override { return "annotations"; }
  int CountRecords(int* slots) override {
    factors_ = ReadSizeFactors(reader_);
    return reader_.GetPointCount(slots);
  }
  ShapeKind Shapes() const override { return ShapeKind::Point; }
  const wchar_t* ProjectionText() const override { return L"------I__输出注记投影[%ls]"; }
  const wchar_t* OutputText() const override { return L"------I__输出注记文件[%ls]"; }

  long ReadRecord(int r, MapGis::Geometry* g) override {
    index_ = r;
    const long status = reader_.ReadPointInfo(r, &point_, g);
    // Sizes are scaled before anything is written, mark-up included.
    if (status == MapGis::MAPGIS_OK && IsNote()) {
      point_.param.note.width = static_cast<float>(point_.param.note.width * factors_.width);
      point_.param.note.height = static_cast<float>(point_.param.note.height * factors_.height);
    }
    return status;
  }
  bool KeepRecord() const override { return IsNote(); }

  void AddStyleColumns() override {
    LayerConverter::AddStyleColumns(kNoteText, 1);
    switch (Mode()) {
      case kStyleRaw:
      case kStyleText:
        LayerConverter::AddStyleColumns(Mode() == kStyleRaw ? kRawColumns : kTextColumns, 12);
        CONVERT_LOG(Log(), L"------I__增加MapGIS注释参数字段");
        break;
      case kStyleCode:
      case kStyleLegend:
      case kStyleBoard:
        LayerConverter::AddStyleColumns(kLabelColumns, 3);
        CONVERT_LOG(Log(), L"------I__增加注释参数字段[VKT_LABEL]");
        break;
      default:
        break;
    }
    DescribeLabels();
  }

  // The label text, size and angle columns of the style files. Geographic
  // angles (RotateType 1 in the modes that write them) cannot be turned back
  // into one expression (0 stands for both 0 and 90 degrees): the classes
  // then test the angle column themselves.
  void DescribeLabels() {
    cartography::LayerStyle& layer = LayerStyles();
    layer.labelText = StyleName(0);
    const int angleColumn = Mode() == kStyleRaw || Mode() == kStyleText ? 5 : 3;
    if (Mode() == kStyleRaw || Mode() == kStyleText) layer.labelSize = {StyleName(2), CoordinateFactor(), 0.0};
    if (!GeographicAngles()) layer.labelAngle = {StyleName(angleColumn), 1.0, 0.0};
  }

  bool GeographicAngles() const { return Options().RotateType == 1 && Mode() != kStyleRaw; }

  // The angle column's value of the annotation just read.
  double AngleValue() const {
    const float angle = point_.param.note.angle;
    if (Mode() == kStyleRaw) return angle;
    if (Mode() == kStyleText) return Angles().StyleAngle(angle, AngleUse::Annotation);
    return Angles().CodedAngle(angle);
  }

  // The class of the annotation just written: by font, italic, colour and
  // alignment columns, or by its mark-up and alignment; with its angle when
  // the angles are geographic.
  void CollectLabel(const std::string& label, uint8_t align) {
    const MapGis::MAPGIS_NoteParam& note = point_.param.note;
    const int16_t chFont = note.chFont;
    const uint8_t fontStyle = note.fontStyle;
    const float angle = GeographicAngles() ? note.angle : 0.0f;
    const auto style = [&] { return cartography::LabelOf(point_, Colours(), CoordinateFactor()); };
    const auto withAngle = [&](cartography::StyleClass c) {
      if (GeographicAngles()) {
        const cartography::Condition test = DecimalIs(StyleName(Mode() == kStyleText ? 5 : 3), AngleValue());
        c.title += " " + test.column + "=" + test.value;
        c.when.push_back(test);
      } else {
        c.style.label.angle = 0.0;
      }
      return c;
    };
    if (Mode() == kStyleRaw || Mode() == kStyleText) {
      CollectStyle(RawKey(chFont, fontStyle, point_.color, align, angle), [&] {
        if (Mode() == kStyleRaw) {
          return withAngle(ClassOf({IntegerIs(StyleName(6), chFont), IntegerIs(StyleName(8), fontStyle),
                                    IntegerIs(StyleName(9), point_.color), IntegerIs(StyleName(11), align)},
                                   style()));
        }
        return withAngle(ClassOf({TextIs(StyleName(6), TableUtf8(FontText(chFont, false, text_))),
                                  TextIs(StyleName(8), TableUtf8(FontText(fontStyle, true, text_))),
                                  IntegerIs(StyleName(9), Colours().ModelValue(point_.color)),
                                  TextIs(StyleName(11), align != 0 ? "竖排" : "横排")},
                                 style()));
      });
      return;
    }
    const MarkupHead head = HeadOfMarkup(TableUtf8(label));
    if (head.text.empty()) return;
    const int alignValue = point_.kind == 5 ? align + 2 : align;
    CollectStyle(RawKey(alignValue, angle) + head.text + (head.italic ? "<ITA>" : ""), [&] {
      cartography::StyleClass c = MarkupClass(StyleName(1), head, style());
      const cartography::Condition aligned = IntegerIs(StyleName(2), alignValue);
      c.title += " " + aligned.column + "=" + aligned.value;
      c.when.push_back(aligned);
      return withAngle(std::move(c));
    });
  }

  void WriteStyleValues(int row) override {
    char raw[2600];
    std::memset(raw, 0, sizeof raw);
    reader_.GetNoteInfo(index_, raw);
    const std::string text = TableText::ShortenStored(raw);
    WriteStoredText(row, Style(0), raw);
    if (Mode() < kStyleCode || Mode() > kStyleBoard) return;

    const std::string label = BuildPointLabel(point_, text, PackedRgb(point_.color), text_);
    WriteText(row, Style(1), label);
    const MapGis::MAPGIS_NoteParam& note = point_.param.note;
    const uint8_t align = cartography::AlignmentOf(point_);
    if (CollectingStyles()) CollectLabel(label, align);
    switch (Mode()) {
      case kStyleRaw:
        WriteDouble(row, Style(2), note.height);
        WriteDouble(row, Style(3), note.width);
        WriteDouble(row, Style(4), note.space);
        WriteDouble(row, Style(5), note.angle);
        WriteSigned(row, Style(6), note.chFont);
        WriteSigned(row, Style(7), note.enFont);
        WriteSigned(row, Style(8), note.fontStyle);
        WriteSigned(row, Style(9), point_.color);
        WriteSigned(row, Style(10), point_.transparent);
        WriteSigned(row, Style(11), align);
        WriteSigned(row, Style(12), point_.layer);
        break;
      case kStyleText:
        WriteDouble(row, Style(2), note.height);
        WriteDouble(row, Style(3), note.width);
        WriteDouble(row, Style(4), note.space);
        WriteDouble(row, Style(5), Angles().StyleAngle(note.angle, AngleUse::Annotation));
        WriteText(row, Style(6), FontText(note.chFont, false, text_));
        WriteText(row, Style(7), FontText(note.enFont, false, text_));
        WriteText(row, Style(8), FontText(note.fontStyle, true, text_));
        WriteUnsigned(row, Style(9), ModelColor(point_.color));
        WriteText(row, Style(10), TransparencyText(point_.transparent));
        WriteText(row, Style(11), text_.FromUtf8(align != 0 ? "竖排" : "横排"));
        WriteSigned(row, Style(12), point_.layer);
        break;
      default:
        // Code, legend and legend-board modes: a text block's alignment is
        // told apart from an annotation's by 2.
        WriteSigned(row, Style(2), point_.kind == 5 ? align + 2 : align);
        WriteDouble(row, Style(3), Angles().CodedAngle(note.angle));
        break;
    }
  }

  // The skipped records are counted against the rows written; the rows are
  // compared with nothing, as other kinds of points are not annotations.
  long Closing(int written, int, int errors) override {
    if (errors >= 1) {
      CONVERT_LOG(Log(), L"----结束转换[源文件存在错误(%d/%d)]", errors, written);
      return MapGis::MAPGIS_BAD_ARC_LIST;
    }
    CONVERT_LOG(Log(), L"----结束转换[全部正确转换(%d/%d)]", written, written);
    return written == 0 ? kEmptyResult : MapGis::MAPGIS_OK;
  }

 private:
  bool IsNote() const { return point_.kind == 0 || point_.kind == 5; }

  MapGis::MAPGIS_PntInfo point_{};
  int index_ = 0;
  SizeFactors factors_;
};

}  // namespace

long ConvertAnnotations(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return AnnotationConverter(in).Run(source, base);
}
