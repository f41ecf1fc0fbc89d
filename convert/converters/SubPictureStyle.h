#pragma once
// Sub-picture points and network nodes: the same style columns and values
// (number, size, angle, colour, layer, transparency), written only for
// records whose point kind is 1. Also the size factors and the coded-mode
// angle that annotations share with them.
#include "AngleModel.h"
#include "LayerConverter.h"
#include "RecordStyle.h"

class SubPictureStyleConverter : public LayerConverter {
 public:
  using LayerConverter::LayerConverter;

 protected:
  ShapeKind Shapes() const override { return ShapeKind::Point; }
  void AddStyleColumns() override;
  // Style values of point_ when it is a sub-picture; other kinds leave the
  // style columns empty.
  void WriteStyleValues(int row) override;
  std::string LegendText() override;
  // The angle rule of the style values.
  virtual AngleUse Use() const = 0;
  // The class of the sub-picture just written: by its code, or by its colour and width.
  void CollectMarker(const std::string& code);

  MapGis::MAPGIS_PntInfo point_{};
};

// Width and height factors of sub-pictures and annotations, from the
// layer's projection record (doubles at 153 and 161); a factor that is not
// a positive finite number is 1.
using SizeFactors = cartography::SizeFactors;
SizeFactors ReadSizeFactors(MapGis::MapGis_FastReader& reader);
