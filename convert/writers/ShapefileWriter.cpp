#include "ShapefileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "DbfNumbers.h"
#include "DiskWait.h"
#include "MapGisCodePage.h"
#include "ShapeFileHooks.h"
#include "TableText.h"

namespace {

// The dBASE language driver of code page 936 (byte 29 of the header).
constexpr unsigned char kLanguageDriver936 = 0x4D;
constexpr off_t kLanguageDriverOffset = 29;

std::wstring Reason(int error) { return MapGis::Utf8ToWide(std::strerror(error)); }

constexpr int kMaxColumnWidth = 255;

DBFFieldType DbfType(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Unsigned: return FTInteger;
    case ColumnKind::Double: return FTDouble;
    default: return FTString;
  }
}

std::string DateText(const MapGis::DATE_STRUstruct& d) { return DbfNumbers::DateText(d.year, d.month, d.day); }

// Seconds that are not finite or absurd give the all-zero text.
std::string TimeText(const MapGis::TIME_STRUstruct& t) {
  char text[64];
  if (!std::isfinite(t.second) || t.second < 0.0 || t.second >= 1.0e6) return "00:00:00.00";
  std::snprintf(text, sizeof text, "%02d:%02d:%04.2f", t.hour, t.minute, t.second);
  return text;
}

std::string TimeStampText(const MapGis::TIMESTAMPstruct& t) {
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d:%02d:%02d.%08u", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.fraction);
  return text;
}

int ShpType(ShapeKind kind) {
  switch (kind) {
    case ShapeKind::Point: return SHPT_POINT;
    case ShapeKind::Line: return SHPT_ARC;
    default: return SHPT_POLYGON;
  }
}

// Writes the language driver byte of a closed GBK table; the system's error
// number, or 0.
int PatchLanguageDriver(const std::string& dbfPath) {
  const int fd = open(dbfPath.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  const unsigned char byte = kLanguageDriver936;
  if (pwrite(fd, &byte, 1, kLanguageDriverOffset) != 1) error = errno ? errno : EIO;
  if (!error) StartWriting(fd);
  if (close(fd) != 0 && !error) error = errno;
  return error;
}

}  // namespace

int DBFWriteUnsignedIntAttribute(DBFHandle dbf, int row, int column, uint32_t value) {
  int width = 0, decimals = 0;
  if (!dbf || DBFGetFieldInfo(dbf, column, nullptr, &width, &decimals) == FTInvalid || width <= 0) return 0;
  char text[32];
  const int n = std::snprintf(text, sizeof text, "%*u", width, value);
  if (n < 0 || n > width) return 0;
  return DBFWriteAttributeDirectly(dbf, row, column, text);
}

ShapefileWriter::ShapefileWriter(ResultStaging& staging, const std::wstring& finalBase, bool utf8)
    : staging_(staging), finalBase_(finalBase), utf8_(utf8) {}

ShapefileWriter::~ShapefileWriter() {
  // A result that was never closed whole is not kept.
  if (!closed_) Discard();
}

void ShapefileWriter::Fail(const std::wstring& file, int error) {
  if (failed_) return;
  failed_ = true;
  failure_ = WriteFailure{file, Reason(error)};
}

std::string ShapefileWriter::TempPath(const char* extension) {
  if (tempBase_.empty()) {
    int error = 0;
    tempBase_ = staging_.Stage(MapGis::WideToUtf8(finalBase_), &error);
    if (tempBase_.empty()) {
      Fail(finalBase_ + MapGis::Utf8ToWide(extension), error);
      return std::string();
    }
  }
  return tempBase_ + extension;
}

bool ShapefileWriter::CheckHooks() {
  const ShapeFileFailure* f = LastShapeFileFailure();
  if (!f) return true;
  // Report the failure under the file's final name.
  const size_t dot = f->path.find_last_of('.');
  const std::wstring ext = MapGis::Utf8ToWide(dot == std::string::npos ? std::string() : f->path.substr(dot));
  Fail(finalBase_ + ext, f->error);
  return false;
}

bool ShapefileWriter::CreateTable(std::wstring* failed) {
  ClearShapeFileFailure();
  const std::string dbfPath = TempPath(".dbf");
  if (!dbfPath.empty()) {
    SAHooks hooks = BufferedShapeHooks();
    dbf_ = DBFCreateLL(dbfPath.c_str(), utf8_ ? "UTF-8" : "936", &hooks);
  }
  // shapelib writes the code page file itself but reports only the table.
  if (!dbf_ || !CheckHooks()) {
    if (!failed_) Fail(finalBase_ + L".dbf", errno ? errno : EIO);
    if (failed) *failed = failure_.file;
    return false;
  }
  rows_ = std::make_unique<DbfRows>(dbf_);
  return true;
}

