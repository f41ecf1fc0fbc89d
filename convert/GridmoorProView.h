#pragma once
// The main view of the program, without its widgets: the colour library of
// the run, the host that shows what happens, and the operations that
// convert each kind of MapGIS file.
#include <string>

#include "ConvertHost.h"
#include "MapGis.h"

class CGridmoorProView {
 public:
  CGridmoorProView() = default;

  void SetHost(ConvertHost* host) { host_ = host; }
  ConvertHost* Host() const { return host_; }
  MapGis::MapGis_ColorLib& ColorLib() { return colorLib_; }

  // Colour and angle models of style values.
  MapGis::CMYKQUAD GetCmykColor(long number);
  MapGis::RGBTRIPLE GetRGBColor(long number);
  uint32_t GetModelColor(long number);

  // Converters of one layer file each: source path and output base path
  // (full path without extension) in, conversion result out.
  long ConvertPoint2Shp(std::wstring source, std::wstring base);
  long ConvertArc2Shp(std::wstring source, std::wstring base);
  long ConvertPolygon2Shp(std::wstring source, std::wstring base);
  long ConvertPolyArc2Shp(std::wstring source, std::wstring base);
  // The annotations (kinds 0 and 5) and the sub-pictures (kind 1) of a point file.
  long ConvertNote2Shp(std::wstring source, std::wstring base);
  long ConvertPntSub2Shp(std::wstring source, std::wstring base);
  // The arcs and the nodes of a network file.
  long ConvertNetArc2Shp(std::wstring source, std::wstring base);
  long ConvertNetPoint2Shp(std::wstring source, std::wstring base);
  // An attribute-table file into base + ".dbf".
  long ConvertWB2DBF(std::wstring source, std::wstring base);
  // A project into an index of its layers' extents, with base + ".CSV"
  // mapping each index number to the layer's file.
  long ConvertMpj2Shp(std::wstring source, std::wstring base);

 private:
  ConvertHost* host_ = nullptr;
  MapGis::MapGis_ColorLib colorLib_;
};
