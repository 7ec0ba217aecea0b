#include <gtest/gtest.h>
#include <windows.h>

#include "support/message_box_watch.h"
#include "ui/message_box.h"

TEST(MessageBoxStyle, AddsTheExclamationIconUnlessMask48HoldsABitAndAlwaysSystemModal) {
  struct Case {
    UINT flags;
    UINT style;
  } cases[] = {
      {0, 4144},                          // OK, exclamation, system-modal
      {MB_ICONHAND, 16 + 4096},           // keeps its own icon
      {MB_ICONEXCLAMATION, 4144},         // 48 is not added twice
      {MB_ICONASTERISK, 64 + 48 + 4096},  // 64 lies outside the mask: the exclamation is added
      {MB_YESNO, 4 + 48 + 4096},
      {MB_SYSTEMMODAL, 4096 + 48 + 4096},  // added, not OR-ed
  };
  for (const Case& c : cases) EXPECT_EQ(messageBoxStyle(c.flags), c.style) << c.flags;
}

TEST(ShowMessage, ShowsAnOwnerlessBoxWithTheDefaultOrGivenCaptionAndIcon) {
  HICON exclamation = LoadIconA(nullptr, IDI_EXCLAMATION);
  HICON hand = LoadIconA(nullptr, IDI_HAND);
  struct Case {
    UINT flags;
    const char* title;
    const char* caption;
    HICON icon;
  } cases[] = {
      {0, "", "Corvane：", exclamation},
      {0, "说明", "说明", exclamation},
      {MB_ICONHAND, "", "Corvane：", hand},
  };
  for (const Case& c : cases) {
    MessageBoxWatch watch;
    EXPECT_EQ(showMessage("图片目录【D:\\图片】", c.flags, c.title), IDOK);
    std::vector<SeenMessageBox> seen = watch.seen();
    ASSERT_EQ(seen.size(), 1u) << c.caption;
    EXPECT_EQ(seen[0].caption, c.caption);
    EXPECT_EQ(seen[0].text, "图片目录【D:\\图片】");
    EXPECT_EQ(seen[0].icon, c.icon) << c.caption;
    EXPECT_TRUE(seen[0].topmost) << "system-modal boxes stay above every window";
    EXPECT_FALSE(seen[0].hasOwner);
  }
}
