#pragma once
// A dozusim running in the background for one test: started with its
// arguments, waited for until it reports "ready", stopped with SIGTERM. Its
// log is collected as it goes, so a test can wait for a line. Every wait is
// bounded.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <asio.hpp>

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace sim {

using namespace std::chrono_literals;

// A port the system has just given out, for UDP or TCP.
inline uint16_t FreeUdpPort() {
  asio::io_context io;
  asio::ip::udp::socket s(io, asio::ip::udp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
  return s.local_endpoint().port();
}

inline uint16_t FreeTcpPort() {
  asio::io_context io;
  asio::ip::tcp::acceptor a(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
  return a.local_endpoint().port();
}

class SimProcess {
public:
  SimProcess(const std::string& path, const std::vector<std::string>& args,
             const std::map<std::string, std::string>& env = {}) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (!env.count(entry.substr(0, entry.find('=')))) envText.push_back(entry);
    }
    for (const auto& [k, v] : env) envText.push_back(k + "=" + v);
    std::vector<char*> envp, argv;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argText = {path};
    argText.insert(argText.end(), args.begin(), args.end());
    for (auto& a : argText) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&Pid_, path.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
      close(out[0]);
      Pid_ = -1;
      return;
    }
    Fd_ = out[0];
    Reader_ = std::thread([this] { Read(); });
  }

  ~SimProcess() { Stop(); }

  // True once the log holds text; false when the bound passes first.
  bool WaitFor(const std::string& text, std::chrono::milliseconds bound = 10s) const {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
      {
        std::lock_guard<std::mutex> lock(Mutex_);
        if (Log_.find(text) != std::string::npos) return true;
        if (Closed_) return false;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }
  bool Ready() const { return WaitFor("ready\n"); }

  pid_t Pid() const { return Pid_; }

  std::string Log() const {
    std::lock_guard<std::mutex> lock(Mutex_);
    return Log_;
  }

  // Stops the simulator (SIGTERM, then SIGKILL after the bound); its exit code,
  // -1 when it had to be killed.
  int Stop(std::chrono::milliseconds bound = 5s) {
    if (Pid_ <= 0) return ExitCode_;
    kill(Pid_, SIGTERM);
    const auto end = std::chrono::steady_clock::now() + bound;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(Pid_, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(10ms);
    if (done == 0) {
      kill(Pid_, SIGKILL);
      waitpid(Pid_, &status, 0);
      ExitCode_ = -1;
    } else {
      ExitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    Pid_ = -1;
    if (Reader_.joinable()) Reader_.join();
    return ExitCode_;
  }

private:
  void Read() {
    char buf[4096];
    for (;;) {
      const ssize_t n = read(Fd_, buf, sizeof buf);
      if (n <= 0) break;
      std::lock_guard<std::mutex> lock(Mutex_);
      Log_.append(buf, static_cast<size_t>(n));
    }
    close(Fd_);
    std::lock_guard<std::mutex> lock(Mutex_);
    Closed_ = true;
  }

  pid_t Pid_ = -1;
  int Fd_ = -1;
  int ExitCode_ = -1;
  std::thread Reader_;
  mutable std::mutex Mutex_;
  std::string Log_;
  bool Closed_ = false;
};

}  // namespace sim
