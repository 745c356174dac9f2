#pragma once
// dozusim, the simulated cameras, run for one test on loopback addresses and
// ports of its own, so window suites running side by side never meet.

#include <QProcess>
#include <QStringList>

class TSimProcess {
public:
  // Starts dozusim with the given extra arguments and waits (at most 10 s)
  // until `answers` cameras (all of them unless told) answer a search within
  // half a second. Cameras sit on 127.0.5.11, 127.0.5.12, ...
  explicit TSimProcess(const QStringList& arguments, int cameras = 3, int answers = -1);
  ~TSimProcess();

  bool Running() const { return Ready; }
  quint16 UdpPort() const { return Udp; }
  // What it printed so far, for the test log when something fails.
  QString Log();

  static QString FirstIp() { return QStringLiteral("127.0.5.11"); }

private:
  QProcess Process;
  quint16 Udp = 0;
  bool Ready = false;
};
