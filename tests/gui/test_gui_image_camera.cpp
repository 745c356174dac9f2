// The image detail window with simulated cameras: pictures captured from the
// main window, Apply writing "ocrp_cfg.ini" so that the camera's next picture
// states the new settings, the reboot offer, Capture from inside the window,
// and the failures on the way (a refused read, a refused capture, a camera
// that cannot be reached).

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "TSimSuite.h"
#include "TUserInput.h"
#include "UImage.h"
#include "UImageView.h"
#include "UMessages.h"
#include "UNumberEdit.h"
#include "UPictureBox.h"

namespace {

enum TCamera {
  Clean = 1,          // answers everything
  Unreadable = 2,     // refuses every file read (Status 5)
  NoCapture = 3,      // refuses pictures (Status 7)
};

const QStringList SimOptions = {
    QStringLiteral("--fault"),        QStringLiteral("2:status=5@4100"),
    QStringLiteral("--fault"),        QStringLiteral("3:status=7@25166"),
    QStringLiteral("--reboot-time"),  QStringLiteral("0.3"),
};

}  // namespace

class TestImageCamera : public QObject, public TSimSuite {
  Q_OBJECT
private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();

  void applyWritesWhatTheNextPictureStates();
  void refusedReadWritesNothingAndKeepsApply();
  void refusedCaptureKeepsThePicture();
  void unreachableCameraReachesTheErrorBox();
  void colourPictureOffersCaptureOnly();
  void applyThenRebootClosesTheWindow();

private:
  // The user selects the camera and captures its black-and-white picture.
  void Capture(TCamera camera, int kind = 0);
};

void TestImageCamera::initTestCase() {
  QVERIFY(Start(QStringLiteral("127.0.10.11"), 3, SimOptions));
  QCOMPARE(Form().GridDevices->RowCount(), 3);
}

void TestImageCamera::init() { Forget(); }

void TestImageCamera::cleanupTestCase() { Stop(); }

void TestImageCamera::Capture(TCamera camera, int kind) {
  const int row = static_cast<int>(camera) - 1;
  Form().GridDevices->SelectRow(row);
  QCOMPARE(Form().GridDevices->Cell(colIPADDR, row), Sim->Address(camera));
  Form().CopyRowToDevice(row);  // undoes what a test put into the device record
  Form().btnGetImageClick(kind);
  QVERIFY(Form().PicturePane(kind)->HasPicture());
  Prompts().Forget();
}

// The camera's percent lane and limits, changed in the window, come back in
// the recognition settings of the next picture; the window keeps the edited
// numbers across its own capture, without the plate of the old picture.
void TestImageCamera::applyWritesWhatTheNextPictureStates() {
  Capture(Clean);
  const TImageInfo before = Form().ImageInfo1;
  QCOMPARE(before.SearchWindow, (TSearchWindow{5, 30, 95, 90, true}));
  QCOMPARE(before.CharSizeLimits, (TCharSizeLimits{8, 40, 12, 60}));
  TFormImage& f = *Form().FormImage;
  bool stayed = false;
  Prompts().InDialog([&](QDialog& dialog) {
    QCOMPARE(f.Picture().size(), QSize(1280, 960));
    QVERIFY(!f.Plate->isHidden());
    QCOMPARE(f.EditSWMinY->Suffix(), QStringLiteral(" %"));
    TypeAndLeave(dialog, f.EditSWMinY, QStringLiteral("25"));
    TypeAndLeave(dialog, f.EditCSLMaxX, QStringLiteral("50"));
    QVERIFY(f.btnApply->isEnabled());
    f.btnApply->click();  // the reboot offer is answered No
    QCOMPARE(Prompts().TextsOf("Confirm"), QStringList{"Settings changed. Reboot now?"});
    stayed = dialog.isVisible();
    QCOMPARE(f.SavedWindow, (TSearchWindow{5, 25, 95, 90, true}));
    QCOMPARE(f.SavedLimits, (TCharSizeLimits{8, 50, 12, 60}));

    f.btnGetImage->click();
    QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
    QVERIFY(Form().ImageInfo1.NRead > before.NRead);  // a new picture
    QVERIFY(f.Plate->isHidden() && f.lblPlate->isHidden());
    QVERIFY(f.MemoInfo->toPlainText().isEmpty() && f.btnShowInfo->isHidden());
    QCOMPARE(f.EditSWMinY->text(), QStringLiteral("25"));
    QCOMPARE(f.EditCSLMaxX->text(), QStringLiteral("50"));
    QCOMPARE(f.CharSizeMax->width(), 50);
  });
  Form().OnImage1DblClick();
  QVERIFY(stayed);
  QCOMPARE(Form().ImageInfo1.SearchWindow, (TSearchWindow{5, 25, 95, 90, true}));
  QCOMPARE(Form().ImageInfo1.CharSizeLimits, (TCharSizeLimits{8, 50, 12, 60}));
  const std::string file = CameraFile(Clean, "ocrp_cfg.ini");
  QVERIFY2(file.find("PercLaneUp=25\r\n") != std::string::npos, file.c_str());
  QVERIFY2(file.find("CharMaxWidth=50\r\n") != std::string::npos, file.c_str());
  // Nothing was written to the pixel window the camera does not use.
  QVERIFY2(file.find("WinMinY") == std::string::npos, file.c_str());
  QVERIFY(Sim->LogWith(QStringLiteral("rebooting")).isEmpty());
}

