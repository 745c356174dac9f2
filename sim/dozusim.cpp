// dozusim: simulated ANPR cameras for the service tools' demo and tests.

#include <sys/resource.h>

#include <csignal>
#include <iostream>

#include <asio.hpp>

#include "USimAddress.h"
#include "USimLog.h"
#include "USimOptions.h"
#include "USimServer.h"

namespace {

// A thousand cameras hold three sockets each.
void RaiseFileLimit() {
  rlimit r{};
  if (getrlimit(RLIMIT_NOFILE, &r) == 0 && r.rlim_cur < r.rlim_max) {
    r.rlim_cur = r.rlim_max;
    setrlimit(RLIMIT_NOFILE, &r);
  }
}

void PrintCameras(const std::vector<TSimCameraConfig>& cameras, const TSimOptions& o, const std::string& bcast,
                  TSimLog& log) {
  log.Notice("dozusim " LUMI_VERSION ": " + std::to_string(cameras.size()) + " camera" +
             (cameras.size() == 1 ? "" : "s") + ", UDP " + std::to_string(o.UdpPort) + ", TCP " +
             std::to_string(o.TcpPort) + ", HTTP " + std::to_string(o.HttpPort) + ", broadcasts taken on " + bcast +
             (o.SpreadMs ? ", answers spread over " + std::to_string(o.SpreadMs) + " ms" : ""));
  const size_t shown = cameras.size() <= 20 ? cameras.size() : 3;
  for (size_t i = 0; i < shown; ++i) {
    const TSimCameraConfig& c = cameras[i];
    std::string line = "  cam " + std::to_string(c.Number) + "  " + c.HostName + "  SN " +
                       std::to_string(c.SerialNumber) + "  MAC " + FormatMac(c.Mac) + "  IP " +
                       FormatIPv4(c.IpAddress) + "/" + FormatIPv4(c.Netmask);
    if (c.ListenAddress() != c.IpAddress) line += "  listening on " + FormatIPv4(c.ListenAddress());
    for (const TSimFault& f : c.Faults) line += "  fault " + DescribeFault(f);
    log.Notice(line);
  }
  if (shown < cameras.size())
    log.Notice("  ... cam " + std::to_string(cameras.back().Number) + "  " + cameras.back().HostName + "  IP " +
               FormatIPv4(cameras.back().IpAddress));
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  TSimOptions options = DefaultOptions(ReadEnvironment());
  std::string error;
  if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::cerr << "dozusim: " << error << "\n";
    return 2;
  }
  if (options.Help) {
    std::cout << UsageText();
    return 0;
  }
  if (options.ShowVersion) {
    std::cout << "dozusim " LUMI_VERSION "\n";
    return 0;
  }
  std::vector<TSimCameraConfig> cameras;
  if (!BuildCameraConfigs(options, cameras, error)) {
    std::cerr << "dozusim: " << error << "\n";
    return 2;
  }
  RaiseFileLimit();
  TSimLog log(options.Verbosity, std::cout);
  asio::io_context io;
  try {
    TSimServer server(io, options, cameras, log);
    server.Start();
    PrintCameras(cameras, options, server.BroadcastListenAddress(), log);
    asio::signal_set signals(io, SIGINT, SIGTERM);
    asio::steady_timer runFor(io);
    auto stop = [&](const std::string& why) {
      log.Notice("dozusim stopping: " + why);
      signals.cancel();
      runFor.cancel();
      server.Stop();
      io.stop();
    };
    signals.async_wait([&](asio::error_code ec, int sig) {
      if (!ec) stop(sig == SIGINT ? "interrupted" : "terminated");
    });
    if (options.RunForSeconds > 0) {
      runFor.expires_after(std::chrono::milliseconds(static_cast<int64_t>(options.RunForSeconds * 1000)));
      runFor.async_wait([&](asio::error_code ec) {
        if (!ec) stop("--run-for elapsed");
      });
    }
    log.Notice("ready");
    io.run();
  } catch (const std::exception& e) {
    std::cerr << "dozusim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
