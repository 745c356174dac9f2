#pragma once
// A stand-in camera for TCP requests. A TCP exchange blocks the window's
// thread until its reply, so this camera serves from a thread of its own:
// on 127.0.0.1 at a port the system picks, one request per connection,
// answered with the scripted reply, or never answered at all. Every request
// is kept byte for byte. Every wait is bounded; the destructor stops it.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class TTcpCameraPeer {
public:
  TTcpCameraPeer();
  ~TTcpCameraPeer();
  TTcpCameraPeer(const TTcpCameraPeer&) = delete;
  TTcpCameraPeer& operator=(const TTcpCameraPeer&) = delete;

  bool Listening() const { return Listener >= 0; }
  uint16_t Port() const { return Port_; }

  // The whole message sent back to every request; none: the connection is
  // taken and left unanswered until the client gives up.
  void SetReply(std::vector<uint8_t> reply);
  void NeverAnswer();

  // The requests received so far, whole (header and payload).
  std::vector<std::vector<uint8_t>> Requests() const;

private:
  void Serve();
  void ServeConnection(int connection);

  int Listener = -1;
  uint16_t Port_ = 0;
  std::atomic<bool> Stop{false};
  mutable std::mutex Mutex;
  std::vector<uint8_t> Reply;
  bool Answer = true;
  std::vector<std::vector<uint8_t>> Received;
  std::thread Thread;
};
