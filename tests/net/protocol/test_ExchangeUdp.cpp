// The UDP exchange against stand-in cameras on loopback.

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "LoopbackPeer.h"
#include "UZudirir.h"

namespace {

using peer::Bytes;
using namespace std::chrono_literals;

// A request with no payload, as it goes out in one datagram.
const Bytes SearchDatagram = {
    1, 0, 0, 0, 0, 0, 0, 0, 56, 0, 0, 0, 24, 0, 0, 0,                           // count, index, length, message
    0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,     // reserved, every device
    0x18, 0, 0, 0, 0x00, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

class UdpExchange : public ::testing::Test {
protected:
  explicit UdpExchange(int devices = 1) : Peer(devices) {
    TZudirirEndpoints e;
    e.UdpPort = Peer.Port();
    e.Broadcast = "127.255.255.255";
    Zudirir.SetEndpoints(e);
    Zudirir.Pump = [this] { ++Polls; };
  }

  TZudirirMsg Request(uint32_t number = 4096) {
    TZudirirMsg m;
    TFormZudirir::InitMsg(m, number, 0);
    return m;
  }

  // Records every handler call and how many polls had passed.
  struct Call {
    Bytes Reply;
    int PollsBefore;
  };
  ReplyHandler Recorder(std::function<bool(int)> verdict = [](int) { return true; }) {
    return [this, verdict](const uint8_t* reply, uint32_t length) {
      Calls.push_back({Bytes(reply, reply + length), Polls});
      return verdict(static_cast<int>(Calls.size()));
    };
  }

  peer::UdpPeer Peer;
  TFormZudirir Zudirir;
  int Polls = 0;
  std::vector<Call> Calls;
  const uint8_t* ReplyRef = nullptr;
};

TEST_F(UdpExchange, SingleFragmentReplyEndsListeningAtOnce) {
  const Bytes reply = peer::Reply(4096, 0, peer::Record(12000, peer::Word(1234)));
  Peer.Start([&](const auto&) { return peer::Fragments(reply); });
  EXPECT_TRUE(Zudirir.ExchangeUdp("127.0.0.1", "", Request(), ReplyRef, 1, Recorder()));
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Reply, reply);
  EXPECT_EQ(ReplyRef, Zudirir.ReplyBuffer());
  EXPECT_EQ(Polls - Calls[0].PollsBefore, 1);  // only the poll that brought the reply
  ASSERT_EQ(Peer.Requests().size(), 1u);
  EXPECT_EQ(Peer.Requests()[0].Datagram, SearchDatagram);
}

TEST_F(UdpExchange, MultiFragmentReplyReachesTheHandlerOnce) {
  Bytes payload;
  for (uint32_t i = 0; i < 1000; ++i) {
    const Bytes r = peer::Record(50000 + i, peer::Word(i));
    payload.insert(payload.end(), r.begin(), r.end());
  }
  const Bytes reply = peer::Reply(4096, 0, payload);  // 12,024 bytes: 9 fragments
  Peer.Start([&](const auto&) { return peer::Fragments(reply); });
  EXPECT_TRUE(Zudirir.ExchangeUdp("127.0.0.1", "", Request(), ReplyRef, 1, Recorder()));
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Reply, reply);
}

TEST_F(UdpExchange, NoReplyGivesFalseAfterTheSilentPolls) {
  Peer.Start([](const auto&) { return std::vector<Bytes>{}; });
  const uint8_t sentinel = 0;
  ReplyRef = &sentinel;
  EXPECT_FALSE(Zudirir.ExchangeUdp("127.0.0.1", "", Request(), ReplyRef, 3, Recorder()));
  EXPECT_EQ(Polls, 3);
  EXPECT_TRUE(Calls.empty());
  EXPECT_EQ(ReplyRef, &sentinel);  // untouched
}

TEST_F(UdpExchange, BadFragmentsAreDropped) {
  const Bytes reply = peer::Reply(4096, 0, peer::Record(12000, peer::Word(7)));
  const uint32_t total = static_cast<uint32_t>(reply.size());
  Peer.Start([&](const auto&) {
    return std::vector<Bytes>{
        Bytes(20, 0xAA),                                  // shorter than a header: a silent poll
        peer::Datagram(1, 0, 0, total, reply),            // length 0: ignored
        peer::Datagram(1, 0, 16, total, reply),           // length below the header: dropped
        peer::Datagram(1, 0, 5000, total, reply),         // longer than the datagram: dropped
        peer::Datagram(1, 0, total + 32, total, reply),   // the reply
    };
  });
  // Wait count 2: the short datagram uses one poll; the rest must not end listening.
  EXPECT_TRUE(Zudirir.ExchangeUdp("127.0.0.1", "", Request(), ReplyRef, 2, Recorder()));
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Reply, reply);
}

TEST_F(UdpExchange, StaleDatagramIsNotTakenForTheNextReply) {
  // The first request gets its reply and, later, a second copy of it; the
  // second request gets no answer at all.
  const Bytes reply = peer::Reply(4098, 0, {});
  std::atomic<int> requests{0};
  Peer.Start([&](const auto&) {
    return ++requests == 1 ? peer::Fragments(reply) : std::vector<Bytes>{};
  });
  EXPECT_TRUE(Zudirir.ExchangeUdp("127.0.0.1", "", Request(4098), ReplyRef, 1, Recorder()));
  ASSERT_TRUE(Peer.WaitRequests(1));
  Peer.SendTo(Peer.Requests()[0].From, peer::Fragments(reply)[0]);  // arrives after listening stopped
  std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(Zudirir.ExchangeUdp("127.0.0.1", "", Request(4098), ReplyRef, 1, Recorder()));
  EXPECT_EQ(Calls.size(), 1u);
}

