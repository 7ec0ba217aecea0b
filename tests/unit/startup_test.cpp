#include <gtest/gtest.h>
#include <windows.h>

#include "app/handles.h"
#include "app/startup.h"
#include "app/startup_entry.h"

TEST(CommandLineText, JoinsTheArgumentsAfterTheProgramName) {
  struct Case {
    const char* line;
    const char* joined;
  } cases[] = {
      {"C:\\Tools\\wp.exe", ""},
      {"\"C:\\Tools\\wp.exe\"", ""},
      {"\"C:\\Tools\\wp.exe\" 后台", "后台"},
      {"C:\\Tools\\wp.exe 后台", "后台"},
      {"wp.exe 后 台", "后台"},
      {"wp.exe \"后台\"", "后台"},
      {"wp.exe 后台 x", "后台x"},
      {"\"C:\\Program Files\\wp.exe\"  后台", "后台"},  // the first space ends the name
      {"\"C:\\Program Files\\wp.exe\"后台", "后台"},
      {"\"C:\\unterminated 后台", ""},
      {"wp.exe \"a b\"c", "a bc"},
      {"wp.exe \"unterminated quote", "unterminated quote"},
      {"wp.exe \t\r\n后台\x01", "后台"},
      // 0x5C and 0x22-free trail bytes stay inside their double-byte character.
      {"wp.exe \x95\x5C\"x\"", "\x95\x5Cx"},
      {"wp.exe \x81\x20y", "\x81\x20y"},  // a lead byte takes the next byte, even a space
  };
  for (const Case& c : cases) EXPECT_EQ(commandLineText(c.line), c.joined) << c.line;
  EXPECT_EQ(commandLineText(nullptr), "");
}

TEST(SplitModulePath, SplitsAtTheLastRealBackslash) {
  struct Case {
    const char* path;
    const char* directory;
    const char* fileName;
  } cases[] = {
      {"C:\\Tools\\wp.exe", "C:\\Tools", "wp.exe"},
      {"C:\\wp.exe", "C:", "wp.exe"},
      {"wp.exe", "", "wp.exe"},
      {"C:\\图片\\Mureva.exe", "C:\\图片", "Mureva.exe"},
      // 95 5C is one double-byte character: its 5C byte is no separator.
      {"C:\\a\x95\x5C\\x.exe", "C:\\a\x95\x5C", "x.exe"},
      {"C:\\a\x95\x5Cx.exe", "C:", "a\x95\x5Cx.exe"},
  };
  for (const Case& c : cases) {
    ModulePath split = splitModulePath(c.path);
    EXPECT_EQ(split.directory, c.directory) << c.path;
    EXPECT_EQ(split.fileName, c.fileName) << c.path;
  }
}

TEST(StartupValue, DataIsTheQuotedPathAndTheBackgroundWord) {
  EXPECT_EQ(startupValueData("C:\\Tools", "wp.exe"), "\"C:\\Tools\\wp.exe\" 后台");
}

namespace {

std::string runValue(HKEY root) {
  RegKey key;
  if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return "<none>";
  char data[512];
  DWORD size = sizeof data, type = 0;
  if (RegQueryValueExA(key.get(), kStartupValueName, nullptr, &type, reinterpret_cast<BYTE*>(data),
                       &size) != ERROR_SUCCESS)
    return "<none>";
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_GT(size, 0u);
  EXPECT_EQ(data[size - 1], '\0') << "stored with its terminating NUL";
  return std::string(data, size - 1);
}

// A root that refuses every open and create, like HKEY_LOCAL_MACHINE for a user without
// administrator rights.
HKEY const kRefusingRoot = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));

class StartupEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { deleteStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER); }
  void TearDown() override { deleteStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER); }
};

}  // namespace

TEST_F(StartupEntryTest, MachineValueWhenItCanBeWritten) {
  EXPECT_TRUE(writeStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, "\"C:\\a.exe\" 后台"));
  EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), "\"C:\\a.exe\" 后台");
  EXPECT_EQ(runValue(HKEY_CURRENT_USER), "<none>");
}

TEST_F(StartupEntryTest, UserValueWhenTheMachineRefuses) {
  EXPECT_TRUE(writeStartupValue(kRefusingRoot, HKEY_CURRENT_USER, "\"C:\\b.exe\" 后台"));
  EXPECT_EQ(runValue(HKEY_CURRENT_USER), "\"C:\\b.exe\" 后台");
  // Once the machine value can be written, the user value goes: one start at log-in, not two.
  EXPECT_TRUE(writeStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, "\"C:\\b.exe\" 后台"));
  EXPECT_EQ(runValue(HKEY_CURRENT_USER), "<none>");
  EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), "\"C:\\b.exe\" 后台");
}

TEST_F(StartupEntryTest, DeletingClearsBothPlaces) {
  writeStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, "x");
  writeStartupValue(kRefusingRoot, HKEY_CURRENT_USER, "y");
  deleteStartupValue(HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER);
  EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), "<none>");
  EXPECT_EQ(runValue(HKEY_CURRENT_USER), "<none>");
}
