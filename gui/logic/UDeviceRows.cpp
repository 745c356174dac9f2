#include "UDeviceRows.h"

int FindDeviceRow(const std::vector<std::string>& snTexts, const std::string& key) {
  for (int row = static_cast<int>(snTexts.size()) - 1; row >= 0; --row) {
    if (snTexts[static_cast<size_t>(row)] == key) return row;
  }
  return -1;
}
