#pragma once
// A result written as a layer of a GeoPackage through GDAL: full column
// names, whole texts in UTF-8, dates as dates, the .prj text as the layer's
// spatial reference, the .qml/.sld texts as its default style, a .CSV as a
// table beside it. The layer is put in place with the entry (GeoPackageTarget).
#include <memory>
#include <string>
#include <vector>

#include "GeoPackageTarget.h"
#include "LayerWriter.h"
#include "ResultStaging.h"

class OGRFeature;

class GeoPackageWriter : public LayerWriter {
 public:
  // `finalBase` names the layer: "DIR/NAME.gpkg/LAYER" (SplitLayerPath).
  GeoPackageWriter(ResultStaging& staging, const std::wstring& finalBase);
  ~GeoPackageWriter() override;
  GeoPackageWriter(const GeoPackageWriter&) = delete;
  GeoPackageWriter& operator=(const GeoPackageWriter&) = delete;

  bool Utf8() const override { return true; }
  // Every part of the result is the layer.
  std::wstring PartName(const wchar_t*) const override { return finalBase_; }
  bool CreateTable(std::wstring* failed) override;
  bool CreateShapes(ShapeKind kind, std::wstring* failed) override;
  // Names are kept whole; a name already taken (letter case ignored) gets a number.
  int AddColumn(const std::string& name, ColumnKind kind, int width, int decimals, StoredColumn* stored) override;
  bool WriteShape(const MapGis::Geometry* g) override;
  bool WriteString(int row, int column, const std::string& value) override;
  bool WriteStoredText(int row, int column, const std::string& gbk) override;
  bool WriteInteger(int row, int column, int value) override;
  bool WriteUnsigned(int row, int column, uint32_t value) override;
  bool WriteDouble(int row, int column, double value) override;
  // Dates that name no calendar day are written as null.
  bool WriteDate(int row, int column, const MapGis::DATE_STRUstruct& value) override;
  // "HH:MM:SS"; seconds that are not finite or absurd give "00:00:00".
  bool WriteTime(int row, int column, const MapGis::TIME_STRUstruct& value) override;
  bool WriteTimeStamp(int row, int column, const MapGis::TIMESTAMPstruct& value) override;
  bool WriteNull(int row, int column) override;
  void SetSpatialReferenceCode(int epsg) override;
  bool WriteSideFile(const std::wstring& extension, const std::string& bytes) override;
  bool Close() override;
  const WriteFailure* Failure() override;
  void Discard() override;

 private:
  // The feature of table row `row`: the current one, or a new one when
  // `row` is the next row of a table without shapes; null otherwise.
  OGRFeature* Row(int row, int column);
  // Hands the current feature to the layer; rows beyond the memory limit
  // are written into the file.
  void FinishRow();
  void Fail(const std::wstring& reason);

  std::wstring finalBase_;
  GeoPackageTarget* target_ = nullptr;
  std::shared_ptr<PendingLayer> layer_;
  ShapeKind shapes_ = ShapeKind::Point;
  bool hasShapes_ = false;
  OgrFeaturePtr current_;
  int currentRow_ = -1;
  int rows_ = 0;
  bool closed_ = false;
  bool failed_ = false;
  WriteFailure failure_;
};
