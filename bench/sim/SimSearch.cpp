// Many simulated cameras answer one broadcast search on loopback.
//
//   bench_sim_search [--cameras N] [--spread MS]... [--runs R]
//
// For each spread (default 300 and 0: answers spread over 300 ms, and all at
// once) it starts dozusim under /usr/bin/time -v, runs Lumicon's broadcast
// search and counts the reply blocks it prints, repeats the search through
// the protocol component in this process to read the receive buffer the
// system granted, stops dozusim and reads its peak memory.

#include <signal.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "FreePort.h"
#include "RunProgram.h"
#include "UHandleZudirir.h"
#include "UMessages.h"

namespace {

std::set<std::string> Serials(const std::string& out) {
  std::set<std::string> s;
  const std::string key = "12000; SERIAL_NUMBER; ";
  for (size_t at = out.find(key); at != std::string::npos; at = out.find(key, at + 1))
    s.insert(out.substr(at + key.size(), out.find('\n', at) - at - key.size()));
  return s;
}

// The process /usr/bin/time started.
pid_t ChildOf(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
  pid_t child = 0;
  in >> child;
  return child;
}

long PeakKb(const std::string& timeReport) {
  const std::string key = "Maximum resident set size (kbytes): ";
  const size_t at = timeReport.find(key);
  return at == std::string::npos ? -1 : std::atol(timeReport.c_str() + at + key.size());
}

}  // namespace

int main(int argc, char** argv) {
  int cameras = 1000, runs = 3;
  std::vector<int> spreads;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--cameras") cameras = std::atoi(argv[i + 1]);
    else if (a == "--spread") spreads.push_back(std::atoi(argv[i + 1]));
    else if (a == "--runs") runs = std::atoi(argv[i + 1]);
  }
  if (spreads.empty()) spreads = {300, 0};

  std::printf("%-8s %-8s %-4s %-14s %-16s %-16s %-14s %-12s\n", "cameras", "spread", "run", "lumicon_ms",
              "lumicon_blocks", "component_replies", "rcvbuf_granted", "sim_peak_kb");
  for (int spread : spreads) {
    const uint16_t udp = peer::FreeUdpPort(), tcp = peer::FreeTcpPort(), http = peer::FreeTcpPort();
    const std::map<std::string, std::string> env = {{"ZUDIRIR_UDP_PORT", std::to_string(udp)},
                                                    {"ZUDIRIR_TCP_PORT", std::to_string(tcp)},
                                                    {"ZUDIRIR_HTTP_PORT", std::to_string(http)},
                                                    {"ZUDIRIR_BROADCAST", "127.255.255.255"}};
    for (const auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
    peer::TRunningProgram dozusim("/usr/bin/time",
                                  {"-v", DOZUSIM_PATH, "--cameras", std::to_string(cameras), "--spread",
                                   std::to_string(spread), "--quiet"},
                                  env);
    if (!dozusim.WaitFor("ready\n", std::chrono::seconds(60))) {
      std::cerr << "dozusim did not start:\n" << dozusim.Log();
      return 1;
    }
    TFormZudirir tool;
    for (int run = 1; run <= runs; ++run) {
      const peer::TRunResult r = peer::RunProgram(LUMICON_PATH, {}, env, std::chrono::seconds(60));
      const size_t blocks = Serials(r.Out).size();
      // The same search through the protocol component, for the granted buffer.
      int replies = 0;
      const uint8_t* reply = nullptr;
      tool.ExchangeUdp("", "", BuildDeviceInfo(), reply, WAIT_DEVICE_SEARCH, [&](const uint8_t* b, uint32_t n) {
        if (AcceptReply(b, n) == TReplyAcceptance::Incomplete) return false;
        ++replies;
        return true;
      });
      std::printf("%-8d %-8d %-4d %-14lld %-16zu %-16d %-14d %-12s\n", cameras, spread, run,
                  static_cast<long long>(r.Took.count()), blocks, replies, tool.UdpReceiveBufferSize(), "");
      std::fflush(stdout);
    }
    // Stop dozusim itself, so that time reports on it.
    if (const pid_t child = ChildOf(dozusim.Pid()); child > 0) kill(child, SIGTERM);
    dozusim.WaitFor("Maximum resident set size", std::chrono::seconds(10));
    dozusim.Stop();
    std::printf("%-8d %-8d %-4s %-14s %-16s %-16s %-14s %-12ld\n", cameras, spread, "-", "", "", "", "",
                PeakKb(dozusim.Log()));
  }
  return 0;
}
