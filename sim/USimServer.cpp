#include "USimServer.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>
#include <tuple>

#include "USimCapture.h"
#include "USimFaults.h"
#include "USimHttp.h"
#include "USimIds.h"
#include "USimLog.h"
#include "USimRequest.h"
#include "USimUdpRules.h"

using asio::ip::tcp;
using asio::ip::udp;

int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TSimNow SimNow() { return {Now(), SteadyMs()}; }

namespace {

constexpr uint32_t LoopbackBroadcast = 0x7FFFFFFF;  // 127.255.255.255
constexpr uint32_t MaxTcpPayload = 1048576;
constexpr int TcpIdleSeconds = 10;
constexpr int TcpHangSeconds = 120;
constexpr int PushRetryMs = 2000;

asio::ip::address_v4 V4(uint32_t a) { return asio::ip::address_v4(a); }

std::string Endpoint(const udp::endpoint& e) { return e.address().to_string() + ":" + std::to_string(e.port()); }

std::string FaultNote(const TSimFaultPlan& p) {
  if (!p.Any()) return "";
  std::string s;
  auto add = [&](const std::string& t) { s += (s.empty() ? "" : ", ") + t; };
  if (p.SetStatus) add("status " + std::to_string(p.Status));
  if (p.NoReply) add("no reply");
  if (p.DelayMs) add("delay " + std::to_string(p.DelayMs) + " ms");
  if (p.LoseFragment) add(p.FragmentIndex < 0 ? "last fragment lost" : "fragment " + std::to_string(p.FragmentIndex) + " lost");
  if (p.OversizeTo) add("padded to " + std::to_string(p.OversizeTo) + " payload bytes");
  if (p.Truncate) add("truncated");
  if (p.TcpClose) add("closed without reply");
  if (p.TcpHang) add("never answers");
  return " [fault: " + s + "]";
}

std::string Plural(size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

}  // namespace

struct TSimServer::TNode {
  TNode(asio::io_context& io, const TSimCameraConfig& config, TSimFiles files)
      : Camera(config, std::move(files), SteadyMs()), Udp(io), Tcp(io), Http(io), RebootTimer(io) {}
  TSimCamera Camera;
  udp::socket Udp;
  tcp::acceptor Tcp;
  tcp::acceptor Http;
  asio::steady_timer RebootTimer;
  TSimReassembler Reassembler;
  uint32_t Listening = 0;  // address its sockets are bound to
  std::string Name() const {
    return "cam " + std::to_string(Camera.Config.Number) + " [" + FormatIPv4(Listening) + "]";
  }
};

struct TSimServer::TTcpSession : std::enable_shared_from_this<TTcpSession> {
  TTcpSession(asio::io_context& io, TNode& node) : Socket(io), Timer(io), Node(node) {}
  tcp::socket Socket;
  asio::steady_timer Timer;
  TNode& Node;
  std::vector<uint8_t> Request;
  std::vector<uint8_t> Reply;
  std::string Peer;
  uint8_t Sink[256];

