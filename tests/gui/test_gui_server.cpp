// The event server driven over real loopback connections: starting and
// stopping, cameras connecting, text and protocol messages pushed in pieces,
// back to back and from several cameras at once, saving pushed pictures,
// the Save buttons and re-opening saved pictures from the message list.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <map>
#include <memory>

#include "TCameraPeer.h"
#include "TLumidorRig.h"
#include "TSimProcess.h"
#include "TTestMessages.h"
#include "UPictureBox.h"
#include "UQtBridge.h"

namespace {

using TBytes = std::vector<uint8_t>;

// A camera that pushes to the event server from its own loopback address.
class TPushingCamera {
public:
  explicit TPushingCamera(const QString& address) : Address(address) {}
  bool Connect(quint16 port) {
    if (!Socket.bind(QHostAddress(Address), 0)) return false;
    Socket.connectToHost(QHostAddress::LocalHost, port);
    return Socket.waitForConnected(3000);
  }
  void Send(const TBytes& bytes) {
    Queue(bytes);
    while (Socket.bytesToWrite() > 0 && Socket.waitForBytesWritten(3000)) {
    }
  }
  // Leaves the writing to the event loop, for more than the system buffers.
  void Queue(const TBytes& bytes) {
    Socket.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  }
  QString Address;
  QTcpSocket Socket;
};

quint16 FreeTcpPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::AnyIPv4, 0);
  return probe.serverPort();
}

TBytes Slice(const TBytes& bytes, size_t from, size_t to) {
  return TBytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(to));
}

TBytes Join(std::initializer_list<TBytes> parts) {
  TBytes out;
  for (const TBytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A pushed plate read: serial number, plate, transit id and, if given, the
// two pictures (three lines, plus one per picture).
TBytes Transit(uint32_t transitId, const TBytes& bw = {}, const TBytes& col = {}) {
  TTestMessage m(40000);
  m.Word(14017, 7001).Text(14003, "AB123CD").Word(14009, transitId);
  if (!bw.empty()) m.Record(14020, bw);
  if (!col.empty()) m.Record(14021, col);
  return m.Bytes();
}

std::vector<std::string> InfoBlock(const std::string& host, const std::string& plate) {
  return {"[INFO]", "S_NETBIOSNAME=" + host, "I_SN=7001", "S_DATE=2014-05-06", "S_TIME=12-34-56-789",
          "S_PLATE=" + plate};
}

// The message list, one "From|Type|Value" text per line.
QStringList Lines(const TFormMain& f) {
  QStringList lines;
  for (int i = 0; i < f.ListViewMsgRx->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* line = f.ListViewMsgRx->topLevelItem(i);
    lines.append(line->text(1) + QLatin1Char('|') + line->text(2) + QLatin1Char('|') + line->text(3));
  }
  return lines;
}

QStringList TransitLines(const QString& from, uint32_t transitId) {
  return {from + "|SERIAL_NUMBER|7001", from + "|PLATE|AB123CD", from + "|TRANSIT_ID|" + QString::number(transitId)};
}

TBytes ReadFile(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  return TBytes(data.begin(), data.end());
}

void DoubleClickLine(TFormMain& f, int index) {
  QTreeWidgetItem* line = f.ListViewMsgRx->topLevelItem(index);
  f.ListViewMsgRx->scrollToItem(line);
  const QPoint at = f.ListViewMsgRx->visualItemRect(line).center();
  // As the system delivers a double click: a click, then the second press.
  QTest::mouseClick(f.ListViewMsgRx->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(f.ListViewMsgRx->viewport(), Qt::LeftButton, {}, at);
}

TTestCamera Camera(int32_t serial, const std::string& ip) {
  TTestCamera c;
  c.SerialNumber = serial;
  c.Ip = ip;
  c.Mac = "00-0A-1B-2C-3D-" + std::to_string(10 + serial);
  c.HostName = "CAM" + std::to_string(serial);
  return c;
}

// A window whose event server listens on a free port.
struct TServerRig {
  explicit TServerRig(quint16 udpPort = FreeUdpPort()) : Rig(udpPort) {}
  bool Start(bool show = true) {
    if (show && !Rig.Start()) return false;
    Port = FreeTcpPort();
    Form().EditServerPort->setText(QString::number(Port));
    Form().btnServerStart->click();
    return Form().ServerActive();
  }
  // A camera from address, connected and seen by the window.
  std::unique_ptr<TPushingCamera> Camera(const QString& address) {
    auto camera = std::make_unique<TPushingCamera>(address);
    if (!camera->Connect(Port)) return nullptr;
    const QString seen = QStringLiteral("Connected to ") + address;
    for (int i = 0; i < 100 && Form().lblServerStatus->text() != seen; ++i) QTest::qWait(20);
    return camera;
  }
  TFormMain& Form() { return *Rig.Form; }
  TLumidorRig Rig;
  quint16 Port = 0;
};

// Stands between dozusim's cameras and the window: forwards every byte from
// the camera's own address and keeps a copy, so the test knows what was sent.
class TRelay : public QObject {
public:
  explicit TRelay(quint16 target) : Target(target) {
    Server.listen(QHostAddress::LocalHost, 0);
    connect(&Server, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* in = Server.nextPendingConnection()) Accept(in);
    });
  }
  quint16 Port() const { return Server.serverPort(); }
  QByteArray Sent;  // everything the cameras sent, in order

private:
  void Accept(QTcpSocket* in) {
    auto* out = new QTcpSocket(in);
    out->bind(in->peerAddress(), 0);
    out->connectToHost(QHostAddress::LocalHost, Target);  // writes wait for the connection
    connect(in, &QTcpSocket::readyRead, this, [this, in, out] {
      const QByteArray bytes = in->readAll();
      Sent += bytes;
      out->write(bytes);
    });
    connect(in, &QTcpSocket::disconnected, out, [out] { out->disconnectFromHost(); });
  }
  QTcpServer Server;
  quint16 Target;
};

// The value of every record of the first message in bytes, by identifier.
std::map<uint32_t, TBytes> RecordsOfFirstMessage(const QByteArray& bytes, int& count) {
  auto word = [&](qsizetype at) {
    uint32_t w = 0;
    for (int i = 3; i >= 0; --i) w = (w << 8) | static_cast<uint8_t>(bytes[at + i]);
    return w;
  };
  std::map<uint32_t, TBytes> records;
  count = 0;
  if (bytes.size() < 24) return records;
  const qsizetype end = std::min<qsizetype>(bytes.size(), 24 + word(20));
  for (qsizetype at = 24; at + 8 <= end;) {
    const uint32_t id = word(at), length = word(at + 4);
    if (at + 8 + length > end) break;
    records[id] = TBytes(bytes.begin() + at + 8, bytes.begin() + at + 8 + length);
    ++count;
    at += 8 + ((length + 3) & ~3u);
  }
  return records;
}

}  // namespace

