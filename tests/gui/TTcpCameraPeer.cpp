#include "TTcpCameraPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace {

constexpr int PollMs = 50;
constexpr auto RequestBound = std::chrono::seconds(5);

uint32_t WordAt(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

TTcpCameraPeer::TTcpCameraPeer() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t size = sizeof address;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 8) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    close(s);
    return;
  }
  Listener = s;
  Port_ = ntohs(address.sin_port);
  Thread = std::thread([this] { Serve(); });
}

TTcpCameraPeer::~TTcpCameraPeer() {
  Stop = true;
  if (Thread.joinable()) Thread.join();
  if (Listener >= 0) close(Listener);
}

void TTcpCameraPeer::SetReply(std::vector<uint8_t> reply) {
  std::lock_guard<std::mutex> lock(Mutex);
  Reply = std::move(reply);
  Answer = true;
}

void TTcpCameraPeer::NeverAnswer() {
  std::lock_guard<std::mutex> lock(Mutex);
  Answer = false;
}

std::vector<std::vector<uint8_t>> TTcpCameraPeer::Requests() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Received;
}

void TTcpCameraPeer::Serve() {
  while (!Stop) {
    pollfd p{Listener, POLLIN, 0};
    if (poll(&p, 1, PollMs) <= 0) continue;
    const int connection = accept(Listener, nullptr, nullptr);
    if (connection < 0) continue;
    ServeConnection(connection);
    close(connection);
  }
}

// Reads one request (header, then the payload it announces) and answers it,
// or holds the connection until the client closes it or the peer stops.
void TTcpCameraPeer::ServeConnection(int connection) {
  std::vector<uint8_t> request;
  const auto until = std::chrono::steady_clock::now() + RequestBound;
  size_t wanted = 24;
  while (request.size() < wanted && !Stop && std::chrono::steady_clock::now() < until) {
    pollfd p{connection, POLLIN, 0};
    if (poll(&p, 1, PollMs) <= 0) continue;
    uint8_t chunk[4096];
    const ssize_t got = recv(connection, chunk, sizeof chunk, 0);
    if (got <= 0) return;
    request.insert(request.end(), chunk, chunk + got);
    if (request.size() >= 24) wanted = 24 + WordAt(request.data() + 20);
  }
  if (request.size() < wanted) return;
  std::vector<uint8_t> reply;
  bool answer = true;
  {
    std::lock_guard<std::mutex> lock(Mutex);
    Received.push_back(request);
    reply = Reply;
    answer = Answer;
  }
  if (answer) {
    send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
    return;
  }
  // Taken and never answered: wait for the client to give up.
  while (!Stop) {
    pollfd p{connection, POLLIN, 0};
    if (poll(&p, 1, PollMs) > 0) {
      uint8_t chunk[256];
      if (recv(connection, chunk, sizeof chunk, 0) <= 0) return;
    }
  }
}
