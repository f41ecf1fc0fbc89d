#include "MapGisWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>
#include <string>
#include <vector>

#include "BinaryFile.h"
#include "LittleEndian.h"
#include "MapGisCodePage.h"

namespace MapGis {

namespace detail {

struct WriterState {
  BinaryFile file;
  int kind = -1;  // -1: no file created
  MAP_PARAstruct projection{};
  MAPGIS_Element elements{};
  double extent[4] = {0, 0, 0, 0};
  // Record tables, slot 0 first.
  std::vector<MAPGIS_PntInfo> points;
  std::vector<MAPGIS_LineInfo> lines;
  std::vector<MAPGIS_RegInfo> polygons;
  // Data area: the coordinate runs of all lines in record order (x, y
  // pairs), the polygon arc lists, the annotation texts.
  std::vector<double> coords;
  std::vector<int32_t> arcList;
  std::string texts;
  // Attribute part: fields, then the record slots (slot 0 first) once the
  // first value is written.
  std::vector<MAPGIS_Field> fields;
  int32_t recordLength = 1;
  int32_t recordSlots = 0;
  std::vector<uint8_t> records;
  int currentRecord = -1;
  long attributeStatus = MAPGIS_OK;
};

}  // namespace detail

using detail::WriterState;

namespace {

constexpr uint32_t kDirectoryOffset = 657;
constexpr int kDirectoryEntries = 16;
constexpr uint64_t kFirstSection = kDirectoryOffset + kDirectoryEntries * sizeof(MAPGIS_Part);  // 817
constexpr double kExtentStart = 1.79769313486232e307;
constexpr int32_t kSlotMarker = 65536;  // the value of each slot of the trailing index sections
constexpr size_t kMaxText = 32767;      // text lengths are 16-bit signed
constexpr uint8_t kFieldHeadTag[6] = {0x60, 0x44, 0xDC, 0x07, 0x05, 0x16};

// The line record of the arcs AddPolygonInfo creates.
MAPGIS_LineInfo DefaultArc() {
  MAPGIS_LineInfo a;
  std::memset(&a, 0, sizeof a);
  a.status = 1;
  a.lineType = 1;
  a.transparent = 1;
  a.color = 1;
  a.width = 0.1f;
  a.xScale = 1.0f;
  a.yScale = 1.0f;
  a.auxColor = 1;
  return a;
}

void GrowExtent(double* e, double x, double y) {
  if (x < e[0]) e[0] = x;
  if (x > e[2]) e[2] = x;
  if (y < e[1]) e[1] = y;
  if (y > e[3]) e[3] = y;
}

// Parts of `g`: a geometry of no parts (a point) or of one is one part.
int PartCount(const Geometry* g) { return g->nParts > 1 ? g->nParts : 1; }

// Vertex range [*s, *e) of part `part`; false when `g` is malformed there.
bool PartBounds(const Geometry* g, int part, int32_t* s, int32_t* e) {
  if (g->nVertices < 0 || (g->nVertices > 0 && (!g->padfX || !g->padfY))) return false;
  if (part < 0 || part >= PartCount(g)) return false;
  if (g->nParts < 1 || !g->panPartStart) {
    if (g->nParts > 1) return false;
    *s = 0;
    *e = g->nVertices;
    return true;
  }
  *s = g->panPartStart[part];
  *e = part + 1 < g->nParts ? g->panPartStart[part + 1] : g->nVertices;
  return *s >= 0 && *s <= *e && *e <= g->nVertices;
}

// Makes room for `extra` more elements before anything is appended, so an
// add that runs out of memory fails before it changes the tables. Grows
// geometrically: an exact reserve per record would copy the table every time.
template <typename V>
void Reserve(V& v, size_t extra) {
  const size_t need = v.size() + extra;
  if (need > v.capacity()) v.reserve(std::max(need, 2 * v.capacity()));
}

// Saved table sizes, so that an add that runs out of memory half way can be
// undone.
struct Mark {
  size_t points, lines, polygons, coords, arcs, texts;
  double extent[4];
  MAPGIS_Element elements;
};

Mark Save(const WriterState& s) {
  Mark m{s.points.size(), s.lines.size(), s.polygons.size(), s.coords.size(), s.arcList.size(), s.texts.size(),
         {s.extent[0], s.extent[1], s.extent[2], s.extent[3]}, s.elements};
  return m;
}

void Restore(WriterState& s, const Mark& m) {
  s.points.resize(m.points);
  s.lines.resize(m.lines);
  s.polygons.resize(m.polygons);
  s.coords.resize(m.coords);
  s.arcList.resize(m.arcs);
  s.texts.resize(m.texts);
  std::memcpy(s.extent, m.extent, sizeof s.extent);
  s.elements = m.elements;
}

// Appends part [b, e) of `g` as a line record; returns its slot number.
int32_t AppendArc(WriterState& s, MAPGIS_LineInfo info, const Geometry* g, int32_t b, int32_t e) {
  info.pointCount = e - b;
  info.dataOffset = static_cast<uint32_t>(2 + 8 * s.coords.size());
  Reserve(s.coords, 2 * static_cast<size_t>(e - b));
  for (int32_t i = b; i < e; ++i) {
    s.coords.push_back(g->padfX[i]);
    s.coords.push_back(g->padfY[i]);
    GrowExtent(s.extent, g->padfX[i], g->padfY[i]);
  }
  s.lines.push_back(info);
  return static_cast<int32_t>(s.lines.size() - 1);
}

// Live lines and line slots.
void CountLines(WriterState& s) {
  const int32_t slots = static_cast<int32_t>(s.lines.size());
  s.elements.count[0] = slots - 1;
  s.elements.count[1] = slots;
}

// Line counts as AddArcInfo leaves them.
void CountLinesFully(WriterState& s) {
  CountLines(s);
  s.elements.count[7] = s.elements.count[1];
  s.elements.count[3] = 1;
  s.elements.count[9] = 1;
}

long CheckOpen(const WriterState& s) { return s.kind < 0 || !s.file.IsOpen() ? MAPGIS_OPEN_FAILED : MAPGIS_OK; }

// Appends part `part` of `g` as a line; `allCounts` also sets the node-slot
// count and the counts 7 and 9 (AddArcInfo), not only counts 0 and 1.
long AddLine(WriterState& s, const MAPGIS_LineInfo& info, const Geometry* g, int part, bool allCounts) {
  if (CheckOpen(s) != MAPGIS_OK) return MAPGIS_OPEN_FAILED;
  if (s.kind != MAPGIS_TYPE_LINE && s.kind != MAPGIS_TYPE_POLYGON) return MAPGIS_NOT_MAPGIS_FILE;
  int32_t b, e;
  if (!g || !PartBounds(g, part, &b, &e)) return MAPGIS_READ_FAILED;
  const Mark mark = Save(s);
  try {
    AppendArc(s, info, g, b, e);
  } catch (const std::bad_alloc&) {
    Restore(s, mark);
    return MAPGIS_OUT_OF_MEMORY;
  }
  if (allCounts) {
    CountLinesFully(s);
  } else {
    CountLines(s);
  }
  return MAPGIS_OK;
}

}  // namespace

MapGis_Writer::MapGis_Writer() : s_(new WriterState) {}

MapGis_Writer::~MapGis_Writer() { Close(); }

void MapGis_Writer::Close() {
  WriterState& s = *s_;
  s.file.Close();
  s.kind = -1;
  s.projection = MAP_PARAstruct{};
  s.elements = MAPGIS_Element{};
  for (double& e : s.extent) e = 0.0;
  std::vector<MAPGIS_PntInfo>().swap(s.points);
  std::vector<MAPGIS_LineInfo>().swap(s.lines);
  std::vector<MAPGIS_RegInfo>().swap(s.polygons);
  std::vector<double>().swap(s.coords);
  std::vector<int32_t>().swap(s.arcList);
  std::string().swap(s.texts);
  std::vector<MAPGIS_Field>().swap(s.fields);
  s.recordLength = 1;
  s.recordSlots = 0;
  std::vector<uint8_t>().swap(s.records);
  s.currentRecord = -1;
  s.attributeStatus = MAPGIS_OK;
}

long MapGis_Writer::Create(const wchar_t* path, int kind) {
  Close();
  if (kind != MAPGIS_TYPE_LINE && kind != MAPGIS_TYPE_POINT && kind != MAPGIS_TYPE_POLYGON &&
      kind != MAPGIS_TYPE_TABLE) {
    return MAPGIS_NOT_MAPGIS_FILE;
  }
  try {
    if (!s_->file.Open(path, detail::BinaryFile::Mode::Create)) return MAPGIS_OPEN_FAILED;
    s_->kind = kind;
    std::memset(&s_->projection, 0, sizeof s_->projection);
    const double one = 1.0;
    uint8_t* para = reinterpret_cast<uint8_t*>(&s_->projection);
    detail::PutLE(para + 141, one);
    detail::PutLE(para + 153, one);
    detail::PutLE(para + 161, one);
    s_->extent[0] = s_->extent[1] = kExtentStart;
    s_->extent[2] = s_->extent[3] = -kExtentStart;
    s_->points.assign(1, MAPGIS_PntInfo{});
    s_->lines.assign(1, MAPGIS_LineInfo{});
    s_->polygons.assign(1, MAPGIS_RegInfo{});
  } catch (const std::bad_alloc&) {
    Close();
    return MAPGIS_OUT_OF_MEMORY;
  }
  return MAPGIS_OK;
}

long MapGis_Writer::WriteProjection(const MAP_PARAstruct* para) {
  if (CheckOpen(*s_) != MAPGIS_OK) return MAPGIS_OPEN_FAILED;
  if (!para) return MAPGIS_READ_FAILED;
  s_->projection = *para;
  return s_->file.WriteAt(MAPGIS_PROJECTION_OFFSET, &s_->projection, sizeof s_->projection) ? MAPGIS_OK
                                                                                           : MAPGIS_WRITE_FAILED;
}

long MapGis_Writer::AddPointInfo(MAPGIS_PntInfo info, const Geometry*, const char* text) {
  WriterState& s = *s_;
  if (CheckOpen(s) != MAPGIS_OK) return MAPGIS_OPEN_FAILED;
  if (s.kind != MAPGIS_TYPE_POINT) return MAPGIS_NOT_MAPGIS_FILE;
  const size_t length = text ? std::strlen(text) : 0;
  if (length > kMaxText) return MAPGIS_READ_FAILED;
  const Mark mark = Save(s);
  try {
    Reserve(s.points, 1);
    info.textOffset = static_cast<uint32_t>(s.texts.size() + 2);
    info.textLength = static_cast<int16_t>(length);
    if (length == 0) {
      // An empty text still takes one byte of the text area.
      info.kind = 1;
      s.texts.push_back('\0');
    } else {
      info.kind = 0;
      s.texts.append(text, length);
    }
    s.points.push_back(info);
  } catch (const std::bad_alloc&) {
    Restore(s, mark);
    return MAPGIS_OUT_OF_MEMORY;
  }
  const int32_t slots = static_cast<int32_t>(s.points.size());
  for (int c = 2; c <= 6; ++c) s.elements.count[c] = 0;
  s.elements.count[0] = slots - 1;
  s.elements.count[1] = slots;
  s.elements.count[7] = slots;
  s.elements.count[9] = 1;
  GrowExtent(s.extent, info.x, info.y);
  return MAPGIS_OK;
}

long MapGis_Writer::AddArcInfo(MAPGIS_LineInfo info, const Geometry* g, int part) {
  const long st = AddLine(*s_, info, g, part, true);
  return st == MAPGIS_OK && g->nParts >= 2 ? MAPGIS_MULTI_PART : st;
}

long MapGis_Writer::AddPolyArcInfo(MAPGIS_LineInfo info, const Geometry* g, int part) {
  return AddLine(*s_, info, g, part, false);
}

long MapGis_Writer::AddPolygonInfo(MAPGIS_RegInfo info, const Geometry* g) {
  WriterState& s = *s_;
  if (CheckOpen(s) != MAPGIS_OK) return MAPGIS_OPEN_FAILED;
  if (s.kind != MAPGIS_TYPE_POLYGON) return MAPGIS_NOT_MAPGIS_FILE;
  if (!g) return MAPGIS_READ_FAILED;
  const int parts = PartCount(g);
  // The point total (vertices + separators + 1) must fit its 32 bits.
  if (static_cast<int64_t>(g->nVertices) + parts > INT32_MAX) return MAPGIS_READ_FAILED;
  for (int p = 0; p < parts; ++p) {
    int32_t b, e;
    if (!PartBounds(g, p, &b, &e)) return MAPGIS_READ_FAILED;
  }
  long result = MAPGIS_OK;
  const Mark mark = Save(s);
  try {
    Reserve(s.polygons, 1);
    const size_t listStart = s.arcList.size();
    info.arcOffset = static_cast<uint32_t>(4 * listStart);
    s.arcList.push_back(0);  // the point total, set below
    int64_t vertices = 0;
    int64_t zeros = 0;
    for (int p = 0; p < parts; ++p) {
      int32_t b, e;
      PartBounds(g, p, &b, &e);
      if (p > 0) {
        s.arcList.push_back(0);
        ++zeros;
        // A second outer ring belongs to a polygon of its own.
        if (g->panPartType && g->panPartType[p] == 2) {
          result = MAPGIS_MULTI_PART;
          continue;
        }
      }
      s.arcList.push_back(AppendArc(s, DefaultArc(), g, b, e));
      vertices += e - b;
    }
    // The point total the readers expect: the vertices of the listed arcs,
    // plus one per separator, plus one.
    s.arcList[listStart] = static_cast<int32_t>(vertices + zeros + 1);
    info.arcCount = static_cast<int32_t>(s.arcList.size() - listStart);
    s.polygons.push_back(info);
  } catch (const std::bad_alloc&) {
    Restore(s, mark);
    return MAPGIS_OUT_OF_MEMORY;
  }
  CountLinesFully(s);
  const int32_t slots = static_cast<int32_t>(s.polygons.size());
  s.elements.count[4] = slots - 1;
  s.elements.count[5] = slots;
  return result;
}

// Attribute part.

namespace {

// Selects record `record` (appending it when it is the next new one) and
// returns the bytes of `field` in it, or null with the reason in the state.
uint8_t* FieldBytes(WriterState& s, int record, int field, size_t* width) {
  if (CheckOpen(s) != MAPGIS_OK) {
    s.attributeStatus = MAPGIS_OPEN_FAILED;
    return nullptr;
  }
  if (field < 0 || static_cast<size_t>(field) >= s.fields.size()) {
    s.attributeStatus = MAPGIS_NO_TABLE;
    return nullptr;
  }
  // Slot 0 exists from the first value on; record r is slot r + 1.
  const int64_t slots = s.recordSlots > 0 ? s.recordSlots : 1;
  if (record < 0 || record > slots - 1 || (record == slots - 1 && slots == INT32_MAX)) {
    s.attributeStatus = MAPGIS_READ_FAILED;
    return nullptr;
  }
  const size_t length = static_cast<size_t>(s.recordLength);
  try {
    if (s.recordSlots == 0) {
      s.records.assign(length, 0);
      s.records[0] = 1;
      s.recordSlots = 1;
    }
    if (record == s.recordSlots - 1) {
      s.records.resize(s.records.size() + length, 0);
      s.records[static_cast<size_t>(s.recordSlots) * length] = 1;
      ++s.recordSlots;
    }
  } catch (const std::bad_alloc&) {
    s.records.resize(static_cast<size_t>(s.recordSlots) * length);
    s.attributeStatus = MAPGIS_OUT_OF_MEMORY;
    return nullptr;
  }
  s.currentRecord = record;
  const MAPGIS_Field& f = s.fields[static_cast<size_t>(field)];
  *width = static_cast<size_t>(f.width);
  s.attributeStatus = MAPGIS_OK;
  return s.records.data() + (static_cast<size_t>(record) + 1) * length + f.offset;
}

// Stores the first `n` bytes of `value` in the field, cut to its width and
// filled up to it with `pad`.
bool Store(WriterState& s, int record, int field, const void* value, size_t n, uint8_t pad) {
  size_t width = 0;
  uint8_t* to = FieldBytes(s, record, field, &width);
  if (!to) return false;
  const size_t copy = n < width ? n : width;
  if (copy > 0) std::memcpy(to, value, copy);
  if (width > copy) std::memset(to + copy, pad, width - copy);
  return true;
}

// Storage width of a field; 0 for an index out of range.
size_t FieldWidth(const WriterState& s, int field) {
  return field >= 0 && static_cast<size_t>(field) < s.fields.size()
             ? static_cast<size_t>(s.fields[static_cast<size_t>(field)].width)
             : 0;
}

bool Refuse(WriterState& s, long status) {
  s.attributeStatus = status;
  return false;
}

}  // namespace

long MapGis_Writer::AddFieldInfo(const wchar_t* name, int type, int width, int display, int decimals) {
  WriterState& s = *s_;
  if (CheckOpen(s) != MAPGIS_OK) return MAPGIS_OPEN_FAILED;
  // Fields fix the record layout: none may follow the first value.
  if (!name || s.recordSlots > 0) return MAPGIS_NO_TABLE;
  if (type < 0 || type > INT8_MAX || width < 0 || width > INT16_MAX || display < 0 || display > INT16_MAX ||
      decimals < 0 || decimals > INT8_MAX) {
    return MAPGIS_NO_TABLE;
  }
  if (s.fields.size() >= static_cast<size_t>(INT16_MAX) || width > INT32_MAX - s.recordLength) return MAPGIS_NO_TABLE;
  try {
    const std::string ansi = WideToAnsi(name);
    if (ansi.size() > 19) return MAPGIS_NO_TABLE;  // 19 bytes and the terminator
    uint8_t raw[sizeof(MAPGIS_Field)] = {0};
    std::memcpy(raw, ansi.data(), ansi.size());
    raw[20] = static_cast<uint8_t>(type);
    detail::PutLE<uint32_t>(raw + 21, static_cast<uint32_t>(s.recordLength));
    detail::PutLE<int16_t>(raw + 25, static_cast<int16_t>(width));
    detail::PutLE<int16_t>(raw + 27, static_cast<int16_t>(display));
    raw[29] = static_cast<uint8_t>(decimals);
    raw[30] = 1;
    detail::PutLE<int16_t>(raw + 33, static_cast<int16_t>(s.fields.size()));
    MAPGIS_Field f;
    std::memcpy(&f, raw, sizeof f);
    s.fields.push_back(f);
  } catch (const std::bad_alloc&) {
    return MAPGIS_OUT_OF_MEMORY;
  }
  s.recordLength += width;
  return static_cast<long>(s.fields.size());
}

bool MapGis_Writer::WriteByteAttribute(int record, int field, unsigned char value) {
  return Store(*s_, record, field, &value, sizeof value, 0);
}

bool MapGis_Writer::WriteShortAttribute(int record, int field, short value) {
  const int16_t v = value;
  return Store(*s_, record, field, &v, sizeof v, 0);
}

bool MapGis_Writer::WriteLongAttribute(int record, int field, long value) {
  // A long field holds 32 bits; a wider value would be stored cut.
  if (value < INT32_MIN || value > INT32_MAX) return Refuse(*s_, MAPGIS_READ_FAILED);
  const int32_t v = static_cast<int32_t>(value);
  return Store(*s_, record, field, &v, sizeof v, 0);
}

bool MapGis_Writer::WriteFloatAttribute(int record, int field, float value) {
  return Store(*s_, record, field, &value, sizeof value, 0);
}

bool MapGis_Writer::WriteDoubleAttribute(int record, int field, double value) {
  return Store(*s_, record, field, &value, sizeof value, 0);
}

bool MapGis_Writer::WriteBoolAttribute(int record, int field, bool value) {
  const uint8_t v = value ? 1 : 0;
  return Store(*s_, record, field, &v, sizeof v, 0);
}

bool MapGis_Writer::WriteStringAttribute(int record, int field, const char* text) {
  if (!text) return Refuse(*s_, MAPGIS_READ_FAILED);
  // Read no further than the terminator, nor past the field's width.
  return Store(*s_, record, field, text, strnlen(text, FieldWidth(*s_, field)), ' ');
}

bool MapGis_Writer::WriteTextAttribute(int record, int field, const char* text) {
  if (!text) return Refuse(*s_, MAPGIS_READ_FAILED);
  return Store(*s_, record, field, text, strnlen(text, FieldWidth(*s_, field)), 0);
}

bool MapGis_Writer::WriteDateAttribute(int record, int field, const DATE_STRUstruct* date) {
  if (!date) return Refuse(*s_, MAPGIS_READ_FAILED);
  return Store(*s_, record, field, date, sizeof *date, 0);
}

bool MapGis_Writer::WriteTimeAttribute(int record, int field, const TIME_STRUstruct* time) {
  if (!time) return Refuse(*s_, MAPGIS_READ_FAILED);
  return Store(*s_, record, field, time, sizeof *time, 0);
}

bool MapGis_Writer::WriteBinareyAttribute(int record, int field, const void* bytes) {
  if (!bytes) return Refuse(*s_, MAPGIS_READ_FAILED);
  return Store(*s_, record, field, bytes, FieldWidth(*s_, field), 0);
}

long MapGis_Writer::LastAttributeStatus() const { return s_->attributeStatus; }

// Layout and writing.

namespace {

struct Section {
  uint64_t offset = 0;
  uint64_t length = 0;
};

// Section of the attribute table of each kind.
int AttributeSection(int kind) {
  switch (kind) {
    case MAPGIS_TYPE_POLYGON: return 9;
    case MAPGIS_TYPE_TABLE: return 0;
    default: return 2;
  }
}

int32_t AttributeSlots(const WriterState& s) { return s.recordSlots > 0 ? s.recordSlots : 1; }

uint64_t AttributeLength(const WriterState& s) {
  return sizeof(MAPGIS_FieldHead) + sizeof(MAPGIS_Field) * s.fields.size() +
         static_cast<uint64_t>(s.recordLength) * static_cast<uint64_t>(AttributeSlots(s));
}

// Section lengths of the file's kind, laid out one after the other from
// the end of the directory. Returns the end of the file.
uint64_t Layout(const WriterState& s, Section* sec) {
  const uint64_t nP = s.points.size(), nL = s.lines.size(), nR = s.polygons.size();
  const uint64_t D = s.coords.size(), A = s.arcList.size(), T = s.texts.size();
  const uint64_t H = AttributeLength(s);
  uint64_t len[kDirectoryEntries] = {0};
  switch (s.kind) {
    case MAPGIS_TYPE_POINT: {
      const uint64_t l[] = {93 * nP, T + 2, H, 32 * nP, 4 * nP};
      std::copy(std::begin(l), std::end(l), len);
      break;
    }
    case MAPGIS_TYPE_LINE: {
      const uint64_t l[] = {57 * nL, 8 * D + 2, H, 24 * nL, 55, 392, 32 * nL, 4 * nL};
      std::copy(std::begin(l), std::end(l), len);
      break;
    }
    case MAPGIS_TYPE_POLYGON: {
      // The topology section has one record per line slot, as its readers expect.
      const uint64_t l[] = {57 * nL, 8 * D + 4 * A + 2, 392, 24 * nL, 55, 392, 32 * nL, 4 * nL,
                            40 * nR, H,                 32 * nR, 4 * nR};
      std::copy(std::begin(l), std::end(l), len);
      break;
    }
    default: {
      const uint64_t l[] = {H, 2};
      std::copy(std::begin(l), std::end(l), len);
      break;
    }
  }
  uint64_t at = kFirstSection;
  for (int n = 0; n < kDirectoryEntries; ++n) {
    sec[n] = Section();
    if (len[n] == 0) continue;
    sec[n].offset = at;
    sec[n].length = len[n];
    at += len[n];
  }
  return at;
}

// `count` copies of the `size` bytes at `item`.
std::vector<uint8_t> Repeat(const void* item, size_t size, size_t count) {
  std::vector<uint8_t> out(size * count);
  for (size_t k = 0; k < count; ++k) std::memcpy(out.data() + k * size, item, size);
  return out;
}

}  // namespace

long MapGis_Writer::Flush() {
  WriterState& s = *s_;
  if (CheckOpen(s) != MAPGIS_OK) return MAPGIS_OPEN_FAILED;
  Section sec[kDirectoryEntries];
  // Every offset and length in the file is 32-bit.
  if (Layout(s, sec) > UINT32_MAX) return MAPGIS_WRITE_FAILED;
  bool ok = true;
  auto put = [&](uint64_t offset, const void* data, size_t length) {
    if (length > 0 && !s.file.WriteAt(offset, data, length)) ok = false;
  };
  try {
    // Header block: header, projection, element counts, extent, tic
    // directory (zero) and the section directory.
    std::vector<uint8_t> head(kFirstSection, 0);
    MAPGIS_HEAD h;
    std::memcpy(h.magic, LayerMagic(s.kind), sizeof h.magic);
    h.type = static_cast<int16_t>(s.kind);
    h.zero = 0;
    h.dirOffset = static_cast<int32_t>(kDirectoryOffset);
    h.dirCount = kDirectoryEntries;
    std::memcpy(head.data(), &h, sizeof h);
    std::memcpy(head.data() + MAPGIS_PROJECTION_OFFSET, &s.projection, sizeof s.projection);
    std::memcpy(head.data() + MAPGIS_ELEMENT_OFFSET, &s.elements, sizeof s.elements);
    std::memcpy(head.data() + MAPGIS_EXTENT_OFFSET, s.extent, sizeof s.extent);
    for (int n = 0; n < kDirectoryEntries; ++n) {
      const MAPGIS_Part part{static_cast<uint32_t>(sec[n].offset), static_cast<uint32_t>(sec[n].length), 0xFFFF};
      std::memcpy(head.data() + kDirectoryOffset + n * sizeof part, &part, sizeof part);
    }
    put(0, head.data(), head.size());

    // Record tables and the data area.
    const uint64_t data = sec[1].offset + 2;
    if (s.kind == MAPGIS_TYPE_POINT) {
      put(sec[0].offset, s.points.data(), s.points.size() * sizeof(MAPGIS_PntInfo));
      put(data, s.texts.data(), s.texts.size());
    } else if (s.kind == MAPGIS_TYPE_LINE || s.kind == MAPGIS_TYPE_POLYGON) {
      put(sec[0].offset, s.lines.data(), s.lines.size() * sizeof(MAPGIS_LineInfo));
      put(data, s.coords.data(), s.coords.size() * sizeof(double));
    }
    if (s.kind == MAPGIS_TYPE_POLYGON) {
      // Arc-list offsets were kept relative to the arc-list buffer, which
      // follows the coordinate runs in the data area.
      const uint32_t shift = static_cast<uint32_t>(8 * s.coords.size() + 2);
      std::vector<MAPGIS_RegInfo> polygons = s.polygons;
      for (size_t k = 1; k < polygons.size(); ++k) polygons[k].arcOffset += shift;
      put(sec[8].offset, polygons.data(), polygons.size() * sizeof(MAPGIS_RegInfo));
      put(sec[1].offset + shift, s.arcList.data(), s.arcList.size() * sizeof(int32_t));
    }

    // Attribute section: field head, field table, record slots.
    const Section& att = sec[AttributeSection(s.kind)];
    std::vector<uint8_t> fieldHead(sizeof(MAPGIS_FieldHead), 0);
    std::memcpy(fieldHead.data(), kFieldHeadTag, sizeof kFieldHeadTag);
    const int32_t dataOffset = static_cast<int32_t>(sizeof(MAPGIS_FieldHead) + sizeof(MAPGIS_Field) * s.fields.size());
    detail::PutLE<int32_t>(fieldHead.data() + 12, dataOffset);
    detail::PutLE<uint16_t>(fieldHead.data() + 320, 0x4460);
    detail::PutLE<int16_t>(fieldHead.data() + 322, static_cast<int16_t>(s.fields.size()));
    detail::PutLE<int32_t>(fieldHead.data() + 324, AttributeSlots(s));
    detail::PutLE<int32_t>(fieldHead.data() + 328, s.recordLength);
    put(att.offset, fieldHead.data(), fieldHead.size());
    put(att.offset + sizeof(MAPGIS_FieldHead), s.fields.data(), s.fields.size() * sizeof(MAPGIS_Field));
    if (s.recordSlots > 0) {
      put(att.offset + dataOffset, s.records.data(), s.records.size());
    } else {
      // No value written: slot 0 alone.
      std::vector<uint8_t> slot0(static_cast<size_t>(s.recordLength), 0);
      slot0[0] = 1;
      put(att.offset + dataOffset, slot0.data(), slot0.size());
    }

    // Trailing sections: the extent and the value 65536 once per slot.
    auto trailer = [&](int extentSection, int markerSection, size_t slots) {
      const std::vector<uint8_t> extents = Repeat(s.extent, sizeof s.extent, slots);
      put(sec[extentSection].offset, extents.data(), extents.size());
      const std::vector<uint8_t> markers = Repeat(&kSlotMarker, sizeof kSlotMarker, slots);
      put(sec[markerSection].offset, markers.data(), markers.size());
    };
    switch (s.kind) {
      case MAPGIS_TYPE_POINT: trailer(3, 4, s.points.size()); break;
      case MAPGIS_TYPE_LINE: trailer(6, 7, s.lines.size()); break;
      case MAPGIS_TYPE_POLYGON:
        trailer(6, 7, s.lines.size());
        trailer(10, 11, s.polygons.size());
        break;
      default: {
        const uint8_t zeros[2] = {0, 0};
        put(sec[1].offset, zeros, sizeof zeros);
        break;
      }
    }
  } catch (const std::bad_alloc&) {
    return MAPGIS_OUT_OF_MEMORY;
  }
  return ok ? MAPGIS_OK : MAPGIS_WRITE_FAILED;
}

}  // namespace MapGis
