// The main window driven as a user drives it: start-up and close with the
// settings file, enabling, the device search against stand-in cameras on
// loopback, selection, the reply dispatcher, File > Open and the panes.

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "TCameraPeer.h"
#include "TLumidorRig.h"
#include "TTestMessages.h"
#include "UImage.h"
#include "UPictureBox.h"
#include "UQtBridge.h"
#include "USetup.h"

namespace {

TTestCamera Camera(int32_t serial, const std::string& ip, const std::string& host) {
  TTestCamera c;
  c.SerialNumber = serial;
  c.Ip = ip;
  c.Mac = "00-0A-1B-2C-3D-" + std::to_string(10 + serial % 80);
  c.HostName = host;
  c.Description = "DOZU unit " + std::to_string(serial);
  return c;
}

QStringList Column(TDeviceGrid* grid, int column) {
  QStringList cells;
  for (int row = 0; row < grid->RowCount(); ++row) cells.append(grid->Cell(column, row));
  return cells;
}

void ClickRow(TDeviceGrid* grid, int row) {
  const QRect cell = grid->visualRect(grid->Sorted->index(row, colIPADDR));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// Every control that acts on the selected device, by name, with its state.
QMap<QString, bool> DeviceCommands(TFormMain& f) {
  QMap<QString, bool> state;
  for (QWidget* w : std::initializer_list<QWidget*>{
           f.tbnGetImage, f.btnGetImage1, f.btnGetImage2, f.tbnSetupIP, f.tbnWebConfig, f.tbnPing, f.tbnReboot,
           f.btnReadDateTime, f.btnWriteDateTime, f.btnWritePCDateTime, f.btnGetErrors, f.btnEraseErrors,
           f.btnReadFile, f.btnBackup}) {
    state[w->objectName()] = w->isEnabled();
  }
  for (QAction* a : {f.popGetImage, f.mnuSetupIP, f.popSetupIP, f.mnuWebConfig, f.popWebConfig, f.mnuPing, f.popPing,
                     f.mnuReboot, f.popReboot}) {
    state[a->objectName()] = a->isEnabled();
  }
  return state;
}

bool AllAre(const QMap<QString, bool>& state, bool value) {
  for (auto it = state.begin(); it != state.end(); ++it) {
    if (it.value() != value) {
      qWarning("%s is %s", qPrintable(it.key()), it.value() ? "enabled" : "disabled");
      return false;
    }
  }
  return true;
}

bool TabShown(TFormMain& f, QWidget* tab) {
  return f.PageControlSettings->isTabVisible(f.PageControlSettings->indexOf(tab));
}

std::vector<uint8_t> ImageReply(uint32_t channel, const std::vector<uint8_t>& jpeg) {
  return TTestMessage(25166, channel).Record(2000, jpeg).Bytes();
}

bool Dispatch(TFormMain& f, const std::vector<uint8_t>& message) {
  return f.HandleReply(message.data(), static_cast<uint32_t>(message.size()));
}

std::vector<std::string> InfoBlock(int serial) {
  return {"[INFO]", "S_NETBIOSNAME=CAM" + std::to_string(serial), "I_SN=" + std::to_string(serial),
          "S_DATE=2014-05-06", "S_TIME=12-34-56-789", "S_PLATE=AB123CD"};
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const std::vector<uint8_t>& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  return path;
}

}  // namespace

class TestFormMain : public QObject {
  Q_OBJECT
private slots:
  void startWithNoCameraAndNoSettingsFile();
  void startReadsSettings_data();
  void startReadsSettings();
  void closeWritesPortAndFolder();
  void layoutNamesEveryControl();
  void clockInStatusBar();

  void searchSortsSerialNumbersAsNumbers();
  void searchKeysRowsBySerialNumber_data();
  void searchKeysRowsBySerialNumber();
  void searchOneDevice_data();
  void searchOneDevice();
  void keyF5Searches();
  void replyWithErrorStatusMakesNoRow();
  void brokenPictureReachesErrorBoxAndWindowGoesOn();

  void selectingAnotherRowClearsPanesTheSameRowDoesNot();
  void selectionCopiesAddressesButKeepsSerialAndDescription();
  void contextMenuAndCommandsFollowSelection();
  void doubleClickOnListOpensSetup();

  void dispatcherCompletenessAndRejection();
  void transitMessageListsOneLinePerRecord();
  void pictureGoesToPaneOfItsChannel();
  void pushedPictureSavedWhenAsked();
  void deviceRecordsStoredFromAnyMessage();
  void recordlessRepliesRouted();

