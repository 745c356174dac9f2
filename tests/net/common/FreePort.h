#pragma once
// Loopback ports the system has just given out and nothing holds any more:
// each test run picks its own, so suites running side by side never meet, and
// a test that needs a port nobody answers on has one.

#include <asio.hpp>

#include <cstdint>
#include <random>

namespace peer {

inline uint16_t FreeUdpPort() {
  asio::io_context io;
  asio::ip::udp::socket s(io, asio::ip::udp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
  return s.local_endpoint().port();
}

inline uint16_t FreeTcpPort() {
  asio::io_context io;
  asio::ip::tcp::acceptor a(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
  return a.local_endpoint().port();
}

// A UDP port that several sockets of one test may share (they bind it with
// SO_REUSEADDR to all receive a broadcast). The system's own choice cannot be
// used for that: Linux may hand the same port to sockets of another process
// that also allow sharing, and their requests would then reach this test. A
// random port outside the ephemeral range that an exclusive bind finds free is
// used instead.
inline uint16_t SharableUdpPort() {
  static std::mt19937 random(std::random_device{}());
  asio::io_context io;
  for (int attempt = 0; attempt < 200; ++attempt) {
    const uint16_t port = static_cast<uint16_t>(std::uniform_int_distribution<int>(10000, 30000)(random));
    asio::ip::udp::socket probe(io);
    std::error_code ec;
    probe.open(asio::ip::udp::v4(), ec);
    if (!ec) probe.bind({asio::ip::address_v4::any(), port}, ec);
    if (!ec) return port;
  }
  return FreeUdpPort();
}

}  // namespace peer
