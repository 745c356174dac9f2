#pragma once
// A small stand-in camera for network tests: UDP sockets that answer requests
// with scripted datagrams and a TCP listener that runs a scripted connection.
// Everything stays on loopback; every wait is bounded. Replies are put
// together here by hand, independent of the library under test.

#include <poll.h>

#include <asio.hpp>

#include "FreePort.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace peer {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

inline void PutWord(Bytes& b, uint32_t w) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(w >> (8 * i)));
}

inline uint32_t WordAt(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// One parameter record: id, length, value filled to a multiple of 4.
inline Bytes Record(uint32_t id, const Bytes& value) {
  Bytes r;
  PutWord(r, id);
  PutWord(r, static_cast<uint32_t>(value.size()));
  r.insert(r.end(), value.begin(), value.end());
  while (r.size() % 4) r.push_back(0);
  return r;
}

inline Bytes Text(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

inline Bytes Word(uint32_t w) {
  Bytes b;
  PutWord(b, w);
  return b;
}

// A whole reply message: header (PayloadSize as given, or the payload's size) and payload.
inline Bytes Reply(uint32_t msgNumber, uint32_t status, const Bytes& payload, int64_t payloadSize = -1,
                   uint32_t sourceChannel = 0) {
  Bytes m;
  PutWord(m, 24);
  PutWord(m, msgNumber);
  PutWord(m, sourceChannel);
  PutWord(m, 0);
  PutWord(m, status);
  PutWord(m, payloadSize < 0 ? static_cast<uint32_t>(payload.size()) : static_cast<uint32_t>(payloadSize));
  m.insert(m.end(), payload.begin(), payload.end());
  return m;
}

// One datagram: fragment header then data.
inline Bytes Datagram(uint32_t count, uint32_t index, uint32_t fragmentLength, uint32_t messageLength,
                      const Bytes& data) {
  Bytes d;
  PutWord(d, count);
  PutWord(d, index);
  PutWord(d, fragmentLength);
  PutWord(d, messageLength);
  d.insert(d.end(), 8, 0);
  d.insert(d.end(), 8, 0xFF);
  d.insert(d.end(), data.begin(), data.end());
  return d;
}

// The datagrams a camera sends for a reply: 1440-byte slices.
inline std::vector<Bytes> Fragments(const Bytes& message) {
  const uint32_t total = static_cast<uint32_t>(message.size());
  const uint32_t count = (total + 1439) / 1440;
  std::vector<Bytes> out;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t from = size_t{i} * 1440;
    const size_t n = std::min<size_t>(1440, total - from);
    out.push_back(Datagram(count, i, static_cast<uint32_t>(n + 32), total,
                           Bytes(message.begin() + from, message.begin() + from + n)));
  }
  return out;
}

inline bool Readable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) > 0;
}

// UDP sockets sharing one port on the wildcard address (so a broadcast to
// 127.255.255.255 reaches every one of them, like cameras on one LAN).
class UdpPeer {
public:
  struct Received {
    Bytes Datagram;
    asio::ip::udp::endpoint From;
    int Socket;
  };
  // Datagrams to send back to the sender of a request.
  using Answer = std::function<std::vector<Bytes>(const Received&)>;

  explicit UdpPeer(int sockets = 1) {
    // One socket takes a port of its own; several share one that no other
    // suite's sockets can be given (see SharableUdpPort).
    if (sockets > 1) Port_ = SharableUdpPort();
    for (int i = 0; i < sockets; ++i) {
      Sockets_.emplace_back(Io_);
      auto& s = Sockets_.back();
      s.open(asio::ip::udp::v4());
      if (sockets > 1) s.set_option(asio::socket_base::reuse_address(true));
      s.set_option(asio::socket_base::send_buffer_size(8 << 20));
      s.bind({asio::ip::address_v4::any(), Port_});
      Port_ = s.local_endpoint().port();
    }
  }
  ~UdpPeer() { Stop(); }

  uint16_t Port() const { return Port_; }

  void Start(Answer answer) {
    for (size_t i = 0; i < Sockets_.size(); ++i) {
      Threads_.emplace_back([this, i, answer] {
        auto& s = Sockets_[i];
        std::vector<uint8_t> buf(0x10000);
        while (!Stop_) {
          if (!Readable(s.native_handle(), 20)) continue;
          Received r;
          std::error_code ec;
          const size_t n = s.receive_from(asio::buffer(buf), r.From, 0, ec);
          if (ec) continue;
          r.Datagram.assign(buf.begin(), buf.begin() + n);
          r.Socket = static_cast<int>(i);
          {
            std::lock_guard lock(Mutex_);
            Requests_.push_back(r);
          }
          Cv_.notify_all();
          for (const Bytes& d : answer(r)) s.send_to(asio::buffer(d), r.From, 0, ec);
        }
      });
    }
  }

