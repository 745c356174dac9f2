// The network setup dialog reaching a camera whose address lies outside the
// PC's subnet, as happens when a camera comes with a wrong address: inside a
// private network namespace (run_in_netns.sh), the PC at 10.71.1.1/24 with
// its default route there, the camera saying it is 192.168.9.9/24 while its
// sockets sit on 10.71.2.1. Nothing sent to 192.168.9.9 arrives; the search,
// the write and the reboot go as broadcasts to 255.255.255.255 naming the
// camera's MAC, and the camera answers by broadcast. Needs root; skipped
// otherwise.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "TDozusim.h"
#include "TLumidorRig.h"
#include "UNumberEdit.h"
#include "USetup.h"

class TestSetupOtherSubnet : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void cleanupTestCase();
  void writeAndRebootReachACameraOnAnotherSubnet();

private:
  std::unique_ptr<TDozusim> Sim;
  std::unique_ptr<TLumidorRig> Rig;
};

void TestSetupOtherSubnet::initTestCase() {
  if (qEnvironmentVariableIsSet("LUMI_NETNS_UNAVAILABLE")) {
    QSKIP(qPrintable(QStringLiteral("private network namespace: ") + qEnvironmentVariable("LUMI_NETNS_UNAVAILABLE")));
  }
  // Outside the namespace this test would broadcast on real interfaces.
  if (!qEnvironmentVariable("LUMI_NETNS_INTERFACES").contains(QStringLiteral("10.71.2.1"))) {
    QSKIP("run it through run_in_netns.sh");
  }
  Sim = std::make_unique<TDozusim>(
      QStringLiteral("192.168.9.9"), 1,
      QStringList{QStringLiteral("--netmask"), QStringLiteral("255.255.255.0"), QStringLiteral("--gateway"),
                  QStringLiteral("192.168.9.1"), QStringLiteral("--camera"), QStringLiteral("1:bind=10.71.2.1"),
                  QStringLiteral("--broadcast"), QStringLiteral("255.255.255.255"), QStringLiteral("--reboot-time"),
                  QStringLiteral("0.3")});
  QVERIFY(Sim->Start());
  TZudirirEndpoints endpoints = Sim->Endpoints();
  endpoints.Broadcast = "255.255.255.255";
  Rig = std::make_unique<TLumidorRig>(Sim->UdpPort, std::nullopt, QStringLiteral("255.255.255.255"));
  Rig->Zudirir.SetEndpoints(endpoints);
  QVERIFY(Rig->Start());
}

void TestSetupOtherSubnet::cleanupTestCase() {
  Rig.reset();
  Sim.reset();
}

void TestSetupOtherSubnet::writeAndRebootReachACameraOnAnotherSubnet() {
  TFormMain& form = *Rig->Form;
  TScriptedPrompts& prompts = *Rig->Prompts;
  QCOMPARE(form.GridDevices->RowCount(), 1);
  QCOMPARE(form.GridDevices->Cell(colIPADDR, 0), QStringLiteral("192.168.9.9"));
  form.GridDevices->SelectRow(0);
  const std::string mac = form.GridDevices->Cell(colMACADDR, 0).toStdString();
  QVERIFY(!mac.empty());
  // By its address the camera cannot be reached.
  Sim->ForgetLog();
  QVERIFY(!form.ReadDeviceFile("192.168.9.9", std::string(), "device.ini"));
  QCOMPARE(Sim->LogWith(QStringLiteral("MSG_")), QStringList());

  TFormSetup& setup = *form.FormSetup;
  prompts.Forget();
  prompts.Answer("Confirm", {true, {}});
  prompts.InDialog([&](QDialog&) {
    QCOMPARE(setup.EditIP4->text(), QStringLiteral("9"));
    setup.EditIP4->setText(QStringLiteral("20"));
    setup.btnOK->click();
  });
  form.tbnSetupIP->click();
  QCOMPARE(prompts.TextsOf("MessageBox"), QStringList());
  QCOMPARE(prompts.TextsOf("Confirm"), QStringList{"Network settings changed. Reboot now?"});
  QCOMPARE(prompts.CallsOf("Information").size(), size_t(1));  // the reboot was acknowledged
  QVERIFY(Sim->WaitForLog(QStringLiteral("back after reboot")));
  for (const char* request : {"MSG_READ_FILE", "MSG_WRITE_FILE", "MSG_REBOOT"}) {
    const QStringList lines = Sim->LogWith(QLatin1String(request));
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains(QStringLiteral("(broadcast)")) &&
                 lines.first().contains(QStringLiteral("by broadcast to 255.255.255.255")),
             qPrintable(lines.first()));
  }

  // The camera took the new address: a search finds it there.
  form.tbnDiscover->click();
  QCOMPARE(form.GridDevices->RowCount(), 1);
  QCOMPARE(form.GridDevices->Cell(colIPADDR, 0), QStringLiteral("192.168.9.20"));
  QVERIFY(form.ReadDeviceFile(std::string(), mac, "device.ini"));
  QVERIFY(std::find(form.StringListReadFile.begin(), form.StringListReadFile.end(), "IP=192.168.9.20") !=
          form.StringListReadFile.end());
}

QTEST_MAIN(TestSetupOtherSubnet)
#include "test_gui_setup_netns.moc"