  void Close() {
    asio::error_code ec;
    Timer.cancel();
    Socket.close(ec);
  }
  // After the reply: no more sending, then wait for the peer to close so that
  // unread request bytes never turn our close into a reset that eats the reply.
  void Linger(int seconds) {
    asio::error_code ec;
    Socket.shutdown(tcp::socket::shutdown_send, ec);
    Drain(seconds);
  }
  void Drain(int seconds) {
    auto self = shared_from_this();
    Timer.expires_after(std::chrono::seconds(seconds));
    Timer.async_wait([self](asio::error_code ec) {
      if (!ec) self->Close();
    });
    ReadToEnd();
  }
  void ReadToEnd() {
    auto self = shared_from_this();
    Socket.async_read_some(asio::buffer(Sink), [self](asio::error_code ec, size_t) {
      if (ec) {
        self->Close();
        return;
      }
      self->ReadToEnd();
    });
  }
};

struct TSimServer::TPusher {
  TPusher(asio::io_context& io, TNode& node) : Socket(io), Timer(io), Node(node) {}
  tcp::socket Socket;
  asio::steady_timer Timer;
  TNode& Node;
  tcp::endpoint Target;
  int64_t Sent = 0;
  bool Finished = false;
  std::vector<std::vector<uint8_t>> Chunks;  // the pieces of the message being written, then the text line
  std::string Summary;
};

TSimServer::TSimServer(asio::io_context& io, const TSimOptions& options, const std::vector<TSimCameraConfig>& cameras,
                       TSimLog& log)
    : Io_(io), Options_(options), Log_(log), Broadcast_(io), Datagram_(65536), Spread_(options.Seed) {
  bool allLoopback = true;
  for (const TSimCameraConfig& c : cameras) {
    TSimFiles files = DefaultFiles(FileIdentityOf(c));
    std::string error;
    if (!c.FilesFolder.empty() && !LoadFilesFolder(c.FilesFolder, files, error))
      throw std::runtime_error("camera " + std::to_string(c.Number) + ": " + error);
    Nodes_.push_back(std::make_unique<TNode>(io, c, std::move(files)));
    allLoopback = allLoopback && IsLoopback(c.ListenAddress());
  }
  BroadcastListen_ = !options.ListenBroadcast.empty() ? options.ListenBroadcast
                     : allLoopback                    ? "127.255.255.255"
                                                      : "0.0.0.0";
  // A wildcard broadcast socket shares the port with the cameras' own sockets.
  ReuseAddress_ = BroadcastListen_ == "0.0.0.0";
}

TSimServer::~TSimServer() { Stop(); }

uint32_t TSimServer::ReplyBroadcast(const TNode& node) const {
  // A camera on loopback never broadcasts onto a real network.
  return IsLoopback(node.Listening) ? LoopbackBroadcast : Options_.Broadcast;
}

bool TSimServer::TakesSender(const TNode& node, uint32_t sender) const {
  // Cameras on loopback take requests from this machine only.
  return !IsLoopback(node.Listening) || IsLoopback(sender);
}

void TSimServer::OpenCamera(TNode& node, uint32_t address) {
  auto fail = [&](const char* what, uint16_t port, const asio::error_code& ec) {
    CloseCamera(node);
    std::string hint;
    if (ec == asio::error::access_denied) hint = " (ports below 1024 need root: use --udp-port/--tcp-port/--http-port or the ZUDIRIR_* variables)";
    if (ec == std::errc::address_not_available) hint = " (not an address of this machine)";
    if (ec == asio::error::address_in_use) hint = " (another program, or another dozusim, uses it)";
    throw std::runtime_error("cannot listen on " + FormatIPv4(address) + " " + what + " port " + std::to_string(port) +
                             ": " + ec.message() + hint);
  };
  asio::error_code ec;
  const udp::endpoint ue(V4(address), Options_.UdpPort);
  node.Udp.open(udp::v4(), ec);
  if (!ec && ReuseAddress_) node.Udp.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) node.Udp.set_option(asio::socket_base::broadcast(true), ec);
  if (!ec) node.Udp.bind(ue, ec);
  if (!ec) node.Udp.non_blocking(true, ec);
  if (ec) fail("UDP", Options_.UdpPort, ec);
  for (auto [acceptor, port, what] : {std::tuple{&node.Tcp, Options_.TcpPort, "TCP"},
                                      std::tuple{&node.Http, Options_.HttpPort, "HTTP"}}) {
    acceptor->open(tcp::v4(), ec);
    if (!ec) acceptor->set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) acceptor->bind(tcp::endpoint(V4(address), port), ec);
    if (!ec) acceptor->listen(asio::socket_base::max_listen_connections, ec);
    if (ec) fail(what, port, ec);
  }
  node.Listening = address;
  WaitUdp(node.Udp, &node);
  AcceptTcp(node);
  AcceptHttp(node);
}

void TSimServer::CloseCamera(TNode& node) {
  asio::error_code ec;
  node.Udp.close(ec);
  node.Tcp.close(ec);
  node.Http.close(ec);
}

