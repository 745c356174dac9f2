#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UPingCommand.h"

namespace {

TEST(PingCommand, EachTerminalRunsPingWithTheHostAsOneArgument) {
  struct Case {
    std::string terminal;
    std::vector<std::string> arguments;
  } cases[] = {
      {"/usr/bin/x-terminal-emulator", {"-e", "ping", "10.0.0.5"}},
      {"/usr/bin/gnome-terminal", {"--", "ping", "10.0.0.5"}},
      {"/usr/bin/konsole", {"-e", "ping", "10.0.0.5"}},
      {"/usr/bin/xfce4-terminal", {"-x", "ping", "10.0.0.5"}},
      {"/usr/bin/mate-terminal", {"-x", "ping", "10.0.0.5"}},
      {"/usr/bin/xterm", {"-e", "ping", "10.0.0.5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.terminal);
    const TProgramCall call = PingInTerminal(c.terminal, "10.0.0.5");
    EXPECT_EQ(call.Program, c.terminal);
    EXPECT_EQ(call.Arguments, c.arguments);
  }
  // Every candidate has its rule; the last resort is the plain X terminal.
  EXPECT_EQ(TerminalCandidates().front(), "x-terminal-emulator");
  EXPECT_EQ(TerminalCandidates().back(), "xterm");
}

TEST(PingCommand, OnlyPlainHostTextsReachPing) {
  struct Case {
    std::string host;
    bool plain;
  } cases[] = {
      {"192.168.1.20", true},    {"cam-1.local", true},     {"fe80::1%eth0", true},
      {"", false},               {"-f", false},             {"10.0.0.1 -f", false},
      {"10.0.0.1;reboot", false}, {"\"10.0.0.1\"", false}, {"10.0.0.1\n", false},
      {"caf\xE9", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.host);
    EXPECT_EQ(IsPlainHost(c.host), c.plain);
  }
}

}  // namespace
