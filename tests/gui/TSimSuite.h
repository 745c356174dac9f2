#pragma once
// What a window suite against dozusim sets up once: the cameras, a Lumidor
// pointed at them whose first search has ended, and a protocol client of its
// own that reads and writes the cameras' files behind the window's back. A
// suite's test class derives from it beside QObject.

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "TDozusim.h"
#include "TLumidorRig.h"
#include "UZudirir.h"

class TSimSuite {
public:
  // For initTestCase: dozusim with cameras from firstIp on, then the window;
  // false when either does not come up.
  bool Start(const QString& firstIp, int cameras, const QStringList& options);
  // For init: no prompts and no dozusim log lines left from the test before.
  void Forget();
  // For cleanupTestCase: the window first, then the client, then dozusim.
  void Stop();

  TFormMain& Form() { return *Rig->Form; }
  TScriptedPrompts& Prompts() { return *Rig->Prompts; }
  // The address of camera n (1-based) as the tools take it.
  std::string Host(int camera) const { return Sim->Address(camera).toStdString(); }
  // Selects camera n's row (the list holds the cameras in their order) as a
  // click would; false when that row does not show the camera's address.
  bool SelectCamera(int camera);
  // The camera's file as it holds it, empty when it cannot be read; and a
  // write of one, which fails the test when the camera does not answer.
  std::string CameraFile(int camera, const std::string& name);
  void PutCameraFile(int camera, const std::string& name, const std::string& contents);

  std::unique_ptr<TDozusim> Sim;
  std::unique_ptr<TFormZudirir> Client;
  std::unique_ptr<TLumidorRig> Rig;
};