class TestEventServer : public QObject {
  Q_OBJECT
private slots:
  void portThatCannotBeOpened_data();
  void portThatCannotBeOpened();
  void startListensEverywhereStopClosesConnections();
  void connectingCameraSelectsItsRow();
  void textBecomesOneStringLine();
  void messagesInPiecesBackToBackAndTimedOut();
  void camerasSendingAtOnceKeepTheirBytes();
  void floodIsListedWholeAndInOrder();
  void failedMessageIsDroppedAlone();
  void saveImagesCheckBoxAndLabel();
  void pushedPicturesSavedAndReopened();
  void saveButtons();
  void clearWhileServerRuns();
  void dozusimPushesPlateReads();
};

// ------------------------------------------------------------ start and stop

void TestEventServer::portThatCannotBeOpened_data() {
  QTest::addColumn<QString>("port");
  QTest::addColumn<bool>("busy");
  QTest::newRow("another program listens") << QString() << true;
  // Neither is cut to 16 bits nor left to the system to choose.
  QTest::newRow("zero") << QStringLiteral("0") << false;
  QTest::newRow("above 65535") << QStringLiteral("65537") << false;
}

void TestEventServer::portThatCannotBeOpened() {
  QFETCH(QString, port);
  QFETCH(bool, busy);
  QTcpServer other;
  if (busy) {
    QVERIFY(other.listen(QHostAddress::AnyIPv4, 0));
    port = QString::number(other.serverPort());
  }
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  f.PageControlImage->setCurrentWidget(f.tsIMAGE2);
  f.EditServerPort->setText(port);
  f.mnuServerStart->trigger();  // F2
  QCOMPARE(rig.Prompts->TextsOf(QStringLiteral("MessageBox")),
           QStringList{QStringLiteral("Error: failed to activate tcpserver port ") + port});
  QVERIFY(!f.ServerActive());
  QVERIFY(f.btnServerStart->isEnabled() && f.tbnServerStart->isEnabled() && f.mnuServerStart->isEnabled());
  QVERIFY(f.EditServerPort->isEnabled());
  QVERIFY(!f.btnServerStop->isEnabled() && !f.tbnServerStop->isEnabled() && !f.mnuServerStop->isEnabled());
  QCOMPARE(f.PageControlSettings->currentWidget(), f.tsSERVER);
}

