#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "UParamNames.h"

namespace {

using Bytes = std::vector<uint8_t>;

TZudirirParam Record(uint32_t id, const Bytes& value) {
  TZudirirParam p;
  p.Id = id;
  p.Length = static_cast<uint32_t>(value.size());
  p.Value = value.data();
  p.Available = static_cast<uint32_t>(value.size());
  return p;
}

TEST(ParamNames, NamingPerTool) {
  using Tool = TParamTool;
  struct Case {
    const char* name;
    uint32_t id;
    Bytes value;
    Tool tool;
    const char* expectedName;
    const char* expectedValue;
  } cases[] = {
      {"serial 0 (id 0)", 0, {0xD2, 0x04, 0, 0}, Tool::Console, "SERIAL_NUMBER", "1234"},
      {"serial value 0 is nameless", 12000, {0, 0, 0, 0}, Tool::Console, "", ""},
      {"serial 14017 value 0, test tool", 14017, {0, 0, 0, 0}, Tool::TestTool, "", ""},
      {"ip 12002", 12002, {0x0A, 0x01, 0xA8, 0xC0}, Tool::Console, "IP_ADDRESS", "192.168.1.10"},
      {"mac 10000", 10000, {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0, 0}, Tool::Console, "MAC_ADDRESS",
       "00-0A-1B-2C-3D-4E"},
      {"dhcp", 12007, {2, 0, 0, 0}, Tool::Console, "DHCP", "2"},
      {"dns", 12005, {8, 8, 8, 8}, Tool::Console, "DNS", "8.8.8.8"},
      {"description rewrite", 10010, {'D', 'O', 'Z', 'U', ' ', 'u', 'n', 'i', 't', ' ', '7', 0}, Tool::Console,
       "DESCRIPTION", "ANPR unit 7"},
      {"time 12026", 12026, {7, 3, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0}, Tool::Console, "TIME",
       "2014-03-07 09:05:00"},
      {"time 14001 is plain text", 14001, {'1', '2', ':', '0', '0', 0, 0, 0}, Tool::TestTool, "TIME", "12:00"},
      {"14001 unknown to the console", 14001, {'1', 0, 0, 0}, Tool::Console, "14001", "00000031"},
      {"image 2000 in the console", 2000, {0xFF, 0xD8, 0x01, 0x02}, Tool::Console, "2000", "0201D8FF"},
      {"image 2000 in the test tool", 2000, {0xFF, 0xD8, 0x01, 0x02}, Tool::TestTool, "IMAGE", ""},
      {"13210 unlisted", 13210, {0, 0, 0, 0}, Tool::TestTool, "13210", "00000000"},
      {"unlisted id shown signed", 0xFFFFFFFF, {1, 2}, Tool::Console, "-1", "0201"},
      {"point", 10069, {10, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF}, Tool::TestTool, "POINT", "10,-3"},
      {"tsk", 12034, {0xAB, 0xCD}, Tool::Console, "TSK", "CDAB"},
      {"plate", 14003, {'A', 'B', '1', '2', '3', 'C', 'D', 0}, Tool::TestTool, "PLATE", "AB123CD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TNamedParam named = NameParam(Record(c.id, c.value), c.tool);
    EXPECT_EQ(named.Name, c.expectedName);
    EXPECT_EQ(named.Value, c.expectedValue);
  }
}

TEST(ParamNames, DateTimeValueAndInvalidDate) {
  const Bytes good = {1, 1, 0xDE, 0x07, 12, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_DOUBLE_EQ(NameParam(Record(12026, good), TParamTool::Console).DateTime, 41640.5);
  const Bytes bad = {1, 0, 0xDE, 0x07, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_THROW(NameParam(Record(12026, bad), TParamTool::Console), EConvertError);
  EXPECT_THROW(NameParam(Record(2001, bad), TParamTool::TestTool), EConvertError);
  // The console tool does not know 2001: it is dumped, not decoded.
  EXPECT_EQ(NameParam(Record(2001, bad), TParamTool::Console).Name, "2001");
}

TEST(ParamNames, TableIsConsistent) {
  std::set<uint32_t> ids;
  for (const TParamName& row : ParamNameTable()) {
    EXPECT_TRUE(ids.insert(row.Id).second) << "duplicate id " << row.Id;
  }
  EXPECT_EQ(ids.size(), 74u);
  int testToolOnly = 0;
  for (const TParamName& row : ParamNameTable()) {
    if (row.Scope == TParamScope::TestTool) {
      ++testToolOnly;
      EXPECT_EQ(FindParamName(row.Id, TParamTool::Console), nullptr) << row.Id;
    }
    EXPECT_EQ(FindParamName(row.Id, TParamTool::TestTool), &row);
  }
  EXPECT_EQ(testToolOnly, 35);
}

TEST(ParamNames, DescriptionRewrite) {
  const std::string tail15 = "0123456789ABCDE";
  struct Case {
    const char* name;
    std::string in, out;
  } cases[] = {
      {"upper", "DOZU unit 7", "ANPR unit 7"},
      {"any case", "dozu Dozu dOzU", "ANPR ANPR ANPR"},
      {"marker and 15 more removed", "Cam" + std::string(" RovevOvu") + tail15 + "Y", "CamY"},
      {"only the first marker", "A RovevOvu" + tail15 + "B RovevOvu", "AB RovevOvu"},
      {"marker near the end", "Cam RovevOvu12", "Cam"},
      {"marker needs the space", "CamRovevOvu" + tail15, "CamRovevOvu" + tail15},
      {"removal then replacement", "DO RovevOvu" + tail15 + "ZU", "ANPR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RewriteDescription(c.in), c.out);
  }
}

}  // namespace
