#include "xdfUtils.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "UIntText.h"

namespace {

const char* const BadFormatString = "Bad format string";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What a field reads when its conversion names no set.
const TCharSet& AnyButWhiteSpace() {
  static const TCharSet set = [] {
    TCharSet s = TCharSet::Full();
    for (char c : {'\b', '\n', '\r', ' '}) s.Remove(static_cast<uint8_t>(c));
    return s;
  }();
  return set;
}

const TCharSet& AnyCharacter() {
  static const TCharSet set = TCharSet::Full();
  return set;
}

// The fixed sets of the conversion letters.
TCharSet DigitsAnd(std::string_view extra) {
  TCharSet s = TCharSet::Of(extra);
  s.AddRange('0', '9');
  return s;
}

// The parts of a floating text: sign, digits without the point, the count of
// digits after the point and the exponent.
struct TDecimalText {
  bool Negative = false;
  std::string Digits;
  long FractionDigits = 0;
  long Exponent = 0;
};

bool SplitDecimalText(std::string_view text, TDecimalText& out) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) out.Negative = text[i++] == '-';
  bool point = false;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      out.Digits += text[i];
      if (point) ++out.FractionDigits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (out.Digits.empty()) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    for (; i < text.size() && IsDigit(text[i]); ++i)
      if (out.Exponent < 1000000) out.Exponent = out.Exponent * 10 + (text[i] - '0');  // far past any range
    if (negative) out.Exponent = -out.Exponent;
  }
  return i == text.size();
}

}  // namespace

TCharSet TCharSet::Full() {
  TCharSet s;
  s.FBits.fill(0xFF);
  return s;
}

TCharSet TCharSet::Of(std::string_view chars) {
  TCharSet s;
  for (char c : chars) s.Add(static_cast<uint8_t>(c));
  return s;
}

void TCharSet::AddRange(uint8_t first, uint8_t last) {
  for (unsigned c = first; c <= last; ++c) Add(static_cast<uint8_t>(c));
}

bool TCharSet::Empty() const {
  for (uint8_t b : FBits)
    if (b) return false;
  return true;
}

bool IsScanWhiteSpace(char c) { return c == '\b' || c == '\n' || c == '\r' || c == ' '; }

std::string NextFormatToken(std::string_view format, size_t& pos) {
  if (pos >= format.size()) throw EBadFormat(BadFormatString);
  const char first = format[pos++];
  if (first != '%') {
    if (IsScanWhiteSpace(first))
      while (pos < format.size() && IsScanWhiteSpace(format[pos])) ++pos;
    return std::string(1, first);
  }
  std::string token(1, first);
  bool inSet = false;
  for (;;) {
    if (pos >= format.size()) throw EBadFormat(BadFormatString);
    const char c = format[pos++];
    token += c;
    if (inSet) {
      if (c == '\\') {
        if (pos >= format.size()) throw EBadFormat(BadFormatString);
        token += format[pos++];
      } else if (c == ']') {
        if (pos < format.size() && std::string_view("csCS").find(format[pos]) != std::string_view::npos)
          token += format[pos++];
        return token;
      }
    } else if (c == '[') {
      inSet = true;
    } else if (c != '*' && !IsDigit(c)) {
      return token;
    }
  }
}

TCharSet ParseCharSet(std::string_view setText) {
  const auto bad = [&] { return EBadFormat("BAD SET : " + std::string(setText)); };
  std::string_view t = setText;
  const bool negate = !t.empty() && t.front() == '^';
  if (negate) t.remove_prefix(1);
  size_t i = 0;
  const auto readItem = [&]() -> uint8_t {
    if (t[i] == '\\') {
      if (i + 1 >= t.size()) throw bad();
      i += 2;
      return static_cast<uint8_t>(t[i - 1]);
    }
    return static_cast<uint8_t>(t[i++]);
  };
  TCharSet items;
  while (i < t.size()) {
    const uint8_t first = readItem();
    if (i + 1 < t.size() && t[i] == '-') {
      ++i;
      const uint8_t last = readItem();
      if (first > last) throw bad();
      items.AddRange(first, last);
    } else {
      items.Add(first);
    }
  }
  if (!negate) return items;
  TCharSet set = TCharSet::Full();
  for (unsigned c = 0; c < 256; ++c)
    if (items.Has(static_cast<uint8_t>(c))) set.Remove(static_cast<uint8_t>(c));
  return set;
}