  void fileOpenShowsPictureAndInformation();
  void fileOpenKeepsPaneOnUnreadableFile();
  void doubleClickOnPanesOpensImageWindow();
  void aboutBoxFromHelpMenu();
  void centreSplitStaysWhereUserPutsIt();
};

// ------------------------------------------------------------ start and close

void TestFormMain::startWithNoCameraAndNoSettingsFile() {
  TLumidorRig rig(FreeUdpPort());
  QVERIFY(rig.Start());
  TFormMain& f = *rig.Form;
  QCOMPARE(f.windowTitle(), QStringLiteral("KALTO Lumidor v" LUMIDOR_EXPECTED_VERSION));
  QCOMPARE(f.EditServerPort->text(), QStringLiteral("32000"));
  QVERIFY(f.SaveFolder.empty());
  QCOMPARE(f.GridDevices->RowCount(), 0);
  QCOMPARE(f.GridDevices->SelectedRow(), -1);
  QVERIFY(!TabShown(f, f.tsDATETIME));
  QVERIFY(!TabShown(f, f.tsDIAGNOSE));
  QVERIFY(TabShown(f, f.tsSERVER));
  QVERIFY(AllAre(DeviceCommands(f), false));
  QVERIFY(!f.btnWriteFile->isEnabled());
  QVERIFY(!f.btnSaveImage1->isEnabled() && !f.btnSaveImage2->isEnabled());
  QVERIFY(f.GridDevicesPopupMenu == nullptr);
  QVERIFY(f.btnServerStart->isEnabled() && f.tbnServerStart->isEnabled() && f.mnuServerStart->isEnabled());
  QVERIFY(f.EditServerPort->isEnabled());
  QVERIFY(!f.btnServerStop->isEnabled() && !f.tbnServerStop->isEnabled() && !f.mnuServerStop->isEnabled());
  QVERIFY(f.tbnDiscover->isEnabled() && f.btnDiscoverOne->isEnabled() && f.btnServerClear->isEnabled());
  QVERIFY(f.MemoInfo1->isHidden() && f.MemoInfo2->isHidden());
  QCOMPARE(f.PageControlImage->currentWidget(), f.tsIMAGE1);
  QCOMPARE(f.PageControlSettings->currentWidget(), f.tsSERVER);
  QVERIFY(rig.Prompts->Calls.empty());

  QVERIFY(rig.SettingsText().isEmpty());
  f.close();
  const QStringList lines = QString::fromLatin1(rig.SettingsText()).split(QRegularExpression(QStringLiteral("\r?\n")));
  QVERIFY(lines.contains(QStringLiteral("[options]")));
  QVERIFY(lines.contains(QStringLiteral("port=32000")));
  QVERIFY(lines.contains(QStringLiteral("path=")));
}

void TestFormMain::startReadsSettings_data() {
  QTest::addColumn<QByteArray>("settings");
  QTest::addColumn<QString>("port");
  QTest::addColumn<QString>("folder");
  QTest::newRow("hexadecimal port") << QByteArray("[options]\r\nport=0x7D01\r\npath=/data/pictures\r\n")
                                    << QStringLiteral("32001") << QStringLiteral("/data/pictures");
  QTest::newRow("port that is a word") << QByteArray("[Options]\nPORT=several\n") << QStringLiteral("32000")
                                       << QString();
  QTest::newRow("dollar port, other sections") << QByteArray("[x]\na=1\n[options]\nport=$7D02\n")
                                               << QStringLiteral("32002") << QString();
}

void TestFormMain::startReadsSettings() {
  QFETCH(QByteArray, settings);
  QFETCH(QString, port);
  QFETCH(QString, folder);
  TLumidorRig rig(FreeUdpPort(), settings);
  QCOMPARE(rig.Form->EditServerPort->text(), port);
  QCOMPARE(QString::fromStdString(rig.Form->SaveFolder), folder);
  QVERIFY(rig.Prompts->Calls.empty());
}

void TestFormMain::closeWritesPortAndFolder() {
  TLumidorRig rig(FreeUdpPort(), QByteArray("[options]\nport=100\npath=/srv/pics\n[other]\nkey=kept\n"));
  QVERIFY(rig.Start());
  rig.Form->EditServerPort->setText(QStringLiteral("4242"));
  rig.Form->mnuExit->trigger();  // File > Exit closes like the window's close box
  QVERIFY(!rig.Form->isVisible());
  const QString text = QString::fromLatin1(rig.SettingsText());
  QVERIFY2(text.contains(QStringLiteral("port=4242")), qPrintable(text));
  QVERIFY2(text.contains(QStringLiteral("path=/srv/pics")), qPrintable(text));
  QVERIFY2(text.contains(QStringLiteral("key=kept")), qPrintable(text));
}

void TestFormMain::layoutNamesEveryControl() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  QCOMPARE(f.size(), QSize(808, 680));

  struct Tool {
    const char* Name;
    const char* Hint;
  };
  const Tool tools[] = {{"tbnDiscover", "Search devices"}, {"btnDiscoverOne", "Search one specific device"},
                        {nullptr, nullptr},                {"tbnGetImage", "Capture image"},
                        {nullptr, nullptr},                {"tbnSetupIP", "Setup IP address"},
                        {nullptr, nullptr},                {"tbnWebConfig", "Open with browser"},
                        {"tbnPing", "Ping"},               {"tbnReboot", "Reboot the device"},
                        {nullptr, nullptr},                {"tbnServerStart", "Start server"},
                        {"tbnServerStop", "Stop server"}};
  const QList<QAction*> actions = f.ToolBar1->actions();
  QCOMPARE(actions.size(), int(std::size(tools)));
  for (int i = 0; i < actions.size(); ++i) {
    if (!tools[i].Name) {
      QVERIFY(actions[i]->isSeparator());
      continue;
    }
    auto* button = qobject_cast<QToolButton*>(f.ToolBar1->widgetForAction(actions[i]));
    QVERIFY(button);
    QCOMPARE(button->objectName(), QString::fromLatin1(tools[i].Name));
    QCOMPARE(button->toolTip(), QString::fromLatin1(tools[i].Hint));
    QCOMPARE(button->iconSize(), QSize(64, 32));
    QVERIFY(!button->icon().isNull());
  }
  QCOMPARE(f.ImgList1.size(), 9);
  for (const QPixmap& picture : f.ImgList1) QCOMPARE(picture.size(), QSize(64, 32));

