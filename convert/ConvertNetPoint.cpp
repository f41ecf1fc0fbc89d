// The nodes of a network file: every live node with the node attribute
// table, and the sub-picture style of the nodes that carry one.
#include "GridmoorProView.h"
#include "SubPictureStyle.h"

namespace {

class NetPointConversion : public SubPictureConversion {
 public:
  using SubPictureConversion::SubPictureConversion;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_NETWORK; }
  int CountRecords(int* slots) override { return reader_.GetPointCount(slots); }
  // The node attributes; a network without them stops rather than
  // converting the arc table in their place.
  long SelectAttributes() override {
    return reader_.SetAttributeType(1) == MapGis::MAPGIS_OK ? MapGis::MAPGIS_OK : MapGis::MAPGIS_NO_TABLE;
  }
  long ReadRecord(int r, MapGis::Geometry* g) override { return reader_.ReadPointInfo(r, &point_, g); }
  AngleUse Use() const override { return AngleUse::NetworkNode; }
};

}  // namespace

long CGridmoorProView::ConvertNetPoint2Shp(std::wstring source, std::wstring base) {
  NetPointConversion conversion(*this);
  return conversion.Run(source, base);
}