void TSimServer::Start() {
  for (auto& node : Nodes_) OpenCamera(*node, node->Camera.Config.ListenAddress());
  asio::error_code ec;
  const udp::endpoint be(asio::ip::make_address_v4(BroadcastListen_, ec), Options_.UdpPort);
  if (ec) throw std::runtime_error("bad broadcast listen address " + BroadcastListen_);
  Broadcast_.open(udp::v4(), ec);
  if (!ec && ReuseAddress_) Broadcast_.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) Broadcast_.bind(be, ec);
  if (!ec) Broadcast_.non_blocking(true, ec);
  if (ec)
    throw std::runtime_error("cannot listen for broadcasts on " + BroadcastListen_ + " UDP port " +
                             std::to_string(Options_.UdpPort) + ": " + ec.message());
  WaitUdp(Broadcast_, nullptr);
  HttpWorkers_ = std::make_unique<httplib::ThreadPool>(4);
  StartPushers();
}

void TSimServer::Stop() {
  if (Stopping_.exchange(true)) return;
  asio::error_code ec;
  Broadcast_.close(ec);
  for (auto& node : Nodes_) {
    CloseCamera(*node);
    node->RebootTimer.cancel();
  }
  for (auto& p : Pushers_) {
    p->Finished = true;
    p->Timer.cancel();
    p->Socket.close(ec);
  }
  if (HttpWorkers_) HttpWorkers_->shutdown();
}

// ---- UDP -------------------------------------------------------------------

void TSimServer::WaitUdp(udp::socket& socket, TNode* node) {
  socket.async_wait(udp::socket::wait_read, [this, &socket, node](asio::error_code ec) {
    if (ec || Stopping_) return;
    DrainUdp(socket, node);
    if (socket.is_open()) WaitUdp(socket, node);
  });
}

void TSimServer::DrainUdp(udp::socket& socket, TNode* node) {
  // One buffer serves every socket: each datagram is read and handled before
  // the next is read.
  for (int i = 0; i < 256 && socket.is_open(); ++i) {
    udp::endpoint from;
    asio::error_code ec;
    const size_t n = socket.receive_from(asio::buffer(Datagram_), from, 0, ec);
    if (ec == asio::error::would_block || ec == asio::error::try_again) return;
    if (ec) {
      Log_.Detail(std::string(node ? node->Name() : "broadcast socket") + " receive: " + ec.message());
      return;
    }
    OnDatagram(node, from, Datagram_.data(), n);
  }
}

void TSimServer::OnDatagram(TNode* node, const udp::endpoint& from, const uint8_t* data, size_t size) {
  const uint32_t sender = from.address().to_v4().to_uint();
  const uint64_t key = (static_cast<uint64_t>(sender) << 16) | from.port();
  TSimReassembler& reassembler = node ? node->Reassembler : BroadcastReassembler_;
  const std::string where = node ? node->Name() : "broadcast";
  TSimReassembler::TResult r = reassembler.Feed(key, data, size, SteadyMs());
  if (r.Status == TSimReassembler::TStatus::Rejected) {
    Log_.Detail(where + " UDP <- " + Endpoint(from) + ": datagram of " + std::to_string(size) + " bytes ignored: " +
                r.Reason);
    return;
  }
  if (r.Status == TSimReassembler::TStatus::Partial) {
    Log_.Detail(where + " UDP <- " + Endpoint(from) + ": fragment of " + std::to_string(size) + " bytes held");
    return;
  }
  if (node) {
    if (node->Camera.IsDown() || !TakesSender(*node, sender)) return;
    if (!TargetMacSelects(r.TargetMac, node->Camera.Config.Mac)) {
      Log_.Info(node->Name() + " UDP <- " + Endpoint(from) + ": request for another MAC, ignored");
      return;
    }
    AnswerUdp(*node, from, r.Message, false);
    return;
  }
  int selected = 0;
  for (auto& n : Nodes_) {
    if (n->Camera.IsDown() || !TakesSender(*n, sender) || !TargetMacSelects(r.TargetMac, n->Camera.Config.Mac))
      continue;
    ++selected;
    AnswerUdp(*n, from, r.Message, true);
  }
  if (selected == 0 && !TargetMacIsEveryDevice(r.TargetMac)) {
    TSimMac mac;
    for (int i = 0; i < 6; ++i) mac[static_cast<size_t>(i)] = r.TargetMac[static_cast<size_t>(5 - i)];
    Log_.Info("broadcast UDP <- " + Endpoint(from) + " for MAC " + FormatMac(mac) + ": no running camera has it");
  }
}