void TestEventServer::startListensEverywhereStopClosesConnections() {
  TServerRig s;
  QVERIFY(s.Start(false));
  TFormMain& f = s.Form();
  QVERIFY(s.Rig.Prompts->Calls.empty());
  QVERIFY(!f.btnServerStart->isEnabled() && !f.tbnServerStart->isEnabled() && !f.EditServerPort->isEnabled());
  QVERIFY(f.btnServerStop->isEnabled() && f.tbnServerStop->isEnabled() && f.mnuServerStop->isEnabled());

  auto v4 = s.Camera(QStringLiteral("127.0.0.5"));
  QVERIFY(v4);
  QCOMPARE(f.lblServerStatus->text(), QStringLiteral("Connected to 127.0.0.5"));
  // IPv6 too, where the machine has it.
  std::unique_ptr<TPushingCamera> v6;
  QTcpSocket probe;
  if (probe.bind(QHostAddress::LocalHostIPv6, 0)) {
    probe.close();
    v6 = std::make_unique<TPushingCamera>(QStringLiteral("::1"));
    v6->Socket.connectToHost(QHostAddress::LocalHostIPv6, s.Port);
    QVERIFY(v6->Socket.waitForConnected(3000));
    QTRY_COMPARE(f.lblServerStatus->text(), QStringLiteral("Connected to ::1"));
  }

  f.mnuServerStop->trigger();  // Shift+F2
  QVERIFY(!f.ServerActive());
  QVERIFY(f.btnServerStart->isEnabled() && !f.btnServerStop->isEnabled());
  QTRY_COMPARE(v4->Socket.state(), QAbstractSocket::UnconnectedState);
  if (v6) QTRY_COMPARE(v6->Socket.state(), QAbstractSocket::UnconnectedState);

  // Started again on the same port.
  f.tbnServerStart->click();
  QVERIFY(f.ServerActive());
  QVERIFY(s.Camera(QStringLiteral("127.0.0.6")));
}

void TestEventServer::connectingCameraSelectsItsRow() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  // Sorted by serial number, 127.0.0.12 is listed above 127.0.0.1.
  peer.Replies = {DeviceInfoReply(Camera(1, "127.0.0.12")), DeviceInfoReply(Camera(2, "127.0.0.1"))};
  TServerRig s(peer.Port());
  QVERIFY(s.Start());
  TFormMain& f = s.Form();
  QCOMPARE(f.GridDevices->Cell(colIPADDR, 0), QStringLiteral("127.0.0.12"));
  f.GridDevices->SelectRow(1);
  f.Image1->SetPicture(QImage(8, 8, QImage::Format_RGB888), TestJpeg(8, 8));
  f.UpdateControls();

  // The first row whose address contains the camera's is selected.
  auto one = s.Camera(QStringLiteral("127.0.0.1"));
  QVERIFY(one);
  QCOMPARE(f.GridDevices->SelectedRow(), 0);
  QCOMPARE(f.CurrentDevice.IpAddress, std::string("127.0.0.12"));
  QVERIFY(!f.Image1->HasPicture());
  QVERIFY(!f.btnSaveImage1->isEnabled());
  QVERIFY(f.tbnPing->isEnabled());

  // A camera that is not listed removes the selection.
  auto stranger = s.Camera(QStringLiteral("127.0.0.99"));
  QVERIFY(stranger);
  QCOMPARE(f.lblServerStatus->text(), QStringLiteral("Connected to 127.0.0.99"));
  QCOMPARE(f.GridDevices->SelectedRow(), -1);
  QVERIFY(!f.tbnPing->isEnabled() && !f.btnGetImage1->isEnabled() && !f.mnuReboot->isEnabled());
  QVERIFY(f.GridDevicesPopupMenu == nullptr);
}

// ------------------------------------------------------------ what cameras send

void TestEventServer::textBecomesOneStringLine() {
  TServerRig s;
  QVERIFY(s.Start(false));
  TFormMain& f = s.Form();
  auto camera = s.Camera(QStringLiteral("127.0.0.7"));
  QVERIFY(camera);
  camera->Send({'h', 'e', 'l', 'l', 'o', '\r', '\n'});
  QTRY_COMPARE(Lines(f), QStringList{QStringLiteral("127.0.0.7|STRING|hello<CR><LF>")});
  QCOMPARE(f.lblServerStatus->text(), QStringLiteral("Message received from 127.0.0.7"));
  QVERIFY(QRegularExpression(QStringLiteral("^\\d{2}:\\d{2}:\\d{2}\\.\\d{3}$"))
              .match(f.ListViewMsgRx->topLevelItem(0)->text(0))
              .hasMatch());
}

