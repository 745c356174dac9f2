// dozusim and Lumicon on the cameras' real ports with a real broadcast to
// 255.255.255.255, inside a private network namespace made by
// scripts/netns-run: nothing leaves for the machine's own interfaces. Needs
// root; skipped otherwise.

#include <gtest/gtest.h>
#include <unistd.h>

#include "RunProgram.h"

namespace {

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(SimInNamespace, RealPortsAndRealBroadcast) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make a private network namespace (unshare -n); skipped";
  // Camera 3 thinks it is 192.168.9.9/24: it answers the PC at 10.77.0.1 by
  // broadcast, which is how a camera with a wrong address is still found.
  const std::string script = std::string(R"(
    set -u
    unset ZUDIRIR_UDP_PORT ZUDIRIR_TCP_PORT ZUDIRIR_HTTP_PORT ZUDIRIR_BROADCAST
    log=$(mktemp)
    ")") + DOZUSIM_PATH + R"(" --first-ip 10.77.0.11 --netmask 255.255.0.0 --run-for 10 \
        --camera 3:ip=192.168.9.9 --camera 3:bind=10.77.0.13 --camera 3:netmask=255.255.255.0 > "$log" 2>&1 &
    sim=$!
    for i in $(seq 100); do grep -q '^.* ready$' "$log" && break; sleep 0.05; done
    ")" + LUMICON_PATH + R"("
    ")" + LUMICON_PATH + R"(" -ip:10.77.0.12 -tcp:26011
    kill $sim; wait $sim
    cat "$log" >&2; rm -f "$log"
  )";
  const auto r = peer::RunProgram(NETNS_RUN_PATH, {"--cameras", "3", "--", "bash", "-c", script}, {},
                                  std::chrono::seconds(40));
  if (r.ExitCode == 77) GTEST_SKIP() << r.Err;
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(Count(r.Out, "12000; SERIAL_NUMBER;"), 3u) << r.Out;
  for (const char* ip : {"10.77.0.11", "10.77.0.12", "192.168.9.9"})
    EXPECT_EQ(Count(r.Out, std::string("12002; IP_ADDRESS; ") + ip + "\n"), 1u) << ip;
  EXPECT_EQ(Count(r.Out, "12026; TIME; "), 1u);
  EXPECT_NE(r.Err.find("UDP 1003, TCP 31000, HTTP 80, broadcasts taken on 0.0.0.0"), std::string::npos) << r.Err;
  EXPECT_EQ(Count(r.Err, "(broadcast) MSG_DEVICE_INFO(4096)"), 3u) << r.Err;
  EXPECT_NE(r.Err.find("by broadcast to 255.255.255.255:"), std::string::npos) << r.Err;
}

}  // namespace