TConversion ParseConversion(const std::string& token) {
  TConversion conv;
  conv.Token = token;
  if (token.empty()) throw EBadFormat(BadFormatString);
  if (token[0] != '%') {
    conv.Kind = IsScanWhiteSpace(token[0]) ? TFieldKind::WhiteSpace : TFieldKind::Literal;
    conv.Width = conv.Kind == TFieldKind::WhiteSpace ? -1 : static_cast<int>(token.size());
    return conv;
  }
  std::string t = token.substr(1);
  if (t.empty()) throw EBadFormat(BadFormatString);
  char letter = 's';
  if (t.back() != ']') {
    letter = t.back();
    t.pop_back();
  }
  bool hasSet = false;
  if (const size_t open = t.find('['); open != std::string::npos) {
    size_t close = open + 1;
    while (close < t.size() && t[close] != ']') close += t[close] == '\\' ? 2 : 1;
    if (close >= t.size()) throw EBadFormat(BadFormatString);
    conv.Set = ParseCharSet(std::string_view(t).substr(open + 1, close - open - 1));
    hasSet = true;
    t.erase(open, close - open + 1);
  }
  conv.Store = true;
  if (const size_t star = t.find('*'); star != std::string::npos) {
    conv.Store = false;
    t.erase(star, 1);
  }
  if (!t.empty()) {
    int64_t width = 0;
    for (char c : t) {
      if (!IsDigit(c)) throw EBadFormat(BadFormatString);
      width = width * 10 + (c - '0');
      if (width > std::numeric_limits<int>::max()) throw EBadFormat(BadFormatString);
    }
    conv.Width = static_cast<int>(width);
  }
  switch (letter) {
    case 'c':
      conv.Kind = TFieldKind::Character;
      if (t.empty()) conv.Width = 1;  // one character unless a width says more
      break;
    case 's': conv.Kind = TFieldKind::String; break;
    case 'd': conv.Kind = TFieldKind::Integer; conv.Set = DigitsAnd("-"); break;
    case 'h': conv.Kind = TFieldKind::ShortInt; conv.Set = DigitsAnd("-"); break;
    case 'i': conv.Kind = TFieldKind::LongInt; conv.Set = DigitsAnd("-"); break;
    case 'm': conv.Kind = TFieldKind::Money; conv.Set = DigitsAnd("-"); break;
    case 'e':
    case 'f':
    case 'g': conv.Kind = TFieldKind::Floating; conv.Set = DigitsAnd("+-.Ee"); break;
    case 'p': conv.Kind = TFieldKind::Pointer; conv.Set = DigitsAnd("$-Xx"); break;
    case 'u': conv.Kind = TFieldKind::Unsigned; conv.Set = DigitsAnd(""); break;
    case 'x':
      conv.Kind = TFieldKind::Hex;
      conv.Set = DigitsAnd("$Xx");
      conv.Set.AddRange('A', 'F');
      conv.Set.AddRange('a', 'f');
      break;
    case '%':
      if (!t.empty() || !conv.Store || hasSet) throw EBadFormat(BadFormatString);
      conv.Kind = TFieldKind::Literal;
      conv.Store = false;
      conv.Set = AnyButWhiteSpace();
      break;
    default: throw EBadFormat(BadFormatString);
  }
  return conv;
}

