#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include "engine/image_converter.h"
#include "support/pictures.h"
#include "support/temp_folder.h"

namespace {

class ImageConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testPictureFolder();
    if (folder_.empty()) GTEST_SKIP() << "MUREVA_PICTURES is not set";
  }
  std::string picture(const std::string& name) const { return readFile(folder_ + "\\" + name); }

  std::string folder_;
};

}  // namespace

// GDI+'s decode against ImageMagick's: lossless formats match exactly; JPEG decoders may
// round differently, by a step or two.
TEST_F(ImageConverterTest, PicturesBecomeWholeBmpFilesWithTheSamePixels) {
  struct Case {
    const char* name;
    int largestDifference;
  } cases[] = {
      {"photo.jpg", 8},  {"grey.jpg", 8},  {"palette.gif", 0},
      {"photo.tiff", 0}, {"deep.tiff", 1}, {"animated.gif", 0},  // an animation's first frame
  };
  for (const Case& c : cases) {
    std::string bmp = convertImage(picture(c.name), 0);
    ASSERT_GT(bmp.size(), 54u) << c.name;
    Pixels converted, reference;
    ASSERT_TRUE(decodeBmp(bmp, converted)) << c.name << ": not a whole 24- or 32-bit BMP";
    ASSERT_TRUE(decodeBmp(picture(std::string(c.name) + ".ref.bmp"), reference)) << c.name;
    PixelDifference difference = comparePixels(converted, reference);
    EXPECT_GE(difference.largest, 0) << c.name << ": sizes differ";
    EXPECT_LE(difference.largest, c.largestDifference) << c.name;
    EXPECT_LE(difference.mean, 1.0) << c.name;
  }
}

TEST_F(ImageConverterTest, IndexFourGivesPngAndIndicesOutsideTheTableGiveNothing) {
  std::string jpeg = picture("photo.jpg");
  EXPECT_EQ(convertImage(jpeg, 4).substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(convertImage(jpeg, 1).substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(convertImage(jpeg, 5), "");
  EXPECT_EQ(convertImage(jpeg, -1), "");
}

TEST_F(ImageConverterTest, WhatIsNoPictureGivesNothing) {
  for (const char* name : {"zero.jpg", "text.jpg", "truncated.jpg", "huge.gif"})
    EXPECT_EQ(convertImage(picture(name), 0), "") << name;
  EXPECT_EQ(convertImage(std::string(), 0), "");
  EXPECT_EQ(convertImage(std::string(5000, '\xFF'), 0), "");
}

// A CMYK JPEG decodes under Windows' GDI+ and under Wine's; whatever comes out must be a
// whole BMP or nothing.
TEST_F(ImageConverterTest, ACmykJpegGivesAWholeBmpOrNothing) {
  std::string bmp = convertImage(picture("cmyk.jpg"), 0);
  Pixels pixels;
  if (!bmp.empty()) EXPECT_TRUE(decodeBmp(bmp, pixels));
}

// Every conversion starts GDI+ and shuts it down again: thousands of changes over weeks in a
// background process must not add up.
TEST_F(ImageConverterTest, ManyConversionsLeaveNothingBehind) {
  std::string jpeg = picture("photo.jpg");
  auto privateBytes = [] {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage;
  };
  for (int i = 0; i < 20; ++i) convertImage(jpeg, 0);  // settles the heap
  DWORD handlesBefore = 0, handlesAfter = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
  SIZE_T before = privateBytes();
  for (int i = 0; i < 300; ++i) ASSERT_FALSE(convertImage(jpeg, 0).empty());
  SIZE_T after = privateBytes();
  GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
  EXPECT_LT(after, before + 2 * 1024 * 1024) << "grew by " << (after - before) << " bytes";
  EXPECT_LE(handlesAfter, handlesBefore + 5);
  EXPECT_EQ(GetModuleHandleA("gdiplus.dll"), nullptr) << "the library goes with its last use";
}