  const QStringList headers = {"SN", "DHCP", "IP address", "Netmask", "Gateway", "MAC address", "Hostname", "Description"};
  const bool shown[] = {true, false, true, false, false, true, true, true};
  for (int c = 0; c < DeviceColumnCount; ++c) {
    QCOMPARE(f.GridDevices->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    QCOMPARE(!f.GridDevices->isColumnHidden(c), shown[c]);
  }
  QCOMPARE(f.GridDevices->horizontalHeader()->sortIndicatorSection(), int(colSN));

  QCOMPARE(f.PageControlImage->tabText(0), QStringLiteral("IMAGE_BW"));
  QCOMPARE(f.PageControlImage->tabText(1), QStringLiteral("IMAGE_COL"));
  QCOMPARE(f.PageControlSettings->tabText(0), QStringLiteral("SERVER"));
  QCOMPARE(f.PageControlSettings->tabText(1), QStringLiteral("DATE/TIME"));
  QCOMPARE(f.PageControlSettings->tabText(2), QStringLiteral("DIAGNOSE"));
  QCOMPARE(f.btnGetImage2->property("Tag").toInt(), 1);
  QCOMPARE(f.btnSaveImage1->property("Tag").toInt(), 0);
  QCOMPARE(f.EditDate1->text(), QStringLiteral("0000-00-00"));
  QCOMPARE(f.EditTime1->displayFormat(), QStringLiteral("HH:mm:ss"));
  QCOMPARE(f.btnWritePCDateTime->toolTip(), QStringLiteral("Write PC date and time into device"));
  QCOMPARE(f.ListViewMsgRx->headerItem()->text(3), QStringLiteral("Value"));

  struct Key {
    QAction* Action;
    QKeySequence Sequence;
  };
  for (const Key& key : {Key{f.mnuDiscover, QKeySequence(Qt::Key_F5)}, Key{f.mnuServerStart, QKeySequence(Qt::Key_F2)},
                         Key{f.mnuServerStop, QKeySequence(Qt::SHIFT | Qt::Key_F2)},
                         Key{f.Clearmessages1, QKeySequence(Qt::CTRL | Qt::Key_Delete)}}) {
    QCOMPARE(key.Action->shortcut(), key.Sequence);
  }
  QStringList popup;
  for (QAction* a : f.PopupMenu1->actions()) popup.append(a->isSeparator() ? QStringLiteral("-") : a->text());
  QCOMPARE(popup, (QStringList{"Capture image", "-", "Setup IP address", "-", "Open with browser", "Ping", "Reboot"}));
}

void TestFormMain::clockInStatusBar() {
  TLumidorRig rig(FreeUdpPort());
  QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$")).match(rig.Form->StatusBarPanel1->text()).hasMatch());
  const QString before = rig.Form->StatusBarPanel2->text();
  QVERIFY(QRegularExpression(QStringLiteral("^\\d{2}:\\d{2}:\\d{2}$")).match(before).hasMatch());
  QTRY_VERIFY_WITH_TIMEOUT(rig.Form->StatusBarPanel2->text() != before, 3000);
}

// ---------------------------------------------------------------- searching

void TestFormMain::searchSortsSerialNumbersAsNumbers() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  peer.Replies = {DeviceInfoReply(Camera(1200, "127.0.0.12", "zeta")), DeviceInfoReply(Camera(800, "127.0.0.18", "alpha")),
                  DeviceInfoReply(Camera(95, "127.0.0.9", "mid"))};
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  TFormMain& f = *rig.Form;
  QCOMPARE(peer.Requests, 1);
  QCOMPARE(Column(f.GridDevices, colSN), (QStringList{"95", "800", "1200"}));
  // At start the first row as shown is selected.
  QCOMPARE(f.GridDevices->SelectedRow(), 0);
  QCOMPARE(f.CurrentDevice.IpAddress, std::string("127.0.0.9"));

  // A header click sorts by that column.
  QHeaderView* header = f.GridDevices->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(colHOSTNAME) + 10, header->height() / 2));
  QCOMPARE(Column(f.GridDevices, colHOSTNAME), (QStringList{"alpha", "mid", "zeta"}));
  QCOMPARE(f.GridDevices->Cell(colIPADDR, f.GridDevices->SelectedRow()), QStringLiteral("127.0.0.9"));
}

