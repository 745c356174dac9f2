#pragma once
// Names of the ASCII control characters 0 to 31, lower case, in code order.

inline constexpr int AsciiNameCount = 32;
extern const char* const AsciiNames[AsciiNameCount];
