#include "InfoCommand.h"

#include <CLI/CLI.hpp>

#include <limits>

namespace gridmoor {

void AddInfoCommand(CLI::App& app, InfoCommand& info, const std::string& exitStatus) {
  CLI::App* command = app.add_subcommand(
      "info", "Report what the library reads in MapGIS files: layers, project files and colour libraries.");
  command->footer(
      "A layer gets its header, counts, projection, sections and attribute tables. A project file "
      "(.MPJ, or any file starting with the project magic) gets its extent, projection, description "
      "and items. A file starting with \"PCOLOR 3\" is summarised as a colour library (head, inks); "
      "--colors reads every FILE as a colour library and lists every colour.\n\n" +
      exitStatus);
  command->add_option("--records", info.options.records,
                      "Also list the first N records of every table; with --colors, list only the first N colours")
      ->type_name("N")
      ->check(CLI::Range(0, std::numeric_limits<int>::max()));
  command->add_flag("--colors", info.options.colors,
                    "Read every FILE as a colour library and list each colour: stored K C M Y bytes, spot-ink "
                    "shares, percentages and RGB");
  command->add_flag("--json", info.json,
                    "Print one JSON document with the same values (schema: docs/info-schema.json)");
  command
      ->add_option("FILE", info.files,
                   "MapGIS layer files (.WT .WL .WP .WN .WB), project files (.MPJ), colour libraries")
      ->required();
  info.command = command;
}

int RunInfoCommand(std::ostream& out, InfoCommand& info) {
  // Without --records, --colors lists every colour.
  info.options.recordsGiven = info.command && info.command->count("--records") > 0;
  if (info.json) return ReportFilesJson(out, info.files, info.options);
  return ReportFiles(out, info.files, info.options);
}

}  // namespace gridmoor