void TSimServer::AnswerUdp(TNode& node, const udp::endpoint& from, const std::vector<uint8_t>& request,
                           bool viaBroadcast) {
  TSimCamera& cam = node.Camera;
  TSimAnswer a = HandleRequest(cam, request.data(), request.size(), TSimTransport::Udp, SimNow());
  const std::string head =
      node.Name() + " UDP <- " + Endpoint(from) + (viaBroadcast ? " (broadcast) " : " ") +
      (a.Reply ? a.Request : std::string("?"));
  if (!a.Reply) {
    Log_.Detail(head + ": not a request (" + std::to_string(request.size()) + " bytes), ignored");
    return;
  }
  const TSimFaultPlan plan = PlanFaults(cam.Config.Faults, a.Message.MsgNumber);
  const std::string status = "Status " + std::to_string(plan.SetStatus ? plan.Status : a.Message.Status);
  if (plan.NoReply) {
    Log_.Info(head + ": " + a.Summary + " -> no answer" + FaultNote(plan));
    if (a.Reboot) BeginReboot(node);
    return;
  }
  uint8_t mac[8] = {};
  for (int i = 0; i < 6; ++i) mac[i] = cam.Config.Mac[static_cast<size_t>(5 - i)];
  const std::vector<uint8_t> wire = FaultedWire(a.Message, plan);
  auto datagrams = std::make_shared<std::vector<std::vector<uint8_t>>>(FaultedDatagrams(wire, mac, plan));
  const TSimReplyRoute route =
      RouteReply(cam.Config.IpAddress, cam.Config.Netmask, from.address().to_v4().to_uint(), from.port(),
                 ReplyBroadcast(node));
  const udp::endpoint to(V4(route.Address), route.Port);
  int64_t delay = plan.DelayMs;
  if (Options_.SpreadMs > 0) delay += std::uniform_int_distribution<int64_t>(0, Options_.SpreadMs)(Spread_);
  Log_.Info(head + ": " + status + ", " + a.Summary + " -> " + std::to_string(wire.size()) + " bytes in " +
            Plural(datagrams->size(), "datagram") +
            (route.Broadcast ? " by broadcast to " + Endpoint(to) + " (sender outside " +
                                   FormatIPv4(cam.Config.IpAddress) + "/" + FormatIPv4(cam.Config.Netmask) + ")"
                             : "") +
            (delay ? " after " + std::to_string(delay) + " ms" : "") + FaultNote(plan));
  const bool reboot = a.Reboot;
  TNode* n = &node;
  auto send = [this, n, datagrams, to, reboot]() {
    for (const auto& d : *datagrams) {
      asio::error_code ec;
      n->Udp.send_to(asio::buffer(d), to, 0, ec);
      if (ec) {
        Log_.Notice(n->Name() + " UDP -> " + Endpoint(to) + ": " + ec.message());
        break;
      }
    }
    if (reboot) BeginReboot(*n);
  };
  if (delay <= 0) {
    send();
    return;
  }
  auto timer = std::make_shared<asio::steady_timer>(Io_, std::chrono::milliseconds(delay));
  timer->async_wait([this, timer, send, n](asio::error_code ec) {
    if (ec || Stopping_ || !n->Udp.is_open()) return;
    send();
  });
}

// ---- TCP -------------------------------------------------------------------

