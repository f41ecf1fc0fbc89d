// Reads of a file opened for reading only go through read windows: every
// pattern of reads returns the file's bytes, and nothing beyond the size the
// file had when it was opened is served, even when the file changes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <random>
#include <vector>

#include "BinaryFile.h"
#include "TempDir.h"

using MapGis::detail::BinaryFile;
using MapGis::detail::ReadWindows;
using testing_support::TempDir;

namespace {

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> bytes(n);
  std::mt19937 rng(7);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

}  // namespace

TEST(ReadWindows, EveryReadPatternReturnsTheFileBytes) {
  TempDir dir;
  const std::vector<uint8_t> bytes = Pattern(3 * ReadWindows::kLargest + 123);
  BinaryFile file;
  ASSERT_TRUE(file.Open(dir.Write("data.bin", bytes).c_str(), BinaryFile::Mode::Read));
  const uint64_t size = bytes.size();
  std::vector<uint8_t> got;
  auto same = [&](uint64_t offset, size_t length) {
    got.assign(length, 0);
    if (!file.ReadAt(offset, got.data(), length)) return false;
    return std::equal(got.begin(), got.end(), bytes.begin() + static_cast<long>(offset));
  };
  // Two streams forward in turn (arc lists and coordinate runs), a stream
  // backward, reads crossing window edges, the last byte, reads larger than
  // a window, and scattered reads.
  for (uint64_t k = 0; k < 3000; ++k) {
    ASSERT_TRUE(same(k * 37 % size, 12)) << k;
    ASSERT_TRUE(same(size / 2 + k * 801 % (size / 2 - 900), 800)) << k;
  }
  for (uint64_t off = size - 100; off > 100000; off -= 997) ASSERT_TRUE(same(off, 100)) << off;
  EXPECT_TRUE(same(ReadWindows::kSmallest - 3, 10));
  ASSERT_TRUE(same(size / 3, 4));  // a new stream: one small window from there
  EXPECT_TRUE(same(size / 3 + ReadWindows::kSmallest - 10, 11));
  EXPECT_TRUE(same(size - 1, 1));
  EXPECT_TRUE(same(5, ReadWindows::kLargest + 17));
  EXPECT_TRUE(same(0, size));
  std::mt19937 rng(3);
  for (int k = 0; k < 2000; ++k) {
    const size_t length = 1 + rng() % 20000;
    ASSERT_TRUE(same(rng() % (size - length + 1), length)) << k;
  }
  // Outside the file: refused, and the reader goes on.
  uint8_t b[16];
  EXPECT_FALSE(file.ReadAt(size - 8, b, 16));
  EXPECT_FALSE(file.ReadAt(size + 1, b, 1));
  EXPECT_FALSE(file.ReadAt(UINT64_MAX - 4, b, 8));
  EXPECT_TRUE(same(100, 16));
}

TEST(ReadWindows, AFileChangedAfterOpeningIsReadOnlyWithinWhatIsThere) {
  TempDir dir;
  const std::vector<uint8_t> bytes = Pattern(64 * 1024);
  const std::wstring path = dir.Write("data.bin", bytes);
  BinaryFile file;
  ASSERT_TRUE(file.Open(path.c_str(), BinaryFile::Mode::Read));
  // Bytes added later are not part of the file as opened.
  std::vector<uint8_t> longer = bytes;
  longer.resize(bytes.size() + 5000, 0xAB);
  dir.Write("data.bin", longer);
  uint8_t b[64];
  EXPECT_FALSE(file.ReadAt(bytes.size(), b, 1));
  // Cut short: what is gone is a failed read, what is left still reads,
  // even where a window would reach past the new end.
  ASSERT_EQ(::truncate(dir.File("data.bin").c_str(), 40000), 0);
  EXPECT_FALSE(file.ReadAt(50000, b, 64));
  EXPECT_FALSE(file.ReadAt(39990, b, 64));
  ASSERT_TRUE(file.ReadAt(39000, b, 64));
  EXPECT_TRUE(std::equal(b, b + 64, bytes.begin() + 39000));
}
