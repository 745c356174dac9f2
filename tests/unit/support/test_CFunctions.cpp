#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "CFunctions.h"
#include "xdfUtils.h"

namespace {

// A bundle of targets described by one letter each, so that a case fits one
// table row: d int32_t, u uint32_t, h int16_t, i int64_t, f long double,
// s std::string, S TShortString, c char[4] (filled with '.').
class TTargets {
public:
  explicit TTargets(const std::string& kinds) {
    for (char k : kinds) {
      Slot& s = FSlots.emplace_back();
      s.Kind = k;
      s.Chars.fill('.');
      switch (k) {
        case 'd': FList.emplace_back(s.I32); break;
        case 'u': FList.emplace_back(s.U32); break;
        case 'h': FList.emplace_back(s.I16); break;
        case 'i': FList.emplace_back(s.I64); break;
        case 'f': FList.emplace_back(s.F); break;
        case 's': FList.emplace_back(s.Str); break;
        case 'S': FList.emplace_back(s.Short); break;
        case 'c': FList.emplace_back(std::span<char>(s.Chars)); break;
        default: ADD_FAILURE() << "unknown target kind " << k;
      }
    }
  }
  std::span<const TScanTarget> List() const { return FList; }
  // The values of all targets, "|"-separated; untouched targets read as "-".
  std::string Values(int stored) const {
    std::ostringstream out;
    int n = 0;
    for (const Slot& s : FSlots) {
      if (n) out << '|';
      if (n++ >= stored && s.Kind != 'c') {
        out << '-';
        continue;
      }
      switch (s.Kind) {
        case 'd': out << s.I32; break;
        case 'u': out << s.U32; break;
        case 'h': out << s.I16; break;
        case 'i': out << s.I64; break;
        case 'f': out << static_cast<double>(s.F); break;
        case 's': out << s.Str; break;
        case 'S': out << s.Short.Str(); break;
        case 'c': out << std::string(s.Chars.data(), s.Chars.size()); break;
      }
    }
    return out.str();
  }

private:
  struct Slot {
    char Kind = 0;
    int32_t I32 = 0;
    uint32_t U32 = 0;
    int16_t I16 = 0;
    int64_t I64 = 0;
    long double F = 0;
    std::string Str;
    TShortString Short;
    std::array<char, 4> Chars{};
  };
  std::deque<Slot> FSlots;  // stable addresses
  std::vector<TScanTarget> FList;
};

struct ScanCase {
  const char* name;
  const char* input;
  const char* format;
  const char* targets;
  int count;
  const char* values;
};

void RunCases(std::span<const ScanCase> cases) {
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    TTargets t(c.targets);
    const int n = ScanFormat(c.input, c.format, t.List());
    EXPECT_EQ(n, c.count);
    EXPECT_EQ(t.Values(n), c.values);
  }
}

// The literals, white space and end-of-input rules that decide how far a
// scan gets.
TEST(ScanFormat, MatchingAndEndOfScan) {
  const ScanCase cases[] = {
      {"recognition settings", "Win:(10,20) (630,460) Ch:8x12 40x60", "Win:(%d,%d) (%d,%d) Ch:%dx%d %dx%d",
       "dddddddd", 8, "10|20|630|460|8|12|40|60"},
      {"literal after input blanks", "a : 5", "a:%d", "d", 1, "5"},
      {"white space matches none", "1,2", "%d , %d", "dd", 2, "1|2"},
      {"tab is no white space", "\t5", "%d", "d", 0, "-"},
      {"tab is a literal", "\t5", "\t%d", "d", 1, "5"},
      {"backspace is white space", "\b5", "%d", "d", 1, "5"},
      {"end passes conversions", "12", "%d %d", "dd", 1, "12|-"},
      {"end stops at literal", "12", "%d,%d", "dd", 1, "12|-"},
      {"literal mismatch", "12;3", "%d,%d", "dd", 1, "12|-"},
      {"width cuts the field", "12345", "%3d%d", "dd", 2, "123|45"},
      {"suppressed takes no target", "7 8", "%*d %d", "d", 1, "8"},
      {"star anywhere before letter", "7 8", "%1*d %d", "d", 1, "8"},
      {"percent literal", "%% 5", "%% %d", "d", 1, "5"},
      {"percent literal at end", "%%", "%%", "", 0, ""},
      {"percent must be whole word", "%%x 5", "%%%d", "d", 0, "-"},
      {"single percent does not match", "% 5", "%% %d", "d", 0, "-"},
      {"unknown letter ends", "1 2", "%d %q %d", "dd", 1, "1|-"},
      {"upper-case C is unknown", "1 ab", "%d %[ab]C", "ds", 1, "1|-"},
      {"incomplete at end", "1 2", "%d %5", "dd", 1, "1|-"},
      {"unterminated set", "1 ab", "%d %[ab", "ds", 1, "1|-"},
      {"percent with width", "%% 1", "%2%%d", "d", 0, "-"},
      {"percent with star", "%% 1", "%*%%d", "d", 0, "-"},
      {"second star is bad", "1", "%**d", "d", 0, "-"},
      {"width overflow is bad", "1", "%99999999999d", "d", 0, "-"},
      {"empty format", "1", "", "d", 0, "-"},
      {"empty input", "", "%d", "d", 0, "-"},
      {"blank input passes white space", "   ", " %d ", "d", 0, "-"},
      {"number not converting ends", "- 5", "%d %d", "dd", 0, "-|-"},
  };
  RunCases(cases);
}

