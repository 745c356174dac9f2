#pragma once
// Loopback ports the system has just given out and nothing holds any more:
// each test run picks its own, so suites running side by side never meet, and
// a test that needs a port nobody answers on has one.

#include <asio.hpp>

#include <cstdint>

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

}  // namespace peer