TEST_F(UdpExchange, OneMebibyteReplyArrivesWhole50Times) {
  Bytes payload(ReplyPayloadCapacity);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 31 + (i >> 12));
  const Bytes reply = peer::Reply(4100, 0, payload);
  const auto datagrams = peer::Fragments(reply);
  ASSERT_EQ(datagrams.size(), 729u);
  Peer.Start([&](const auto&) { return datagrams; });
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE(round);
    uint32_t got = 0;
    bool same = false;
    const bool ok = Zudirir.ExchangeUdp("127.0.0.1", "", Request(4100), ReplyRef, 1,
                                        [&](const uint8_t* r, uint32_t length) {
                                          got = length;
                                          same = length == reply.size() &&
                                                 std::memcmp(r, reply.data(), length) == 0;
                                          return true;
                                        });
    ASSERT_TRUE(ok);
    ASSERT_EQ(got, ReplyBufferSize);
    ASSERT_TRUE(same);
  }
  RecordProperty("SO_RCVBUF", Zudirir.UdpReceiveBufferSize());
}

TEST_F(UdpExchange, HandlerErrorReachesTheCaller) {
  Peer.Start([&](const auto&) { return peer::Fragments(peer::Reply(4096, 0, {})); });
  EXPECT_THROW(Zudirir.ExchangeUdp("127.0.0.1", "", Request(), ReplyRef, 1,
                                   [](const uint8_t*, uint32_t) -> bool { throw EConvertError("bad date"); }),
               EConvertError);
}

TEST_F(UdpExchange, BroadcastNamingOneDeviceCarriesItsMac) {
  Peer.Start([](const auto&) { return std::vector<Bytes>{}; });
  TZudirirMsg msg = Request(4120);
  for (int i = 0; i < 744; ++i) TFormZudirir::AddWord(msg, i);  // 3000-byte message
  EXPECT_FALSE(Zudirir.ExchangeUdp("", "00-0A-1B-2C-3D-4E", msg, ReplyRef, 1, nullptr));
  ASSERT_TRUE(Peer.WaitRequests(3));
  const auto got = Peer.Requests();
  const size_t sizes[3] = {1472, 1472, 152};
  const Bytes mac = {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0x00, 0x00};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got[i].Datagram.size(), sizes[i]);
    EXPECT_EQ(Bytes(got[i].Datagram.begin() + 24, got[i].Datagram.begin() + 32), mac);
    EXPECT_EQ(peer::WordAt(got[i].Datagram, 12), 3000u);
  }
}

TEST_F(UdpExchange, LocalAddressIsTheSource) {
  Peer.Start([](const auto&) { return std::vector<Bytes>{}; });
  Zudirir.SetLocalAddress("127.0.0.2");
  Zudirir.ExchangeUdp("127.0.0.1", "", Request(), ReplyRef, 1, nullptr);
  Zudirir.SetLocalAddress("127.0.0.3");  // reopens the socket on the new address
  Zudirir.ExchangeUdp("127.0.0.1", "", Request(), ReplyRef, 1, nullptr);
  ASSERT_TRUE(Peer.WaitRequests(2));
  EXPECT_EQ(Peer.Requests()[0].From.address().to_string(), "127.0.0.2");
  EXPECT_EQ(Peer.Requests()[1].From.address().to_string(), "127.0.0.3");
  Zudirir.SetLocalAddress("not an address");
  EXPECT_THROW(Zudirir.ExchangeUdp("127.0.0.1", "", Request(), ReplyRef, 1, nullptr), ESocketError);
}

class ThreeDevices : public UdpExchange {
protected:
  ThreeDevices() : UdpExchange(3) {}
};

TEST_F(ThreeDevices, BroadcastSearchHearsEveryDevice) {
  Peer.Start([](const peer::UdpPeer::Received& r) {
    return peer::Fragments(peer::Reply(4096, 0, peer::Record(12000, peer::Word(100 + r.Socket))));
  });
  // The handler's verdict for the last reply is the result.
  EXPECT_FALSE(Zudirir.ExchangeUdp("", "", Request(), ReplyRef, 10, Recorder([](int n) { return n != 3; })));
  ASSERT_EQ(Calls.size(), 3u);
  std::set<uint32_t> serials;
  for (const Call& c : Calls) serials.insert(peer::WordAt(c.Reply, 32));
  EXPECT_EQ(serials, (std::set<uint32_t>{100, 101, 102}));
  // The poll that brought the last reply, then nine silent ones.
  EXPECT_EQ(Polls - Calls.back().PollsBefore, 10);
  EXPECT_EQ(Peer.Requests().size(), 3u);  // one broadcast datagram reached each device
}

}  // namespace

namespace {

TEST_F(UdpExchange, HostNamesAreResolved) {
  Peer.Start([&](const auto&) { return peer::Fragments(peer::Reply(4096, 0, {})); });
  EXPECT_TRUE(Zudirir.ExchangeUdp("localhost", "", Request(), ReplyRef, 1, nullptr));
  // An unknown name would be asked of the name server; only do that where no
  // packet can leave: inside the private namespace the test command makes.
  if (std::getenv("LUMI_IN_NETNS") == nullptr) GTEST_SKIP() << "needs the private network namespace";
  EXPECT_THROW(Zudirir.ExchangeUdp("no-such-camera.invalid", "", Request(), ReplyRef, 1, nullptr), EHostNotFound);
}

}  // namespace
