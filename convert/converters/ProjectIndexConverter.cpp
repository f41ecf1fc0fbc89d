// Project conversion: a spatial index of a project's layers. One rectangle
// per readable layer (its extent) and one for the whole project, a table
// describing each, and base + ".CSV" mapping each index number to the file.
#include <shapefil.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "AttributeColumns.h"
#include "LayerConverter.h"
#include "MapGisProjectPaths.h"
#include "StyleColumns.h"

using namespace MapGis;

namespace {

namespace fs = std::filesystem;

constexpr char kLogUnit[] = "ConvertMpj2";

enum Column { kMatchId, kDataType, kDataName, kDataName2, kDataDesc, kDispOrder, kDispMin, kDispMax, kState, kScale, kTag };

// Scale columns are 16 wide: display scales such as 1:1000000 do not fit 8.
constexpr int kScaleWidth = 16;

const StyleColumn kIndexColumns[] = {
    {"MatchID", ColumnKind::Unsigned, kUnsignedInt, 0},  {"DataType", ColumnKind::Text, 10, 0},
    {"DataName", ColumnKind::Text, 254, 0},           {"DataName2", ColumnKind::Text, 254, 0},
    {"DataDesc", ColumnKind::Text, 254, 0},           {"DispOrder", ColumnKind::Unsigned, kUnsignedInt, 0},
    {"DispMin", ColumnKind::Double, kScaleWidth, 3},    {"DispMax", ColumnKind::Double, kScaleWidth, 3},
    {"State", ColumnKind::Unsigned, kUnsignedInt, 0},    {"Scale", ColumnKind::Double, kScaleWidth, 3},
    {"Tag", ColumnKind::Text, 254, 0},
};
constexpr int kColumnCount = sizeof kIndexColumns / sizeof kIndexColumns[0];

// Where the running extent starts: an inverted box.
constexpr double kExtentStart = 1.79769313486232e+307;

struct Extent {
  double xMin = kExtentStart, yMin = kExtentStart;
  double xMax = -kExtentStart, yMax = -kExtentStart;
  void Widen(const Extent& e) {
    if (e.xMin < xMin) xMin = e.xMin;
    if (e.yMin < yMin) yMin = e.yMin;
    if (e.xMax > xMax) xMax = e.xMax;
    if (e.yMax > yMax) yMax = e.yMax;
  }
};

struct GeometryDeleter {
  void operator()(Geometry* g) const { DestroyGeometry(g); }
};
using GeometryPtr = std::unique_ptr<Geometry, GeometryDeleter>;

// The closed, clockwise rectangle of an extent, scaled by k; null when its
// arrays cannot be allocated (written as a null shape).
GeometryPtr ExtentShape(const Extent& e, double k) {
  GeometryPtr g(CreateGeometry());
  g->panPartStart = static_cast<int32_t*>(std::calloc(1, sizeof(int32_t)));
  g->panPartType = static_cast<int32_t*>(std::calloc(1, sizeof(int32_t)));
  g->padfX = static_cast<double*>(std::calloc(5, sizeof(double)));
  g->padfY = static_cast<double*>(std::calloc(5, sizeof(double)));
  g->padfZ = static_cast<double*>(std::calloc(5, sizeof(double)));
  g->padfM = static_cast<double*>(std::calloc(5, sizeof(double)));
  if (!g->panPartStart || !g->panPartType || !g->padfX || !g->padfY || !g->padfZ || !g->padfM) return nullptr;
  const double x[5] = {e.xMin, e.xMin, e.xMax, e.xMax, e.xMin};
  const double y[5] = {e.yMin, e.yMax, e.yMax, e.yMin, e.yMin};
  for (int i = 0; i < 5; ++i) {
    g->padfX[i] = x[i];
    g->padfY[i] = y[i];
  }
  g->nSHPType = SHPT_POLYGON;
  g->nParts = 1;
  g->panPartStart[0] = 0;
  g->panPartType[0] = SHPP_RING;
  g->nVertices = 5;
  g->dfXMin = e.xMin;
  g->dfYMin = e.yMin;
  g->dfXMax = e.xMax;
  g->dfYMax = e.yMax;
  ReScaleGeometry(g.get(), k);
  return g;
}

// Live records of a layer's geometry; a table file has none.
long LiveRecords(MapGis_FastReader& layer) {
  int slots = 0;
  switch (layer.GetShapeType()) {
    case MAPGIS_TYPE_POINT: return layer.GetPointCount(&slots);
    case MAPGIS_TYPE_LINE: return layer.GetArcCount(&slots);
    case MAPGIS_TYPE_POLYGON: return layer.GetPolygonCount(&slots);
    case MAPGIS_TYPE_NETWORK: return static_cast<long>(layer.GetArcCount(&slots)) + layer.GetPointCount(&slots);
    default: return 0;
  }
}

fs::path ToPath(const std::wstring& w) { return fs::u8path(WideToUtf8(w)); }
std::wstring FromPath(const fs::path& p) { return Utf8ToWide(p.u8string()); }

bool IsFile(const std::wstring& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(ToPath(path), ec);
}

std::wstring UpperExtension(const std::wstring& path) {
  std::wstring ext = FromPath(ToPath(path).extension());
  for (wchar_t& c : ext) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return ext;
}

std::wstring FileName(const std::wstring& path) { return FromPath(ToPath(path).filename()); }

// One CSV field: quoted, inner quotes doubled, when it holds a separator,
// a quote or a line break.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

class ProjectIndexConverter {
 public:
  explicit ProjectIndexConverter(const ConverterInputs& in) : in_(in), text_(in.options.Utf8Tables()) {}
  long Convert(ResultStaging& staging, const std::wstring& source, const std::wstring& base);

