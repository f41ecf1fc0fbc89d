// Sub-picture conversion: only the symbol points (kind 1) of a point file,
// their sizes scaled by the layer's size factors.
#include "SubPictureStyle.h"

namespace {

constexpr char kLogUnit[] = "ConvertPntSub";

class SubPictureConverter : public SubPictureStyleConverter {
 public:
  using SubPictureStyleConverter::SubPictureStyleConverter;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_POINT; }
  const char* ReportName() const override { return "sub_pictures"; }
  int CountRecords(int* slots) override {
    factors_ = ReadSizeFactors(reader_);
    return reader_.GetPointCount(slots);
  }
  long ReadRecord(int r, MapGis::Geometry* g) override {
    const long status = reader_.ReadPointInfo(r, &point_, g);
    if (status == MapGis::MAPGIS_OK && point_.kind == 1) {
      point_.param.sub.width = static_cast<float>(point_.param.sub.width * factors_.width);
      point_.param.sub.height = static_cast<float>(point_.param.sub.height * factors_.height);
    }
    return status;
  }
  bool KeepRecord() const override { return point_.kind == 1; }
  AngleUse Use() const override { return AngleUse::SubPicture; }

  // Written sub-pictures are compared with nothing: the valid count holds
  // every kind of point.
  long Closing(int written, int valid, int errors) override {
    if (errors >= 1) {
      CONVERT_LOG(Log(), SkippedText(), written, valid);
      return MapGis::MAPGIS_BAD_ARC_LIST;
    }
    CONVERT_LOG(Log(), L"----结束转换[全部正确转换(%d/%d)]", written, valid);
    return written == 0 ? kEmptyResult : MapGis::MAPGIS_OK;
  }

 private:
  SizeFactors factors_;
};

}  // namespace

long ConvertSubPictures(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return SubPictureConverter(in).Run(source, base);
}
