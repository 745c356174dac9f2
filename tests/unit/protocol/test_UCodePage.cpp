#include <gtest/gtest.h>

#include "UCodePage.h"

namespace {

TEST(CodePage, EveryByteRoundTripsThroughUnicode) {
  for (int b = 0; b < 256; ++b) {
    uint8_t back = 0;
    ASSERT_TRUE(UnicodeToAnsi(AnsiToUnicode(static_cast<uint8_t>(b)), back)) << b;
    EXPECT_EQ(back, b);
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  ASSERT_TRUE(Utf8ToAnsi(AnsiToUtf8(all), back));
  EXPECT_EQ(back, all);
}

TEST(CodePage, Utf8Decoding) {
  struct Case {
    const char* name;
    std::string utf8;
    bool ok;
    std::string ansi;
  } cases[] = {
      {"plain", "Cam 1", true, "Cam 1"},
      {"e acute", "caf\xC3\xA9", true, "caf\xE9"},
      {"euro sign", "\xE2\x82\xAC", true, "\x80"},
      {"not in code page", "\xE4\xB8\xAD", true, "?"},
      {"lead byte alone", "\xE9" "A", false, ""},
      {"cut short", "ab\xC3", false, ""},
      {"overlong", "\xC0\xAF", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out = "junk";
    EXPECT_EQ(Utf8ToAnsi(c.utf8, out), c.ok);
    EXPECT_EQ(out, c.ansi);
  }
}

}  // namespace
