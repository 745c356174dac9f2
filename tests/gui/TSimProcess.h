#pragma once
// dozusim started by the constructor, the interface the event server suite
// was written against; it runs a TDozusim, which other suites use directly.

#include <QString>
#include <QStringList>
#include <memory>

class TDozusim;

class TSimProcess {
public:
  // Starts dozusim with the given extra arguments and waits (bounded) until
  // it is ready. Cameras sit on 127.0.5.11, 127.0.5.12, ...
  explicit TSimProcess(const QStringList& arguments, int cameras = 3);
  ~TSimProcess();

  bool Running() const { return Ready; }
  quint16 UdpPort() const;
  // What it printed so far, for the test log when something fails.
  QString Log();

  static QString FirstIp() { return QStringLiteral("127.0.5.11"); }

private:
  std::unique_ptr<TDozusim> Sim;
  bool Ready = false;
};
