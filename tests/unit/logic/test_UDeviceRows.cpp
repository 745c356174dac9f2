#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UDeviceRows.h"

namespace {

TEST(DeviceRows, KeyMatchesWholeTextFromTheBottomUp) {
  using Texts = std::vector<std::string>;
  struct Case {
    const char* name;
    Texts sn;
    std::string key;
    int expected;
  } cases[] = {
      {"empty list", {}, "12", -1},
      {"found", {"800", "1200", "44"}, "1200", 1},
      {"first row", {"800", "1200"}, "800", 0},
      {"prefix is no match", {"123", "1234"}, "12", -1},
      {"longer key is no match", {"12"}, "123", -1},
      {"sign counts", {"5"}, "-5", -1},
      {"negative key", {"5", "-5"}, "-5", 1},
      {"leading zero counts", {"012"}, "12", -1},
      {"twice: the lower row", {"7", "9", "7", "3"}, "7", 2},
      {"zero key", {"1", "0"}, "0", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindDeviceRow(c.sn, c.key), c.expected);
  }
}

}  // namespace
