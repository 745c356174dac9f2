#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "UServerCollector.h"
#include "UZudirir.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Wire bytes of a message with the given header words and a patterned payload.
Bytes Wire(uint32_t payloadSize, uint32_t msgNumber = 40000, uint32_t status = 0, uint32_t headerSize = 24) {
  Bytes b(24 + static_cast<size_t>(payloadSize));
  WriteWordLE(&b[0], headerSize);
  WriteWordLE(&b[4], msgNumber);
  WriteWordLE(&b[8], 0);
  WriteWordLE(&b[12], 0xFFFFFFFF);
  WriteWordLE(&b[16], status);
  WriteWordLE(&b[20], payloadSize);
  for (size_t i = 24; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 7 + msgNumber);
  return b;
}

// A real transit message built the way cameras build it.
Bytes Transit(const std::string& plate) {
  TZudirirMsg msg;
  TFormZudirir::InitMsg(msg, 40000, 0);
  const uint32_t sn = 1234;
  TFormZudirir::AddParam(msg, 10001, 1, &sn);
  TFormZudirir::AddString(msg, plate);
  return SerializeMsg(msg);
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// The dispatcher's own completeness test (unsigned 32-bit header arithmetic).
bool DispatcherSaysComplete(const Bytes& b) {
  return b.size() >= 24 && ReadWordLE(&b[0]) + ReadWordLE(&b[20]) <= b.size();
}

struct ServerCollector : ::testing::Test {
  TServerCollector c;
  std::vector<TServerEvent> events;

  void Feed(const Bytes& b, int64_t now = 0, TConnectionId conn = 1, const std::string& peer = "10.0.0.1") {
    Feed(b.data(), b.size(), now, conn, peer);
  }
  void Feed(const uint8_t* p, size_t n, int64_t now = 0, TConnectionId conn = 1,
            const std::string& peer = "10.0.0.1") {
    for (TServerEvent& e : c.Feed(conn, peer, p, n, now)) {
      if (e.Kind == TServerEventKind::Message) {
        EXPECT_TRUE(DispatcherSaysComplete(e.Bytes));
      }
      EXPECT_LE(c.HeldBytes(), TServerCollector::BufferCapacity);
      events.push_back(std::move(e));
    }
  }
};

TEST_F(ServerCollector, MessageSplitAtEveryOffsetIsHandedOverOnceWhole) {
  const Bytes m = Transit("AB123CD");
  for (size_t cut = 1; cut < m.size(); ++cut) {
    SCOPED_TRACE(cut);
    c.Reset();
    events.clear();
    Feed(m.data(), cut, 0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(c.HeldBytes(1), cut);
    Feed(m.data() + cut, m.size() - cut, 100);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Kind, TServerEventKind::Message);
    EXPECT_EQ(events[0].Bytes, m);
    EXPECT_EQ(c.HeldBytes(), 0u);
    EXPECT_FALSE(c.NextDeadline());
  }
}

TEST_F(ServerCollector, MessageFedByteByByteAndTwoCutsAtEveryPair) {
  const Bytes m = Wire(40);
  for (size_t i = 0; i < m.size(); ++i) Feed(&m[i], 1, static_cast<int64_t>(i));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Bytes, m);

  for (size_t a = 1; a < m.size(); ++a) {
    for (size_t b = a; b < m.size(); ++b) {
      events.clear();
      Feed(m.data(), a);
      Feed(m.data() + a, b - a);
      Feed(m.data() + b, m.size() - b);
      ASSERT_EQ(events.size(), 1u) << a << "," << b;
      ASSERT_EQ(events[0].Bytes, m) << a << "," << b;
    }
  }
}

