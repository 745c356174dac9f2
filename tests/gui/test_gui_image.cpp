// The image detail window on its own: what each opening shows, the strips,
// the plate frame, dragging and typing the character boxes, Cancel, the
// wheel and scrolling, the information memo and Esc. The user's actions run
// inside the (modeless) window through the scripted prompts.

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <climits>

#include "TScriptedPrompts.h"
#include "TUserInput.h"
#include "UImage.h"
#include "UImageView.h"
#include "UNumberEdit.h"
#include "UPictureBox.h"

Q_DECLARE_METATYPE(TSearchWindow)

class TestImageWindow : public QObject {
  Q_OBJECT
private slots:
  void searchWindow_data();
  void searchWindow();
  void openingWithoutCameraInformationKeepsCaptureAndUsesDevice();
  void pictureThatMayNotBeEdited();
  void colourPictureHasNoOverlay();
  void plateFrame_data();
  void plateFrame();
  void dragMovesTheMaxBoxAndTheRestFollows();
  void shiftAndCtrlDragStopAtTheLimits();
  void typedSizesAreNotClampedAndCancelRestoresSizesOnly();
  void hiddenWindowFieldsStillHoldTheWindow();
  void applyNeedsAChangeAndAMacAddress();
  void wheelAndScrollingKeepTheBoxesInTheView();
  void pointerPositionInPicturePixels();
  void informationMemo();
  void escapeCloses();
};

namespace {

TSearchWindow Pixels(int32_t l, int32_t t, int32_t r, int32_t b) { return {l, t, r, b, false}; }

// A camera's picture of the given size with its settings.
struct TWindowRig {
  TScriptedPrompts Prompts;
  TFormImage Form{Prompts};
  TPictureBox Source;
  TDeviceInfo Device;
  TImageInfo Info;

  TWindowRig(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(90, 90, 90));
    Source.SetPicture(picture, {});
    Device.IpAddress = "127.0.0.11";
    Device.MacAddress = "02-0A-1B-00-00-01";
    Info.SerialNumber = 210001;
    Info.AllowEdit = true;
    Info.AllowCapture = true;
    Info.SearchWindow = Pixels(100, 50, 1180, 900);
    Info.CharSizeLimits = {20, 40, 30, 60};
  }
  // Opens the window with the settings; action runs while it is open.
  int Open(std::function<void()> action = {}) {
    if (action) Prompts.InDialog([action](QDialog&) { action(); });
    return Form.ShowImageSettings(Source, Device, {QStringLiteral("I_SN=210001")}, Info);
  }
};

QRect Shown(const QWidget* w) { return w->isHidden() ? QRect() : w->geometry(); }

// Mouse events as the system delivers them during a drag: to the box on
// which the button went down, in its coordinates at that moment.
void Press(QWidget* box, QPoint local, Qt::KeyboardModifiers modifiers = {}) {
  QMouseEvent e(QEvent::MouseButtonPress, local, box->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton, modifiers);
  QApplication::sendEvent(box, &e);
}
void MoveTo(QWidget* box, QPoint global, Qt::KeyboardModifiers modifiers = {}) {
  const QPoint local = box->mapFromGlobal(global);
  QMouseEvent e(QEvent::MouseMove, local, global, Qt::NoButton, Qt::LeftButton, modifiers);
  QApplication::sendEvent(box, &e);
}
void Release(QWidget* box, QPoint global) {
  const QPoint local = box->mapFromGlobal(global);
  QMouseEvent e(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, {});
  QApplication::sendEvent(box, &e);
}
// Drags from a point of the box by (dx, dy) in steps of 5 pixels.
void Drag(QWidget* box, QPoint from, int dx, int dy, Qt::KeyboardModifiers modifiers = {}) {
  const QPoint start = box->mapToGlobal(from);
  Press(box, from, modifiers);
  const int steps = std::max(std::abs(dx), std::abs(dy)) / 5;
  for (int i = 1; i <= steps; ++i) MoveTo(box, start + QPoint(dx * i / steps, dy * i / steps), modifiers);
}

// A wheel turn over a widget.
void Wheel(QWidget* target, int delta) {
  const QPointF at(2, 2);
  QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, {}, Qt::NoScrollPhase,
                false);
  QApplication::sendEvent(target, &e);
}