  void Stop() {
    Stop_ = true;
    for (auto& t : Threads_)
      if (t.joinable()) t.join();
    Threads_.clear();
  }

  std::vector<Received> Requests() {
    std::lock_guard lock(Mutex_);
    return Requests_;
  }
  bool WaitRequests(size_t n, std::chrono::milliseconds timeout = 2000ms) {
    std::unique_lock lock(Mutex_);
    return Cv_.wait_for(lock, timeout, [&] { return Requests_.size() >= n; });
  }

  // Sends a datagram from the first socket, e.g. a late reply.
  void SendTo(const asio::ip::udp::endpoint& to, const Bytes& d) { Sockets_[0].send_to(asio::buffer(d), to); }

private:
  asio::io_context Io_;
  std::vector<asio::ip::udp::socket> Sockets_;
  uint16_t Port_ = 0;
  std::vector<std::thread> Threads_;
  std::atomic<bool> Stop_{false};
  std::mutex Mutex_;
  std::condition_variable Cv_;
  std::vector<Received> Requests_;
};

// A TCP listener on 127.0.0.1 that hands every accepted connection to a script.
class TcpPeer {
public:
  using Script = std::function<void(asio::ip::tcp::socket&)>;

  TcpPeer() : Acceptor_(Io_) {
    Acceptor_.open(asio::ip::tcp::v4());
    Acceptor_.set_option(asio::socket_base::reuse_address(true));
    Acceptor_.bind({asio::ip::make_address_v4("127.0.0.1"), 0});
    Acceptor_.listen();
  }
  ~TcpPeer() { Stop(); }

  uint16_t Port() const { return Acceptor_.local_endpoint().port(); }

  void Start(Script script) {
    Thread_ = std::thread([this, script] {
      while (!Stop_) {
        if (!Readable(Acceptor_.native_handle(), 20)) continue;
        asio::ip::tcp::socket s(Io_);
        std::error_code ec;
        Acceptor_.accept(s, ec);
        if (ec) continue;
        {
          std::lock_guard lock(Mutex_);
          Peers_.push_back(s.remote_endpoint().address().to_string());
        }
        script(s);
      }
    });
  }

  void Stop() {
    Stop_ = true;
    if (Thread_.joinable()) Thread_.join();
  }

  std::vector<std::string> Peers() {
    std::lock_guard lock(Mutex_);
    return Peers_;
  }

private:
  asio::io_context Io_;
  asio::ip::tcp::acceptor Acceptor_;
  std::thread Thread_;
  std::atomic<bool> Stop_{false};
  std::mutex Mutex_;
  std::vector<std::string> Peers_;
};

// Reads up to n bytes, waiting at most timeout for each part; returns what came.
inline Bytes ReadSome(asio::ip::tcp::socket& s, size_t n, std::chrono::milliseconds timeout = 2000ms) {
  Bytes out;
  std::vector<uint8_t> buf(n);
  while (out.size() < n) {
    if (!Readable(s.native_handle(), static_cast<int>(timeout.count()))) break;
    std::error_code ec;
    const size_t got = s.read_some(asio::buffer(buf.data(), n - out.size()), ec);
    if (ec) break;
    out.insert(out.end(), buf.begin(), buf.begin() + got);
  }
  return out;
}

// Reads one request: header, then PayloadSize bytes.
inline Bytes ReadRequest(asio::ip::tcp::socket& s) {
  Bytes header = ReadSome(s, 24);
  if (header.size() < 24) return header;
  const Bytes payload = ReadSome(s, WordAt(header, 20));
  header.insert(header.end(), payload.begin(), payload.end());
  return header;
}

// True when the other side closes the connection within timeout.
inline bool ClosedByClient(asio::ip::tcp::socket& s, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  uint8_t b[256];
  while (std::chrono::steady_clock::now() < end) {
    if (!Readable(s.native_handle(), 20)) continue;
    std::error_code ec;
    s.read_some(asio::buffer(b), ec);
    if (ec) return true;
  }
  return false;
}

}  // namespace peer
