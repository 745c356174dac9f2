#include "TSimProcess.h"

#include "TDozusim.h"

TSimProcess::TSimProcess(const QStringList& arguments, int cameras)
    : Sim(std::make_unique<TDozusim>(FirstIp(), cameras, arguments)) {
  Ready = Sim->Start();
}

TSimProcess::~TSimProcess() = default;

quint16 TSimProcess::UdpPort() const { return Sim->UdpPort; }

QString TSimProcess::Log() { return Sim->LogText(); }
