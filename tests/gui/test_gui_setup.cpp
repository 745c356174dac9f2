// The network setup dialog: the octet fields and what OK allows, on its own;
// then against simulated cameras, what OK writes into "device.ini" and that
// the write and the reboot reach the camera by its MAC address, as
// broadcasts, whatever its IP address says.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "TScriptedPrompts.h"
#include "TSimSuite.h"
#include "TUserInput.h"
#include "UMessages.h"
#include "UNumberEdit.h"
#include "USetup.h"

namespace {

TDeviceInfo Camera() {
  TDeviceInfo d;
  d.Dhcp = false;
  d.HostName = "CAM1";
  d.MacAddress = "02-0A-1B-00-00-01";
  d.IpAddress = "192.168.1.10";
  d.Netmask = "255.255.255.0";
  d.Gateway = "192.168.1.1";
  return d;
}

QStringList Texts(const TFormSetup& f) {
  QStringList texts;
  for (const TNumberEdit* e : f.Octets()) texts.append(e->text());
  return texts;
}

bool Red(const TNumberEdit* e) {
  return e->ErrorState() && e->palette().color(e->isEnabled() ? QPalette::Active : QPalette::Disabled,
                                               QPalette::Base) == QColor(Qt::red);
}

}  // namespace

class TestSetupDialog : public QObject, public TSimSuite {
  Q_OBJECT
private slots:
  // On its own.
  void layoutAndTabOrder();
  void filling_data();
  void filling();
  void octetValidityDrivesOk();
  void octetFieldsTyping();

  // Against simulated cameras.
  void initTestCase();
  void init();
  void cleanupTestCase();
  void okWithoutChangeSendsNothing();
  void writesByMacAddress_data();
  void writesByMacAddress();
  void rebootGoesByMacAddress();
  void failedWriteShowsErrorAndCloses();
  void noMacAddressSendsNothing();

private:
  // A camera's record as the device list has it.
  TDeviceInfo Row(int camera);
};

// ---------------------------------------------------------------- on its own

void TestSetupDialog::layoutAndTabOrder() {
  TScriptedPrompts prompts;
  TFormSetup f(prompts);
  QCOMPARE(f.windowTitle(), QStringLiteral("Setup IP address"));
  QCOMPARE(f.size(), QSize(392, 266));
  QStringList order;
  QWidget* w = f.chkDHCP;
  do {
    if (w->focusPolicy() & Qt::TabFocus) order.append(w->objectName());
    w = w->nextInFocusChain();
  } while (w != f.chkDHCP && order.size() < 40);
  QCOMPARE(order, (QStringList{"chkDHCP", "EditHostname", "EditMAC", "EditIP1", "EditIP2", "EditIP3", "EditIP4",
                               "EditNM1", "EditNM2", "EditNM3", "EditNM4", "EditGW1", "EditGW2", "EditGW3", "EditGW4",
                               "btnOK", "btnCancel"}));
  QCOMPARE(Texts(f), QStringList(12, QStringLiteral("0")));
  QCOMPARE(f.EditHostname->placeholderText(), QStringLiteral("\u00AB hostname \u00BB"));
  QCOMPARE(f.EditIP1->width(), 30);
  QCOMPARE(f.EditIP1->maxLength(), 3);
  QVERIFY(!f.btnOK->isDefault() && !f.btnOK->autoDefault());
  f.SetupNetwork(Camera());
  QVERIFY(!f.EditMAC->isEnabled());
  QCOMPARE(f.EditMAC->palette().color(QPalette::Disabled, QPalette::Base), QColor(240, 240, 240));
  QCOMPARE(f.EditMAC->text(), QStringLiteral("02-0A-1B-00-00-01"));
  QCOMPARE(f.EditHostname->text(), QStringLiteral("CAM1"));
}

void TestSetupDialog::filling_data() {
  QTest::addColumn<QString>("ip");
  QTest::addColumn<QStringList>("ipFields");
  QTest::addColumn<bool>("ok");
  // The fields held 192.168.1.10 from the opening before.
  QTest::newRow("four parts") << "10.0.0.5" << QStringList{"10", "0", "0", "5"} << true;
  QTest::newRow("fewer parts leave the rest") << "10.1" << QStringList{"10", "1", "1", "10"} << true;
  QTest::newRow("no address leaves all") << "" << QStringList{"192", "168", "1", "10"} << true;
  QTest::newRow("more than four parts") << "1.2.3.4.5" << QStringList{"1", "2", "3", "4"} << true;
  QTest::newRow("an octet out of range") << "10.999.0.1" << QStringList{"10", "999", "0", "1"} << false;
}