char* ShapefileWriter::DirectField(int row, int column, int* size) {
  return rows_ ? rows_->Field(row, column, size) : nullptr;
}

void ShapefileWriter::ThroughShapelib() {
  if (rows_) rows_->HandBack();
}

bool ShapefileWriter::CreateShapes(ShapeKind kind, std::wstring* failed) {
  const std::string shpPath = TempPath(".shp");
  if (!shpPath.empty()) {
    SAHooks hooks = BufferedShapeHooks();
    shp_ = SHPCreateLL(shpPath.c_str(), ShpType(kind), &hooks);
  }
  if (!shp_ || !CheckHooks()) {
    if (!failed_) Fail(finalBase_ + L".shp", errno ? errno : EIO);
    if (failed) *failed = failure_.file;
    return false;
  }
  return true;
}

int ShapefileWriter::AddColumn(const std::string& name, ColumnKind kind, int width, int decimals,
                               StoredColumn* written) {
  if (!dbf_) return -1;
  const std::string cut = TableText::CutAt(name, XBASE_FLDNAME_LEN_WRITE, utf8_);
  std::string stored = cut;
  for (int n = 1; n < 100000; ++n) {
    bool taken = false;
    for (const std::string& s : names_) taken = taken || s == stored;
    if (!taken) break;
    const std::string digits = std::to_string(n);
    stored = TableText::CutAt(name, XBASE_FLDNAME_LEN_WRITE - digits.size(), utf8_) + digits;
  }
  if (written) *written = StoredColumn{stored, stored != cut, width > kMaxColumnWidth};
  if (width < 1) width = 1;
  if (width > kMaxColumnWidth) width = kMaxColumnWidth;
  if (rows_ && rows_->Started()) ThroughShapelib();  // a column after rows: shapelib rewrites them
  const int column = DBFAddField(dbf_, stored.c_str(), DbfType(kind), width, decimals);
  if (column < 0) return -1;
  names_.push_back(stored);
  NumberColumn number;
  const char native = DBFGetNativeFieldType(dbf_, column);
  if (native == 'N' || native == 'F') DBFGetFieldInfo(dbf_, column, nullptr, &number.width, &number.decimals);
  if (static_cast<size_t>(column) >= numbers_.size()) numbers_.resize(static_cast<size_t>(column) + 1);
  numbers_[static_cast<size_t>(column)] = number;
  return column;
}

bool ShapefileWriter::WriteShape(const MapGis::Geometry* g) {
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
  const bool ok = SHPWriteObject(shp_, -1, &object) >= 0;
  return CheckHooks() && ok;
}

bool ShapefileWriter::WriteString(int row, int column, const std::string& value) {
  if (!dbf_ || column < 0) return false;
  int width = 0;
  DBFGetFieldInfo(dbf_, column, nullptr, &width, nullptr);
  const std::string fitted = TableText::CutAt(value, static_cast<size_t>(width > 0 ? width : 0), utf8_);
  const bool whole = fitted.size() == value.size();
  // Text into a column of another type is shapelib's to convert.
  if (rows_ && (column >= DBFGetFieldCount(dbf_) || rows_->Type(column) != 'C')) ThroughShapelib();
  int size = 0;
  if (char* field = DirectField(row, column, &size)) return DbfRows::Put(field, size, fitted.c_str()) && whole;
  return DBFWriteStringAttribute(dbf_, row, column, fitted.c_str()) != 0 && whole;
}

bool ShapefileWriter::WriteStoredText(int row, int column, const std::string& gbk) {
  return WriteString(row, column, TableText(utf8_).StoredValueText(gbk));
}

bool ShapefileWriter::WriteDate(int row, int column, const MapGis::DATE_STRUstruct& value) {
  return WriteString(row, column, DateText(value));
}

bool ShapefileWriter::WriteTime(int row, int column, const MapGis::TIME_STRUstruct& value) {
  return WriteString(row, column, TimeText(value));
}

bool ShapefileWriter::WriteTimeStamp(int row, int column, const MapGis::TIMESTAMPstruct& value) {
  return WriteString(row, column, TimeStampText(value));
}

