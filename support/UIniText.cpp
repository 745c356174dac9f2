#include "UIniText.h"

#include <string>

namespace {

bool IsBlankOrControl(char c) { return static_cast<uint8_t>(c) <= 0x20; }

// Upper case of one character of the tools' code page (Windows-1252).
uint8_t UpperAnsi(uint8_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<uint8_t>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
  }
}

const TIniLine* FindLine(const TIniSection& section, std::string_view key) {
  for (auto it = section.Lines.rbegin(); it != section.Lines.rend(); ++it)
    if (it->HasKey && SameText(it->Key, key)) return &*it;
  return nullptr;
}

}  // namespace

std::string_view TrimIni(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAnsi(static_cast<uint8_t>(a[i])) != UpperAnsi(static_cast<uint8_t>(b[i]))) return false;
  return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view eol) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += eol;
  }
  return text;
}

TIniText::TIniText(const std::vector<std::string>& lines) {
  TIniSection* current = nullptr;
  for (const std::string& raw : lines) {
    const std::string_view line = TrimIni(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      FSections.push_back(TIniSection{std::string(TrimIni(line.substr(1, line.size() - 2))), {}});
      current = &FSections.back();
      continue;
    }
    if (!current) continue;  // nothing before the first section is kept
    TIniLine entry;
    if (const size_t eq = line.find('='); eq != std::string_view::npos) {
      entry.HasKey = true;
      entry.Key = TrimIni(line.substr(0, eq));
      entry.Value = TrimIni(line.substr(eq + 1));
    } else {
      entry.Value = line;
    }
    current->Lines.push_back(std::move(entry));
  }
}

const TIniSection* TIniText::FindSection(std::string_view section) const {
  for (auto it = FSections.rbegin(); it != FSections.rend(); ++it)
    if (SameText(it->Name, section)) return &*it;
  return nullptr;
}

TIniSection* TIniText::FindSectionMutable(std::string_view section) {
  return const_cast<TIniSection*>(FindSection(section));
}

bool TIniText::TryReadString(std::string_view section, std::string_view key, std::string& value) const {
  const TIniSection* s = FindSection(section);
  const TIniLine* line = s ? FindLine(*s, key) : nullptr;
  if (!line) return false;
  value = line->Value;
  return true;
}

std::string TIniText::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
  std::string value;
  return TryReadString(section, key, value) ? value : std::string(fallback);
}

int32_t TIniText::ReadInteger(std::string_view section, std::string_view key, int32_t fallback,
                              TIntSyntax syntax) const {
  std::string value;
  if (!TryReadString(section, key, value)) return fallback;
  return StrToInt32Def(value, fallback, syntax);
}

void TIniText::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  TIniSection* s = FindSectionMutable(section);
  if (!s) {
    FSections.push_back(TIniSection{std::string(section), {}});
    s = &FSections.back();
  }
  if (TIniLine* line = const_cast<TIniLine*>(FindLine(*s, key))) {
    line->Key = key;
    line->Value = value;
    return;
  }
  s->Lines.push_back(TIniLine{true, std::string(key), std::string(value)});
}

void TIniText::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
  WriteString(section, key, std::to_string(value));
}

std::vector<std::string> TIniText::Render() const {
  std::vector<std::string> lines;
  for (const TIniSection& s : FSections) {
    lines.push_back("[" + s.Name + "]");
    for (const TIniLine& line : s.Lines) lines.push_back(line.Render());
    lines.emplace_back();
  }
  return lines;
}