void TestEventServer::messagesInPiecesBackToBackAndTimedOut() {
  TServerRig s;
  QVERIFY(s.Start(false));
  TFormMain& f = s.Form();
  auto camera = s.Camera(QStringLiteral("127.0.0.8"));
  QVERIFY(camera);
  const QString from = QStringLiteral("127.0.0.8");

  // Three pieces with pauses under two seconds: listed once, when complete.
  const TBytes one = Transit(1);
  camera->Send(Slice(one, 0, 10));
  QTest::qWait(600);
  camera->Send(Slice(one, 10, 30));
  QTest::qWait(600);
  QVERIFY(Lines(f).isEmpty());
  camera->Send(Slice(one, 30, one.size()));
  QTRY_COMPARE(Lines(f), TransitLines(from, 1));

  // Two messages in one piece: both listed.
  f.ListViewMsgRx->clear();
  camera->Send(Join({Transit(2), Transit(3)}));
  QTRY_COMPARE(Lines(f), TransitLines(from, 2) + TransitLines(from, 3));

  // Half a message, then silence: dropped after two seconds; the next
  // message is read from its own first byte.
  f.ListViewMsgRx->clear();
  const TBytes four = Transit(4);
  camera->Send(Slice(four, 0, four.size() / 2));
  QTRY_VERIFY(f.ServerCollector.HeldBytes() > 0);
  QTRY_VERIFY_WITH_TIMEOUT(f.ServerCollector.HeldBytes() == 0, 4000);
  QVERIFY(Lines(f).isEmpty());
  camera->Send(Transit(5));
  QTRY_COMPARE(Lines(f), TransitLines(from, 5));

  // A header the dispatcher rejects is consumed, without a line, once its
  // announced bytes are there; what follows is read afresh.
  f.ListViewMsgRx->clear();
  TTestMessage refused(40000, 0, 9);
  refused.Word(14009, 6);
  camera->Send(Join({refused.Bytes(), Transit(7)}));
  QTRY_COMPARE(Lines(f), TransitLines(from, 7));
}

void TestEventServer::camerasSendingAtOnceKeepTheirBytes() {
  TServerRig s;
  QVERIFY(s.Start(false));
  TFormMain& f = s.Form();
  auto a = s.Camera(QStringLiteral("127.0.0.21"));
  auto b = s.Camera(QStringLiteral("127.0.0.22"));
  QVERIFY(a && b);
  const TBytes ma = Transit(21);
  const TBytes mb = Transit(22);
  a->Send(Slice(ma, 0, 30));
  QTest::qWait(100);
  b->Send(Slice(mb, 0, 17));
  QTest::qWait(100);
  a->Send(Slice(ma, 30, ma.size()));
  QTRY_COMPARE(Lines(f), TransitLines(QStringLiteral("127.0.0.21"), 21));
  // A third camera connecting leaves b's half message alone.
  auto c = s.Camera(QStringLiteral("127.0.0.23"));
  QVERIFY(c);
  c->Send({'x', '\n'});
  b->Send(Slice(mb, 17, mb.size()));
  QTRY_COMPARE(Lines(f).size(), 7);
  QCOMPARE(Lines(f).mid(3, 4).count(QStringLiteral("127.0.0.23|STRING|x<LF>")), 1);
  QStringList rest = Lines(f).mid(3, 4);
  rest.removeAll(QStringLiteral("127.0.0.23|STRING|x<LF>"));
  QCOMPARE(rest, TransitLines(QStringLiteral("127.0.0.22"), 22));
}

