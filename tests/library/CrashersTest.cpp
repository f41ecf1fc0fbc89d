// Every input the fuzzers found harmful, kept in tests/data/crashers, read
// again through the same walks the fuzz targets run. Under the sanitizer
// build a relapse is a crash or a sanitizer report.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../../fuzz/LibraryWalks.h"
#include "MapGis.h"
#include "TempDir.h"

using namespace MapGis;
using Bytes = std::vector<uint8_t>;
using testing_support::TempDir;

namespace {

std::filesystem::path CrashersDir() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "crashers";
}

struct Crasher {
  std::string name;
  Bytes bytes;
};

// Each crasher as a file; an end-to-end crasher (named convert-...) also
// without its two option bytes, which is the layer file it carries.
std::vector<Crasher> Crashers() {
  std::vector<Crasher> out;
  for (const auto& e : std::filesystem::directory_iterator(CrashersDir())) {
    if (!e.is_regular_file() || e.path().extension() != ".bin") continue;
    Crasher c{e.path().filename().string(), testing_support::ReadAll(e.path())};
    if (c.name.rfind("convert-", 0) == 0 && c.bytes.size() >= 2) {
      out.push_back({c.name + " (file)", Bytes(c.bytes.begin() + 2, c.bytes.end())});
    }
    out.push_back(std::move(c));
  }
  return out;
}

bool IsStatus(long st) {
  return st == MAPGIS_OK || st == MAPGIS_NOT_SYSTEM_FILE || st == MAPGIS_OUT_OF_MEMORY || st == MAPGIS_NOT_MAPGIS_FILE ||
         st == MAPGIS_OPEN_FAILED || st == MAPGIS_READ_FAILED || st == MAPGIS_NO_TABLE;
}

}  // namespace

TEST(Crashers, EveryParserWalksEveryCrasher) {
  const std::vector<Crasher> crashers = Crashers();
  ASSERT_FALSE(crashers.empty()) << CrashersDir();
  TempDir dir;
  for (const Crasher& c : crashers) {
    SCOPED_TRACE(c.name);
    // Opening answers with a status; loaders give counts the file can hold.
    const size_t size = c.bytes.size();
    EXPECT_TRUE(IsStatus(fuzzing::WalkFastReader(dir.Write("fast.dat", c.bytes))));
    EXPECT_TRUE(IsStatus(fuzzing::WalkMemReader(dir.Write("mem.dat", c.bytes))));
    EXPECT_TRUE(IsStatus(fuzzing::WalkReader(dir.Write("reader.dat", c.bytes))));
    const long items = fuzzing::WalkProject(dir.Write("project.dat", c.bytes));
    EXPECT_TRUE(IsStatus(items) || (items >= 0 && static_cast<size_t>(items) * sizeof(PROJECTITEM) <= size)) << items;
    const long colours = fuzzing::WalkColorLib(dir.Write("colours.dat", c.bytes));
    EXPECT_TRUE(colours >= 0 && static_cast<size_t>(colours) * sizeof(MAPGIS_Color) <= size) << colours;
    const long legends = fuzzing::WalkLegend(dir.Write("legend.dat", c.bytes));
    EXPECT_TRUE(legends <= 0 || static_cast<size_t>(legends) * sizeof(MAPGIS_LegendItem) <= size) << legends;
  }
}
