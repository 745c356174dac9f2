// Pictures: the two panes with their image information, capture from the
// selected camera, saving, and re-opening pictures from the message list.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "UDeviceFiles.h"
#include "UImageInfo.h"
#include "UMain.h"
#include "UMainCommands.h"
#include "UMessages.h"
#include "UPicture.h"
#include "UPictureBox.h"
#include "UQtBridge.h"

// The plate locator settings are read first so that the picture's window
// and limits are current; a camera without a readable "ocrp_cfg.ini" keeps
// the values already held. A network error ends the handler.
void TFormMain::btnGetImageClick(int kind) {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock) return;
  if (ReadDeviceFile(device.Host, std::string(), "ocrp_cfg.ini")) ReadPlateLocator(StringListReadFile);
  PageControlImage->setCurrentWidget(kind == 0 ? tsIMAGE1 : tsIMAGE2);
  GetImage(device.Host, kind);
  UpdateControls();
}

void TFormMain::ReadPlateLocator(const std::vector<std::string>& lines) {
  const TPlateLocator locator = ::ReadPlateLocator(lines);
  CurrentDevice.SearchWindow = locator.SearchWindow;
  CurrentDevice.CharSizeLimits = locator.CharSizeLimits;
}

// The dispatcher puts the picture into the pane of the reply's channel.
bool TFormMain::GetImage(const std::string& address, int kind) {
  const uint32_t status =
      Zudirir().ExchangeTcp(address, BuildGetImage(static_cast<uint32_t>(kind)),
                            [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); });
  if (status == 0) return true;
  Prompts().MessageBox(QString::asprintf("Error: failed to get image (errcode=%d)", static_cast<int>(status)));
  return false;
}

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
