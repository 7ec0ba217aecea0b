#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/startup.h"
#include "engine/change_timer.h"
#include "engine/image_scan.h"
#include "engine/rotation.h"
#include "engine/wallpaper.h"
#include "support/message_box_watch.h"
#include "support/pictures.h"
#include "support/program_fixture.h"

TEST(PictureExtension, FiveExtensionsInAnyAsciiCase) {
  struct Case {
    const char* name;
    bool eligible;
  } cases[] = {
      {"a.bmp", true},
      {"a.JPG", true},
      {"b.jpeg", true},
      {"c.Tiff", true},
      {"f.GIF", true},
      {".gif", true},
      {"x.JpEg", true},
      {"d.png", false},
      {"e.bmp.txt", false},
      {"c.tif", false},
      {"a.jpe", false},
      {"jpg", false},
      {"a.jpg ", false},
      {"", false},
      {"图片.jpg", true},
      {"a\xA3\xAEjpg", false},
      // Only A to Z fold: a full-width or accented letter is another byte.
      {"a.\xA3\xC2mp", false},
  };
  for (const Case& c : cases) EXPECT_EQ(hasPictureExtension(c.name), c.eligible) << c.name;
}

namespace {

// The order a plain two-pass walk gets from the system: a folder's files, then each
// subfolder's whole tree, each in enumeration order.
void systemOrder(const std::string& folder, bool subfolders, std::vector<std::string>& out) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> children;
  do {
    std::string name = entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name != "." && name != "..") children.push_back(name);
    } else if (hasPictureExtension(name)) {
      out.push_back(folder + "\\" + name);
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  if (subfolders)
    for (const std::string& child : children) systemOrder(folder + "\\" + child, true, out);
}

std::vector<std::string> systemOrder(const std::string& folder, bool subfolders) {
  std::vector<std::string> out;
  systemOrder(folder, subfolders, out);
  return out;
}

class ImageScanTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    pics_ = folder_ / "pics";
    makeFolder(pics_);
    program().settings.pictureDirectory = pics_;
    program().settings.interval = 10;
    program().settings.timeUnit = 0;
  }

  void picture(const std::string& relative) { writeFile(pics_ + "\\" + relative, "x"); }
  void subfolder(const std::string& relative) { makeFolder(pics_ + "\\" + relative); }

  std::vector<std::string> listed() const {
    std::vector<std::string> paths;
    for (int i = 1; i <= program().images.count(); ++i) paths.push_back(program().images.at(i));
    return paths;
  }

  bool listedHas(const std::string& relative) const {
    std::vector<std::string> paths = listed();
    return std::find(paths.begin(), paths.end(), pics_ + "\\" + relative) != paths.end();
  }

  // Files the scan passes over; enough of them that a scan lasts many timer periods.
  void filler(const std::string& relative, int count) {
    for (int i = 0; i < count; ++i) picture(relative + "filler-" + std::to_string(i) + ".txt");
  }

  // Runs action once, from a message handled by the scan, as soon as the list holds at least
  // `listed` entries. A timer brings the message; the scan looks at its queue at every entry.
  void duringScan(std::function<void()> action, int listed = 0) {
    constexpr UINT_PTR kProbe = 99;
    HWND window = window_;
    setStandInHook([action, listed, window](UINT message, WPARAM wParam, LPARAM) {
      if (message != WM_TIMER || wParam != kProbe) return false;
      if (!isRebuildRunning() || program().images.count() < listed) return true;
      KillTimer(window, kProbe);
      setStandInHook(nullptr);
      action();
      return true;
    });
    SetTimer(window_, kProbe, USER_TIMER_MINIMUM, nullptr);
    program().scan.queueLookInterval = 0;
  }

  std::string pics_;
};

}  // namespace

