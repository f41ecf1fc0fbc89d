// Layer names stored in projects the Windows way, resolved on this system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "MapGisProjectPaths.h"
#include "TempDir.h"

using testing_support::TempDir;
using testing_support::Wide;

namespace {

namespace fs = std::filesystem;

class ProjectPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.File("proj"));
    fs::create_directories(dir.File("Data"));
    fs::create_directories(dir.File("proj/Sub/Deep"));
    for (const char* f : {"proj/JZ.WT", "proj/YZT-SLH.WT", "Data/roads.WL", "proj/图例.WT", "proj/my roads.WL",
                          "proj/lakes.WL", "proj/A.WL", "proj/a.wl", "proj/Sub/Deep/Rivers.WL"}) {
      std::ofstream(dir.File(f)) << "x";
    }
    project = Wide(dir.File("proj/p.MPJ"));
  }
  std::wstring In(const std::string& relative) const { return Wide(dir.File(relative)); }
  std::wstring Resolve(const std::wstring& stored) const { return MapGis::ResolveProjectItem(project, stored); }

  TempDir dir;
  std::wstring project;
};

}  // namespace

TEST_F(ProjectPaths, RelativeNamesAreTakenFromTheProjectFolder) {
  EXPECT_EQ(Resolve(L".\\JZ.WT"), In("proj/JZ.WT"));
  EXPECT_EQ(Resolve(L"JZ.WT"), In("proj/JZ.WT"));
  EXPECT_EQ(Resolve(L"./JZ.WT"), In("proj/JZ.WT"));
  EXPECT_EQ(Resolve(L"Sub\\Deep\\Rivers.WL"), In("proj/Sub/Deep/Rivers.WL"));
  EXPECT_EQ(Resolve(L"..\\Data\\roads.WL"), In("Data/roads.WL"));
  EXPECT_EQ(Resolve(L".\\图例.WT"), In("proj/图例.WT"));
}

TEST_F(ProjectPaths, LetterCaseIsMatchedComponentByComponent) {
  EXPECT_EQ(Resolve(L".\\yzt-slh.wt"), In("proj/YZT-SLH.WT"));
  EXPECT_EQ(Resolve(L"..\\data\\ROADS.wl"), In("Data/roads.WL"));
  EXPECT_EQ(Resolve(L"sub\\DEEP\\rivers.wl"), In("proj/Sub/Deep/Rivers.WL"));
  // The exact name wins over names that differ only in case.
  EXPECT_EQ(Resolve(L"a.wl"), In("proj/a.wl"));
  EXPECT_EQ(Resolve(L"A.WL"), In("proj/A.WL"));
  // Neither exact: the first in name order.
  EXPECT_EQ(Resolve(L"A.wl"), In("proj/A.WL"));
}

TEST_F(ProjectPaths, AbsoluteWindowsPathsFallBackToTheProjectFolder) {
  EXPECT_EQ(Resolve(L"D:\\maps\\JZ.WT"), In("proj/JZ.WT"));
  EXPECT_EQ(Resolve(L"d:/maps/jz.wt"), In("proj/JZ.WT"));
  EXPECT_EQ(Resolve(L"\\\\server\\share\\roads\\yzt-slh.WT"), In("proj/YZT-SLH.WT"));
  EXPECT_EQ(Resolve(L"\\maps\\JZ.WT"), In("proj/JZ.WT"));
  // A rooted path that exists here is used as it is.
  const std::wstring existing = In("Data/roads.WL");
  EXPECT_EQ(Resolve(existing), existing);
  // Missing everywhere: where it would be in the project folder.
  EXPECT_EQ(Resolve(L"D:\\maps\\gone.WL"), In("proj/gone.WL"));
}

TEST_F(ProjectPaths, TheWholeNameComesBeforeItsFirstToken) {
  EXPECT_EQ(Resolve(L"my roads.WL"), In("proj/my roads.WL"));
  EXPECT_EQ(Resolve(L"  my roads.WL  "), In("proj/my roads.WL"));
  // "lakes.WL 湖泊" names no file; its first token does.
  EXPECT_EQ(Resolve(L"lakes.WL 湖泊"), In("proj/lakes.WL"));
}

TEST_F(ProjectPaths, MissingFilesGiveTheirExpectedPath) {
  EXPECT_EQ(Resolve(L".\\JZ2.WT"), In("proj/JZ2.WT"));
  EXPECT_EQ(Resolve(L"..\\nowhere\\x.WL"), In("nowhere/x.WL"));
  EXPECT_EQ(Resolve(L"gone files.WL"), In("proj/gone files.WL"));
  // A folder is not a layer file.
  EXPECT_EQ(Resolve(L"sub"), In("proj/sub"));
  EXPECT_EQ(Resolve(L""), L"");
  EXPECT_EQ(Resolve(L"   "), L"");
}
