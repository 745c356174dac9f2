#pragma once
// Runs a program with extra environment variables and collects its standard
// output, standard error and exit code. Kills it when it outlives the bound.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace peer {

struct TRunResult {
  int ExitCode = -1;  // -1: killed or did not start
  std::string Out;
  std::string Err;
  std::chrono::milliseconds Took{0};
};

inline TRunResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                             const std::map<std::string, std::string>& env,
                             std::chrono::milliseconds bound = std::chrono::seconds(15)) {
  TRunResult result;
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);

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

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  if (spawned != 0) {
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

}  // namespace peer