TEST_F(ServerCollector, ChunksWithPausesUnderTwoSecondsMakeOneMessage) {
  const Bytes m = Transit("XY");
  const size_t third = m.size() / 3;
  Feed(m.data(), third, 0);
  c.OnTimer(1999);
  Feed(m.data() + third, third, 1999);
  EXPECT_EQ(c.NextDeadline(), 3999);
  c.OnTimer(3998);
  EXPECT_TRUE(events.empty());
  Feed(m.data() + 2 * third, m.size() - 2 * third, 3998);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Bytes, m);
}

TEST_F(ServerCollector, HalfMessageDroppedAfterTwoSecondsOfSilence) {
  const Bytes m = Transit("AB123CD");
  Feed(m.data(), m.size() / 2, 1000);
  c.OnTimer(2999);
  EXPECT_EQ(c.HeldBytes(1), m.size() / 2);
  c.OnTimer(3000);
  EXPECT_EQ(c.HeldBytes(1), 0u);
  EXPECT_FALSE(c.NextDeadline());
  EXPECT_EQ(c.DroppedBytes(), m.size() / 2);
  // The next message is read from its own first byte.
  Feed(m, 5000);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Bytes, m);
}

TEST_F(ServerCollector, EverythingInOneChunkIsConsumedInOrder) {
  const Bytes a = Transit("AAA"), b = Transit("BBBB"), tail = Wire(100);
  struct Case {
    const char* name;
    Bytes chunk;
    std::vector<Bytes> messages;
    Bytes text;  // a final text line, if any
    size_t held;
  } cases[] = {
      {"two messages back to back", Join({a, b}), {a, b}, {}, 0},
      {"message then half of the next", Join({a, Bytes(tail.begin(), tail.begin() + 50)}), {a}, {}, 50},
      {"message then text", Join({a, Text("hello\r\n")}), {a}, Text("hello\r\n"), 0},
      {"text then message is one text line", Join({Text("hi"), a}), {}, Join({Text("hi"), a}), 0},
      {"header start shorter than a header waits", Bytes{24, 0, 0}, {}, {}, 3},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    c.Reset();
    events.clear();
    Feed(k.chunk);
    const size_t texts = k.text.empty() ? 0 : 1;
    ASSERT_EQ(events.size(), k.messages.size() + texts);
    for (size_t i = 0; i < k.messages.size(); ++i) {
      EXPECT_EQ(events[i].Kind, TServerEventKind::Message);
      EXPECT_EQ(events[i].Bytes, k.messages[i]);
    }
    if (texts) {
      EXPECT_EQ(events.back().Kind, TServerEventKind::Text);
      EXPECT_EQ(events.back().Bytes, k.text);
    }
    EXPECT_EQ(c.HeldBytes(1), k.held);
  }
}

TEST_F(ServerCollector, ConnectionsDoNotInterleaveAndKeepTheirAddress) {
  const Bytes a = Transit("FROM-A"), b = Transit("FROM-B-LONGER");
  c.Connect(1, "10.0.0.1");
  c.Connect(2, "10.0.0.2");
  Feed(a.data(), 10, 0, 1, "10.0.0.1");
  Feed(b.data(), 30, 10, 2, "10.0.0.2");
  Feed(Text("ping\n"), 20, 3, "10.0.0.3");  // a third camera talks in between
  c.Connect(4, "10.0.0.4");                 // and a fourth connects
  Feed(a.data() + 10, a.size() - 10, 30, 1, "10.0.0.1");
  Feed(b.data() + 30, b.size() - 30, 40, 2, "10.0.0.2");
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].Kind, TServerEventKind::Text);
  EXPECT_EQ(events[0].Peer, "10.0.0.3");
  EXPECT_EQ(events[1].Bytes, a);
  EXPECT_EQ(events[1].Peer, "10.0.0.1");
  EXPECT_EQ(events[1].Connection, 1u);
  EXPECT_EQ(events[2].Bytes, b);
  EXPECT_EQ(events[2].Peer, "10.0.0.2");

  // Each connection times out on its own clock.
  Feed(a.data(), 5, 1000, 1);
  Feed(b.data(), 5, 2500, 2);
  EXPECT_EQ(c.NextDeadline(), 3000);
  c.OnTimer(3000);
  EXPECT_EQ(c.HeldBytes(1), 0u);
  EXPECT_EQ(c.HeldBytes(2), 5u);
  // A closed connection's remains go at once; the others stay.
  c.Disconnect(2);
  EXPECT_EQ(c.HeldBytes(), 0u);
  EXPECT_FALSE(c.NextDeadline());
}

