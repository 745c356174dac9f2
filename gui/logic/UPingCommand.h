#pragma once
// How "Ping" starts the system's ping in a window of its own: which terminal
// emulators are tried on desktops without a shell "open" action, and the
// argument list that runs ping in each. No shell is involved: the host is
// handed over as one argument.

#include <string>
#include <string_view>
#include <vector>

// Terminal emulators in the order they are looked for on the search path.
const std::vector<std::string>& TerminalCandidates();

struct TProgramCall {
  std::string Program;
  std::vector<std::string> Arguments;
};

// The terminal (a name from TerminalCandidates, or a path ending in one)
// running "ping <host>".
TProgramCall PingInTerminal(const std::string& terminal, const std::string& host);

// A host text that can only ever reach ping as a host: letters, digits and
// ".-:_%", not empty and not starting with "-" (which ping would take as an
// option). Addresses from the device list always pass.
bool IsPlainHost(std::string_view host);
