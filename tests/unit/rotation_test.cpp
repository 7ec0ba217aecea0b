#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <set>
#include <vector>

#include "engine/random_pick.h"
#include "engine/rotation.h"
#include "engine/wallpaper.h"
#include "support/message_box_watch.h"
#include "support/pictures.h"
#include "support/program_fixture.h"

TEST(RandomPick, ReseedsFromTheTickCountAndTheCounter) {
  RandomGenerator generator;
  EXPECT_EQ(pickRandomIndex(generator, 1000, 10), 5);  // seed 1000 draws r = 3304
  EXPECT_EQ(generator.reseedCounter, 332u);
  EXPECT_EQ(generator.state, 1000u * 214013u + 2531011u);

  // The counter makes a second pick in the same millisecond draw from another seed.
  EXPECT_EQ(pickRandomIndex(generator, 1000, 10),
            1 + static_cast<int>((((1332u * 214013u + 2531011u) >> 16) & 0x7FFF) % 10));
  EXPECT_EQ(generator.reseedCounter, 332u + 1332u % 256 + 100);

  RandomGenerator single;
  EXPECT_EQ(pickRandomIndex(single, 77, 1), 1);
  EXPECT_EQ(single.reseedCounter, 77u + 100);
  RandomGenerator empty;
  int32_t pick = pickRandomIndex(empty, 5, 0);
  EXPECT_TRUE(pick == 0 || pick == 1);
}

TEST(RandomPick, EveryEntryOfALargeListCanCome) {
  RandomGenerator generator;
  const int32_t count = 100000;
  int32_t largest = 0;
  for (uint32_t tick = 0; tick < 5000; ++tick) {
    int32_t pick = pickRandomIndex(generator, tick * 7919u, count);
    ASSERT_GE(pick, 1);
    ASSERT_LE(pick, count);
    largest = std::max(largest, pick);
  }
  EXPECT_GT(largest, 90000) << "entries beyond 32768 are drawn too";
}

namespace {

// Whether the shell's Recycle Bin holds an item of that name.
bool recycleBinHolds(const std::string& name) {
  bool found = false;
  IShellFolder* desktop = nullptr;
  LPITEMIDLIST binList = nullptr;
  IShellFolder* bin = nullptr;
  IEnumIDList* items = nullptr;
  if (SUCCEEDED(SHGetDesktopFolder(&desktop)) &&
      SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &binList)) &&
      SUCCEEDED(desktop->BindToObject(binList, nullptr, IID_IShellFolder,
                                      reinterpret_cast<void**>(&bin))) &&
      bin->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                       &items) == S_OK) {
    LPITEMIDLIST item = nullptr;
    while (!found && items->Next(1, &item, nullptr) == S_OK) {
      STRRET text;
      char display[MAX_PATH] = "";
      if (SUCCEEDED(bin->GetDisplayNameOf(item, SHGDN_NORMAL, &text)))
        StrRetToBufA(&text, item, display, sizeof display);
      std::string shown = display;
      found = shown == name || shown == name.substr(0, name.rfind('.'));
      CoTaskMemFree(item);
    }
  }
  if (items) items->Release();
  if (bin) bin->Release();
  if (binList) CoTaskMemFree(binList);
  if (desktop) desktop->Release();
  return found;
}

class RotationTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    CoInitialize(nullptr);
    pics_ = folder_ / "pics";
    makeFolder(pics_);
    Settings& s = program().settings;
    s.pictureDirectory = pics_;
    s.randomOrder = 0;
    s.autoChange = 0;
  }
  void TearDown() override {
    ProgramTest::TearDown();
    CoUninitialize();
  }

  // Pictures of distinct colours in a folder; the list is built by the first change.
  void pictures(const std::string& folder, const std::vector<std::string>& names) {
    makeFolder(folder);
    uint8_t shade = 10;
    for (const std::string& name : names)
      writeFile(folder + "\\" + name, solidBmp(2, 2, shade += 20, 0, 0));
  }

  // The list entry whose file the wallpaper now shows, 0 when none.
  int shown() const {
    std::string wallpaper = readFile(wallpaperFilePath());
    for (int i = 1; i <= program().images.count(); ++i)
      if (!wallpaper.empty() && readFile(program().images.at(i)) == wallpaper) return i;
    return 0;
  }

  std::string name(int index) const {
    const std::string& path = program().images.at(index);
    return path.substr(path.rfind('\\') + 1);
  }

  std::string pics_;
};

}  // namespace

