#pragma once
// IPv4 and MAC addresses as the simulated cameras hold them: an IPv4 address
// is a 32-bit value whose most significant byte is the first octet, a MAC is
// six octets in natural order.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using TSimMac = std::array<uint8_t, 6>;

// "a.b.c.d" with each part 0..255; false for anything else.
bool ParseIPv4(std::string_view text, uint32_t& address);
std::string FormatIPv4(uint32_t address);
// Six two-digit hexadecimal pairs joined by "-" or ":".
bool ParseMac(std::string_view text, TSimMac& mac);
// "00-0A-1B-2C-3D-4E", as the tools show MACs.
std::string FormatMac(const TSimMac& mac);

inline bool IsLoopback(uint32_t address) { return (address >> 24) == 127; }
inline bool SameSubnet(uint32_t a, uint32_t b, uint32_t netmask) {
  return (a & netmask) == (b & netmask);
}
