// gridmoor: the command-line front end. main parses the arguments, runs the
// chosen command and maps its result to the exit status.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <string>

#include "Completion.h"
#include "ConvertCommand.h"
#include "HelpCommand.h"
#include "InfoCommand.h"
#include "VersionText.h"

namespace {

// Exit statuses, as the help text states them.
constexpr int kAllRead = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

// A first word that names no command is reported as such, rather than as a
// missing command.
int UnknownCommand(const CLI::App& app) {
  for (const std::string& word : app.remaining()) {
    if (word.empty() || word[0] == '-') continue;
    std::cerr << app.get_name() << ": unknown command '" << word << "'; the commands are";
    for (const CLI::App* c : app.get_subcommands([](const CLI::App*) { return true; })) {
      std::cerr << " " << c->get_name();
    }
    std::cerr << " (see '" << app.get_name() << " help')" << std::endl;
    return kUsageError;
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"gridmoor: converts MapGIS 6.x vector data to shapefiles and inspects it.", "gridmoor"};
  const std::string exitStatus =
      "Exit status: 0 when every file was read, 1 when some file could not be read, "
      "2 for a usage error or when the report cannot be written.";
  app.footer(
      "Exit status: 0 when every file was read (info) or every entry ended done, empty or skipped (convert);\n"
      "1 when some file could not be read or some entry failed; 2 for a usage or fatal error.");
  app.set_version_flag("--version", VersionText(), "Print the versions of gridmoor, its library and build, and exit");
  app.require_subcommand(1);

  gridmoor::InfoCommand info;
  gridmoor::AddInfoCommand(app, info, exitStatus);
  ConvertOptions convert;
  CLI::App* convertCommand = AddConvertCommand(app, convert);
  HelpCommand help;
  AddHelpCommand(app, help);
  CLI::App* completion = app.add_subcommand(
      "completion", "Print the bash completion script (installed by make install; or: source <(gridmoor completion))");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (app.get_subcommands().empty() && e.get_exit_code() != 0) {
      const int unknown = UnknownCommand(app);
      if (unknown >= 0) return unknown;
    }
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
  if (help.command->parsed()) return RunHelp(app, help, std::cout, std::cerr);
  if (completion->parsed()) {
    std::cout << BashCompletion(app, ConvertChoices()) << std::flush;
    return std::cout ? kAllRead : kUsageError;
  }
  return kUsageError;
}
