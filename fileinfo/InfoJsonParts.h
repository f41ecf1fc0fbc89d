#pragma once
// The JSON form of each part of the report.
#include <nlohmann/json.hpp>

#include <string>

#include "InfoModel.h"

namespace gridmoor {

using Json = nlohmann::ordered_json;

// {"code": status, "text": meaning}
Json StatusJson(long status, const std::string& text);
Json ExtentJson(const Extent& extent);
Json ProjectionJson(const MapGis::MAP_PARAstruct& projection);
// A float as the shortest decimal that reads back as the same float, so that
// 0.1f is 0.1 and not 0.100000001490116.
double ShortFloat(float v);

Json LayerJson(const LayerInfo& info);
Json ProjectJson(const ProjectInfo& info);
Json ColorLibraryJson(const ColorLibraryInfo& info);

}  // namespace gridmoor