TEST_F(RotationTest, ListOrderGoesRoundAndRound) {
  pictures(pics_, {"a.bmp", "b.bmp", "c.bmp"});
  std::vector<int> applied;
  for (int i = 0; i < 5; ++i) {
    changeWallpaper();
    EXPECT_EQ(shown(), program().settings.currentIndex);
    applied.push_back(program().settings.currentIndex);
  }
  EXPECT_EQ(applied, (std::vector<int>{1, 2, 3, 1, 2}));
}

TEST_F(RotationTest, ASingleEntryComesEveryTimeInEitherOrder) {
  pictures(pics_, {"only.bmp"});
  for (int random : {0, 1}) {
    program().settings.randomOrder = random;
    for (int i = 0; i < 3; ++i) {
      changeWallpaper();
      EXPECT_EQ(program().settings.currentIndex, 1);
      EXPECT_EQ(shown(), 1);
    }
  }
}

TEST_F(RotationTest, RandomOrderStaysInTheList) {
  pictures(pics_, {"a.bmp", "b.bmp", "c.bmp", "d.bmp"});
  program().settings.randomOrder = 1;
  std::set<int> seen;
  for (int i = 0; i < 40; ++i) {
    changeWallpaper();
    int index = program().settings.currentIndex;
    ASSERT_GE(index, 1);
    ASSERT_LE(index, 4);
    EXPECT_EQ(shown(), index);
    seen.insert(index);
  }
  EXPECT_GT(seen.size(), 1u);
}

