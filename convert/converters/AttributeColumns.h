#pragma once
// The attribute fields of a MapGIS table as table columns: one column per
// field, declared and filled by the field mapping every conversion shares
// (layers and attribute-table files alike), and the checked value writes.
// Texts are handed over as stored; the writer decides their encoding and cuts.
#include <cstdint>
#include <string>
#include <vector>

#include "MapGis.h"
#include "ConversionLog.h"
#include "LayerWriter.h"
#include "TableText.h"

class AttributeColumns {
 public:
  // Declares one column per field of the reader's current attribute table,
  // with the warning and error lines of the mapping. MAPGIS_OK, or
  // MAPGIS_NO_TABLE after the error line of a field whose type is not a
  // MapGIS type (columns declared before it stay).
  long Declare(MapGis::MapGis_FastReader& reader, LayerWriter& out, ConversionLog& log);
  // Writes the values of attribute record `record` into table row `row`.
  void Write(MapGis::MapGis_FastReader& reader, LayerWriter& out, int record, int row, ConversionLog& log) const;

 private:
  struct Field {
    int type = 0;
    int column = -1;  // -1: the column could not be added
  };
  std::vector<Field> fields_;
};

// Value writes that log a warning when a value does not fit its column.
// A column below 0 (one that could not be added) is passed over.
void WriteTextValue(LayerWriter& out, ConversionLog& log, int row, int column, const std::string& tableText);
// A text as the MapGIS file stores it (GBK).
void WriteStoredTextValue(LayerWriter& out, ConversionLog& log, int row, int column, const std::string& gbk);
void WriteUnsignedValue(LayerWriter& out, ConversionLog& log, int row, int column, uint32_t value);
void WriteSignedValue(LayerWriter& out, ConversionLog& log, int row, int column, int32_t value);
void WriteDoubleValue(LayerWriter& out, ConversionLog& log, int row, int column, double value);
void WriteNullValue(LayerWriter& out, int row, int column);
