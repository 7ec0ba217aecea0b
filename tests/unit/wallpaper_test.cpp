#include <gtest/gtest.h>

#include "engine/wallpaper.h"
#include "support/desktop_values.h"
#include "support/pictures.h"
#include "support/program_fixture.h"

namespace {

class WallpaperTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    pictures_ = testPictureFolder();
  }

  // Lists one file of the given content under the given name and returns its index.
  int list(const std::string& name, const std::string& bytes) {
    writeFile(folder_ / name, bytes);
    program().images.append(folder_ / name);
    return program().images.count();
  }

  std::string wallpaper() const { return readFile(wallpaperFilePath()); }

  std::string pictures_;
};

}  // namespace

TEST_F(WallpaperTest, AnIndexOutsideTheListChangesNothing) {
  list("A.BMP", solidBmp(4, 4, 1, 2, 3));
  applyPicture(0);
  applyPicture(2);
  applyPicture(-1);
  EXPECT_FALSE(fileExists(wallpaperFilePath()));
}

TEST_F(WallpaperTest, BmpNamesAreCopiedAsTheyAreAndOthersConverted) {
  if (pictures_.empty()) GTEST_SKIP() << "MUREVA_PICTURES is not set";
  std::string bmp = solidBmp(5, 3, 200, 100, 50);
  applyPicture(list("A.BMP", bmp));
  EXPECT_EQ(wallpaper(), bmp);
  EXPECT_EQ(wallpaperFilePath(), folder_ / "桌面背景文件.bmp");

  // A .bmp name that holds a JPEG goes to the system unchanged, whatever it holds.
  std::string jpeg = readFile(pictures_ + "\\photo.jpg");
  applyPicture(list("inside.bmp", jpeg));
  EXPECT_EQ(wallpaper(), jpeg);

  applyPicture(list("a.jpg", jpeg));
  Pixels converted, reference;
  ASSERT_TRUE(decodeBmp(wallpaper(), converted));
  ASSERT_TRUE(decodeBmp(readFile(pictures_ + "\\photo.jpg.ref.bmp"), reference));
  EXPECT_LE(comparePixels(converted, reference).largest, 8);
}

TEST_F(WallpaperTest, TheStyleGoesToBothDesktopValues) {
  struct Case {
    int style;
    const char* text;
  } cases[] = {{0, "0"}, {1, "1"}, {2, "2"}, {7, "0"}, {-1, "0"}};
  int index = list("A.BMP", solidBmp(4, 4, 1, 2, 3));
  for (const Case& c : cases) {
    program().settings.displayStyle = c.style;
    applyPicture(index);
    EXPECT_EQ(desktopValue("Wallpaper"), wallpaperFilePath());
    EXPECT_EQ(desktopValue("WallpaperStyle"), c.text) << c.style;
    EXPECT_EQ(desktopValue("TileWallpaper"), c.text) << c.style;
  }
}

// Where a picture gives no bytes the desktop keeps what it shows: the file and the system's
// setting stay as they are.
TEST_F(WallpaperTest, APictureThatGivesNoBytesKeepsTheDesktop) {
  if (pictures_.empty()) GTEST_SKIP() << "MUREVA_PICTURES is not set";
  std::string good = solidBmp(4, 4, 10, 200, 10);
  applyPicture(list("good.bmp", good));
  int missing = list("gone.jpg", "x");
  DeleteFileA(program().images.at(missing).c_str());
  for (const char* name : {"zero.jpg", "text.jpg", "truncated.jpg", "huge.gif"})
    applyPicture(list(name, readFile(pictures_ + "\\" + name)));
  applyPicture(list("empty.bmp", ""));
  applyPicture(missing);
  EXPECT_EQ(wallpaper(), good);
  EXPECT_EQ(desktopValue("Wallpaper"), wallpaperFilePath());
}

TEST_F(WallpaperTest, AWallpaperFileInUseKeepsItsContent) {
  std::string first = solidBmp(4, 4, 10, 20, 30);
  applyPicture(list("first.bmp", first));
  HANDLE lock =
      CreateFileA(wallpaperFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  applyPicture(list("second.bmp", solidBmp(4, 4, 90, 90, 90)));
  CloseHandle(lock);
  EXPECT_EQ(wallpaper(), first);
}

TEST(EndsWithBmp, LooksAtTheLastFourBytesOnly) {
  struct Case {
    const char* path;
    bool bmp;
  } cases[] = {{"C:\\a.bmp", true},   {"C:\\A.BMP", true},  {".bmp", true},       {"bmp", false},
               {"C:\\a.bmpx", false}, {"C:\\a.jpg", false}, {"C:\\图.Bmp", true}, {"", false}};
  for (const Case& c : cases) EXPECT_EQ(endsWithBmp(c.path), c.bmp) << c.path;
}
