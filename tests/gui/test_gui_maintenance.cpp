// The maintenance commands and the picture capture driven as a user drives
// them, against simulated cameras: the clock, reboot, the error log, ping,
// the browser and the capture, with the cameras' fault switches. Exact
// request bytes are checked against a stand-in camera.

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

#include "TCameraPeer.h"
#include "TLumidorRig.h"
#include "TSimSuite.h"
#include "TTcpCameraPeer.h"
#include "TTestMessages.h"
#include "UPictureBox.h"

namespace {

// The cameras of this suite, by their place in the list (sorted by serial).
enum TCamera {
  Clean = 1,    // answers everything
  Failing = 2,  // Status 7 to the clock and the capture, Status 9 to reboot
  NoFiles = 3,  // cannot read files (Status 5)
  Silent = 4,   // takes TCP connections and never answers; no reply to reboot or the error log
};

const QStringList SimFaults = {
    QStringLiteral("--fault"), QStringLiteral("2:status=7@26011"),
    QStringLiteral("--fault"), QStringLiteral("2:status=7@25166"),
    QStringLiteral("--fault"), QStringLiteral("2:status=9@4098"),
    QStringLiteral("--fault"), QStringLiteral("3:status=5@4100"),
    QStringLiteral("--fault"), QStringLiteral("4:tcphang"),
    QStringLiteral("--fault"), QStringLiteral("4:noreply@4098"),
    QStringLiteral("--fault"), QStringLiteral("4:noreply@4118"),
    QStringLiteral("--first-serial"), QStringLiteral("710001"),
    QStringLiteral("--reboot-time"), QStringLiteral("0.3"),
};

const QString RebootText = QStringLiteral(
    "Reboot requested: This may take up to 110 seconds. During this time the ANPR will shutdown running services. "
    "The reboot is performed afterwards.");

QStringList MemoLines(const QPlainTextEdit* memo) { return memo->toPlainText().split(QLatin1Char('\n')); }

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

void PutText(std::vector<uint8_t>& bytes, size_t at, const std::string& text) {
  std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// A window whose one camera is a stand-in: it answers the search as the
// camera with this serial number and MAC address, and keeps every TCP
// request, answering each as a clock write succeeds.
struct TStandInCamera {
  TCameraPeer Udp;
  TTcpCameraPeer Tcp;
  std::unique_ptr<TLumidorRig> Rig;

  bool Start(int32_t serial, const std::string& mac) {
    if (!Udp.Listen() || !Tcp.Listening()) return false;
    TTestCamera camera;
    camera.SerialNumber = serial;
    camera.Ip = "127.0.0.1";
    camera.Mac = mac;
    Udp.Replies = {DeviceInfoReply(camera)};
    Tcp.SetReply(TTestMessage(26010).Bytes());
    Rig = std::make_unique<TLumidorRig>(Udp.Port());
    TZudirirEndpoints endpoints = Rig->Zudirir.Endpoints();
    endpoints.TcpPort = Tcp.Port();
    Rig->Zudirir.SetEndpoints(endpoints);
    return Rig->Start();
  }
};

// An error log payload as a camera lays it out: 104 header bytes, 128 per entry.
std::vector<uint8_t> ErrorLogPayload(int32_t total, int entries) {
  std::vector<uint8_t> p(104 + 128 * static_cast<size_t>(entries), 0);
  PutText(p, 0, "DOZU firmware 4.2");
  PutText(p, 40, "Jan 02 2024");
  PutText(p, 56, "12:00:00");
  PutWord(p, 68, static_cast<uint32_t>(total));
  PutWord(p, 72, 100);
  PutWord(p, 100, static_cast<uint32_t>(entries));
  for (int i = 0; i < entries; ++i) {
    const size_t e = 104 + 128 * static_cast<size_t>(i);
    PutText(p, e, "failure " + std::to_string(i + 1));
    PutWord(p, e + 64, static_cast<uint32_t>(100 + i));
    PutText(p, e + 68, "main.c");
    PutWord(p, e + 100, static_cast<uint32_t>(12 + i));
  }
  return p;
}

// The records of MSG_SET_DATE_TIME as a camera finds them after the header.
std::vector<uint8_t> SetDateTimePayload(uint32_t w1, uint32_t w2, uint32_t w3) {
  std::vector<uint8_t> p(4 * 14, 0);
  const uint32_t words[] = {12026, 12, w1, w2, w3, 10037, 4, 0, 13210, 4, 0};
  for (size_t i = 0; i < std::size(words); ++i) PutWord(p, 4 * i, words[i]);
  p.resize(4 * std::size(words));
  return p;
}

uint32_t WordOf(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

}  // namespace

class TestMaintenance : public QObject, public TSimSuite {
  Q_OBJECT
private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();

  void writePcTimeSendsTheClockReading();
  void writeSendsThePickersAndReportsStatus();
  void clockWrittenThenReadFillsPickers();
  void clockReadWithErrorStatusShowsErrcode();
  void silentCameraTimesOutAndWindowGoesOn();

  void rebootAsksAndAcceptsAnyReply();
  void rebootWithoutReplyShowsChosenErrcode();

  void errorLogNumbersEntriesDownFromTotal();
  void errorLogFromCameraWithCaretAtTop();
  void eraseSendsEraseThenGet();
  void errorLogWithoutReplySaysNothing();

  void pingStartsTerminalWithHostOnly();
  void pingWithoutTerminalSaysSo();
  void browserOpensHttpAddress();

  void captureReadsPlateLocatorFirst();
  void captureWithoutReadableSettingsKeepsThem();
  void captureWithErrorStatusShowsErrcode();
  void captureOnSilentCameraStopsAtTheError();

private:
  void Select(TCamera camera);
};

void TestMaintenance::initTestCase() {
  QVERIFY(Start(QStringLiteral("127.0.7.11"), 4, SimFaults));
  QCOMPARE(Form().GridDevices->RowCount(), 4);
}

void TestMaintenance::init() { Forget(); }

void TestMaintenance::cleanupTestCase() { Stop(); }

void TestMaintenance::Select(TCamera camera) {
  QVERIFY(SelectCamera(static_cast<int>(camera)));
  Prompts().Forget();
}

// ------------------------------------------------------------------- clock

// A stand-in camera keeps the exact request: the three TIME words of the
// clock reading, milliseconds included, then TIMEZONE 0 and 13210 0.
void TestMaintenance::writePcTimeSendsTheClockReading() {
  TStandInCamera camera;
  QVERIFY(camera.Start(4711, "00-0A-1B-2C-3D-4E"));
  TFormMain& f = *camera.Rig->Form;
  QCOMPARE(f.GridDevices->SelectedRow(), 0);
  const TDateTime reading = EncodeDateTime({2015, 3, 7, 9, 5, 3, 250});
  int readings = 0;
  f.Clock = [&] {
    ++readings;
    return reading;
  };
  f.btnWritePCDateTime->click();

  QCOMPARE(readings, 1);
  const auto requests = camera.Tcp.Requests();
  QCOMPARE(requests.size(), size_t(1));
  const std::vector<uint8_t>& r = requests[0];
  QCOMPARE(WordOf(r, 4), 26010u);
  QCOMPARE(WordOf(r, 12), 0xFFFFFFFFu);
  const std::vector<uint8_t> payload(r.begin() + 24, r.end());
  QCOMPARE(payload, SetDateTimePayload(0x07DF0307, 0x00050009, 0x00FA0003));
  QCOMPARE(f.EditDate1->date(), QDate(2015, 3, 7));
  QCOMPARE(f.EditTime1->time(), QTime(9, 5, 3, 250));
  QCOMPARE(camera.Rig->Prompts->TextsOf("Information"), QStringList{"Date and time have been changed"});
}

void TestMaintenance::writeSendsThePickersAndReportsStatus() {
  TStandInCamera camera;
  QVERIFY(camera.Start(4712, "00-0A-1B-2C-3D-4F"));
  TFormMain& f = *camera.Rig->Form;
  f.Clock = [] { return EncodeDateTime({2015, 3, 7, 9, 5, 3, 250}); };

  // The date picker still shows "0000-00-00": day zero with the picker's time.
  QCOMPARE(f.EditDate1->text(), QStringLiteral("0000-00-00"));
  f.EditTime1->setTime(QTime(10, 20, 30));
  f.btnWriteDateTime->click();
  // A date the user picked, and a camera that refuses it.
  f.EditDate1->setDate(QDate(2024, 2, 29));
  f.EditTime1->setTime(QTime(23, 59, 58));
  camera.Tcp.SetReply(TTestMessage(26010, 0, 3).Bytes());
  f.btnWriteDateTime->click();

  const auto requests = camera.Tcp.Requests();
  QCOMPARE(requests.size(), size_t(2));
  QCOMPARE(std::vector<uint8_t>(requests[0].begin() + 24, requests[0].end()),
           SetDateTimePayload(0x076B0C1E, 0x0014000A, 0x0000001E));
  QCOMPARE(std::vector<uint8_t>(requests[1].begin() + 24, requests[1].end()),
           SetDateTimePayload(0x07E8021D, 0x003B0017, 0x0000003A));
  QCOMPARE(camera.Rig->Prompts->TextsOf("Information"), QStringList{"Date and time have been changed"});
  QCOMPARE(camera.Rig->Prompts->TextsOf("MessageBox"), QStringList{"Error: failed to set date/time (errcode=3)"});
}

// End to end: the simulated camera takes the PC time and reports it back.
void TestMaintenance::clockWrittenThenReadFillsPickers() {
  Select(Clean);
  Form().Clock = [] { return EncodeDateTime({2015, 3, 7, 9, 5, 3, 250}); };
  Form().btnWritePCDateTime->click();
  Form().Clock = Now;
  QCOMPARE(Prompts().TextsOf("Information"), QStringList{"Date and time have been changed"});
  Form().EditDate1->setDate(QDate(2000, 1, 1));
  Form().EditTime1->setTime(QTime(0, 0));

  Form().btnReadDateTime->click();
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
  QCOMPARE(Form().EditDate1->date(), QDate(2015, 3, 7));
  // The camera's clock has run on since it was set.
  const QTime shown = Form().EditTime1->time();
  // (TIME comes back in whole seconds.)
  QVERIFY2(shown >= QTime(9, 5, 3) && shown < QTime(9, 6, 3), qPrintable(shown.toString()));
  const TDateTimeParts device = DecodeDateTime(Form().CurrentDevice.DeviceTime);
  QCOMPARE(shown, QTime(device.Hour, device.Minute, device.Second, device.Millisecond));
  QVERIFY(Sim->WaitForLog(QStringLiteral("clock set to 2015-03-07 09:05:03")));
}

void TestMaintenance::clockReadWithErrorStatusShowsErrcode() {
  Select(Failing);
  Form().EditDate1->setDate(QDate(2001, 2, 3));
  Form().btnReadDateTime->click();
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Error: failed to get date/time (errcode=7)"});
  QCOMPARE(Form().EditDate1->date(), QDate(2001, 2, 3));
}

// The TCP read time-out ends the wait; the error reaches the standard error
// box, the busy cursor goes, and the next command runs as usual.
void TestMaintenance::silentCameraTimesOutAndWindowGoesOn() {
  Select(Silent);
  QElapsedTimer waited;
  waited.start();
  Form().btnReadDateTime->click();
  const qint64 took = waited.elapsed();
  QCOMPARE(Prompts().TextsOf("ErrorBox"), QStringList{"Read timed out."});
  QVERIFY2(took >= 2500 && took < 30000, qPrintable(QString::number(took)));
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QVERIFY(Sim->WaitForLog(QStringLiteral("never answered")));

  Select(Clean);
  Form().btnReadDateTime->click();
  QCOMPARE(Prompts().TextsOf("ErrorBox"), QStringList());
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
}

// ------------------------------------------------------------------ reboot

void TestMaintenance::rebootAsksAndAcceptsAnyReply() {
  Select(Failing);
  Form().tbnReboot->click();  // answered No
  QCOMPARE(Prompts().TextsOf("Confirm"), QStringList{"Would you like to reboot the device ?"});
  QVERIFY(Sim->LogWith(QStringLiteral("MSG_REBOOT")).isEmpty());

  Prompts().Forget();
  Prompts().Answer("Confirm", {true, {}});
  Form().mnuReboot->trigger();
  QCOMPARE(Prompts().TextsOf("Confirm"), QStringList{"Would you like to reboot the device ?"});
  // The camera answered with Status 9 and still reboots.
  QCOMPARE(Prompts().TextsOf("Information"), QStringList{RebootText});
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
  QVERIFY(Sim->WaitForLog(QStringLiteral("back after reboot")));
}

void TestMaintenance::rebootWithoutReplyShowsChosenErrcode() {
  Select(Silent);
  Prompts().Answer("Confirm", {true, {}});
  Form().popReboot->trigger();
  QCOMPARE(Prompts().TextsOf("Information"), QStringList());
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Error: failed to reboot device (errcode=16777215)"});
  // It took the request all the same.
  QVERIFY(Sim->WaitForLog(QStringLiteral("back after reboot")));
}

// --------------------------------------------------------------- error log

// The report as the dispatcher hands it over; the camera's own log is
// shown by the button below.
void TestMaintenance::errorLogNumbersEntriesDownFromTotal() {
  Select(Clean);
  Form().MemoErrors->setPlainText(QStringLiteral("old report"));
  const std::vector<uint8_t> reply = TTestMessage(4118).Raw(ErrorLogPayload(250, 3)).Bytes();
  QVERIFY(Form().HandleReply(reply.data(), static_cast<uint32_t>(reply.size())));

  const QStringList lines = MemoLines(Form().MemoErrors);
  QCOMPARE(lines.size(), 9 + 3 * 8);
  QCOMPARE(lines[0], QStringLiteral("Firmware description:   ANPR firmware 4.2"));
  QCOMPARE(lines[3], QStringLiteral("Total errors count:     250"));
  const int headings[] = {9, 17, 25};
  const int numbers[] = {250, 249, 248};
  for (int i = 0; i < 3; ++i) {
    QCOMPARE(lines[headings[i]], QString());
    QCOMPARE(lines[headings[i] + 1], QStringLiteral("----- Error number %1 --------------------").arg(numbers[i]));
    QCOMPARE(lines[headings[i] + 2], QStringLiteral("Error description:      failure %1").arg(i + 1));
    QCOMPARE(lines[headings[i] + 4], QStringLiteral("Source file:            main.c:%1").arg(12 + i));
  }
  QVERIFY(Prompts().Calls.empty());
}

void TestMaintenance::errorLogFromCameraWithCaretAtTop() {
  Select(Clean);
  Form().btnGetErrors->click();
  const QStringList lines = MemoLines(Form().MemoErrors);
  QCOMPARE(lines.size(), 9 + 3 * 8);
  QVERIFY(lines[0].startsWith(QStringLiteral("Firmware description:   ")));
  QCOMPARE(lines[8], QStringLiteral("List errors number:     3"));
  QCOMPARE(Form().MemoErrors->textCursor().position(), 0);
  QVERIFY(Prompts().Calls.empty());
}

void TestMaintenance::eraseSendsEraseThenGet() {
  Select(Clean);
  Form().btnEraseErrors->click();
  QVERIFY(Sim->WaitForLog(QStringLiteral("MSG_GET_ERRORS(4118)")));
  const QStringList requests = Sim->LogWith(QStringLiteral("_ERRORS("));
  QCOMPARE(requests.size(), 2);
  QVERIFY2(requests[0].contains(QStringLiteral("MSG_ERASE_ERRORS(4119)")), qPrintable(requests[0]));
  QVERIFY2(requests[1].contains(QStringLiteral("MSG_GET_ERRORS(4118)")), qPrintable(requests[1]));
  const QStringList lines = MemoLines(Form().MemoErrors);
  QCOMPARE(lines.size(), 9);
  QCOMPARE(lines[3], QStringLiteral("Total errors count:     0"));
  QCOMPARE(lines[8], QStringLiteral("List errors number:     0"));
  QVERIFY(Prompts().Calls.empty());
}

void TestMaintenance::errorLogWithoutReplySaysNothing() {
  Select(Silent);
  Form().MemoErrors->setPlainText(QStringLiteral("old report"));
  Form().btnGetErrors->click();
  QCOMPARE(Form().MemoErrors->toPlainText(), QString());
  QVERIFY(Prompts().Calls.empty());
  QVERIFY(Sim->WaitForLog(QStringLiteral("MSG_GET_ERRORS(4118)")));
}

// ------------------------------------------------------- ping and browser

// The real launcher, with a search path that holds only a stand-in
// terminal: it records how it was called instead of opening a window.
void TestMaintenance::pingStartsTerminalWithHostOnly() {
  QTemporaryDir bin;
  const QString record = bin.filePath(QStringLiteral("called"));
  QFile script(bin.filePath(QStringLiteral("xterm")));
  QVERIFY(script.open(QIODevice::WriteOnly));
  script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\n").arg(record).toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", bin.path().toLocal8Bit());
  Select(Clean);
  Form().tbnPing->click();
  qputenv("PATH", path);

  QVERIFY(Prompts().Calls.empty());
  const auto called = [&record] {
    QFile file(record);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  };
  const QString expected = QStringLiteral("-e\nping\n%1\n").arg(Sim->Address(Clean));
  QTRY_COMPARE_WITH_TIMEOUT(called(), expected, 5000);
}

void TestMaintenance::pingWithoutTerminalSaysSo() {
  QTemporaryDir empty;
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", empty.path().toLocal8Bit());
  Select(Clean);
  Form().mnuPing->trigger();
  qputenv("PATH", path);
  const QStringList messages = Prompts().TextsOf("MessageBox");
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages[0].startsWith(QStringLiteral("No terminal window to run ping in was found")),
           qPrintable(messages[0]));

