#pragma once
// Field names of one OGR layer made unique the way GDAL compares them
// (ASCII letters without case): a repeated name gets "_2", "_3" ... In
// time proportional to the names, so a file with thousands of fields of
// one name opens as fast as any other.
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace ogrmapgis {

class FieldNames {
 public:
  // `wanted` if no earlier name equals it, else the first free "wanted_N"
  // from N = 2; the name returned is taken.
  std::string Unique(const std::string& wanted);

 private:
  std::unordered_set<std::string> taken_;      // folded names given out
  std::unordered_map<std::string, int> next_;  // next suffix to try, by folded wanted name
};

}  // namespace ogrmapgis
