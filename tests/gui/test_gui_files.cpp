// The camera's files and the configuration backup driven as a user drives
// them, against simulated cameras: "Read file" and "Write file", the
// read-modify-write of "device.ini", and "Download backup" with factory and
// user credentials. What reached the camera is read back over the protocol.

#include <httplib.h>

#include <QFile>
#include <QListWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "TSimSuite.h"
#include "UBackupDownload.h"
#include "UMessages.h"
#include "UPassword.h"
#include "USelect.h"

namespace {

enum TCamera {
  Clean = 1,       // answers everything; factory credentials
  Guarded = 2,     // backup only for admin / secret; never answers a file write
  Unreadable = 3,  // refuses every file read (Status 5)
  Unlisted = 4,    // never answers the file list; its backup comes 3 s late
};

const QStringList SimOptions = {
    QStringLiteral("--camera"), QStringLiteral("2:http_user=admin"),
    QStringLiteral("--camera"), QStringLiteral("2:http_password=secret"),
    QStringLiteral("--fault"),  QStringLiteral("2:noreply@4120"),
    QStringLiteral("--fault"),  QStringLiteral("3:status=5@4100"),
    QStringLiteral("--fault"),  QStringLiteral("4:noreply@4126"),
    QStringLiteral("--fault"),  QStringLiteral("4:httpslow=3000"),
    QStringLiteral("--first-serial"), QStringLiteral("810001"),
    QStringLiteral("--reboot-time"), QStringLiteral("0.3"),
};

const QStringList IniFiles = {"device.ini",   "event_cfg.ini",   "ftp_cfg.ini",
                              "io_cfg.ini",   "ocrp_cfg.ini",    "ocrp_cfg.ini.bak"};

// What the user sees and does in the selection dialog.
struct TSelectSeen {
  QStringList Items;
  int Row = -2;
  int PointSize = 0;
  QString Caption, Prompt;
};

TScriptedPrompts::TDialogAction Choose(const QString& name, TSelectSeen* seen = nullptr) {
  return [name, seen](QDialog& dialog) {
    auto& select = static_cast<TFormSelect&>(dialog);
    if (seen) {
      for (int i = 0; i < select.Listbox1->count(); ++i) seen->Items.append(select.Listbox1->item(i)->text());
      const auto selected = select.Listbox1->selectedItems();
      seen->Row = selected.isEmpty() ? -1 : select.Listbox1->row(selected.first());
      seen->PointSize = select.Listbox1->font().pointSize();
      seen->Caption = select.windowTitle();
      seen->Prompt = select.PanelPrompt->text();
    }
    const auto found = select.Listbox1->findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) return;
    select.Listbox1->setCurrentItem(found.first());
    select.btnOK->click();
  };
}

TScriptedPrompts::TDialogAction Credentials(const QString& user, const QString& password,
                                            QStringList* shown = nullptr) {
  return [=](QDialog& dialog) {
    auto& form = static_cast<TFormPassword&>(dialog);
    if (shown) *shown = QStringList{form.EditUsername->text(), form.EditPassword->text()};
    form.EditUsername->setText(user);
    form.EditPassword->setText(password);
    form.btnOK->click();
  };
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every byte but zero, CR and LF, in lines ended by CR LF.
std::string EveryByte() {
  std::string text;
  int inLine = 0;
  for (int b = 1; b < 256; ++b) {
    if (b == '\r' || b == '\n') continue;
    text += static_cast<char>(b);
    if (++inLine == 16) {
      text += "\r\n";
      inLine = 0;
    }
  }
  return text + "\r\n";
}

}  // namespace

class TestFiles : public QObject, public TSimSuite {
  Q_OBJECT
private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();

  void readFileOffersIniFilesAndRemembersChoice();
  void unEditedFileGoesBackByteForByte_data();
  void unEditedFileGoesBackByteForByte();
  void editedLinesAreSentWithCrLf();
  void failingReadWritesNothing();
  void networkSettingsEditDeviceIni();
  void listWithoutReplyShowsChosenErrcode();
  void writeWithoutReplyAsksNoReboot();

