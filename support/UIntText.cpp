#include "UIntText.h"

#include "UTools.h"

namespace {

// Length of the hexadecimal prefix at the start of text, 0 when none.
size_t HexPrefix(std::string_view text, TIntSyntax syntax) {
  if (text.empty()) return 0;
  if (text[0] == '$') return 1;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || (text[1] == 'X' && syntax == TIntSyntax::AllHexPrefixes)))
    return 2;
  if (syntax == TIntSyntax::AllHexPrefixes && (text[0] == 'x' || text[0] == 'X')) return 1;
  return 0;
}

// Parses into the low `bits` bits; hexadecimal wraps, decimal must fit the
// signed range of that width.
bool ParseInt(std::string_view text, int bits, TIntSyntax syntax, uint64_t& out) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const uint64_t mask = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
  uint64_t magnitude = 0;
  if (const size_t prefix = HexPrefix(text, syntax)) {
    text.remove_prefix(prefix);
    if (text.empty() || text.size() > static_cast<size_t>(bits / 4)) return false;
    for (char c : text) {
      const int d = HexDigit(c);
      if (d < 0) return false;
      magnitude = (magnitude << 4) | static_cast<uint64_t>(d);
    }
  } else {
    if (text.empty()) return false;
    // The largest magnitude: 2^(bits-1) for a negative value, one less otherwise.
    const uint64_t limit = (uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
    for (char c : text) {
      if (c < '0' || c > '9') return false;
      const uint64_t d = static_cast<uint64_t>(c - '0');
      if (magnitude > (limit - d) / 10) return false;
      magnitude = magnitude * 10 + d;
    }
  }
  out = (negative ? (~magnitude + 1) : magnitude) & mask;
  return true;
}

}  // namespace

bool TryStrToInt32(std::string_view text, int32_t& value, TIntSyntax syntax) {
  uint64_t bits;
  if (!ParseInt(text, 32, syntax, bits)) return false;
  value = static_cast<int32_t>(static_cast<uint32_t>(bits));
  return true;
}

bool TryStrToInt64(std::string_view text, int64_t& value, TIntSyntax syntax) {
  uint64_t bits;
  if (!ParseInt(text, 64, syntax, bits)) return false;
  value = static_cast<int64_t>(bits);
  return true;
}

int32_t StrToInt32Def(std::string_view text, int32_t fallback, TIntSyntax syntax) {
  int32_t value;
  return TryStrToInt32(text, value, syntax) ? value : fallback;
}
