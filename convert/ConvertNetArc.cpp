// The arcs of a network file: the line conversion of a layer of kind 4.
#include "ConvertArc.h"
#include "GridmoorProView.h"

namespace {

class NetArcConversion : public LineConversion {
 public:
  using LineConversion::LineConversion;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_NETWORK; }
};

}  // namespace

long CGridmoorProView::ConvertNetArc2Shp(std::wstring source, std::wstring base) {
  NetArcConversion conversion(*this);
  return conversion.Run(source, base);
}
