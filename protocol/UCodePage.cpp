// Windows-1252 with the unassigned bytes kept as C1 controls, so that all
// 256 byte values round-trip.

#include "UCodePage.h"

namespace {

// Unicode characters of the bytes 0x80 to 0x9F; the rest map to themselves.
constexpr char32_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

}  // namespace

char32_t AnsiToUnicode(uint8_t byte) {
  return (byte >= 0x80 && byte <= 0x9F) ? High[byte - 0x80] : static_cast<char32_t>(byte);
}

bool UnicodeToAnsi(char32_t ch, uint8_t& byte) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
    byte = static_cast<uint8_t>(ch);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (High[i] == ch) {
      byte = static_cast<uint8_t>(0x80 + i);
      return true;
    }
  }
  return false;
}

bool Utf8ToAnsi(std::string_view utf8, std::string& ansi) {
  ansi.clear();
  size_t i = 0;
  while (i < utf8.size()) {
    const uint8_t lead = static_cast<uint8_t>(utf8[i]);
    char32_t ch;
    size_t extra;
    if (lead < 0x80) {
      ch = lead;
      extra = 0;
    } else if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
      ch = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      ch = lead & 0x0F;
      extra = 2;
    } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
      ch = lead & 0x07;
      extra = 3;
    } else {
      ansi.clear();
      return false;
    }
    if (i + extra >= utf8.size() && extra > 0) {
      ansi.clear();
      return false;
    }
    for (size_t k = 1; k <= extra; ++k) {
      const uint8_t cont = static_cast<uint8_t>(utf8[i + k]);
      if ((cont & 0xC0) != 0x80) {
        ansi.clear();
        return false;
      }
      ch = (ch << 6) | (cont & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((extra == 2 && (ch < 0x800 || (ch >= 0xD800 && ch <= 0xDFFF))) ||
        (extra == 3 && (ch < 0x10000 || ch > 0x10FFFF))) {
      ansi.clear();
      return false;
    }
    uint8_t byte;
    ansi += UnicodeToAnsi(ch, byte) ? static_cast<char>(byte) : AnsiSubstitute;
    i += extra + 1;
  }
  return true;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) AppendUtf8(out, AnsiToUnicode(static_cast<uint8_t>(c)));
  return out;
}