void TestFormMain::searchKeysRowsBySerialNumber_data() {
  QTest::addColumn<QList<TTestCamera>>("replies");
  QTest::addColumn<QStringList>("serials");
  QTest::addColumn<QStringList>("hosts");
  TTestCamera anonymous = Camera(0, "127.0.0.30", "anon");
  QTest::newRow("same camera twice: one row, last values")
      << QList<TTestCamera>{Camera(5, "127.0.0.5", "first"), Camera(5, "127.0.0.5", "second")}
      << QStringList{"5"} << QStringList{"second"};
  QTest::newRow("no serial number: filed under the previous one")
      << QList<TTestCamera>{Camera(9, "127.0.0.9", "nine"), anonymous} << QStringList{"9"} << QStringList{"anon"};
  QTest::newRow("no serial number at start: SN 0")
      << QList<TTestCamera>{anonymous, Camera(3, "127.0.0.3", "three")} << QStringList{"0", "3"}
      << QStringList{"anon", "three"};
}

void TestFormMain::searchKeysRowsBySerialNumber() {
  QFETCH(QList<TTestCamera>, replies);
  QFETCH(QStringList, serials);
  QFETCH(QStringList, hosts);
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  for (const TTestCamera& c : replies) peer.Replies.push_back(DeviceInfoReply(c));
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  QCOMPARE(Column(rig.Form->GridDevices, colSN), serials);
  QCOMPARE(Column(rig.Form->GridDevices, colHOSTNAME), hosts);
}

void TestFormMain::searchOneDevice_data() {
  QTest::addColumn<bool>("ok");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("requests");
  QTest::addColumn<QString>("destination");
  QTest::addColumn<int>("rows");
  QTest::newRow("empty text broadcasts") << true << QString() << 2 << QStringLiteral("127.255.255.255") << 1;
  QTest::newRow("an address asks that camera") << true << QStringLiteral("127.0.0.1") << 2 << QStringLiteral("127.0.0.1") << 1;
  QTest::newRow("Cancel keeps the list") << false << QStringLiteral("127.0.0.1") << 1 << QString() << 1;
}

void TestFormMain::searchOneDevice() {
  QFETCH(bool, ok);
  QFETCH(QString, text);
  QFETCH(int, requests);
  QFETCH(QString, destination);
  QFETCH(int, rows);
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  peer.Replies = {DeviceInfoReply(Camera(11, "127.0.0.11", "cam"))};
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  rig.Prompts->Answer(QStringLiteral("InputBox"), {ok, text});
  QTest::mouseClick(rig.Form->btnDiscoverOne, Qt::LeftButton);
  const std::vector<TPromptCall> asked = rig.Prompts->CallsOf(QStringLiteral("InputBox"));
  QCOMPARE(asked.size(), size_t(1));
  QCOMPARE(asked[0].Caption, QStringLiteral("Search one specific device"));
  QCOMPARE(asked[0].Text, QStringLiteral("Enter IP address: "));
  QCOMPARE(peer.Requests, requests);
  if (!destination.isEmpty()) QCOMPARE(peer.LastDestination.toString(), destination);
  QCOMPARE(rig.Form->GridDevices->RowCount(), rows);
}

void TestFormMain::keyF5Searches() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  peer.Replies = {DeviceInfoReply(Camera(21, "127.0.0.21", "late"))};
  rig.Form->activateWindow();
  QTest::keyClick(rig.Form.get(), Qt::Key_F5);
  QCOMPARE(peer.Requests, 2);
  QCOMPARE(Column(rig.Form->GridDevices, colSN), QStringList{"21"});
  // The search itself selects nothing.
  QCOMPARE(rig.Form->GridDevices->SelectedRow(), -1);
}

void TestFormMain::replyWithErrorStatusMakesNoRow() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  TTestMessage refused(4096, 0, 5);
  refused.Word(12000, 77).Address(12002, "127.0.0.77");
  peer.Replies = {refused.Bytes()};
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  QCOMPARE(peer.Requests, 1);
  QCOMPARE(rig.Form->GridDevices->RowCount(), 0);
  QCOMPARE(rig.Form->CurrentDevice.SerialNumber, 0);
  QVERIFY(rig.Prompts->Calls.empty());
}

void TestFormMain::brokenPictureReachesErrorBoxAndWindowGoesOn() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  TTestMessage broken(4096);
  broken.Word(12000, 31).Record(14020, {'n', 'o', 't', ' ', 'J', 'P', 'E', 'G'}).Text(12008, "after");
  peer.Replies = {broken.Bytes()};
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  const QStringList errors = rig.Prompts->TextsOf(QStringLiteral("ErrorBox"));
  QCOMPARE(errors.size(), 1);
  QVERIFY(!errors[0].isEmpty());
  // The walk stopped at the picture: no row, nothing after it stored.
  QCOMPARE(rig.Form->GridDevices->RowCount(), 0);
  QCOMPARE(rig.Form->CurrentDevice.HostName, std::string());

  peer.Replies = {DeviceInfoReply(Camera(32, "127.0.0.32", "fine"))};
  QTest::mouseClick(rig.Form->tbnDiscover, Qt::LeftButton);
  QCOMPARE(Column(rig.Form->GridDevices, colHOSTNAME), QStringList{"fine"});
  QCOMPARE(rig.Prompts->TextsOf(QStringLiteral("ErrorBox")).size(), 1);
}