TScannedField ScanField(const TConversion& conv, std::string_view input, size_t& pos) {
  TScannedField field;
  const bool character = conv.Kind == TFieldKind::Character;
  if (!character) {
    while (pos < input.size() && IsScanWhiteSpace(input[pos])) ++pos;
  }
  if (pos >= input.size()) {
    field.EndOfInput = true;
    return field;
  }
  if (conv.Kind == TFieldKind::WhiteSpace) return field;
  const TCharSet& set = !conv.Set.Empty() ? conv.Set : character ? AnyCharacter() : AnyButWhiteSpace();
  const size_t start = pos;
  while (pos < input.size() && (conv.Width < 0 || pos - start < static_cast<size_t>(conv.Width)) &&
         set.Has(input[pos]))
    ++pos;
  field.Text.assign(input.substr(start, pos - start));
  return field;
}

std::string NormaliseHex(std::string_view text) {
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  std::string out(text);
  if (out.empty() || out[0] != '$') out.insert(out.begin(), '$');
  return out;
}

bool TryTextToFloat(std::string_view text, long double& value) {
  TDecimalText parts;
  if (!SplitDecimalText(text, parts)) return false;
  if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no "+"
  long double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (end != text.data() + text.size()) return false;
  if (ec == std::errc::result_out_of_range) {
    // Too small to hold reads as zero; too large does not convert.
    const size_t lead = parts.Digits.find_first_not_of('0');
    if (lead == std::string::npos) {
      v = 0;
    } else {
      const long magnitude = static_cast<long>(parts.Digits.size() - lead) - parts.FractionDigits + parts.Exponent;
      if (magnitude > 0) return false;
      v = 0;
    }
    if (parts.Negative) v = -v;
  } else if (ec != std::errc()) {
    return false;
  }
  value = v;
  return true;
}

bool TryTextToCurrency(std::string_view text, int64_t& value) {
  TDecimalText parts;
  if (!SplitDecimalText(text, parts)) return false;
  // The value times 10000 is Digits times 10^scale.
  const long scale = parts.Exponent - parts.FractionDigits + 4;
  std::string digits = parts.Digits;
  const size_t lead = digits.find_first_not_of('0');
  if (lead == std::string::npos) {
    value = 0;
    return true;
  }
  digits.erase(0, lead);
  // Drop the digits below the unit and note how they round.
  bool roundUp = false;
  if (scale < 0) {
    const size_t drop = static_cast<size_t>(-scale);
    if (drop > digits.size()) {
      digits.clear();  // below one half: rounds to zero
    } else {
      const std::string dropped = digits.substr(digits.size() - drop);
      digits.erase(digits.size() - drop);
      if (dropped[0] > '5') {
        roundUp = true;
      } else if (dropped[0] == '5') {
        const bool rest = dropped.find_first_not_of('0', 1) != std::string::npos;
        const bool odd = !digits.empty() && ((digits.back() - '0') & 1);
        roundUp = rest || odd;
      }
    }
  } else {
    if (scale > 20) return false;
    digits.append(static_cast<size_t>(scale), '0');
  }
  if (digits.size() > 19) return false;
  const uint64_t limit = parts.Negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  uint64_t magnitude = 0;
  for (char c : digits) magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');  // < 10^19, no wrap
  if (roundUp) ++magnitude;
  if (magnitude > limit) return false;
  value = parts.Negative ? static_cast<int64_t>(~magnitude + 1) : static_cast<int64_t>(magnitude);
  return true;
}

bool CheckField(const TConversion& conv, std::string_view text) {
  int32_t i32;
  int64_t i64;
  long double f;
  switch (conv.Kind) {
    case TFieldKind::Integer:
    case TFieldKind::ShortInt:
    case TFieldKind::Pointer: return TryStrToInt32(text, i32);
    case TFieldKind::LongInt:
    case TFieldKind::Unsigned: return TryStrToInt64(text, i64);
    case TFieldKind::Hex: return TryStrToInt32(NormaliseHex(text), i32);
    case TFieldKind::Floating: return TryTextToFloat(text, f);
    case TFieldKind::Money: return TryTextToCurrency(text, i64);
    default: return true;
  }
}
