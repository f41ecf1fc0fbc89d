// gridmoor: the command-line front end. main parses the arguments, runs the
// chosen command and maps its result to the exit status.
#include <CLI/CLI.hpp>

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "ConvertCommand.h"
#include "InfoCommand.h"

namespace {

// Exit statuses, as the help text states them.
constexpr int kAllRead = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"gridmoor: converts MapGIS 6.x vector data to shapefiles and inspects it."};
  const std::string exitStatus =
      "Exit status: 0 when every file was read, 1 when some file could not be read, "
      "2 for a usage error or when the report cannot be written.";
  app.footer(
      "Exit status: 0 when every file was read (info) or every entry ended done, empty or skipped (convert);\n"
      "1 when some file could not be read or some entry failed; 2 for a usage or fatal error.");
  app.require_subcommand(1);

  gridmoor::InfoCommand info;
  gridmoor::AddInfoCommand(app, info, exitStatus);
  ConvertOptions convert;
  CLI::App* convertCommand = AddConvertCommand(app, convert);

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
  if (convertCommand->parsed()) {
    // The colour library's default folder is the program's own.
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return RunConvert(convert, ec ? std::string() : self.parent_path().u8string());
  }
  return kUsageError;
}
