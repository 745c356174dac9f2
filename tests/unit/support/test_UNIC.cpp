#include <gtest/gtest.h>

#include <arpa/inet.h>
#ifdef __linux__
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>

#include "UNIC.h"

namespace {

uint32_t Addr(const char* dotted) {
  in_addr a{};
  EXPECT_EQ(inet_pton(AF_INET, dotted, &a), 1) << dotted;
  return a.s_addr;
}

TEST(NIC, ElementFromEntry) {
  struct Case {
    const char* name;
    const char* address;
    const char* netmask;
    const char* network;
    const char* directed;
  } cases[] = {
      {"class C", "192.168.1.20", "255.255.255.0", "192.168.1.0", "192.168.1.255"},
      {"host mask", "10.1.2.3", "255.255.255.255", "10.1.2.3", "10.1.2.3"},
      {"odd mask", "172.16.77.9", "255.255.240.0", "172.16.64.0", "172.16.79.255"},
      {"no mask", "1.2.3.4", "0.0.0.0", "0.0.0.0", "255.255.255.255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TInterfaceEntry e{Addr(c.address), Addr(c.netmask), Addr("9.9.9.9"), true, true, false};
    const TNetworkInterface nic = MakeNetworkInterface(e, "PC");
    EXPECT_EQ(nic.HostName, "PC");
    EXPECT_EQ(nic.Address, c.address);
    EXPECT_EQ(nic.Netmask, c.netmask);
    EXPECT_EQ(nic.NetworkAddress, c.network);
    EXPECT_EQ(nic.DirectedBroadcast, c.directed);
    EXPECT_EQ(nic.ReportedBroadcast, "9.9.9.9");
  }
}

// On this machine: loopback is among the system's entries and never in the list.
TEST(NIC, ListingSkipsLoopback) {
  std::vector<TInterfaceEntry> entries;
  ASSERT_TRUE(ReadInterfaceEntries(entries));
  const bool hasLoopback = std::any_of(entries.begin(), entries.end(), [](const TInterfaceEntry& e) {
    return e.Loopback && DottedAddress(e.Address) == "127.0.0.1";
  });
  EXPECT_TRUE(hasLoopback);
  TNetworkInterfaceList list(3);  // emptied first
  const int n = ListLocalInterfaces(list);
  EXPECT_EQ(n, static_cast<int>(list.size()));
  EXPECT_EQ(n, std::count_if(entries.begin(), entries.end(), [](const TInterfaceEntry& e) { return !e.Loopback; }));
  for (const TNetworkInterface& nic : list) {
    EXPECT_FALSE(nic.Loopback);
    EXPECT_NE(nic.Address, "127.0.0.1");
    EXPECT_LE(nic.HostName.size(), 15u);
  }
  EXPECT_LE(LocalHostName().size(), 15u);
}

#ifdef __linux__
// Inside a private network namespace of its own, with two known addresses.
TEST(NIC, ListingInPrivateNamespace) {
  int pipeFd[2];
  ASSERT_EQ(pipe(pipeFd), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipeFd[0]);
    if (unshare(CLONE_NEWNET) != 0) _exit(77);
    if (std::system("ip link set lo up && ip link add nicA type veth peer name nicB &&"
                    " ip addr add 192.168.1.20/24 brd + dev nicA && ip addr add 10.9.8.7/32 brd + dev nicB &&"
                    " ip link set nicA up") != 0)
      _exit(77);
    TNetworkInterfaceList list;
    ListLocalInterfaces(list);
    std::string report;
    for (const TNetworkInterface& n : list)
      report += n.Address + " " + n.Netmask + " " + n.NetworkAddress + " " + n.DirectedBroadcast + " " +
                n.ReportedBroadcast + " " + (n.Up ? "up" : "down") + " " + (n.BroadcastCapable ? "bc" : "-") +
                "\n";
    if (write(pipeFd[1], report.data(), report.size()) != static_cast<ssize_t>(report.size())) _exit(1);
    _exit(0);
  }
  close(pipeFd[1]);
  std::string report;
  char buf[512];
  for (ssize_t n; (n = read(pipeFd[0], buf, sizeof buf)) > 0;) report.append(buf, static_cast<size_t>(n));
  close(pipeFd[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no private network namespace here (needs root and ip)";
  ASSERT_EQ(WEXITSTATUS(status), 0);
  // Loopback is left out; the two addresses come in the system's order.
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = report.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(report.substr(start, end - start));
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "10.9.8.7 255.255.255.255 10.9.8.7 10.9.8.7 10.9.8.7 down bc",
                       "192.168.1.20 255.255.255.0 192.168.1.0 192.168.1.255 192.168.1.255 up bc",
                   }));
}
#endif

}  // namespace