void TestSetupDialog::filling() {
  QFETCH(QString, ip);
  QFETCH(QStringList, ipFields);
  QFETCH(bool, ok);
  TScriptedPrompts prompts;
  TFormSetup f(prompts);
  f.SetupNetwork(Camera());
  TDeviceInfo device = Camera();
  device.IpAddress = ip.toStdString();
  device.Dhcp = true;
  bool modified = true;
  prompts.InDialog([&](QDialog&) { modified = f.Modified; });
  f.SetupNetwork(device);
  QCOMPARE(Texts(f).mid(0, 4), ipFields);
  QCOMPARE(Texts(f).mid(4), (QStringList{"255", "255", "255", "0", "192", "168", "1", "1"}));
  QVERIFY(!modified);  // filling is not a change by the user
  QVERIFY(f.chkDHCP->isChecked());
  QVERIFY(!f.EditIP1->isEnabled() && !f.EditGW4->isEnabled());
  QCOMPARE(f.btnOK->isEnabled(), ok);
  QCOMPARE(f.HasError, !ok);
  QCOMPARE(Red(f.EditIP2), !ok);
}

void TestSetupDialog::octetValidityDrivesOk() {
  TScriptedPrompts prompts;
  TFormSetup f(prompts);
  prompts.InDialog([&](QDialog& dialog) {
    Type(dialog, f.EditIP2, QStringLiteral("300"));
    QVERIFY(Red(f.EditIP2));
    QVERIFY(!f.btnOK->isEnabled());
    QCOMPARE(f.EditIP2->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::white));
    Type(dialog, f.EditIP2, QStringLiteral("30"));
    QVERIFY(!f.EditIP2->ErrorState());
    QVERIFY(f.btnOK->isEnabled());
    // An octet out of range keeps OK disabled although DHCP disables the field.
    Type(dialog, f.EditGW4, QStringLiteral("256"));
    f.chkDHCP->click();
    QVERIFY(!f.EditGW4->isEnabled());
    QVERIFY(Red(f.EditGW4));
    QVERIFY(!f.btnOK->isEnabled());
    QVERIFY(f.btnCancel->isEnabled());
    f.chkDHCP->click();
    Type(dialog, f.EditGW4, QStringLiteral("254"));
    QVERIFY(f.btnOK->isEnabled());
    QVERIFY(f.Modified);
    f.btnCancel->click();
  });
  QCOMPARE(f.SetupNetwork(Camera()), int(QDialog::Rejected));
}

