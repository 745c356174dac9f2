// The TCP exchange against a stand-in camera on loopback.

#include <gtest/gtest.h>

#include "FreePort.h"
#include "LoopbackPeer.h"
#include "UZudirir.h"

namespace {

using peer::Bytes;
using namespace std::chrono_literals;

class TcpExchange : public ::testing::Test {
protected:
  TcpExchange() {
    TZudirirEndpoints e;
    e.TcpPort = Peer.Port();
    Zudirir.SetEndpoints(e);
    Zudirir.BusyCursor = [this](bool on) { Cursor.push_back(on); };
  }

  static TZudirirMsg Request(uint32_t number) {
    TZudirirMsg m;
    TFormZudirir::InitMsg(m, number, 0xFFFFFFFF);
    return m;
  }

  ReplyHandler Recorder() {
    return [this](const uint8_t* reply, uint32_t length) {
      Handled.emplace_back(reply, reply + length);
      return false;  // not used by the TCP exchange
    };
  }

  peer::TcpPeer Peer;
  TFormZudirir Zudirir;
  std::vector<bool> Cursor;
  std::vector<Bytes> Handled;
  std::vector<Bytes> Requests;  // written by the peer thread; read after Stop()
};

TEST_F(TcpExchange, SuccessWithAndWithoutPayload) {
  const Bytes payload = peer::Record(12026, {7, 3, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0});
  const Bytes replies[2] = {peer::Reply(26011, 0, {}), peer::Reply(26011, 0, payload)};
  std::atomic<int> n{0};
  Peer.Start([&](asio::ip::tcp::socket& s) {
    Requests.push_back(peer::ReadRequest(s));
    asio::write(s, asio::buffer(replies[n++]));
  });
  EXPECT_EQ(Zudirir.ExchangeTcp("127.0.0.1", Request(26011), Recorder()), 0u);
  EXPECT_EQ(Zudirir.ExchangeTcp("127.0.0.1", Request(26011), Recorder()), 0u);
  Peer.Stop();
  ASSERT_EQ(Handled.size(), 2u);
  EXPECT_EQ(Handled[0], replies[0]);  // total length 24
  EXPECT_EQ(Handled[1], replies[1]);
  // Each request went out as exactly its 24 bytes, on a connection of its own.
  const Bytes expected = {0x18, 0, 0, 0, 0x9B, 0x65, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                          0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(Requests.size(), 2u);
  EXPECT_EQ(Requests[0], expected);
  EXPECT_EQ(Requests[1], expected);
  EXPECT_EQ(Peer.Peers().size(), 2u);
  EXPECT_EQ(Cursor, (std::vector<bool>{true, false, true, false}));
}

TEST_F(TcpExchange, ErrorStatusIsReturnedWithoutReadingThePayload) {
  Peer.Start([&](asio::ip::tcp::socket& s) {
    peer::ReadRequest(s);
    // Header says 100 payload bytes; they never come, and must not be waited for.
    asio::write(s, asio::buffer(peer::Reply(25166, 3, {}, 100)));
    peer::ClosedByClient(s, 5s);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Zudirir.ExchangeTcp("127.0.0.1", Request(25166), Recorder()), 3u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(Handled.empty());
}

TEST_F(TcpExchange, OversizedPayloadIsRefused) {
  Peer.Start([&](asio::ip::tcp::socket& s) {
    peer::ReadRequest(s);
    asio::write(s, asio::buffer(peer::Reply(25166, 0, {}, ReplyPayloadCapacity + 1)));
    peer::ClosedByClient(s, 5s);
  });
  EXPECT_THROW(Zudirir.ExchangeTcp("127.0.0.1", Request(25166), Recorder()), EProtocolError);
  EXPECT_TRUE(Handled.empty());
  EXPECT_EQ(Cursor, (std::vector<bool>{true, false}));
}

TEST_F(TcpExchange, FullSizePayloadFits) {
  Bytes payload(ReplyPayloadCapacity, 0x5A);
  Peer.Start([&](asio::ip::tcp::socket& s) {
    peer::ReadRequest(s);
    asio::write(s, asio::buffer(peer::Reply(25166, 0, payload)));
  });
  EXPECT_EQ(Zudirir.ExchangeTcp("127.0.0.1", Request(25166), Recorder()), 0u);
  ASSERT_EQ(Handled.size(), 1u);
  EXPECT_EQ(Handled[0].size(), ReplyBufferSize);
}

TEST_F(TcpExchange, RefusedConnection) {
  TZudirirEndpoints e;
  e.TcpPort = peer::FreeTcpPort();
  Zudirir.SetEndpoints(e);
  try {
    Zudirir.ExchangeTcp("127.0.0.1", Request(26011), Recorder());
    FAIL() << "no error";
  } catch (const EConnectError& err) {
    EXPECT_STREQ(err.what(), "Connection refused");
    EXPECT_EQ(err.ClassName, "EConnectError");
  }
  EXPECT_EQ(Cursor, (std::vector<bool>{true, false}));
  EXPECT_THROW(Zudirir.ExchangeTcp("", Request(26011), Recorder()), EConnectError);  // no host
}

TEST_F(TcpExchange, SilentPeerTimesOutAndTheConnectionIsClosed) {
  std::atomic<bool> closed{false};
  Peer.Start([&](asio::ip::tcp::socket& s) {
    peer::ReadRequest(s);
    closed = peer::ClosedByClient(s, 6s);
  });
  const auto start = std::chrono::steady_clock::now();
  try {
    Zudirir.ExchangeTcp("127.0.0.1", Request(26011), Recorder());
    FAIL() << "no error";
  } catch (const EReadTimeout& err) {
    EXPECT_STREQ(err.what(), "Read timed out.");
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, 2900ms);
  EXPECT_LT(waited, 4500ms);
  EXPECT_EQ(Cursor, (std::vector<bool>{true, false}));
  Peer.Stop();
  EXPECT_TRUE(closed);
}

// The camera closes after n bytes of its reply, for every n short of the
// whole: each ends in an error, never in a handler call or a success.
TEST_F(TcpExchange, PeerClosingAtEveryByteOfTheReply) {
  const Bytes reply = peer::Reply(26011, 0, peer::Record(12000, peer::Word(9)));
  std::atomic<size_t> cut{0};
  Peer.Start([&](asio::ip::tcp::socket& s) {
    peer::ReadRequest(s);
    asio::write(s, asio::buffer(reply.data(), cut));
  });
  for (size_t n = 0; n < reply.size(); ++n) {
    SCOPED_TRACE(n);
    cut = n;
    EXPECT_THROW(Zudirir.ExchangeTcp("127.0.0.1", Request(26011), Recorder()), EConnClosedGracefully);
  }
  EXPECT_TRUE(Handled.empty());
  cut = reply.size();
  EXPECT_EQ(Zudirir.ExchangeTcp("127.0.0.1", Request(26011), Recorder()), 0u);
  ASSERT_EQ(Handled.size(), 1u);
  EXPECT_EQ(Handled[0], reply);
}

// The reply written in two parts at every split point still reads whole.
TEST_F(TcpExchange, ReplySplitAtEveryByte) {
  const Bytes reply = peer::Reply(26011, 0, peer::Record(12000, peer::Word(9)));
  std::atomic<size_t> split{0};
  Peer.Start([&](asio::ip::tcp::socket& s) {
    s.set_option(asio::ip::tcp::no_delay(true));
    peer::ReadRequest(s);
    asio::write(s, asio::buffer(reply.data(), split));
    std::this_thread::sleep_for(2ms);
    asio::write(s, asio::buffer(reply.data() + split, reply.size() - split));
  });
  for (size_t n = 1; n < reply.size(); ++n) {
    SCOPED_TRACE(n);
    split = n;
    Handled.clear();
    EXPECT_EQ(Zudirir.ExchangeTcp("127.0.0.1", Request(26011), Recorder()), 0u);
    ASSERT_EQ(Handled.size(), 1u);
    EXPECT_EQ(Handled[0], reply);
  }
}

TEST_F(TcpExchange, HandlerErrorStillRestoresCursorAndCloses) {
  std::atomic<bool> closed{false};
  Peer.Start([&](asio::ip::tcp::socket& s) {
    peer::ReadRequest(s);
    asio::write(s, asio::buffer(peer::Reply(26011, 0, {})));
    closed = peer::ClosedByClient(s, 5s);
  });
  EXPECT_THROW(Zudirir.ExchangeTcp("127.0.0.1", Request(26011),
                                   [](const uint8_t*, uint32_t) -> bool { throw EConvertError("bad"); }),
               EConvertError);
  EXPECT_EQ(Cursor, (std::vector<bool>{true, false}));
  Peer.Stop();
  EXPECT_TRUE(closed);
}

TEST_F(TcpExchange, LocalAddressIsTheSource) {
  Peer.Start([&](asio::ip::tcp::socket& s) {
    peer::ReadRequest(s);
    asio::write(s, asio::buffer(peer::Reply(26011, 0, {})));
  });
  Zudirir.SetLocalAddress("127.0.0.2");
  EXPECT_EQ(Zudirir.ExchangeTcp("127.0.0.1", Request(26011), nullptr), 0u);
  Peer.Stop();
  ASSERT_EQ(Peer.Peers().size(), 1u);
  EXPECT_EQ(Peer.Peers()[0], "127.0.0.2");
}

}  // namespace
