// The protocol component's exchanges: UDP with fragments and reassembly, TCP
// with one fresh connection per request. Blocking calls with the time-outs the
// exchanges name; Asio for portability.

#include <asio.hpp>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "UErrors.h"
#include "UReassembly.h"
#include "UTools.h"
#include "UZudirir.h"

#if defined(__linux__)
#include <sys/socket.h>
#endif

namespace {

using namespace std::chrono_literals;

constexpr auto UdpPollTimeout = 100ms;
constexpr auto TcpReadTimeout = 3000ms;
constexpr size_t UdpReceiveChunk = 0xFFFFF;  // largest datagram one poll takes
constexpr uint32_t NoReplyHeader = 0xFFFFFF;
// A camera sends a 1 MiB reply as 729 datagrams back to back; the socket must
// queue them all while the handler of an earlier reply runs. The kernel books
// more than the payload per datagram, hence the margin.
constexpr int WantedReceiveBuffer = 8 * 1024 * 1024;

[[noreturn]] void ThrowNetError(const std::error_code& ec, const std::string& doing) {
  if (ec == asio::error::connection_refused) throw EConnectError("Connection refused");
  if (ec == asio::error::eof) throw EConnClosedGracefully("Connection closed gracefully.");
  if (ec == asio::error::connection_reset) throw ESocketError("Connection reset by peer");
  if (ec == asio::error::timed_out) throw EConnectError("Connection timed out");
  if (ec == asio::error::host_unreachable || ec == asio::error::network_unreachable)
    throw EConnectError(ec.message());
  throw ESocketError(doing + ": " + ec.message());
}

// Waits until s has something to read or timeout passes. Returns false on
// timeout. The wait runs on io, which only this socket uses.
template <class Socket>
bool WaitReadable(asio::io_context& io, Socket& s, std::chrono::milliseconds timeout) {
  bool done = false;
  std::error_code result;
  s.async_wait(Socket::wait_read, [&](const std::error_code& ec) {
    done = true;
    result = ec;
  });
  io.restart();
  io.run_for(timeout);
  if (!done) {
    std::error_code ignored;
    s.cancel(ignored);
    io.restart();
    io.run();  // the cancelled wait completes at once
  }
  if (result == asio::error::operation_aborted) return false;
  if (result) ThrowNetError(result, "Wait");
  return true;
}

asio::ip::address_v4 ParseLocalAddress(const std::string& text) {
  std::error_code ec;
  const auto address = asio::ip::make_address_v4(text, ec);
  if (ec) throw ESocketError("Invalid local address: " + text);
  return address;
}

// An IPv4 literal is taken as is; anything else goes to the resolver.
template <class Protocol>
typename Protocol::endpoint Resolve(asio::io_context& io, const std::string& host, uint16_t port) {
  std::error_code ec;
  const auto literal = asio::ip::make_address_v4(host, ec);
  if (!ec) return {literal, port};
  typename Protocol::resolver resolver(io);
  const auto results = resolver.resolve(Protocol::v4(), host, std::to_string(port), ec);
  if (ec || results.empty()) throw EHostNotFound("Host not found");
  return results.begin()->endpoint();
}

int ReceiveBufferOf(asio::ip::udp::socket& s) {
  asio::socket_base::receive_buffer_size granted;
  std::error_code ec;
  s.get_option(granted, ec);
  return ec ? 0 : granted.value();
}

// Asks for a receive buffer big enough for a whole large reply. The kernel
// caps the plain request at its maximum (net.core.rmem_max on Linux); a
// process with the right to do so may pass that cap.
int SizeReceiveBuffer(asio::ip::udp::socket& s) {
  std::error_code ec;
  s.set_option(asio::socket_base::receive_buffer_size(WantedReceiveBuffer), ec);
  int granted = ReceiveBufferOf(s);
#if defined(__linux__) && defined(SO_RCVBUFFORCE)
  if (granted < WantedReceiveBuffer) {
    int want = WantedReceiveBuffer;
    if (::setsockopt(s.native_handle(), SOL_SOCKET, SO_RCVBUFFORCE, &want, sizeof want) == 0)
      granted = ReceiveBufferOf(s);
  }
#endif
  return granted;
}

uint16_t PortFromEnv(const char* name, uint16_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == 0) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != 0 || value < 1 || value > 65535) return fallback;
  return static_cast<uint16_t>(value);
}

