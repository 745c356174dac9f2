#pragma once
// Integer texts as the tools read them everywhere: INI values, the image
// information block and the numeric fields of the text scanner.
//
//   [+|-] decimal digits                 the value must fit the range
//   [+|-] prefix hexadecimal digits      prefix "$", "x", "X", "0x" or "0X";
//                                        at most 8 (64-bit: 16) digits, values
//                                        from the top bit up wrap negative
//
// Nothing else: no blanks, no fraction, no empty text.

#include <cstdint>
#include <string_view>

// Which hexadecimal prefixes a reader accepts. The tool's own settings file
// takes only "0x" and "$"; every other reader takes all five.
enum class TIntSyntax {
  AllHexPrefixes,  // "$", "x", "X", "0x", "0X"
  DollarOr0x,      // "$", "0x"
};

bool TryStrToInt32(std::string_view text, int32_t& value,
                   TIntSyntax syntax = TIntSyntax::AllHexPrefixes);
bool TryStrToInt64(std::string_view text, int64_t& value,
                   TIntSyntax syntax = TIntSyntax::AllHexPrefixes);

// The value of text, or fallback when it is not an integer text.
int32_t StrToInt32Def(std::string_view text, int32_t fallback,
                      TIntSyntax syntax = TIntSyntax::AllHexPrefixes);
