// Every input the fuzzers found harmful, converted again through the
// converters of its kind as the end-to-end fuzz target does. An end-to-end
// crasher (named convert-...) carries its options in its first two bytes;
// every other crasher is converted under every style, projection and code
// page choice. Besides not crashing, a conversion's log stays within a
// bound set by the input's size.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../../fuzz/ConvertWalk.h"
#include "EngineFixture.h"
#include "TempDir.h"

using Bytes = std::vector<uint8_t>;

namespace {

std::filesystem::path CrashersDir() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "crashers";
}

// Log lines a conversion of `size` bytes may write: a fixed allowance for
// the opening, column and closing lines, then at most one per record the
// file could hold (the smallest record is 40 bytes), for the up to three
// converters one input runs through.
size_t LogBound(size_t size) { return 3 * (64 + size / 40); }

}  // namespace

TEST(ConvertCrashers, EveryCrasherConvertsWithABoundedLog) {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(CrashersDir())) {
    if (e.is_regular_file() && e.path().extension() == ".bin") files.push_back(e.path());
  }
  ASSERT_FALSE(files.empty()) << CrashersDir();
  fuzzing::ConvertRunner runner(testing_support::Wide(std::filesystem::path(GRIDMOOR_REAL_SAMPLES) / "colour" /
                                                      "Pcolor.lib"));
  for (const auto& file : files) {
    const std::string name = file.filename().string();
    SCOPED_TRACE(name);
    const Bytes bytes = testing_support::ReadAll(file);
    std::vector<Bytes> inputs;
    if (name.rfind("convert-", 0) == 0) {
      inputs.push_back(bytes);
    } else {
      for (int options = 0; options < 36; ++options) {
        Bytes input = {static_cast<uint8_t>(options), static_cast<uint8_t>(options % 16)};
        input.insert(input.end(), bytes.begin(), bytes.end());
        inputs.push_back(std::move(input));
      }
    }
    for (const Bytes& input : inputs) {
      std::vector<std::wstring> log;
      runner.Run(input.data(), input.size(), &log);
      EXPECT_GT(log.size(), 0u);
      EXPECT_LE(log.size(), LogBound(input.size()));
    }
  }
}

// A line file whose slot count names two billion records in 3 KB: the
// indexes the file cannot hold are counted as unreadable with one line, and
// the conversion ends as a failure with every one of them counted.
TEST_F(EngineTest, SlotCountBeyondTheFileIsCountedNotWalked) {
  const Bytes crasher = testing_support::ReadAll(CrashersDir() / "convert-line-slot-count-beyond-file.bin");
  ASSERT_GT(crasher.size(), 1000u);
  const std::wstring src = dir.Write("roads.WL", Bytes(crasher.begin() + 2, crasher.end()));
  const std::wstring base = testing_support::Wide(dir.Path() / "roads");
  const long result = Convert(ConvertLines, src, base);
  EXPECT_NE(result, 99999);
  EXPECT_NE(result, 10);
  const size_t holdable = (crasher.size() - 2) / 40;
  EXPECT_TRUE(Logged("------F__第[" + std::to_string(holdable) + "]至第[2147483645]号图元超出文件范围，已跳过"));
  EXPECT_EQ(LogStartingWith("----结束转换[").size(), 1u);
  EXPECT_LE(Log().size(), LogBound(crasher.size()));
}
