// Feeds ScanFormat arbitrary formats, inputs and target lists.
// Data: a target-kind byte string, a format and an input, separated by the
// first two zero bytes; missing parts are empty.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "CFunctions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::string_view parts[3];
  for (int i = 0; i < 3; ++i) {
    const size_t zero = i < 2 ? rest.find('\0') : std::string_view::npos;
    parts[i] = rest.substr(0, zero);
    rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
  }
  const std::string_view kinds = parts[0].substr(0, 16);
  const std::string_view format = parts[1];
  const std::string_view input = parts[2];

  // Every target lives in its own heap block of its exact size, so that a
  // write past it is caught.
  std::vector<std::unique_ptr<char[]>> blocks;
  std::vector<TScanTarget> targets;
  int16_t i16[16];
  int32_t i32[16];
  uint32_t u32[16];
  int64_t i64[16];
  long double f[16];
  std::string str[16];
  TShortString shortStr[16];
  for (size_t i = 0; i < kinds.size(); ++i) {
    switch (static_cast<uint8_t>(kinds[i]) % 8) {
      case 0: {
        const size_t n = static_cast<uint8_t>(kinds[i]) / 8 % 8;  // 0 to 7 characters
        blocks.emplace_back(new char[n]);
        targets.emplace_back(std::span<char>(blocks.back().get(), n));
        break;
      }
      case 1: targets.emplace_back(i16[i]); break;
      case 2: targets.emplace_back(i32[i]); break;
      case 3: targets.emplace_back(u32[i]); break;
      case 4: targets.emplace_back(i64[i]); break;
      case 5: targets.emplace_back(f[i]); break;
      case 6: targets.emplace_back(str[i]); break;
      case 7: targets.emplace_back(shortStr[i]); break;
    }
  }
  try {
    const int n = ScanFormat(input, format, targets);
    if (n < 0 || static_cast<size_t>(n) > targets.size()) std::abort();
  } catch (const EScanFormatError&) {
  } catch (const EScanTargetError&) {
  }
  for (size_t i = 0; i < kinds.size(); ++i)
    if (shortStr[i].Length > 255) std::abort();
  return 0;
}
