// Each fault switch of dozusim produces the failure the tools must handle, as
// the tools see it over loopback.

#include <httplib.h>

#include "SimRig.h"
#include "UErrors.h"
#include "UHandleZudirir.h"
#include "UMessages.h"

namespace {

using sim::SimRig;

class FaultSwitch : public SimRig {
protected:
  // Counts complete replies; a reply short of its announced size is refused
  // as the tools' handlers refuse it.
  ReplyHandler Counting() {
    Replies = 0;
    return [this](const uint8_t* reply, uint32_t length) {
      if (AcceptReply(reply, length) == TReplyAcceptance::Incomplete) return false;
      ++Replies;
      return true;
    };
  }
  bool Udp(const std::string& host, const TZudirirMsg& msg, int wait = 1) {
    const uint8_t* reply = nullptr;
    return Tool.ExchangeUdp(host, "", msg, reply, wait, Counting());
  }
  uint32_t Tcp(const std::string& host, const TZudirirMsg& msg) { return Tool.ExchangeTcp(host, msg, Counting()); }

  TFormZudirir Tool;
  int Replies = 0;
};

TEST_F(FaultSwitch, StatusReachesTheTools) {
  StartSim({"--fault", "1:status=5@26011", "--fault", "2:status=9@MSG_DEVICE_INFO"});
  EXPECT_EQ(Tcp("127.0.0.11", BuildGetDateTime()), 5u);
  EXPECT_EQ(Replies, 0);  // the handler is not called for an error
  EXPECT_EQ(Tcp("127.0.0.12", BuildGetDateTime()), 0u);
  // Over UDP the reply arrives and is ignored; the console tool prints nothing for it.
  const auto r = Lumicon({});
  EXPECT_EQ(Count(r.Out, "12000; SERIAL_NUMBER;"), 2u) << r.Out;
  EXPECT_EQ(r.Out.find("SERIAL_NUMBER; 210002"), std::string::npos);
  EXPECT_EQ(Lumicon({"-ip:127.0.0.11", "-tcp:26011"}).Out, "");
}

TEST_F(FaultSwitch, SilenceAndDelay) {
  StartSim({"--fault", "1:noreply@4096", "--fault", "2:delay=700@4096"});
  EXPECT_FALSE(Udp("127.0.0.11", BuildDeviceInfo(), 3));
  EXPECT_TRUE(Udp("127.0.0.11", BuildGetErrors()));  // other messages are answered
  EXPECT_FALSE(Udp("127.0.0.12", BuildDeviceInfo(), 1));  // gone after one 100 ms poll
  EXPECT_TRUE(Udp("127.0.0.12", BuildDeviceInfo(), 10));
  EXPECT_TRUE(Sim->WaitFor("-> no answer [fault: no reply]"));
}

TEST_F(FaultSwitch, LostFragmentsOversizeAndTruncation) {
  StartSim({"--fault", "1:losefrag@4100", "--fault", "2:losefrag=0@4100", "--fault", "3:oversize@4100"});
  std::string text;
  while (text.size() < 5000) text += "Line=" + std::to_string(text.size()) + "\r\n";
  for (const char* host : {"127.0.0.11", "127.0.0.12", "127.0.0.13"}) {
    SCOPED_TRACE(host);
    ASSERT_TRUE(Udp(host, BuildWriteFile("big.ini", text)));
    // Last fragment lost: never complete. First one lost: complete but short,
    // and refused. Padded past the tools' reply buffer: dropped, no overrun.
    EXPECT_FALSE(Udp(host, BuildReadFile("big.ini")));
    EXPECT_EQ(Replies, 0);
    EXPECT_TRUE(Udp(host, BuildListFiles()));  // other messages are answered whole
  }
  EXPECT_TRUE(Sim->WaitFor("[fault: padded to 1048576 payload bytes]"));

  Sim.reset();
  StartSim({"--fault", "oversize@26011", "--fault", "2:truncate@26011", "--fault", "3:truncate=10@26011"});
  EXPECT_THROW(Tcp("127.0.0.11", BuildGetDateTime()), EZudirirError);  // refused, not read into the buffer
  EXPECT_THROW(Tcp("127.0.0.12", BuildGetDateTime()), EZudirirError);  // payload cut short
  EXPECT_THROW(Tcp("127.0.0.13", BuildGetDateTime()), EZudirirError);  // header cut short
  const auto r = Lumicon({"-ip:127.0.0.12", "-tcp:26011"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err, "");
}

TEST_F(FaultSwitch, TcpClosedOrNeverAnswered) {
  StartSim({"--fault", "1:tcpclose@26011", "--fault", "2:tcphang", "--fault", "3:noreply@26011"});
  EXPECT_THROW(Tcp("127.0.0.11", BuildGetDateTime()), EZudirirError);
  EXPECT_EQ(Tcp("127.0.0.11", BuildGetImage(0)), 0u);  // only the named message
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(Tcp("127.0.0.12", BuildGetDateTime()), EReadTimeout);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2900));
  EXPECT_THROW(Tcp("127.0.0.13", BuildGetDateTime()), EReadTimeout);
  const auto r = Lumicon({"-ip:127.0.0.11", "-tcp:26011"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_TRUE(Sim->WaitFor("connection taken, never answered [fault: tcphang]"));
}

TEST_F(FaultSwitch, HttpRefusedOrSlow) {
  StartSim({"--fault", "1:http401", "--fault", "2:httpslow=1500"});
  auto get = [&](const char* host, int readTimeout) {
    httplib::Client client(host, HttpPort);
    client.set_basic_auth("fieldtech", "fieldtech");
    client.set_read_timeout(readTimeout, 0);
    return client.Get("/cgi-bin/DozuConfig.bin");
  };
  auto res = get("127.0.0.11", 5);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 401);
  EXPECT_FALSE(get("127.0.0.12", 1));  // times out
  res = get("127.0.0.12", 5);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(get("127.0.0.13", 5)->status, 200);
}

}  // namespace
