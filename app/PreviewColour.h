#pragma once
// The colour the preview gives a MapGIS colour number.
#include <QColor>
#include <QString>

namespace MapGis {
class MapGis_ColorLib;
}

// With a loaded colour library: the library's RGB value, black for a number
// outside it (as the converters' RGB model gives it). Without one: a fixed
// palette, so distinct numbers still look distinct.
QColor PreviewColour(const MapGis::MapGis_ColorLib* library, long number);

// Loads "Pcolor.lib" (any letter case) from the first of `folders` that has
// one; false when none loads.
bool LoadPreviewColours(MapGis::MapGis_ColorLib& library, const QStringList& folders);
