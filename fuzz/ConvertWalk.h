#pragma once
// The end-to-end walk: one input converted through the converters of its
// kind. The first two bytes choose the run's options, the rest is the file:
//   byte 0: style mode (b % 6), projection mode (b / 6 % 3), code page (b / 18 % 2: GBK, else UTF-8)
//   byte 1: bit 0 keep empty results, bits 1-2 colour model (% 3), bit 3 geographic angles,
//           bits 4-5 which converters of the kind run: 0 every one, k only the k-th
//           (counted round), so most runs pay for one conversion
// The kind comes from the file's type word; a project is known by its magic.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ColorModel.h"
#include "ConversionLog.h"
#include "Converters.h"
#include "FuzzInput.h"

namespace fuzzing {

struct ConvertOptions {
  int symbolType, exportProjection, codePage, exportEmptyFile, colorModel, rotateType, converter;
};

inline ConvertOptions OptionsFrom(uint8_t b0, uint8_t b1) {
  return ConvertOptions{b0 % 6, b0 / 6 % 3, b0 / 18 % 2 ? 936 : 0, b1 & 1, (b1 >> 1 & 3) % 3, b1 >> 3 & 1,
                        b1 >> 4 & 3};
}

// The kind of a file: 'M' project, else the type word (-1 when too short).
inline int InputKind(const uint8_t* data, size_t size) {
  if (size >= 8 && std::memcmp(data, "WMAP`D2:", 8) == 0) return 'M';
  if (size < 10) return -1;
  return static_cast<int16_t>(data[8] | data[9] << 8);
}

class ConvertRunner {
 public:
  // `colourLibrary`: a colour library to load for the style modes (may be empty).
  explicit ConvertRunner(const std::wstring& colourLibrary) {
    if (!colourLibrary.empty()) colours_.LoadColors(colourLibrary.c_str());
  }

  // Converts `data` (options bytes, then the file) and cleans up after it;
  // the log lines of the run go to `log` when given.
  void Run(const uint8_t* data, size_t size, std::vector<std::wstring>* log = nullptr) {
    if (size < 2) return;
    const ConvertOptions o = OptionsFrom(data[0], data[1]);
    data += 2;
    size -= 2;
    ConversionOptions options;
    options.OutPath = Wide(scratch_.Out());
    options.SymbolType = o.symbolType;
    options.ExportProjection = o.exportProjection;
    options.CodePage = o.codePage;
    options.ExportEmptyFile = o.exportEmptyFile;
    options.ColorModel = o.colorModel;
    options.RotateType = o.rotateType;
    const ColorModel colors(&colours_, options.ColorModel);
    LineBuffer lines;
    ConversionLog runLog(&lines, options.LogLevel);
    const ConverterInputs in{options, colors, runLog, nullptr, nullptr};
    const int kind = InputKind(data, size);
    const char* ext = kind == 'M' ? ".MPJ" : kind == 1 ? ".WT" : kind == 2 ? ".WP" : kind == 4 ? ".WN"
                                                              : kind == 7 ? ".WB" : ".WL";
    const std::wstring source = Wide(scratch_.Write(std::string("input") + ext, data, size));
    const std::wstring base = Wide(scratch_.Out() / "result");
    const std::wstring companion = Wide(scratch_.Out() / "companion");
    // The converters of the kind, each with its result name.
    std::vector<std::function<void()>> converters;
    switch (kind) {
      case 'M':
        converters = {[&] { ConvertProjectIndex(in, source, base); }};
        break;
      case 1:
        converters = {[&] { ConvertPoints(in, source, base); },
                      [&] { ConvertSubPictures(in, source, companion); },
                      [&] { ConvertAnnotations(in, source, base + L"_note"); }};
        break;
      case 2:
        converters = {[&] { ConvertPolygons(in, source, base); },
                      [&] { ConvertPolygonArcs(in, source, companion); }};
        break;
      case 4:
        converters = {[&] { ConvertNetworkArcs(in, source, base); },
                      [&] { ConvertNetworkNodes(in, source, companion); }};
        break;
      case 7:
        converters = {[&] { ConvertTable(in, source, base); }};
        break;
      default:
        converters = {[&] { ConvertLines(in, source, base); }};
        break;
    }
    if (o.converter == 0) {
      for (const auto& convert : converters) convert();
    } else {
      converters[static_cast<size_t>(o.converter - 1) % converters.size()]();
    }
    if (log) *log = lines.Lines();
    scratch_.CleanOut();
  }

 private:
  Scratch scratch_;
  MapGis::MapGis_ColorLib colours_;
};

}  // namespace fuzzing
