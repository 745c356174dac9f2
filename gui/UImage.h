#pragma once
// The image detail window: one picture at full size with the information the
// camera embedded in it. Opened modally by a double click on a picture pane.
// This is its outline: it takes what the main window hands over and shows
// the picture; the plate search window, the character size boxes and their
// editing belong to this class as well.

#include <QDialog>
#include <QImage>
#include <QStringList>

#include "UTypes.h"

class QLabel;
class QPushButton;
class QScrollArea;
class TPictureBox;
class TPrompts;

class TFormImage : public QDialog {
  Q_OBJECT
public:
  TFormImage(TPrompts& prompts, QWidget* parent = nullptr);

  // The black-and-white picture, with its plate locator settings.
  int ShowImageSettings(const TPictureBox& image, TDeviceInfo device, const QStringList& infoLines,
                        TImageInfo imageInfo);
  // The colour picture.
  int ShowImage(const TPictureBox& image, TDeviceInfo device, const QStringList& infoLines);

  // What the last opening handed over.
  QImage Picture;
  TDeviceInfo Device;
  QStringList InfoLines;
  TImageInfo ImageInfo;
  bool WithSettings = false;

  QScrollArea* ScrollBox;
  QLabel* ImageView;
  QPushButton* btnClose;

private:
  int Open();

  TPrompts& Prompts;
};
