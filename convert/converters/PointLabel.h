#pragma once
// The "VKT_LABEL" value of an annotation point: its text as label mark-up,
// in the table's encoding, at most 255 bytes with its tags whole.
#include <cstdint>
#include <string>

#include "MapGis.h"
#include "TableText.h"

// `text` is the annotation text as stored (GBK); kinds other than 0 and 5
// give an empty label.
std::string BuildPointLabel(const MapGis::MAPGIS_PntInfo& record, const std::string& text, uint32_t rgb,
                            const TableText& table);