QStringList Fields(const TFormImage& f) {
  return {f.EditSWMinX->text(), f.EditSWMinY->text(), f.EditSWMaxX->text(), f.EditSWMaxY->text()};
}

}  // namespace

void TestImageWindow::searchWindow_data() {
  QTest::addColumn<QSize>("picture");
  QTest::addColumn<TSearchWindow>("window");
  QTest::addColumn<bool>("panel");
  QTest::addColumn<QList<QRect>>("strips");  // left, right, top, bottom; null: not shown
  QTest::addColumn<QStringList>("fields");
  QTest::addColumn<QString>("suffix");
  const QSize large(1280, 960);
  QTest::newRow("1024 x 768: no strips, no panel")
      << QSize(1024, 768) << Pixels(100, 50, 900, 700) << false << QList<QRect>{{}, {}, {}, {}}
      << QStringList{"100", "50", "900", "700"} << "";
  QTest::newRow("1280 x 960, pixels")
      << large << Pixels(100, 50, 1180, 900) << true
      << QList<QRect>{{0, 0, 100, 960}, {1180, 0, 100, 960}, {0, 0, 1280, 50}, {0, 900, 1280, 60}}
      << QStringList{"100", "50", "1180", "900"} << "";
  QTest::newRow("1280 x 960, percent")
      << large << TSearchWindow{10, 20, 90, 80, true} << true
      << QList<QRect>{{0, 0, 128, 960}, {1152, 0, 128, 960}, {0, 0, 1280, 192}, {0, 768, 1280, 192}}
      << QStringList{"10", "20", "90", "80"} << " %";
  QTest::newRow("left edge 0, right and bottom edges left open")
      << large << Pixels(0, 50, INT32_MAX, INT32_MAX) << true << QList<QRect>{{}, {}, {0, 0, 1280, 50}, {}}
      << QStringList{"0", "50", "2147483647", "2147483647"} << "";
  QTest::newRow("left edge beyond the picture covers it")
      << large << Pixels(5000, 0, 6000, 960) << true << QList<QRect>{{0, 0, 1281, 960}, {}, {}, {}}
      << QStringList{"5000", "0", "6000", "960"} << "";
}

void TestImageWindow::searchWindow() {
  QFETCH(QSize, picture);
  QFETCH(TSearchWindow, window);
  QFETCH(bool, panel);
  QFETCH(QList<QRect>, strips);
  QFETCH(QStringList, fields);
  QFETCH(QString, suffix);
  TWindowRig rig(picture.width(), picture.height());
  rig.Info.SearchWindow = window;
  rig.Open();
  const TFormImage& f = rig.Form;
  QCOMPARE(!f.PanelSW->isHidden(), panel);
  QCOMPARE(Shown(f.SearchWindowLeft), strips[0]);
  QCOMPARE(Shown(f.SearchWindowRight), strips[1]);
  QCOMPARE(Shown(f.SearchWindowTop), strips[2]);
  QCOMPARE(Shown(f.SearchWindowBottom), strips[3]);
  QCOMPARE(Fields(f), fields);
  QCOMPARE(f.EditSWMinX->Suffix(), suffix);
  QCOMPARE(f.EditSWMaxY->Suffix(), suffix);
  QVERIFY(!f.PanelConfig->isHidden());
}

void TestImageWindow::openingWithoutCameraInformationKeepsCaptureAndUsesDevice() {
  TWindowRig rig(1280, 960);
  rig.Device.SearchWindow = Pixels(10, 20, 1000, 800);
  rig.Device.CharSizeLimits = {9, 50, 11, 70};
  rig.Info.PlateMaxX = 400;
  const TImageInfo camera = rig.Info;
  for (const bool capture : {true, false}) {
    // The previous opening decides whether Capture shows.
    rig.Info = camera;
    rig.Info.AllowCapture = capture;
    rig.Open();
    rig.Info = TImageInfo();
    rig.Open();
    QCOMPARE(!rig.Form.btnGetImage->isHidden(), capture);
  }
  const TFormImage& f = rig.Form;
  QCOMPARE(f.SavedWindow, rig.Device.SearchWindow);
  QCOMPARE(f.SavedLimits, rig.Device.CharSizeLimits);
  QCOMPARE(Shown(f.SearchWindowLeft), QRect(0, 0, 10, 960));
  QVERIFY(f.Plate->isHidden() && f.lblPlate->isHidden());
  QCOMPARE(f.CharSizeMax->size(), QSize(50, 70));
  QVERIFY(!f.btnApply->isHidden() && f.EditCSLMaxX->isEnabled());
}