TEST(ScanFormat, NumericKinds) {
  const ScanCase cases[] = {
      {"hex with 0x", "0x1F", "%x", "d", 1, "31"},
      {"hex bare", "ff", "%x", "d", 1, "255"},
      {"hex dollar", "$FF", "%x", "d", 1, "255"},
      {"hex digits only read", "12", "%x", "d", 1, "18"},
      {"hex not a digit", "g", "%x", "d", 0, "-"},
      {"hex x prefix is doubled", "x1F", "%x", "d", 0, "-"},
      {"hex wraps", "FFFFFFFF", "%x", "u", 1, "4294967295"},
      {"hex nine digits", "123456789", "%x", "d", 0, "-"},
      {"short keeps low bits", "70000", "%h", "h", 1, "4464"},
      {"short negative", "-1", "%h", "h", 1, "-1"},
      {"short needs 32-bit text", "4294967296", "%h", "h", 0, "-"},
      {"int range", "2147483648", "%d", "d", 0, "-"},
      {"int minimum", "-2147483648", "%d", "d", 1, "-2147483648"},
      {"int stops at sign", "5-3", "%d", "d", 0, "-"},
      {"long", "-9223372036854775808", "%i", "i", 1, "-9223372036854775808"},
      {"long overflow", "9223372036854775808", "%i", "i", 0, "-"},
      {"unsigned low bits", "4294967297", "%u", "u", 1, "1"},
      {"unsigned into int32", "4294967295", "%u", "d", 1, "-1"},
      {"unsigned no sign", "-1", "%u", "u", 0, "-"},
      {"pointer dollar", "$10", "%p", "d", 1, "16"},
      {"pointer stops at letters", "$1F", "%p%s", "ds", 2, "1|F"},
      {"money", "12.5", "%m%s", "is", 2, "120000|.5"},
      {"money negative", "-3", "%m", "i", 1, "-30000"},
      {"money limit", "922337203685477", "%m", "i", 1, "9223372036854770000"},
      {"money overflow", "922337203685478", "%m", "i", 0, "-"},
      {"float", "-1.5e3", "%f", "f", 1, "-1500"},
      {"float plus", "+.25", "%g", "f", 1, "0.25"},
      {"float trailing point", "3.", "%e", "f", 1, "3"},
      {"float two points", "1.2.3", "%f", "f", 0, "-"},
      {"float bare exponent", "1e", "%f", "f", 0, "-"},
      {"float exponent sign", "1e+2", "%f", "f", 1, "100"},
      {"float lone point", ".", "%f", "f", 0, "-"},
      {"float overflow", "1e99999", "%f", "f", 0, "-"},
      {"float underflow is zero", "1e-99999", "%f", "f", 1, "0"},
  };
  RunCases(cases);
}

TEST(ScanFormat, TextKinds) {
  const std::string longWord(300, 'w');
  const ScanCase cases[] = {
      {"set range", "abcd", "%[a-c]", "s", 1, "abc"},
      {"negated set keeps inner blanks", "  ab c,d", "%[^,]", "s", 1, "ab c"},
      {"empty set reads a word", "ab cd", "%[]", "s", 1, "ab"},
      {"caret alone is full", " ab cd", "%[^]", "s", 1, "ab cd"},
      {"reversed range ends", "abc", "%[c-a]", "s", 0, "-"},
      {"bracket right after [ closes", "a]b]c", "%[]ab\\]]", "s", 1, "a]b]c"},
      {"escaped bracket in set", "a]b]c", "%[ab\\]]", "s", 1, "a]b]"},
      {"escaped dash", "a-c", "%[a\\-c]", "s", 1, "a-c"},
      {"dash at the ends", "-a-b", "%[-a]", "s", 1, "-a-"},
      {"escaped backslash", "a\\b", "%[a\\\\]", "s", 1, "a\\"},
      {"set followed by s", "aab", "%[a]s%s", "ss", 2, "aa|b"},
      {"set matches nothing", "xyz", "%[a]%s", "ss", 2, "|xyz"},
      {"width on set", "aaaa", "%2[a]", "s", 1, "aa"},
      {"string stops at white", "ab\rcd", "%s%s", "ss", 2, "ab|cd"},
      {"string takes tab", "a\tb c", "%s", "s", 1, "a\tb"},
      {"char skips nothing", " x", "%c", "c", 1, " ..."},
      {"char default width one", "xyz", "%c%s", "cs", 2, "x...|yz"},
      {"char width", "xyz", "%2c", "c", 1, "xy.."},
      {"char width past array", "abcdefgh", "%6c%s", "cs", 2, "abcd|gh"},
      {"char set", "aab", "%3[a]c", "c", 1, "aa.."},
      {"char at end", "", "%c", "c", 0, "...."},
  };
  RunCases(cases);
  // The short string keeps 255 characters, a growable text all of them.
  TShortString shortText;
  std::string text;
  EXPECT_EQ(ScanFormat(longWord + " " + longWord, "%s %s", shortText, text), 2);
  EXPECT_EQ(shortText.Length, 255);
  EXPECT_EQ(shortText.Str(), longWord.substr(0, 255));
  EXPECT_EQ(text, longWord);
}

