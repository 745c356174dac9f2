// Fault switches: how they are written, which messages they hit, and what
// they do to a reply's bytes.

#include <gtest/gtest.h>

#include "UHandleZudirir.h"
#include "USimFaults.h"

namespace {

TEST(SimFaults, UntouchedReplyLeavesAsOneDatagram) {
  // The reply to a reboot: the 24-byte header alone, in a 56-byte datagram
  // that names the camera's MAC (02-0A-1B-00-00-01) last octet first.
  TZudirirMsg reply;
  TFormZudirir::InitMsg(reply, 4098, 0xFFFFFFFF);
  const uint8_t mac[8] = {0x01, 0x00, 0x00, 0x1B, 0x0A, 0x02, 0x00, 0x00};
  const auto d = FaultedDatagrams(FaultedWire(reply, {}), mac, {});
  ASSERT_EQ(d.size(), 1u);
  const std::vector<uint8_t> expected = {
      1, 0, 0, 0, 0, 0, 0, 0, 56, 0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // count, index, lengths, reserved
      0x01, 0x00, 0x00, 0x1B, 0x0A, 0x02, 0x00, 0x00,                            // TargetMAC
      0x18, 0, 0, 0, 0x02, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(d[0], expected);
}

TEST(SimFaults, ParsesSwitchesAndRefusesMistakes) {
  struct Good {
    const char* text;
    TSimFaultKind kind;
    int64_t value;
    uint32_t msg;
  } good[] = {
      {"status=5@26011", TSimFaultKind::Status, 5, 26011},
      {"status", TSimFaultKind::Status, 1, 0},
      {"noreply@MSG_DEVICE_INFO", TSimFaultKind::NoReply, 0, 4096},
      {"NoReply@device_info", TSimFaultKind::NoReply, 0, 4096},
      {"delay=800@0x1000", TSimFaultKind::Delay, 800, 4096},
      {"losefrag", TSimFaultKind::LoseFragment, -1, 0},
      {"losefrag=0@4100", TSimFaultKind::LoseFragment, 0, 4100},
      {"oversize", TSimFaultKind::Oversize, 1048576, 0},
      {"truncate=30", TSimFaultKind::Truncate, 30, 0},
      {"tcpclose@25166", TSimFaultKind::TcpClose, 0, 25166},
      {"tcphang", TSimFaultKind::TcpHang, 0, 0},
      {"http401", TSimFaultKind::Http401, 0, 0},
      {"httpslow", TSimFaultKind::HttpSlow, 5000, 0},
  };
  for (const Good& g : good) {
    SCOPED_TRACE(g.text);
    TSimFault f;
    std::string error;
    ASSERT_TRUE(ParseFault(g.text, f, error)) << error;
    EXPECT_EQ(f.Kind, g.kind);
    EXPECT_EQ(f.Value, g.value);
    EXPECT_EQ(f.Msg, g.msg);
  }
  for (const char* bad : {"", "slow", "status=0", "status=x", "delay", "delay=-5", "noreply=3", "noreply@",
                          "noreply@MSG_NOTHING", "tcphang=1"}) {
    SCOPED_TRACE(bad);
    TSimFault f;
    std::string error;
    EXPECT_FALSE(ParseFault(bad, f, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(SimFaults, SwitchesApplyToTheirMessageOnly) {
  std::vector<TSimFault> faults;
  std::string error;
  for (const char* t : {"status=7@26011", "delay=100", "delay=50@4096", "losefrag@4100"}) {
    TSimFault f;
    ASSERT_TRUE(ParseFault(t, f, error));
    faults.push_back(f);
  }
  const TSimFaultPlan clock = PlanFaults(faults, 26011);
  EXPECT_TRUE(clock.SetStatus);
  EXPECT_EQ(clock.Status, 7u);
  EXPECT_EQ(clock.DelayMs, 100);
  EXPECT_FALSE(clock.LoseFragment);
  const TSimFaultPlan search = PlanFaults(faults, 4096);
  EXPECT_FALSE(search.SetStatus);
  EXPECT_EQ(search.DelayMs, 150);
  EXPECT_TRUE(PlanFaults(faults, 4100).LoseFragment);
}

TSimFaultPlan Plan(const char* text) {
  TSimFault f;
  std::string error;
  EXPECT_TRUE(ParseFault(text, f, error)) << error;
  return PlanFaults({f}, 4100);
}

TEST(SimFaults, RepliesAreChangedAsTheSwitchSays) {
  TZudirirMsg reply;
  TFormZudirir::InitMsg(reply, 4100, 0);
  for (uint32_t i = 0; i < 1000; ++i) TFormZudirir::AddWord(reply, i);  // 4024 bytes: three fragments
  const uint8_t mac[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

  std::vector<uint8_t> w = FaultedWire(reply, Plan("status=9"));
  EXPECT_EQ(ReadWordLE(w.data() + 16), 9u);
  EXPECT_EQ(w.size(), 4024u);

  // Padded beyond what a tool's reply buffer holds, with real bytes.
  w = FaultedWire(reply, Plan("oversize"));
  EXPECT_EQ(ReadWordLE(w.data() + 20), 1048576u);
  EXPECT_EQ(w.size(), 24u + 1048576u);
  EXPECT_EQ(AcceptReply(w.data(), static_cast<uint32_t>(w.size())), TReplyAcceptance::Ignored);

  // Cut short: the header still announces the whole payload.
  w = FaultedWire(reply, Plan("truncate"));
  EXPECT_EQ(w.size(), 2012u);
  EXPECT_EQ(ReadWordLE(w.data() + 20), 4000u);
  EXPECT_EQ(AcceptReply(w.data(), static_cast<uint32_t>(w.size())), TReplyAcceptance::Incomplete);
  EXPECT_EQ(FaultedWire(reply, Plan("truncate=10")).size(), 10u);

  const std::vector<uint8_t> whole = FaultedWire(reply, Plan("delay=1"));
  auto d = FaultedDatagrams(whole, mac, Plan("delay=1"));
  ASSERT_EQ(d.size(), 3u);
  d = FaultedDatagrams(whole, mac, Plan("losefrag"));
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(ReadWordLE(d[1].data() + 4), 1u);  // the last one is missing
  d = FaultedDatagrams(whole, mac, Plan("losefrag=0"));
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(ReadWordLE(d[0].data() + 4), 1u);
  EXPECT_EQ(FaultedDatagrams(whole, mac, Plan("losefrag=5")).size(), 3u);
}

}  // namespace
