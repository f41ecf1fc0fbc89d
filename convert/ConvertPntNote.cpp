// Annotation conversion: the annotations (kind 0) and text blocks (kind 5)
// of a point file, with their text and, by style mode, their typographic
// parameters and label mark-up. No legend is written.
#include <cstring>

#include "ConvertLog.h"
#include "GridmoorProView.h"
#include "PointLabel.h"
#include "StyleColumns.h"
#include "SubPictureStyle.h"
#include "TableText.h"

namespace {

// An 8-bit value, or one plus 2, takes up to 3 characters.
constexpr int kByteInt = 3;
// Offset of a text block's own alignment byte within the kind parameters
// (record offset 66).
constexpr size_t kBlockAlignParam = 66 - 33;

const StyleColumn kNoteText[] = {{"注释文字", FTString, 255, 0}};
const StyleColumn kLabel = {"VKT_LABEL", FTString, 255, 0};

const StyleColumn kRawColumns[] = {
    kLabel,
    {"VKT_AHEI", FTDouble, 8, 3},
    {"VKT_AWID", FTDouble, 8, 3},
    {"VKT_ASPA", FTDouble, 8, 3},
    {"VKT_ANGL", FTDouble, 8, 3},
    {"VKT_CFNT", FTInteger, kSmallInt, 0},
    {"VKT_EFNT", FTInteger, kSmallInt, 0},
    {"VKT_CFNX", FTInteger, kSmallInt, 0},
    {"VKT_ACLR", FTInteger, kSignedInt, 0},
    {"VKT_TRAN", FTInteger, kByteInt, 0},
    {"VKT_ALGN", FTInteger, kByteInt, 0},
    {"VKT_LAYR", FTInteger, kSmallInt, 0},
};

const StyleColumn kTextColumns[] = {
    kLabel,
    {"注释高度", FTDouble, 8, 3},
    {"注释宽度", FTDouble, 8, 3},
    {"注释间隔", FTDouble, 8, 3},
    {"注释角度", FTDouble, 8, 3},
    {"汉字字体", FTString, 16, 0},
    {"西文字体", FTString, 16, 0},
    {"注释字形", FTString, 16, 0},
    {"注释颜色", FTInteger, kUnsignedInt, 0},
    {"透明输出", FTString, 16, 0},
    {"排列方式", FTString, 16, 0},
    {"图层号", FTInteger, kSmallInt, 0},
};

const StyleColumn kLabelColumns[] = {
    kLabel,
    {"VKT_ALIGN", FTInteger, kByteInt, 0},
    {"VKT_ANGLE", FTDouble, 8, 3},
};

std::string FontText(int number, bool style) {
  char name[260] = {0};
  if (style) {
    MapGis::GetFontStyle(number, name);
  } else {
    MapGis::GetFontName(number, name);
  }
  return TableText::FromAnsi(name);
}

class NoteConversion : public LayerConversion {
 public:
  using LayerConversion::LayerConversion;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POINT; }
  int CountRecords(int* slots) override {
    factors_ = ReadSizeFactors(reader_);
    return reader_.GetPointCount(slots);
  }
  int ShapeType() const override { return SHPT_POINT; }
  const wchar_t* ProjectionText() const override { return L"------I__输出注记投影[%ls.prj]"; }
  const wchar_t* OutputText() const override { return L"------I__输出注记文件[%ls.shp]"; }

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
    LayerConversion::AddStyleColumns(kNoteText, 1);
    switch (Mode()) {
      case kStyleRaw:
      case kStyleText:
        LayerConversion::AddStyleColumns(Mode() == kStyleRaw ? kRawColumns : kTextColumns, 12);
        CONVERT_LOG(L"------I__增加MapGIS注释参数字段");
        break;
      case kStyleCode:
      case kStyleLegend:
      case kStyleBoard:
        LayerConversion::AddStyleColumns(kLabelColumns, 3);
        CONVERT_LOG(L"------I__增加注释参数字段[VKT_LABEL]");
        break;
      default:
        break;
    }
  }

  void WriteStyleValues(int row) override {
    char raw[2600];
    std::memset(raw, 0, sizeof raw);
    reader_.GetNoteInfo(index_, raw);
    const std::string text = TableText::ShortenStored(raw);
    WriteText(row, Style(0), TableText::StoredValueText(raw));
    if (Mode() < kStyleCode || Mode() > kStyleBoard) return;

    WriteText(row, Style(1), BuildPointLabel(point_, text, PackedRgb(point_.color)));
    const MapGis::MAPGIS_NoteParam& note = point_.param.note;
    const uint8_t align = point_.kind == 5 ? point_.param.raw[kBlockAlignParam] : note.align;
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
        WriteDouble(row, Style(5), StyleAngle(note.angle, AngleUse::Annotation));
        WriteText(row, Style(6), FontText(note.chFont, false));
        WriteText(row, Style(7), FontText(note.enFont, false));
        WriteText(row, Style(8), FontText(note.fontStyle, true));
        WriteUnsigned(row, Style(9), view_.GetModelColor(point_.color));
        WriteText(row, Style(10), TransparencyText(point_.transparent));
        WriteText(row, Style(11), TableText::FromUtf8(align != 0 ? "竖排" : "横排"));
        WriteSigned(row, Style(12), point_.layer);
        break;
      default:
        // Code, legend and legend-board modes: a text block's alignment is
        // told apart from an annotation's by 2.
        WriteSigned(row, Style(2), point_.kind == 5 ? align + 2 : align);
        WriteDouble(row, Style(3), CodedAngle(note.angle));
        break;
    }
  }

  // The skipped records are counted against the rows written; the rows are
  // compared with nothing, as other kinds of points are not annotations.
  long Closing(int written, int, int errors) override {
    if (errors >= 1) {
      CONVERT_LOG(L"----结束转换[源文件存在错误(%d/%d)]", errors, written);
      return MapGis::MAPGIS_BAD_ARC_LIST;
    }
    CONVERT_LOG(L"----结束转换[全部正确转换(%d/%d)]", written, written);
    return MapGis::MAPGIS_OK;
  }

 private:
  bool IsNote() const { return point_.kind == 0 || point_.kind == 5; }

  MapGis::MAPGIS_PntInfo point_{};
  int index_ = 0;
  SizeFactors factors_;
};

}  // namespace

long CGridmoorProView::ConvertNote2Shp(std::wstring source, std::wstring base) {
  NoteConversion conversion(*this);
  return conversion.Run(source, base);
}
