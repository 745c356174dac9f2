#pragma once
// Lumicon's reply printer: one line "%.5d; %s; %s" (identifier, name, value)
// per parameter record of every reply.

#include <cstdint>
#include <ostream>

class TReceiveClass {
public:
  TReceiveClass() = delete;
  // The console tool's ReplyHandler: prints to standard output.
  static bool PrintReply(const uint8_t* reply, uint32_t length);
  // The same, to any stream. Lines are written as the walk reaches them, so
  // a decoder error leaves the lines before it in place.
  static bool PrintReplyTo(std::ostream& out, const uint8_t* reply, uint32_t length);
};
