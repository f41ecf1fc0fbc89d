// gridmoor: the command-line front end. main parses the arguments, runs the
// chosen command and maps its result to the exit status.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "InfoCommand.h"

namespace {

// Exit statuses, as the help text states them.
constexpr int kAllRead = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"gridmoor: inspects MapGIS 6.x vector data (converters to shapefiles are coming)."};
  const std::string exitStatus =
      "Exit status: 0 when every file was read, 1 when some file could not be read, "
      "2 for a usage error or when the report cannot be written.";
  app.footer(exitStatus);
  app.require_subcommand(1);

  gridmoor::InfoCommand info;
  gridmoor::AddInfoCommand(app, info, exitStatus);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int shown = app.exit(e);
    return shown == 0 ? kAllRead : kUsageError;
  }

  if (info.command->parsed()) {
    const int failed = gridmoor::RunInfoCommand(std::cout, info);
    std::cout.flush();
    if (!std::cout) return kUsageError;
    return failed == 0 ? kAllRead : kSomeFailed;
  }
  return kUsageError;
}