  void backupWithFactoryCredentialsAsksNothing();
  void backupAsksOnceForOtherCredentialsAndKeepsThem();
  void backupCancelledQuietly();
  void backupWithWrongPasswordShowsError();
  void backupAttemptGivesUpAtItsLimits();

  void writeThenReboot();

private:
  void Select(TCamera camera);
  QTemporaryDir Saved;
};

void TestFiles::initTestCase() {
  QVERIFY(Start(QStringLiteral("127.0.8.11"), 4, SimOptions));
  QCOMPARE(Form().GridDevices->RowCount(), 4);
}

void TestFiles::init() { Forget(); }

void TestFiles::cleanupTestCase() { Stop(); }

// The user selects the camera and turns to the DIAGNOSE page.
void TestFiles::Select(TCamera camera) {
  QVERIFY(SelectCamera(static_cast<int>(camera)));
  Form().PageControlSettings->setCurrentWidget(Form().tsDIAGNOSE);
  QCoreApplication::processEvents();
  Prompts().Forget();
}

// ---------------------------------------------------------------- files

void TestFiles::readFileOffersIniFilesAndRemembersChoice() {
  Select(Clean);
  const int closed = Form().Splitter1->sizes().value(1);
  TSelectSeen seen;
  Prompts().InDialog(Choose(QStringLiteral("device.ini"), &seen));
  Form().btnReadFile->click();

  // Only ".ini" names, sorted without regard to case; nothing preselected.
  QCOMPARE(seen.Items, IniFiles);
  QCOMPARE(seen.Row, -1);
  QCOMPARE(seen.PointSize, 8);
  QCOMPARE(seen.Caption, QStringLiteral("KALTO Lumidor"));
  QCOMPARE(seen.Prompt, QStringLiteral("Read file:"));
  QCOMPARE(QString::fromStdString(Form().LastReadFile), QStringLiteral("device.ini"));
  QString expected = QString::fromLatin1(CameraFile(Clean, "device.ini"));
  expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QCOMPARE(Form().MemoFile->toPlainText(), expected);
  QVERIFY(Form().btnWriteFile->isEnabled());
  const int pane = Form().Splitter1->sizes().value(1);
  QVERIFY2(pane > closed && qAbs(pane - Form().tsDIAGNOSE->height() / 2) <= 4,
           qPrintable(QStringLiteral("%1 of %2").arg(pane).arg(Form().tsDIAGNOSE->height())));

  // The remembered name is found again whatever its case; Cancel changes nothing.
  Form().LastReadFile = "DEVICE.INI";
  seen = {};
  Prompts().InDialog([&](QDialog& dialog) {
    const auto selected = static_cast<TFormSelect&>(dialog).Listbox1->selectedItems();
    seen.Row = selected.isEmpty() ? -1 : static_cast<TFormSelect&>(dialog).Listbox1->row(selected.first());
    dialog.reject();
  });
  Form().btnReadFile->click();
  QCOMPARE(seen.Row, 0);
  QCOMPARE(QString::fromStdString(Form().LastReadFile), QStringLiteral("DEVICE.INI"));
  QCOMPARE(Form().MemoFile->toPlainText(), expected);
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
}

void TestFiles::unEditedFileGoesBackByteForByte_data() {
  QTest::addColumn<QByteArray>("contents");
  const std::string every = EveryByte();
  QTest::newRow("every byte but zero, CR and LF") << QByteArray(every.data(), static_cast<int>(every.size()));
  QTest::newRow("empty last line") << QByteArray("[A]\r\nk=v\r\n\r\n");
  QTest::newRow("empty lines only") << QByteArray("\r\n\r\n");
  QTest::newRow("empty file") << QByteArray();
}