TEST_F(ServerCollector, NewConnectionOnAUsedIdStartsEmpty) {
  const Bytes m = Wire(8);
  Feed(m.data(), 10);
  c.Connect(1, "10.0.0.9");
  EXPECT_EQ(c.HeldBytes(1), 0u);
  Feed(m, 0, 1, "10.0.0.9");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Bytes, m);
}

TEST_F(ServerCollector, RejectedHeadersAreHandedOverOnceAsLongAsAnnounced) {
  // The dispatcher drops these without a line; the collector's part is to
  // wait for the announced bytes and then start afresh.
  const Bytes next = Transit("NEXT");
  struct Case {
    const char* name;
    Bytes msg;
    size_t length;
  } cases[] = {
      {"error status", Wire(16, 40000, 5), 40},
      {"other header size", Wire(16, 40000, 0, 24 + 256), 24 + 256 + 16},
      {"payload too large but fits", Wire(0xFFF00, 40000), 24 + 0xFFF00},
      {"sum wraps below the header", Wire(0, 40000, 0, 24), 24},
  };
  // The last case announces a payload whose sum with the header wraps.
  WriteWordLE(&cases[3].msg[20], 0xFFFFFFF0);
  for (Case& k : cases) {
    SCOPED_TRACE(k.name);
    c.Reset();
    events.clear();
    k.msg.resize(k.length, 0x55);
    Feed(k.msg.data(), k.length - 1);
    EXPECT_TRUE(events.empty());
    Feed(Join({Bytes(k.msg.end() - 1, k.msg.end()), next}));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].Bytes, k.msg);
    EXPECT_EQ(events[1].Bytes, next);
    EXPECT_EQ(c.HeldBytes(), 0u);
  }
}

TEST_F(ServerCollector, FailedHandlingLosesOnlyThatMessage) {
  // The window hands each message to the dispatcher; a picture that does not
  // decode throws there. The message is already out of the buffer.
  const Bytes bad = Transit("BAD"), good = Transit("GOOD"), part = Transit("PART");
  std::vector<Bytes> handled;
  auto run = [&](const Bytes& chunk, int64_t now) {
    for (TServerEvent& e : c.Feed(1, "10.0.0.1", chunk.data(), chunk.size(), now)) {
      try {
        if (e.Bytes == bad) throw std::runtime_error("JPEG error");
        handled.push_back(e.Bytes);
      } catch (const std::exception&) {
      }
    }
  };
  run(Join({bad, good, Bytes(part.begin(), part.begin() + 20)}), 0);
  EXPECT_EQ(handled, std::vector<Bytes>{good});
  EXPECT_EQ(c.NextDeadline(), 2000);  // the tail still times out
  c.OnTimer(2000);
  run(bad, 2100);
  run(part, 2200);
  EXPECT_EQ(handled, (std::vector<Bytes>{good, part}));
  EXPECT_EQ(c.HeldBytes(), 0u);
}

