#pragma once
// Byte collection of the event server, without sockets or widgets.
//
// Cameras push protocol messages (and sometimes plain text) over TCP with no
// framing of their own. The window feeds every chunk it reads, with the
// connection it came from and a millisecond clock, and gets back what to list:
// a complete protocol message for the reply dispatcher, or one text line.
//
// Rules:
// - Each connection has its own buffer, so cameras sending at the same time
//   never mix their bytes; every output carries the address of its sender.
// - Held bytes that start with 24 (the low byte of HeaderSize) are a message.
//   It is complete once HeaderSize + PayloadSize bytes (unsigned 32-bit, at
//   least the 24 header bytes) are held: the dispatcher's own completeness
//   test, so the dispatcher always answers "complete" for what it is given.
//   Exactly those bytes are handed over; what follows stays for the next
//   message, so back-to-back messages are all listed.
// - Held bytes that start with anything else become one text line, all of
//   them (at most one buffer's worth per line).
// - A message is taken out of the buffer before it is handed over: if the
//   dispatcher fails on it, the message is simply gone and the next one is
//   read from its own first byte.
// - An incomplete message is dropped, silently, once OnTimer sees that its
//   connection has sent nothing for 2000 ms.
// - The buffer of a connection holds at most 1 MiB. A message that fits
//   completes before the buffer fills, and a chunk larger than the free space
//   is taken in pieces, so nothing is lost to the limit. A header announcing
//   more than 1 MiB (which the dispatcher rejects anyway: accepted payloads
//   are below 1,048,320 bytes) is not held: its bytes are discarded as they
//   arrive until as many as it announces have come, which keeps the stream in
//   step; 2000 ms of silence ends that too.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

using TConnectionId = uint64_t;

enum class TServerEventKind {
  Message,  // hand Bytes to the reply dispatcher
  Text,     // list Bytes as one "STRING" line
};

struct TServerEvent {
  TServerEventKind Kind = TServerEventKind::Text;
  TConnectionId Connection = 0;
  std::string Peer;  // address of the camera that sent these bytes
  std::vector<uint8_t> Bytes;
};

class TServerCollector {
public:
  static constexpr size_t BufferCapacity = 1048576;
  static constexpr int64_t DropAfterMs = 2000;

  // Number of bytes the message starting at bytes[0] takes, as the reply
  // dispatcher computes it (HeaderSize + PayloadSize in unsigned 32-bit, but
  // never less than the header), or 0 when fewer than 24 bytes are given.
  static uint64_t MessageLength(const uint8_t* bytes, size_t count);

  // A new connection starts with an empty buffer (an id used before is
  // forgotten first). Feeding an unknown id does the same implicitly.
  void Connect(TConnectionId conn, const std::string& peer);
  // The peer closed or the connection failed: what it left incomplete can
  // never be completed, so it is dropped now.
  void Disconnect(TConnectionId conn);
  // Drops everything (server started or stopped).
  void Reset();

  // Takes one chunk received on conn from peer at nowMs (a steady clock) and
  // returns, in order, every complete message and text line it finishes.
  std::vector<TServerEvent> Feed(TConnectionId conn, const std::string& peer, const uint8_t* data,
                                 size_t count, int64_t nowMs);
  // Drops the incomplete message of every connection that has sent nothing
  // for DropAfterMs. Call it when NextDeadline() has passed. A window whose
  // thread was busy should first feed any bytes already waiting on its
  // sockets, so that its own pause is not taken for the camera's silence.
  void OnTimer(int64_t nowMs);
  // When OnTimer next has something to drop; empty while nothing is held.
  std::optional<int64_t> NextDeadline() const;

  // Bytes held for conn (0 for an unknown connection) and in all.
  size_t HeldBytes(TConnectionId conn) const;
  size_t HeldBytes() const;
  bool Holding() const { return NextDeadline().has_value(); }

  // Bytes dropped so far: timed out, disconnected, or of oversized headers.
  uint64_t DroppedBytes() const { return DroppedBytes_; }

private:
  struct TConnection {
    std::string Peer;
    std::vector<uint8_t> Buffer;  // from its first byte on, never above capacity
    uint64_t Skip = 0;            // bytes of an oversized message still to discard
    int64_t LastChunkMs = 0;
    bool Pending() const { return !Buffer.empty() || Skip > 0; }
  };

  void Drain(TConnectionId conn, TConnection& c, std::vector<TServerEvent>& out);

  std::map<TConnectionId, TConnection> Connections_;
  uint64_t DroppedBytes_ = 0;
};
