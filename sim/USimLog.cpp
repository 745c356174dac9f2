#include "USimLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <ostream>

TSimLog::TSimLog(TSimVerbosity verbosity, std::ostream& out) : Verbosity_(verbosity), Out_(out) {}

void TSimLog::Notice(const std::string& line) { Write(line); }

void TSimLog::Info(const std::string& line) {
  if (ShowsInfo()) Write(line);
}

void TSimLog::Detail(const std::string& line) {
  if (ShowsDetail()) Write(line);
}

void TSimLog::Write(const std::string& line) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  localtime_r(&t, &tm);
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d ", tm.tm_hour, tm.tm_min, tm.tm_sec, static_cast<int>(ms));
  std::lock_guard<std::mutex> lock(Mutex_);
  Out_ << stamp << line << '\n';
  Out_.flush();
}
