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

#include "ConvertHost.h"
#include "ConvertLog.h"
#include "FuzzInput.h"
#include "GridmoorProView.h"
#include "Settings.h"

namespace fuzzing {

// A host that answers every question with "go on" and shows nothing.
class QuietHost : public ConvertHost {
 public:
  int AskDuplicate(const std::wstring&) override { return kOverwriteThis; }
  void MessageBox(const std::wstring&, const std::wstring&, Icon) override {}
  bool AskYesNo(const std::wstring&, const std::wstring&) override { return false; }
  void SetStatusText(const std::wstring&) override {}
  void SetProgressText(const std::wstring&) override {}
  void SetProgress(int) override {}
  bool CancelRequested() override { return false; }
  void FinishSound() override {}
  void AppendLine(const std::wstring&) override {}
};

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
    Settings::ResetToDefaults(Wide(scratch_.Out()), L"");
    CConvertLog::Instance().SetSink(nullptr);
    view_.SetHost(&host_);
    if (!colourLibrary.empty()) view_.ColorLib().LoadColors(colourLibrary.c_str());
  }
  ~ConvertRunner() { view_.SetHost(nullptr); }

  // Converts `data` (options bytes, then the file) and cleans up after it;
  // the log lines of the run go to `log` when given.
  void Run(const uint8_t* data, size_t size, std::vector<std::wstring>* log = nullptr) {
    if (size < 2) return;
    const ConvertOptions o = OptionsFrom(data[0], data[1]);
    data += 2;
    size -= 2;
    Settings::SymbolType = o.symbolType;
    Settings::ExportProjection = o.exportProjection;
    Settings::CodePage = o.codePage;
    Settings::ExportEmptyFile = o.exportEmptyFile;
    Settings::ColorModel = o.colorModel;
    Settings::RotateType = o.rotateType;
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
        converters = {[&] { view_.ConvertMpj2Shp(source, base); }};
        break;
      case 1:
        converters = {[&] { view_.ConvertPoint2Shp(source, base); },
                      [&] { view_.ConvertPntSub2Shp(source, companion); },
                      [&] { view_.ConvertNote2Shp(source, base + L"_note"); }};
        break;
      case 2:
        converters = {[&] { view_.ConvertPolygon2Shp(source, base); },
                      [&] { view_.ConvertPolyArc2Shp(source, companion); }};
        break;
      case 4:
        converters = {[&] { view_.ConvertNetArc2Shp(source, base); },
                      [&] { view_.ConvertNetPoint2Shp(source, companion); }};
        break;
      case 7:
        converters = {[&] { view_.ConvertWB2DBF(source, base); }};
        break;
      default:
        converters = {[&] { view_.ConvertArc2Shp(source, base); }};
        break;
    }
    if (o.converter == 0) {
      for (const auto& convert : converters) convert();
    } else {
      converters[static_cast<size_t>(o.converter - 1) % converters.size()]();
    }
    if (log) *log = CConvertLog::Instance().Lines();
    CConvertLog::Instance().Clear();
    scratch_.CleanOut();
  }

 private:
  Scratch scratch_;
  QuietHost host_;
  CGridmoorProView view_;
};

}  // namespace fuzzing
