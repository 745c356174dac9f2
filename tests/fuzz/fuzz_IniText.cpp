// Feeds the INI reader arbitrary text: reading, looking up and integer
// parsing must stay in bounds, and a rendered text must read back to the same
// rendering.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "UIniText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TIniText ini = TIniText::FromText(text);
  const std::vector<std::string> rendered = ini.Render();
  if (TIniText(rendered).Render() != rendered) std::abort();

  for (const TIniSection& s : ini.Sections()) {
    const TIniSection* read = ini.FindSection(s.Name);
    if (read == nullptr) std::abort();
    if (read != &s) continue;  // an earlier section of a repeated name is not read
    for (const TIniLine& line : s.Lines) {
      if (!line.HasKey) continue;
      std::string value;
      if (!ini.TryReadString(s.Name, line.Key, value)) std::abort();
      // The later line of a repeated key is the one read.
      const TIniLine* last = nullptr;
      for (const TIniLine& other : s.Lines)
        if (other.HasKey && SameText(other.Key, line.Key)) last = &other;
      if (value != last->Value) std::abort();
      int32_t a = 0, b = 0;
      const bool all = TryStrToInt32(value, a, TIntSyntax::AllHexPrefixes);
      const bool narrow = TryStrToInt32(value, b, TIntSyntax::DollarOr0x);
      if (narrow && (!all || a != b)) std::abort();  // the narrow syntax is a subset
      if (ini.ReadInteger(s.Name, line.Key, 0) != (all ? a : 0)) std::abort();
    }
  }

  // Rewriting an existing key keeps the number of lines.
  if (!ini.Sections().empty()) {
    TIniText copy = ini;
    const TIniSection& last = ini.Sections().back();
    for (const TIniLine& line : last.Lines) {
      if (!line.HasKey) continue;
      copy.WriteInteger(last.Name, line.Key, -1);
      if (copy.Render().size() != rendered.size()) std::abort();
      break;
    }
  }
  return 0;
}
