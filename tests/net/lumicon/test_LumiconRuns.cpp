// The built Lumicon against stand-in cameras on loopback: what it prints and
// how it exits. The overrides keep its broadcast on 127.255.255.255.

#include <gtest/gtest.h>

#include "FreePort.h"
#include "LoopbackPeer.h"
#include "RunProgram.h"

namespace {

using peer::Bytes;
using peer::Record;

// A device information reply as a camera with this serial number sends it.
Bytes DeviceReply(uint32_t serial, uint8_t lastOctet) {
  Bytes payload;
  for (const Bytes& r : {Record(12000, peer::Word(serial)), Record(12002, {lastOctet, 0, 0, 127}),
                         Record(12010, peer::Text("DOZU cam")), Record(12034, {0x01, 0xAB})})
    payload.insert(payload.end(), r.begin(), r.end());
  return peer::Reply(4096, 0, payload);
}

std::string DeviceLines(uint32_t serial, int lastOctet) {
  return std::to_string(12000) + "; SERIAL_NUMBER; " + std::to_string(serial) + "\n" +
         "12002; IP_ADDRESS; 127.0.0." + std::to_string(lastOctet) + "\n" +
         "12010; DESCRIPTION; ANPR cam\n" + "12034; TSK; AB01\n";
}

class LumiconRun : public ::testing::Test {
protected:
  LumiconRun() : Udp(2) {}

  peer::TRunResult Run(const std::vector<std::string>& args) {
    return peer::RunProgram(LUMICON_PATH, args,
                            {{"ZUDIRIR_UDP_PORT", std::to_string(Udp.Port())},
                             {"ZUDIRIR_TCP_PORT", std::to_string(Tcp.Port())},
                             {"ZUDIRIR_BROADCAST", "127.255.255.255"}});
  }

  // The two devices answer every request addressed to them with their reply.
  void DevicesAnswer() {
    Udp.Start([](const peer::UdpPeer::Received& r) {
      // Unicast requests reach only one of the sockets; both answer broadcasts.
      return peer::Fragments(DeviceReply(1000 + r.Socket, static_cast<uint8_t>(11 + r.Socket)));
    });
  }

  peer::UdpPeer Udp;
  peer::TcpPeer Tcp;
};

TEST_F(LumiconRun, BroadcastSearchPrintsEveryDevice) {
  DevicesAnswer();
  const auto r = Run({});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Err, "");
  // Arrival order is not fixed: either device may answer first.
  const std::string a = DeviceLines(1000, 11), b = DeviceLines(1001, 12);
  EXPECT_TRUE(r.Out == a + b || r.Out == b + a) << r.Out;
  ASSERT_TRUE(Udp.WaitRequests(2));
  EXPECT_EQ(peer::WordAt(Udp.Requests()[0].Datagram, 32 + 4), 4096u);
  RecordProperty("search_ms", static_cast<int>(r.Took.count()));
}

TEST_F(LumiconRun, OneAddressOneReply) {
  DevicesAnswer();
  const auto r = Run({"-ip:127.0.0.1", "/UDP:$1000"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_TRUE(r.Out == DeviceLines(1000, 11) || r.Out == DeviceLines(1001, 12)) << r.Out;
}

TEST_F(LumiconRun, NothingPrintedForNoReplyErrorStatusOrRecordlessReply) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    Bytes reply;  // empty: no answer
  } cases[] = {
      {"no reply", {"-ip:127.0.0.1", "-udp:4098"}, {}},
      {"status 5", {"-ip:127.0.0.1"}, peer::Reply(4096, 5, Record(12002, {1, 2, 3, 4}))},
      {"file list", {"-ip:127.0.0.1", "-udp:0x101e"}, peer::Reply(4126, 0, Bytes{'a', '\r', '\n', 0})},
  };
  const Bytes* current = nullptr;
  Udp.Start([&](const auto&) { return current->empty() ? std::vector<Bytes>{} : peer::Fragments(*current); });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    current = &c.reply;
    const auto r = Run(c.args);
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "");
  }
  ASSERT_TRUE(Udp.WaitRequests(3));
  EXPECT_EQ(peer::WordAt(Udp.Requests()[2].Datagram, 32 + 4), 4126u);
}

TEST_F(LumiconRun, DateTimeOverTcp) {
  Tcp.Start([](asio::ip::tcp::socket& s) {
    const Bytes request = peer::ReadRequest(s);
    const uint32_t number = request.size() >= 24 ? peer::WordAt(request, 4) : 0;
    asio::write(s, asio::buffer(peer::Reply(number, 0, Record(12026, {7, 3, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0}))));
  });
  const auto r = Run({"-tcp:26011", "-ip:127.0.0.1"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "12026; TIME; 2014-03-07 09:05:00\n");
  EXPECT_EQ(r.Err, "");
}

TEST_F(LumiconRun, UsageOnlyAndNothingSent) {
  DevicesAnswer();
  const auto r = Run({"-?", "-ip:127.0.0.1"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "usage: lumicon.exe [-?] [-ip:<ipaddr>] [-udp:<msgno>] [-tcp:<msgno>]\n");
  EXPECT_FALSE(Udp.WaitRequests(1, std::chrono::milliseconds(200)));
}

TEST_F(LumiconRun, ErrorsGoToStandardErrorWithExitCode1) {
  {
    SCOPED_TRACE("TCP without an address");
    const auto r = Run({"-tcp:4096"});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "EConnectError: No host to connect to\n");
  }
  {
    SCOPED_TRACE("refused connection");
    Tcp.Stop();
    const auto port = peer::FreeTcpPort();
    const auto r = peer::RunProgram(LUMICON_PATH, {"-tcp:26011", "-ip:127.0.0.1"},
                                    {{"ZUDIRIR_TCP_PORT", std::to_string(port)}});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Err, "EConnectError: Connection refused\n");
  }
}

TEST_F(LumiconRun, InvalidDateKeepsEarlierLines) {
  Udp.Start([](const auto&) {
    Bytes payload = Record(12021, peer::Word(77));
    const Bytes bad = Record(12026, {7, 0, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0});  // month 0
    payload.insert(payload.end(), bad.begin(), bad.end());
    return peer::Fragments(peer::Reply(26011, 0, payload));
  });
  const auto r = Run({"-ip:127.0.0.1", "-udp:26011"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "12021; CPU_UPTIME; 77\n");
  EXPECT_EQ(r.Err, "EConvertError: '2014-00-07 09:05:00' is not a valid date and time\n");
}

}  // namespace
