#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "UErrorReport.h"
#include "UZudirir.h"

namespace {

using Lines = std::vector<std::string>;

struct Entry {
  std::string Description;
  int32_t Code = 0;
  std::string File;
  int32_t Line = 0;
  int32_t Timer = 0, Free = 0, Used = 0;
};

Entry Named(const std::string& description) {
  Entry e;
  e.Description = description;
  return e;
}

void PutText(std::vector<uint8_t>& p, size_t off, const std::string& s) {
  std::memcpy(&p[off], s.data(), s.size());
}

void PutInt(std::vector<uint8_t>& p, size_t off, int32_t v) { WriteWordLE(&p[off], static_cast<uint32_t>(v)); }

std::vector<uint8_t> Payload(const std::string& firmware, int32_t total, const std::vector<Entry>& entries,
                             int32_t listed = -1) {
  std::vector<uint8_t> p(ErrorLogHeaderSize + entries.size() * ErrorLogEntrySize, 0);
  PutText(p, 0, firmware);
  PutText(p, 40, "Mar  7 2015");
  PutText(p, 56, "09:05:03");
  PutInt(p, 68, total);
  PutInt(p, 72, 100);
  PutInt(p, 76, 123456);
  PutInt(p, 80, -5);
  PutInt(p, 84, 4096);
  PutInt(p, 100, listed < 0 ? static_cast<int32_t>(entries.size()) : listed);
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t e = ErrorLogHeaderSize + i * ErrorLogEntrySize;
    PutText(p, e, entries[i].Description);
    PutInt(p, e + 64, entries[i].Code);
    PutText(p, e + 68, entries[i].File);
    PutInt(p, e + 100, entries[i].Line);
    PutInt(p, e + 104, entries[i].Timer);
    PutInt(p, e + 108, entries[i].Free);
    PutInt(p, e + 112, entries[i].Used);
  }
  return p;
}

const Lines Header = {
    "Firmware description:   ANPR cam 2.1",
    "Compilation date:       Mar  7 2015",
    "Compilation time:       09:05:03",
    "Total errors count:     250",
    "Errors buffer size:     100",
    "System timer (ms):      123456",
    "Free memory (bytes):    -5",
    "Used memory (bytes):    4096",
};

TEST(ErrorReport, NoEntriesGivesTheNineHeaderLines) {
  const auto p = Payload("DOZU cam 2.1", 250, {});
  Lines expected = Header;
  expected.push_back("List errors number:     0");
  EXPECT_EQ(ErrorReportLines(p.data(), p.size()), expected);
}

TEST(ErrorReport, EntriesCountDownFromTheTotal) {
  const auto p = Payload("DOZU cam 2.1", 250,
                         {{"DOZU sensor lost", 7, "main.c", 12, 1000, 2000, 3000}, {"second", -1, "x.c", 0, 0, 0, 0}, {"third", 0, "", 0, 0, 0, 0}});
  const Lines lines = ErrorReportLines(p.data(), p.size());
  ASSERT_EQ(lines.size(), 9u + 3 * 8);
  const Lines first(lines.begin() + 9, lines.begin() + 17);
  EXPECT_EQ(first, (Lines{"",
                          "----- Error number 250 --------------------",
                          "Error description:      DOZU sensor lost",  // only the firmware is renamed
                          "Error code:             7",
                          "Source file:            main.c:12",
                          "System timer (ms):      1000",
                          "Free memory (bytes):    2000",
                          "Used memory (bytes):    3000"}));
  EXPECT_EQ(lines[18], "----- Error number 249 --------------------");
  EXPECT_EQ(lines[26], "----- Error number 248 --------------------");
  EXPECT_EQ(lines[28], "Error code:             0");
}

TEST(ErrorReport, FirmwareRenamingIgnoresCase) {
  struct Case {
    std::string firmware, shown;
  } cases[] = {
      {"DOZU-7 dozu Dozu", "ANPR-7 ANPR ANPR"},
      {"DOZDOZU", "DOZANPR"},
      {"no brand", "no brand"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firmware);
    const auto p = Payload(c.firmware, 0, {});
    EXPECT_EQ(ErrorReportLines(p.data(), p.size())[0], "Firmware description:   " + c.shown);
  }
}

TEST(ErrorReport, TextsEndAtTheirFieldAndNothingIsReadBeyondThePayload) {
  // A 40-character description with no zero byte is shown whole and no more.
  auto p = Payload(std::string(40, 'F'), 1, {{std::string(64, 'D'), 1, std::string(32, 'S'), 5, 0, 0, 0}});
  Lines lines = ErrorReportLines(p.data(), p.size());
  EXPECT_EQ(lines[0], "Firmware description:   " + std::string(40, 'F'));
  EXPECT_EQ(lines[11], "Error description:      " + std::string(64, 'D'));
  EXPECT_EQ(lines[13], "Source file:            " + std::string(32, 'S') + ":5");

  struct Case {
    const char* name;
    size_t length;    // bytes of the payload given
    int32_t listed;   // entry count word
    size_t lines;     // lines shown
  } cases[] = {
      {"count above what arrived", ErrorLogHeaderSize + 2 * ErrorLogEntrySize, 1000, 9 + 2 * 8},
      {"last entry cut short", ErrorLogHeaderSize + 2 * ErrorLogEntrySize - 1, 3, 9 + 8},
      {"negative count", ErrorLogHeaderSize + 3 * ErrorLogEntrySize, -3, 9},
      {"header only", ErrorLogHeaderSize, 3, 9},
      {"header cut short", 50, 3, 9},
      {"empty payload", 0, 3, 9},
  };
  const auto full = Payload("fw", 9, {Named("a"), Named("b"), Named("c")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A heap block of exactly the given length, so a read past it is caught.
    std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(std::min(c.length, full.size())));
    cut.resize(c.length);
    if (c.length >= ErrorLogHeaderSize) PutInt(cut, 100, c.listed);
    cut.shrink_to_fit();
    EXPECT_EQ(ErrorReportLines(cut.data(), cut.size()).size(), c.lines);
  }
  // A header cut inside the date: the date ends there, later fields read 0.
  const Lines shortLines = ErrorReportLines(full.data(), 45);
  EXPECT_EQ(shortLines[1], "Compilation date:       Mar  ");
  EXPECT_EQ(shortLines[3], "Total errors count:     0");
}

TEST(ErrorReport, CounterWrapsLikeA32BitNumber) {
  const auto p = Payload("fw", INT32_MIN, {Named("a"), Named("b")});
  const Lines lines = ErrorReportLines(p.data(), p.size());
  EXPECT_EQ(lines[10], "----- Error number -2147483648 --------------------");
  EXPECT_EQ(lines[18], "----- Error number 2147483647 --------------------");
}

}  // namespace
