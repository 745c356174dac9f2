#pragma once
// Small byte and text helpers of the protocol.

#include <cstdint>
#include <string>

// The word with its four bytes in reverse order.
uint32_t SwapBytes32(uint32_t value);
// Every character below 0x20 becomes "<" + its upper-case name + ">".
std::string ControlCharsToText(const std::string& text);
// The value of a hexadecimal digit of either case, -1 for any other character.
int HexDigit(char c);
// Writes the hexadecimal pairs of text into buf, last pair first (the target
// MAC of a fragment header). Writes nothing outside the 8 bytes.
void HexToBytes(const std::string& text, uint8_t buf[8]);
