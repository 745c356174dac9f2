// Loopback timings of the UDP and TCP exchanges against a stand-in camera.

#include <benchmark/benchmark.h>

#include "LoopbackPeer.h"
#include "UZudirir.h"

namespace {

using peer::Bytes;

Bytes FullReply(uint32_t number) {
  Bytes payload(ReplyPayloadCapacity);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i);
  return peer::Reply(number, 0, payload);
}

TZudirirMsg Request(uint32_t number) {
  TZudirirMsg m;
  TFormZudirir::InitMsg(m, number, 0);
  return m;
}

// A device search with wait count 10 that nobody answers: ten silent polls.
void BM_SearchWithoutAnswer(benchmark::State& state) {
  peer::UdpPeer quiet;
  quiet.Start([](const auto&) { return std::vector<Bytes>{}; });
  TFormZudirir z;
  TZudirirEndpoints e;
  e.UdpPort = quiet.Port();
  e.Broadcast = "127.255.255.255";
  z.SetEndpoints(e);
  const uint8_t* reply = nullptr;
  for (auto _ : state) benchmark::DoNotOptimize(z.ExchangeUdp("", "", Request(4096), reply, 10, nullptr));
}
BENCHMARK(BM_SearchWithoutAnswer)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// One request answered by a 1 MiB reply in 729 datagrams sent back to back.
void BM_UdpReplyOf1MiB(benchmark::State& state) {
  const auto datagrams = peer::Fragments(FullReply(4100));
  peer::UdpPeer camera;
  camera.Start([&](const auto&) { return datagrams; });
  TFormZudirir z;
  TZudirirEndpoints e;
  e.UdpPort = camera.Port();
  z.SetEndpoints(e);
  const uint8_t* reply = nullptr;
  int64_t whole = 0;
  for (auto _ : state) {
    uint32_t got = 0;
    z.ExchangeUdp("127.0.0.1", "", Request(4100), reply, 1, [&](const uint8_t*, uint32_t n) {
      got = n;
      return true;
    });
    whole += got == ReplyBufferSize;
  }
  state.counters["whole"] = benchmark::Counter(static_cast<double>(whole) / state.iterations());
  state.counters["SO_RCVBUF"] = z.UdpReceiveBufferSize();
  state.SetBytesProcessed(state.iterations() * int64_t{ReplyBufferSize});
}
BENCHMARK(BM_UdpReplyOf1MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TcpReplyOf1MiB(benchmark::State& state) {
  const Bytes reply = FullReply(25166);
  peer::TcpPeer camera;
  camera.Start([&](asio::ip::tcp::socket& s) {
    peer::ReadRequest(s);
    asio::write(s, asio::buffer(reply));
  });
  TFormZudirir z;
  TZudirirEndpoints e;
  e.TcpPort = camera.Port();
  z.SetEndpoints(e);
  for (auto _ : state) benchmark::DoNotOptimize(z.ExchangeTcp("127.0.0.1", Request(25166), nullptr));
  state.SetBytesProcessed(state.iterations() * int64_t{ReplyBufferSize});
}
BENCHMARK(BM_TcpReplyOf1MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
