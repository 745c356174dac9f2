#include <gtest/gtest.h>

#include "UDateTime.h"

namespace {

TEST(DateTime, KnownValues) {
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 30}), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({1900, 1, 1}), 2.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2014, 3, 7}), 41705.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2014, 3, 7, 12, 0, 0}), 41705.5);
  EXPECT_EQ(FormatDateTimeText(EncodeDateTime({2014, 3, 7, 9, 5, 0})), "2014-03-07 09:05:00");
  EXPECT_EQ(FormatShortDate(0.0), "1899-12-30");
}

TEST(DateTime, RoundTripsEveryPart) {
  const TDateTimeParts p{2015, 3, 7, 9, 5, 3, 250};
  const TDateTimeParts q = DecodeDateTime(EncodeDateTime(p));
  EXPECT_EQ(q.Year, 2015);
  EXPECT_EQ(q.Month, 3);
  EXPECT_EQ(q.Day, 7);
  EXPECT_EQ(q.Hour, 9);
  EXPECT_EQ(q.Minute, 5);
  EXPECT_EQ(q.Second, 3);
  EXPECT_EQ(q.Millisecond, 250);
}

TEST(DateTime, InvalidPartsRaise) {
  EXPECT_THROW(EncodeDateTime({2014, 0, 7}), EConvertError);
  EXPECT_THROW(EncodeDateTime({2015, 2, 29}), EConvertError);
  EXPECT_THROW(EncodeDateTime({2014, 3, 7, 24, 0, 0}), EConvertError);
  EXPECT_THROW(StrToDateTime("2014-13-01 00:00:00"), EConvertError);
  EXPECT_NO_THROW(EncodeDateTime({2016, 2, 29}));
}

TEST(DateTime, ParsesShortTexts) {
  EXPECT_DOUBLE_EQ(StrToDateTime("2014-03-07 12:00:00"), 41705.5);
  TDateTime v = -1;
  EXPECT_TRUE(TryStrToDate("2014-03-07", v));
  EXPECT_DOUBLE_EQ(v, 41705.0);
  EXPECT_FALSE(TryStrToDate("0000-00-00", v));
  EXPECT_FALSE(TryStrToDate("07.03.2014", v));
}

TEST(DateTime, RoundsHalfToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.6), 3);
}

}  // namespace
