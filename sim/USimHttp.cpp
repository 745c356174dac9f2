#include "USimHttp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <chrono>
#include <thread>

#include "USimLog.h"

bool Base64Decode(const std::string& text, std::string& out) {
  out.clear();
  uint32_t acc = 0;
  int bits = 0;
  for (char c : text) {
    int v;
    if (c >= 'A' && c <= 'Z') v = c - 'A';
    else if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
    else if (c >= '0' && c <= '9') v = c - '0' + 52;
    else if (c == '+') v = 62;
    else if (c == '/') v = 63;
    else if (c == '=') break;
    else return false;
    acc = (acc << 6) | static_cast<uint32_t>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((acc >> bits) & 0xFF);
    }
  }
  return true;
}

bool BasicAuthMatches(const std::string& header, const std::string& user, const std::string& password) {
  size_t at = 0;
  while (at < header.size() && header[at] == ' ') ++at;
  if (header.size() - at < 6) return false;
  std::string scheme = header.substr(at, 6);
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (scheme != "basic ") return false;
  std::string token = header.substr(at + 6);
  while (!token.empty() && token.front() == ' ') token.erase(token.begin());
  while (!token.empty() && token.back() == ' ') token.pop_back();
  std::string decoded;
  if (!Base64Decode(token, decoded)) return false;
  return decoded == user + ":" + password;
}

namespace {

// A connected socket as cpp-httplib's stream, with bounded waits.
class TFdStream : public httplib::Stream {
public:
  explicit TFdStream(int fd) : Fd_(fd) {}
  bool is_readable() const override { return Wait(POLLIN); }
  bool is_writable() const override { return Wait(POLLOUT); }
  ssize_t read(char* ptr, size_t size) override {
    if (!Wait(POLLIN)) return -1;
    return ::recv(Fd_, ptr, size, 0);
  }
  ssize_t write(const char* ptr, size_t size) override {
    if (!Wait(POLLOUT)) return -1;
    return ::send(Fd_, ptr, size, MSG_NOSIGNAL);
  }
  void get_remote_ip_and_port(std::string& ip, int& port) const override { Name(true, ip, port); }
  void get_local_ip_and_port(std::string& ip, int& port) const override { Name(false, ip, port); }
  socket_t socket() const override { return Fd_; }

private:
  bool Wait(short events) const {
    pollfd p{Fd_, events, 0};
    return ::poll(&p, 1, 5000) > 0;
  }
  void Name(bool peer, std::string& ip, int& port) const {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    const int rc = peer ? ::getpeername(Fd_, reinterpret_cast<sockaddr*>(&a), &len)
                        : ::getsockname(Fd_, reinterpret_cast<sockaddr*>(&a), &len);
    if (rc != 0) return;
    char buf[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a.sin_addr, buf, sizeof buf);
    ip = buf;
    port = ntohs(a.sin_port);
  }
  int Fd_;
};

// cpp-httplib's request handling on a socket the event loop accepted.
class TBackupServer : public httplib::Server {
public:
  void Serve(httplib::Stream& stream) {
    bool closed = false;
    process_request(stream, true, closed, nullptr);
  }
};

}  // namespace

void ServeBackupConnection(int fd, const TSimBackupSnapshot& snap, TSimLog& log, const std::atomic<bool>& stopping) {
  TBackupServer server;
  std::string peer;
  server.Get(BackupPath, [&](const httplib::Request& req, httplib::Response& res) {
    for (int64_t waited = 0; waited < snap.DelayMs && !stopping; waited += 50)
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min<int64_t>(50, snap.DelayMs - waited)));
    peer = req.remote_addr;
    const bool ok = !snap.Always401 && req.has_header("Authorization") &&
                    BasicAuthMatches(req.get_header_value("Authorization"), snap.User, snap.Password);
    if (!ok) {
      res.status = 401;
      res.set_header("WWW-Authenticate", "Basic realm=\"DOZU\"");
      res.set_content("401 Unauthorized\n", "text/plain");
      log.Info(snap.CameraName + " HTTP <- " + peer + " GET " + BackupPath + " -> 401" +
               (snap.Always401 ? " (fault switch)" : req.has_header("Authorization") ? " (wrong credentials)"
                                                                                      : " (no credentials)"));
      return;
    }
    res.status = 200;
    res.set_content(std::string(snap.Body.begin(), snap.Body.end()), "application/octet-stream");
    log.Info(snap.CameraName + " HTTP <- " + peer + " GET " + BackupPath + " -> 200, backup of " +
             std::to_string(snap.Body.size()) + " bytes");
  });
  server.set_error_handler([&](const httplib::Request& req, httplib::Response& res) {
    if (res.status == 404)
      log.Info(snap.CameraName + " HTTP <- " + req.remote_addr + " " + req.method + " " + req.path + " -> 404");
  });
  TFdStream stream(fd);
  server.Serve(stream);
  ::shutdown(fd, SHUT_WR);
  ::close(fd);
}
