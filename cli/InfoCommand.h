#pragma once
// The `info` subcommand: its options and help, and the run over its files.
#include <iosfwd>
#include <string>
#include <vector>

#include "InfoReport.h"

namespace CLI {
class App;
}

namespace gridmoor {

struct InfoCommand {
  CLI::App* command = nullptr;  // set by AddInfoCommand
  InfoOptions options;
  bool json = false;  // one JSON document instead of the text report
  std::vector<std::string> files;
};

// Adds `info` to `app`; `exitStatus` is the help's closing paragraph.
void AddInfoCommand(CLI::App& app, InfoCommand& info, const std::string& exitStatus);

// Reports every file of a parsed `info` to `out`; returns the number of
// files that could not be read.
int RunInfoCommand(std::ostream& out, InfoCommand& info);

}  // namespace gridmoor
