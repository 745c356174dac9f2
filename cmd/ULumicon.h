#pragma once
// Lumicon's request flow: one request, every reply printed.

#include <ostream>
#include <string>
#include <vector>

class TFormZudirir;

// Processes the arguments and sends at most one request with zudirir.
// Errors of the exchange pass to the caller.
void RunLumicon(TFormZudirir& zudirir, const std::vector<std::string>& args, std::ostream& out);

// The whole program: creates the protocol component, runs, and on an error
// writes "<class>: <message>" to err. Returns the exit code.
int LumiconMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
