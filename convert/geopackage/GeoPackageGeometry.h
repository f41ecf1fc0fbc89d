#pragma once
// Shapes of the converters as GeoPackage geometries: points, lines as
// multi-line strings, polygons as multi-polygons whose rings are grouped
// the way shapefile readers group them (clockwise rings are outer rings,
// counter-clockwise rings holes of the outer ring that holds them).
#include <memory>

#include "LayerWriter.h"

class OGRGeometry;

// GDAL's geometry type of a layer of `kind`.
int GeoPackageGeometryType(ShapeKind kind);

// The geometry of `g` for a layer of `kind`; null for a null shape (no
// vertex, or no part that holds one).
std::unique_ptr<OGRGeometry> ToGeoPackageGeometry(const MapGis::Geometry& g, ShapeKind kind);
