// The main window against dozusim, the simulated cameras: the search lists
// the cameras, sorted and selectable, with the right commands enabled.

#include <QHeaderView>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QRegularExpression>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QToolButton>

#include "TLumidorRig.h"
#include "TDozusim.h"

class TestWithSimulatedCameras : public QObject {
  Q_OBJECT
private slots:
  void camerasListedSortedAndSelectable();
  void searchOneSpecificDevice();
  void cameraAnsweringWithErrorStatusIsNotListed();
  void rowsAppearWhileTheSearchWaits();
  void programSavesScreenshotAfterFirstSearch();
};

namespace {
QStringList Column(TDeviceGrid* grid, int column) {
  QStringList cells;
  for (int row = 0; row < grid->RowCount(); ++row) cells.append(grid->Cell(column, row));
  return cells;
}

void ClickRow(TDeviceGrid* grid, int row) {
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->Sorted->index(row, colIPADDR)).center());
}

QString Ip(int camera) { return QStringLiteral("127.0.5.%1").arg(10 + camera); }
}  // namespace

void TestWithSimulatedCameras::camerasListedSortedAndSelectable() {
  // Camera 1 (SN 1200) answers before camera 2 (SN 800).
  TDozusim sim(Ip(1), 3,
               {"--camera", "1:serial=1200", "--camera", "2:serial=800", "--camera", "3:serial=5000", "--fault",
                "2:delay=150@MSG_DEVICE_INFO"});
  QVERIFY2(sim.Start(), qPrintable(sim.LogText()));
  TLumidorRig rig(sim.UdpPort);
  QVERIFY(rig.Start());
  TFormMain& f = *rig.Form;
  QCOMPARE(Column(f.GridDevices, colSN), (QStringList{"800", "1200", "5000"}));
  QCOMPARE(Column(f.GridDevices, colIPADDR), (QStringList{Ip(2), Ip(1), Ip(3)}));
  for (const QString& cell : Column(f.GridDevices, colMACADDR)) {
    QVERIFY2(QRegularExpression(QStringLiteral("^([0-9A-F]{2}-){5}[0-9A-F]{2}$")).match(cell).hasMatch(), qPrintable(cell));
  }
  QVERIFY(!Column(f.GridDevices, colHOSTNAME).contains(QString()));

  // The first row is selected at start; the device commands follow it.
  QCOMPARE(f.GridDevices->SelectedRow(), 0);
  QCOMPARE(QString::fromStdString(f.CurrentDevice.IpAddress), Ip(2));
  QVERIFY(f.tbnPing->isEnabled() && f.btnGetImage1->isEnabled() && f.btnReadFile->isEnabled());
  QVERIFY(!f.btnWriteFile->isEnabled());
  QCOMPARE(f.GridDevicesPopupMenu, f.PopupMenu1);

  ClickRow(f.GridDevices, 2);
  QCOMPARE(QString::fromStdString(f.CurrentDevice.IpAddress), Ip(3));
  QCOMPARE(QString::fromStdString(f.CurrentDevice.HostName), f.GridDevices->Cell(colHOSTNAME, 2));

  // Sorting by another visible column, and a fresh search.
  QHeaderView* header = f.GridDevices->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(colIPADDR) + 10, header->height() / 2));
  QCOMPARE(Column(f.GridDevices, colIPADDR), (QStringList{Ip(1), Ip(2), Ip(3)}));
  QTest::mouseClick(f.tbnDiscover, Qt::LeftButton);
  QCOMPARE(f.GridDevices->RowCount(), 3);
  QCOMPARE(f.GridDevices->SelectedRow(), -1);
  QVERIFY(!f.tbnPing->isEnabled());
  QVERIFY(rig.Prompts->TextsOf(QStringLiteral("ErrorBox")).isEmpty());
}

void TestWithSimulatedCameras::searchOneSpecificDevice() {
  TDozusim sim(Ip(1), 3);
  QVERIFY2(sim.Start(), qPrintable(sim.LogText()));
  TLumidorRig rig(sim.UdpPort);
  QVERIFY(rig.Start());
  QCOMPARE(rig.Form->GridDevices->RowCount(), 3);
  rig.Prompts->Answer(QStringLiteral("InputBox"), {true, Ip(3)});
  QTest::mouseClick(rig.Form->btnDiscoverOne, Qt::LeftButton);
  QCOMPARE(Column(rig.Form->GridDevices, colIPADDR), QStringList{Ip(3)});
  rig.Prompts->Answer(QStringLiteral("InputBox"), {true, QString()});
  QTest::mouseClick(rig.Form->btnDiscoverOne, Qt::LeftButton);
  QCOMPARE(rig.Form->GridDevices->RowCount(), 3);
}

void TestWithSimulatedCameras::cameraAnsweringWithErrorStatusIsNotListed() {
  TDozusim sim(Ip(1), 3, {"--fault", "2:status=5@MSG_DEVICE_INFO"});
  QVERIFY2(sim.Start(), qPrintable(sim.LogText()));
  TLumidorRig rig(sim.UdpPort);
  QVERIFY(rig.Start());
  QCOMPARE(Column(rig.Form->GridDevices, colIPADDR), (QStringList{Ip(1), Ip(3)}));
  QVERIFY(rig.Prompts->Calls.empty());
}

void TestWithSimulatedCameras::rowsAppearWhileTheSearchWaits() {
  // The third camera is always late.
  TDozusim sim(Ip(1), 3, {"--fault", "3:delay=900@MSG_DEVICE_INFO"});
  QVERIFY2(sim.Start(), qPrintable(sim.LogText()));
  TLumidorRig rig(sim.UdpPort);
  QVERIFY(rig.Start());
  // Half way through the next search the window has drawn the first rows and
  // runs its timers, though the last camera has not answered yet.
  int rowsMidway = -1;
  bool waitingMidway = false;
  QTimer::singleShot(500, rig.Form.get(), [&] {
    rowsMidway = rig.Form->GridDevices->RowCount();
    waitingMidway = rig.Form->ExchangeRunning();
  });
  QTest::mouseClick(rig.Form->tbnDiscover, Qt::LeftButton);
  QVERIFY(waitingMidway);
  QCOMPARE(rowsMidway, 2);
  QCOMPARE(rig.Form->GridDevices->RowCount(), 3);
}

// The program itself, as a demo runs it on a machine without a display.
void TestWithSimulatedCameras::programSavesScreenshotAfterFirstSearch() {
  TDozusim sim(Ip(1), 3);
  QVERIFY2(sim.Start(), qPrintable(sim.LogText()));
  QTemporaryDir dir;
  const QString shot = dir.filePath(QStringLiteral("lumidor.png"));
  QProcess lumidor;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("ZUDIRIR_UDP_PORT"), QString::number(sim.UdpPort));
  env.insert(QStringLiteral("ZUDIRIR_BROADCAST"), QStringLiteral("127.255.255.255"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  lumidor.setProcessEnvironment(env);
  lumidor.setProcessChannelMode(QProcess::MergedChannels);
  lumidor.start(QStringLiteral(LUMIDOR_PATH), {QStringLiteral("--screenshot"), shot});
  QVERIFY(lumidor.waitForFinished(20000));
  QVERIFY2(lumidor.exitCode() == 0, lumidor.readAll().constData());
  const QImage image(shot);
  QCOMPARE(image.size(), QSize(808, 680));
}

QTEST_MAIN(TestWithSimulatedCameras)
#include "test_gui_sim.moc"
