#include <gtest/gtest.h>

#include "ULumiconOptions.h"

namespace {

TEST(LumiconCommandLine, Table) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    TLumiconRequest expected;  // {ShowUsage, MsgNumber, Tcp, Host}
  } cases[] = {
      {"no arguments: broadcast search over UDP", {}, {false, 4096, false, ""}},
      {"address", {"-ip:192.168.1.10"}, {false, 4096, false, "192.168.1.10"}},
      {"date/time over TCP", {"-tcp:26011", "-ip:192.168.1.10"}, {false, 26011, true, "192.168.1.10"}},
      {"slash and upper case", {"/UDP:4096"}, {false, 4096, false, ""}},
      {"hex 0x", {"-udp:0x1000"}, {false, 4096, false, ""}},
      {"hex $", {"-udp:$1000"}, {false, 4096, false, ""}},
      {"hex upper 0X", {"-UDP:0X1016"}, {false, 4118, false, ""}},
      {"not a number keeps the number", {"-udp:4118", "-udp:abc"}, {false, 4118, false, ""}},
      {"empty number keeps it, transport still set", {"-tcp:26011", "-udp:"}, {false, 26011, false, ""}},
      {"later option wins, transport included", {"-udp:4118", "-tcp:26011"}, {false, 26011, true, ""}},
      {"blanks and sign", {"-udp:  +4126"}, {false, 4126, false, ""}},
      {"negative number", {"-udp:-1"}, {false, 0xFFFFFFFF, false, ""}},
      {"trailing junk", {"-udp:4126x"}, {false, 4096, false, ""}},
      {"decimal overflow", {"-udp:2147483648"}, {false, 4096, false, ""}},
      {"hex uses all 32 bits", {"-udp:$FFFFFFFF"}, {false, 0xFFFFFFFF, false, ""}},
      {"usage stops processing", {"-?", "-ip:1.2.3.4"}, {true, 4096, false, ""}},
      {"usage after other options", {"-tcp:5", "/?x"}, {true, 5, true, ""}},
      {"ignored arguments", {"-x", "ip:1.2.3.4", "-", "/", "--ip:1.2.3.4"}, {false, 4096, false, ""}},
      {"address lower-cased", {"-IP:Camera-7.LAN"}, {false, 4096, false, "camera-7.lan"}},
      {"empty address means broadcast again", {"-ip:1.2.3.4", "-ip:"}, {false, 4096, false, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TLumiconRequest r = ParseCommandLine(c.args);
    EXPECT_EQ(r.ShowUsage, c.expected.ShowUsage);
    EXPECT_EQ(r.MsgNumber, c.expected.MsgNumber);
    EXPECT_EQ(r.Tcp, c.expected.Tcp);
    EXPECT_EQ(r.Host, c.expected.Host);
  }
}

TEST(LumiconCommandLine, UsageLine) {
  EXPECT_STREQ(LumiconUsage, "usage: lumicon.exe [-?] [-ip:<ipaddr>] [-udp:<msgno>] [-tcp:<msgno>]");
}

}  // namespace
