#pragma once
// Record reads shared by the layer readers: tic tables, annotation texts,
// coordinate runs.
#include <vector>

#include "LayerFile.h"
#include "MapGisGeometry.h"

namespace MapGis::detail {

// Tic count as the readers use it: the low 16 bits, signed.
inline int TicCount(const MAPGIS_Tic_Stru& tic) { return static_cast<int16_t>(tic.ticCount & 0xFFFF); }

// Loads the tic table of `layer` (count x 32 bytes at section 1 + tic offset).
long LoadTics(const LayerFile& layer, std::vector<MAPGIS_Tic_Info>& tics);

// Reads an annotation text into `text` (260 bytes): at most 259 bytes and a terminator.
long ReadNoteText(const LayerFile& layer, const MAPGIS_PntInfo& rec, char* text);

// Reads the coordinate run of `rec` into `geo` as a one-part polyline.
// `checkDataArea` refuses a point count beyond section 1's length / 16.
long ReadLineGeometry(const LayerFile& layer, const MAPGIS_LineInfo& rec, bool checkDataArea, bool allBounds,
                      Geometry* geo);

}  // namespace MapGis::detail
