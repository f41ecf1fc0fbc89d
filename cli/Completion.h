#pragma once
// The bash completion of gridmoor, written from the command-line definition
// itself so that it always offers the commands and options the program has.
#include <string>
#include <vector>

#include "ConvertCommand.h"

namespace CLI {
class App;
}

// The completion script for bash: commands, their options, the values of
// `choices` (a value ending in "=" is completed without a space after it),
// folders for DIR options, files for FILE options and inputs.
std::string BashCompletion(const CLI::App& app, const std::vector<OptionChoices>& choices);