void TestFiles::unEditedFileGoesBackByteForByte() {
  QFETCH(QByteArray, contents);
  const std::string original = contents.toStdString();
  PutCameraFile(Clean, "roundtrip.ini", original);
  QCOMPARE(CameraFile(Clean, "roundtrip.ini"), original);
  Select(Clean);
  Prompts().InDialog(Choose(QStringLiteral("roundtrip.ini")));
  Form().btnReadFile->click();
  QCOMPARE(QString::fromStdString(Form().LastReadFile), QStringLiteral("roundtrip.ini"));
  QVERIFY(Form().Splitter1->sizes().value(1) > 100);  // the pane opens for an empty file too
  PutCameraFile(Clean, "roundtrip.ini", "something else\r\n");

  Prompts().Answer("Confirm", {true, {}});   // write
  Prompts().Answer("Confirm", {false, {}});  // no reboot
  Form().btnWriteFile->click();
  QCOMPARE(Prompts().TextsOf("Confirm"),
           (QStringList{"Write file roundtrip.ini ?", "File roundtrip.ini written. Reboot now?"}));
  const std::string back = CameraFile(Clean, "roundtrip.ini");
  QCOMPARE(QByteArray(back.data(), static_cast<int>(back.size())).toHex(' '), contents.toHex(' '));
}

// The memo's last line needs no line break; every line goes with CR LF and
// the size word counts exactly the bytes sent.
void TestFiles::editedLinesAreSentWithCrLf() {
  PutCameraFile(Clean, "edit.ini", "[A]\r\nold=1\r\n");
  Select(Clean);
  Prompts().InDialog(Choose(QStringLiteral("edit.ini")));
  Form().btnReadFile->click();
  Form().MemoFile->setPlainText(QStringLiteral("[A]\nnew=2 \u00e9\u20ac\n\n[B]\nx=1"));
  Prompts().Answer("Confirm", {true, {}});
  Form().btnWriteFile->click();
  QCOMPARE(CameraFile(Clean, "edit.ini"), std::string("[A]\r\nnew=2 \xE9\x80\r\n\r\n[B]\r\nx=1\r\n"));
  QVERIFY(Sim->WaitForLog(QStringLiteral("\"edit.ini\" replaced, 27 bytes")));
}

// A refused read leaves the name chosen and the pane as it was; the empty
// pane is never written over the camera's file.
void TestFiles::failingReadWritesNothing() {
  Select(Unreadable);
  const int before = Form().Splitter1->sizes().value(1);
  Form().MemoFile->setPlainText(QStringLiteral("left from before"));
  Prompts().InDialog(Choose(QStringLiteral("device.ini")));
  Form().btnReadFile->click();
  QCOMPARE(QString::fromStdString(Form().LastReadFile), QStringLiteral("device.ini"));
  QCOMPARE(Form().MemoFile->toPlainText(), QString());
  QCOMPARE(Form().Splitter1->sizes().value(1), before);
  QVERIFY(Form().btnWriteFile->isEnabled());
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());

  Prompts().Answer("Confirm", {true, {}});
  Form().btnWriteFile->click();
  QCOMPARE(Prompts().TextsOf("Confirm"), QStringList());
  QCOMPARE(Prompts().TextsOf("MessageBox"),
           QStringList{"Error: file device.ini has not been read; nothing was written"});

  QVERIFY(!Form().WriteNetworkSettings(Host(Unreadable), std::string(), Form().CurrentDevice));
  QVERIFY(!Form().WriteOcrSettings(Host(Unreadable), std::string(), Form().CurrentDevice));
  QVERIFY(Sim->LogWith(QStringLiteral("(4120)")).isEmpty());
}

