#include <gtest/gtest.h>

#include <vector>

#include "app/profile.h"
#include "app/startup_entry.h"
#include "support/program_fixture.h"

namespace {

class ProfileTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    program().profile.open(profilePath());
  }
  void TearDown() override {
    deleteStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER);
    ProgramTest::TearDown();
  }
  std::string profilePath() const { return folder_ / kProfileFileName; }
  void writeProfile(const std::string& text) { writeFile(profilePath(), text); }
  Settings& settings() { return program().settings; }
};

// The key lines of an INI file in order, as "section/key".
std::vector<std::string> keyOrder(const std::string& text) {
  std::vector<std::string> keys;
  std::string section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
    } else if (line.find('=') != std::string::npos) {
      keys.push_back(section + "/" + line.substr(0, line.find('=')));
    }
    start = end + 1;
  }
  return keys;
}

}  // namespace

TEST_F(ProfileTest, NoFileGivesTheDefaults) {
  loadProfile();
  const Settings& s = settings();
  EXPECT_EQ(s.pictureDirectory, "");
  EXPECT_FALSE(s.includeSubdirectories);
  EXPECT_TRUE(s.randomOrder);
  EXPECT_EQ(s.interval, 10);
  EXPECT_EQ(s.timeUnit, 1);
  EXPECT_EQ(s.displayStyle, 0);
  EXPECT_TRUE(s.autoChange);
  EXPECT_TRUE(s.startWithSystem);
  EXPECT_TRUE(s.trayInBackground);
  EXPECT_EQ(s.currentIndex, 0);
  EXPECT_EQ(program().profile.section(), "选项");
}

TEST_F(ProfileTest, SaveWritesTheNineKeysInOrderUnderTwoSections) {
  loadProfile();
  saveProfile();
  std::vector<std::string> expected = {
      "图片设置/图片目录", "图片设置/包含子目录", "图片设置/随机显示",
      "图片设置/间隔时间", "图片设置/时间单位",   "图片设置/显示样式",
      "选项/开启壁纸",     "选项/随系统启动",     "选项/后台托盘"};
  EXPECT_EQ(keyOrder(readFile(profilePath())), expected);
}

TEST_F(ProfileTest, SaveThenLoadGivesBackEverySavedField) {
  Settings& s = settings();
  s.pictureDirectory = "D:\\图片\\风景 2026";
  s.includeSubdirectories = 5;  // any non-zero value is written as 真
  s.randomOrder = 0;
  s.interval = -2147483647 - 1;
  s.timeUnit = 3;
  s.displayStyle = 7;
  s.autoChange = 0;
  s.startWithSystem = 0;
  s.trayInBackground = 1;
  s.currentIndex = 12;
  saveProfile();
  Settings saved = s;
  s = Settings();
  loadProfile();
  EXPECT_EQ(s.pictureDirectory, saved.pictureDirectory);
  EXPECT_EQ(s.includeSubdirectories, 1);
  EXPECT_EQ(s.randomOrder, 0);
  EXPECT_EQ(s.interval, saved.interval);
  EXPECT_EQ(s.timeUnit, 3);
  EXPECT_EQ(s.displayStyle, 7);
  EXPECT_EQ(s.autoChange, 0);
  EXPECT_EQ(s.startWithSystem, 0);
  EXPECT_EQ(s.trayInBackground, 1);
  EXPECT_EQ(s.currentIndex, 0) << "the index never reaches the file";
}

TEST_F(ProfileTest, ValueTextsAsTheyAreRead) {
  struct Case {
    const char* line;  // the line under [图片设置]
    int32_t randomOrder;
    int32_t interval;
  } cases[] = {
      {"随机显示=真\r\n间隔时间=2.9", 1, 2},
      {"随机显示=1\r\n间隔时间=-2.9", 0, -2},
      {"随机显示=true\r\n间隔时间=12abc", 0, 12},
      {"随机显示=\r\n间隔时间=", 0, 0},  // empty values are not missing ones
      {"随机显示= 真 \r\n间隔时间=1e3", 1, 1000},
      {"随机显示=\"真\"\r\n间隔时间=\xA3\xB1\xA3\xB5", 1, 15},
      {"随机显示=假\r\n间隔时间=abc", 0, 0},
      {"x=y", 1, 10},  // both keys missing: the defaults
  };
  for (const Case& c : cases) {
    writeProfile(std::string("[图片设置]\r\n") + c.line + "\r\n");
    loadProfile();
    EXPECT_EQ(settings().randomOrder, c.randomOrder) << c.line;
    EXPECT_EQ(settings().interval, c.interval) << c.line;
  }
}

