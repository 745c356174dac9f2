// Ping in a terminal window.

#include "UPingCommand.h"

namespace {

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

const std::vector<std::string>& TerminalCandidates() {
  // The distribution's chosen terminal first, then the common ones.
  static const std::vector<std::string> candidates = {"x-terminal-emulator", "gnome-terminal", "konsole",
                                                      "xfce4-terminal", "mate-terminal", "xterm"};
  return candidates;
}

TProgramCall PingInTerminal(const std::string& terminal, const std::string& host) {
  const std::string name = BaseName(terminal);
  // Each terminal's way of saying "run this program with these arguments".
  std::vector<std::string> run;
  if (name == "gnome-terminal") {
    run = {"--"};
  } else if (name == "xfce4-terminal" || name == "mate-terminal") {
    run = {"-x"};
  } else {
    run = {"-e"};
  }
  run.push_back("ping");
  run.push_back(host);
  return {terminal, run};
}

bool IsPlainHost(std::string_view host) {
  if (host.empty() || host.front() == '-') return false;
  for (const char c : host) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                       c == '-' || c == ':' || c == '_' || c == '%';
    if (!plain) return false;
  }
  return true;
}
