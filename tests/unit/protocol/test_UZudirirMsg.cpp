#include <gtest/gtest.h>

#include "UZudirir.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(MessageBuilder, SearchRequestWireBytes) {
  TZudirirMsg msg;
  TFormZudirir::InitMsg(msg, 4096, 0);
  const Bytes expected = {0x18, 0, 0, 0, 0x00, 0x10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(SerializeMsg(msg), expected);
}

TEST(MessageBuilder, InitClearsAnEarlierPayload) {
  TZudirirMsg msg;
  TFormZudirir::InitMsg(msg, 1, 2);
  TFormZudirir::AddWord(msg, 7);
  TFormZudirir::InitMsg(msg, 4118, 0xFFFFFFFF);
  EXPECT_EQ(msg.PayloadSize, 0u);
  EXPECT_TRUE(msg.Payload.empty());
  EXPECT_EQ(msg.TargetChannel, 0xFFFFFFFFu);
}

TEST(MessageBuilder, AppendSizes) {
  struct Case {
    const char* name;
    void (*append)(TZudirirMsg&);
    uint32_t bytes;
  } cases[] = {
      {"empty text", [](TZudirirMsg& m) { TFormZudirir::AddString(m, ""); }, 4},
      {"3 chars", [](TZudirirMsg& m) { TFormZudirir::AddString(m, "abc"); }, 4},
      {"4 chars", [](TZudirirMsg& m) { TFormZudirir::AddString(m, "abcd"); }, 8},
      {"5 chars", [](TZudirirMsg& m) { TFormZudirir::AddString(m, "abcde"); }, 8},
      {"param of 0 words", [](TZudirirMsg& m) { TFormZudirir::AddParam(m, 5, 0, nullptr); }, 8},
      {"word", [](TZudirirMsg& m) { TFormZudirir::AddWord(m, 100); }, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TZudirirMsg msg;
    TFormZudirir::InitMsg(msg, 1, 0);
    c.append(msg);
    EXPECT_EQ(msg.PayloadSize, c.bytes);
    EXPECT_EQ(msg.Payload.size() * 4, msg.PayloadSize);
    EXPECT_EQ(SerializeMsg(msg).size(), 24 + c.bytes);
  }
}

TEST(MessageBuilder, TimeRecordAndTextBytes) {
  TZudirirMsg msg;
  TFormZudirir::InitMsg(msg, 26010, 0xFFFFFFFF);
  const uint32_t words[3] = {0x07DF0307, 0x00050009, 0x00FA0003};
  TFormZudirir::AddParam(msg, 12026, 3, words);
  TFormZudirir::AddString(msg, "ab\xE9");
  const Bytes wire = SerializeMsg(msg);
  const Bytes payload(wire.begin() + 24, wire.end());
  const Bytes expected = {0xFA, 0x2E, 0, 0, 12, 0, 0, 0,          // id 12026, length 12
                          0x07, 0x03, 0xDF, 0x07, 0x09, 0, 0x05, 0,  // day, month, year, hour, minute
                          0x03, 0, 0xFA, 0,                        // second, millisecond
                          'a', 'b', 0xE9, 0};
  EXPECT_EQ(payload, expected);
}

TEST(Fragmenting, DatagramSizes) {
  struct Case {
    uint32_t messageBytes;
    std::vector<size_t> datagrams;
  } cases[] = {
      {24, {56}}, {1440, {1472}}, {1441, {1472, 33}}, {1460, {1472, 52}}, {3000, {1472, 1472, 152}},
  };
  const uint8_t all[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.messageBytes);
    Bytes wire(c.messageBytes);
    for (size_t i = 0; i < wire.size(); ++i) wire[i] = static_cast<uint8_t>(i * 7);
    const auto dgrams = FragmentMessage(wire, all);
    ASSERT_EQ(dgrams.size(), c.datagrams.size());
    Bytes joined;
    for (size_t i = 0; i < dgrams.size(); ++i) {
      EXPECT_EQ(dgrams[i].size(), c.datagrams[i]);
      const TFragmentHeader h = ReadFragmentHeader(dgrams[i].data());
      EXPECT_EQ(h.FragmentCount, dgrams.size());
      EXPECT_EQ(h.FragmentIndex, i);
      EXPECT_EQ(h.FragmentLength, dgrams[i].size());
      EXPECT_EQ(h.MessageLength, c.messageBytes);
      joined.insert(joined.end(), dgrams[i].begin() + 32, dgrams[i].end());
    }
    EXPECT_EQ(joined, wire);
  }
}

TEST(Fragmenting, SearchDatagramBytes) {
  TZudirirMsg msg;
  TFormZudirir::InitMsg(msg, 4096, 0);
  const uint8_t mac[8] = {0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0, 0};
  const auto dgrams = FragmentMessage(SerializeMsg(msg), mac);
  ASSERT_EQ(dgrams.size(), 1u);
  const Bytes header(dgrams[0].begin(), dgrams[0].begin() + 32);
  const Bytes expected = {1, 0, 0, 0, 0, 0, 0, 0, 56, 0, 0, 0, 24, 0, 0, 0,
                          0, 0, 0, 0, 0, 0, 0, 0, 0x4E, 0x3D, 0x2C, 0x1B, 0x0A, 0x00, 0, 0};
  EXPECT_EQ(header, expected);
}

}  // namespace
