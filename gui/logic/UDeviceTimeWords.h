#pragma once
// The camera clock as the DATE/TIME page sends it, and the page's pickers.

#include <array>
#include <cstdint>
#include <string>

#include "UDateTime.h"

// The three values of the TIME parameter (12026) for a date-time value:
//   year << 16 | month << 8 | day,  minute << 16 | hour,  millisecond << 16 | second
// (2015-03-07 09:05:03.250 gives 0x07DF0307, 0x00050009, 0x00FA0003).
std::array<uint32_t, 3> DeviceTimeWords(TDateTime value);

// The date picker's value for its text: today (the whole day of now) when the
// text is empty or "0", the date a valid short date names, and day zero
// (1899-12-30) for anything else, such as the initial "0000-00-00".
TDateTime DatePickerValue(const std::string& text, TDateTime now);

// The whole-day part of date with the time of day of time ("Write").
TDateTime CombineDateAndTime(TDateTime date, TDateTime time);