// Shows the busy cursor for the lifetime of the guard.
class BusyGuard {
public:
  explicit BusyGuard(const std::function<void(bool)>& hook) : Hook_(hook) {
    if (Hook_) Hook_(true);
  }
  ~BusyGuard() {
    if (Hook_) Hook_(false);
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

private:
  const std::function<void(bool)>& Hook_;
};

}  // namespace

TZudirirEndpoints TZudirirEndpoints::FromEnvironment() {
  TZudirirEndpoints e;
  e.UdpPort = PortFromEnv("ZUDIRIR_UDP_PORT", e.UdpPort);
  e.TcpPort = PortFromEnv("ZUDIRIR_TCP_PORT", e.TcpPort);
  e.HttpPort = PortFromEnv("ZUDIRIR_HTTP_PORT", e.HttpPort);
  if (const char* b = std::getenv("ZUDIRIR_BROADCAST"); b != nullptr && *b != 0) e.Broadcast = b;
  return e;
}

struct TFormZudirir::UdpState {
  asio::io_context Io;
  std::optional<asio::ip::udp::socket> Socket;
  std::vector<uint8_t> Chunk = std::vector<uint8_t>(UdpReceiveChunk);
  int Granted = 0;
  bool BroadcastOn = false;
};

TFormZudirir::TFormZudirir()
    : ReplyBuffer_(new uint8_t[ReplyBufferSize]()),
      Udp_(std::make_unique<UdpState>()),
      Endpoints_(TZudirirEndpoints::FromEnvironment()) {}

TFormZudirir::~TFormZudirir() = default;

int TFormZudirir::UdpReceiveBufferSize() const { return Udp_->Granted; }

void TFormZudirir::SetLocalAddress(const std::string& address) {
  if (address == LocalAddress_) return;
  LocalAddress_ = address;
  // The UDP socket is bound once; the next exchange reopens it on the new address.
  Udp_->Socket.reset();
  Udp_->BroadcastOn = false;
}

bool TFormZudirir::ExchangeUdp(const std::string& host, const std::string& targetMac, const TZudirirMsg& msg,
                               const uint8_t*& reply, int replyWaitCount, const ReplyHandler& handler) {
  UdpState& u = *Udp_;
  std::error_code ec;
  if (!u.Socket) {
    asio::ip::udp::socket s(u.Io);
    s.open(asio::ip::udp::v4(), ec);
    if (ec) ThrowNetError(ec, "UDP socket");
    const auto local = LocalAddress_.empty() ? asio::ip::address_v4::any() : ParseLocalAddress(LocalAddress_);
    s.bind({local, 0}, ec);
    if (ec) ThrowNetError(ec, "UDP bind to " + local.to_string());
    s.non_blocking(true, ec);
    if (ec) ThrowNetError(ec, "UDP socket");
    u.Granted = SizeReceiveBuffer(s);
    u.Socket.emplace(std::move(s));
  }
  asio::ip::udp::socket& s = *u.Socket;

  asio::ip::udp::endpoint target;
  if (host.empty()) {
    target = {Resolve<asio::ip::udp>(u.Io, Endpoints_.Broadcast, Endpoints_.UdpPort).address(), Endpoints_.UdpPort};
    if (!u.BroadcastOn) {
      s.set_option(asio::socket_base::broadcast(true), ec);
      if (ec) ThrowNetError(ec, "UDP broadcast");
      u.BroadcastOn = true;
    }
  } else {
    target = Resolve<asio::ip::udp>(u.Io, host, Endpoints_.UdpPort);
  }

  // A datagram left over from an earlier exchange (a late reply, a reply to
  // someone else's broadcast) must not pass for the reply to this request.
  asio::ip::udp::endpoint sender;
  for (;;) {
    s.receive_from(asio::buffer(u.Chunk), sender, 0, ec);
    if (ec == asio::error::would_block) break;
    if (ec && ec != asio::error::connection_refused && ec != asio::error::connection_reset)
      ThrowNetError(ec, "UDP receive");
  }

  uint8_t mac[8];
  if (targetMac.empty()) {
    std::memset(mac, 0xFF, sizeof mac);
  } else {
    std::memset(mac, 0, sizeof mac);
    HexToBytes(targetMac, mac);
  }
  for (const std::vector<uint8_t>& datagram : FragmentMessage(SerializeMsg(msg), mac)) {
    s.send_to(asio::buffer(datagram), target, 0, ec);
    if (ec == asio::error::would_block) {  // send queue full: wait for room
      s.wait(asio::ip::udp::socket::wait_write, ec);
      if (!ec) s.send_to(asio::buffer(datagram), target, 0, ec);
    }
    if (ec) ThrowNetError(ec, "UDP send to " + target.address().to_string());
  }

  TFragmentAssembler assembler(ReplyBuffer_.get(), ReplyBufferSize);
  int left = replyWaitCount;
  bool result = false;
  while (left > 0) {
    size_t got = 0;
    bool arrived = false;
    for (int attempt = 0; attempt < 2 && !arrived; ++attempt) {
      got = s.receive_from(asio::buffer(u.Chunk), sender, 0, ec);
      if (!ec) {
        arrived = true;
      } else if (ec == asio::error::would_block) {
        if (attempt == 0 && !WaitReadable(u.Io, s, UdpPollTimeout)) break;
      } else {
        ThrowNetError(ec, "UDP receive");
      }
    }
    const auto feed = arrived ? assembler.Feed(u.Chunk.data(), got) : TFragmentAssembler::TFeed::Short;
    if (feed == TFragmentAssembler::TFeed::Short) {
      --left;
    } else if (feed == TFragmentAssembler::TFeed::Complete) {
      reply = ReplyBuffer_.get();
      result = true;
      const uint32_t length = assembler.Assembled();
      assembler.Reset();
      if (handler) result = handler(ReplyBuffer_.get(), length);
      left = replyWaitCount - 1;
    }
    if (Pump) Pump();
  }
  return result;
}

