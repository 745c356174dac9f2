#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "UReassembly.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Feed = TFragmentAssembler::TFeed;

void PutWord(Bytes& b, size_t at, uint32_t w) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(w >> (8 * i));
}

// A datagram of size bytes whose header states the given fields; data bytes
// are numbered from first.
Bytes Datagram(uint32_t count, uint32_t index, uint32_t fragmentLength, size_t size, uint8_t first = 0) {
  Bytes d(size, 0);
  if (size >= 32) {
    PutWord(d, 0, count);
    PutWord(d, 4, index);
    PutWord(d, 8, fragmentLength);
    for (size_t i = 32; i < size; ++i) d[i] = static_cast<uint8_t>(first + i - 32);
  }
  return d;
}

struct Step {
  Bytes datagram;
  Feed expected;
  uint32_t assembledAfter;
};

// Feeds every datagram through a copy of exactly its size, so the sanitizer
// catches a read past the datagram.
void Feeds(const char* name, uint32_t capacity, const std::vector<Step>& steps) {
  SCOPED_TRACE(name);
  auto buffer = std::make_unique<uint8_t[]>(capacity);
  TFragmentAssembler a(buffer.get(), capacity);
  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    auto copy = std::make_unique<uint8_t[]>(steps[i].datagram.size() + 1);
    std::copy(steps[i].datagram.begin(), steps[i].datagram.end(), copy.get());
    EXPECT_EQ(a.Feed(copy.get(), steps[i].datagram.size()), steps[i].expected);
    EXPECT_EQ(a.Assembled(), steps[i].assembledAfter);
    if (steps[i].expected == Feed::Complete) a.Reset();
  }
}

TEST(Reassembly, Rules) {
  Feeds("single fragment", 4096, {{Datagram(1, 0, 56, 56), Feed::Complete, 24}});
  Feeds("two fragments in order", 4096,
      {{Datagram(2, 0, 1472, 1472), Feed::Partial, 1440}, {Datagram(2, 1, 52, 52), Feed::Complete, 1460}});
  Feeds("joined in arrival order, index order not checked", 4096,
      {{Datagram(2, 1, 40, 40), Feed::Complete, 8}, {Datagram(2, 0, 40, 40), Feed::Partial, 8}});
  Feeds("short datagram", 4096, {{Datagram(1, 0, 0, 31), Feed::Short, 0}, {Bytes{}, Feed::Short, 0}});
  Feeds("length 0 ignored", 4096, {{Datagram(1, 0, 0, 64), Feed::Ignored, 0}});
  Feeds("length 1..31 dropped", 4096,
      {{Datagram(1, 0, 1, 64), Feed::Dropped, 0}, {Datagram(1, 0, 31, 64), Feed::Dropped, 0}});
  Feeds("length beyond the datagram dropped", 4096,
      {{Datagram(2, 0, 64, 64), Feed::Partial, 32}, {Datagram(2, 1, 1000, 999), Feed::Dropped, 32},
       {Datagram(2, 1, 40, 40), Feed::Complete, 40}});
  Feeds("only FragmentLength bytes taken from a longer datagram", 4096, {{Datagram(1, 0, 40, 200), Feed::Complete, 8}});
  Feeds("past the buffer's end dropped, reply kept", 100,
      {{Datagram(3, 0, 32 + 60, 92), Feed::Partial, 60}, {Datagram(3, 1, 32 + 41, 73), Feed::Dropped, 60},
       {Datagram(3, 2, 32 + 40, 72), Feed::Complete, 100}});
  Feeds("huge length dropped", 100, {{Datagram(1, 0, 0xFFFFFFFF, 64), Feed::Dropped, 0}});
}

TEST(Reassembly, JoinsDataInOrder) {
  const Bytes first = Datagram(2, 0, 32 + 4, 36, 10);
  const Bytes second = Datagram(2, 1, 32 + 3, 35, 20);
  uint8_t buffer[16] = {};
  TFragmentAssembler a(buffer, sizeof buffer);
  a.Feed(first.data(), first.size());
  ASSERT_EQ(a.Feed(second.data(), second.size()), Feed::Complete);
  const Bytes joined(buffer, buffer + a.Assembled());
  EXPECT_EQ(joined, (Bytes{10, 11, 12, 13, 20, 21, 22}));
}

}  // namespace
