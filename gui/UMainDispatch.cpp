// The reply dispatcher: the one handler of every reply and pushed message.
// It checks that a message is complete and acceptable, routes the four
// record-less replies to their features, and otherwise walks the parameter
// records, storing what describes the device and showing pictures; pushed
// MSG_TRANSIT messages are listed one line per record.

#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include "UDateTime.h"
#include "UDeviceRecord.h"
#include "UHandleZudirir.h"
#include "UImageInfo.h"
#include "UMain.h"
#include "UMessages.h"
#include "UParamNames.h"
#include "UPicture.h"
#include "UPictureBox.h"
#include "UQtBridge.h"

namespace {

// Identifiers whose records the dispatcher acts on beyond naming them.
constexpr uint32_t PARAM_IMAGE = 2000;
constexpr uint32_t PARAM_IMAGE_BW = 14020;
constexpr uint32_t PARAM_IMAGE_COL = 14021;

}  // namespace

bool TFormMain::HandleReply(const uint8_t* reply, uint32_t length) {
  const TReplyAcceptance acceptance = AcceptReply(reply, length);
  if (acceptance == TReplyAcceptance::Incomplete) return false;
  if (acceptance == TReplyAcceptance::Ignored) return true;

  const TZudirirMsg header = ReadMsgHeader(reply);
  const uint8_t* payload = reply + MsgHeaderSize;
  if (acceptance == TReplyAcceptance::NoRecords) {
    switch (header.MsgNumber) {
      case MSG_READ_FILE:
        ShowFileContents(payload, header.PayloadSize);
        break;
      case MSG_GET_ERRORS:
        ShowErrorReport(payload, header.PayloadSize);
        break;
      case MSG_ERASE_ERRORS:
        MemoErrors->clear();
        break;
      case MSG_LIST_FILES:
        ShowFileList(payload, header.PayloadSize);
        break;
      default:
        break;
    }
    return true;
  }

  const bool transit = header.MsgNumber == MSG_TRANSIT;
  WalkPayload(payload, header.PayloadSize, [&](const TZudirirParam& param) {
    TNamedParam named = NameParam(param, TParamTool::TestTool);
    if (param.Id == PARAM_IMAGE) {
      // The reply's channel says which pane the picture belongs to.
      if (header.SourceChannel <= 1) {
        const int kind = static_cast<int>(header.SourceChannel);
        ShowPicture(kind, ParamImage(param), true, true);
      }
    } else if (param.Id == PARAM_IMAGE_BW || param.Id == PARAM_IMAGE_COL) {
      const int kind = param.Id == PARAM_IMAGE_BW ? 0 : 1;
      ShowPicture(kind, ParamImage(param), false, true);
      if (SaveImages) {
        named.Value = ImageFileName(kind == 0 ? ImageInfo1 : ImageInfo2, kind == 0 ? "_BW" : "_COL", SaveFolder,
                                    Now());
        SaveImageToFolder(*PicturePane(kind), named.Value);
      }
    } else {
      StoreDeviceParam(param, named, CurrentDevice);
    }
    if (transit) AddMessageLine(AnsiToQString(PeerAddress), AnsiToQString(named.Name), AnsiToQString(named.Value));
  });

  if (header.MsgNumber == MSG_DEVICE_INFO) UpdateDeviceRow();
  UpdateControls();
  return true;
}

// Writes CurrentDevice into the row of its serial number, or a new row, and
// lets the list sort itself again.
void TFormMain::UpdateDeviceRow() {
  const QString key = QString::number(CurrentDevice.SerialNumber);
  const int row = GridDevices->FindOrAppendSourceRow(key);
  GridDevices->SetSourceCell(row, colSN, key);
  GridDevices->SetSourceChecked(row, CurrentDevice.Dhcp);
  GridDevices->SetSourceCell(row, colIPADDR, AnsiToQString(CurrentDevice.IpAddress));
  GridDevices->SetSourceCell(row, colNETMASK, AnsiToQString(CurrentDevice.Netmask));
  GridDevices->SetSourceCell(row, colGATEWAY, AnsiToQString(CurrentDevice.Gateway));
  GridDevices->SetSourceCell(row, colMACADDR, AnsiToQString(CurrentDevice.MacAddress));
  GridDevices->SetSourceCell(row, colHOSTNAME, AnsiToQString(CurrentDevice.HostName));
  GridDevices->SetSourceCell(row, colDESCRIPTION, AnsiToQString(CurrentDevice.Description));
}

void TFormMain::AddMessageLine(const QString& from, const QString& type, const QString& value) {
  const TDateTimeParts now = DecodeDateTime(Now());
  const QString time = QStringLiteral("%1:%2:%3.%4")
                           .arg(now.Hour, 2, 10, QLatin1Char('0'))
                           .arg(now.Minute, 2, 10, QLatin1Char('0'))
                           .arg(now.Second, 2, 10, QLatin1Char('0'))
                           .arg(now.Millisecond, 3, 10, QLatin1Char('0'));
  new QTreeWidgetItem(ListViewMsgRx, {time, from, type, value});
  // The new line is the last. Scrolling lays the whole list out again, so it
  // is done once per turn of the event loop, not once per line.
  if (!ListViewMsgRx->property("ScrollQueued").toBool()) {
    ListViewMsgRx->setProperty("ScrollQueued", true);
    QTimer::singleShot(0, ListViewMsgRx, [list = ListViewMsgRx] {
      list->setProperty("ScrollQueued", false);
      list->scrollToBottom();
    });
  }
}
