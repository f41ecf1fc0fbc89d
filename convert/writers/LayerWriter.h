#pragma once
// One result being written, whatever the format: a table of columns and
// rows and, for a layer, one shape per row. Converters write through this
// interface and do not know the format. A result is kept only when it was
// closed whole; until then it lives under a temporary name (ResultStaging).
#include <cstdint>
#include <string>

#include "MapGisGeometry.h"

// Kinds of table columns.
enum class ColumnKind { Text, Integer, Double };

// Shape kinds of a layer.
enum class ShapeKind { Point, Line, Polygon };

// A write that failed: the file and the system's reason.
struct WriteFailure {
  std::wstring file;
  std::wstring reason;
};

class LayerWriter {
 public:
  virtual ~LayerWriter() = default;

  // Creates the table. False with `failed` naming the file that could not be made.
  virtual bool CreateTable(std::wstring* failed) = 0;
  // Creates the shapes of a layer (after the table's columns).
  virtual bool CreateShapes(ShapeKind kind, std::wstring* failed) = 0;

  // Adds a column named `name` (in the table's encoding) and returns its
  // index, or -1. A format that limits names cuts the name and makes it
  // unique; `renamed` tells whether the stored name `stored` differs from
  // the name cut to the format's limit.
  virtual int AddColumn(const std::string& name, ColumnKind kind, int width, int decimals, std::string* stored,
                        bool* renamed) = 0;

  // Appends a shape; an empty geometry (or null) becomes a null shape so
  // rows and shapes stay aligned.
  virtual bool WriteShape(const MapGis::Geometry* g) = 0;

  // Values of row `row`: false when the value could not be written whole.
  virtual bool WriteString(int row, int column, const std::string& value) = 0;
  virtual bool WriteInteger(int row, int column, int value) = 0;
  virtual bool WriteUnsigned(int row, int column, uint32_t value) = 0;
  virtual bool WriteDouble(int row, int column, double value) = 0;
  virtual bool WriteNull(int row, int column) = 0;

  // A text file that belongs to the result (".prj", ".avl", ".CSV"),
  // written whole; false when it could not be written (Failure() tells why).
  virtual bool WriteSideFile(const std::wstring& extension, const std::string& bytes) = 0;

  // Closes the result's files. False when something could not be written.
  virtual bool Close() = 0;
  // The first write that failed, or null. A failure stops the conversion.
  virtual const WriteFailure* Failure() = 0;
  // The result is not kept (an empty result, a stopped conversion).
  virtual void Discard() = 0;
};
