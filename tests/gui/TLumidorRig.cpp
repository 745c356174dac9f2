#include "TLumidorRig.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include "ULumidor.h"

TLumidorRig::TLumidorRig(quint16 udpPort, std::optional<QByteArray> settings, const QString& broadcast) {
  TZudirirEndpoints endpoints = Zudirir.Endpoints();
  endpoints.UdpPort = udpPort;
  endpoints.Broadcast = broadcast.toStdString();
  Zudirir.SetEndpoints(endpoints);
  const QString settingsFile = Dir.filePath(QStringLiteral("Lumidor.ini"));
  if (settings) {
    QFile file(settingsFile);
    if (file.open(QIODevice::WriteOnly)) file.write(*settings);
  }
  auto prompts = std::make_unique<TScriptedPrompts>();
  Prompts = prompts.get();
  Form = CreateForms(Zudirir, std::move(prompts), settingsFile);
}

TLumidorRig::~TLumidorRig() {
  if (Form) Form->close();
  Form.reset();
}

bool TLumidorRig::Start() {
  QSignalSpy ready(Form.get(), &TFormMain::Ready);
  Form->show();
  return Form->Started() || ready.wait(10000);
}

QByteArray TLumidorRig::SettingsText() const {
  QFile file(Form->SettingsFile());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 FreeUdpPort() {
  QUdpSocket probe;
  probe.bind(QHostAddress::AnyIPv4, 0);
  return probe.localPort();
}

void Settle(int milliseconds) { QTest::qWait(milliseconds); }
