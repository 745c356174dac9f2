#pragma once
// ScanFormat: reads fields out of a text under a format of literal characters
// and %-conversions, in the manner of the C library's sscanf, and stores them
// into typed targets. It keeps no state; calls may run on any thread.
//
// Format: a white-space character (backspace, LF, CR, space; not tab) matches
// any amount of white space, also none; any other character must match the
// next non-blank input character; a conversion is
//   %[*][width][set]letter      set: [abc], [a-z], [^,], with \ escaping
// Letters and their targets:
//   c  std::span<char> / char      characters copied (no blanks skipped)
//   d  int32_t (or uint32_t)       decimal
//   h  int16_t                     low 16 bits of a 32-bit integer
//   i  int64_t                     64-bit integer
//   m  int64_t                     money: value times 10000, half to even
//   e f g  long double             floating
//   p  int32_t (or uint32_t)       integer with "$", "x" prefixes
//   s  std::string / TShortString  a word, or the characters of [set]
//   u  uint32_t (or int32_t)       low 32 bits of a 64-bit integer
//   x  int32_t (or uint32_t)       hexadecimal
//   %% matches "%%" in the input
// Returns the number of fields stored. A broken format, a literal that does
// not match or a number that does not convert ends the scan quietly.

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "UErrors.h"

// A text of at most 255 characters with its length in front.
struct TShortString {
  uint8_t Length = 0;
  std::array<char, 255> Chars{};
  std::string Str() const { return std::string(Chars.data(), Length); }
};

// One target of a scan: a reference to the caller's variable; its type is
// its tag.
class TScanTarget {
public:
  using TRef = std::variant<std::span<char>, int16_t*, int32_t*, uint32_t*, int64_t*, long double*,
                            std::string*, TShortString*>;
  TScanTarget(char& c) : Ref(std::span<char>(&c, 1)) {}
  TScanTarget(std::span<char> chars) : Ref(chars) {}
  TScanTarget(int16_t& v) : Ref(&v) {}
  TScanTarget(int32_t& v) : Ref(&v) {}
  TScanTarget(uint32_t& v) : Ref(&v) {}
  TScanTarget(int64_t& v) : Ref(&v) {}
  TScanTarget(long double& v) : Ref(&v) {}
  TScanTarget(std::string& v) : Ref(&v) {}
  TScanTarget(TShortString& v) : Ref(&v) {}
  TRef Ref;
};

// More conversions to store than targets given. Fields stored before stay.
class EScanFormatError : public EZudirirError {
public:
  explicit EScanFormatError(const std::string& message) : EZudirirError("EScanFormatError", message) {}
};
inline constexpr const char* InsufficientPointersText = "Insufficent pointers for format specifiers!";

// A target whose type cannot take the conversion it is given to: a fault of
// the calling code, not of the scanned text.
class EScanTargetError : public std::invalid_argument {
public:
  using std::invalid_argument::invalid_argument;
};

int ScanFormat(std::string_view input, std::string_view format, std::span<const TScanTarget> targets);

// ScanFormat(input, format, a, b, c) with the targets named in order.
template <class... T>
  requires(std::is_constructible_v<TScanTarget, T&> && ...)
int ScanFormat(std::string_view input, std::string_view format, T&... targets) {
  if constexpr (sizeof...(T) == 0) {
    return ScanFormat(input, format, std::span<const TScanTarget>());
  } else {
    const TScanTarget list[] = {TScanTarget(targets)...};
    return ScanFormat(input, format, std::span<const TScanTarget>(list));
  }
}
