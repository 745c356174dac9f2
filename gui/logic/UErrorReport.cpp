// Error log report lines.

#include "UErrorReport.h"

#include <algorithm>

namespace {

struct TPayload {
  const uint8_t* Data;
  size_t Length;

  int32_t Int(size_t off) const {
    if (off > Length || Length - off < 4) return 0;
    const uint32_t w = static_cast<uint32_t>(Data[off]) | (static_cast<uint32_t>(Data[off + 1]) << 8) |
                       (static_cast<uint32_t>(Data[off + 2]) << 16) | (static_cast<uint32_t>(Data[off + 3]) << 24);
    return static_cast<int32_t>(w);
  }

  // Up to the first zero byte, never past the field or the payload.
  std::string Text(size_t off, size_t size) const {
    if (off >= Length) return {};
    const size_t end = std::min(off + size, Length);
    const uint8_t* first = Data + off;
    const uint8_t* last = std::find(first, Data + end, uint8_t{0});
    return std::string(first, last);
  }
};

std::string Padded(const char* label) {
  std::string s(label);
  if (s.size() < 24) s.resize(24, ' ');
  return s;
}

std::string TextLine(const char* label, const std::string& text) { return Padded(label) + text; }
std::string NumberLine(const char* label, int32_t value) { return Padded(label) + std::to_string(value); }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Every "DOZU", in any case, becomes "ANPR".
std::string BrandedFirmware(std::string text) {
  static const char Old[] = "DOZU";
  for (size_t i = 0; i + 4 <= text.size();) {
    if (Upper(text[i]) == Old[0] && Upper(text[i + 1]) == Old[1] && Upper(text[i + 2]) == Old[2] &&
        Upper(text[i + 3]) == Old[3]) {
      text.replace(i, 4, "ANPR");
      i += 4;
    } else {
      ++i;
    }
  }
  return text;
}

}  // namespace

std::vector<std::string> ErrorReportLines(const uint8_t* payload, size_t length) {
  const TPayload p{payload, payload ? length : 0};
  std::vector<std::string> lines;
  const int32_t total = p.Int(68);
  const int32_t n = p.Int(100);
  lines.push_back(TextLine("Firmware description:", BrandedFirmware(p.Text(0, 40))));
  lines.push_back(TextLine("Compilation date:", p.Text(40, 16)));
  lines.push_back(TextLine("Compilation time:", p.Text(56, 12)));
  lines.push_back(NumberLine("Total errors count:", total));
  lines.push_back(NumberLine("Errors buffer size:", p.Int(72)));
  lines.push_back(NumberLine("System timer (ms):", p.Int(76)));
  lines.push_back(NumberLine("Free memory (bytes):", p.Int(80)));
  lines.push_back(NumberLine("Used memory (bytes):", p.Int(84)));
  lines.push_back(NumberLine("List errors number:", n));

  const size_t whole = p.Length >= ErrorLogHeaderSize ? (p.Length - ErrorLogHeaderSize) / ErrorLogEntrySize : 0;
  const size_t count = n > 0 ? std::min(static_cast<size_t>(n), whole) : 0;
  uint32_t counter = static_cast<uint32_t>(total);  // counts down, wrapping like the 32-bit original
  for (size_t i = 0; i < count; ++i) {
    const size_t e = ErrorLogHeaderSize + i * ErrorLogEntrySize;
    lines.emplace_back();
    lines.push_back("----- Error number " + std::to_string(static_cast<int32_t>(counter)) +
                    " --------------------");
    --counter;
    lines.push_back(TextLine("Error description:", p.Text(e, 64)));
    lines.push_back(NumberLine("Error code:", p.Int(e + 64)));
    lines.push_back(TextLine("Source file:", p.Text(e + 68, 32)) + ":" + std::to_string(p.Int(e + 100)));
    lines.push_back(NumberLine("System timer (ms):", p.Int(e + 104)));
    lines.push_back(NumberLine("Free memory (bytes):", p.Int(e + 108)));
    lines.push_back(NumberLine("Used memory (bytes):", p.Int(e + 112)));
  }
  return lines;
}