const ShapefileWriter::NumberColumn* ShapefileWriter::Numeric(int column) const {
  if (!dbf_ || column < 0 || static_cast<size_t>(column) >= numbers_.size()) return nullptr;
  const NumberColumn& n = numbers_[static_cast<size_t>(column)];
  return n.width > 0 ? &n : nullptr;
}

// Numbers are formatted here, into the bytes shapelib's own writes would
// store, and stored as they are: shapelib's writes format through printf.
bool ShapefileWriter::WriteInteger(int row, int column, int value) {
  const NumberColumn* n = Numeric(column);
  if (!n) {
    ThroughShapelib();
    return dbf_ && column >= 0 && DBFWriteIntegerAttribute(dbf_, row, column, value) != 0;
  }
  char text[DbfNumbers::kBufferSize];
  const bool fits = DbfNumbers::FormatInteger(value, n->width, n->decimals, text);
  return WriteNumberText(row, column, text) && fits;
}

bool ShapefileWriter::WriteUnsigned(int row, int column, uint32_t value) {
  const NumberColumn* n = Numeric(column);
  if (!n) {
    ThroughShapelib();
    return dbf_ && column >= 0 && DBFWriteUnsignedIntAttribute(dbf_, row, column, value) != 0;
  }
  char text[DbfNumbers::kBufferSize];
  return DbfNumbers::FormatUnsigned(value, n->width, text) && WriteNumberText(row, column, text);
}

bool ShapefileWriter::WriteDouble(int row, int column, double value) {
  const NumberColumn* n = Numeric(column);
  if (!n) {
    ThroughShapelib();
    return dbf_ && column >= 0 && DBFWriteDoubleAttribute(dbf_, row, column, value) != 0;
  }
  char text[DbfNumbers::kBufferSize];
  const bool fits = DbfNumbers::FormatDouble(value, n->width, n->decimals, text);
  return WriteNumberText(row, column, text) && fits;
}

// Formatted numbers are stored as they are (as shapelib's direct write
// stores them, whatever the column's type).
bool ShapefileWriter::WriteNumberText(int row, int column, const char* text) {
  int size = 0;
  if (char* field = DirectField(row, column, &size)) {
    DbfRows::Put(field, size, text);
    return true;
  }
  return DBFWriteAttributeDirectly(dbf_, row, column, const_cast<char*>(text)) != 0;
}

bool ShapefileWriter::WriteNull(int row, int column) {
  if (!dbf_ || column < 0) return false;
  int size = 0;
  if (char* field = DirectField(row, column, &size)) {
    rows_->PutNull(field, size, column);
    return true;
  }
  return DBFWriteNULLAttribute(dbf_, row, column) != 0;
}

bool ShapefileWriter::WriteSideFile(const std::wstring& extension, const std::string& bytes) {
  const std::string path = TempPath(MapGis::WideToUtf8(extension).c_str());
  if (path.empty()) return false;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  int error = fd < 0 ? errno : 0;
  size_t done = 0;
  while (!error && done < bytes.size()) {
    const ssize_t w = write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) error = w < 0 ? errno : ENOSPC;
    if (w > 0) done += static_cast<size_t>(w);
  }
  if (fd >= 0) {
    if (!error) StartWriting(fd);
    if (close(fd) != 0 && !error) error = errno;
  }
  if (error) Fail(finalBase_ + extension, error);
  return error == 0;
}

const WriteFailure* ShapefileWriter::Failure() {
  CheckHooks();
  return failed_ ? &failure_ : nullptr;
}

bool ShapefileWriter::Close() {
  closed_ = true;
  if (shp_) {
    SHPClose(shp_);
    shp_ = nullptr;
    CheckHooks();
  }
  if (dbf_) {
    ThroughShapelib();
    DBFClose(dbf_);
    dbf_ = nullptr;
    rows_.reset();
    if (CheckHooks() && !utf8_) {
      const int error = PatchLanguageDriver(tempBase_ + ".dbf");
      if (error) Fail(finalBase_ + L".dbf", error);
    }
  }
  return !failed_;
}

void ShapefileWriter::Discard() {
  closed_ = true;
  if (shp_) SHPClose(shp_);
  if (dbf_) DBFClose(dbf_);
  shp_ = nullptr;
  dbf_ = nullptr;
  rows_.reset();
  if (!tempBase_.empty()) staging_.Drop(MapGis::WideToUtf8(finalBase_));
}
