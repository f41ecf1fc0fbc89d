#pragma once
// The attribute values of one record of a layer, as "name = value" lines,
// for the file-information tab when a shape of the preview is clicked.
#include <QString>

// `table` is the reader's attribute kind (0 lines/arcs, 1 points/nodes,
// 2 polygons), `record` the record index.
QString FeatureAttributesText(const QString& path, int table, int record);
