#pragma once
// Line conversion, also the base of the polygon-arc conversion, which
// writes the same line style.
#include "LayerConverter.h"

class LineConverter : public LayerConverter {
 public:
  using LayerConverter::LayerConverter;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_LINE; }
  const char* ReportName() const override { return "lines"; }
  int CountRecords(int* slots) override { return reader_.GetArcCount(slots); }
  ShapeKind Shapes() const override { return ShapeKind::Line; }
  void AddStyleColumns() override;
  long ReadRecord(int r, MapGis::Geometry* g) override { return reader_.ReadArcInfo(r, &line_, g); }
  void WriteStyleValues(int row) override;
  std::string LegendText() override;
  const wchar_t* SkippedText() const override { return L"----结束转换[源文件存在错误(%d/%d)]"; }
  // The class of the line just written: by its code, or by its type, colour and width.
  void CollectLine(const std::string& code);

  MapGis::MAPGIS_LineInfo line_{};
};
