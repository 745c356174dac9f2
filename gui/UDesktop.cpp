// Platform programs: ping in a window of its own.

#include "UDesktop.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "UPingCommand.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

bool StartPingWindow(const std::string& host, std::string& error) {
  // The host reaches ping as one argument; a text that could be read as an
  // option or split into several words is refused.
  if (!IsPlainHost(host)) {
    error = "Cannot ping \"" + host + "\": not a host name or address.";
    return false;
  }
#ifdef _WIN32
  const std::wstring parameters(host.begin(), host.end());
  const auto started = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", L"ping.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL));
  if (started <= 32) {
    error = "Cannot start ping.exe (error " + std::to_string(started) + ").";
    return false;
  }
  return true;
#else
  std::string tried;
  for (const std::string& candidate : TerminalCandidates()) {
    const QString path = QStandardPaths::findExecutable(QString::fromStdString(candidate));
    if (path.isEmpty()) {
      tried += (tried.empty() ? "" : ", ") + candidate;
      continue;
    }
    const TProgramCall call = PingInTerminal(path.toStdString(), host);
    QStringList arguments;
    for (const std::string& argument : call.Arguments) arguments.append(QString::fromStdString(argument));
    if (QProcess::startDetached(QString::fromStdString(call.Program), arguments)) return true;
    tried += (tried.empty() ? "" : ", ") + candidate + " (would not start)";
  }
  error = "No terminal window to run ping in was found (tried " + tried + ").";
  return false;
#endif
}