void TestEventServer::floodIsListedWholeAndInOrder() {
  // Two cameras send far more than the window queues at once (each pair is
  // an unlisted 200 kB message and a listed transit): reading pauses and
  // resumes, and nothing is lost or reordered.
  TServerRig s;
  QVERIFY(s.Start(false));
  TFormMain& f = s.Form();
  f.ServerQueueLimit = 300000;  // about one big message
  auto a = s.Camera(QStringLiteral("127.0.0.61"));
  auto b = s.Camera(QStringLiteral("127.0.0.62"));
  QVERIFY(a && b);
  TTestMessage big(1234);
  big.Record(60000, TBytes(200000, 0x5A));
  const TBytes bulk = big.Bytes();
  constexpr uint32_t Pairs = 30;
  QStringList expected[2];
  for (uint32_t i = 1; i <= Pairs; ++i) {
    a->Queue(Join({bulk, Transit(i)}));
    b->Queue(Join({bulk, Transit(100 + i)}));
    expected[0] += TransitLines(QStringLiteral("127.0.0.61"), i);
    expected[1] += TransitLines(QStringLiteral("127.0.0.62"), 100 + i);
  }
  QTRY_COMPARE_WITH_TIMEOUT(f.ListViewMsgRx->topLevelItemCount(), int{6 * Pairs}, 20000);
  QStringList got[2];
  for (const QString& line : Lines(f)) got[line.startsWith(QStringLiteral("127.0.0.61|")) ? 0 : 1] += line;
  QCOMPARE(got[0], expected[0]);
  QCOMPARE(got[1], expected[1]);
  QCOMPARE(f.ServerQueueBytes, size_t{0});
  QVERIFY(f.ServerReadsHeld > 0);
}

void TestEventServer::failedMessageIsDroppedAlone() {
  TServerRig s;
  QVERIFY(s.Start(false));
  TFormMain& f = s.Form();
  auto camera = s.Camera(QStringLiteral("127.0.0.9"));
  QVERIFY(camera);
  const QString from = QStringLiteral("127.0.0.9");

  // A picture that does not decode ends its message; the next message in
  // the same piece is still read from its own start.
  TTestMessage broken(40000);
  broken.Word(14009, 90).Record(14020, {'n', 'o', 't', ' ', 'J', 'P', 'E', 'G'}).Word(14009, 91);
  camera->Send(Join({broken.Bytes(), Transit(92)}));
  QTRY_COMPARE(Lines(f), QStringList{from + "|TRANSIT_ID|90"} + TransitLines(from, 92));
  QVERIFY(s.Rig.Prompts->Calls.empty());

  // A picture that cannot be saved: a file stands where the folder should be.
  f.ListViewMsgRx->clear();
  const QString blocked = s.Rig.Dir.filePath(QStringLiteral("blocked"));
  QFile file(blocked);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.close();
  f.SaveImages = true;
  f.SaveFolder = QStringToAnsi(blocked);
  const TBytes jpeg = TestJpeg(16, 16, InfoBlock("CAM9", "ZZ1"));
  camera->Send(Join({Transit(93, jpeg), Transit(94)}));
  QTRY_COMPARE(Lines(f).size(), 6);
  QCOMPARE(Lines(f), TransitLines(from, 93) + TransitLines(from, 94));
  QVERIFY(s.Rig.Prompts->Calls.empty());
  // The drop timer still works for what comes next.
  const TBytes half = Transit(95);
  camera->Send(Slice(half, 0, 20));
  QTRY_VERIFY(f.ServerCollector.HeldBytes() > 0);
  QTRY_VERIFY_WITH_TIMEOUT(f.ServerCollector.HeldBytes() == 0, 4000);
}

// ------------------------------------------------------------ saving pictures

