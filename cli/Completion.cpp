#include "Completion.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace {

std::string Joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

std::vector<std::string> Names(const CLI::Option& option) {
  std::vector<std::string> names;
  for (const std::string& n : option.get_snames()) names.push_back("-" + n);
  for (const std::string& n : option.get_lnames()) names.push_back("--" + n);
  return names;
}

const OptionChoices* ChoicesOf(const CLI::Option& option, const std::vector<OptionChoices>& choices) {
  for (const OptionChoices& c : choices) {
    for (const std::string& n : option.get_lnames()) {
      if (c.option == "--" + n) return &c;
    }
  }
  return nullptr;
}

// The case arms completing the value after each option of `command` that takes one.
void ValueArms(std::ostream& out, const CLI::App& command, const std::vector<OptionChoices>& choices) {
  for (const CLI::Option* option : command.get_options()) {
    if (option->get_positional() || option->get_items_expected_max() == 0) continue;
    std::string names;
    for (const std::string& n : Names(*option)) names += (names.empty() ? "" : "|") + n;
    out << "        " << names << ")\n";
    if (const OptionChoices* c = ChoicesOf(*option, choices)) {
      if (!c->values.empty() && c->values.front().back() == '=') out << "          compopt -o nospace 2>/dev/null\n";
      out << "          COMPREPLY=($(compgen -W \"" << Joined(c->values) << "\" -- \"$cur\")) ;;\n";
    } else if (option->get_type_name() == "DIR") {
      out << "          compopt -o filenames 2>/dev/null\n";
      out << "          COMPREPLY=($(compgen -d -- \"$cur\")) ;;\n";
    } else if (option->get_type_name() == "FILE") {
      out << "          compopt -o filenames 2>/dev/null\n";
      out << "          COMPREPLY=($(compgen -f -- \"$cur\")) ;;\n";
    } else {
      out << "          ;;\n";  // a number or free text: nothing to offer
    }
  }
}

void CommandArm(std::ostream& out, const CLI::App& command, const std::string& commandNames,
                const std::vector<OptionChoices>& choices) {
  std::vector<std::string> options;
  bool takesFiles = false;
  for (const CLI::Option* option : command.get_options()) {
    if (option->get_positional()) {
      takesFiles = true;
      continue;
    }
    for (const std::string& n : Names(*option)) options.push_back(n);
  }
  out << "    " << command.get_name() << ")\n";
  out << "      case $prev in\n";
  ValueArms(out, command, choices);
  out << "        *)\n";
  out << "          if [[ $cur == -* ]]; then\n";
  out << "            COMPREPLY=($(compgen -W \"" << Joined(options) << "\" -- \"$cur\"))\n";
  if (command.get_name() == "help") {
    out << "          else\n";
    out << "            COMPREPLY=($(compgen -W \"" << commandNames << "\" -- \"$cur\"))\n";
  } else if (command.get_name() == "convert") {
    out << "          else\n";
    out << "            _gridmoor_inputs \"$cur\"\n";
  } else if (takesFiles) {
    out << "          else\n";
    out << "            compopt -o filenames 2>/dev/null\n";
    out << "            COMPREPLY=($(compgen -f -- \"$cur\"))\n";
  }
  out << "          fi ;;\n";
  out << "      esac ;;\n";
}

}  // namespace

std::string BashCompletion(const CLI::App& app, const std::vector<OptionChoices>& choices) {
  const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
  std::vector<std::string> names;
  for (const CLI::App* c : commands) names.push_back(c->get_name());
  std::vector<std::string> topOptions;
  for (const CLI::Option* option : app.get_options()) {
    for (const std::string& n : Names(*option)) topOptions.push_back(n);
  }
  const std::string commandNames = Joined(names);

  std::ostringstream out;
  out << "# bash completion for " << app.get_name() << " (written by `" << app.get_name() << " completion`)\n\n";
  out << "# Folders, and MapGIS files in any letter case.\n";
  out << "_gridmoor_inputs() {\n";
  out << "  local f\n";
  out << "  compopt -o filenames 2>/dev/null\n";
  out << "  COMPREPLY=()\n";
  out << "  while IFS= read -r f; do\n";
  out << "    if [[ -d $f ]]; then COMPREPLY+=(\"$f\"); continue; fi\n";
  out << "    case ${f,,} in *.wt|*.wl|*.wp|*.wn|*.wb|*.mpj) COMPREPLY+=(\"$f\") ;; esac\n";
  out << "  done < <(compgen -f -- \"$1\")\n";
  out << "}\n\n";
  out << "_gridmoor() {\n";
  out << "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= i\n";
  out << "  # \"--mode=q\" arrives as \"--mode\" \"=\" \"q\".\n";
  out << "  if [[ $prev == = ]] && ((COMP_CWORD > 1)); then prev=${COMP_WORDS[COMP_CWORD-2]}; fi\n";
  out << "  [[ $cur == = ]] && cur=\n";
  out << "  for ((i = 1; i < COMP_CWORD; i++)); do\n";
  out << "    case ${COMP_WORDS[i]} in\n";
  std::string alternatives;
  for (const std::string& n : names) alternatives += (alternatives.empty() ? "" : "|") + n;
  out << "      " << alternatives << ") command=${COMP_WORDS[i]}; break ;;\n";
  out << "    esac\n";
  out << "  done\n";
  out << "  COMPREPLY=()\n";
  out << "  case $command in\n";
  out << "    \"\")\n";
  out << "      if [[ $cur == -* ]]; then\n";
  out << "        COMPREPLY=($(compgen -W \"" << Joined(topOptions) << "\" -- \"$cur\"))\n";
  out << "      else\n";
  out << "        COMPREPLY=($(compgen -W \"" << commandNames << "\" -- \"$cur\"))\n";
  out << "      fi ;;\n";
  for (const CLI::App* c : commands) CommandArm(out, *c, commandNames, choices);
  out << "  esac\n";
  out << "}\n\n";
  out << "complete -F _gridmoor " << app.get_name() << "\n";
  return out.str();
}
