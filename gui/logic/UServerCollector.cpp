// Byte collection of the event server.

#include "UServerCollector.h"

#include <algorithm>

#include "UZudirir.h"

namespace {

constexpr uint8_t MessageMark = 24;  // low byte of HeaderSize

}  // namespace

uint64_t TServerCollector::MessageLength(const uint8_t* bytes, size_t count) {
  if (count < MsgHeaderSize) return 0;
  // The dispatcher adds the two words in unsigned 32-bit arithmetic; a sum
  // that wraps below the header still means the header alone.
  const uint32_t sum = ReadWordLE(bytes) + ReadWordLE(bytes + 20);
  return std::max<uint64_t>(sum, MsgHeaderSize);
}

void TServerCollector::Connect(TConnectionId conn, const std::string& peer) {
  Disconnect(conn);
  Connections_[conn].Peer = peer;
}

void TServerCollector::Disconnect(TConnectionId conn) {
  const auto it = Connections_.find(conn);
  if (it == Connections_.end()) return;
  DroppedBytes_ += it->second.Buffer.size();
  Connections_.erase(it);
}

void TServerCollector::Reset() {
  for (const auto& [id, c] : Connections_) DroppedBytes_ += c.Buffer.size();
  Connections_.clear();
}

std::vector<TServerEvent> TServerCollector::Feed(TConnectionId conn, const std::string& peer,
                                                 const uint8_t* data, size_t count, int64_t nowMs) {
  std::vector<TServerEvent> out;
  TConnection& c = Connections_[conn];
  c.Peer = peer;
  c.LastChunkMs = nowMs;
  size_t pos = 0;
  while (pos < count) {
    if (c.Skip > 0) {
      const size_t k = static_cast<size_t>(std::min<uint64_t>(c.Skip, count - pos));
      c.Skip -= k;
      DroppedBytes_ += k;
      pos += k;
      continue;
    }
    // Never more than the buffer's free space; Drain always frees some, since
    // a message that fits completes before the buffer is full.
    const size_t k = std::min(BufferCapacity - c.Buffer.size(), count - pos);
    c.Buffer.insert(c.Buffer.end(), data + pos, data + pos + k);
    pos += k;
    Drain(conn, c, out);
  }
  return out;
}

void TServerCollector::Drain(TConnectionId conn, TConnection& c, std::vector<TServerEvent>& out) {
  std::vector<uint8_t>& buf = c.Buffer;
  size_t off = 0;
  while (off < buf.size()) {
    const size_t held = buf.size() - off;
    if (buf[off] != MessageMark) {
      // Text: everything held goes into one line.
      TServerEvent ev{TServerEventKind::Text, conn, c.Peer, {}};
      if (off == 0) {
        ev.Bytes.swap(buf);
      } else {
        ev.Bytes.assign(buf.begin() + static_cast<std::ptrdiff_t>(off), buf.end());
      }
      out.push_back(std::move(ev));
      buf.clear();
      return;
    }
    const uint64_t length = MessageLength(buf.data() + off, held);
    if (length == 0) break;  // header not yet complete
    if (length > BufferCapacity) {
      // Can never be held: discard it as it streams past.
      DroppedBytes_ += held;
      c.Skip = length - held;
      off = buf.size();
      break;
    }
    if (held < length) {
      // Wait for the rest, with room reserved so that it arrives in one copy.
      if (off == 0) buf.reserve(static_cast<size_t>(length));
      break;
    }
    TServerEvent ev{TServerEventKind::Message, conn, c.Peer, {}};
    if (off == 0 && held == length) {
      ev.Bytes.swap(buf);  // the whole buffer is the message: hand it over as it is
    } else {
      const auto first = buf.begin() + static_cast<std::ptrdiff_t>(off);
      ev.Bytes.assign(first, first + static_cast<std::ptrdiff_t>(length));
    }
    out.push_back(std::move(ev));
    off += static_cast<size_t>(length);
  }
  if (off >= buf.size()) {
    buf.clear();
  } else if (off > 0) {
    buf.erase(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(off));
    if (const uint64_t length = MessageLength(buf.data(), buf.size()); length > buf.size() && length <= BufferCapacity)
      buf.reserve(static_cast<size_t>(length));
  }
}

void TServerCollector::OnTimer(int64_t nowMs) {
  for (auto& [id, c] : Connections_) {
    if (c.Pending() && nowMs - c.LastChunkMs >= DropAfterMs) {
      DroppedBytes_ += c.Buffer.size();
      c.Buffer.clear();
      c.Buffer.shrink_to_fit();
      c.Skip = 0;
    }
  }
}

std::optional<int64_t> TServerCollector::NextDeadline() const {
  std::optional<int64_t> next;
  for (const auto& [id, c] : Connections_) {
    if (!c.Pending()) continue;
    const int64_t due = c.LastChunkMs + DropAfterMs;
    if (!next || due < *next) next = due;
  }
  return next;
}

size_t TServerCollector::HeldBytes(TConnectionId conn) const {
  const auto it = Connections_.find(conn);
  return it == Connections_.end() ? 0 : it->second.Buffer.size();
}

size_t TServerCollector::HeldBytes() const {
  size_t total = 0;
  for (const auto& [id, c] : Connections_) total += c.Buffer.size();
  return total;
}
