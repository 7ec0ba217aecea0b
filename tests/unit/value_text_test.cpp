#include <gtest/gtest.h>

#include "app/value_text.h"

TEST(Charset, NarrowLiteralsAreCodePage936) {
  EXPECT_EQ(std::string("真"), std::string("\xD5\xE6"));
  EXPECT_EQ(std::string(kFalseText), std::string("\xBC\xD9"));
}

TEST(NumberToText, ThirteenSignificantDigitsWithoutTrailingZeros) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {10, "10"},
      {-7, "-7"},
      {0, "0"},
      {2.5, "2.5"},
      {2147483647, "2147483647"},
      {-2147483648.0, "-2147483648"},
      {1.0 / 3, "0.3333333333333"},
      {1e15, "1e+15"},
  };
  for (const Case& c : cases) EXPECT_EQ(numberToText(c.value), c.text) << c.value;
}

TEST(TextToNumber, ReadsTheLeadingNumberAsAtofDoes) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"2.9", 2.9},
      {"-2.9", -2.9},
      {"12abc", 12},
      {"abc", 0},
      {"", 0},
      {"1e3", 1000},
      {"1e", 1},
      {"1e+", 1},
      {".5", 0.5},
      {"-.5e1", -5},
      {"  \t 7", 7},
      {"+8", 8},
      {"- 8", 0},
      {"0x10", 0},
      {"inf", 0},
      {"\xA3\xB1\xA3\xB5", 15},                    // full-width 1 and 5
      {"\xA3\xAD\xA3\xB3\xA3\xAE\xA3\xB5", -3.5},  // full-width -3.5
      {"\xA1\xA1"
       "42",
       42},               // ideographic space before 42
      {"4\xA3\xB2", 42},  // half-width and full-width digits mixed
      {"\xD5\xE6"
       "5",
       0},  // a Chinese character is not a number
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(textToNumber(c.text), c.value) << c.text;
}

TEST(FullWidthToAscii, LeavesOtherDoubleByteCharactersWhole) {
  // 0xA3 as a trail byte of another character must not start a full-width form.
  EXPECT_EQ(fullWidthToAscii("\xB0\xA3\xB1"), "\xB0\xA3\xB1");
  EXPECT_EQ(fullWidthToAscii("\xA3\xC1\xA3\xE1"), "Aa");
  EXPECT_EQ(fullWidthToAscii("x\xA3"), "x\xA3");  // a lone lead byte at the end stays
}

TEST(NarrowToInt32, TruncatesTowardZeroAndKeepsTheLow32Bits) {
  struct Case {
    double value;
    int32_t narrowed;
  } cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {2147483647, 2147483647},
      {2147483648.0, -2147483647 - 1},
      {4294967296.0 + 5, 5},
      {-4294967296.0 - 5, -5},
      {9.3e18, 0},
      {-9.3e18, 0},
      {1e300, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(narrowToInt32(c.value), c.narrowed) << c.value;
}