void TestImageWindow::pictureThatMayNotBeEdited() {
  TWindowRig rig(1280, 960);
  rig.Info.AllowEdit = false;  // pushed by the camera, not captured on request
  rig.Open();
  const TFormImage& f = rig.Form;
  QVERIFY(f.btnApply->isHidden());
  QVERIFY(!f.btnGetImage->isHidden());
  for (const QWidget* w : {static_cast<QWidget*>(f.EditCSLMinX), static_cast<QWidget*>(f.EditSWMaxY),
                           static_cast<QWidget*>(f.LabelCSL)}) {
    QVERIFY(!w->isEnabled());
  }
  QVERIFY(!f.SearchWindowTop->isHidden() && !f.CharSizeMax->isHidden());

  // The next opening of an editable picture makes both panels usable again.
  rig.Info.AllowEdit = true;
  rig.Open();
  QVERIFY(!f.btnApply->isHidden() && f.EditCSLMinX->isEnabled() && f.EditSWMaxY->isEnabled());
}

void TestImageWindow::colourPictureHasNoOverlay() {
  TWindowRig rig(800, 600);
  rig.Open();  // a black-and-white opening before leaves overlay behind to be hidden
  rig.Source.Tag = 1;
  rig.Form.btnGetImage->hide();
  rig.Form.ShowImage(rig.Source, rig.Device, {});
  const TFormImage& f = rig.Form;
  QCOMPARE(f.ImageKind, 1);
  QVERIFY(f.PanelConfig->isHidden());
  for (const QWidget* w : std::initializer_list<const QWidget*>{
           f.SearchWindowLeft, f.SearchWindowRight, f.SearchWindowTop, f.SearchWindowBottom, f.Plate, f.lblPlate,
           f.CharSizeMin, f.CharSizeMax, f.lblCharSizeLimits}) {
    QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
  }
  QVERIFY(!f.btnGetImage->isHidden() && f.btnGetImage->isEnabled());
}

void TestImageWindow::plateFrame_data() {
  QTest::addColumn<QList<int>>("plate");  // min x, min y, max x, max y
  QTest::addColumn<bool>("shown");
  QTest::addColumn<QRect>("frame");  // null: not looked at
  QTest::addColumn<QRect>("label");
  QTest::newRow("all 0: hidden") << QList<int>{0, 0, 0, 0} << false << QRect() << QRect();
  QTest::newRow("only max y above 0: shown") << QList<int>{0, 0, 0, 30} << true << QRect() << QRect();
  QTest::newRow("a plate") << QList<int>{520, 672, 699, 715} << true << QRect(520, 672, 179, 43)
                           << QRect(520, 715, 179, 15);
}

void TestImageWindow::plateFrame() {
  QFETCH(QList<int>, plate);
  QFETCH(bool, shown);
  QFETCH(QRect, frame);
  QFETCH(QRect, label);
  TWindowRig rig(1280, 960);
  rig.Info.Plate = "AB123CD";
  rig.Info.OcrScore = 87;
  rig.Info.PlateMinX = plate[0];
  rig.Info.PlateMinY = plate[1];
  rig.Info.PlateMaxX = plate[2];
  rig.Info.PlateMaxY = plate[3];
  rig.Open();
  const TFormImage& f = rig.Form;
  QCOMPARE(!f.Plate->isHidden(), shown);
  QCOMPARE(!f.lblPlate->isHidden(), shown);
  QCOMPARE(f.lblPlate->text(), QStringLiteral("AB123CD (87%)"));
  if (frame.isNull()) return;  // nothing to see of a frame without width
  QCOMPARE(QRect(f.Plate->pos(), f.Plate->size()), frame);
  QCOMPARE(QRect(f.lblPlate->pos(), f.lblPlate->size()), label);
}

