#include "ShapefileOutput.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "MapGisCodePage.h"
#include "ShapeFileHooks.h"
#include "TableText.h"

namespace {

std::string Utf8(const std::wstring& s) { return MapGis::WideToUtf8(s); }

bool Exists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

// The dBASE language driver of code page 936 (byte 29 of the header).
constexpr unsigned char kLanguageDriver936 = 0x4D;

}  // namespace

int DBFWriteUnsignedIntAttribute(DBFHandle dbf, int row, int column, uint32_t value) {
  int width = 0, decimals = 0;
  if (!dbf || DBFGetFieldInfo(dbf, column, nullptr, &width, &decimals) == FTInvalid || width <= 0) return 0;
  char text[32];
  const int n = std::snprintf(text, sizeof text, "%*u", width, value);
  if (n < 0 || n > width) return 0;
  return DBFWriteAttributeDirectly(dbf, row, column, text);
}

ShapefileOutput::~ShapefileOutput() { Close(); }

bool ShapefileOutput::CreateTable(const std::wstring& base, bool utf8, std::wstring* failed) {
  utf8_ = utf8;
  const std::string b = Utf8(base);
  dbfPath_ = b + ".dbf";
  const std::string cpg = b + ".cpg";
  SAHooks hooks = BufferedShapeHooks();
  dbf_ = DBFCreateLL(dbfPath_.c_str(), utf8 ? "UTF-8" : "936", &hooks);
  if (!dbf_) {
    if (failed) *failed = base + L".dbf";
    return false;
  }
  created_.push_back(dbfPath_);
  // shapelib writes the code page file itself but does not report its failure.
  if (!Exists(cpg)) {
    if (failed) *failed = base + L".cpg";
    return false;
  }
  created_.push_back(cpg);
  return true;
}

bool ShapefileOutput::CreateShapes(const std::wstring& base, int shapeType, std::wstring* failed) {
  const std::string b = Utf8(base);
  SAHooks hooks = BufferedShapeHooks();
  shp_ = SHPCreateLL(b.c_str(), shapeType, &hooks);
  if (!shp_) {
    if (failed) *failed = base + L".shp";
    return false;
  }
  created_.push_back(b + ".shp");
  created_.push_back(b + ".shx");
  return true;
}

int ShapefileOutput::AddColumn(const std::string& name, DBFFieldType type, int width, int decimals,
                               std::string* written) {
  if (!dbf_) return -1;
  std::string stored = TableText::CutAt(name, XBASE_FLDNAME_LEN_WRITE, utf8_);
  // A later column whose name is taken gets a number in its tail.
  for (int n = 1; n < 100000; ++n) {
    bool taken = false;
    for (const std::string& s : names_) taken = taken || s == stored;
    if (!taken) break;
    const std::string digits = std::to_string(n);
    stored = TableText::CutAt(name, XBASE_FLDNAME_LEN_WRITE - digits.size(), utf8_) + digits;
  }
  if (width < 1) width = 1;
  if (width > 255) width = 255;
  const int column = DBFAddField(dbf_, stored.c_str(), type, width, decimals);
  if (column < 0) return -1;
  names_.push_back(stored);
  if (written) *written = stored;
  return column;
}

int ShapefileOutput::ColumnCount() const { return dbf_ ? DBFGetFieldCount(dbf_) : 0; }

bool ShapefileOutput::WriteShape(const MapGis::Geometry* g) {
  if (!shp_) return false;
  SHPObject object;
  std::memset(&object, 0, sizeof object);
  object.nShapeId = -1;
  if (!g || g->nVertices < 1 || !g->padfX || !g->padfY) {
    object.nSHPType = SHPT_NULL;
  } else {
    object.nSHPType = g->nSHPType;
    object.nParts = g->nParts;
    object.panPartStart = g->panPartStart;
    object.panPartType = g->panPartType;
    object.nVertices = g->nVertices;
    object.padfX = g->padfX;
    object.padfY = g->padfY;
    object.padfZ = g->padfZ;
    object.padfM = g->padfM;
    SHPComputeExtents(&object);
  }
  return SHPWriteObject(shp_, -1, &object) >= 0;
}

bool ShapefileOutput::WriteString(int row, int column, const std::string& value) {
  if (!dbf_ || column < 0) return false;
  int width = 0;
  DBFGetFieldInfo(dbf_, column, nullptr, &width, nullptr);
  const std::string fitted = TableText::CutAt(value, static_cast<size_t>(width > 0 ? width : 0), utf8_);
  return DBFWriteStringAttribute(dbf_, row, column, fitted.c_str()) != 0 && fitted.size() == value.size();
}

bool ShapefileOutput::WriteInteger(int row, int column, int value) {
  return dbf_ && column >= 0 && DBFWriteIntegerAttribute(dbf_, row, column, value) != 0;
}

bool ShapefileOutput::WriteUnsigned(int row, int column, uint32_t value) {
  return dbf_ && column >= 0 && DBFWriteUnsignedIntAttribute(dbf_, row, column, value) != 0;
}

bool ShapefileOutput::WriteDouble(int row, int column, double value) {
  return dbf_ && column >= 0 && DBFWriteDoubleAttribute(dbf_, row, column, value) != 0;
}

bool ShapefileOutput::WriteNull(int row, int column) {
  return dbf_ && column >= 0 && DBFWriteNULLAttribute(dbf_, row, column) != 0;
}

void ShapefileOutput::Close() {
  if (shp_) SHPClose(shp_);
  shp_ = nullptr;
  if (dbf_) {
    DBFClose(dbf_);
    dbf_ = nullptr;
    if (!utf8_) {
      std::fstream f(dbfPath_, std::ios::in | std::ios::out | std::ios::binary);
      if (f) {
        f.seekp(29);
        f.put(static_cast<char>(kLanguageDriver936));
      }
    }
  }
}
