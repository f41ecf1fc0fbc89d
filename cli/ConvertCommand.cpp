#include "ConvertCommand.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "BatchRunner.h"
#include "GeoPackagePaths.h"
#include "MapGisCodePage.h"
#include "RunReportJson.h"
#include "SettingsTable.h"
#include "TerminalHost.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kModes = {"quick", "advanced", "labels"};
const std::vector<std::string> kEncodings = {"utf-8", "ansi"};
const std::vector<std::string> kClashPolicies = {"ask", "skip", "overwrite", "rename", "stop"};

}  // namespace

CLI::App* AddConvertCommand(CLI::App& app, ConvertOptions& o) {
  CLI::App* cmd = app.add_subcommand(
      "convert", "Convert MapGIS files and folders (searched recursively) to shapefiles or GeoPackages");
  cmd->add_option("--mode", o.mode, "quick: no styles, splits or projection; advanced: the settings as given; "
                                    "labels: annotations only")
      ->check(CLI::IsMember(kModes))
      ->capture_default_str();
  cmd->add_option("-o,--output", o.output,
                  "Output folder (default: next to each source); with gpkg, a NAME.gpkg file takes every result")
      ->type_name("DIR");
  cmd->add_option("--format", o.format,
                  "shp: shapefiles (default); gpkg: a GeoPackage per input (a project's layers in the project's), "
                  "full field names and texts, dates as dates")
      ->check(CLI::IsMember({"shp", "gpkg"}));
  cmd->add_option("--lib", o.lib, "Folder holding the MapGIS colour library Pcolor.lib")->type_name("DIR");
  cmd->add_option("--encoding", o.encoding,
                  "Text encoding of shapefile tables: utf-8 or ansi (code page 936); "
                  "does not apply to GeoPackage, which is always UTF-8")
      ->check(CLI::IsMember(kEncodings))
      ->capture_default_str();
  // One KEY=VALUE per --set, so that inputs may follow it.
  cmd->add_option("--set", o.sets, "KEY=VALUE for any setting, e.g. --set SymbolType=4 --set ExportPolyArc=1")
      ->type_name("KEY=VALUE")
      ->allow_extra_args(false);
  cmd->add_option("--on-clash", o.onClash,
                  "When a result exists: ask, skip, overwrite, rename or stop "
                  "(default: ask on a terminal, else skip)")
      ->check(CLI::IsMember(kClashPolicies));
  cmd->add_option("--log", o.logFile, "Save the conversion log to this file")->type_name("FILE");
  cmd->add_option("--list-out", o.listOut, "Export the file list with statuses to this file")->type_name("FILE");
  cmd->add_option("--report", o.report,
                  "Write a JSON report of the run to this file ('-': to stdout, the log then goes to stderr); "
                  "its schema is docs/report-schema.json")
      ->type_name("FILE");
  cmd->add_option("-j,--jobs", o.jobs, "Convert this many files at once (the log, names and results are as with 1)")
      ->check(CLI::Range(1, 256))
      ->capture_default_str();
  cmd->add_flag("-q,--quiet", o.quiet, "Print only the summary line");
  cmd->add_option("inputs", o.inputs,
                  "MapGIS files (.WT .WL .WP .WN .WB .MPJ, any letter case) and folders, before, between or "
                  "after the options; files of other kinds are skipped with a warning")
      ->required();
  cmd->footer("Exit status: 0 every entry done, empty or skipped; 1 some entry failed or the run was cancelled;\n"
              "2 usage or fatal error. Ctrl-C asks to cancel before the next file; a second Ctrl-C ends.");
  return cmd;
}

std::vector<OptionChoices> ConvertChoices() {
  std::vector<std::string> keys;
  for (const SettingEntry& e : SettingsTable()) keys.push_back(std::string(e.key) + "=");
  return {{"--mode", kModes}, {"--encoding", kEncodings}, {"--on-clash", kClashPolicies}, {"--set", keys}};
}

namespace {

// The absolute form of a path the user typed, without "." or ".." steps,
// doubled or trailing slashes, so that the log names files plainly.
fs::path NormalPath(const std::string& typed) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::u8path(typed), ec).lexically_normal();
  if (!p.has_filename() && p.has_relative_path()) p = p.parent_path();
  return p;
}

// Adds the folders and files named on the command line to the list. A file
// of another kind (a shell pattern over a converted folder names the
// results too) is skipped with a warning; a name that does not exist stops
// the run with a message (false).
bool AddInputs(const std::vector<std::string>& inputs, FileList& files) {
  for (const std::string& input : inputs) {
    std::error_code ec;
    const fs::path p = NormalPath(input);
    const std::wstring wide = MapGis::Utf8ToWide(p.u8string());
    if (fs::is_directory(p, ec)) {
      if (files.SearchFolder(wide, true) == 1) break;
    } else if (fs::exists(p, ec)) {
      if (FileList::KindOf(wide) == kKindNone) {
        std::cerr << "gridmoor convert: skipped, not a MapGIS file: " << input << std::endl;
        continue;
      }
      files.AddPath(wide);
    } else {
      std::cerr << "gridmoor convert: no such file or folder: " << input << std::endl;
      return false;
    }
  }
  return true;
}