void TestEventServer::saveImagesCheckBoxAndLabel() {
  TServerRig s;
  QVERIFY(s.Rig.Start());
  TFormMain& f = s.Form();
  TScriptedPrompts& prompts = *s.Rig.Prompts;
  const QString folder = s.Rig.Dir.filePath(QStringLiteral("pictures"));
  QVERIFY(QDir().mkpath(folder));

  // Cancelled: the box is clear again, saving stays off.
  QTest::mouseClick(f.chkServerSaveImages, Qt::LeftButton);
  QVERIFY(!f.chkServerSaveImages->isChecked());
  QVERIFY(!f.SaveImages);
  QVERIFY(f.lblServerSaveImages->text().isEmpty());
  std::vector<TPromptCall> asked = prompts.CallsOf(QStringLiteral("SelectFolder"));
  QCOMPARE(asked.size(), size_t{1});
  QCOMPARE(asked[0].Caption, QStringLiteral("Select Directory"));
  QCOMPARE(asked[0].Text, QString());  // no folder yet: the whole tree
  QCOMPARE(asked[0].Detail, QString());

  // Chosen: saving on, the folder kept and shown.
  prompts.Answer(QStringLiteral("SelectFolder"), {true, folder});
  QTest::mouseClick(f.chkServerSaveImages, Qt::LeftButton);
  QVERIFY(f.chkServerSaveImages->isChecked());
  QVERIFY(f.SaveImages);
  QCOMPARE(AnsiToQString(f.SaveFolder), QDir::toNativeSeparators(folder));
  QVERIFY(!f.lblServerSaveImages->text().isEmpty());
  QVERIFY(f.lblServerSaveImages->text().endsWith(QStringLiteral("pictures")));

  // Unticked: off, the folder is kept.
  QTest::mouseClick(f.chkServerSaveImages, Qt::LeftButton);
  QVERIFY(!f.SaveImages);
  QVERIFY(f.lblServerSaveImages->text().isEmpty());
  QCOMPARE(AnsiToQString(f.SaveFolder), QDir::toNativeSeparators(folder));

  // Ticked again: rooted at the folder's drive, the folder preselected.
  prompts.Forget();
  prompts.Answer(QStringLiteral("SelectFolder"), {true, folder});
  QTest::mouseClick(f.chkServerSaveImages, Qt::LeftButton);
  asked = prompts.CallsOf(QStringLiteral("SelectFolder"));
  QCOMPARE(asked.size(), size_t{1});
  QCOMPARE(asked[0].Text, QDir::rootPath());
  QCOMPARE(asked[0].Detail, QDir::toNativeSeparators(folder));
  QVERIFY(f.SaveImages);

  // The label while saving is on asks again; cancelling turns saving off.
  QTest::mouseClick(f.lblServerSaveImages, Qt::LeftButton);
  QCOMPARE(prompts.CallsOf(QStringLiteral("SelectFolder")).size(), size_t{2});
  QVERIFY(!f.SaveImages && !f.chkServerSaveImages->isChecked());
  QVERIFY(f.lblServerSaveImages->text().isEmpty());

  // The folder outlives the run.
  f.close();
  QVERIFY(QString::fromLatin1(s.Rig.SettingsText()).contains(QStringLiteral("path=") + folder));
}

void TestEventServer::pushedPicturesSavedAndReopened() {
  TServerRig s;
  QVERIFY(s.Start());
  TFormMain& f = s.Form();
  const QString folder = s.Rig.Dir.filePath(QStringLiteral("saved"));
  s.Rig.Prompts->Answer(QStringLiteral("SelectFolder"), {true, folder});
  f.chkServerSaveImages->click();
  QVERIFY(f.SaveImages);

  auto camera = s.Camera(QStringLiteral("127.0.0.31"));
  QVERIFY(camera);
  const TBytes bw = TestJpeg(96, 64, InfoBlock("CAM31", "AB123CD"));
  const TBytes col = TestJpeg(64, 48, InfoBlock("CAM31", "AB123CD"));
  camera->Send(Transit(31, bw, col));
  QTRY_COMPARE(f.ListViewMsgRx->topLevelItemCount(), 5);

  const QString day = folder + QStringLiteral("/20140506/");
  const QString bwName = day + QStringLiteral("CAM31_20140506_123456_AB123CD_BW.jpg");
  const QString colName = day + QStringLiteral("CAM31_20140506_123456_AB123CD_COL.jpg");
  const QString from = QStringLiteral("127.0.0.31");
  const QStringList pictures = {from + "|IMAGE_BW|" + QDir::toNativeSeparators(bwName),
                                from + "|IMAGE_COL|" + QDir::toNativeSeparators(colName)};
  QCOMPARE(Lines(f), TransitLines(from, 31) + pictures);
  QVERIFY(ReadFile(bwName) == bw);
  QVERIFY(ReadFile(colName) == col);

  // Double-clicked, a saved picture comes back into its pane and tab.
  f.ClearDevicePanes();
  f.ImageInfo1 = TImageInfo{};
  DoubleClickLine(f, 3);
  QVERIFY(f.Image1->HasPicture());
  QVERIFY(f.Image1->Bytes() == bw);
  QCOMPARE(f.Image1->Image().size(), QSize(96, 64));
  QCOMPARE(f.ImageInfo1.Plate, std::string("AB123CD"));
  QVERIFY(!f.ImageInfo1.AllowEdit && !f.ImageInfo1.AllowCapture);
  QVERIFY(f.MemoInfo1->toPlainText().contains(QStringLiteral("S_NETBIOSNAME=CAM31")));
  QCOMPARE(f.PageControlImage->currentWidget(), f.tsIMAGE1);
  QVERIFY(f.btnSaveImage1->isEnabled());
  DoubleClickLine(f, 4);
  QVERIFY(f.Image2->Bytes() == col);
  QCOMPARE(f.PageControlImage->currentWidget(), f.tsIMAGE2);

  // Other lines, and a picture file that is gone, do nothing, silently.
  f.ClearDevicePanes();
  DoubleClickLine(f, 1);
  QVERIFY(QFile::remove(bwName));
  DoubleClickLine(f, 3);
  QVERIFY(!f.Image1->HasPicture() && !f.Image2->HasPicture());
  QCOMPARE(f.PageControlImage->currentWidget(), f.tsIMAGE2);
  QVERIFY(s.Rig.Prompts->CallsOf(QStringLiteral("ErrorBox")).empty());

  // Saving off: pictures are shown, not saved, and their lines name no file.
  f.chkServerSaveImages->click();
  f.ListViewMsgRx->clear();
  camera->Send(Transit(32, bw, col));
  QTRY_COMPARE(f.ListViewMsgRx->topLevelItemCount(), 5);
  QCOMPARE(Lines(f).mid(3), (QStringList{from + "|IMAGE_BW|", from + "|IMAGE_COL|"}));
  QVERIFY(f.Image1->HasPicture() && f.Image2->HasPicture());
  QVERIFY(!QFile::exists(bwName));
}