// ---------------------------------------------------------------- selection

void TestFormMain::selectingAnotherRowClearsPanesTheSameRowDoesNot() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  peer.Replies = {DeviceInfoReply(Camera(1, "127.0.0.1", "one")), DeviceInfoReply(Camera(2, "127.0.0.2", "two"))};
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  TFormMain& f = *rig.Form;
  QCOMPARE(f.GridDevices->SelectedRow(), 0);
  QVERIFY(Dispatch(f, ImageReply(0, TestJpeg(64, 48, InfoBlock(1)))));
  QVERIFY(Dispatch(f, ImageReply(1, TestJpeg(64, 48))));
  f.lblServerStatus->setText(QStringLiteral("Connected to 127.0.0.1"));
  QVERIFY(f.Image1->HasPicture() && f.Image2->HasPicture());
  QVERIFY(!f.MemoInfo1->toPlainText().isEmpty());

  ClickRow(f.GridDevices, 0);  // the selected row again
  QCOMPARE(f.GridDevices->SelectedRow(), 0);
  QVERIFY(f.Image1->HasPicture() && f.Image2->HasPicture());
  QVERIFY(!f.MemoInfo1->toPlainText().isEmpty());
  QVERIFY(!f.lblServerStatus->text().isEmpty());

  ClickRow(f.GridDevices, 1);
  QCOMPARE(f.GridDevices->SelectedRow(), 1);
  QVERIFY(!f.Image1->HasPicture() && !f.Image2->HasPicture());
  QVERIFY(f.MemoInfo1->toPlainText().isEmpty());
  QVERIFY(f.lblServerStatus->text().isEmpty());
  QVERIFY(!f.btnSaveImage1->isEnabled());
  // The records of the pictures stay as they were.
  QCOMPARE(f.ImageInfo1.SerialNumber, 1);
}

void TestFormMain::selectionCopiesAddressesButKeepsSerialAndDescription() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  TTestCamera dhcp = Camera(40, "127.0.0.40", "dhcp-cam");
  dhcp.Dhcp = true;
  dhcp.Netmask = "255.255.0.0";
  dhcp.Gateway = "127.0.0.254";
  peer.Replies = {DeviceInfoReply(dhcp), DeviceInfoReply(Camera(50, "127.0.0.50", "last"))};
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  TFormMain& f = *rig.Form;
  QCOMPARE(Column(f.GridDevices, colSN), (QStringList{"40", "50"}));
  ClickRow(f.GridDevices, 1);
  ClickRow(f.GridDevices, 0);
  const TDeviceInfo& d = f.CurrentDevice;
  QCOMPARE(d.Dhcp, true);
  QCOMPARE(d.IpAddress, std::string("127.0.0.40"));
  QCOMPARE(d.Netmask, std::string("255.255.0.0"));
  QCOMPARE(d.Gateway, std::string("127.0.0.254"));
  QCOMPARE(d.MacAddress, dhcp.Mac);
  QCOMPARE(d.HostName, std::string("dhcp-cam"));
  // Serial number and description are those of the last reply, rewritten.
  QCOMPARE(d.SerialNumber, 50);
  QCOMPARE(d.Description, std::string("ANPR unit 50"));
  QCOMPARE(f.GridDevices->Cell(colDESCRIPTION, 0), QStringLiteral("ANPR unit 40"));
  QVERIFY(f.GridDevices->Checked(0));
  QVERIFY(!f.GridDevices->Checked(1));
}

void TestFormMain::contextMenuAndCommandsFollowSelection() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  peer.Replies = {DeviceInfoReply(Camera(60, "127.0.0.60", "cam"))};
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  TFormMain& f = *rig.Form;
  QCOMPARE(f.GridDevices->SelectedRow(), 0);
  QVERIFY(AllAre(DeviceCommands(f), true));
  QVERIFY(TabShown(f, f.tsDATETIME) && TabShown(f, f.tsDIAGNOSE));
  QCOMPARE(f.GridDevicesPopupMenu, f.PopupMenu1);
  QVERIFY(!f.btnWriteFile->isEnabled());  // no file read yet
  f.LastReadFile = "device.ini";
  f.UpdateControls();
  QVERIFY(f.btnWriteFile->isEnabled());

  QTest::mouseClick(f.tbnDiscover, Qt::LeftButton);  // a new search empties the selection
  QCOMPARE(f.GridDevices->SelectedRow(), -1);
  QCOMPARE(f.GridDevices->RowCount(), 1);
  QVERIFY(AllAre(DeviceCommands(f), false));
  QVERIFY(f.GridDevicesPopupMenu == nullptr);
  QVERIFY(!TabShown(f, f.tsDATETIME));
}

