#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Ascii.h"
#include "UTools.h"

namespace {

TEST(Tools, SwapBytes32) {
  EXPECT_EQ(SwapBytes32(0x0100A8C0u), 0xC0A80001u);
  EXPECT_EQ(SwapBytes32(0x11223344u), 0x44332211u);
}

TEST(Tools, ControlCharsToText) {
  EXPECT_EQ(ControlCharsToText("A\r\n B"), "A<CR><LF> B");
  EXPECT_EQ(ControlCharsToText(std::string("\0\x1F\x7F\xE9", 4)), "<NUL><US>\x7F\xE9");
  EXPECT_STREQ(AsciiNames[0], "nul");
  EXPECT_STREQ(AsciiNames[27], "esc");
  EXPECT_STREQ(AsciiNames[31], "us");
}

TEST(Tools, HexDigit) {
  // The neighbours of each digit range are no digits.
  const char digits[] = "09afAF";
  const int values[] = {0, 9, 10, 15, 10, 15};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(HexDigit(digits[i]), values[i]) << digits[i];
  for (char c : std::string("/:`g@G -\xff")) EXPECT_EQ(HexDigit(c), -1) << c;
}

TEST(Tools, HexToBytes) {
  struct Case {
    const char* name;
    const char* text;
    uint8_t expected[10];  // 8 bytes and two guards after them
  } cases[] = {
      {"mac with dashes", "00-0A-1B-2C-3D-4E", {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0x77, 0x77, 0x77, 0x77}},
      {"any separator, lower case", "aa:bb.cc dd/ee_ff", {0xFF, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA, 0x77, 0x77, 0x77, 0x77}},
      {"bad pair ends the parse", "11-22-zz-44-55-66", {0x77, 0x77, 0x77, 0x77, 0x22, 0x11, 0x77, 0x77, 0x77, 0x77}},
      {"eight pairs fill all", "01-02-03-04-05-06-07-08", {0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x77, 0x77}},
      // Ten pairs would start at place 9: only places inside the 8 bytes are written.
      {"more than eight pairs", "01-02-03-04-05-06-07-08-09-0A",
       {0x0A, 0x09, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x77, 0x77}},
      {"empty", "", {0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uint8_t buf[10];
    std::memset(buf, 0x77, sizeof buf);
    HexToBytes(c.text, buf);
    EXPECT_EQ(0, std::memcmp(buf, c.expected, sizeof buf));
  }
}

}  // namespace
