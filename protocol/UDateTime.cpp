// Date-time values as days since 1899-12-30, and their short texts.

#include "UDateTime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr double MsPerDay = 86400000.0;

// Days from 1970-01-01 to y-m-d in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

const int64_t DaysTo1899_12_30 = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Reads an unsigned decimal number of 1 to maxDigits digits at text[pos].
bool ReadNumber(const std::string& text, size_t& pos, int maxDigits, int& value) {
  int digits = 0;
  value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < maxDigits) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++digits;
  }
  return digits > 0;
}

bool ParseDate(const std::string& text, size_t& pos, TDateTimeParts& p) {
  if (!ReadNumber(text, pos, 4, p.Year)) return false;
  if (pos >= text.size() || text[pos] != DateSeparator) return false;
  ++pos;
  if (!ReadNumber(text, pos, 2, p.Month)) return false;
  if (pos >= text.size() || text[pos] != DateSeparator) return false;
  ++pos;
  if (!ReadNumber(text, pos, 2, p.Day)) return false;
  return IsValidDate(p.Year, p.Month, p.Day);
}

bool ParseTime(const std::string& text, size_t& pos, TDateTimeParts& p) {
  if (!ReadNumber(text, pos, 2, p.Hour)) return false;
  if (pos >= text.size() || text[pos] != TimeSeparator) return false;
  ++pos;
  if (!ReadNumber(text, pos, 2, p.Minute)) return false;
  if (pos < text.size() && text[pos] == TimeSeparator) {
    ++pos;
    if (!ReadNumber(text, pos, 2, p.Second)) return false;
  }
  return IsValidTime(p.Hour, p.Minute, p.Second, 0);
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const int limit = days[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
  return day <= limit;
}

bool IsValidTime(int hour, int minute, int second, int millisecond) {
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
         millisecond >= 0 && millisecond < 1000;
}

TDateTime EncodeDateTime(const TDateTimeParts& p) {
  if (!IsValidDate(p.Year, p.Month, p.Day) || !IsValidTime(p.Hour, p.Minute, p.Second, p.Millisecond)) {
    char text[96];
    std::snprintf(text, sizeof text, "'%.4d-%.2d-%.2d %.2d:%.2d:%.2d' is not a valid date and time",
                  p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second);
    throw EConvertError(text);
  }
  const double date = static_cast<double>(
      DaysFromCivil(p.Year, static_cast<unsigned>(p.Month), static_cast<unsigned>(p.Day)) - DaysTo1899_12_30);
  const double time = (((p.Hour * 60.0 + p.Minute) * 60.0 + p.Second) * 1000.0 + p.Millisecond) / MsPerDay;
  // Before the epoch the fraction counts away from zero, as the values are stored.
  return date >= 0 ? date + time : date - time;
}

TDateTimeParts DecodeDateTime(TDateTime value) {
  // Whole milliseconds since the epoch's midnight of the value's day.
  double days = std::trunc(value);
  int64_t ms = RoundHalfEven(std::fabs(value - days) * MsPerDay);
  if (ms >= static_cast<int64_t>(MsPerDay)) {  // rounding reached the next day
    ms -= static_cast<int64_t>(MsPerDay);
    days += value >= 0 ? 1 : -1;
  }
  TDateTimeParts p;
  CivilFromDays(static_cast<int64_t>(days) + DaysTo1899_12_30, p.Year, p.Month, p.Day);
  p.Millisecond = static_cast<int>(ms % 1000);
  const int64_t secs = ms / 1000;
  p.Second = static_cast<int>(secs % 60);
  p.Minute = static_cast<int>(secs / 60 % 60);
  p.Hour = static_cast<int>(secs / 3600);
  return p;
}

std::string FormatShortDate(TDateTime value) {
  const TDateTimeParts p = DecodeDateTime(value);
  char text[32];
  std::snprintf(text, sizeof text, "%.4d%c%.2d%c%.2d", p.Year, DateSeparator, p.Month, DateSeparator, p.Day);
  return text;
}

std::string FormatShortTime(TDateTime value) {
  const TDateTimeParts p = DecodeDateTime(value);
  char text[32];
  std::snprintf(text, sizeof text, "%.2d%c%.2d%c%.2d", p.Hour, TimeSeparator, p.Minute, TimeSeparator, p.Second);
  return text;
}

std::string FormatDateTimeText(TDateTime value) { return FormatShortDate(value) + " " + FormatShortTime(value); }

TDateTime StrToDateTime(const std::string& input) {
  const std::string text = Trim(input);
  TDateTimeParts p;
  size_t pos = 0;
  bool ok = ParseDate(text, pos, p);
  if (ok && pos < text.size()) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    ok = ParseTime(text, pos, p) && pos == text.size();
  }
  if (!ok) throw EConvertError("'" + input + "' is not a valid date and time");
  return EncodeDateTime(p);
}

bool TryStrToDate(const std::string& input, TDateTime& value) {
  const std::string text = Trim(input);
  TDateTimeParts p;
  size_t pos = 0;
  if (!ParseDate(text, pos, p) || pos != text.size()) return false;
  value = EncodeDateTime(p);
  return true;
}

TDateTime Now() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  TDateTimeParts p{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms)};
  return EncodeDateTime(p);
}

int64_t RoundHalfEven(double value) { return static_cast<int64_t>(std::nearbyint(value)); }
