#pragma once
// dozusim's log: one line per event, stamped with the local time, written and
// flushed at once so that a script reading the output sees every line as it
// happens. Safe to call from the HTTP worker threads.

#include <iosfwd>
#include <mutex>
#include <string>

#include "USimOptions.h"

class TSimLog {
public:
  TSimLog(TSimVerbosity verbosity, std::ostream& out);

  // Start, stop, reboots, errors: always shown.
  void Notice(const std::string& line);
  // One line per request and answer: hidden with --quiet.
  void Info(const std::string& line);
  // Datagrams, connections, reassembly: shown with --verbose.
  void Detail(const std::string& line);

  bool ShowsInfo() const { return Verbosity_ != TSimVerbosity::Quiet; }
  bool ShowsDetail() const { return Verbosity_ == TSimVerbosity::Verbose; }

private:
  void Write(const std::string& line);
  TSimVerbosity Verbosity_;
  std::ostream& Out_;
  std::mutex Mutex_;
};
