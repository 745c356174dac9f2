#include <gtest/gtest.h>

#include <turbojpeg.h>

#include <string>
#include <vector>

#include "UHandleZudirir.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A record viewed over exactly the given value bytes (nothing after them).
TZudirirParam View(const Bytes& value, uint32_t length) {
  TZudirirParam p;
  p.Id = 1;
  p.Length = length;
  p.Value = value.data();
  p.Available = static_cast<uint32_t>(value.size());
  return p;
}
TZudirirParam View(const Bytes& value) { return View(value, static_cast<uint32_t>(value.size())); }

Bytes Header(uint32_t headerSize, uint32_t msgNumber, uint32_t status, uint32_t payloadSize) {
  Bytes h;
  for (uint32_t w : {headerSize, msgNumber, 0xFFFFFFFFu, 0u, status, payloadSize})
    for (int i = 0; i < 4; ++i) h.push_back(static_cast<uint8_t>(w >> (8 * i)));
  return h;
}

TEST(ReplyAcceptance, Rule) {
  struct Case {
    const char* name;
    Bytes bytes;
    uint32_t length;  // 0: the whole of bytes
    TReplyAcceptance expected;
  } cases[] = {
      {"shorter than a header", Bytes(23, 0), 0, TReplyAcceptance::Incomplete},
      {"payload not all there", [] { Bytes b = Header(24, 4096, 0, 8); b.resize(31); return b; }(), 0,
       TReplyAcceptance::Incomplete},
      {"header size and payload wrap", Header(0xFFFFFFF0, 4096, 0, 0x20), 0, TReplyAcceptance::Incomplete},
      {"header size not 24", [] { Bytes b = Header(28, 4096, 0, 0); b.resize(28); return b; }(), 0,
       TReplyAcceptance::Ignored},
      {"status not 0", Header(24, 4096, 5, 0), 0, TReplyAcceptance::Ignored},
      {"payload 0xFFF00", Header(24, 4096, 0, 0xFFF00), 24 + 0xFFF00, TReplyAcceptance::Ignored},
      {"read file", Header(24, 4100, 0, 0), 0, TReplyAcceptance::NoRecords},
      {"get errors", Header(24, 4118, 0, 0), 0, TReplyAcceptance::NoRecords},
      {"erase errors", Header(24, 4119, 0, 0), 0, TReplyAcceptance::NoRecords},
      {"list files", Header(24, 4126, 0, 0), 0, TReplyAcceptance::NoRecords},
      {"device info", Header(24, 4096, 0, 0), 0, TReplyAcceptance::Walk},
      {"more bytes than the message", [] { Bytes b = Header(24, 4096, 0, 0); b.resize(40); return b; }(), 0,
       TReplyAcceptance::Walk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The rule may only look at the bytes it is given: hand it a copy of
    // exactly that many so the sanitizer sees any read past them.
    const uint32_t length = c.length ? c.length : static_cast<uint32_t>(c.bytes.size());
    Bytes held = c.bytes;
    held.resize(std::max<size_t>(held.size(), 24));
    EXPECT_EQ(AcceptReply(held.data(), length), c.expected);
  }
}

struct Visited {
  uint32_t id, length, available;
};

std::vector<Visited> Walk(const Bytes& payload) {
  std::vector<Visited> seen;
  WalkPayload(payload.data(), static_cast<uint32_t>(payload.size()),
              [&](const TZudirirParam& p) { seen.push_back({p.Id, p.Length, p.Available}); });
  return seen;
}

TEST(RecordWalk, StepsAndEnd) {
  // id 7 len 4 | id 8 len 5 (takes 16) | id 9 len 0 at the very end (8 bytes: not visited)
  const Bytes payload = {7, 0, 0, 0, 4, 0, 0, 0, 1, 2, 3, 4,
                         8, 0, 0, 0, 5, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0,
                         9, 0, 0, 0, 0, 0, 0, 0};
  const auto seen = Walk(payload);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].id, 7u);
  EXPECT_EQ(seen[1].id, 8u);
  EXPECT_EQ(seen[1].available, 8u + 8u);  // its own 8 bytes and the last record's

  EXPECT_EQ(Walk(Bytes{7, 0, 0, 0, 4, 0, 0, 0, 1, 2, 3, 4}).size(), 1u);  // 12 bytes: walked once
  EXPECT_EQ(Walk(Bytes{7, 0, 0, 0, 4, 0, 0, 0, 1, 2, 3}).size(), 0u);     // 11 bytes: not at all
}