TEST(ScanFormat, TargetsRunningOut) {
  int32_t a = 0, b = 0;
  try {
    ScanFormat("1 2 3", "%d %d %d", a, b);
    FAIL() << "no exception";
  } catch (const EScanFormatError& e) {
    EXPECT_STREQ(e.what(), "Insufficent pointers for format specifiers!");
  }
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  // A field that is never reached needs no target.
  EXPECT_EQ(ScanFormat("1 2", "%d %d %d", a, b), 2);
  EXPECT_EQ(ScanFormat("1", "%*d"), 0);
  EXPECT_THROW(ScanFormat("1", "%d"), EScanFormatError);
}

TEST(ScanFormat, WrongTargetTypeIsACallerFault) {
  std::string s;
  int32_t i = 0;
  EXPECT_THROW(ScanFormat("5", "%d", s), EScanTargetError);
  EXPECT_THROW(ScanFormat("5", "%i", i), EScanTargetError);
  EXPECT_THROW(ScanFormat("ab", "%c", s), EScanTargetError);
  EXPECT_EQ(ScanFormat("a 5", "%s %d", s, i), 2);
}

// The internal failures carry their own texts, even though no caller sees them.
TEST(ScanFormat, FormatErrorsCarryTheirText) {
  size_t pos = 0;
  EXPECT_THROW(
      try { NextFormatToken("%12", pos); } catch (const EBadFormat& e) {
        EXPECT_STREQ(e.what(), "Bad format string");
        throw;
      },
      EBadFormat);
  try {
    ParseConversion("%[z-a]");
    ADD_FAILURE() << "no exception";
  } catch (const EBadFormat& e) {
    EXPECT_STREQ(e.what(), "BAD SET : z-a");
  }
}

TEST(ScanFormat, Tokens) {
  struct Case {
    const char* format;
    std::vector<std::string> tokens;
  } cases[] = {
      {"a  \r\n\bb", {"a", " ", "b"}},
      {"%*12d%s", {"%*12d", "%s"}},
      {"%[a\\]b]c%[x]S%[y]d", {"%[a\\]b]c", "%[x]S", "%[y]", "d"}},
      {"%\\", {"%\\"}},
      {"\t\t", {"\t", "\t"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    std::vector<std::string> tokens;
    std::string_view format = c.format;
    for (size_t pos = 0; pos < format.size();) tokens.push_back(NextFormatToken(format, pos));
    EXPECT_EQ(tokens, c.tokens);
  }
}

TEST(ScanFormat, CharSetGrammar) {
  struct Case {
    const char* text;
    const char* in;
    const char* out;
  } cases[] = {
      {"a-c", "abc", "d-"},
      {"^a-c", "d-\t ", "abc"},
      {"-a", "-a", "b"},
      {"a-", "a-", "b"},
      {"\\^a", "^a", "b"},
      {"\\\\", "\\", "a"},
      {"a-a", "a", "b"},
      {"--/", "-./", ",0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TCharSet set = ParseCharSet(c.text);
    for (const char* p = c.in; *p; ++p) EXPECT_TRUE(set.Has(*p)) << *p;
    for (const char* p = c.out; *p; ++p) EXPECT_FALSE(set.Has(*p)) << *p;
  }
  EXPECT_TRUE(ParseCharSet("").Empty());
  EXPECT_EQ(ParseCharSet("^"), TCharSet::Full());
  EXPECT_EQ(ParseCharSet("\\x00-\\xFF"), ParseCharSet("0-x\\x"));
  EXPECT_THROW(ParseCharSet("a\\"), EBadFormat);
  EXPECT_THROW(ParseCharSet("c-a"), EBadFormat);
  std::string all(1, '\0');
  all += "-\xFF";
  EXPECT_EQ(ParseCharSet(all), TCharSet::Full());
}

TEST(ScanFormat, CurrencyRoundsHalfToEven) {
  struct Case {
    const char* text;
    bool ok;
    int64_t value;
  } cases[] = {
      {"12.5", true, 125000},          {"0.00005", true, 0},           {"0.00015", true, 2},
      {"0.000250001", true, 3},        {"-0.00005", true, 0},          {"-0.00015", true, -2},
      {"1e-4", true, 1},               {"1.5e-4", true, 2},            {"2.5e-4", true, 2},
      {"922337203685477.5807", true, INT64_MAX},
      {"-922337203685477.5808", true, INT64_MIN},
      {"922337203685477.5808", false, 0}, {"1e15", false, 0},        {"1e-99999", true, 0},
      {"", false, 0},                  {"-", false, 0},                {"1x", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int64_t v = 777;
    EXPECT_EQ(TryTextToCurrency(c.text, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
}

}  // namespace