void TestEventServer::saveButtons() {
  TServerRig s;
  QVERIFY(s.Start());
  TFormMain& f = s.Form();
  TScriptedPrompts& prompts = *s.Rig.Prompts;
  auto camera = s.Camera(QStringLiteral("127.0.0.41"));
  QVERIFY(camera);
  const TBytes bw = TestJpeg(40, 30, InfoBlock("CAM41", "SB1"));
  const TBytes col = TestJpeg(30, 20, InfoBlock("CAM41", "SB1"));
  camera->Send(Transit(41, bw, col));
  QTRY_VERIFY(f.btnSaveImage1->isEnabled() && f.btnSaveImage2->isEnabled());

  // Cancelled: nothing written, nothing said.
  QTest::mouseClick(f.btnSaveImage1, Qt::LeftButton);
  std::vector<TPromptCall> asked = prompts.CallsOf(QStringLiteral("SaveFile"));
  QCOMPARE(asked.size(), size_t{1});
  QCOMPARE(asked[0].Detail, QStringLiteral("JPEG Image File (*.jpg *.jpeg);;All files (*)|jpg"));
  QVERIFY(prompts.CallsOf(QStringLiteral("MessageBox")).empty());

  // Each button saves its own pane, byte for byte, into a new folder tree.
  const QString one = s.Rig.Dir.filePath(QStringLiteral("a/b/one.jpg"));
  const QString two = s.Rig.Dir.filePath(QStringLiteral("two.jpg"));
  prompts.Answer(QStringLiteral("SaveFile"), {true, one});
  QTest::mouseClick(f.btnSaveImage1, Qt::LeftButton);
  prompts.Answer(QStringLiteral("SaveFile"), {true, two});
  QTest::mouseClick(f.btnSaveImage2, Qt::LeftButton);
  QVERIFY(ReadFile(one) == bw);
  QVERIFY(ReadFile(two) == col);
  QCOMPARE(prompts.TextsOf(QStringLiteral("MessageBox")),
           (QStringList{"File saved " + QDir::toNativeSeparators(one), "File saved " + QDir::toNativeSeparators(two)}));

  // A file that cannot be written: the error box, no notice.
  prompts.Forget();
  prompts.Answer(QStringLiteral("SaveFile"), {true, two + QStringLiteral("/under/a/file.jpg")});
  QTest::mouseClick(f.btnSaveImage2, Qt::LeftButton);
  QCOMPARE(prompts.CallsOf(QStringLiteral("ErrorBox")).size(), size_t{1});
  QVERIFY(prompts.CallsOf(QStringLiteral("MessageBox")).empty());
}

