// Message record, builder and wire layout.

#include "UZudirir.h"

#include <algorithm>
#include <cstring>

void TFormZudirir::InitMsg(TZudirirMsg& msg, uint32_t msgNumber, uint32_t targetChannel) {
  msg.HeaderSize = MsgHeaderSize;
  msg.MsgNumber = msgNumber;
  msg.SourceChannel = 0xFFFFFFFF;
  msg.TargetChannel = targetChannel;
  msg.Status = 0;
  msg.PayloadSize = 0;
  msg.Payload.clear();
}

void TFormZudirir::AddParam(TZudirirMsg& msg, uint32_t id, uint32_t count, const uint32_t* values) {
  const size_t w = msg.PayloadSize / 4;
  msg.Payload.resize(w + count + 2, 0);
  msg.Payload[w] = id;
  msg.Payload[w + 1] = count * 4;
  for (uint32_t i = 0; i < count; ++i) msg.Payload[w + 2 + i] = values[i];
  msg.PayloadSize += (count + 2) * 4;
}

void TFormZudirir::AddWord(TZudirirMsg& msg, uint32_t value) {
  const size_t w = msg.PayloadSize / 4;
  msg.Payload.resize(w + 1, 0);
  msg.Payload[w] = value;
  msg.PayloadSize += 4;
}

void TFormZudirir::AddString(TZudirirMsg& msg, std::string_view text) {
  const size_t w = msg.PayloadSize / 4;
  const size_t n = text.size();
  const size_t k = (n + 4) / 4;  // text plus at least one zero byte, word aligned
  msg.Payload.resize(w + k, 0);
  // Bytes go into the words in wire order (little-endian), whatever the host.
  for (size_t i = 0; i < n; ++i) {
    uint32_t& word = msg.Payload[w + i / 4];
    word |= static_cast<uint32_t>(static_cast<uint8_t>(text[i])) << (8 * (i % 4));
  }
  msg.PayloadSize += static_cast<uint32_t>(k * 4);
}

uint32_t ReadWordLE(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void WriteWordLE(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

std::vector<uint8_t> SerializeMsg(const TZudirirMsg& msg) {
  std::vector<uint8_t> out(MsgHeaderSize + msg.PayloadSize, 0);
  const uint32_t header[6] = {msg.HeaderSize, msg.MsgNumber, msg.SourceChannel,
                              msg.TargetChannel, msg.Status, msg.PayloadSize};
  for (int i = 0; i < 6; ++i) WriteWordLE(out.data() + 4 * i, header[i]);
  const size_t words = std::min<size_t>(msg.Payload.size(), msg.PayloadSize / 4);
  for (size_t i = 0; i < words; ++i) WriteWordLE(out.data() + MsgHeaderSize + 4 * i, msg.Payload[i]);
  return out;
}

void WriteFragmentHeader(uint8_t* out, const TFragmentHeader& header) {
  WriteWordLE(out + 0, header.FragmentCount);
  WriteWordLE(out + 4, header.FragmentIndex);
  WriteWordLE(out + 8, header.FragmentLength);
  WriteWordLE(out + 12, header.MessageLength);
  std::memcpy(out + 16, header.Reserved, 8);
  std::memcpy(out + 24, header.TargetMAC, 8);
}

TFragmentHeader ReadFragmentHeader(const uint8_t* in) {
  TFragmentHeader h;
  h.FragmentCount = ReadWordLE(in + 0);
  h.FragmentIndex = ReadWordLE(in + 4);
  h.FragmentLength = ReadWordLE(in + 8);
  h.MessageLength = ReadWordLE(in + 12);
  std::memcpy(h.Reserved, in + 16, 8);
  std::memcpy(h.TargetMAC, in + 24, 8);
  return h;
}

std::vector<std::vector<uint8_t>> FragmentMessage(const std::vector<uint8_t>& wire,
                                                  const uint8_t targetMac[8]) {
  const uint32_t total = static_cast<uint32_t>(wire.size());
  const uint32_t count = std::max<uint32_t>(1, (total + MaxFragmentData - 1) / MaxFragmentData);
  std::vector<std::vector<uint8_t>> datagrams;
  datagrams.reserve(count);
  uint32_t sent = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t remaining = total - sent;
    TFragmentHeader h;
    h.FragmentCount = count;
    h.FragmentIndex = i;
    h.FragmentLength = std::min(remaining + FragmentHeaderSize, MaxDatagramSize);
    h.MessageLength = total;
    std::memcpy(h.TargetMAC, targetMac, 8);
    std::vector<uint8_t> dgram(h.FragmentLength, 0);
    WriteFragmentHeader(dgram.data(), h);
    const uint32_t slice = h.FragmentLength - FragmentHeaderSize;
    std::memcpy(dgram.data() + FragmentHeaderSize, wire.data() + sent, slice);
    sent += slice;
    datagrams.push_back(std::move(dgram));
  }
  return datagrams;
}