void TSimServer::AcceptTcp(TNode& node) {
  auto session = std::make_shared<TTcpSession>(Io_, node);
  node.Tcp.async_accept(session->Socket, [this, session, &node](asio::error_code ec) {
    if (ec) {
      if (ec != asio::error::operation_aborted && node.Tcp.is_open()) AcceptTcp(node);
      return;
    }
    AcceptTcp(node);
    asio::error_code pe;
    const auto peer = session->Socket.remote_endpoint(pe);
    session->Peer = pe ? "?" : peer.address().to_string() + ":" + std::to_string(peer.port());
    Log_.Detail(node.Name() + " TCP <- " + session->Peer + " connected");

    // A camera told to hang on every message takes the connection and reads nothing.
    bool hangAll = false;
    for (const TSimFault& f : node.Camera.Config.Faults)
      if (f.Kind == TSimFaultKind::TcpHang && f.Msg == 0) hangAll = true;
    if (hangAll) {
      Log_.Info(node.Name() + " TCP <- " + session->Peer + ": connection taken, never answered [fault: tcphang]");
      session->Drain(TcpHangSeconds);
      return;
    }
    session->Timer.expires_after(std::chrono::seconds(TcpIdleSeconds));
    session->Timer.async_wait([session](asio::error_code e) {
      if (!e) session->Close();
    });
    session->Request.resize(MsgHeaderSize);
    asio::async_read(session->Socket, asio::buffer(session->Request), [this, session](asio::error_code e, size_t) {
      TNode& node = session->Node;
      if (e) {
        Log_.Detail(node.Name() + " TCP <- " + session->Peer + ": closed before a request header");
        session->Close();
        return;
      }
      const uint32_t headerSize = ReadWordLE(session->Request.data());
      const uint32_t payload = ReadWordLE(session->Request.data() + 20);
      if (headerSize != MsgHeaderSize || payload > MaxTcpPayload) {
        Log_.Info(node.Name() + " TCP <- " + session->Peer + ": not a request (header size " +
                  std::to_string(headerSize) + ", payload " + std::to_string(payload) + "), connection closed");
        session->Close();
        return;
      }
      session->Request.resize(MsgHeaderSize + payload);
      asio::async_read(
          session->Socket, asio::buffer(session->Request.data() + MsgHeaderSize, payload),
          [this, session](asio::error_code e2, size_t) {
            TNode& node = session->Node;
            session->Timer.cancel();
            if (e2) {
              Log_.Info(node.Name() + " TCP <- " + session->Peer + ": connection closed inside a request");
              session->Close();
              return;
            }
            TSimAnswer a = HandleRequest(node.Camera, session->Request.data(), session->Request.size(),
                                         TSimTransport::Tcp, SimNow());
            const TSimFaultPlan plan = PlanFaults(node.Camera.Config.Faults, a.Message.MsgNumber);
            const std::string head = node.Name() + " TCP <- " + session->Peer + " " + a.Request + ": ";
            const bool reboot = a.Reboot;
            if (plan.TcpClose) {
              Log_.Info(head + a.Summary + " -> connection closed without reply" + FaultNote(plan));
              session->Close();
              if (reboot) BeginReboot(node);
              return;
            }
            if (plan.TcpHang || plan.NoReply) {
              Log_.Info(head + a.Summary + " -> never answered" + FaultNote(plan));
              session->Drain(TcpHangSeconds);
              if (reboot) BeginReboot(node);
              return;
            }
            session->Reply = FaultedWire(a.Message, plan);
            Log_.Info(head + "Status " + std::to_string(plan.SetStatus ? plan.Status : a.Message.Status) + ", " +
                      a.Summary + " -> " + std::to_string(session->Reply.size()) + " bytes" +
                      (plan.DelayMs ? " after " + std::to_string(plan.DelayMs) + " ms" : "") + FaultNote(plan));
            auto write = [this, session, plan, reboot]() {
              asio::async_write(session->Socket, asio::buffer(session->Reply),
                                [this, session, plan, reboot](asio::error_code e3, size_t) {
                                  if (e3 || plan.Truncate)
                                    session->Close();
                                  else
                                    session->Linger(5);
                                  if (reboot) BeginReboot(session->Node);
                                });
            };
            if (plan.DelayMs > 0) {
              session->Timer.expires_after(std::chrono::milliseconds(plan.DelayMs));
              session->Timer.async_wait([session, write](asio::error_code e4) {
                if (!e4) write();
              });
            } else {
              write();
            }
          });
    });
  });
}