void TestFormMain::doubleClickOnListOpensSetup() {
  TCameraPeer peer;
  QVERIFY(peer.Listen());
  peer.Replies = {DeviceInfoReply(Camera(70, "127.0.0.70", "seventy")), DeviceInfoReply(Camera(71, "127.0.0.71", "other"))};
  TLumidorRig rig(peer.Port());
  QVERIFY(rig.Start());
  TFormMain& f = *rig.Form;
  const QRect cell = f.GridDevices->visualRect(f.GridDevices->Sorted->index(1, colHOSTNAME));
  QTest::mouseDClick(f.GridDevices->viewport(), Qt::LeftButton, {}, cell.center());
  const std::vector<TPromptCall> opened = rig.Prompts->CallsOf(QStringLiteral("ExecDialog"));
  QCOMPARE(opened.size(), size_t(1));
  QCOMPARE(opened[0].Caption, QStringLiteral("FormSetup"));
  QCOMPARE(f.FormSetup->Device.IpAddress, std::string("127.0.0.71"));
  QCOMPARE(f.FormSetup->Device.HostName, std::string("other"));

  QTest::mouseClick(f.tbnDiscover, Qt::LeftButton);  // nothing selected now
  f.OnSetupIPAddr();
  QCOMPARE(rig.Prompts->CallsOf(QStringLiteral("ExecDialog")).size(), size_t(1));
}

// --------------------------------------------------------------- dispatcher

void TestFormMain::dispatcherCompletenessAndRejection() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  const std::vector<uint8_t> info = DeviceInfoReply(Camera(90, "127.0.0.90", "ninety"));
  // Fewer bytes than the header, or than the header announces: not complete.
  QVERIFY(!f.HandleReply(info.data(), 23));
  QVERIFY(!f.HandleReply(info.data(), static_cast<uint32_t>(info.size() - 1)));
  QCOMPARE(f.GridDevices->RowCount(), 0);

  struct Case {
    const char* Name;
    TTestMessage Message;
  };
  TTestMessage badHeader(4096);
  badHeader.HeaderSize = 28;
  TTestMessage badStatus(4096, 0, 5);
  std::vector<Case> ignored = {{"header size 28", badHeader}, {"status 5", badStatus}};
  for (Case& c : ignored) {
    c.Message.Word(12000, 91).Text(12008, "ignored");
    const std::vector<uint8_t> bytes = c.Message.Bytes();
    QVERIFY2(f.HandleReply(bytes.data(), static_cast<uint32_t>(bytes.size())), c.Name);
    QCOMPARE(f.GridDevices->RowCount(), 0);
    QCOMPARE(f.CurrentDevice.SerialNumber, 0);
  }
  // A bare MSG_DEVICE_INFO still writes the row of the serial number held.
  f.CurrentDevice.SerialNumber = 17;
  QVERIFY(Dispatch(f, TTestMessage(4096).Bytes()));
  QCOMPARE(Column(f.GridDevices, colSN), QStringList{"17"});
  // An 8-byte payload (one record of length 0) is not walked.
  QVERIFY(Dispatch(f, TTestMessage(4096).Raw({0xE0, 0x2E, 0, 0, 0, 0, 0, 0}).Bytes()));
  QCOMPARE(f.GridDevices->RowCount(), 1);
}

void TestFormMain::transitMessageListsOneLinePerRecord() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  f.PeerAddress = "10.0.0.5";
  TTestMessage transit(40000);
  transit.Text(14003, "AB123CD").Word(14009, 7).Word(14017, 0).Record(55555, {0x01, 0x02, 0x03, 0x04});
  QVERIFY(Dispatch(f, transit.Bytes()));
  QCOMPARE(f.ListViewMsgRx->topLevelItemCount(), 4);
  const QStringList types = {"PLATE", "TRANSIT_ID", "", "55555"};
  const QStringList values = {"AB123CD", "7", "", "04030201"};
  const QRegularExpression time(QStringLiteral("^\\d{2}:\\d{2}:\\d{2}\\.\\d{3}$"));
  for (int i = 0; i < 4; ++i) {
    QTreeWidgetItem* line = f.ListViewMsgRx->topLevelItem(i);
    QVERIFY(time.match(line->text(0)).hasMatch());
    QCOMPARE(line->text(1), QStringLiteral("10.0.0.5"));
    QCOMPARE(line->text(2), types[i]);
    QCOMPARE(line->text(3), values[i]);
  }
  // Only pushed messages are listed.
  QVERIFY(Dispatch(f, TTestMessage(4096).Text(14003, "XY").Bytes()));
  QCOMPARE(f.ListViewMsgRx->topLevelItemCount(), 4);
}

void TestFormMain::pictureGoesToPaneOfItsChannel() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  const std::vector<uint8_t> jpeg = TestJpeg(80, 60, InfoBlock(44));
  QVERIFY(Dispatch(f, ImageReply(1, jpeg)));
  QVERIFY(!f.Image1->HasPicture());
  QVERIFY(f.Image2->HasPicture());
  QCOMPARE(f.Image2->Image().size(), QSize(80, 60));
  QVERIFY(f.Image2->Bytes() == jpeg);
  QCOMPARE(f.ImageInfo2.SerialNumber, 44);
  QVERIFY(f.ImageInfo2.AllowEdit && f.ImageInfo2.AllowCapture);
  QVERIFY(f.MemoInfo2->toPlainText().contains(QStringLiteral("S_PLATE=AB123CD")));
  QVERIFY(f.btnSaveImage2->isEnabled() && !f.btnSaveImage1->isEnabled());
  // Another channel shows no picture.
  QVERIFY(Dispatch(f, ImageReply(2, jpeg)));
  QVERIFY(!f.Image1->HasPicture());
  // Pushed black-and-white pictures go to the first pane, not editable.
  QVERIFY(Dispatch(f, TTestMessage(40000).Record(14020, jpeg).Bytes()));
  QVERIFY(f.Image1->HasPicture());
  QVERIFY(!f.ImageInfo1.AllowEdit && f.ImageInfo1.AllowCapture);
}