// The conversion log as the command line keeps it: every line goes to the
// terminal host and, with --log, straight into the log file as UTF-8.
class CliLogSink : public LogSink {
 public:
  explicit CliLogSink(LogSink* terminal) : terminal_(terminal) {}
  bool Open(const std::string& path) {
    file_.open(fs::u8path(path), std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file_);
  }
  void AppendLine(const std::wstring& line) override {
    terminal_->AppendLine(line);
    if (file_.is_open()) file_ << MapGis::WideToUtf8(line) << '\n';
  }
  // False when the log file could not be written whole.
  bool Close() {
    if (!file_.is_open()) return true;
    file_.close();
    return !file_.fail();
  }

 private:
  LogSink* terminal_;
  std::ofstream file_;
};

// Writes the report to `path`, or to stdout for "-"; false when it cannot be written whole.
bool WriteReport(const std::string& path, const std::string& json) {
  if (path == "-") {
    std::cout << json << std::flush;
    return static_cast<bool>(std::cout);
  }
  std::ofstream out(fs::u8path(path), std::ios::binary | std::ios::trunc);
  out << json;
  out.close();
  return !out.fail();
}

// The settings of the run from the options; false with a message for a bad value.
bool BuildSettings(const ConvertOptions& o, const std::string& programDir, Settings* settings, std::string* error) {
  Settings& s = *settings;
  s = Settings::Defaults(L"", MapGis::Utf8ToWide(programDir));
  s.OutPath.clear();
  for (const std::string& item : o.sets) {
    const size_t eq = item.find('=');
    if (eq == std::string::npos) {
      *error = "--set takes KEY=VALUE, not '" + item + "'";
      return false;
    }
    if (!SetSettingFromText(s, item.substr(0, eq), item.substr(eq + 1), error)) return false;
  }
  if (!o.output.empty()) s.OutPath = MapGis::Utf8ToWide(NormalPath(o.output).u8string());
  if (o.format == "shp") s.OutputFormat = kFormatShapefile;
  std::error_code ec;
  if (o.format == "gpkg" || (o.format.empty() && IsGeoPackagePath(s.OutPath) && !fs::is_directory(o.output, ec))) {
    s.OutputFormat = kFormatGeoPackage;
  }
  if (!o.lib.empty()) s.LibPath = MapGis::Utf8ToWide(NormalPath(o.lib).u8string());
  s.CodePage = o.encoding == "ansi" ? 1 : 0;
  return true;
}

// The options of the run: the settings as the mode changes them.
ConversionOptions RunOptions(const ConvertOptions& o, const Settings& settings) {
  if (o.mode == "quick") return settings.Quick();
  if (o.mode == "labels") return settings.LabelsOnly();
  return settings;
}

}  // namespace

int RunConvert(const ConvertOptions& o, const std::string& programDir) {
  std::string error;
  Settings settings;
  if (!BuildSettings(o, programDir, &settings, &error)) {
    std::cerr << "gridmoor convert: " << error << std::endl;
    return 2;
  }
  if (!o.output.empty()) {
    std::error_code ec;
    const fs::path out = fs::u8path(o.output);
    // A GeoPackage named by -o is made in a folder that exists.
    const bool namesGeoPackage = settings.WritesGeoPackage() && IsGeoPackagePath(settings.OutPath) &&
                                 !fs::is_directory(out, ec);
    const fs::path folder = namesGeoPackage ? fs::absolute(out).parent_path() : out;
    if (!fs::is_directory(folder, ec)) {
      std::cerr << "gridmoor convert: output folder does not exist: " << folder.u8string() << std::endl;
      return 2;
    }
  }
  const ConversionOptions options = RunOptions(o, settings);

  TerminalHost host(o.onClash, o.quiet);
  host.SetLinesToStderr(o.report == "-");
  CliLogSink sink(&host);
  FileList files(&host);
  if (!AddInputs(o.inputs, files)) return 2;
  if (files.Count() == 0) {
    host.MessageBox(L"没有发现任何可转换文件!", L"注意", ConvertHost::Icon::Warning);
    return 2;
  }
  if (!o.logFile.empty() && !sink.Open(o.logFile)) {
    std::cerr << "gridmoor convert: cannot write the log to " << o.logFile << std::endl;
    return 2;
  }

  files.ResetForBatch();
  ConversionLog log(&sink, options.LogLevel);
  MapGis::MapGis_ColorLib colours;
  // Runs with style output use the colour library (the annotation run too).
  if (o.mode != "quick") LoadColourLibrary(options, colours, &host, log);
  BatchRunner batch(options, files, colours, &host, &sink);
  batch.SetJobs(o.jobs);
  RunReport report;
  if (!o.report.empty()) batch.SetReport(&report);
  const BatchSummary sum = o.mode == "labels" ? batch.ConvertAllLabels() : batch.ConvertAllFiles();
  if (o.quiet) host.PrintAlways(sum.text);

  int status = (sum.failed > 0 || sum.cancelled) ? 1 : 0;
  if (!sink.Close()) {
    std::cerr << "gridmoor convert: cannot write the log to " << o.logFile << std::endl;
    status = 2;
  }
  if (!o.listOut.empty() && !files.Export(o.listOut)) {
    std::cerr << "gridmoor convert: cannot write the list to " << o.listOut << std::endl;
    status = 2;
  }
  if (!o.report.empty() && !WriteReport(o.report, RunReportJson(report, status))) {
    std::cerr << "gridmoor convert: cannot write the report to " << o.report << std::endl;
    status = 2;
  }
  return status;
}
