#include "TSimProcess.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>

#include "TLumidorRig.h"
#include "UMessages.h"
#include "UZudirir.h"

namespace {
quint16 FreeTcpPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}
}  // namespace

TSimProcess::TSimProcess(const QStringList& arguments, int cameras, int answers) {
  if (answers < 0) answers = cameras;
  Udp = FreeUdpPort();
  QStringList args = {QStringLiteral("--cameras"), QString::number(cameras),
                      QStringLiteral("--first-ip"), FirstIp(),
                      QStringLiteral("--udp-port"), QString::number(Udp),
                      QStringLiteral("--tcp-port"), QString::number(FreeTcpPort()),
                      QStringLiteral("--http-port"), QString::number(FreeTcpPort()),
                      QStringLiteral("--broadcast"), QStringLiteral("127.255.255.255")};
  args += arguments;
  Process.setProcessChannelMode(QProcess::MergedChannels);
  Process.start(QStringLiteral(DOZUSIM_PATH), args);
  if (!Process.waitForStarted(5000)) return;

  // Ready once every camera answers a search of our own.
  TFormZudirir probe;
  TZudirirEndpoints endpoints = probe.Endpoints();
  endpoints.UdpPort = Udp;
  endpoints.Broadcast = "127.255.255.255";
  probe.SetEndpoints(endpoints);
  QElapsedTimer clock;
  clock.start();
  while (!Ready && clock.elapsed() < 10000 && Process.state() == QProcess::Running) {
    int answered = 0;
    const uint8_t* reply = nullptr;
    probe.ExchangeUdp(std::string(), std::string(), BuildDeviceInfo(), reply, 5, [&](const uint8_t*, uint32_t) {
      ++answered;
      return true;
    });
    Ready = answered >= answers;
    if (!Ready) QTest::qWait(50);
  }
}

TSimProcess::~TSimProcess() {
  if (Process.state() == QProcess::NotRunning) return;
  Process.terminate();
  if (!Process.waitForFinished(3000)) {
    Process.kill();
    Process.waitForFinished(3000);
  }
}

QString TSimProcess::Log() { return QString::fromLocal8Bit(Process.readAll()); }
