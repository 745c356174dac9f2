#include "TSimSuite.h"

#include <QTest>
#include <algorithm>

#include "UDeviceGrid.h"
#include "UMain.h"
#include "UMessages.h"

bool TSimSuite::Start(const QString& firstIp, int cameras, const QStringList& options) {
  Sim = std::make_unique<TDozusim>(firstIp, cameras, options);
  if (!Sim->Start()) return false;
  Rig = std::make_unique<TLumidorRig>(Sim->UdpPort);
  Rig->Zudirir.SetEndpoints(Sim->Endpoints());
  if (!Rig->Start()) return false;
  Client = std::make_unique<TFormZudirir>();
  Client->SetEndpoints(Sim->Endpoints());
  return true;
}

void TSimSuite::Forget() {
  if (Rig) Prompts().Forget();
  if (Sim) Sim->ForgetLog();
}

void TSimSuite::Stop() {
  Rig.reset();
  Client.reset();
  Sim.reset();
}

std::string TSimSuite::CameraFile(int camera, const std::string& name) {
  std::string contents;
  const uint8_t* reply = nullptr;
  Client->ExchangeUdp(Host(camera), std::string(), BuildReadFile(name), reply, 3,
                      [&](const uint8_t* bytes, uint32_t length) {
                        if (length >= 28 && ReadWordLE(bytes + 16) == 0) {
                          const uint32_t n = std::min(ReadWordLE(bytes + 24), length - 28);
                          contents.assign(reinterpret_cast<const char*>(bytes + 28), n);
                        }
                        return true;
                      });
  return contents;
}

void TSimSuite::PutCameraFile(int camera, const std::string& name, const std::string& contents) {
  const uint8_t* reply = nullptr;
  QVERIFY(Client->ExchangeUdp(Host(camera), std::string(), BuildWriteFile(name, contents), reply, 3, nullptr));
}

bool TSimSuite::SelectCamera(int camera) {
  Form().GridDevices->SelectRow(camera - 1);
  return Form().GridDevices->Cell(colIPADDR, camera - 1) == Sim->Address(camera);
}