// Read, edit, write back: the camera's keys and their order stay, its
// comment goes, the tool's values replace the camera's.
void TestFiles::networkSettingsEditDeviceIni() {
  Select(Clean);
  TDeviceInfo record = Form().CurrentDevice;
  record.HostName = "CAM1";
  record.Gateway = "127.0.8.1";
  record.Dhcp = false;
  const std::string before = CameraFile(Clean, "device.ini");
  QVERIFY(before.rfind("; DOZU camera configuration\r\n[Device Parameters]\r\n", 0) == 0);
  QVERIFY(Form().WriteNetworkSettings(Host(Clean), std::string(), record));
  const std::string after = CameraFile(Clean, "device.ini");
  QVERIFY2(after.rfind("[Device Parameters]\r\nNetBiosName=CAM1\r\nSerialNumber=810001\r\n", 0) == 0, after.c_str());
  QVERIFY2(after.find("\r\n\r\n[Network ETH_IMX_0]\r\nIP=127.0.8.11\r\nNetMask=255.0.0.0\r\nGateway=127.0.8.1\r\n"
                      "DHCP=0\r\nMode=2\r\n") != std::string::npos,
           after.c_str());
  QVERIFY(after.size() > 4 && after.compare(after.size() - 4, 4, "\r\n\r\n") == 0);
  QVERIFY(Sim->WaitForLog(QStringLiteral("(4120)")));
  QCOMPARE(Sim->LogWith(QStringLiteral("(4120)")).size(), 1);
}

void TestFiles::listWithoutReplyShowsChosenErrcode() {
  Select(Unlisted);
  Form().btnReadFile->click();
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Error: failed to list files (errcode=16777215)"});
  QCOMPARE(Prompts().TextsOf("ExecDialog"), QStringList());
}

void TestFiles::writeWithoutReplyAsksNoReboot() {
  Select(Guarded);
  Prompts().InDialog(Choose(QStringLiteral("io_cfg.ini")));
  Form().btnReadFile->click();
  QVERIFY(!Form().MemoFile->toPlainText().isEmpty());
  Prompts().Answer("Confirm", {true, {}});
  Prompts().Answer("Confirm", {true, {}});
  Form().btnWriteFile->click();
  QCOMPARE(Prompts().TextsOf("Confirm"), QStringList{"Write file io_cfg.ini ?"});
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
  QVERIFY(Sim->WaitForLog(QStringLiteral("(4120)")));
}

// --------------------------------------------------------------- backup

void TestFiles::backupWithFactoryCredentialsAsksNothing() {
  Select(Clean);
  const QString target = Saved.filePath(QStringLiteral("clean.bin"));
  Prompts().Answer("SaveFile", {true, target});
  Form().btnBackup->click();
  QCOMPARE(Prompts().TextsOf("SaveFile"), QStringList{"ANPR_810001.bin"});
  QCOMPARE(Prompts().TextsOf("ExecDialog"), QStringList());
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Backup saved " + target});

  httplib::Client http(Host(Clean), Sim->HttpPort);
  http.set_basic_auth("fieldtech", "fieldtech");
  const auto served = http.Get("/cgi-bin/DozuConfig.bin");
  QVERIFY(served && served->status == 200 && !served->body.empty());
  const QByteArray saved = ReadAll(target);
  QCOMPARE(saved.size(), static_cast<qsizetype>(served->body.size()));
  QVERIFY(saved == QByteArray(served->body.data(), static_cast<qsizetype>(served->body.size())));
}

void TestFiles::backupAsksOnceForOtherCredentialsAndKeepsThem() {
  Select(Guarded);
  const QString target = Saved.filePath(QStringLiteral("guarded.bin"));
  QStringList shown;
  Prompts().Answer("SaveFile", {true, target});
  Prompts().InDialog(Credentials(QStringLiteral("admin"), QStringLiteral("secret"), &shown));
  Form().btnBackup->click();
  QCOMPARE(Prompts().CallsOf("ExecDialog").size(), size_t(1));
  QCOMPARE(shown, (QStringList{QString(), QString()}));
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Backup saved " + target});
  QVERIFY(ReadAll(target).size() > 512);

  // The next download offers what was typed, for this run only.
  Prompts().Forget();
  QFile::remove(target);
  Prompts().Answer("SaveFile", {true, target});
  Prompts().InDialog(Credentials(QStringLiteral("admin"), QStringLiteral("secret"), &shown));
  Form().btnBackup->click();
  QCOMPARE(shown, (QStringList{"admin", "secret"}));
  QVERIFY(ReadAll(target).size() > 512);
  Form().SaveSettings(Form().SettingsFile());
  const QByteArray settings = Rig->SettingsText();
  QVERIFY(!settings.isEmpty());
  QVERIFY(!settings.contains("secret") && !settings.contains("admin"));
}