uint32_t TFormZudirir::ExchangeTcp(const std::string& host, const TZudirirMsg& msg, const ReplyHandler& handler) {
  uint32_t result = NoReplyHeader;
  BusyGuard busy(BusyCursor);
  if (host.empty()) throw EConnectError("No host to connect to");
  asio::io_context io;
  asio::ip::tcp::socket s(io);
  std::error_code ec;
  const auto target = Resolve<asio::ip::tcp>(io, host, Endpoints_.TcpPort);
  s.open(asio::ip::tcp::v4(), ec);
  if (ec) ThrowNetError(ec, "TCP socket");
  if (!LocalAddress_.empty()) {
    s.bind({ParseLocalAddress(LocalAddress_), 0}, ec);
    if (ec) ThrowNetError(ec, "TCP bind to " + LocalAddress_);
  }
  s.connect(target, ec);
  if (ec) ThrowNetError(ec, "TCP connect to " + target.address().to_string());

  const std::vector<uint8_t> request = SerializeMsg(msg);
  asio::write(s, asio::buffer(request), ec);
  if (ec) ThrowNetError(ec, "TCP send");

  s.non_blocking(true, ec);
  // Reads exactly n bytes; each wait for more data may last the read time-out.
  const auto readExactly = [&](uint8_t* into, size_t n) {
    size_t have = 0;
    while (have < n) {
      const size_t got = s.read_some(asio::buffer(into + have, n - have), ec);
      if (!ec) {
        have += got;
      } else if (ec == asio::error::would_block) {
        if (!WaitReadable(io, s, TcpReadTimeout)) throw EReadTimeout("Read timed out.");
      } else {
        ThrowNetError(ec, "TCP receive");
      }
    }
  };

  uint8_t* buffer = ReplyBuffer_.get();
  readExactly(buffer, MsgHeaderSize);
  const uint32_t status = ReadWordLE(buffer + 16);
  if (status == 0) {
    const uint32_t payload = ReadWordLE(buffer + 20);
    if (payload > ReplyPayloadCapacity)
      throw EProtocolError("Reply payload of " + std::to_string(payload) + " bytes exceeds the reply buffer");
    readExactly(buffer + MsgHeaderSize, payload);
    if (handler) handler(buffer, MsgHeaderSize + payload);
  }
  result = status;
  s.shutdown(asio::ip::tcp::socket::shutdown_both, ec);
  return result;
}
