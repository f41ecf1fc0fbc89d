#include "HelpCommand.h"

#include <CLI/CLI.hpp>

#include <ostream>

void AddHelpCommand(CLI::App& app, HelpCommand& help) {
  help.command = app.add_subcommand("help", "Show the help of gridmoor or of one command");
  help.command->add_option("COMMAND", help.topic, "The command to explain");
}

int RunHelp(const CLI::App& app, const HelpCommand& help, std::ostream& out, std::ostream& err) {
  if (help.topic.empty()) {
    // app.help() would show the help of the selected command, `help` itself.
    out << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
    return 0;
  }
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (command->get_name() == help.topic) {
      out << command->help(app.get_name());
      return 0;
    }
  }
  err << app.get_name() << " help: unknown command '" << help.topic << "'; see '" << app.get_name() << " help'\n";
  return 2;
}
