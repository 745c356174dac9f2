// Small byte and text helpers of the protocol.

#include "UTools.h"

#include <cctype>

#include "Ascii.h"

uint32_t SwapBytes32(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

std::string ControlCharsToText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) {
      out += '<';
      for (const char* n = AsciiNames[byte]; *n; ++n) out += static_cast<char>(std::toupper(static_cast<unsigned char>(*n)));
      out += '>';
    } else {
      out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void HexToBytes(const std::string& text, uint8_t buf[8]) {
  // Pairs are separated by one character each; the last pair lands first. A
  // text with more than eight pairs would start beyond the buffer: pairs whose
  // place lies outside the eight bytes are skipped.
  long pos = static_cast<long>(text.size() / 3);
  for (size_t i = 0; i + 2 <= text.size(); i += 3, --pos) {
    const int hi = HexDigit(text[i]);
    const int lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return;
    if (pos >= 0 && pos < 8) buf[pos] = static_cast<uint8_t>(hi * 16 + lo);
  }
}
