#include <gtest/gtest.h>

#include <vector>

#include "e2e/harness.h"
#include "support/desktop_values.h"
#include "support/pictures.h"

namespace {

// The file names of a folder in the order the system lists them.
std::vector<std::string> listedNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

class WallpaperE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    pictures_ = testPictureFolder();
    if (pictures_.empty()) GTEST_SKIP() << "MUREVA_PICTURES is not set";
    clearStartupValues();
    pics_ = folder_ / "pics";
    makeFolder(pics_);
  }
  void TearDown() override { clearStartupValues(); }

  std::string wallpaperPath() const { return folder_ / "桌面背景文件.bmp"; }

  // Which picture of the folder the wallpaper file shows: a BMP by its bytes, the JPEG by its
  // pixels; "" when none.
  std::string shownPicture(const std::string& wallpaper) const {
    for (const std::string& name : listedNames(pics_)) {
      std::string bytes = readFile(pics_ + "\\" + name);
      if (name.size() > 4 && name.substr(name.size() - 4) == ".bmp" && bytes == wallpaper)
        return name;
    }
    Pixels shown, reference;
    if (decodeBmp(wallpaper, shown) &&
        decodeBmp(readFile(pictures_ + "\\photo.jpg.ref.bmp"), reference) &&
        comparePixels(shown, reference).largest >= 0 &&
        comparePixels(shown, reference).largest <= 8)
      return "photo.jpg";
    return "";
  }

  // The pictures the wallpaper file showed, one entry per change, until there are `count` of
  // them or the time is up. A file caught half-written is read again at the next look.
  std::vector<std::string> watchChanges(size_t count, DWORD timeoutMs) const {
    std::vector<std::string> shown;
    std::string last;
    DWORD start = GetTickCount();
    while (shown.size() < count && GetTickCount() - start < timeoutMs) {
      std::string wallpaper = readFile(wallpaperPath());
      if (!wallpaper.empty() && wallpaper != last) {
        std::string name = shownPicture(wallpaper);
        if (!name.empty()) {
          last = wallpaper;
          shown.push_back(name);
        }
      }
      Sleep(50);
    }
    return shown;
  }

  std::string pictures_;
  std::string pics_;
  ProgramFolder folder_;
};

}  // namespace

// The exe runs from a folder that also holds a file named gdiplus.dll that is no library at
// all, as a Downloads folder might: the program loads GDI+ from the system folder and goes on
// converting. (Wine prefers its built-in gdiplus even for a bare name; Windows would not.)
TEST_F(WallpaperE2E, AOneSecondIntervalChangesTheWallpaperInListOrder) {
  writeFile(pics_ + "\\a.bmp", solidBmp(8, 6, 250, 0, 0));
  writeFile(pics_ + "\\b.bmp", solidBmp(8, 6, 0, 250, 0));
  writeFile(pics_ + "\\photo.jpg", readFile(pictures_ + "\\photo.jpg"));
  writeFile(pics_ + "\\notes.txt", "not a picture");
  writeFile(folder_ / "gdiplus.dll", "MZ this is no library");
  folder_.writeProfile(
      "[图片设置]\r\n图片目录=" + pics_ +
      "\r\n随机显示=假\r\n间隔时间=1\r\n时间单位=0\r\n显示样式=1\r\n[选项]\r\n开启壁纸=真\r\n");

  RunningProgram run(folder_);
  ASSERT_TRUE(run.alive());
  std::vector<std::string> shown = watchChanges(5, 12000);
  std::vector<std::string> order;
  for (const std::string& name : listedNames(pics_))
    if (name != "notes.txt") order.push_back(name);
  ASSERT_EQ(order.size(), 3u);
  std::vector<std::string> expected;
  for (size_t i = 0; i < shown.size(); ++i) expected.push_back(order[i % 3]);
  EXPECT_GE(shown.size(), 4u) << "a change every second";
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(desktopValue("Wallpaper"), wallpaperPath());
  EXPECT_EQ(desktopValue("WallpaperStyle"), "1");
  EXPECT_EQ(desktopValue("TileWallpaper"), "1");
  EXPECT_TRUE(run.alive());
}

// Broken pictures among good ones: the program keeps running, the desktop keeps a whole
// picture, and the rotation moves on past them.
TEST_F(WallpaperE2E, BrokenPicturesArePassedOverAndTheDesktopKeepsAWholePicture) {
  writeFile(pics_ + "\\a.bmp", solidBmp(8, 6, 250, 0, 0));
  for (const char* name : {"zero.jpg", "truncated.jpg", "text.jpg", "huge.gif"})
    writeFile(pics_ + "\\" + name, readFile(pictures_ + "\\" + name));
  writeFile(pics_ + "\\z.bmp", solidBmp(8, 6, 0, 0, 250));
  folder_.writeProfile("[图片设置]\r\n图片目录=" + pics_ +
                       "\r\n随机显示=假\r\n间隔时间=1\r\n时间单位=0\r\n[选项]\r\n开启壁纸=真\r\n");
  RunningProgram run(folder_);
  std::vector<std::string> shown = watchChanges(3, 9000);
  ASSERT_GE(shown.size(), 2u) << "both good pictures came, the broken ones were passed over";
  EXPECT_NE(shown[0], shown[1]);
  Pixels pixels;
  EXPECT_TRUE(decodeBmp(readFile(wallpaperPath()), pixels));
  EXPECT_TRUE(run.alive());
}