void TestEventServer::clearWhileServerRuns() {
  TServerRig s;
  QVERIFY(s.Start());
  TFormMain& f = s.Form();
  auto camera = s.Camera(QStringLiteral("127.0.0.51"));
  QVERIFY(camera);
  const TBytes jpeg = TestJpeg(32, 24, InfoBlock("CAM51", "CL1"));
  camera->Send(Transit(51, jpeg, jpeg));
  QTRY_COMPARE(f.ListViewMsgRx->topLevelItemCount(), 5);
  QVERIFY(f.Image1->HasPicture() && !f.MemoInfo2->toPlainText().isEmpty());
  // Half of the next message is held across the clearing.
  const TBytes next = Transit(52);
  camera->Send(Slice(next, 0, 40));
  QTRY_VERIFY(f.ServerCollector.HeldBytes() > 0);

  f.Clearmessages1->trigger();  // Ctrl+Del
  QCOMPARE(f.ListViewMsgRx->topLevelItemCount(), 0);
  QVERIFY(!f.Image1->HasPicture() && !f.Image2->HasPicture());
  QVERIFY(f.MemoInfo1->toPlainText().isEmpty() && f.MemoInfo2->toPlainText().isEmpty());
  QVERIFY(f.lblServerStatus->text().isEmpty());
  QVERIFY(!f.btnSaveImage1->isEnabled());
  QVERIFY(f.ServerActive() && f.btnServerStop->isEnabled());

  camera->Send(Slice(next, 40, next.size()));
  QTRY_COMPARE(Lines(f), TransitLines(QStringLiteral("127.0.0.51"), 52));
  f.btnServerClear->click();
  QCOMPARE(f.ListViewMsgRx->topLevelItemCount(), 0);
}

// ------------------------------------------------------------ a simulated camera

void TestEventServer::dozusimPushesPlateReads() {
  TServerRig s;
  QVERIFY(s.Start());
  TFormMain& f = s.Form();
  const QString folder = s.Rig.Dir.filePath(QStringLiteral("pushed"));
  s.Rig.Prompts->Answer(QStringLiteral("SelectFolder"), {true, folder});
  f.chkServerSaveImages->click();
  QVERIFY(f.SaveImages);

  // One plate read with both pictures, written in three pieces 300 ms
  // apart, then a text line.
  TRelay relay(s.Port);
  TSimProcess sim({"--push", QStringLiteral("127.0.0.1:%1").arg(relay.Port()), "--push-count", "1", "--push-chunks",
                   "3", "--push-pause", "300", "--push-text"},
                  1);
  QVERIFY2(sim.Running(), qPrintable(sim.Log()));
  const QString camera = TSimProcess::FirstIp();
  QTRY_VERIFY2_WITH_TIMEOUT(Lines(f).filter(QStringLiteral("|STRING|")).size() == 1, qPrintable(sim.Log()), 10000);

  int records = 0;
  const std::map<uint32_t, TBytes> sent = RecordsOfFirstMessage(relay.Sent, records);
  QVERIFY(sent.count(14020) && sent.count(14021));
  const QStringList lines = Lines(f);
  QCOMPARE(lines.size(), records + 1);
  for (const QString& line : lines) QVERIFY2(line.startsWith(camera + QLatin1Char('|')), qPrintable(line));
  QVERIFY(lines.last().endsWith(QStringLiteral("<CR><LF>")));
  QCOMPARE(f.lblServerStatus->text(), QStringLiteral("Message received from ") + camera);

  // Both pictures saved exactly as the camera sent them.
  int bwLine = -1, colLine = -1;
  for (int i = 0; i < lines.size(); ++i) {
    if (lines[i].contains(QStringLiteral("|IMAGE_BW|"))) bwLine = i;
    if (lines[i].contains(QStringLiteral("|IMAGE_COL|"))) colLine = i;
  }
  QVERIFY(bwLine >= 0 && colLine >= 0);
  const QString bwName = f.ListViewMsgRx->topLevelItem(bwLine)->text(3);
  const QString colName = f.ListViewMsgRx->topLevelItem(colLine)->text(3);
  QVERIFY2(bwName.startsWith(QDir::toNativeSeparators(folder)) && bwName.endsWith(QStringLiteral("_BW.jpg")),
           qPrintable(bwName));
  QVERIFY2(colName.endsWith(QStringLiteral("_COL.jpg")), qPrintable(colName));
  QVERIFY(ReadFile(bwName) == sent.at(14020));
  QVERIFY(ReadFile(colName) == sent.at(14021));

  // And loaded back by a double click.
  f.ClearDevicePanes();
  DoubleClickLine(f, bwLine);
  QVERIFY(f.Image1->Bytes() == sent.at(14020));
  QCOMPARE(f.PageControlImage->currentWidget(), f.tsIMAGE1);
  QVERIFY(f.ImageInfo1.SerialNumber > 0);
  DoubleClickLine(f, colLine);
  QVERIFY(f.Image2->Bytes() == sent.at(14021));
  QCOMPARE(f.PageControlImage->currentWidget(), f.tsIMAGE2);
}

QTEST_MAIN(TestEventServer)
#include "test_gui_server.moc"