// ---- HTTP ------------------------------------------------------------------

void TSimServer::AcceptHttp(TNode& node) {
  auto socket = std::make_shared<tcp::socket>(Io_);
  node.Http.async_accept(*socket, [this, socket, &node](asio::error_code ec) {
    if (ec) {
      if (ec != asio::error::operation_aborted && node.Http.is_open()) AcceptHttp(node);
      return;
    }
    AcceptHttp(node);
    TSimBackupSnapshot snap;
    snap.CameraName = node.Name();
    snap.User = node.Camera.Config.HttpUser;
    snap.Password = node.Camera.Config.HttpPassword;
    snap.Body = BackupArchive(node.Camera.Files);
    snap.Always401 = HttpAlways401(node.Camera.Config.Faults);
    snap.DelayMs = HttpDelayMs(node.Camera.Config.Faults);
    asio::error_code re;
    socket->non_blocking(false, re);
    const int fd = socket->release(re);
    if (re) return;
    HttpWorkers_->enqueue([this, fd, snap]() { ServeBackupConnection(fd, snap, Log_, Stopping_); });
  });
}

// ---- Reboot ----------------------------------------------------------------

void TSimServer::BeginReboot(TNode& node) {
  if (node.Camera.IsDown()) return;
  node.Camera.BeginReboot();
  CloseCamera(node);
  Log_.Notice(node.Name() + " rebooting: away for " + std::to_string(Options_.RebootMs) + " ms");
  node.RebootTimer.expires_after(std::chrono::milliseconds(Options_.RebootMs));
  node.RebootTimer.async_wait([this, &node](asio::error_code ec) {
    if (!ec && !Stopping_) FinishReboot(node);
  });
}

void TSimServer::FinishReboot(TNode& node) {
  const uint32_t before = node.Listening;
  const uint32_t oldIp = node.Camera.Config.IpAddress;
  const std::string changes = node.Camera.FinishReboot(SteadyMs());
  const uint32_t newIp = node.Camera.Config.IpAddress;
  // A camera given a new address moves there when this machine has it;
  // otherwise it stays reachable where it was and answers senders outside its
  // new subnet by broadcast.
  std::string where;
  if (newIp != oldIp) {
    try {
      OpenCamera(node, newIp);
    } catch (const std::exception& e) {
      where = "; " + FormatIPv4(newIp) + " is not usable here (" + e.what() + "), still listening on " +
              FormatIPv4(before);
    }
  }
  if (!node.Udp.is_open()) {
    try {
      OpenCamera(node, before);
    } catch (const std::exception& e) {
      Log_.Notice(node.Name() + " cannot come back: " + e.what());
      return;
    }
  }
  node.Camera.Config.BindAddress = node.Listening == newIp ? 0 : node.Listening;
  Log_.Notice(node.Name() + " back after reboot: " + changes + where);
}

// ---- Event pushing ---------------------------------------------------------

void TSimServer::StartPushers() {
  if (Options_.Push.Host.empty()) return;
  std::vector<int> numbers;
  std::string error;
  if (!ParseCameraList(Options_.Push.CameraList, static_cast<int>(Nodes_.size()), numbers, error))
    throw std::runtime_error("--push-cameras: " + error);
  asio::error_code ec;
  tcp::resolver resolver(Io_);
  auto results = resolver.resolve(tcp::v4(), Options_.Push.Host, std::to_string(Options_.Push.Port), ec);
  if (ec || results.empty())
    throw std::runtime_error("cannot resolve event server " + Options_.Push.Host + ": " + ec.message());
  const tcp::endpoint target = *results.begin();
  for (int n : numbers) {
    auto p = std::make_shared<TPusher>(Io_, *Nodes_[static_cast<size_t>(n - 1)]);
    p->Target = target;
    Pushers_.push_back(p);
    PushConnect(p);
  }
}

