#pragma once
// `gridmoor help [COMMAND]`: the help of the program or of one command, as
// --help prints it.
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

struct HelpCommand {
  CLI::App* command = nullptr;  // set by AddHelpCommand
  std::string topic;            // the command asked about, or empty
};

void AddHelpCommand(CLI::App& app, HelpCommand& help);

// Prints the help asked for; 0, or 2 with a message for an unknown command.
int RunHelp(const CLI::App& app, const HelpCommand& help, std::ostream& out, std::ostream& err);
