#pragma once
// Joins the fragments of requests that reach a camera's UDP socket. Fed one
// datagram at a time with the sender it came from; it never reads outside the
// datagram and holds at most MaxRequestSize bytes per sender. Fragments are
// placed by their index, so they may arrive in any order; a sender that starts
// a different message, or stays silent for too long, loses what it had begun.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class TSimReassembler {
public:
  static constexpr uint32_t MaxRequestSize = 1048576;
  static constexpr int64_t StaleMs = 5000;
  static constexpr size_t MaxPending = 1024;

  enum class TStatus {
    Partial,   // held; more fragments are needed
    Complete,  // Message holds the whole request
    Rejected,  // not a fragment of a request this camera can take (Reason says why)
  };

  struct TResult {
    TStatus Status = TStatus::Rejected;
    std::vector<uint8_t> Message;
    std::array<uint8_t, 8> TargetMac{};
    std::string Reason;
  };

  // sender: any key naming the sender (address and port).
  TResult Feed(uint64_t sender, const uint8_t* datagram, size_t size, int64_t nowMs);
  size_t PendingCount() const { return Pending_.size(); }

private:
  struct TPending {
    uint32_t Count = 0;
    uint32_t MessageLength = 0;
    std::array<uint8_t, 8> TargetMac{};
    std::vector<uint8_t> Bytes;
    std::vector<bool> Have;
    uint32_t Received = 0;
    int64_t LastMs = 0;
  };
  void DropStale(int64_t nowMs);
  std::map<uint64_t, TPending> Pending_;
};