void TestSetupDialog::octetFieldsTyping() {
  TScriptedPrompts prompts;
  TFormSetup f(prompts);
  prompts.InDialog([&](QDialog& dialog) {
    // The third character moves on to the next field; letters and signs do not go in.
    Type(dialog, f.EditNM1, QStringLiteral("2a-55"));
    QCOMPARE(f.EditNM1->text(), QStringLiteral("255"));
    QCOMPARE(QApplication::focusWidget(), f.EditNM2);
    Type(dialog, f.EditNM2, QStringLiteral("12"));
    QCOMPARE(QApplication::focusWidget(), f.EditNM2);
    // Left empty, a field shows 0 again.
    Type(dialog, f.EditNM2, QString());
    QCOMPARE(f.EditNM2->text(), QString());
    QVERIFY(f.btnOK->isEnabled());  // empty counts as 0
    QTest::keyClick(f.EditNM2, Qt::Key_Tab);
    QCOMPARE(f.EditNM2->text(), QStringLiteral("0"));
    QCOMPARE(QApplication::focusWidget(), f.EditNM3);
    QCOMPARE(f.EditIP1->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  });
  f.SetupNetwork(Camera());
}

// ---------------------------------------------------------------- against cameras

enum { Clean = 1, Target = 2, Silent = 3 };  // Silent never answers a file read

void TestSetupDialog::initTestCase() {
  QVERIFY(Start(QStringLiteral("127.0.11.11"), 3,
                {QStringLiteral("--fault"), QStringLiteral("3:noreply@4100"), QStringLiteral("--reboot-time"),
                 QStringLiteral("0.3")}));
  QCOMPARE(Form().GridDevices->RowCount(), 3);
}

void TestSetupDialog::init() { Forget(); }

void TestSetupDialog::cleanupTestCase() { Stop(); }

TDeviceInfo TestSetupDialog::Row(int camera) {
  Form().GridDevices->SelectRow(camera - 1);
  Form().CopyRowToDevice(camera - 1);
  return Form().CurrentDevice;
}

void TestSetupDialog::okWithoutChangeSendsNothing() {
  Row(Clean);
  Prompts().InDialog([](QDialog& dialog) { static_cast<TFormSetup&>(dialog).btnOK->click(); });
  Form().tbnSetupIP->click();
  QCOMPARE(Prompts().CallsOf("ExecDialog").size(), size_t(1));
  QCOMPARE(Form().FormSetup->result(), int(QDialog::Accepted));
  QTest::qWait(300);
  QCOMPARE(Sim->LogWith(QStringLiteral("MSG_")), QStringList());
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
}

void TestSetupDialog::writesByMacAddress_data() {
  QTest::addColumn<bool>("dhcp");
  QTest::addColumn<QStringList>("ip");
  QTest::addColumn<QStringList>("expected");  // lines of the camera's "device.ini"
  QTest::newRow("octets as typed, leading zeros included")
      << false << QStringList{"192", "168", "001", "010"}
      << QStringList{"IP=192.168.001.010", "NetMask=255.0.0.0", "Gateway=127.0.0.1", "DHCP=0", "NetBiosName=CAM-Two"};
  QTest::newRow("DHCP on still writes the addresses")
      << true << QStringList{"10", "0", "0", "5"}
      << QStringList{"IP=10.0.0.5", "NetMask=255.0.0.0", "Gateway=127.0.0.1", "DHCP=1", "NetBiosName=CAM-Two"};
}

// The record names camera 1's address but camera 2's MAC: only camera 2 may
// change, and only through broadcasts that name its MAC.
void TestSetupDialog::writesByMacAddress() {
  QFETCH(bool, dhcp);
  QFETCH(QStringList, ip);
  QFETCH(QStringList, expected);
  const std::string before = CameraFile(Clean, "device.ini");
  TDeviceInfo device = Row(Target);
  device.IpAddress = Sim->Address(Clean).toStdString();
  TFormSetup& f = *Form().FormSetup;
  Prompts().InDialog([&](QDialog& dialog) {
    if (dhcp) f.chkDHCP->click();
    Type(dialog, f.EditHostname, QStringLiteral("CAM-Two"));
    const std::array<TNumberEdit*, 4> fields{f.EditIP1, f.EditIP2, f.EditIP3, f.EditIP4};
    for (int i = 0; i < 4; ++i) fields[i]->setText(ip[i]);
    f.btnOK->click();
  });
  Sim->ForgetLog();
  QCOMPARE(f.SetupNetwork(device), int(QDialog::Accepted));
  QCOMPARE(Prompts().TextsOf("Confirm"), QStringList{"Network settings changed. Reboot now?"});
  QVERIFY(Sim->WaitForLog(QStringLiteral("MSG_WRITE_FILE")));
  const QStringList sent = Sim->LogWith(QStringLiteral("MSG_"));
  QCOMPARE(sent.size(), 2);  // the read of "device.ini", then its write
  for (const QString& line : sent) {
    QVERIFY2(line.contains(QStringLiteral("cam 2 [")) && line.contains(QStringLiteral("(broadcast)")),
             qPrintable(line));
  }
  const QStringList file = QString::fromStdString(CameraFile(Target, "device.ini")).split(QStringLiteral("\r\n"));
  for (const QString& line : expected) QVERIFY2(file.contains(line), qPrintable(line + " in:\n" + file.join('\n')));
  QCOMPARE(CameraFile(Clean, "device.ini"), before);
}

void TestSetupDialog::rebootGoesByMacAddress() {
  TDeviceInfo device = Row(Target);
  device.IpAddress = Sim->Address(Clean).toStdString();
  TFormSetup& f = *Form().FormSetup;
  Prompts().Answer("Confirm", {true, {}});
  Prompts().InDialog([&](QDialog&) {
    f.EditGW4->setText(QStringLiteral("254"));
    f.btnOK->click();
  });
  QCOMPARE(f.SetupNetwork(device), int(QDialog::Accepted));
  QCOMPARE(Prompts().CallsOf("Information").size(), size_t(1));
  QVERIFY(Sim->WaitForLog(QStringLiteral("rebooting")));
  const QStringList reboot = Sim->LogWith(QStringLiteral("MSG_REBOOT"));
  QCOMPARE(reboot.size(), 1);
  QVERIFY2(reboot.first().contains(QStringLiteral("cam 2 [")) && reboot.first().contains(QStringLiteral("(broadcast)")),
           qPrintable(reboot.first()));
  QVERIFY(Sim->WaitForLog(QStringLiteral("back after reboot")));
  QVERIFY(Sim->LogWith(QStringLiteral("cam 1 [")).isEmpty());
}

void TestSetupDialog::failedWriteShowsErrorAndCloses() {
  Row(Silent);
  TFormSetup& f = *Form().FormSetup;
  Prompts().InDialog([&](QDialog&) {
    f.EditIP4->setText(QStringLiteral("99"));
    f.btnOK->click();
  });
  Form().tbnSetupIP->click();
  QCOMPARE(f.result(), int(QDialog::Accepted));
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Error: failed to write network settings"});
  QCOMPARE(Prompts().TextsOf("Confirm"), QStringList());
  QVERIFY(Sim->LogWith(QStringLiteral("MSG_WRITE_FILE")).isEmpty());
}

// A broadcast without a MAC address would reach every camera, and each would
// take the address: nothing is sent.
void TestSetupDialog::noMacAddressSendsNothing() {
  TDeviceInfo device = Row(Target);
  device.MacAddress.clear();
  TFormSetup& f = *Form().FormSetup;
  Prompts().InDialog([&](QDialog&) {
    f.EditIP4->setText(QStringLiteral("99"));
    f.btnOK->click();
  });
  QCOMPARE(f.SetupNetwork(device), int(QDialog::Accepted));
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Error: failed to write network settings"});
  QTest::qWait(300);
  QCOMPARE(Sim->LogWith(QStringLiteral("MSG_")), QStringList());
}

QTEST_MAIN(TestSetupDialog)
#include "test_gui_setup.moc"
