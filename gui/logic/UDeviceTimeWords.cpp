// Clock words and date picker rules.

#include "UDeviceTimeWords.h"

#include <cmath>

std::array<uint32_t, 3> DeviceTimeWords(TDateTime value) {
  const TDateTimeParts p = DecodeDateTime(value);
  const auto u = [](int v) { return static_cast<uint32_t>(v); };
  return {(u(p.Year) & 0xFFFF) << 16 | (u(p.Month) & 0xFF) << 8 | (u(p.Day) & 0xFF),
          u(p.Minute) << 16 | u(p.Hour),
          u(p.Millisecond) << 16 | u(p.Second)};
}

TDateTime DatePickerValue(const std::string& text, TDateTime now) {
  if (text.empty() || text == "0") return std::trunc(now);
  TDateTime value = 0.0;
  if (TryStrToDate(text, value)) return value;
  return 0.0;
}

TDateTime CombineDateAndTime(TDateTime date, TDateTime time) {
  const double day = std::trunc(date);
  const double fraction = std::fabs(time - std::trunc(time));
  // Before the epoch the fraction counts away from zero, as values are stored.
  return day < 0 ? day - fraction : day + fraction;
}
