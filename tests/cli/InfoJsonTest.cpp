// gridmoor info --json over the demo data, the real samples and damaged
// copies of both: every document matches the published schema and says what
// the text report says.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CliHarness.h"

namespace fs = std::filesystem;
using cli_testing::CliResult;
using cli_testing::LineStarting;
using cli_testing::RunGridmoor;
using cli_testing::RunProgram;
using cli_testing::ScratchDir;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file under the demo and sample folders, whole, cut short and with
// bytes overwritten, written into `dir`; one more under a name that is not
// UTF-8. Returns their paths.
std::vector<std::string> WholeAndDamaged(const ScratchDir& dir) {
  std::vector<fs::path> sources;
  for (const char* root : {GRIDMOOR_DEMO_DIR, GRIDMOOR_REAL_SAMPLES}) {
    for (const auto& e : fs::recursive_directory_iterator(fs::u8path(root))) {
      if (e.is_regular_file() && e.path().filename() != "README.md") sources.push_back(e.path());
    }
  }
  std::vector<std::string> paths;
  uint32_t seed = 12345;
  for (size_t i = 0; i < sources.size(); ++i) {
    const Bytes whole = Slurp(sources[i]);
    const std::string name = std::to_string(i) + "-" + sources[i].filename().u8string();
    paths.push_back(dir.Write(name, whole));
    paths.push_back(dir.Write("cut-" + name, Bytes(whole.begin(), whole.begin() + whole.size() / 3)));
    Bytes hit = whole;
    for (int k = 0; k < 24 && !hit.empty(); ++k) {
      seed = seed * 1103515245u + 12345u;
      hit[(seed >> 8) % hit.size()] = static_cast<uint8_t>(seed >> 24);
    }
    paths.push_back(dir.Write("hit-" + name, hit));
  }
  paths.push_back(dir.Write("bad\xff\xfe.WL", Slurp(fs::u8path(GRIDMOOR_DEMO_DIR) / "roads.WL")));
  return paths;
}

// The "status:" line of every file of a text report, in order.
std::vector<std::string> TextStatuses(const std::string& report) {
  std::vector<std::string> statuses;
  size_t at = 0;
  while ((at = report.find("file: ", at)) != std::string::npos) {
    const size_t next = report.find("\nfile: ", at);
    statuses.push_back(LineStarting(report.substr(at, next == std::string::npos ? std::string::npos : next - at),
                                    "status:"));
    at = next == std::string::npos ? report.size() : next + 1;
  }
  return statuses;
}

}  // namespace

TEST(InfoJson, DemoRealAndDamagedFilesGiveDocumentsOfTheSchema) {
  ScratchDir dir;
  const std::vector<std::string> files = WholeAndDamaged(dir);
  std::vector<std::string> documents;
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"--records", "3"}, std::vector<std::string>{"--colors", "--records", "2"}}) {
    std::vector<std::string> args = {"info"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), files.begin(), files.end());
    const CliResult text = RunGridmoor(args);
    args.insert(args.begin() + 1, "--json");
    const CliResult json = RunGridmoor(args);
    ASSERT_EQ(json.exitCode, text.exitCode) << json.err;
    EXPECT_EQ(json.exitCode, 1);  // damaged files fail, the others are read
    documents.push_back(dir.Write("doc" + std::to_string(documents.size()) + ".json",
                                  Bytes(json.out.begin(), json.out.end())));

    // Each file's status is the text report's; the summary counts alike.
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    const std::vector<std::string> statuses = TextStatuses(text.out);
    ASSERT_EQ(doc["files"].size(), files.size());
    ASSERT_EQ(statuses.size(), files.size());
    int failed = 0;
    for (size_t i = 0; i < files.size(); ++i) {
      const nlohmann::json& f = doc["files"][i];
      EXPECT_EQ("status: " + std::to_string(f["status"]["code"].get<long>()) + " " +
                    f["status"]["text"].get<std::string>(),
                statuses[i])
          << files[i];
      if (!f["read"].get<bool>()) ++failed;
    }
    const nlohmann::json summary = {{"files", files.size()}, {"read", files.size() - failed}, {"failed", failed}};
    EXPECT_EQ(doc["summary"], summary);
    EXPECT_EQ(LineStarting(text.out, "files:"), "files: " + std::to_string(files.size()) + ", read " +
                                                     std::to_string(files.size() - failed) + ", failed " +
                                                     std::to_string(failed));
  }

  std::vector<std::string> validate = {GRIDMOOR_PYTHON3, GRIDMOOR_JSON_VALIDATOR, GRIDMOOR_INFO_SCHEMA};
  validate.insert(validate.end(), documents.begin(), documents.end());
  const CliResult v = RunProgram(validate);
  EXPECT_EQ(v.exitCode, 0) << v.out << v.err;
}
