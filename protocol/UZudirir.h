#pragma once
// The cameras' service protocol: the message record, its builder, and the
// protocol component that carries a request over UDP or TCP and hands every
// complete reply to a handler.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes.h"

// One protocol message: six header words and a payload of 32-bit words,
// little-endian on the wire.
struct TZudirirMsg {
  uint32_t HeaderSize = 24;
  uint32_t MsgNumber = 0;
  uint32_t SourceChannel = 0xFFFFFFFF;
  uint32_t TargetChannel = 0;
  uint32_t Status = 0;
  uint32_t PayloadSize = 0;
  std::vector<uint32_t> Payload;
};

inline constexpr uint32_t MsgHeaderSize = 24;
inline constexpr uint32_t ReplyBufferSize = 1048576;
inline constexpr uint32_t ReplyPayloadCapacity = ReplyBufferSize - MsgHeaderSize;  // 1,048,552

// Fixed values of the UDP fragment layer.
inline constexpr uint32_t FragmentHeaderSize = 32;
inline constexpr uint32_t MaxDatagramSize = 1472;
inline constexpr uint32_t MaxFragmentData = MaxDatagramSize - FragmentHeaderSize;  // 1440

// The 32-byte header at the start of every datagram, in both directions.
struct TFragmentHeader {
  uint32_t FragmentCount = 0;
  uint32_t FragmentIndex = 0;
  uint32_t FragmentLength = 0;
  uint32_t MessageLength = 0;
  uint8_t Reserved[8] = {};
  uint8_t TargetMAC[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
};

// Wire form of a message: header words then payload words, little-endian.
std::vector<uint8_t> SerializeMsg(const TZudirirMsg& msg);
// Little-endian word access on byte buffers.
uint32_t ReadWordLE(const uint8_t* p);
void WriteWordLE(uint8_t* p, uint32_t value);
// Fragment header to and from its 32 wire bytes.
void WriteFragmentHeader(uint8_t* out, const TFragmentHeader& header);
TFragmentHeader ReadFragmentHeader(const uint8_t* in);
// Cuts a message's wire bytes into datagrams of at most 1472 bytes, each with
// its fragment header and the given target MAC bytes.
std::vector<std::vector<uint8_t>> FragmentMessage(const std::vector<uint8_t>& wire,
                                                  const uint8_t targetMac[8]);

// Called once per complete reply: (reply bytes in ReplyBuffer, valid bytes).
using ReplyHandler = std::function<bool(const uint8_t* reply, uint32_t length)>;

// The ports and broadcast address the tools talk to. They are the cameras'
// fixed ones unless a test rig or demo overrides them through the environment
// (ZUDIRIR_UDP_PORT, ZUDIRIR_TCP_PORT, ZUDIRIR_HTTP_PORT, ZUDIRIR_BROADCAST).
struct TZudirirEndpoints {
  uint16_t UdpPort = 1003;
  uint16_t TcpPort = 31000;
  uint16_t HttpPort = 80;
  std::string Broadcast = "255.255.255.255";
  static TZudirirEndpoints FromEnvironment();
};

// The protocol component: one per process, used from the main thread only.
class TFormZudirir {
public:
  TFormZudirir();
  ~TFormZudirir();
  TFormZudirir(const TFormZudirir&) = delete;
  TFormZudirir& operator=(const TFormZudirir&) = delete;

  // Builder operations; they change only the message passed to them.
  static void InitMsg(TZudirirMsg& msg, uint32_t msgNumber, uint32_t targetChannel);
  static void AddParam(TZudirirMsg& msg, uint32_t id, uint32_t count, const uint32_t* values);
  static void AddWord(TZudirirMsg& msg, uint32_t value);
  static void AddString(TZudirirMsg& msg, std::string_view text);

  // Sends msg over UDP to host (empty: broadcast), naming targetMac when not
  // empty, and listens for replies as ReplyWaitCount says. Returns false when
  // no complete reply arrived, else the handler's result for the last one.
  bool ExchangeUdp(const std::string& host, const std::string& targetMac, const TZudirirMsg& msg,
                   const uint8_t*& reply, int replyWaitCount, const ReplyHandler& handler);
  // One request and one reply over a fresh TCP connection. Returns the reply's
  // Status, or 0xFFFFFF when no reply header arrived. Network errors throw.
  uint32_t ExchangeTcp(const std::string& host, const TZudirirMsg& msg, const ReplyHandler& handler);

  // Local address both clients bind to; empty means any. Reopens the UDP socket.
  void SetLocalAddress(const std::string& address);
  const std::string& LocalAddress() const { return LocalAddress_; }

  // Called after every 100 ms receive poll of a UDP exchange (the window
  // processes its pending events here); empty in the console tool.
  std::function<void()> Pump;
  // Shows (true) or restores (false) the busy cursor around a TCP exchange.
  std::function<void(bool)> BusyCursor;

  uint8_t* ReplyBuffer() { return ReplyBuffer_.get(); }
  const TZudirirEndpoints& Endpoints() const { return Endpoints_; }
  void SetEndpoints(const TZudirirEndpoints& endpoints) { Endpoints_ = endpoints; }
  // Receive buffer size the system granted the UDP socket (0 before first use).
  int UdpReceiveBufferSize() const;

private:
  struct UdpState;
  std::unique_ptr<uint8_t[]> ReplyBuffer_;
  std::unique_ptr<UdpState> Udp_;
  std::string LocalAddress_;
  TZudirirEndpoints Endpoints_;
};