  // Every menu reaches the same launcher, with the selected camera's address.
  QStringList hosts;
  Form().LaunchPing = [&](const std::string& host, std::string&) {
    hosts.append(QString::fromStdString(host));
    return true;
  };
  Form().popPing->trigger();
  Form().LaunchPing = StartPingWindow;
  QCOMPARE(hosts, QStringList{Sim->Address(Clean)});
}

void TestMaintenance::browserOpensHttpAddress() {
  Select(NoFiles);
  Form().tbnWebConfig->click();
  Form().mnuWebConfig->trigger();
  const QString url = QStringLiteral("http://") + Sim->Address(NoFiles);
  QCOMPARE(Prompts().TextsOf("OpenUrl"), (QStringList{url, url}));
}

// ----------------------------------------------------------------- capture

void TestMaintenance::captureReadsPlateLocatorFirst() {
  Select(Clean);
  Form().CurrentDevice.SearchWindow = {};
  Form().CurrentDevice.CharSizeLimits = {};
  Form().PageControlImage->setCurrentWidget(Form().tsIMAGE1);
  Form().btnGetImage2->click();

  QVERIFY(Prompts().Calls.empty());
  QCOMPARE(Form().PageControlImage->currentWidget(), Form().tsIMAGE2);
  QVERIFY(Form().Image2->HasPicture());
  QVERIFY(!Form().Image1->HasPicture());
  QVERIFY(Form().ImageInfo2.AllowEdit && Form().ImageInfo2.AllowCapture);
  QVERIFY(Form().btnSaveImage2->isEnabled());
  // The camera's "ocrp_cfg.ini" gives its lane in percent.
  const TSearchWindow& w = Form().CurrentDevice.SearchWindow;
  QVERIFY(w.Percent);
  QCOMPARE((std::vector<int>{w.MinX, w.MinY, w.MaxX, w.MaxY}), (std::vector<int>{5, 30, 95, 90}));
  const TCharSizeLimits& l = Form().CurrentDevice.CharSizeLimits;
  QCOMPARE((std::vector<int>{l.MinWidth, l.MaxWidth, l.MinHeight, l.MaxHeight}), (std::vector<int>{8, 40, 12, 60}));
  QVERIFY(Sim->WaitForLog(QStringLiteral("(25166)")));
  const QStringList requests = Sim->LogWith(QStringLiteral("(4100)")) + Sim->LogWith(QStringLiteral("(25166)"));
  QCOMPARE(requests.size(), 2);
  QVERIFY(Sim->Log().indexOf(requests[0]) < Sim->Log().indexOf(requests[1]));
}

