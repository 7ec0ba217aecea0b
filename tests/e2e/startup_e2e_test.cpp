#include <gtest/gtest.h>

#include "e2e/harness.h"
#include "support/pictures.h"
#include "ui/main_window.h"

namespace {

class StartupE2E : public ::testing::Test {
 protected:
  void SetUp() override { clearStartupValues(); }
  void TearDown() override { clearStartupValues(); }

  // A profile with automatic changing on or off and a time unit, over a folder of one picture.
  std::string profile(bool autoChange, int timeUnit) {
    makeFolder(folder_ / "pics");
    writeFile(folder_ / "pics\\one.bmp", solidBmp(4, 4, 200, 40, 40));
    return "[图片设置]\r\n图片目录=" + folder_ / "pics" +
           "\r\n时间单位=" + std::to_string(timeUnit) +
           "\r\n[选项]\r\n开启壁纸=" + (autoChange ? "真" : "假") + "\r\n";
  }

  ProgramFolder folder_;
};

}  // namespace

TEST_F(StartupE2E, FirstStartShowsTheWindowAndWritesTheStartupValue) {
  RunningProgram run(folder_);
  ASSERT_TRUE(run.alive());
  HWND window = run.window();
  ASSERT_TRUE(window);
  EXPECT_TRUE(IsWindowVisible(window));
  char title[64] = "";
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, kMainWindowTitle);
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, 496);
  EXPECT_EQ(frame.bottom - frame.top, 372);
  LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(startupValue(HKEY_LOCAL_MACHINE), "\"" + folder_.exe() + "\" 后台");
  EXPECT_EQ(folder_.profileBytes(), "") << "nothing is written before the first close";
}

TEST_F(StartupE2E, FirstCloseWritesTheNineKeysAndGoesToTheBackground) {
  RunningProgram run(folder_);
  run.requestClose();
  EXPECT_TRUE(run.window()) << "the close request is refused";
  EXPECT_FALSE(run.visible());
  EXPECT_TRUE(run.alive()) << "automatic changing is on: the program goes on in the background";
  struct {
    const char* section;
    const char* key;
    const char* value;
  } expected[] = {
      {"图片设置", "图片目录", ""},   {"图片设置", "包含子目录", "假"},
      {"图片设置", "随机显示", "真"}, {"图片设置", "间隔时间", "10"},
      {"图片设置", "时间单位", "1"},  {"图片设置", "显示样式", "0"},
      {"选项", "开启壁纸", "真"},     {"选项", "随系统启动", "真"},
      {"选项", "后台托盘", "真"},
  };
  for (const auto& e : expected)
    EXPECT_EQ(folder_.profileValue(e.section, e.key), e.value) << e.key;
  std::string text = folder_.profileBytes();
  EXPECT_LT(text.find("[图片设置]"), text.find("[选项]"));
  EXPECT_LT(text.find("图片目录="), text.find("显示样式="));
  EXPECT_LT(text.find("开启壁纸="), text.find("后台托盘="));
}

TEST_F(StartupE2E, CloseWithAutomaticChangingOffSavesAndEnds) {
  folder_.writeProfile(profile(false, 1));
  RunningProgram run(folder_);
  ASSERT_TRUE(run.visible());
  run.requestClose();
  EXPECT_TRUE(run.waitForExit(10000));
  EXPECT_EQ(run.exitCode(), 0u);
  EXPECT_EQ(folder_.profileValue("选项", "开启壁纸"), "假");
  EXPECT_EQ(folder_.profileValue("图片设置", "后台托盘"), "<missing>");
  EXPECT_EQ(folder_.profileValue("选项", "后台托盘"), "真");
}

TEST_F(StartupE2E, RunModes) {
  struct Case {
    const char* tail;
    bool autoChange;
    int timeUnit;
    bool visible;
    bool alive;
  } cases[] = {
      {"", true, 2, true, true},        {"", false, 4, true, true},
      {" 后台", false, 0, true, true},  {" 后台", true, 0, false, true},
      {" 后台", true, 4, false, false},  // once at log-in: one change, then the end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("tail '") + c.tail + "' autoChange " + std::to_string(c.autoChange) +
                 " unit " + std::to_string(c.timeUnit));
    folder_.writeProfile(profile(c.autoChange, c.timeUnit));
    std::string before = folder_.profileBytes();
    RunningProgram run(folder_, c.tail);
    if (!c.alive) {
      EXPECT_TRUE(run.waitForExit(15000));
      EXPECT_EQ(run.exitCode(), 0u);
      EXPECT_EQ(folder_.profileBytes(), before) << "the once-at-log-in start writes no profile";
      EXPECT_EQ(readFile(folder_ / "桌面背景文件.bmp"), solidBmp(4, 4, 200, 40, 40))
          << "it changed the wallpaper once";
      continue;
    }
    ASSERT_TRUE(run.window());
    EXPECT_EQ(run.visible(), c.visible);
    EXPECT_TRUE(run.alive());
  }
}

