#pragma once
// Date-time values are days since 1899-12-30 with the time of day as the
// fraction. Texts use the short formats of both tools on every platform:
// date "yyyy-mm-dd" (separator "-") and time "hh:nn:ss" (separator ":").

#include <cstdint>
#include <string>

#include "UErrors.h"

using TDateTime = double;

struct TDateTimeParts {
  int Year = 0, Month = 0, Day = 0;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

inline constexpr char DateSeparator = '-';
inline constexpr char TimeSeparator = ':';

bool IsValidDate(int year, int month, int day);
bool IsValidTime(int hour, int minute, int second, int millisecond);

// Throws EConvertError when the parts do not form a valid date and time.
TDateTime EncodeDateTime(const TDateTimeParts& parts);
// Splits a value into its parts; milliseconds are rounded half to even.
TDateTimeParts DecodeDateTime(TDateTime value);

// "yyyy-mm-dd", "hh:nn:ss" and "yyyy-mm-dd hh:nn:ss" of a value.
std::string FormatShortDate(TDateTime value);
std::string FormatShortTime(TDateTime value);
std::string FormatDateTimeText(TDateTime value);

// Reads "yyyy-mm-dd", "yyyy-mm-dd hh:nn:ss" or "yyyy-mm-dd hh:nn" in the short
// formats; throws EConvertError ("'<text>' is not a valid date and time").
TDateTime StrToDateTime(const std::string& text);
// Reads a short date; returns false and leaves value alone when invalid.
bool TryStrToDate(const std::string& text, TDateTime& value);

// The PC clock as a local date-time value, with milliseconds.
TDateTime Now();

// Rounds to the nearest integer, ties to even (the tools' one rounding rule).
int64_t RoundHalfEven(double value);
