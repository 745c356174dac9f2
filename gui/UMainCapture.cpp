// Pictures: the two panes with their image information, capture from the
// selected camera, saving, and re-opening pictures from the message list.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include "UImageInfo.h"
#include "UMain.h"
#include "UPicture.h"
#include "UPictureBox.h"
#include "UQtBridge.h"

void TFormMain::btnGetImageClick(int) {}

// Resets info and memo, then fills them from the information block of the
// picture's bytes, if it has one.
void TFormMain::ShowImageInfo(TPictureBox* picture, TImageInfo& info, QPlainTextEdit* memo, bool allowEdit,
                              bool allowCapture) {
  std::vector<std::string> lines;
  const std::span<const uint8_t> bytes =
      picture && picture->HasPicture() ? std::span<const uint8_t>(picture->Bytes()) : std::span<const uint8_t>();
  ShowImageInfoText(bytes, info, lines, allowEdit, allowCapture);
  memo->setPlainText(AnsiLinesToQStringList(lines).join(QLatin1Char('\n')));
}

// A camera's picture into its pane (0 black-and-white, 1 colour), with its
// information read from the bytes as received.
void TFormMain::ShowPicture(int kind, const TJpegPicture& picture, bool allowEdit, bool allowCapture) {
  TPictureBox* pane = PicturePane(kind);
  pane->SetPicture(JpegToQImage(picture), picture.Bytes);
  if (kind == 0) {
    ShowImageInfo(Image1, ImageInfo1, MemoInfo1, allowEdit, allowCapture);
  } else {
    ShowImageInfo(Image2, ImageInfo2, MemoInfo2, allowEdit, allowCapture);
  }
}
