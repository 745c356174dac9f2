#pragma once
// The image detail window: one camera picture at full size in a scrollable
// view, with the camera's information text and, for the black-and-white
// picture, the plate recognition settings drawn over it: hatched strips
// outside the plate search window, the plate the camera found, and two boxes
// for the smallest and largest plate character. The user edits the window
// and the character limits by typing or dragging and writes them to the
// camera with Apply. Created once at start, opened modally by a double click
// on a picture pane of the main window. Every geometric decision is taken by
// UImageGeometry; this class only carries it out on the widgets.

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <cstdint>

#include "UImageGeometry.h"
#include "UTypes.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class TFormMain;
class TImageCanvas;
class TNumberEdit;
class TPictureBox;
class TPrompts;
class TShapeBox;

class TFormImage : public QDialog {
  Q_OBJECT
public:
  // main: the window whose capture, file and reboot operations this one
  // uses (none: a window that only shows pictures).
  TFormImage(TPrompts& prompts, TFormMain* main = nullptr);

  // The colour picture: picture and text, no overlay. Returns the window's result.
  int ShowImage(const TPictureBox& source, TDeviceInfo device, const QStringList& lines);
  // The black-and-white picture with the overlay and the settings panels.
  int ShowImageSettings(const TPictureBox& source, TDeviceInfo device, const QStringList& lines,
                        const TImageInfo& info);

  void ShowSearchWindow(const TSearchWindow& w);
  void ShowPlate(const TImageInfo& info);
  void ShowCharSizeLimits(const TCharSizeLimits& c);
  void HideSearchWindow();
  void HidePlate();
  void HideCharSizeLimits();
  void UpdateImageControls();

  // Event handlers, named after their controls and events.
  void btnGetImageClick();
  void btnShowInfoClick();
  void btnApplyClick();
  void btnCancelClick();
  void OnEditExit();
  void OnScroll();
  void FormMouseWheel(int delta);

  // ---- State besides the controls.
  int32_t DragX = 0, DragY = 0;
  int32_t MaxBoxLeft = 0, MaxBoxTop = 0;  // in the view, not in the picture
  bool Dragging = false;
  TDeviceInfo Device;
  int32_t ImageKind = 0;  // 0 black-and-white, 1 colour
  TSearchWindow SavedWindow;
  TSearchWindow Window;
  TCharSizeLimits SavedLimits;
  TCharSizeLimits Limits;

  // The picture as shown (1:1).
  const QImage& Picture() const { return Picture_; }
  // The boxes' sizes as set, which the number fields show.
  TSize MinBoxSize() const { return MinBox_; }
  TSize MaxBoxSize() const { return MaxBox_; }

  // ---- Controls.
  QWidget* PanelLeft;
  QWidget* PanelCapture;
  QPushButton* btnClose;
  QPushButton* btnGetImage;
  QPushButton* btnShowInfo;
  QWidget* PanelConfig;
  QWidget* PanelCSL;
  QLabel* LabelCSL;
  TNumberEdit* EditCSLMinX;
  TNumberEdit* EditCSLMinY;
  TNumberEdit* EditCSLMaxX;
  TNumberEdit* EditCSLMaxY;
  QWidget* PanelSW;
  QLabel* LabelSW;
  TNumberEdit* EditSWMinX;
  TNumberEdit* EditSWMinY;
  TNumberEdit* EditSWMaxX;
  TNumberEdit* EditSWMaxY;
  QWidget* PanelApply;
  QPushButton* btnApply;
  QPushButton* btnCancel;
  QLabel* PanelXY;
  QScrollArea* ScrollBox1;
  TImageCanvas* Image1;  // scrolls with the picture; strips and plate are its children
  TShapeBox* SearchWindowTop;
  TShapeBox* SearchWindowLeft;
  TShapeBox* SearchWindowRight;
  TShapeBox* SearchWindowBottom;
  TShapeBox* Plate;
  QLabel* lblPlate;
  QLabel* lblCharSizeLimits;  // the label and the boxes stay put in the view
  TShapeBox* CharSizeMin;
  TShapeBox* CharSizeMax;
  QPlainTextEdit* MemoInfo;

protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FormCreate();
  void FormShow();
  void FormKeyPress(int key);
  void MemoInfoChange();
  void Image1MouseMove(int x, int y);
  void OnCharSizeMouseDown(TShapeBox* box, int x, int y);
  void OnCharSizeMouseMove(TShapeBox* box, int x, int y, Qt::KeyboardModifiers modifiers);
  void OnCharSizeMouseUp(TShapeBox* box);

  void SetPicture(const TPictureBox& source);
  void SetPicture(const QImage& picture);
  void SetMemoText(const QStringList& lines);
  int MemoLineCount() const;
  int OpenModal();
  static void EnablePanel(QWidget* panel, bool enabled);
  void SetBoxSize(TShapeBox* box, TSize size);
  void PlaceOverlay(QWidget* overlay, const TRect& r);
  TPoint MaxBoxPos() const;
  // Runs a handler as the application runs every event: an error that
  // escapes it reaches the standard error box and the window goes on.
  template <class F>
  void Guarded(F&& handler);

  TPrompts& Prompts;
  TFormMain* Main;
  QImage Picture_;
  TSize MinBox_, MaxBox_;
};
