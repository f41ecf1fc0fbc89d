// Every input the fuzzers found harmful (tests/data/crashers), read again
// through the OGR fuzz target's walk with the driver of this build: the walk
// must end, and the driver must keep every promise the walk checks. An
// end-to-end crasher (convert-...) is read without its two option bytes, as
// the layer file it carries. Under the sanitizers the fuzz smoke run replays
// the driver's own crashers (ogr-...).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../../fuzz/OgrWalk.h"
#include "OgrSupport.h"
#include "TempDir.h"

namespace fs = std::filesystem;

TEST(OgrCrashers, EveryCrasherIsReadKeepingTheDriversPromises) {
  ogrtest::LoadDriver();
  const fs::path crashers = fs::path(__FILE__).parent_path().parent_path() / "data" / "crashers";
  testing_support::TempDir dir;
  int files = 0;
  for (const auto& e : fs::directory_iterator(crashers)) {
    if (!e.is_regular_file() || e.path().extension() != ".bin") continue;
    const std::string name = e.path().filename().string();
    std::vector<uint8_t> bytes = testing_support::ReadAll(e.path());
    if (name.rfind("convert-", 0) == 0 && bytes.size() >= 2) bytes.erase(bytes.begin(), bytes.begin() + 2);
    dir.Write(name, bytes);
    CPLPushErrorHandler(CPLQuietErrorHandler);
    const fuzzing::OgrWalkResult result = fuzzing::WalkOgrDataset(dir.File(name).string());
    CPLPopErrorHandler();
    for (const std::string& fault : result.faults) ADD_FAILURE() << name << ": " << fault;
    ++files;
  }
  EXPECT_GT(files, 0) << crashers;
}
