// Damaged copies of the real samples (cut short, bytes flipped) converted
// through every converter of their kind: each conversion ends with a status
// and exactly one closing line, and whatever shapefile it leaves behind is
// one GDAL opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "TempDir.h"

using Bytes = std::vector<uint8_t>;

namespace {

struct Sample {
  const char* path;  // under the real samples folder
  char kind;         // 'T' points, 'L' lines, 'P' polygons, 'B' table
};

const Sample kSamples[] = {
    {"frame/图例.WT", 'T'}, {"frame/图框.WL", 'L'}, {"frame/图框.WP", 'P'}, {"tables/区.WB", 'B'},
    {"jz-project/JZ.WT", 'T'}, {"frame/YZT-SLH.WL", 'L'},
};

// Cut points and flipped copies of `original`, the same on every run.
std::vector<Bytes> Damaged(const Bytes& original, unsigned seed) {
  std::vector<Bytes> out;
  const size_t n = original.size();
  for (size_t cut : {size_t{0}, size_t{9}, size_t{11}, size_t{255}, size_t{256}, n / 7, n / 3, n / 2, n - 1}) {
    if (cut < n) out.emplace_back(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(cut));
  }
  std::mt19937 rng(seed);
  for (int copy = 0; copy < 10; ++copy) {
    Bytes b = original;
    const int flips = 1 + copy % 6;
    for (int k = 0; k < flips; ++k) {
      // Half the flips land in the first 4 KB, where the heads and tables lie.
      const size_t span = (k % 2 == 0) ? std::min<size_t>(n, 4096) : n;
      b[rng() % span] ^= static_cast<uint8_t>(1u << (rng() % 8));
    }
    out.push_back(std::move(b));
  }
  return out;
}

class HostileConversion : public EngineTest {
 protected:
  // Runs one converter and checks its ending; returns the files it left.
  void ConvertOnce(const std::string& what, Converter convert,
                   const std::wstring& source, const std::filesystem::path& base) {
    SCOPED_TRACE(what);
    host.lines.clear();
    const long result = Convert(convert, source, testing_support::Wide(base));
    EXPECT_TRUE(result == 99999 || result == 10 || (result >= -10000 && result < 0)) << result;
    ++(result >= 0 ? converted : refused);
    EXPECT_EQ(LogStartingWith("----结束转换[").size(), 1u);
    const std::filesystem::path shp = base.string() + ".shp";
    if (FileExists(shp)) {
      EXPECT_TRUE(FileExists(base.string() + ".shx"));
      EXPECT_TRUE(FileExists(base.string() + ".dbf"));
      EXPECT_TRUE(ReadWithOgr(shp.string()).opened);
    }
  }

  int converted = 0;
  int refused = 0;
};

TEST_F(HostileConversion, DamagedRealFilesEndWithAStatusAndOneClosingLine) {
  const std::filesystem::path real(GRIDMOOR_REAL_SAMPLES);
  unsigned seed = 1;
  for (const Sample& s : kSamples) {
    const Bytes original = testing_support::ReadAll(real / std::filesystem::u8path(s.path));
    ASSERT_GT(original.size(), 1000u) << s.path;
    int copy = 0;
    for (const Bytes& damaged : Damaged(original, seed++)) {
      SCOPED_TRACE(std::string(s.path) + " copy " + std::to_string(copy));
      // Alternate the style and projection choices between copies.
      options.SymbolType = copy % 6;
      options.ExportProjection = copy % 3;
      options.CodePage = copy % 2 ? 936 : 0;
      const std::string ext = std::filesystem::u8path(s.path).extension().string();
      const std::wstring source = dir.Write("damaged-" + std::to_string(copy) + ext, damaged);
      const std::filesystem::path base = dir.Path() / ("out-" + std::to_string(copy));
      switch (s.kind) {
        case 'T':
          ConvertOnce("points", ConvertPoints, source, base);
          ConvertOnce("sub-pictures", ConvertSubPictures, source, base.string() + "_S");
          ConvertOnce("annotations", ConvertAnnotations, source, base.string() + "_A");
          break;
        case 'L':
          ConvertOnce("lines", ConvertLines, source, base);
          break;
        case 'P':
          ConvertOnce("polygons", ConvertPolygons, source, base);
          ConvertOnce("polygon arcs", ConvertPolygonArcs, source, base.string() + "_C");
          break;
        default:
          ConvertOnce("table", ::ConvertTable, source, base);
          break;
      }
      ++copy;
    }
  }
  // The damage is neither so mild that everything converts nor so heavy
  // that nothing does.
  EXPECT_GT(converted, 20);
  EXPECT_GT(refused, 20);
}

}  // namespace
