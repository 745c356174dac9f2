#pragma once
// The tools' 8-bit texts use one fixed code page on every platform:
// Windows-1252, with its five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// mapped to the C1 control characters of the same number. Every byte value
// 0 to 255 thus maps to one Unicode character and back, so a camera's file
// goes into an editor and back to the camera byte for byte.

#include <cstdint>
#include <string>
#include <string_view>

// The Unicode character of one 8-bit character.
char32_t AnsiToUnicode(uint8_t byte);
// The 8-bit character of a Unicode character; false when the code page lacks it.
bool UnicodeToAnsi(char32_t ch, uint8_t& byte);

inline constexpr char AnsiSubstitute = '?';

// Decodes UTF-8 into 8-bit text (characters the code page lacks become '?').
// Returns false, and an empty text, when the bytes are not valid UTF-8.
bool Utf8ToAnsi(std::string_view utf8, std::string& ansi);
// Encodes 8-bit text as UTF-8.
std::string AnsiToUtf8(std::string_view ansi);
