// The arcs of a network file: the line conversion of a layer of kind 4.
#include "LineConverter.h"

namespace {

class NetworkArcConverter : public LineConverter {
 public:
  using LineConverter::LineConverter;

 protected:
  int LayerKind() const override { return MapGis::MAPGIS_TYPE_NETWORK; }
  const char* ReportName() const override { return "network_arcs"; }
};

}  // namespace

long ConvertNetworkArcs(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  return NetworkArcConverter(in).Run(source, base);
}