void TestImageWindow::dragMovesTheMaxBoxAndTheRestFollows() {
  TWindowRig rig(1280, 960);
  TFormImage& f = rig.Form;
  rig.Open([&] {
    QCOMPARE(f.CharSizeMax->pos(), QPoint(10, 10));
    QCOMPARE(f.CharSizeMin->pos(), QPoint(20, 25));  // centred: 10 + (40 - 20) / 2, 10 + (60 - 30) / 2
    Drag(f.CharSizeMax, {5, 5}, 30, 20);
    QVERIFY(f.Dragging);
    QCOMPARE(f.CharSizeMax->pos(), QPoint(40, 30));
    QCOMPARE(QPoint(f.MaxBoxLeft, f.MaxBoxTop), QPoint(40, 30));
    QCOMPARE(f.CharSizeMin->pos(), QPoint(50, 45));
    QCOMPARE(f.lblCharSizeLimits->pos(), QPoint(40, 90));
    QCOMPARE(f.CharSizeMax->cursor().shape(), Qt::SizeAllCursor);
    // The sizes did not change, so there is nothing to apply.
    QVERIFY(!f.btnApply->isEnabled());
    Release(f.CharSizeMax, f.CharSizeMax->mapToGlobal(QPoint(5, 5)));
    QVERIFY(!f.Dragging);
    QVERIFY(!f.CharSizeMax->testAttribute(Qt::WA_SetCursor));

    // A press on the small box drags the large one the same way.
    Drag(f.CharSizeMin, {2, 2}, -10, 0);
    Release(f.CharSizeMin, f.CharSizeMin->mapToGlobal(QPoint(2, 2)));
    QCOMPARE(f.CharSizeMax->pos(), QPoint(30, 30));
    QCOMPARE(f.CharSizeMin->pos(), QPoint(40, 45));

    // Without a press, a pointer moving over a box does nothing.
    MoveTo(f.CharSizeMax, f.CharSizeMax->mapToGlobal(QPoint(30, 30)));
    QCOMPARE(f.CharSizeMax->pos(), QPoint(30, 30));
  });
}

