#pragma once
// The text of the error log pane, from the payload of a MSG_GET_ERRORS reply:
// nine header lines, then eight lines per entry.
//
// Payload layout (offsets in bytes, numbers signed 32-bit little-endian, texts
// 8-bit and ended by a zero byte or by the end of their field):
//   0 firmware description (40)   40 compilation date (16)   56 time (12)
//   68 total errors count   72 errors buffer size   76 system timer (ms)
//   80 free memory   84 used memory   88 three words not shown
//   100 number of entries n   104 n entries of 128 bytes:
//     0 description (64)   64 code   68 source file (32)   100 line
//     104 system timer (ms)   108 free memory   112 used memory   116 unused

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr size_t ErrorLogHeaderSize = 104;
inline constexpr size_t ErrorLogEntrySize = 128;

// Nothing is read beyond length: header fields that the payload does not hold
// read as 0 and as empty texts, and only entries that lie whole inside the
// payload are shown.
std::vector<std::string> ErrorReportLines(const uint8_t* payload, size_t length);
