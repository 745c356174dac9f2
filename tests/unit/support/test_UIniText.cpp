#include <gtest/gtest.h>

#include "UIniText.h"

namespace {

TEST(IniText, SplitLinesAtEveryBreak) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"empty", "", {}},
      {"no break", "a", {"a"}},
      {"final break adds nothing", "a\r\n", {"a"}},
      {"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"empty lines kept", "\n\r\n\r", {"", "", ""}},
      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitLines(c.text), c.lines);
  }
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLines({}), "");
}

TEST(IniText, TrimAndCaseFolding) {
  EXPECT_EQ(TrimIni(std::string_view("\t \x01 a b\r\0 ", 10)), "a b");
  EXPECT_EQ(TrimIni("  "), "");
  EXPECT_TRUE(SameText("Network ETH_IMX_0", "NETWORK eth_imx_0"));
  EXPECT_TRUE(SameText("\xE9t\xE9", "\xC9T\xC9"));  // code page letters fold too
  EXPECT_FALSE(SameText("ab", "abc"));
  EXPECT_FALSE(SameText("a_", "a\x7F"));
}

// The reading rules, on a file that holds a bit of everything.
TEST(IniText, ReadingRules) {
  const TIniText ini = TIniText::FromText(
      "orphan=1\r\n"                 // before any section: dropped
      "[ Net ]\r\n"
      "  ; comment\r\n"
      "\t IP = 10.0.0.5 \t\r\n"
      "url=http://x/?a=b\r\n"          // first "=" splits
      "noequals\r\n"
      "=empty key\r\n"
      "ip=10.0.0.6\r\n"                // later duplicate wins
      "[other]\n"
      "orphan=2\n"
      "[NET]\n"                        // later section of the same name wins
      "Mode=2\n"
      "ip=10.0.0.7\n");
  EXPECT_EQ(ini.ReadString("net", "IP"), "10.0.0.7");
  EXPECT_EQ(ini.ReadString("net", "url"), "");  // only in the earlier [Net]
  EXPECT_EQ(ini.ReadString("Other", "ORPHAN"), "2");
  EXPECT_EQ(ini.ReadString("nope", "ip", "dflt"), "dflt");
  ASSERT_EQ(ini.Sections().size(), 3u);
  const TIniSection& first = ini.Sections()[0];
  EXPECT_EQ(first.Name, "Net");
  ASSERT_EQ(first.Lines.size(), 5u);
  EXPECT_EQ(first.Lines[0].Render(), "IP=10.0.0.5");
  EXPECT_EQ(first.Lines[1].Value, "http://x/?a=b");
  EXPECT_FALSE(first.Lines[2].HasKey);
  EXPECT_EQ(first.Lines[2].Render(), "noequals");
  EXPECT_TRUE(first.Lines[3].HasKey);
  EXPECT_EQ(first.Lines[3].Key, "");
}

TEST(IniText, SectionLinesNeedBothBrackets) {
  const TIniText ini({"[a]", "[b", "c]", "[]", "x=1", "[", "]"});
  ASSERT_EQ(ini.Sections().size(), 2u);
  EXPECT_EQ(ini.Sections()[0].Lines.size(), 2u);  // "[b" and "c]" are plain lines
  EXPECT_EQ(ini.Sections()[1].Name, "");
  EXPECT_EQ(ini.ReadString("", "x"), "1");
  EXPECT_EQ(ini.Sections()[1].Lines.size(), 3u);
}

TEST(IniText, ReadIntegerDefaults) {
  const TIniText ini({"[options]", "port=0x7D01", "word=abc", "frac=87.5", "neg=-5", "empty=",
                      "upper=0X10"});
  EXPECT_EQ(ini.ReadInteger("options", "port", 32000), 32001);
  EXPECT_EQ(ini.ReadInteger("options", "word", 32000), 32000);
  EXPECT_EQ(ini.ReadInteger("options", "frac", 0), 0);
  EXPECT_EQ(ini.ReadInteger("options", "neg", 0), -5);
  EXPECT_EQ(ini.ReadInteger("options", "empty", 7), 7);
  EXPECT_EQ(ini.ReadInteger("options", "missing", 7), 7);
  EXPECT_EQ(ini.ReadInteger("options", "upper", 7), 16);
  EXPECT_EQ(ini.ReadInteger("options", "upper", 7, TIntSyntax::DollarOr0x), 7);
}

// A camera's device.ini through a read-modify-write, as it goes back to it.
TEST(IniText, RewriteKeepsOrderAndDropsComments) {
  TIniText ini({"; written by the camera", "[Network ETH_IMX_0]", "ip = 10.0.0.5", "Mode=2"});
  ini.WriteString("Device Parameters", "NetBiosName", "CAM1");
  ini.WriteString("Network ETH_IMX_0", "IP", "10.0.0.9");
  ini.WriteString("Network ETH_IMX_0", "NetMask", "255.255.255.0");
  ini.WriteString("Network ETH_IMX_0", "Gateway", "10.0.0.1");
  ini.WriteInteger("Network ETH_IMX_0", "DHCP", 0);
  EXPECT_EQ(ini.RenderText(),
            "[Network ETH_IMX_0]\r\nIP=10.0.0.9\r\nMode=2\r\nNetMask=255.255.255.0\r\n"
            "Gateway=10.0.0.1\r\nDHCP=0\r\n\r\n"
            "[Device Parameters]\r\nNetBiosName=CAM1\r\n\r\n");
}

TEST(IniText, WriteGoesToLaterDuplicates) {
  TIniText ini({"[s]", "k=1", "K=2", "plain", "[S]", "k=3", "k=4"});
  ini.WriteString("s", "k", "x");
  ini.WriteInteger("s", "n", -7);
  EXPECT_EQ(ini.Render(), (std::vector<std::string>{"[s]", "k=1", "K=2", "plain", "", "[S]", "k=3",
                                                    "k=x", "n=-7", ""}));
  EXPECT_EQ(TIniText().RenderText(), "");
  // What is rendered reads back the same.
  const TIniText again(ini.Render());
  EXPECT_EQ(again.Render(), ini.Render());
}

}  // namespace
