#pragma once
// gridmoor convert: a batch conversion of files and folders from the
// command line, over the same engine as the desktop program.
#include <string>
#include <vector>

namespace CLI {
class App;
}

struct ConvertOptions {
  std::string mode = "advanced";
  std::string output;
  std::string lib;
  std::string encoding = "utf-8";
  std::string format;  // "shp" or "gpkg"; empty: the OutputFormat setting, or gpkg for -o NAME.gpkg
  std::vector<std::string> sets;
  std::string onClash;
  std::string logFile;
  std::string listOut;
  std::string report;
  bool quiet = false;
  int jobs = 1;
  std::vector<std::string> inputs;
};

// Declares the subcommand and its options on `app`.
CLI::App* AddConvertCommand(CLI::App& app, ConvertOptions& options);

// The values an option of `convert` accepts, for the shell completion.
struct OptionChoices {
  std::string option;  // long name with its dashes
  std::vector<std::string> values;
};
std::vector<OptionChoices> ConvertChoices();

// Runs the batch: 0 when every entry ended done, empty or skipped, 1 when
// any failed or the run was cancelled, 2 for usage or fatal errors.
int RunConvert(const ConvertOptions& options, const std::string& programDir);
