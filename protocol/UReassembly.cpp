// Reassembly of fragmented UDP replies.

#include "UReassembly.h"

#include <cstring>

#include "UZudirir.h"

TFragmentAssembler::TFeed TFragmentAssembler::Feed(const uint8_t* datagram, size_t size) {
  if (size < FragmentHeaderSize) return TFeed::Short;
  const TFragmentHeader h = ReadFragmentHeader(datagram);
  if (h.FragmentLength == 0) return TFeed::Ignored;
  // A length that does not even cover the header, that claims more than came,
  // or whose data would not fit is dropped whole: nothing is copied, and the
  // reply being joined stays as it was.
  if (h.FragmentLength < FragmentHeaderSize || h.FragmentLength > size) return TFeed::Dropped;
  const uint32_t data = h.FragmentLength - FragmentHeaderSize;
  if (data > Capacity_ - Assembled_) return TFeed::Dropped;
  std::memcpy(Buffer_ + Assembled_, datagram + FragmentHeaderSize, data);
  Assembled_ += data;
  // Fragments are joined in arrival order; only the last index ends a reply.
  if (h.FragmentIndex + 1 == h.FragmentCount) return TFeed::Complete;
  return TFeed::Partial;
}