TEST_F(ProfileTest, DirectoryLosesSurroundingBlanksAndLongValuesAreCut) {
  writeProfile("[图片设置]\r\n图片目录=   D:\\Pics   \r\n");
  loadProfile();
  EXPECT_EQ(settings().pictureDirectory, "D:\\Pics");
  writeProfile("[图片设置]\r\n图片目录=" + std::string(100 * 1024, 'x') + "\r\n");
  loadProfile();
  EXPECT_EQ(settings().pictureDirectory, std::string(10239, 'x'));
}

TEST_F(ProfileTest, GarbageFilesGiveTheDefaultsOrWhatTheyHold) {
  const std::string garbage[] = {
      std::string("\0\x01\xFF\xFE[\x80\x81=\n=\n[[[]]]\r\r", 20),
      "",
      "[图片设置]\r\n时间单位=99999999999999999999\r\n显示样式=-7\r\n",
  };
  for (const std::string& bytes : garbage) {
    writeProfile(bytes);
    settings() = Settings();
    loadProfile();
    EXPECT_TRUE(settings().autoChange);
    EXPECT_EQ(settings().interval, 10);
  }
  EXPECT_EQ(settings().timeUnit, 0) << "beyond the 64-bit range reads as 0";
  EXPECT_EQ(settings().displayStyle, -7) << "values are stored as read";
}

TEST_F(ProfileTest, AFailedWriteLosesNothingInSettings) {
  program().profile.open(folder_ / "missing-folder\\Corvane·Mureva.ini");
  settings().interval = 33;
  saveProfile();
  EXPECT_EQ(settings().interval, 33);
  EXPECT_FALSE(fileExists(folder_ / "missing-folder\\Corvane·Mureva.ini"));
}

// The slots the program never calls still keep what they write.
TEST_F(ProfileTest, UnusedSlotsRoundTrip) {
  ProfileStore& store = program().profile;
  store.setSection("其他");
  SYSTEMTIME when{2026, 12, 5, 11, 15, 30, 45, 0};
  EXPECT_TRUE(store.writeDate("时间", when));
  SYSTEMTIME back = store.readDate("时间", SYSTEMTIME{});
  EXPECT_EQ(back.wYear, 2026);
  EXPECT_EQ(back.wMonth, 12);
  EXPECT_EQ(back.wDay, 11);
  EXPECT_EQ(back.wSecond, 45);
  store.writeText("坏时间", "2026-13-45 99:00:00");
  EXPECT_EQ(store.readDate("坏时间", when).wYear, 2026);
  EXPECT_EQ(store.readBoolUnlessFalse("缺少", 0), 0);
  store.writeText("值", "x");
  EXPECT_EQ(store.readBoolUnlessFalse("值", 0), 1);
  EXPECT_EQ(decodeLineBreaks(encodeLineBreaks("a\r\nb\nc")), "a\r\nb\r\nc");
  EXPECT_EQ(encodeLineBreaks("a\r\nb"), "a【→↓】b");
  std::unique_ptr<ProfileStore> twin = store.copy();
  EXPECT_EQ(twin->filePath(), store.filePath());
  EXPECT_EQ(twin->readText("值", ""), "x");
  twin->destroy();
  EXPECT_EQ(twin->filePath(), "");
}

TEST_F(ProfileTest, ControlSlotsRoundTripThroughRealControls) {
  HWND box = CreateWindowExA(0, "BUTTON", "自动", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 50, 20, window_,
                             reinterpret_cast<HMENU>(101), nullptr, nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "一\r\n二", WS_CHILD | ES_MULTILINE, 0, 0, 50, 20, window_,
                              reinterpret_cast<HMENU>(102), nullptr, nullptr);
  ASSERT_TRUE(box && edit);
  ProfileStore& store = program().profile;
  store.setSection("控件");
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(store.saveCheckBoxChecked(window_, 101));
  EXPECT_TRUE(store.saveMultilineText("说明", window_, 102));
  SendMessageA(box, BM_SETCHECK, BST_UNCHECKED, 0);
  SetWindowTextA(edit, "");
  EXPECT_EQ(store.loadOptionChecked(window_, 101), 1);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  store.loadMultilineText("说明", window_, 102);
  char text[32] = "";
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "一\r\n二");
  EXPECT_EQ(store.readText("自动", ""), "真");
}
