#pragma once
// Joins the fragments of UDP replies in a caller's buffer. It does no I/O: the
// socket feeds it one datagram at a time and it answers what became of it, so
// the rules are tested without a network.

#include <cstddef>
#include <cstdint>

class TFragmentAssembler {
public:
  enum class TFeed {
    Short,     // fewer than 32 bytes: counts as a poll without a datagram
    Ignored,   // FragmentLength 0
    Dropped,   // FragmentLength 1..31, beyond the datagram, or past the buffer's end
    Partial,   // appended; the reply is not complete yet
    Complete,  // appended; Assembled() bytes hold a whole reply
  };

  TFragmentAssembler(uint8_t* buffer, uint32_t capacity) : Buffer_(buffer), Capacity_(capacity) {}

  TFeed Feed(const uint8_t* datagram, size_t size);
  // Bytes of the reply being joined (of the complete one right after Complete).
  uint32_t Assembled() const { return Assembled_; }
  // Starts the next reply at the buffer's start.
  void Reset() { Assembled_ = 0; }

private:
  uint8_t* Buffer_;
  uint32_t Capacity_;
  uint32_t Assembled_ = 0;
};