void TSimServer::PushConnect(const std::shared_ptr<TPusher>& p) {
  if (Stopping_ || p->Finished) return;
  if (p->Node.Camera.IsDown()) {
    PushRetry(p, "");
    return;
  }
  asio::error_code ec;
  p->Socket.close(ec);
  p->Socket.open(tcp::v4(), ec);
  // The event server sees the camera's own address as the peer (a camera on
  // loopback can only reach a server on loopback from its address).
  const bool sameKind = IsLoopback(p->Node.Listening) == p->Target.address().is_loopback();
  if (!ec && sameKind) p->Socket.bind(tcp::endpoint(V4(p->Node.Listening), 0), ec);
  if (ec) ec.clear();
  p->Socket.async_connect(p->Target, [this, p](asio::error_code e) {
    if (Stopping_) return;
    if (e) {
      PushRetry(p, "cannot reach event server " + p->Target.address().to_string() + ":" +
                       std::to_string(p->Target.port()) + ": " + e.message());
      return;
    }
    Log_.Notice(p->Node.Name() + " connected to event server " + p->Target.address().to_string() + ":" +
                std::to_string(p->Target.port()));
    PushTransit(p);
  });
}

void TSimServer::PushRetry(const std::shared_ptr<TPusher>& p, const std::string& why) {
  asio::error_code ec;
  p->Socket.close(ec);
  if (Stopping_ || p->Finished) return;
  if (!why.empty()) Log_.Notice(p->Node.Name() + " " + why + "; trying again in " + std::to_string(PushRetryMs) + " ms");
  p->Timer.expires_after(std::chrono::milliseconds(PushRetryMs));
  p->Timer.async_wait([this, p](asio::error_code e) {
    if (!e) PushConnect(p);
  });
}

void TSimServer::PushTransit(const std::shared_ptr<TPusher>& p) {
  if (Stopping_ || p->Finished) return;
  if (p->Node.Camera.IsDown()) {
    PushRetry(p, "is rebooting, event server connection dropped");
    return;
  }
  const TSimNow now = SimNow();
  const TZudirirMsg msg = BuildTransit(p->Node.Camera, now, &p->Summary);
  const TSimFaultPlan plan = PlanFaults(p->Node.Camera.Config.Faults, MSG_TRANSIT);
  p->Chunks = SplitChunks(FaultedWire(msg, plan), Options_.Push.Chunks);
  if (Options_.Push.Text) {
    const std::string line = TransitTextLine(p->Node.Camera, now, static_cast<int32_t>(p->Sent + 1));
    p->Chunks.emplace_back(line.begin(), line.end());
  }
  PushWrite(p, 0);
}

void TSimServer::PushWrite(const std::shared_ptr<TPusher>& p, size_t index) {
  if (Stopping_ || p->Finished) return;
  if (index >= p->Chunks.size()) {
    ++p->Sent;
    Log_.Info(p->Node.Name() + " pushed " + p->Summary +
              (Options_.Push.Chunks > 1 ? " in " + std::to_string(Options_.Push.Chunks) + " pieces" : "") +
              (Options_.Push.Text ? " and a text line" : ""));
    if (Options_.Push.Count > 0 && p->Sent >= Options_.Push.Count) {
      p->Finished = true;
      asio::error_code ec;
      p->Socket.shutdown(tcp::socket::shutdown_send, ec);
      p->Socket.close(ec);
      Log_.Notice(p->Node.Name() + " done pushing: " + Plural(static_cast<size_t>(p->Sent), "transit"));
      return;
    }
    p->Timer.expires_after(std::chrono::milliseconds(Options_.Push.IntervalMs));
    p->Timer.async_wait([this, p](asio::error_code e) {
      if (!e) PushTransit(p);
    });
    return;
  }
  asio::async_write(p->Socket, asio::buffer(p->Chunks[index]), [this, p, index](asio::error_code e, size_t) {
    if (Stopping_) return;
    if (e) {
      PushRetry(p, "lost the event server: " + e.message());
      return;
    }
    if (index + 1 >= p->Chunks.size()) {
      PushWrite(p, index + 1);
      return;
    }
    p->Timer.expires_after(std::chrono::milliseconds(Options_.Push.ChunkPauseMs));
    p->Timer.async_wait([this, p, index](asio::error_code e2) {
      if (!e2) PushWrite(p, index + 1);
    });
  });
}