void TestFiles::backupCancelledQuietly() {
  Select(Guarded);
  const QString target = Saved.filePath(QStringLiteral("cancelled.bin"));
  Form().btnBackup->click();  // the save dialog cancelled
  Prompts().Answer("SaveFile", {true, target});
  Prompts().InDialog([](QDialog& dialog) { dialog.reject(); });
  Form().btnBackup->click();  // the credentials cancelled
  QCOMPARE(Prompts().CallsOf("SaveFile").size(), size_t(2));
  QCOMPARE(Prompts().CallsOf("ExecDialog").size(), size_t(1));
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
  QCOMPARE(Prompts().TextsOf("ErrorBox"), QStringList());
  QVERIFY(!QFile::exists(target));
}

void TestFiles::backupWithWrongPasswordShowsError() {
  Select(Guarded);
  const QString target = Saved.filePath(QStringLiteral("refused.bin"));
  Prompts().Answer("SaveFile", {true, target});
  Prompts().InDialog(Credentials(QStringLiteral("admin"), QStringLiteral("guess")));
  Form().btnBackup->click();
  QCOMPARE(Prompts().TextsOf("ErrorBox"), QStringList{"HTTP/1.1 401 Unauthorized"});
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
  QVERIFY(!QFile::exists(target));
  QCOMPARE(Form().BackupPassword, std::string("guess"));
}

// One attempt, with limits small enough to see each of them end it; the
// messages name the camera, never the credentials.
void TestFiles::backupAttemptGivesUpAtItsLimits() {
  struct TCase {
    const char* Name;
    std::string Host;
    uint16_t Port;
    TBackupLimits Limits;
    QString Class, Message;
  };
  TBackupLimits shortRead;
  shortRead.Read = std::chrono::milliseconds(300);
  TBackupLimits small;
  small.MaxBytes = 100;
  const quint16 closed = FreeTcpPort();
  const TCase cases[] = {
      {"late answer", Host(Unlisted), Sim->HttpPort, shortRead, "EReadTimeout", "No complete answer from "},
      {"too large", Host(Clean), Sim->HttpPort, small, "ESocketError", "is larger than 100 bytes"},
      {"nobody listening", "127.0.0.1", closed, {}, "EConnectError", "Could not connect to 127.0.0.1:"},
  };
  for (const TCase& c : cases) {
    QString kind, message;
    try {
      DownloadBackup(c.Host, c.Port, "fieldtech", "fieldtech", c.Limits);
    } catch (const EZudirirError& error) {
      kind = QString::fromStdString(error.ClassName);
      message = QString::fromStdString(error.what());
    }
    QVERIFY2(kind == c.Class && message.contains(c.Message), qPrintable(QStringLiteral("%1: %2 %3").arg(c.Name, kind, message)));
    QVERIFY(!message.contains(QStringLiteral("fieldtech")));
  }
}

// Last: the camera goes away for its reboot.
void TestFiles::writeThenReboot() {
  Select(Clean);
  Prompts().InDialog(Choose(QStringLiteral("ftp_cfg.ini")));
  Form().btnReadFile->click();
  Prompts().Answer("Confirm", {true, {}});
  Prompts().Answer("Confirm", {true, {}});
  Form().btnWriteFile->click();
  QCOMPARE(Prompts().TextsOf("Confirm"), (QStringList{"Write file ftp_cfg.ini ?", "File ftp_cfg.ini written. Reboot now?"}));
  QCOMPARE(Prompts().TextsOf("Information").size(), 1);
  QVERIFY(Prompts().TextsOf("Information")[0].startsWith(QStringLiteral("Reboot requested: ")));
  QVERIFY(Sim->WaitForLog(QStringLiteral("back after reboot")));
}

QTEST_MAIN(TestFiles)
#include "test_gui_files.moc"
