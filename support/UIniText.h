#pragma once
// INI text as every part of the tools reads and rewrites it: the tool's
// settings file, the information block inside camera pictures and the
// camera's own ".ini" files.
//
// Reading: every line is trimmed of blanks and control characters; empty
// lines and lines beginning with ";" are skipped; "[name]" starts a section
// (name trimmed); lines before the first section are dropped; any other line
// is split at its first "=" into a trimmed key and value, or kept whole when
// it holds no "=". Names compare without regard to case; of two sections or
// two keys of the same name, the later one is read and written.
//
// Rendering keeps every section and line in order, drops comments and blank
// lines, and ends each section with one empty line.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "UIntText.h"

// Trims leading and trailing blanks and control characters (bytes 0 to 32).
std::string_view TrimIni(std::string_view text);
// Compares two 8-bit texts without regard to case (letters of the tools'
// code page, not only ASCII).
bool SameText(std::string_view a, std::string_view b);

// Splits a text into lines at CR, LF and CR LF; a final line break adds no
// empty line.
std::vector<std::string> SplitLines(std::string_view text);
// Joins lines with eol after every line, the last one included.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view eol = "\r\n");

struct TIniLine {
  bool HasKey = false;  // false: a line without "=", held in Value as it was
  std::string Key;
  std::string Value;
  std::string Render() const { return HasKey ? Key + "=" + Value : Value; }
};

struct TIniSection {
  std::string Name;
  std::vector<TIniLine> Lines;
};

class TIniText {
public:
  TIniText() = default;
  explicit TIniText(const std::vector<std::string>& lines);
  static TIniText FromText(std::string_view text) { return TIniText(SplitLines(text)); }

  const std::vector<TIniSection>& Sections() const { return FSections; }
  // The section of that name (the later one when it occurs twice), or null.
  const TIniSection* FindSection(std::string_view section) const;

  // The value of key in section (the later line when it occurs twice).
  bool TryReadString(std::string_view section, std::string_view key, std::string& value) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;
  // fallback when the key is missing or its value is not an integer text.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback,
                      TIntSyntax syntax = TIntSyntax::AllHexPrefixes) const;

  // Replaces the key's line, spelled as given, or appends it to the section;
  // a missing section is added at the end.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Decimal, with "-" when negative.
  void WriteInteger(std::string_view section, std::string_view key, int64_t value);

  // "[name]", the section's lines, one empty line; for every section in order.
  std::vector<std::string> Render() const;
  // The rendered lines, each ended by CR LF (as they are sent to a camera).
  std::string RenderText(std::string_view eol = "\r\n") const { return JoinLines(Render(), eol); }

private:
  TIniSection* FindSectionMutable(std::string_view section);
  std::vector<TIniSection> FSections;
};
