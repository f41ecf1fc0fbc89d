// The buffered file hooks behave like plain file access: writes at any
// position, reads of what was just written, positions after seeks, and the
// bytes on disk after closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <cstring>
#include <string>

#include "ShapeFileHooks.h"
#include "TempDir.h"

namespace {

std::string Write(const SAHooks& h, SAFile f, const std::string& bytes) {
  std::string copy = bytes;
  return h.FWrite(&copy[0], 1, static_cast<SAOffset>(copy.size()), f) == copy.size() ? copy : std::string();
}

}  // namespace

TEST(ShapeFileHooks, RandomWritesAndReadsMatchPlainFileAccess) {
  testing_support::TempDir dir;
  const std::string path = dir.File("hooks.bin").string();
  const SAHooks& h = BufferedShapeHooks();
  SAFile f = h.FOpen(path.c_str(), "w+b");
  ASSERT_NE(f, nullptr);

  // shapelib's pattern: a header written last, records appended in between.
  EXPECT_FALSE(Write(h, f, std::string(100, 'h')).empty());
  EXPECT_FALSE(Write(h, f, "record-1").empty());
  EXPECT_EQ(h.FTell(f), 108u);
  ASSERT_EQ(h.FSeek(f, 0, SEEK_SET), 0u);
  EXPECT_FALSE(Write(h, f, "HEAD").empty());
  EXPECT_EQ(h.FTell(f), 4u);
  ASSERT_EQ(h.FSeek(f, 0, SEEK_END), 0u);
  EXPECT_EQ(h.FTell(f), 108u);
  EXPECT_FALSE(Write(h, f, "record-2").empty());

  // A read sees every byte written so far, buffered or not.
  ASSERT_EQ(h.FSeek(f, 100, SEEK_SET), 0u);
  char back[17] = {0};
  ASSERT_EQ(h.FRead(back, 1, 16, f), 16u);
  EXPECT_STREQ(back, "record-1record-2");
  ASSERT_EQ(h.FSeek(f, 0, SEEK_SET), 0u);
  char head[5] = {0};
  ASSERT_EQ(h.FRead(head, 1, 4, f), 4u);
  EXPECT_STREQ(head, "HEAD");
  // Writing after a read goes to the read position.
  EXPECT_FALSE(Write(h, f, "++").empty());
  EXPECT_EQ(h.FClose(f), 0);

  std::FILE* in = std::fopen(path.c_str(), "rb");
  ASSERT_NE(in, nullptr);
  std::string disk(200, '\0');
  disk.resize(std::fread(&disk[0], 1, disk.size(), in));
  std::fclose(in);
  EXPECT_EQ(disk, "HEAD++" + std::string(94, 'h') + "record-1record-2");
}

TEST(ShapeFileHooks, BlocksLargerThanTheBufferArriveWhole) {
  testing_support::TempDir dir;
  const std::string path = dir.File("large.bin").string();
  const SAHooks& h = BufferedShapeHooks();
  SAFile f = h.FOpen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::string expected;
  for (int i = 0; i < 300000; ++i) {
    const std::string piece = std::to_string(i) + ",";
    expected += piece;
    ASSERT_FALSE(Write(h, f, piece).empty());
  }
  const std::string big(3 << 20, 'z');
  expected += big;
  ASSERT_FALSE(Write(h, f, big).empty());
  EXPECT_EQ(h.FClose(f), 0);
  std::FILE* in = std::fopen(path.c_str(), "rb");
  ASSERT_NE(in, nullptr);
  std::string disk(expected.size() + 10, '\0');
  disk.resize(std::fread(&disk[0], 1, disk.size(), in));
  std::fclose(in);
  EXPECT_EQ(disk.size(), expected.size());
  EXPECT_TRUE(disk == expected);
  EXPECT_EQ(h.FOpen((dir.Path() / "no/such/folder/x.shp").string().c_str(), "wb"), nullptr);
}

// A block exactly as large as the buffer, written at the start of the
// buffered run, goes to disk at once; the older buffered bytes under it
// must not be written over it afterwards.
TEST(ShapeFileHooks, ABufferSizedBlockOverABufferedRunWins) {
  testing_support::TempDir dir;
  const std::string path = dir.File("block.bin").string();
  const SAHooks& h = BufferedShapeHooks();
  SAFile f = h.FOpen(path.c_str(), "w+b");
  ASSERT_NE(f, nullptr);
  const size_t size = size_t{1} << 20;
  EXPECT_FALSE(Write(h, f, std::string(1000, 'o')).empty());
  ASSERT_EQ(h.FSeek(f, 0, SEEK_SET), 0u);
  EXPECT_FALSE(Write(h, f, std::string(size, 'n')).empty());
  EXPECT_EQ(h.FClose(f), 0);
  const auto bytes = testing_support::ReadAll(path);
  ASSERT_EQ(bytes.size(), size);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 'n'), static_cast<long>(size));
}

// A device that takes no data: the failure shows when the buffer is written
// (at a flush, a large block or the close), and is kept with the file's path
// as the calling thread's failure until cleared.
TEST(ShapeFileHooks, AFullDeviceIsReportedWithItsReason) {
  if (!std::ifstream("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const SAHooks& h = BufferedShapeHooks();
  ClearShapeFileFailure();
  SAFile f = h.FOpen("/dev/full", "r+b");
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(Write(h, f, "a small record").empty());  // buffered: nothing written yet
  EXPECT_EQ(LastShapeFileFailure(), nullptr);
  EXPECT_NE(h.FClose(f), 0);
  ASSERT_NE(LastShapeFileFailure(), nullptr);
  EXPECT_EQ(LastShapeFileFailure()->path, "/dev/full");
  EXPECT_EQ(LastShapeFileFailure()->error, ENOSPC);

  ClearShapeFileFailure();
  f = h.FOpen("/dev/full", "r+b");
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(Write(h, f, std::string(size_t{1} << 20, 'x')).empty());  // a large block fails at once
  ASSERT_NE(LastShapeFileFailure(), nullptr);
  h.FClose(f);
  ClearShapeFileFailure();
  EXPECT_EQ(LastShapeFileFailure(), nullptr);
}
