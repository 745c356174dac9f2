#pragma once
// Runs programs for network tests, with extra environment variables: to the
// end, collecting standard output, standard error and exit code (RunProgram),
// or in the background with a log a test can wait on (TRunningProgram, how
// dozusim runs beside a test). Every wait is bounded.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace peer {

// Starts path with args and this process's environment with env laid over
// it; the child writes standard output to outFd and standard error to errFd
// and does not keep closeInChild open. The child's id, or -1.
inline pid_t SpawnProgram(const std::string& path, const std::vector<std::string>& args,
                          const std::map<std::string, std::string>& env, int outFd, int errFd,
                          const std::vector<int>& closeInChild) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  posix_spawn_file_actions_adddup2(&actions, errFd, 2);
  for (int fd : closeInChild) posix_spawn_file_actions_addclose(&actions, fd);

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

  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

struct TRunResult {
  int ExitCode = -1;  // -1: killed or did not start
  std::string Out;
  std::string Err;
  std::chrono::milliseconds Took{0};
};

// Runs the program to its end; kills it when it outlives the bound.
inline TRunResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                             const std::map<std::string, std::string>& env,
                             std::chrono::milliseconds bound = std::chrono::seconds(15)) {
  TRunResult result;
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return result;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = SpawnProgram(path, args, env, out[1], err[1], {out[0], err[0]});
  close(out[1]);
  close(err[1]);
  if (pid < 0) {
    close(out[0]);
    close(err[0]);
    return result;
  }
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.Out, &result.Err};
  int open = 2;
  bool killed = false;
  while (open > 0) {
    const auto left = bound - (std::chrono::steady_clock::now() - start);
    if (left <= std::chrono::milliseconds(0)) {
      kill(pid, SIGKILL);
      killed = true;
      break;
    }
    if (poll(fds, 2, 50) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buf[4096];
      const ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n > 0) {
        sinks[i]->append(buf, static_cast<size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (auto& f : fds)
    if (f.fd >= 0) close(f.fd);
  int status = 0;
  waitpid(pid, &status, 0);
  result.Took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  if (!killed && WIFEXITED(status)) result.ExitCode = WEXITSTATUS(status);
  return result;
}

// A program running in the background for one test: started with its
// arguments, its standard output and error collected into one log as they
// come, stopped with SIGTERM (at the latest when the object goes).
class TRunningProgram {
public:
  TRunningProgram(const std::string& path, const std::vector<std::string>& args,
                  const std::map<std::string, std::string>& env = {}) {
    int out[2];
    if (pipe(out) != 0) return;
    Pid_ = SpawnProgram(path, args, env, out[1], out[1], {out[0]});
    close(out[1]);
    if (Pid_ < 0) {
      close(out[0]);
      return;
    }
    Fd_ = out[0];
    Reader_ = std::thread([this] { Read(); });
  }

  ~TRunningProgram() { Stop(); }

  // True once the log holds text; false when the bound passes first or the
  // program closed its output without writing it.
  bool WaitFor(const std::string& text, std::chrono::milliseconds bound = std::chrono::seconds(10)) const {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
      {
        std::lock_guard<std::mutex> lock(Mutex_);
        if (Log_.find(text) != std::string::npos) return true;
        if (Closed_) return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  // dozusim says "ready" once every camera listens.
  bool Ready() const { return WaitFor("ready\n"); }

  pid_t Pid() const { return Pid_; }

  std::string Log() const {
    std::lock_guard<std::mutex> lock(Mutex_);
    return Log_;
  }

  // Stops the program (SIGTERM, then SIGKILL after the bound); its exit code,
  // -1 when it had to be killed.
  int Stop(std::chrono::milliseconds bound = std::chrono::seconds(5)) {
    if (Pid_ <= 0) return ExitCode_;
    kill(Pid_, SIGTERM);
    const auto end = std::chrono::steady_clock::now() + bound;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(Pid_, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
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

}  // namespace peer
