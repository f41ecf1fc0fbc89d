// The program's own commands: --version, help, unknown commands and the bash
// completion that `gridmoor completion` writes.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "CliHarness.h"

using cli_testing::CliResult;
using cli_testing::Contains;
using cli_testing::RunGridmoor;
using cli_testing::RunProgram;
using cli_testing::ScratchDir;

TEST(CommandLine, VersionHelpAndUnknownCommands) {
  const CliResult version = RunGridmoor({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(version.out, m,
                               std::regex("gridmoor ([0-9.]+)\nbrindle ([0-9.]+)\nshapelib [0-9.]+\n"
                                          "GDAL[^\n]*\nbuild: [^\n]*, no Qt\n")))
      << version.out;
  // The library the program runs with is the one it was built with.
  EXPECT_EQ(m[1], m[2]);

  // `help` and `help COMMAND` print what --help prints.
  for (const char* command : {"info", "convert"}) {
    const CliResult asked = RunGridmoor({"help", command});
    EXPECT_EQ(asked.exitCode, 0);
    EXPECT_EQ(asked.out, RunGridmoor({command, "--help"}).out);
    EXPECT_TRUE(Contains(asked.out, std::string("Usage: gridmoor ") + command));
  }
  const CliResult help = RunGridmoor({"help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out, RunGridmoor({"--help"}).out);

  const CliResult unknown = RunGridmoor({"frobnicate", "x.WL"});
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_TRUE(Contains(unknown.err, "unknown command 'frobnicate'"));
  const CliResult unknownTopic = RunGridmoor({"help", "frobnicate"});
  EXPECT_EQ(unknownTopic.exitCode, 2);
  EXPECT_TRUE(Contains(unknownTopic.err, "unknown command 'frobnicate'"));
  const CliResult none = RunGridmoor({});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_TRUE(Contains(none.err, "A subcommand is required"));
}

TEST(CommandLine, BashCompletionOffersCommandsOptionsValuesAndInputs) {
  ScratchDir dir;
  const CliResult script = RunGridmoor({"completion"});
  ASSERT_EQ(script.exitCode, 0);
  const std::string scriptPath = dir.Write("gridmoor.bash", {script.out.begin(), script.out.end()});
  const std::string folder = scriptPath.substr(0, scriptPath.rfind('/'));
  dir.Write("a.WL", {});
  dir.Write("B.mpj", {});
  dir.Write("a.shp", {});
  // Each call: the words typed so far, the last one being completed; it
  // prints what bash would offer, sorted.
  const std::string driver =
      "source " + scriptPath + "\n"
      "c() { COMP_WORDS=(\"$@\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _gridmoor;\n"
      "  echo $(printf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort); }\n"
      "cd " + folder + "\n"
      "c gridmoor ''\n"
      "c gridmoor convert --on\n"
      "c gridmoor convert --mode ''\n"
      "c gridmoor convert --mode = l\n"
      "c gridmoor convert --set Sym\n"
      "c gridmoor convert a.WL --encoding ''\n"
      "c gridmoor convert ''\n"
      "c gridmoor info ''\n"
      "c gridmoor help c\n";
  const CliResult r = RunProgram({"/bin/bash", "-c", driver});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "completion convert help info\n"
            "--on-clash\n"
            "advanced labels quick\n"
            "labels\n"
            "SymbolFontName= SymbolType=\n"
            "ansi utf-8\n"
            "B.mpj a.WL\n"  // MapGIS files only, any letter case
            "B.mpj a.WL a.shp gridmoor.bash\n"
            "completion convert\n");
}