TEST_F(ImageScanTest, ListsEligibleFilesInTheOrderTheSystemGivesThem) {
  for (const char* name :
       {"a.JPG", "b.jpeg", "c.Tiff", "d.png", "e.bmp.txt", "f.GIF", "g.bmp", ".gif"})
    picture(name);
  SetFileAttributesA((pics_ + "\\g.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
  subfolder("h.jpg");
  picture("h.jpg\\inner.jpg");
  program().settings.includeSubdirectories = 0;

  rebuildImageList();

  std::vector<std::string> paths = listed();
  EXPECT_EQ(paths, systemOrder(pics_, false));
  std::vector<std::string> sorted = paths;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> expected;
  for (const char* name : {".gif", "a.JPG", "b.jpeg", "c.Tiff", "f.GIF", "g.bmp"})
    expected.push_back(pics_ + "\\" + name);
  EXPECT_EQ(sorted, expected) << "h.jpg is a folder, never a picture";
  EXPECT_EQ(program().settings.scannedDirectory, pics_);
  EXPECT_EQ(program().settings.scannedWithSubdirectories, 0);
}

TEST_F(ImageScanTest, WalksDepthFirstWithAFoldersFilesBeforeItsSubfolders) {
  picture("x.jpg");
  subfolder("S1");
  picture("S1\\y.jpg");
  subfolder("S1\\T");
  picture("S1\\T\\z.jpg");
  picture("S1\\T\\u.bmp");
  subfolder("S2");
  picture("S2\\w.gif");
  picture("v.tiff");
  subfolder("empty");

  for (int subfolders : {1, 0}) {
    program().settings.includeSubdirectories = subfolders;
    rebuildImageList();
    std::vector<std::string> paths = listed();
    EXPECT_EQ(paths, systemOrder(pics_, subfolders != 0)) << subfolders;
    EXPECT_EQ(program().settings.scannedWithSubdirectories, subfolders);
    if (!subfolders) continue;
    ASSERT_EQ(paths.size(), 6u);
    auto position = [&](const char* relative) {
      return std::find(paths.begin(), paths.end(), pics_ + "\\" + relative) - paths.begin();
    };
    EXPECT_LT(position("v.tiff"), position("S1\\y.jpg")) << "a folder's own files come first";
    EXPECT_LT(position("S1\\y.jpg"), position("S1\\T\\z.jpg"));
    bool s1First = position("S1\\y.jpg") < position("S2\\w.gif");
    if (s1First) {
      EXPECT_LT(position("S1\\T\\u.bmp"), position("S2\\w.gif")) << "S1's whole tree first";
    }
  }
  EXPECT_EQ(listed(), systemOrder(pics_, false));
  rebuildImageList();
  EXPECT_EQ(listed(), systemOrder(pics_, false)) << "a second rebuild gives the same list";
}

TEST_F(ImageScanTest, AFolderWithoutPicturesIsReportedAndTheTimerReArmedOnlyWithAutoChange) {
  struct Case {
    const char* folder;
    int autoChange;
    int32_t period;
  } cases[] = {
      {"missing", 1, 10000},
      {"missing", 0, 0},
      {"only-png", 1, 10000},
  };
  subfolder("only-png");
  picture("only-png\\a.png");
  for (const Case& c : cases) {
    std::string folder = pics_ + "\\" + c.folder;
    program().settings.pictureDirectory = folder;
    program().settings.autoChange = c.autoChange;
    program().settings.interval = 5;
    armTimer();  // running with another period, so the rebuild must stop it first
    program().settings.interval = 10;
    MessageBoxWatch watch;
    rebuildImageList();
    std::vector<SeenMessageBox> seen = watch.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "找不到图片");
    EXPECT_EQ(seen[0].text, "指定的图片目录【" + folder +
                                "】找不到任何支持的图片格式，目前仅支持Bmp、Jpg、Gif、Tiff格式图片"
                                "设置为桌面。请重新设置。");
    EXPECT_EQ(program().images.count(), 0);
    EXPECT_EQ(program().changeTimer.period, c.period) << c.folder << " " << c.autoChange;
  }
}

TEST_F(ImageScanTest, NamesWithA5CTrailByteKeepTheirFolders) {
  // 0x95 0x5C is one double-byte character whose second byte is a backslash.
  const std::string odd = "\x95\x5C";
  subfolder(odd);
  picture(odd + "\\" + odd + ".jpg");
  picture(odd + ".bmp");
  program().settings.includeSubdirectories = 1;
  rebuildImageList();
  EXPECT_EQ(listed(), systemOrder(pics_, true));
  EXPECT_TRUE(listedHas(odd + "\\" + odd + ".jpg"));
  EXPECT_TRUE(listedHas(odd + ".bmp"));
  EXPECT_EQ(readWholeFile(pics_ + "\\" + odd + "\\" + odd + ".jpg"), "x");
}

TEST_F(ImageScanTest, APathBeyondMaxPathEndsTheScanWithWhatCouldBeListed) {
  picture("near.jpg");
  std::wstring deep = L"\\\\?\\";
  std::string folder = pics_;
  deep.append(folder.begin(), folder.end());  // the temporary folder's path is ASCII
  for (int level = 0; level < 30; ++level) {
    deep += L"\\folder-with-a-long-name-" + std::to_wstring(level);
    CreateDirectoryW(deep.c_str(), nullptr);
  }
  HANDLE file = CreateFileW((deep + L"\\far.jpg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  program().settings.includeSubdirectories = 1;
  rebuildImageList();
  EXPECT_TRUE(listedHas("near.jpg"));
  // Whether the ANSI functions reach the far file depends on the system; either way the scan
  // ends and keeps what it found.
  EXPECT_LE(program().images.count(), 2);
}

TEST_F(ImageScanTest, AFolderLinkThatPointsBackIntoItsAncestryIsEnteredOnlyOnce) {
  // The loop is made on the host side by the test set-up: Wine has no junctions of its own.
  const char* tree = std::getenv("MUREVA_LOOP_TREE");
  if (!tree || !*tree) GTEST_SKIP() << "MUREVA_LOOP_TREE is not set";
  std::string root = windowsPath(tree);
  program().settings.pictureDirectory = root;
  program().settings.includeSubdirectories = 1;
  rebuildImageList();
  // root: top.jpg, sub\inner.jpg, sub\back -> root, self -> root,
  //       a\x.jpg, a\to-b -> b, b\y.jpg, b\to-a -> a
  // A link is followed like a folder unless its target is on the path already.
  std::vector<std::string> paths = listed();
  std::sort(paths.begin(), paths.end());
  std::vector<std::string> expected;
  for (const char* relative :
       {"a\\to-b\\y.jpg", "a\\x.jpg", "b\\to-a\\x.jpg", "b\\y.jpg", "sub\\inner.jpg", "top.jpg"})
    expected.push_back(root + "\\" + relative);
  EXPECT_EQ(paths, expected);
}

TEST_F(ImageScanTest, AFolderThatVanishesMidScanIsPassedOver) {
  picture("a.jpg");
  filler("", 500);
  for (const char* name : {"S1", "S2"}) {
    subfolder(name);
    for (int i = 0; i < 5; ++i) picture(std::string(name) + "\\" + std::to_string(i) + ".jpg");
  }
  program().settings.includeSubdirectories = 1;
  std::vector<std::string> order = systemOrder(pics_, true);
  // The subfolder that the walk reaches last goes while the first entries are handled.
  std::string last = order.back().substr(pics_.size() + 1, 2);
  duringScan([&] { deleteTree(pics_ + "\\" + last); });
  rebuildImageList();
  EXPECT_TRUE(listedHas("a.jpg"));
  EXPECT_EQ(program().images.count(), 6);
  for (const std::string& path : listed())
    EXPECT_EQ(path.find("\\" + last + "\\"), std::string::npos);
}

TEST_F(ImageScanTest, ARebuildNeverStartsInsideARunningRebuild) {
  for (int i = 0; i < 20; ++i) picture(std::to_string(i) + ".jpg");
  filler("", 500);
  std::string other = folder_ / "other";
  makeFolder(other);
  writeFile(other + "\\intruder.jpg", "x");
  bool ran = false;
  duringScan([&] {
    ran = true;
    EXPECT_TRUE(isRebuildRunning());
    program().settings.pictureDirectory = other;
    rebuildImageList();  // refused: the running scan keeps its list
    refreshImageListIfStale();
  });
  rebuildImageList();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(isRebuildRunning());
  std::vector<std::string> paths = listed();
  EXPECT_EQ(paths, systemOrder(pics_, false)) << "every picture once, none from the other folder";
  EXPECT_EQ(program().settings.scannedDirectory, pics_);
  // The folder changed during the scan, so the next change rebuilds from the new one.
  changeWallpaper();
  EXPECT_EQ(listed(), (std::vector<std::string>{other + "\\intruder.jpg"}));
}

TEST_F(ImageScanTest, RequestsThatArriveDuringAScanAreIgnored) {
  for (int i = 0; i < 5; ++i)
    writeFile(pics_ + "\\" + std::to_string(i) + ".bmp", solidBmp(2, 2, 9, 9, 9));
  filler("", 500);
  program().settings.randomOrder = 0;
  program().settings.currentIndex = 1;
  bool ran = false;
  duringScan(
      [&] {
        ran = true;
        deleteCurrentPicture();
        stepWallpaper(false);
        changeWallpaper();
      },
      1);
  changeWallpaper();
  EXPECT_EQ(program().images.count(), 5) << "nothing was deleted";
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(fileExists(pics_ + "\\" + std::to_string(i) + ".bmp"));
  EXPECT_TRUE(ran);
  EXPECT_EQ(program().settings.currentIndex, 2) << "one change: the one that ran the scan";
}

TEST_F(ImageScanTest, AnEndDuringTheScanLeavesTheWindowAndTimerAlone) {
  subfolder("S");
  for (int i = 0; i < 50; ++i) picture("S\\" + std::to_string(i) + ".jpg");
  filler("", 500);
  program().settings.includeSubdirectories = 1;
  program().settings.autoChange = 1;
  duringScan([] { endProgram(); });
  MessageBoxWatch watch;
  changeWallpaper();
  EXPECT_EQ(program().mainWindow, nullptr);
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(program().changeTimer.period, 0) << "no timer is set on a window that is gone";
  EXPECT_LT(program().images.count(), 50) << "the scan stopped when the window went";
  EXPECT_TRUE(watch.seen().empty()) << "no message about a folder the scan never finished";
  EXPECT_FALSE(fileExists(wallpaperFilePath()));
}