TEST(RecordWalk, LengthPastTheEndStopsTheWalk) {
  for (uint32_t length : {100u, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(length);
    Bytes payload = {7, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 9, 0, 0, 0, 4, 0, 0, 0, 1, 2, 3, 4};
    for (int i = 0; i < 4; ++i) payload[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    const auto seen = Walk(payload);
    ASSERT_EQ(seen.size(), 1u);  // a wrapped step would visit garbage after it
    EXPECT_EQ(seen[0].available, 16u);
  }
}

TEST(RecordWalk, WholeMessageOnlyWhenComplete) {
  Bytes msg = Header(24, 4096, 0, 12);
  const Bytes record = {7, 0, 0, 0, 4, 0, 0, 0, 1, 2, 3, 4};
  msg.insert(msg.end(), record.begin(), record.end());
  int visits = 0;
  WalkParams(msg.data(), static_cast<uint32_t>(msg.size()), [&](const TZudirirParam&) { ++visits; });
  WalkParams(msg.data(), static_cast<uint32_t>(msg.size() - 1), [&](const TZudirirParam&) { ++visits; });
  EXPECT_EQ(visits, 1);
}

TEST(Decoders, TextOfEachKind) {
  struct Case {
    const char* name;
    std::string (*decode)(const TZudirirParam&);
    Bytes value;
    std::string expected;
  } cases[] = {
      {"ip", ParamIPAddress, {0x01, 0x00, 0xA8, 0xC0}, "192.168.0.1"},
      {"ip 12002 example", ParamIPAddress, {0x0A, 0x01, 0xA8, 0xC0}, "192.168.1.10"},
      {"integer -1", ParamInteger, {0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
      {"integer 1234", ParamInteger, {0xD2, 0x04, 0, 0}, "1234"},
      {"data", ParamData, {0x01, 0x02, 0x03, 0x04}, "04030201"},
      {"data empty", ParamData, {}, ""},
      {"data hex case", ParamData, {0xAB, 0x0F}, "0FAB"},
      {"point", ParamPoint, {10, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF}, "10,-3"},
      {"mac 8 bytes", ParamMACAddress, {0xFF, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA, 0, 0}, "AA-BB-CC-DD-EE-FF"},
      {"mac 6 bytes shows 4 octets", ParamMACAddress, {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00}, "1B-2C-3D-4E"},
      {"mac 2 bytes", ParamMACAddress, {1, 2}, ""},
      {"string", ParamString, {'C', 'a', 'm', ' ', '1', 0, 'x', 'y'}, "Cam 1"},
      {"string not utf-8", ParamString, {0xE9, 0x41, 0x00, 0x00}, ""},
      {"string cut short", ParamString, {'a', 0xC3}, ""},
      {"string utf-8 to code page", ParamString, {0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xE4, 0xB8, 0x80, 0}, "\xE9\x80?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.decode(View(c.value)), c.expected);
  }
}

TEST(Decoders, StayInsideTheValidData) {
  // Values shorter than what the decoders read, with nothing held after them:
  // bytes beyond read as zero, and the sanitizer sees any read past the end.
  const Bytes two = {0x05, 0x01};
  EXPECT_EQ(ParamInteger(View(two, 0)), "261");
  EXPECT_EQ(ParamPoint(View(two)), "261,0");
  EXPECT_EQ(ParamIPAddress(View(two)), "0.0.1.5");
  // Length claims more than is held.
  const Bytes text = {'a', 'b', 'c'};
  EXPECT_EQ(ParamString(View(text, 400)), "abc");
  EXPECT_EQ(ParamData(View(text, 400)), "636261");
  EXPECT_EQ(ParamMACAddress(View(Bytes{1, 2, 3, 4, 5, 6, 7}, 400)), "05-04-03-02-01");
  TDateTime value = 0;
  EXPECT_THROW(ParamDateTime(View(Bytes{7, 3}), value), EConvertError);
  EXPECT_TRUE(ParamImageBytes(View(Bytes{0, 0, 0, 0, 1}, 100)).empty());
}

TEST(Decoders, DateTime) {
  // day 7, month 3, year 2014, 09:05:00
  const Bytes value = {7, 3, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0};
  TDateTime dt = 0;
  EXPECT_EQ(ParamDateTime(View(value), dt), "2014-03-07 09:05:00");
  EXPECT_DOUBLE_EQ(dt, 41705.0 + (9 * 60 + 5) / 1440.0);

  struct Bad {
    const char* name;
    Bytes value;
  } bad[] = {
      {"month 0", {7, 0, 0xDE, 0x07, 9, 0, 5, 0, 0, 0}},
      {"day 32", {32, 1, 0xDE, 0x07, 0, 0, 0, 0, 0, 0}},
      {"year 0", {1, 1, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"year 10000", {1, 1, 0x10, 0x27, 0, 0, 0, 0, 0, 0}},
      {"hour 24", {1, 1, 0xDE, 0x07, 24, 0, 0, 0, 0, 0}},
      {"hour 300", {1, 1, 0xDE, 0x07, 0x2C, 0x01, 0, 0, 0, 0}},
      {"second 60", {1, 1, 0xDE, 0x07, 0, 0, 0, 0, 60, 0}},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    TDateTime untouched = 0;
    EXPECT_THROW(ParamDateTime(View(b.value), untouched), EConvertError);
  }
}

Bytes SmallJpeg() {
  const int w = 8, h = 4;
  std::vector<uint8_t> rgb(w * h * 3, 200);
  tjhandle tj = tjInitCompress();
  unsigned char* out = nullptr;
  unsigned long size = 0;
  tjCompress2(tj, rgb.data(), w, 0, h, TJPF_RGB, &out, &size, TJSAMP_444, 90, 0);
  Bytes jpeg(out, out + size);
  tjFree(out);
  tjDestroy(tj);
  return jpeg;
}

TEST(Decoders, ImageWithAndWithoutBlock) {
  const Bytes jpeg = SmallJpeg();
  {
    SCOPED_TRACE("plain JPEG, trailing filler ignored");
    Bytes value = jpeg;
    value.insert(value.end(), {0, 0, 0});
    const TJpegPicture pic = ParamImage(View(value));
    EXPECT_EQ(pic.Width, 8);
    EXPECT_EQ(pic.Height, 4);
    EXPECT_EQ(pic.Bytes, value);  // the bytes exactly as handed over
    EXPECT_EQ(pic.Rgb.size(), 8u * 4u * 3u);
  }
  {
    SCOPED_TRACE("40-byte block first; Length counts only the JPEG");
    Bytes value(40, 0);
    value[4] = 0x55;
    value.insert(value.end(), jpeg.begin(), jpeg.end());
    const TJpegPicture pic = ParamImage(View(value, static_cast<uint32_t>(jpeg.size())));
    EXPECT_EQ(pic.Bytes, jpeg);
    EXPECT_EQ(pic.Width, 8);
  }
  {
    SCOPED_TRACE("block first; Length counts the block too: cut at the data's end");
    Bytes value(40, 0);
    value.insert(value.end(), jpeg.begin(), jpeg.end());
    EXPECT_EQ(ParamImageBytes(View(value)), jpeg);
  }
}

TEST(Decoders, ImageThatIsNotJpegRaises) {
  for (const Bytes& value : {Bytes{1, 2, 3, 4, 5, 6, 7, 8}, Bytes{}, Bytes(44, 0)}) {
    EXPECT_THROW(ParamImage(View(value)), EJpegError);
  }
  try {
    DecodeJpeg(reinterpret_cast<const uint8_t*>("not a jpeg"), 10);
    FAIL();
  } catch (const EJpegError& e) {
    EXPECT_EQ(e.ClassName, "EJpegError");
    EXPECT_STRNE(e.what(), "");
  }
}

}  // namespace
