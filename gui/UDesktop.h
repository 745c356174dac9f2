#pragma once
// Starting the platform's own programs for the user. Everything that differs
// between platforms lives in UDesktop.cpp, behind this one function.

#include <string>

// Starts the system's ping with host as its only argument in a window of its
// own and returns at once, without waiting for it. Windows: "ping.exe"
// through the shell's "open" action. Elsewhere: the first terminal emulator
// found on the search path runs ping. False, with a text for the user in
// error, when nothing could be started.
bool StartPingWindow(const std::string& host, std::string& error);