void TestFormMain::pushedPictureSavedWhenAsked() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  f.SaveImages = true;
  f.SaveFolder = QStringToAnsi(rig.Dir.filePath(QStringLiteral("pics")));
  const std::vector<uint8_t> jpeg = TestJpeg(80, 60, InfoBlock(45));
  QVERIFY(Dispatch(f, TTestMessage(40000).Record(14021, jpeg).Bytes()));
  QCOMPARE(f.ListViewMsgRx->topLevelItemCount(), 1);
  const QString name = f.ListViewMsgRx->topLevelItem(0)->text(3);
  QCOMPARE(name, rig.Dir.filePath(QStringLiteral("pics/20140506/CAM45_20140506_123456_AB123CD_COL.jpg")));
  QFile saved(name);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  const QByteArray bytes = saved.readAll();
  QVERIFY(std::vector<uint8_t>(bytes.begin(), bytes.end()) == jpeg);
}

void TestFormMain::deviceRecordsStoredFromAnyMessage() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  // 2014-03-07 09:05:00 as day, month, year, hour, minute, second.
  const std::vector<uint8_t> time = {7, 3, 0xDE, 0x07, 9, 0, 5, 0, 0, 0, 0, 0};
  QVERIFY(Dispatch(f, TTestMessage(26011).Record(12026, time).Word(10006, 2).Text(10010, "x RovevOvu123456789012345y").Bytes()));
  QCOMPARE(QString::fromStdString(FormatDateTimeText(f.CurrentDevice.DeviceTime)), QStringLiteral("2014-03-07 09:05:00"));
  QVERIFY(f.CurrentDevice.Dhcp);
  QCOMPARE(f.CurrentDevice.Description, std::string("xy"));
  QCOMPARE(f.GridDevices->RowCount(), 0);  // only device information writes rows
  QVERIFY(Dispatch(f, TTestMessage(26011).Word(12007, 0).Bytes()));
  QVERIFY(!f.CurrentDevice.Dhcp);
}

void TestFormMain::recordlessRepliesRouted() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  f.MemoErrors->setPlainText(QStringLiteral("old report"));
  QVERIFY(Dispatch(f, TTestMessage(4119).Bytes()));
  QVERIFY(f.MemoErrors->toPlainText().isEmpty());

  const std::string listing = "        device.ini\r\n        ocrp_cfg.ini\r\n";
  QVERIFY(Dispatch(f, TTestMessage(4126).Raw(std::vector<uint8_t>(listing.begin(), listing.end())).Bytes()));
  QCOMPARE(f.StringListReadFile, (std::vector<std::string>{"        device.ini", "        ocrp_cfg.ini"}));

  const std::string file = "[NET]\r\nIP=1.2.3.4\r\n";
  TTestMessage contents(4100);
  contents.Raw({static_cast<uint8_t>(file.size()), 0, 0, 0}).Raw(std::vector<uint8_t>(file.begin(), file.end()));
  QVERIFY(Dispatch(f, contents.Bytes()));
  QCOMPARE(f.StringListReadFile, (std::vector<std::string>{"[NET]", "IP=1.2.3.4"}));

  std::vector<uint8_t> report(104, 0);
  const std::string firmware = "DOZU firmware";
  std::copy(firmware.begin(), firmware.end(), report.begin());
  QVERIFY(Dispatch(f, TTestMessage(4118).Raw(report).Bytes()));
  QVERIFY(f.MemoErrors->toPlainText().contains(QStringLiteral("ANPR firmware")));
}

// ------------------------------------------------------- pictures and menus

void TestFormMain::fileOpenShowsPictureAndInformation() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  const std::vector<uint8_t> jpeg = TestJpeg(120, 90, InfoBlock(77));
  rig.Prompts->Answer(QStringLiteral("OpenFile"), {true, WriteFile(rig.Dir, QStringLiteral("p.jpg"), jpeg)});
  f.PageControlImage->setCurrentIndex(1);
  f.mnuFileOpen->trigger();
  QVERIFY(f.Image1->HasPicture());
  QVERIFY(f.Image1->Bytes() == jpeg);
  QCOMPARE(f.ImageInfo1.SerialNumber, 77);
  QVERIFY(!f.ImageInfo1.AllowEdit && !f.ImageInfo1.AllowCapture);
  QVERIFY(f.MemoInfo1->toPlainText().contains(QStringLiteral("I_SN=77")));
  QVERIFY(f.btnSaveImage1->isEnabled());
  QCOMPARE(f.PageControlImage->currentIndex(), 1);  // the visible tab stays

  // Any format Qt reads; a picture without a block leaves the record empty.
  QImage png(10, 10, QImage::Format_RGB32);
  png.fill(Qt::red);
  const QString pngFile = rig.Dir.filePath(QStringLiteral("p.png"));
  QVERIFY(png.save(pngFile));
  rig.Prompts->Answer(QStringLiteral("OpenFile"), {true, pngFile});
  f.mnuFileOpen->trigger();
  QCOMPARE(f.Image1->Image().size(), QSize(10, 10));
  QCOMPARE(f.ImageInfo1.SerialNumber, 0);
  QVERIFY(f.MemoInfo1->toPlainText().isEmpty());

  // Cancel changes nothing.
  f.mnuFileOpen->trigger();
  QCOMPARE(f.Image1->Image().size(), QSize(10, 10));
  QVERIFY(rig.Prompts->TextsOf(QStringLiteral("ErrorBox")).isEmpty());
}

