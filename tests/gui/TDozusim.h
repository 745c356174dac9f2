#pragma once
// dozusim for window tests: simulated cameras in a process of their own, on
// loopback addresses from firstIp, at ports the system had free, taking
// broadcasts on 127.255.255.255. Its log (one line per request) is kept for
// the tests to read; the process is stopped with the object.

#include <QProcess>
#include <QString>
#include <QStringList>

#include "UZudirir.h"

class TDozusim {
public:
  // extra: further command line options, such as "--fault", "2:status=7@26011".
  TDozusim(const QString& firstIp, int cameras, const QStringList& extra = {});
  ~TDozusim();

  // Starts it and waits (bounded) until it says it is ready.
  bool Start();
  // The ports the tools must use to reach these cameras.
  TZudirirEndpoints Endpoints() const;
  // The address of camera n (1-based).
  QString Address(int camera) const;

  // The log lines so far (read without waiting).
  QStringList Log();
  // The log so far as one text, for the message of a failing check.
  QString LogText() { return Log().join(QLatin1Char('\n')); }
  // The log lines that mention text, in order.
  QStringList LogWith(const QString& text);
  // Waits (handling events, bounded) until a log line mentions text.
  bool WaitForLog(const QString& text, int milliseconds = 5000);
  // Drops the lines so far, so later checks see only what follows.
  void ForgetLog() {
    Log();
    Lines.clear();
  }

  quint16 UdpPort = 0;
  quint16 TcpPort = 0;
  quint16 HttpPort = 0;

private:
  QString FirstIp;
  int Cameras;
  QStringList Extra;
  QProcess Process;
  QStringList Lines;
  QString Partial;
};

// A TCP port on loopback that nothing listens on now.
quint16 FreeTcpPort();
