#pragma once
// Lumicon's command line: options in any order, "-" or "/", any case; a later
// option overrides an earlier one.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* LumiconUsage = "usage: lumicon.exe [-?] [-ip:<ipaddr>] [-udp:<msgno>] [-tcp:<msgno>]";

struct TLumiconRequest {
  bool ShowUsage = false;      // "-?": print the usage line, send nothing
  uint32_t MsgNumber = 4096;   // MSG_DEVICE_INFO
  bool Tcp = false;            // UDP unless "-tcp:" came last
  std::string Host;            // empty: broadcast
  bool operator==(const TLumiconRequest&) const = default;
};

// Reads a whole text as a 32-bit integer: leading blanks, an optional sign,
// then decimal digits, or hexadecimal after "$" or "0x". False when the text
// is anything else or does not fit.
bool ParseInteger(const std::string& text, int32_t& value);

// The request the arguments (without the program name) ask for.
TLumiconRequest ParseCommandLine(const std::vector<std::string>& args);
