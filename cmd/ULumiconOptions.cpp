// Lumicon's command line.

#include "ULumiconOptions.h"

#include <cctype>

bool ParseInteger(const std::string& text, int32_t& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else return false;
    magnitude = magnitude * base + digit;
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  // Decimal must fit a signed word; hexadecimal may use all 32 bits.
  if (base == 10 && magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  const uint32_t bits = static_cast<uint32_t>(magnitude);
  value = static_cast<int32_t>(negative ? 0u - bits : bits);
  return true;
}

TLumiconRequest ParseCommandLine(const std::vector<std::string>& args) {
  TLumiconRequest r;
  for (const std::string& arg : args) {
    std::string a = arg;
    for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (a.size() < 2 || (a[0] != '-' && a[0] != '/')) continue;
    a.erase(0, 1);
    int32_t number = 0;
    if (a.starts_with("?")) {
      r.ShowUsage = true;
      break;  // later arguments are not looked at
    } else if (a.starts_with("ip:")) {
      r.Host = a.substr(3);
    } else if (a.starts_with("udp:")) {
      if (ParseInteger(a.substr(4), number)) r.MsgNumber = static_cast<uint32_t>(number);
      r.Tcp = false;
    } else if (a.starts_with("tcp:")) {
      if (ParseInteger(a.substr(4), number)) r.MsgNumber = static_cast<uint32_t>(number);
      r.Tcp = true;
    }
  }
  return r;
}