void TestImageWindow::shiftAndCtrlDragStopAtTheLimits() {
  TWindowRig rig(1280, 960);
  TFormImage& f = rig.Form;
  rig.Open([&] {
    Drag(f.CharSizeMax, {5, 5}, 100, 0, Qt::ShiftModifier);
    QCOMPARE(f.CharSizeMax->size(), QSize(60, 60));
    QCOMPARE(f.CharSizeMax->pos(), QPoint(10, 10));  // resizing does not move it
    QCOMPARE(f.CharSizeMax->cursor().shape(), Qt::SizeFDiagCursor);
    QCOMPARE(f.EditCSLMaxX->text(), QStringLiteral("60"));
    QCOMPARE(f.Limits.MaxWidth, 60);
    QCOMPARE(f.CharSizeMin->pos(), QPoint(30, 25));  // still centred
    Release(f.CharSizeMax, {});
    Drag(f.CharSizeMax, {5, 5}, 0, 300, Qt::ShiftModifier);
    QCOMPARE(f.CharSizeMax->size(), QSize(60, 100));
    Release(f.CharSizeMax, {});

    // Ctrl: the small box, never below 8 and never above the large box.
    Drag(f.CharSizeMax, {5, 5}, -100, 0, Qt::ControlModifier);
    QCOMPARE(f.CharSizeMin->size(), QSize(8, 30));
    QCOMPARE(f.EditCSLMinX->text(), QStringLiteral("8"));
    Release(f.CharSizeMax, {});
    Drag(f.CharSizeMax, {5, 5}, 200, 200, Qt::ControlModifier);
    QCOMPARE(f.CharSizeMin->size(), QSize(60, 100));
    Release(f.CharSizeMax, {});
    // Shift wins over Ctrl; the large box cannot shrink below the small one.
    Drag(f.CharSizeMax, {5, 5}, -100, -100, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(f.CharSizeMax->size(), QSize(60, 100));
    Release(f.CharSizeMax, {});
    QCOMPARE(f.Limits, (TCharSizeLimits{60, 60, 100, 100}));
    QVERIFY(f.btnApply->isEnabled());
  });
}

void TestImageWindow::typedSizesAreNotClampedAndCancelRestoresSizesOnly() {
  TWindowRig rig(1280, 960);
  TFormImage& f = rig.Form;
  rig.Open([&] {
    TypeAndLeave(f, f.EditCSLMaxX, QStringLiteral("200"));
    QCOMPARE(f.CharSizeMax->width(), 200);
    QCOMPARE(f.Limits.MaxWidth, 200);
    TypeAndLeave(f, f.EditCSLMinY, QStringLiteral("3"));
    QCOMPARE(f.CharSizeMin->height(), 3);
    TypeAndLeave(f, f.EditSWMinX, QString());  // an empty field reads as 0
    QCOMPARE(f.Window, Pixels(0, 50, 1180, 900));
    QVERIFY(f.SearchWindowLeft->isHidden());
    QCOMPARE(f.EditSWMinX->text(), QStringLiteral("0"));
    QVERIFY(f.btnApply->isEnabled());

    Drag(f.CharSizeMax, {5, 5}, 30, 30);
    Release(f.CharSizeMax, {});
    f.btnCancel->click();
    QCOMPARE(f.CharSizeMax->size(), QSize(40, 60));
    QCOMPARE(f.CharSizeMin->size(), QSize(20, 30));
    QCOMPARE(f.Window, rig.Info.SearchWindow);
    QCOMPARE(Shown(f.SearchWindowLeft), QRect(0, 0, 100, 960));
    QCOMPARE(f.CharSizeMax->pos(), QPoint(40, 40));  // the position stays
    QCOMPARE(f.EditCSLMaxX->text(), QStringLiteral("40"));
    QVERIFY(!f.btnApply->isEnabled());
  });
}

// On a picture up to 1024 x 768 the window's fields are hidden; leaving a
// size field reads them all, so they must hold the window, not old numbers.
void TestImageWindow::hiddenWindowFieldsStillHoldTheWindow() {
  TWindowRig rig(1280, 960);
  rig.Info.SearchWindow = Pixels(100, 50, 1180, 900);
  rig.Open();
  QImage small(800, 600, QImage::Format_RGB32);
  small.fill(Qt::gray);
  rig.Source.SetPicture(small, {});
  rig.Info.SearchWindow = {5, 30, 95, 90, true};
  TFormImage& f = rig.Form;
  rig.Open([&] { TypeAndLeave(f, f.EditCSLMaxX, QStringLiteral("44")); });
  QVERIFY(f.PanelSW->isHidden());
  QCOMPARE(f.Window, rig.Info.SearchWindow);
  QCOMPARE(Fields(f), (QStringList{"5", "30", "95", "90"}));
  QCOMPARE(f.Limits.MaxWidth, 44);
}

void TestImageWindow::applyNeedsAChangeAndAMacAddress() {
  TWindowRig rig(1280, 960);
  rig.Device.MacAddress.clear();
  TFormImage& f = rig.Form;
  rig.Open([&] {
    QVERIFY(!f.btnApply->isHidden());
    QVERIFY(!f.btnApply->isEnabled());
    Drag(f.CharSizeMax, {5, 5}, 10, 10, Qt::ShiftModifier);
    Release(f.CharSizeMax, {});
    QCOMPARE(f.Limits.MaxWidth, 50);
    QVERIFY(!f.btnApply->isEnabled());
  });
  // Capture needs an address.
  QVERIFY(f.btnGetImage->isEnabled());
  rig.Device.IpAddress.clear();
  rig.Open();
  QVERIFY(!f.btnGetImage->isEnabled());
}

void TestImageWindow::wheelAndScrollingKeepTheBoxesInTheView() {
  TWindowRig rig(1280, 960);
  rig.Info.PlateMinX = 520, rig.Info.PlateMinY = 672, rig.Info.PlateMaxX = 699, rig.Info.PlateMaxY = 715;
  TFormImage& f = rig.Form;
  rig.Open([&] {
    QWidget* view = f.ScrollBox1->viewport();
    QScrollBar* vertical = f.ScrollBox1->verticalScrollBar();
    Drag(f.CharSizeMax, {5, 5}, 30, 30);
    Release(f.CharSizeMax, {});
    const QPoint box = f.CharSizeMax->pos();
    const QPoint label = f.lblCharSizeLimits->pos();
    const QPoint strip = f.SearchWindowBottom->mapTo(view, QPoint());
    const QPoint plate = f.Plate->mapTo(view, QPoint());

    Wheel(view, -120);  // towards the user: down, one notch of 20 pixels
    QCOMPARE(vertical->value(), 20);
    Wheel(f.CharSizeMax, -360);  // over a box as well; one step is at most 20
    QCOMPARE(vertical->value(), 40);
    Wheel(f.Image1, -7);
    QCOMPARE(vertical->value(), 47);
    f.ScrollBox1->horizontalScrollBar()->setValue(100);  // a scroll bar moved by the user
    QCOMPARE(f.CharSizeMax->pos(), box);
    QCOMPARE(f.lblCharSizeLimits->pos(), label);
    QCOMPARE(f.SearchWindowBottom->mapTo(view, QPoint()), strip - QPoint(100, 47));
    QCOMPARE(f.Plate->mapTo(view, QPoint()), plate - QPoint(100, 47));

    Wheel(f.Image1, 120);
    Wheel(f.Image1, 120);
    Wheel(f.Image1, 120);
    QCOMPARE(vertical->value(), 0);  // not above the top
    vertical->setValue(vertical->maximum());
    Wheel(view, -120);
    QCOMPARE(vertical->value(), vertical->maximum());
    QCOMPARE(f.CharSizeMax->pos(), box);
  });
}

void TestImageWindow::pointerPositionInPicturePixels() {
  TWindowRig rig(1280, 960);
  TFormImage& f = rig.Form;
  rig.Open([&] {
    QCOMPARE(f.PanelXY->text(), QStringLiteral("PanelXY"));
    f.ScrollBox1->verticalScrollBar()->setValue(200);
    const QPoint at(333, 444);
    QMouseEvent move(QEvent::MouseMove, at, f.Image1->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(f.Image1, &move);
    QCOMPARE(f.PanelXY->text(), QStringLiteral("X=333, Y=444"));
    QCOMPARE(f.Image1->cursor().shape(), Qt::CrossCursor);
  });
}

void TestImageWindow::informationMemo() {
  TWindowRig rig(1280, 960);
  TFormImage& f = rig.Form;
  rig.Prompts.InDialog([&](QDialog&) {
    QVERIFY(f.MemoInfo->isHidden());
    QVERIFY(!f.btnShowInfo->isHidden());
    QCOMPARE(f.btnShowInfo->text(), QStringLiteral("Show info"));
    QCOMPARE(f.MemoInfo->toPlainText(), QStringLiteral("I_SN=210001\nS_PLATE=AB123CD"));
    QCOMPARE(f.MemoInfo->width(), std::max(200, f.ScrollBox1->width() / 3));
    QCOMPARE(f.MemoInfo->height(), QFontMetrics(f.MemoInfo->font()).lineSpacing() * 2 + 6);
    f.btnShowInfo->click();
    QVERIFY(f.MemoInfo->isVisible());
    QCOMPARE(f.btnShowInfo->text(), QStringLiteral("Hide info"));
    f.btnShowInfo->click();
    QVERIFY(f.MemoInfo->isHidden());
    QCOMPARE(f.btnShowInfo->text(), QStringLiteral("Show info"));
    f.btnShowInfo->click();
  });
  f.ShowImageSettings(rig.Source, rig.Device, {QStringLiteral(" \t"), QStringLiteral("I_SN=210001"),
                                               QStringLiteral("S_PLATE=AB123CD  "), QString()},
                      rig.Info);
  // The next opening starts with the memo hidden; without lines there is nothing to show.
  rig.Prompts.InDialog([&](QDialog&) { QVERIFY(f.MemoInfo->isHidden() && f.btnShowInfo->isHidden()); });
  f.ShowImageSettings(rig.Source, rig.Device, {QStringLiteral("  ")}, rig.Info);
}

void TestImageWindow::escapeCloses() {
  TWindowRig rig(1280, 960);
  TFormImage& f = rig.Form;
  bool open = true;
  rig.Prompts.InDialog([&](QDialog& dialog) {
    f.EditCSLMinX->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    open = dialog.isVisible();
  });
  QCOMPARE(f.ShowImageSettings(rig.Source, rig.Device, {}, rig.Info), int(QDialog::Rejected));
  QVERIFY(!open);
  // Enter in a field presses no button.
  rig.Prompts.InDialog([&](QDialog& dialog) {
    QTest::keyClick(f.EditCSLMinX, Qt::Key_Return);
    open = dialog.isVisible();
  });
  f.ShowImageSettings(rig.Source, rig.Device, {}, rig.Info);
  QVERIFY(open);
}

QTEST_MAIN(TestImageWindow)
#include "test_gui_image.moc"