 private:
  long Stop(long result, const wchar_t* closing) {
    CONVERT_LOG(in_.log, L"%ls", closing);
    out_.reset();
    return result;
  }
  void AddColumns();
  // Appends the shape and its table row; false (with an "F" line) when the
  // shape cannot be written, and then no row is written either.
  bool WriteRow(const Geometry* shape, const std::wstring& type, const std::wstring& name, const std::wstring& desc,
                uint32_t matchId, uint32_t order, const double* display, bool layerRow);
  void WriteCsvLine(long matchId, const std::wstring& path);
  // One row per readable layer of the project: the number of rows written,
  // and the extent of them all in `all`.
  int WriteLayerRows(MapGis_Prj& project, const std::wstring& source, long count, double k, Extent* all);

  const ConverterInputs& in_;
  TableText text_;
  std::unique_ptr<LayerWriter> out_;
  std::string csv_;
  int columns_[kColumnCount] = {};
  int row_ = 0;
  double projectScale_ = 1.0;
};

void ProjectIndexConverter::AddColumns() {
  const bool utf8 = text_.Utf8();
  for (int i = 0; i < kColumnCount; ++i) {
    const StyleColumn& c = kIndexColumns[i];
    int width = c.width;
    // Chinese texts take half as many bytes again in UTF-8.
    if (c.kind == ColumnKind::Text && utf8 && width < 255) width = std::min(255, width + (width + 1) / 2);
    columns_[i] = out_->AddColumn(c.name, c.kind, width, c.decimals, nullptr);
  }
}

bool ProjectIndexConverter::WriteRow(const Geometry* shape, const std::wstring& type, const std::wstring& name,
                                 const std::wstring& desc, uint32_t matchId, uint32_t order, const double* display,
                                 bool layerRow) {
  if (!out_->WriteShape(shape)) {
    if (out_->Failure()) return false;
    CONVERT_LOG(in_.log, L"------F__第[%d]号图元信息错误，已跳过", static_cast<int>(matchId));
    return false;
  }
  const int r = row_++;
  WriteUnsignedValue(*out_, in_.log, r, columns_[kMatchId], matchId);
  WriteTextValue(*out_, in_.log, r, columns_[kDataType], text_.FromWide(type));
  WriteTextValue(*out_, in_.log, r, columns_[kDataName], text_.FromWide(name));
  WriteTextValue(*out_, in_.log, r, columns_[kDataName2], std::string());
  WriteTextValue(*out_, in_.log, r, columns_[kDataDesc], text_.FromWide(desc));
  WriteUnsignedValue(*out_, in_.log, r, columns_[kDispOrder], order);
  if (layerRow) {
    WriteDoubleValue(*out_, in_.log, r, columns_[kDispMin], display[0]);
    WriteDoubleValue(*out_, in_.log, r, columns_[kDispMax], display[1]);
    WriteUnsignedValue(*out_, in_.log, r, columns_[kState], 1);
  } else {
    WriteNullValue(*out_, r, columns_[kDispMin]);
    WriteNullValue(*out_, r, columns_[kDispMax]);
    WriteNullValue(*out_, r, columns_[kState]);
  }
  WriteDoubleValue(*out_, in_.log, r, columns_[kScale], projectScale_);
  WriteTextValue(*out_, in_.log, r, columns_[kTag], std::string());
  return true;
}

void ProjectIndexConverter::WriteCsvLine(long matchId, const std::wstring& path) {
  csv_ += std::to_string(matchId) + ',' + CsvField(text_.FromWide(path)) + '\n';
}

int ProjectIndexConverter::WriteLayerRows(MapGis_Prj& project, const std::wstring& source, long count, double k,
                                          Extent* all) {
  std::vector<wchar_t> text(2600, L'\0');
  int layers = 0;
  ProgressSteps progress(in_.progress);
  for (long i = 0; i < count && !out_->Failure(); ++i) {
    const int item = static_cast<int>(i);
    double display[2] = {0.0, 0.0};
    std::fill(text.begin(), text.end(), L'\0');
    project.GetItemInfo(item, nullptr, &display[0], &display[1]);
    project.GetItemFileName(item, text.data());
    const std::wstring path = ResolveProjectItem(source, text.data());
    std::fill(text.begin(), text.end(), L'\0');
    project.GetItemDesc(item, text.data());
    const std::wstring desc = text.data();

    // Missing and unreadable layers are passed over silently.
    MapGis_FastReader layer;
    if (IsFile(path) && layer.Open(path.c_str()) >= 0 && LiveRecords(layer) >= 1) {
      Extent e;
      layer.GetExtentInfo(&e.xMin, &e.yMin, &e.xMax, &e.yMax);
      all->Widen(e);
      const GeometryPtr shape = ExtentShape(e, k);
      if (WriteRow(shape.get(), UpperExtension(path), FileName(path), desc, static_cast<uint32_t>(i),
                   static_cast<uint32_t>(layers), display, true)) {
        WriteCsvLine(i, path);
        ++layers;
      }
    }
    layer.Close();
    progress.Done(i + 1, count);
  }
  return layers;
}

long ProjectIndexConverter::Convert(ResultStaging& staging, const std::wstring& source, const std::wstring& base) {
  CONVERT_LOG(in_.log, L"开始转换[%ls]", source.c_str());

  MapGis_Prj project;
  const long count = project.LoadProject(source.c_str());
  if (count < 0) return Stop(count, OpenClosingText(count));
  std::vector<wchar_t> text(2600, L'\0');
  project.GetMpjDesc(text.data());
  const std::wstring projectDesc = text.data();
  MAP_PARAstruct para{};
  project.GetProjectionInfo(&para);
  projectScale_ = para.scale;

  // Spatial reference and the factor applied to every coordinate.
  out_ = CreateLayerWriter(in_, staging, base);
  text_ = TableText(out_->Utf8());
  cartography::Extent extent;
  project.GetExtentInfo(&extent.minX, &extent.minY, &extent.maxX, &extent.maxY);
  AppliedReference reference;
  const long status = ApplySpatialReference(in_, para, &extent, *out_, L"------I__输出投影文件[%ls]",
                                            in_.report ? &in_.report->layers.back() : nullptr, &reference);
  const double k = reference.factor;
  if (status != MAPGIS_OK) {
    out_.reset();
    return status;
  }

  std::wstring failed;
  if (!out_->CreateTable(&failed)) return CreateFailed(in_.log, *out_, failed);
  AddColumns();
  CONVERT_LOG(in_.log, L"------I__增加MapGIS图层属性字段");
  if (!out_->CreateShapes(ShapeKind::Polygon, &failed)) return CreateFailed(in_.log, *out_, failed);
  csv_ = "MatchID,FullPath\n";

  Extent all;
  const int layers = WriteLayerRows(project, source, count, k, &all);
  // A project without any layer has no extent: its row gets a null shape.
  const GeometryPtr projectShape = layers > 0 ? ExtentShape(all, k) : nullptr;
  if (WriteRow(projectShape.get(), UpperExtension(source), FileName(base), projectDesc, static_cast<uint32_t>(count),
               1, nullptr, false)) {
    WriteCsvLine(count, source);
  }

  if (out_->Failure() || !out_->Close()) return WriteFailed(in_.log, *out_);
  if (!out_->WriteSideFile(L".CSV", csv_)) return WriteFailed(in_.log, *out_);
  CONVERT_LOG(in_.log, L"------I__输出结果文件[%ls]", out_->PartName(L".shp").c_str());
  if (in_.options.ExportEmptyFile == 0 && layers == 0) {
    out_->Discard();
    CONVERT_LOG(in_.log, L"------I__转换结果为空文件,已被删除！");
  }
  out_.reset();
  CONVERT_LOG(in_.log, L"----结束转换[全部正确转换(%d/%d)]", layers, static_cast<int>(count));
  if (in_.report) {
    LayerReport& r = in_.report->layers.back();
    r.slotCount = r.liveCount = count;
    r.written = row_;  // the layers' rows and the project's
  }
  // The index of a project without a readable layer holds only the project's row.
  return layers == 0 ? kEmptyResult : MAPGIS_OK;
}

}  // namespace

long ConvertProjectIndex(const ConverterInputs& in, const std::wstring& source, const std::wstring& base) {
  ProjectIndexConverter converter(in);
  if (in.report) in.report->layers.push_back(NewLayerReport("project_index", base, in.options));
  const long result = RunStaged(in, [&](ResultStaging& staging) { return converter.Convert(staging, source, base); });
  if (in.report) in.report->layers.back().status = result;
  return result;
}
