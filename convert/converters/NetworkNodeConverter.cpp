// The nodes of a network file: every live node with the node attribute
// table, and the sub-picture style of the nodes that carry one.
#include "SubPictureStyle.h"

namespace {

class NetworkNodeConverter : public SubPictureStyleConverter {
 public:
  using SubPictureStyleConverter::SubPictureStyleConverter;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_NETWORK; }
  const char* ReportName() const override { return "network_nodes"; }
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

long ConvertNetworkNodes(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return NetworkNodeConverter(in).Run(source, base);
}