void TestMaintenance::captureWithoutReadableSettingsKeepsThem() {
  Select(NoFiles);
  TSearchWindow kept;
  kept.MinX = 1;
  kept.MinY = 2;
  kept.MaxX = 3;
  kept.MaxY = 4;
  Form().CurrentDevice.SearchWindow = kept;
  Form().tbnGetImage->click();
  QVERIFY(Prompts().Calls.empty());
  QCOMPARE(Form().PageControlImage->currentWidget(), Form().tsIMAGE1);
  QVERIFY(Form().Image1->HasPicture());
  const TSearchWindow& w = Form().CurrentDevice.SearchWindow;
  QCOMPARE((std::vector<int>{w.MinX, w.MinY, w.MaxX, w.MaxY, w.Percent}), (std::vector<int>{1, 2, 3, 4, 0}));
}

void TestMaintenance::captureWithErrorStatusShowsErrcode() {
  Select(Failing);
  Form().btnGetImage1->click();
  QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Error: failed to get image (errcode=7)"});
  QVERIFY(!Form().Image1->HasPicture());
}

// The settings file still arrives over UDP; the picture request then waits
// for the read time-out, and the handler ends there.
void TestMaintenance::captureOnSilentCameraStopsAtTheError() {
  Select(Silent);
  Form().PageControlImage->setCurrentWidget(Form().tsIMAGE2);
  Form().popGetImage->trigger();
  QCOMPARE(Prompts().TextsOf("ErrorBox"), QStringList{"Read timed out."});
  QCOMPARE(Form().PageControlImage->currentWidget(), Form().tsIMAGE1);
  QVERIFY(!Form().Image1->HasPicture());
  QVERIFY(QApplication::overrideCursor() == nullptr);

  Select(Clean);
  Form().btnGetImage1->click();
  QVERIFY(Prompts().Calls.empty());
  QVERIFY(Form().Image1->HasPicture());
}

QTEST_MAIN(TestMaintenance)
#include "test_gui_maintenance.moc"
