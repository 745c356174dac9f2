#include "USimReassembly.h"

#include <algorithm>
#include <cstring>

#include "UZudirir.h"

void TSimReassembler::DropStale(int64_t nowMs) {
  for (auto it = Pending_.begin(); it != Pending_.end();) {
    if (nowMs - it->second.LastMs > StaleMs)
      it = Pending_.erase(it);
    else
      ++it;
  }
}

TSimReassembler::TResult TSimReassembler::Feed(uint64_t sender, const uint8_t* datagram, size_t size,
                                               int64_t nowMs) {
  TResult r;
  if (size < FragmentHeaderSize) {
    r.Reason = "datagram shorter than a fragment header";
    return r;
  }
  const TFragmentHeader h = ReadFragmentHeader(datagram);
  std::memcpy(r.TargetMac.data(), h.TargetMAC, 8);
  if (h.FragmentLength < FragmentHeaderSize || h.FragmentLength > size) {
    r.Reason = "fragment length " + std::to_string(h.FragmentLength) + " does not fit the datagram of " +
               std::to_string(size) + " bytes";
    return r;
  }
  if (h.MessageLength < MsgHeaderSize || h.MessageLength > MaxRequestSize) {
    r.Reason = "message length " + std::to_string(h.MessageLength) + " out of range";
    return r;
  }
  const uint32_t count = (h.MessageLength + MaxFragmentData - 1) / MaxFragmentData;
  if (h.FragmentCount != count || h.FragmentIndex >= count) {
    r.Reason = "fragment " + std::to_string(h.FragmentIndex) + " of " + std::to_string(h.FragmentCount) +
               " does not match a message of " + std::to_string(h.MessageLength) + " bytes";
    return r;
  }
  const uint32_t offset = h.FragmentIndex * MaxFragmentData;
  const uint32_t slice = std::min(MaxFragmentData, h.MessageLength - offset);
  if (h.FragmentLength - FragmentHeaderSize != slice) {
    r.Reason = "fragment " + std::to_string(h.FragmentIndex) + " carries " +
               std::to_string(h.FragmentLength - FragmentHeaderSize) + " bytes, expected " +
               std::to_string(slice);
    return r;
  }
  const uint8_t* data = datagram + FragmentHeaderSize;

  if (count == 1) {
    Pending_.erase(sender);
    r.Status = TStatus::Complete;
    r.Message.assign(data, data + slice);
    return r;
  }

  DropStale(nowMs);
  auto it = Pending_.find(sender);
  if (it != Pending_.end() &&
      (it->second.Count != count || it->second.MessageLength != h.MessageLength)) {
    Pending_.erase(it);  // the sender started another message
    it = Pending_.end();
  }
  if (it == Pending_.end()) {
    if (Pending_.size() >= MaxPending) {
      r.Reason = "too many unfinished requests";
      return r;
    }
    TPending p;
    p.Count = count;
    p.MessageLength = h.MessageLength;
    p.TargetMac = r.TargetMac;
    p.Bytes.assign(h.MessageLength, 0);
    p.Have.assign(count, false);
    it = Pending_.emplace(sender, std::move(p)).first;
  }
  TPending& p = it->second;
  p.LastMs = nowMs;
  if (!p.Have[h.FragmentIndex]) {
    std::memcpy(p.Bytes.data() + offset, data, slice);
    p.Have[h.FragmentIndex] = true;
    ++p.Received;
    if (h.FragmentIndex == 0) p.TargetMac = r.TargetMac;
  }
  if (p.Received < p.Count) {
    r.Status = TStatus::Partial;
    return r;
  }
  r.Status = TStatus::Complete;
  r.Message = std::move(p.Bytes);
  r.TargetMac = p.TargetMac;
  Pending_.erase(it);
  return r;
}