TEST_F(ServerCollector, BufferIsNeverOverrun) {
  constexpr size_t Cap = TServerCollector::BufferCapacity;
  const Bytes small = Transit("AFTER");

  // Three large messages in one chunk larger than the buffer: all listed.
  const Bytes m1 = Wire(1000000, 40000), m2 = Wire(1048319, 40001), m3 = Wire(999, 40002);
  Feed(Join({m1, m2, m3}));
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].Bytes, m1);
  EXPECT_EQ(events[1].Bytes, m2);
  EXPECT_EQ(events[2].Bytes, m3);

  // A held near-full message completed by a chunk carrying another message.
  events.clear();
  Feed(m2.data(), Cap - 1000);
  Feed(Join({Bytes(m2.begin() + (Cap - 1000), m2.end()), m1}));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].Bytes, m2);
  EXPECT_EQ(events[1].Bytes, m1);

  // A header announcing more than the buffer holds is skipped as it streams
  // past; what follows it is read from its own first byte.
  events.clear();
  const uint64_t dropped = c.DroppedBytes();
  Bytes huge = Wire(0, 40000);
  WriteWordLE(&huge[20], 2 * Cap);
  Feed(huge);
  EXPECT_EQ(c.HeldBytes(), 0u);
  EXPECT_EQ(c.NextDeadline(), 2000);  // still waiting for the announced bytes
  const Bytes filler(64 * 1024, 0x18);
  for (size_t sent = 0; sent + filler.size() <= 2 * Cap; sent += filler.size()) Feed(filler);
  EXPECT_TRUE(events.empty());
  Feed(small);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Bytes, small);
  EXPECT_EQ(c.DroppedBytes() - dropped, 24 + 2 * Cap);

  // The same skip ends after two seconds of silence.
  events.clear();
  Feed(huge, 0);
  Feed(filler, 10);
  c.OnTimer(2010);
  Feed(small, 3000);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Bytes, small);

  // Text longer than the buffer: every byte listed, one buffer per line.
  events.clear();
  Bytes text(Cap + Cap / 2);
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<uint8_t>('a' + i % 26);
  Feed(text);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].Bytes.size(), Cap);
  EXPECT_EQ(events[1].Bytes.size(), Cap / 2);
  EXPECT_EQ(Join({events[0].Bytes, events[1].Bytes}), text);
}

TEST_F(ServerCollector, RandomCutsOfThreeInterleavedStreams) {
  // Three cameras, each a stream of messages of random sizes, cut at random
  // places and fed in a random interleaving: each stream comes out whole.
  std::mt19937 rng(4711);
  constexpr int Streams = 3;
  std::vector<Bytes> sent[Streams];
  Bytes wire[Streams];
  for (int s = 0; s < Streams; ++s) {
    for (int i = 0; i < 60; ++i) {
      sent[s].push_back(Wire(4 * (rng() % 2000), 40000 + s * 100 + i));
      wire[s].insert(wire[s].end(), sent[s].back().begin(), sent[s].back().end());
    }
  }
  size_t pos[Streams] = {};
  int64_t now = 0;
  while (pos[0] < wire[0].size() || pos[1] < wire[1].size() || pos[2] < wire[2].size()) {
    const int s = static_cast<int>(rng() % Streams);
    const size_t n = std::min<size_t>(1 + rng() % 9000, wire[s].size() - pos[s]);
    Feed(wire[s].data() + pos[s], n, now += 10, static_cast<TConnectionId>(s), "10.0.0." + std::to_string(s));
    pos[s] += n;
  }
  std::vector<Bytes> received[Streams];
  for (const TServerEvent& e : events) {
    ASSERT_EQ(e.Kind, TServerEventKind::Message);
    ASSERT_EQ(e.Peer, "10.0.0." + std::to_string(e.Connection));
    received[e.Connection].push_back(e.Bytes);
  }
  for (int s = 0; s < Streams; ++s) EXPECT_EQ(received[s], sent[s]) << s;
  EXPECT_EQ(c.HeldBytes(), 0u);
}

TEST_F(ServerCollector, ResetDropsEverything) {
  Feed(Wire(100).data(), 50, 0, 1);
  Feed(Wire(100).data(), 60, 0, 2);
  EXPECT_EQ(c.HeldBytes(), 110u);
  c.Reset();
  EXPECT_EQ(c.HeldBytes(), 0u);
  EXPECT_FALSE(c.NextDeadline());
  EXPECT_EQ(c.DroppedBytes(), 110u);
}

}  // namespace
