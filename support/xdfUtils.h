#pragma once
// The working parts of the formatted text scanner (see CFunctions.h): format
// tokens, conversions, character sets, field reading and the numeric checks.
// Exposed for the scanner's own tests; callers use ScanFormat.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// A set of the 256 byte values, one bit each.
class TCharSet {
public:
  static TCharSet Full();
  static TCharSet Of(std::string_view chars);  // each character listed
  void Add(uint8_t c) { FBits[c >> 3] |= static_cast<uint8_t>(1u << (c & 7)); }
  void Remove(uint8_t c) { FBits[c >> 3] &= static_cast<uint8_t>(~(1u << (c & 7))); }
  void AddRange(uint8_t first, uint8_t last);
  bool Has(uint8_t c) const { return (FBits[c >> 3] >> (c & 7)) & 1u; }
  bool Has(char c) const { return Has(static_cast<uint8_t>(c)); }
  bool Empty() const;
  bool operator==(const TCharSet&) const = default;

private:
  std::array<uint8_t, 32> FBits{};
};

// A broken format ("Bad format string") or character set ("BAD SET : " and
// the set text). It ends a scan quietly and never reaches ScanFormat's caller.
class EBadFormat : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum class TFieldKind {
  Character,  // c
  ShortInt,   // h
  Integer,    // d
  LongInt,    // i
  Floating,   // e f g
  Money,      // m
  String,     // s
  Hex,        // x
  Pointer,    // p
  Unsigned,   // u
  Literal,    // a literal format character, or %%
  WhiteSpace, // white space in the format
};

struct TConversion {
  TFieldKind Kind = TFieldKind::Literal;
  int Width = -1;        // -1: unlimited
  bool Store = false;
  TCharSet Set;          // empty: the kind's default (see ScanField)
  std::string Token;     // the format token; a literal field must match it
};

// White space of the scanner: backspace, LF, CR and space (not tab).
bool IsScanWhiteSpace(char c);

// Cuts the next token from format at pos and moves pos past it.
std::string NextFormatToken(std::string_view format, size_t& pos);
// Field kind, width, store flag and set of one token.
TConversion ParseConversion(const std::string& token);
// The set text between the brackets of a "%[...]" conversion.
TCharSet ParseCharSet(std::string_view setText);

struct TScannedField {
  std::string Text;
  bool EndOfInput = false;
};
// Reads one field from input at pos and moves pos past what it took.
TScannedField ScanField(const TConversion& conv, std::string_view input, size_t& pos);

// Whether the field's text converts to its kind.
bool CheckField(const TConversion& conv, std::string_view text);

// "0x"/"0X" dropped, then "$" put in front unless there is one.
std::string NormaliseHex(std::string_view text);
// Optional sign, digits with at most one ".", optional exponent.
bool TryTextToFloat(std::string_view text, long double& value);
// The same syntax as a value times 10000, rounded half to even, exactly; false
// when it leaves the 64-bit range.
bool TryTextToCurrency(std::string_view text, int64_t& value);