TEST_F(StartupE2E, CommandLineForms) {
  struct Case {
    const char* tail;
    bool hidden;
  } cases[] = {
      {" 后台", true},  {" 后 台", true},   {" \"后台\"", true},
      {"  后台", true}, {" 后台 x", false}, {" 背景", false},
  };
  folder_.writeProfile(profile(true, 1));
  for (const Case& c : cases) {
    RunningProgram run(folder_, c.tail);
    ASSERT_TRUE(run.window()) << c.tail;
    EXPECT_EQ(run.visible(), !c.hidden) << c.tail;
  }
}

TEST_F(StartupE2E, StartupValueFollowsTheOption) {
  setStartupValue(HKEY_LOCAL_MACHINE, "\"C:\\old\\place.exe\" 后台");
  folder_.writeProfile("[选项]\r\n随系统启动=真\r\n");
  {
    RunningProgram run(folder_);
    EXPECT_EQ(startupValue(HKEY_LOCAL_MACHINE), "\"" + folder_.exe() + "\" 后台")
        << "a moved program writes its new path";
  }
  folder_.writeProfile("[选项]\r\n随系统启动=假\r\n开启壁纸=假\r\n");
  RunningProgram run(folder_);
  EXPECT_EQ(startupValue(HKEY_LOCAL_MACHINE), "<none>") << "deleted when the profile is read";
  setStartupValue(HKEY_LOCAL_MACHINE, "stale");
  setStartupValue(HKEY_CURRENT_USER, "stale");
  run.requestClose();
  EXPECT_TRUE(run.waitForExit(10000));
  EXPECT_EQ(startupValue(HKEY_LOCAL_MACHINE), "<none>") << "deleted again at the close";
  EXPECT_EQ(startupValue(HKEY_CURRENT_USER), "<none>");
}

TEST_F(StartupE2E, BadProfilesStartWithSoundValues) {
  const std::string bad[] = {
      std::string("\x00\xFF\xFE\x01garbage[[\x80=\n\n=\r", 18),
      "",
      "[图片设置]\r\n间隔时间=" + std::string(100 * 1024, '9') +
          "\r\n时间单位=-5\r\n显示样式=1e300\r\n",
      "[选项]\r\n开启壁纸=1\r\n[图片设置]\r\n图片目录=" + std::string(100 * 1024, 'x') + "\r\n",
  };
  for (const std::string& bytes : bad) {
    folder_.writeProfile(bytes);
    RunningProgram run(folder_);
    ASSERT_TRUE(run.alive());
    EXPECT_TRUE(run.visible());
    run.requestClose();
    run.sync();
    EXPECT_NE(folder_.profileValue("选项", "开启壁纸"), "<missing>");
  }
  EXPECT_EQ(folder_.profileValue("选项", "开启壁纸"), "假") << "1 is not 真";
  EXPECT_EQ(folder_.profileValue("图片设置", "图片目录"), std::string(10239, 'x'));
}

// Wine run as root writes read-only files all the same, so the profile is made unwritable by
// holding it open without sharing, as another program might.
TEST_F(StartupE2E, UnwritableProfileLosesNothingAndKeepsRunning) {
  std::string text = "[选项]\r\n开启壁纸=真\r\n";
  folder_.writeProfile(text);
  RunningProgram run(folder_);
  HANDLE lock = CreateFileA(folder_.profilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  run.requestClose();
  run.sync();
  CloseHandle(lock);
  EXPECT_TRUE(run.alive());
  EXPECT_EQ(folder_.profileBytes(), text);
}

TEST_F(StartupE2E, AForgedEndMessageDoesNotEndTheProgram) {
  RunningProgram run(folder_);
  PostMessageA(run.window(), kEndProgramMessage, 0, 0);
  run.sync();
  EXPECT_TRUE(run.alive());
  EXPECT_TRUE(run.visible());
}
