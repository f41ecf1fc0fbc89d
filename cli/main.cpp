// gridmoor: the command-line front end. main parses the arguments, runs the
// chosen command and maps its result to the exit status.
#include <CLI/CLI.hpp>

#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "InfoReport.h"

namespace {

// Exit statuses, as the help text states them.
constexpr int kAllRead = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"gridmoor: inspects MapGIS 6.x vector data (converters to shapefiles are coming)."};
  app.footer(
      "Exit status: 0 when every file was read, 1 when some file could not be read, "
      "2 for a usage error or when the report cannot be written.");
  app.require_subcommand(1);

  gridmoor::InfoOptions infoOptions;
  std::vector<std::string> infoFiles;
  CLI::App* info = app.add_subcommand(
      "info", "Report the header, counts, projection, sections and attribute tables of MapGIS files.");
  info->add_option("--records", infoOptions.records, "Also list the first N records of every table")
      ->type_name("N")
      ->check(CLI::Range(0, std::numeric_limits<int>::max()));
  info->add_option("FILE", infoFiles, "MapGIS layer files (.WT .WL .WP .WN .WB)")->required();
  // Project files (.MPJ) and the colour library option (--colors) join this
  // command when their readers are in the library.

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int shown = app.exit(e);
    return shown == 0 ? kAllRead : kUsageError;
  }

  if (info->parsed()) {
    const int failed = gridmoor::ReportFiles(std::cout, infoFiles, infoOptions);
    std::cout.flush();
    if (!std::cout) return kUsageError;
    return failed == 0 ? kAllRead : kSomeFailed;
  }
  return kUsageError;
}
