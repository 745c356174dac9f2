#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UShortenPath.h"

namespace {

// Every character 7 pixels wide.
int Measure(const std::string& s) { return static_cast<int>(s.size()) * 7; }

// Dots 2 pixels wide, every other character 7, as in a proportional font.
int Proportional(const std::string& s) {
  int w = 0;
  for (char c : s) w += c == '.' ? 2 : 7;
  return w;
}

std::vector<std::string> NarrowingSequence(const std::string& path, const TTextMeasure& measure) {
  std::vector<std::string> seen;
  for (int width = measure(path) + 10; width >= 0; --width) {
    const std::string s = ShortenPath(path, width, measure, '\\');
    if (seen.empty() || seen.back() != s) seen.push_back(s);
  }
  return seen;
}

TEST(ShortenPath, NarrowingLabelCutsTheFolderFromItsEnd) {
  // "C:\Data...\Images" is the whole path plus "...", so it is always wider
  // than the path itself and never shown; the cuts after it are shown once the
  // characters they remove are wider than the dots they add.
  EXPECT_EQ(NarrowingSequence("C:\\Data\\Images", Proportional),
            (std::vector<std::string>{"C:\\Data\\Images", "C:\\Dat...\\Images", "C:\\Da...\\Images",
                                      "C:\\D...\\Images", "C:\\...\\Images", "C:...\\Images", "C...\\Images",
                                      "...\\Images", "Images"}));
  // With dots as wide as letters a cut must remove four characters to pay
  // for "...", so the first cuts are passed over.
  EXPECT_EQ(NarrowingSequence("C:\\Data\\Images", Measure),
            (std::vector<std::string>{"C:\\Data\\Images", "C:\\...\\Images", "C:...\\Images", "C...\\Images",
                                      "...\\Images", "Images"}));
}

TEST(ShortenPath, Cases) {
  struct Case {
    const char* name;
    std::string path;
    int width;
    char sep;
    std::string expected;
  } cases[] = {
      {"fits as it is", "C:\\pics", 1000, '\\', "C:\\pics"},
      {"bare name wider than the label stays", "C:\\verylongname", 7, '\\', "verylongname"},
      {"no folder at all", "name", 7, '\\', "name"},
      {"drive colon splits too", "D:pictures", 9 * 7, '\\', "pictures"},
      {"POSIX separator", "/home/user/pics", 12 * 7, '/', "/hom.../pics"},
      {"empty path", "", 0, '/', ""},
      {"trailing separator leaves an empty name", "/data/", 4 * 7, '/', ".../"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ShortenPath(c.path, c.width, Measure, c.sep), c.expected);
  }
}

}  // namespace