TEST_F(RotationTest, SteppingWrapsAtBothEnds) {
  pictures(pics_, {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp"});
  refreshImageListIfStale();
  struct Case {
    int from;
    bool backward;
    int to;
  } cases[] = {{1, true, 5},  {5, false, 1}, {3, true, 2}, {3, false, 4},
               {0, false, 1}, {0, true, 5},  {9, true, 5}};
  for (const Case& c : cases) {
    program().settings.currentIndex = c.from;
    stepWallpaper(c.backward);
    EXPECT_EQ(program().settings.currentIndex, c.to)
        << c.from << (c.backward ? " back" : " forward");
    EXPECT_EQ(shown(), c.to);
  }
}

TEST_F(RotationTest, AChangedFolderIsScannedBeforeTheNextChange) {
  std::string eight = folder_ / "eight", four = folder_ / "four";
  pictures(eight, {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp", "6.bmp", "7.bmp", "8.bmp"});
  pictures(four, {"1.bmp", "2.bmp", "3.bmp", "4.bmp"});
  pictures(pics_, {"x.bmp"});
  struct Case {
    std::string folder;
    int expected;
  } cases[] = {{eight, 6}, {four, 1}};
  for (const Case& c : cases) {
    changeWallpaper();  // a list from pics
    program().settings.currentIndex = 5;
    program().settings.pictureDirectory = c.folder;
    changeWallpaper();
    EXPECT_EQ(program().settings.scannedDirectory, c.folder);
    EXPECT_EQ(program().settings.currentIndex, c.expected) << c.folder;
    EXPECT_EQ(shown(), c.expected);
    program().settings.pictureDirectory = pics_;
  }
  // Only the letter case differs: another folder text, so the list is built anew.
  std::string upper = pics_;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
  changeWallpaper();
  program().settings.pictureDirectory = upper;
  changeWallpaper();
  EXPECT_EQ(program().settings.scannedDirectory, upper);
  EXPECT_EQ(program().images.at(1), upper + "\\x.bmp");
  // So does turning the subfolder option on.
  program().settings.includeSubdirectories = 1;
  changeWallpaper();
  EXPECT_EQ(program().settings.scannedWithSubdirectories, 1);
}

TEST_F(RotationTest, DeletingSendsTheFileToTheRecycleBinAndPassesOverTheNext) {
  std::string stamp = std::to_string(GetTickCount());
  struct Case {
    std::vector<std::string> names;
    std::string next;  // applied after deleting entry 2
  } cases[] = {
      {{"A" + stamp + ".bmp", "B" + stamp + ".bmp", "C" + stamp + ".bmp", "D" + stamp + ".bmp"},
       "D" + stamp + ".bmp"},
      {{"E" + stamp + ".bmp", "F" + stamp + ".bmp", "G" + stamp + ".bmp"}, "E" + stamp + ".bmp"},
  };
  for (const Case& c : cases) {
    std::string folder = folder_ / c.names[0].substr(0, 1);
    pictures(folder, c.names);
    program().settings.pictureDirectory = folder;
    changeWallpaper();
    changeWallpaper();
    ASSERT_EQ(program().settings.currentIndex, 2);
    std::string doomed = program().images.at(2);
    std::string doomedName = name(2);
    deleteCurrentPicture();
    EXPECT_FALSE(fileExists(doomed));
    EXPECT_TRUE(recycleBinHolds(doomedName)) << doomedName << " can be restored";
    EXPECT_EQ(program().images.count(), static_cast<int>(c.names.size()) - 1);
    EXPECT_EQ(name(program().settings.currentIndex), c.next);
    EXPECT_EQ(shown(), program().settings.currentIndex);
  }
}

TEST_F(RotationTest, DeletingBeforeAnyChangeOnlyChanges) {
  pictures(pics_, {"a.bmp", "b.bmp"});
  refreshImageListIfStale();
  deleteCurrentPicture();  // currentIndex is still 0
  EXPECT_EQ(program().images.count(), 2);
  EXPECT_EQ(program().settings.currentIndex, 1);
  EXPECT_EQ(shown(), 1);
}

TEST_F(RotationTest, AFileAlreadyGoneLeavesTheListAllTheSame) {
  pictures(pics_, {"a.bmp", "b.bmp", "c.bmp"});
  changeWallpaper();
  DeleteFileA(program().images.at(1).c_str());
  deleteCurrentPicture();
  EXPECT_EQ(program().images.count(), 2);
}

TEST_F(RotationTest, DeletingTheOnlyPictureRebuildsAndReportsTheEmptyFolder) {
  pictures(pics_, {"only.bmp"});
  changeWallpaper();
  std::string before = readFile(wallpaperFilePath());
  MessageBoxWatch watch;
  deleteCurrentPicture();
  std::vector<SeenMessageBox> seen = watch.seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "找不到图片");
  EXPECT_EQ(program().images.count(), 0);
  EXPECT_EQ(program().settings.currentIndex, 1);
  EXPECT_EQ(readFile(wallpaperFilePath()), before) << "the desktop keeps its picture";
}

TEST_F(RotationTest, ATickChangesOnlyWhileAutomaticChangingIsOn) {
  pictures(pics_, {"a.bmp", "b.bmp"});
  program().settings.autoChange = 1;
  onChangeTimer();
  EXPECT_EQ(program().settings.currentIndex, 1);
  onChangeTimer();
  EXPECT_EQ(program().settings.currentIndex, 2);
  program().settings.autoChange = 0;
  onChangeTimer();
  EXPECT_EQ(program().settings.currentIndex, 2);
  EXPECT_EQ(program().changeTimer.period, 0);
}
