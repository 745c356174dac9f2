#include "TDozusim.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTest>

#include "TLumidorRig.h"

#ifndef DOZUSIM_PATH
#error "DOZUSIM_PATH names the dozusim program"
#endif

TDozusim::TDozusim(const QString& firstIp, int cameras, const QStringList& extra)
    : FirstIp(firstIp), Cameras(cameras), Extra(extra) {
  UdpPort = FreeUdpPort();
  TcpPort = FreeTcpPort();
  do {
    HttpPort = FreeTcpPort();
  } while (HttpPort == TcpPort);
}

TDozusim::~TDozusim() {
  if (Process.state() != QProcess::NotRunning) {
    Process.terminate();
    if (!Process.waitForFinished(5000)) {
      Process.kill();
      Process.waitForFinished(2000);
    }
  }
}

bool TDozusim::Start() {
  QStringList arguments{QStringLiteral("--cameras"),   QString::number(Cameras),
                        QStringLiteral("--first-ip"),  FirstIp,
                        QStringLiteral("--udp-port"),  QString::number(UdpPort),
                        QStringLiteral("--tcp-port"),  QString::number(TcpPort),
                        QStringLiteral("--http-port"), QString::number(HttpPort),
                        QStringLiteral("--run-for"),   QStringLiteral("300")};
  arguments += Extra;
  Process.setProcessChannelMode(QProcess::MergedChannels);
  Process.start(QStringLiteral(DOZUSIM_PATH), arguments);
  if (!Process.waitForStarted(5000)) return false;
  return WaitForLog(QStringLiteral("ready"), 10000);
}

TZudirirEndpoints TDozusim::Endpoints() const {
  TZudirirEndpoints endpoints;
  endpoints.UdpPort = UdpPort;
  endpoints.TcpPort = TcpPort;
  endpoints.HttpPort = HttpPort;
  endpoints.Broadcast = "127.255.255.255";
  return endpoints;
}

QString TDozusim::Address(int camera) const {
  return QHostAddress(QHostAddress(FirstIp).toIPv4Address() + static_cast<quint32>(camera - 1)).toString();
}

QStringList TDozusim::Log() {
  Process.waitForReadyRead(0);
  Partial += QString::fromUtf8(Process.readAll());
  const int end = Partial.lastIndexOf(QLatin1Char('\n'));
  if (end >= 0) {
    Lines += Partial.left(end).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    Partial = Partial.mid(end + 1);
  }
  return Lines;
}

QStringList TDozusim::LogWith(const QString& text) { return Log().filter(text); }

bool TDozusim::WaitForLog(const QString& text, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (LogWith(text).isEmpty()) {
    if (deadline.hasExpired() || Process.state() == QProcess::NotRunning) return false;
    Process.waitForReadyRead(50);
  }
  return true;
}

quint16 FreeTcpPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::AnyIPv4, 0);
  return probe.serverPort();
}
