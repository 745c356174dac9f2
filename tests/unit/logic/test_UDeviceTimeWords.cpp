#include <gtest/gtest.h>

#include <string>

#include "UDeviceTimeWords.h"

namespace {

TEST(DeviceTimeWords, PacksDateTimeIntoThreeWords) {
  struct Case {
    TDateTimeParts when;
    uint32_t w1, w2, w3;
  } cases[] = {
      {{2015, 3, 7, 9, 5, 3, 250}, 0x07DF0307, 0x00050009, 0x00FA0003},
      {{1899, 12, 30, 0, 0, 0, 0}, 0x076B0C1E, 0, 0},
      {{2099, 12, 31, 23, 59, 59, 999}, 0x08330C1F, 0x003B0017, 0x03E7003B},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.when.Year);
    const auto w = DeviceTimeWords(EncodeDateTime(c.when));
    EXPECT_EQ(w[0], c.w1);
    EXPECT_EQ(w[1], c.w2);
    EXPECT_EQ(w[2], c.w3);
  }
}

TEST(DeviceTimeWords, DatePickerReadsItsText) {
  const TDateTime now = EncodeDateTime({2015, 3, 7, 9, 5, 3, 250});
  struct Case {
    std::string text;
    TDateTime expected;
  } cases[] = {
      {"", EncodeDateTime({2015, 3, 7})},
      {"0", EncodeDateTime({2015, 3, 7})},
      {"2014-05-06", EncodeDateTime({2014, 5, 6})},
      {"0000-00-00", 0.0},
      {"2015-02-29", 0.0},
      {"06.05.2014", 0.0},
      {"00", 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(DatePickerValue(c.text, now), c.expected);
  }
}

TEST(DeviceTimeWords, WriteTakesTheDayOfTheDateAndTheTimeOfDayOfTheTime) {
  const TDateTime time = EncodeDateTime({2001, 1, 1, 12, 30, 0});
  // The initial "0000-00-00" sends 1899-12-30 with the picker's time.
  const auto w = DeviceTimeWords(CombineDateAndTime(DatePickerValue("0000-00-00", 0), time));
  EXPECT_EQ(w[0], 0x076B0C1Eu);
  EXPECT_EQ(w[1], 0x001E000Cu);
  EXPECT_EQ(w[2], 0u);
  EXPECT_DOUBLE_EQ(CombineDateAndTime(EncodeDateTime({2015, 3, 7, 23, 0, 0}), time),
                   EncodeDateTime({2015, 3, 7, 12, 30, 0}));
  // Before the epoch the fraction counts away from zero.
  EXPECT_EQ(FormatDateTimeText(CombineDateAndTime(EncodeDateTime({1899, 12, 29}), time)), "1899-12-29 12:30:00");
}

}  // namespace
