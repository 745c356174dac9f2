// Requests joined from their fragments on the camera's side, and who acts on
// them: fragments in any order, bad datagrams refused without reading past
// them, one unfinished request per sender.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "UZudirir.h"
#include "USimReassembly.h"
#include "USimUdpRules.h"

namespace {

using Bytes = std::vector<uint8_t>;
using TStatus = TSimReassembler::TStatus;

Bytes Message(size_t size) {
  Bytes m(size);
  for (size_t i = 0; i < size; ++i) m[i] = static_cast<uint8_t>(i * 7 + 1);
  WriteWordLE(m.data(), 24);
  WriteWordLE(m.data() + 20, static_cast<uint32_t>(size - 24));
  return m;
}

std::vector<Bytes> Fragments(const Bytes& message, const uint8_t mac[8]) { return FragmentMessage(message, mac); }

const uint8_t AllFF[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

TEST(SimReassembly, FragmentsJoinInAnyOrder) {
  const Bytes message = Message(3000);  // 1472 + 1472 + 152 bytes on the wire
  const std::vector<Bytes> frags = Fragments(message, AllFF);
  ASSERT_EQ(frags.size(), 3u);
  std::vector<size_t> order(frags.size());
  std::iota(order.begin(), order.end(), 0);
  do {
    TSimReassembler r;
    for (size_t k = 0; k < order.size(); ++k) {
      const Bytes& d = frags[order[k]];
      const auto res = r.Feed(1, d.data(), d.size(), 0);
      if (k + 1 < order.size()) {
        EXPECT_EQ(res.Status, TStatus::Partial);
      } else {
        ASSERT_EQ(res.Status, TStatus::Complete);
        EXPECT_EQ(res.Message, message);
      }
    }
    EXPECT_EQ(r.PendingCount(), 0u);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(SimReassembly, SendersAreKeptApartAndRestartsReplaceUnfinishedRequests) {
  const Bytes a = Message(2000), b = Message(1500), c = Message(1600);
  const auto fa = Fragments(a, AllFF), fb = Fragments(b, AllFF), fc = Fragments(c, AllFF);
  TSimReassembler r;
  EXPECT_EQ(r.Feed(1, fa[0].data(), fa[0].size(), 0).Status, TStatus::Partial);
  EXPECT_EQ(r.Feed(2, fb[0].data(), fb[0].size(), 0).Status, TStatus::Partial);
  // A duplicate changes nothing.
  EXPECT_EQ(r.Feed(2, fb[0].data(), fb[0].size(), 0).Status, TStatus::Partial);
  // Sender 1 starts another message: what it had begun is dropped.
  EXPECT_EQ(r.Feed(1, fc[0].data(), fc[0].size(), 0).Status, TStatus::Partial);
  EXPECT_EQ(r.Feed(1, fa[1].data(), fa[1].size(), 0).Status, TStatus::Partial);  // other length: restarts again
  auto res = r.Feed(2, fb[1].data(), fb[1].size(), 0);
  ASSERT_EQ(res.Status, TStatus::Complete);
  EXPECT_EQ(res.Message, b);
  // An unfinished request goes stale.
  TSimReassembler s;
  s.Feed(1, fa[0].data(), fa[0].size(), 0);
  s.Feed(2, fb[0].data(), fb[0].size(), TSimReassembler::StaleMs + 1);
  EXPECT_EQ(s.PendingCount(), 1u);
}

TEST(SimReassembly, RefusesDatagramsThatDoNotFit) {
  const Bytes good = Fragments(Message(100), AllFF)[0];  // 132 bytes
  struct Case {
    const char* name;
    size_t offset;  // header word to change (-1: none)
    uint32_t value;
    size_t size;    // bytes handed over
  } cases[] = {
      {"shorter than a header", 99, 0, 31},
      {"fragment length beyond the datagram", 8, 133, 132},
      {"fragment length below a header", 8, 20, 132},
      {"message shorter than a message header", 12, 23, 132},
      {"message longer than a camera takes", 12, TSimReassembler::MaxRequestSize + 1, 132},
      {"count that does not match the length", 0, 2, 132},
      {"index beyond the count", 4, 1, 132},
      {"slice of the wrong size", 12, 120, 132},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes d = good;
    if (c.offset < 32) WriteWordLE(d.data() + c.offset, c.value);
    TSimReassembler r;
    // Only the bytes handed over exist.
    const std::unique_ptr<uint8_t[]> exact(new uint8_t[c.size]);
    std::copy(d.begin(), d.begin() + static_cast<ptrdiff_t>(c.size), exact.get());
    const auto res = r.Feed(1, exact.get(), c.size, 0);
    EXPECT_EQ(res.Status, TStatus::Rejected);
    EXPECT_FALSE(res.Reason.empty());
  }
}

TEST(SimUdpRules, TargetMacSelectsTheNamedCameraOnly) {
  const TSimMac own = {0x00, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E};
  struct Case {
    const char* name;
    std::array<uint8_t, 8> mac;
    bool selects;
  } cases[] = {
      {"every device", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, true},
      {"its MAC, last octet first", {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0, 0}, true},
      {"its MAC with other trailing bytes", {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0xFF, 0xFF}, true},
      {"its MAC in natural order", {0x00, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0, 0}, false},
      {"another MAC", {0x4F, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0, 0}, false},
      {"all zero", {0, 0, 0, 0, 0, 0, 0, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TargetMacSelects(c.mac, own), c.selects);
  }
}

TEST(SimUdpRules, SendersOutsideTheSubnetGetABroadcast) {
  uint32_t cam, mask, bcast;
  ASSERT_TRUE(ParseIPv4("192.168.1.20", cam));
  ASSERT_TRUE(ParseIPv4("255.255.255.0", mask));
  ASSERT_TRUE(ParseIPv4("255.255.255.255", bcast));
  struct Case {
    const char* sender;
    bool broadcast;
  } cases[] = {{"192.168.1.5", false}, {"192.168.1.255", false}, {"192.168.2.5", true}, {"10.0.0.1", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sender);
    uint32_t sender;
    ASSERT_TRUE(ParseIPv4(c.sender, sender));
    const TSimReplyRoute r = RouteReply(cam, mask, sender, 50123, bcast);
    EXPECT_EQ(r.Broadcast, c.broadcast);
    EXPECT_EQ(r.Address, c.broadcast ? bcast : sender);
    EXPECT_EQ(r.Port, 50123);
  }
}

}  // namespace
