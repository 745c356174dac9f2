#include <gtest/gtest.h>

#include <sstream>

#include "UErrors.h"
#include "UReceive.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t w) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(w >> (8 * i)));
}

Bytes Rec(uint32_t id, Bytes value) {
  Bytes r;
  Put(r, id);
  Put(r, static_cast<uint32_t>(value.size()));
  r.insert(r.end(), value.begin(), value.end());
  while (r.size() % 4) r.push_back(0);
  return r;
}

Bytes Msg(uint32_t number, uint32_t status, const std::vector<Bytes>& records) {
  Bytes payload;
  for (const Bytes& r : records) payload.insert(payload.end(), r.begin(), r.end());
  Bytes m;
  for (uint32_t w : {24u, number, 0u, 0u, status, static_cast<uint32_t>(payload.size())}) Put(m, w);
  m.insert(m.end(), payload.begin(), payload.end());
  return m;
}

struct Printed {
  bool result;
  std::string text;
};

Printed Print(const Bytes& m, size_t length) {
  std::ostringstream out;
  const bool r = TReceiveClass::PrintReplyTo(out, m.data(), static_cast<uint32_t>(length));
  return {r, out.str()};
}
Printed Print(const Bytes& m) { return Print(m, m.size()); }

TEST(PrintReply, Lines) {
  struct Case {
    const char* name;
    Bytes reply;
    std::string expected;
  } cases[] = {
      {"ip address", Msg(4096, 0, {Rec(12002, {0x0A, 0x01, 0xA8, 0xC0})}), "12002; IP_ADDRESS; 192.168.1.10\n"},
      {"serial number and nameless serial 0",
       Msg(4096, 0, {Rec(0, {0xD2, 0x04, 0, 0}), Rec(12000, {0, 0, 0, 0})}),
       "00000; SERIAL_NUMBER; 1234\n12000; ; \n"},
      {"description rewrite", Msg(4096, 0, {Rec(10010, {'D', 'O', 'Z', 'U', ' ', 'u', 'n', 'i', 't', ' ', '7', 0})}),
       "10010; DESCRIPTION; ANPR unit 7\n"},
      {"image unknown to the console", Msg(25166, 0, {Rec(2000, {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10})}),
       "02000; 2000; 1000E0FFD8FF\n"},
      {"time", Msg(26011, 0, {Rec(12026, {7, 3, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0})}),
       "12026; TIME; 2014-03-07 09:05:00\n"},
      {"records in reply order",
       Msg(4096, 0, {Rec(12008, {'c', 'a', 'm', 0}), Rec(12001, {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0, 0, 0}),
                     Rec(12007, {1, 0, 0, 0})}),
       "12008; NETBIOSNAME; cam\n12001; MAC_ADDRESS; 00-0A-1B-2C-3D-4E\n12007; DHCP; 1\n"},
      {"8-bit text shown as UTF-8 on the console", Msg(4096, 0, {Rec(12008, {0xC3, 0xA9, 0})}),
       "12008; NETBIOSNAME; \xC3\xA9\n"},
      {"list files prints nothing", Msg(4126, 0, {Rec(12002, {1, 2, 3, 4})}), ""},
      {"read file prints nothing", Msg(4100, 0, {Rec(12002, {1, 2, 3, 4})}), ""},
      {"status 5 prints nothing", Msg(4096, 5, {Rec(12002, {1, 2, 3, 4})}), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Printed p = Print(c.reply);
    EXPECT_TRUE(p.result);
    EXPECT_EQ(p.text, c.expected);
  }
}

TEST(PrintReply, IncompleteBufferGivesFalse) {
  const Bytes m = Msg(4096, 0, {Rec(12002, {1, 2, 3, 4})});
  const Printed p = Print(m, m.size() - 1);
  EXPECT_FALSE(p.result);
  EXPECT_EQ(p.text, "");
}

TEST(PrintReply, InvalidDateKeepsEarlierLinesAndRaises) {
  const Bytes m = Msg(26011, 0, {Rec(12021, {5, 0, 0, 0}), Rec(12026, {7, 0, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0})});
  std::ostringstream out;
  EXPECT_THROW(TReceiveClass::PrintReplyTo(out, m.data(), static_cast<uint32_t>(m.size())), EConvertError);
  EXPECT_EQ(out.str(), "12021; CPU_UPTIME; 5\n");
}

}  // namespace
