#include "USimAddress.h"

#include <cstdio>

#include "UTools.h"

bool ParseIPv4(std::string_view text, uint32_t& address) {
  uint32_t value = 0;
  size_t pos = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (pos >= text.size() || text[pos] != '.') return false;
      ++pos;
    }
    size_t digits = 0;
    uint32_t octet = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
      octet = octet * 10 + static_cast<uint32_t>(text[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || digits > 3 || octet > 255) return false;
    value = (value << 8) | octet;
  }
  if (pos != text.size()) return false;
  address = value;
  return true;
}

std::string FormatIPv4(uint32_t address) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF,
                (address >> 8) & 0xFF, address & 0xFF);
  return buf;
}

bool ParseMac(std::string_view text, TSimMac& mac) {
  if (text.size() != 17) return false;
  TSimMac out{};
  for (size_t i = 0; i < 6; ++i) {
    const size_t at = i * 3;
    if (i > 0 && text[at - 1] != '-' && text[at - 1] != ':') return false;
    const int hi = HexDigit(text[at]);
    const int lo = HexDigit(text[at + 1]);
    if (hi < 0 || lo < 0) return false;
    out[i] = static_cast<uint8_t>(hi * 16 + lo);
  }
  mac = out;
  return true;
}

std::string FormatMac(const TSimMac& mac) {
  char buf[18];
  std::snprintf(buf, sizeof buf, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2], mac[3],
                mac[4], mac[5]);
  return buf;
}