void TestFormMain::fileOpenKeepsPaneOnUnreadableFile() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  const std::vector<uint8_t> jpeg = TestJpeg(40, 30, InfoBlock(12));
  rig.Prompts->Answer(QStringLiteral("OpenFile"), {true, WriteFile(rig.Dir, QStringLiteral("ok.jpg"), jpeg)});
  f.mnuFileOpen->trigger();
  const std::string text = "just some text, no picture";
  rig.Prompts->Answer(QStringLiteral("OpenFile"),
                      {true, WriteFile(rig.Dir, QStringLiteral("bad.jpg"), std::vector<uint8_t>(text.begin(), text.end()))});
  f.mnuFileOpen->trigger();
  QCOMPARE(rig.Prompts->TextsOf(QStringLiteral("ErrorBox")).size(), 1);
  QVERIFY(f.Image1->Bytes() == jpeg);
  QCOMPARE(f.ImageInfo1.SerialNumber, 12);
}

void TestFormMain::doubleClickOnPanesOpensImageWindow() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  f.show();
  QTest::mouseDClick(f.Image1, Qt::LeftButton);  // empty pane: nothing
  QVERIFY(rig.Prompts->CallsOf(QStringLiteral("ExecDialog")).empty());

  QVERIFY(Dispatch(f, ImageReply(0, TestJpeg(64, 48, InfoBlock(5)))));
  f.CurrentDevice.IpAddress = "127.0.0.5";
  QTest::mouseDClick(f.Image1, Qt::LeftButton);
  QCOMPARE(rig.Prompts->CallsOf(QStringLiteral("ExecDialog")).size(), size_t(1));
  QVERIFY(!f.FormImage->PanelCSL->isHidden());  // opened with the settings
  QCOMPARE(f.FormImage->Device.IpAddress, std::string("127.0.0.5"));
  QVERIFY(f.FormImage->MemoInfo->toPlainText().split(QLatin1Char('\n')).contains(QStringLiteral("I_SN=5")));
  QCOMPARE(f.FormImage->Picture().size(), QSize(64, 48));

  QVERIFY(Dispatch(f, ImageReply(1, TestJpeg(32, 24))));
  f.PageControlImage->setCurrentWidget(f.tsIMAGE2);
  QTest::mouseDClick(f.Image2, Qt::LeftButton);
  QCOMPARE(rig.Prompts->CallsOf(QStringLiteral("ExecDialog")).size(), size_t(2));
  QVERIFY(f.FormImage->PanelConfig->isHidden());  // the colour picture: no settings
  QCOMPARE(f.FormImage->Picture().size(), QSize(32, 24));
}

void TestFormMain::aboutBoxFromHelpMenu() {
  TLumidorRig rig(FreeUdpPort());
  rig.Form->mnuAbout->trigger();
  const std::vector<TPromptCall> opened = rig.Prompts->CallsOf(QStringLiteral("ExecDialog"));
  QCOMPARE(opened.size(), size_t(1));
  QCOMPARE(opened[0].Caption, QStringLiteral("FormAbout"));
}

void TestFormMain::centreSplitStaysWhereUserPutsIt() {
  TLumidorRig rig(FreeUdpPort());
  TFormMain& f = *rig.Form;
  QVERIFY(rig.Start());
  auto half = [&] { return f.SplitterCenter->width() / 2; };
  f.resize(1000, 700);
  QTRY_COMPARE(f.SplitterCenter->sizes().value(0), half());
  QVERIFY(f.AutoSplit);

  QSplitterHandle* handle = f.SplitterCenter->handle(1);
  const QPoint middle(handle->width() / 2, handle->height() / 2);
  // A drag of the handle, 120 pixels to the left.
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(at), QPointF(handle->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(handle, &event);
  };
  send(QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, middle - QPoint(120, 0), Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, middle - QPoint(120, 0), Qt::LeftButton, Qt::NoButton);
  QVERIFY(!f.AutoSplit);
  const int moved = f.SplitterCenter->sizes().value(0);
  QVERIFY(moved < half() - 50);
  f.resize(1200, 700);
  QTest::qWait(50);
  QVERIFY(f.SplitterCenter->sizes().value(0) < f.SplitterCenter->width() / 2 - 50);
}

QTEST_MAIN(TestFormMain)
#include "test_gui_main.moc"