void TestImageCamera::refusedReadWritesNothingAndKeepsApply() {
  Capture(Unreadable);
  TFormImage& f = *Form().FormImage;
  Prompts().InDialog([&](QDialog& dialog) {
    TypeAndLeave(dialog, f.EditCSLMinX, QStringLiteral("9"));
    const TCharSizeLimits saved = f.SavedLimits;
    f.btnApply->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(f.SavedLimits, saved);
    QVERIFY(f.btnApply->isEnabled());
    QCOMPARE(Prompts().TextsOf("Confirm"), QStringList());
  });
  Form().OnImage1DblClick();
  QVERIFY(Sim->LogWith(QStringLiteral("MSG_WRITE_FILE")).isEmpty());
}

void TestImageCamera::refusedCaptureKeepsThePicture() {
  Capture(Clean);
  TFormImage& f = *Form().FormImage;
  Prompts().InDialog([&](QDialog& dialog) {
    const QImage shown = f.Picture();
    f.btnGetImage->click();
    QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList{"Error: failed to get image (errcode=7)"});
    QVERIFY(dialog.isVisible());
    QVERIFY(f.Picture() == shown);
  });
  // The clean camera's picture, opened for the camera that refuses pictures.
  Form().CurrentDevice.IpAddress = Sim->Address(NoCapture).toStdString();
  Form().OnImage1DblClick();
}

void TestImageCamera::unreachableCameraReachesTheErrorBox() {
  TFormImage& f = *Form().FormImage;
  Form().CurrentDevice.IpAddress = "127.0.10.99";  // nothing listens there
  Prompts().InDialog([&](QDialog& dialog) {
    f.btnGetImage->click();
    QCOMPARE(Prompts().CallsOf("ErrorBox").size(), size_t(1));
    QVERIFY(dialog.isVisible());
  });
  Form().OnImage1DblClick();
}

void TestImageCamera::colourPictureOffersCaptureOnly() {
  Capture(Clean, 1);
  TFormImage& f = *Form().FormImage;
  Prompts().InDialog([&](QDialog&) {
    QCOMPARE(f.ImageKind, 1);
    QCOMPARE(f.Picture().size(), QSize(800, 600));
    QVERIFY(f.PanelConfig->isHidden() && f.CharSizeMax->isHidden() && f.SearchWindowTop->isHidden());
    QVERIFY(!f.btnGetImage->isHidden() && f.btnGetImage->isEnabled());
    Sim->ForgetLog();
    f.btnGetImage->click();
    QCOMPARE(Prompts().TextsOf("MessageBox"), QStringList());
    QVERIFY(Sim->WaitForLog(QStringLiteral("MSG_GET_IMAGE(25166): Status 0, colour picture")));
    QVERIFY(f.PanelConfig->isHidden());
  });
  Form().OnImage2DblClick();
}

void TestImageCamera::applyThenRebootClosesTheWindow() {
  Capture(Clean);
  TFormImage& f = *Form().FormImage;
  bool open = true;
  Prompts().Answer("Confirm", {true, {}});
  Prompts().InDialog([&](QDialog& dialog) {
    TypeAndLeave(dialog, f.EditCSLMaxY, QStringLiteral("70"));
    f.btnApply->click();
    open = dialog.isVisible();
  });
  Form().OnImage1DblClick();
  QVERIFY(!open);
  QCOMPARE(Prompts().CallsOf("Information").size(), size_t(1));
  QVERIFY(Sim->WaitForLog(QStringLiteral("rebooting")));
  QVERIFY(Sim->WaitForLog(QStringLiteral("back after reboot")));
  QVERIFY(CameraFile(Clean, "ocrp_cfg.ini").find("CharMaxHeight=70\r\n") != std::string::npos);
}

QTEST_MAIN(TestImageCamera)
#include "test_gui_image_camera.moc"
