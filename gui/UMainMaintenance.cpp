// Device maintenance: the camera's clock, reboot, error log, ping and its
// web pages in the browser.

#include <QDateEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimeEdit>

#include "UDeviceTimeWords.h"
#include "UErrorReport.h"
#include "UMain.h"
#include "UMainCommands.h"
#include "UMessages.h"
#include "UQtBridge.h"
#include "UZudirir.h"

namespace {

QString ErrorText(const char* format, uint32_t code) { return QString::asprintf(format, static_cast<int>(code)); }

// The date picker shows the whole day of value, the time picker its time of day.
void ShowInPickers(TFormMain& form, TDateTime value) {
  const TDateTimeParts parts = DecodeDateTime(value);
  form.EditDate1->setDate(QDate(parts.Year, parts.Month, parts.Day));
  form.EditTime1->setTime(QTime(parts.Hour, parts.Minute, parts.Second, parts.Millisecond));
}

// What "Write" sends: the date the date picker's text names (day zero for
// its initial "0000-00-00") with the time picker's time of day.
TDateTime PickersValue(TFormMain& form) {
  const TDateTime date = DatePickerValue(QStringToAnsi(form.EditDate1->text()), form.Clock());
  const TDateTime time = form.EditTime1->time().msecsSinceStartOfDay() / 86400000.0;
  return CombineDateAndTime(date, time);
}

// "Get errors" without its lock, so "Erase errors" can run it as a whole.
void GetErrors(TFormMain& form, const std::string& host) {
  form.MemoErrors->clear();
  const uint8_t* reply = nullptr;
  // A missing reply leaves the pane empty, without a message.
  form.Zudirir().ExchangeUdp(host, std::string(), BuildGetErrors(), reply, WAIT_SINGLE_REPLY,
                             [&form](const uint8_t* bytes, uint32_t length) { return form.HandleReply(bytes, length); });
  form.MemoErrors->moveCursor(QTextCursor::Start);
  form.MemoErrors->ensureCursorVisible();
  form.UpdateControls();
}

}  // namespace

void TFormMain::btnWebConfigClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  Prompts().OpenUrl(QStringLiteral("http://") + AnsiToQString(device.Host));
}

void TFormMain::btnPingClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  std::string error;
  if (!LaunchPing(device.Host, error)) Prompts().MessageBox(AnsiToQString(error));
}

void TFormMain::btnRebootClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock) return;
  if (!Prompts().Confirm(tr("Would you like to reboot the device ?"))) return;
  RebootDevice(device.Host, std::string());
}

// Any reply the dispatcher accepted counts, whatever its Status: the camera
// has taken the request.
bool TFormMain::RebootDevice(const std::string& host, const std::string& mac) {
  const uint8_t* reply = nullptr;
  const bool answered = Zudirir().ExchangeUdp(
      host, mac, BuildReboot(), reply, WAIT_SINGLE_REPLY,
      [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); });
  if (answered) {
    Prompts().Information(
        tr("Reboot requested: This may take up to 110 seconds. During this time the ANPR will shutdown running "
           "services. The reboot is performed afterwards."));
    return true;
  }
  Prompts().MessageBox(ErrorText("Error: failed to reboot device (errcode=%d)", DeliveredStatus(reply)));
  return false;
}

// The reply's TIME record reaches CurrentDevice.DeviceTime through the
// dispatcher; the pickers show it only when the camera reported success.
void TFormMain::btnReadDateTimeClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock) return;
  const uint32_t status = Zudirir().ExchangeTcp(
      device.Host, BuildGetDateTime(),
      [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); });
  if (status != 0) {
    Prompts().MessageBox(ErrorText("Error: failed to get date/time (errcode=%d)", status));
    return;
  }
  ShowInPickers(*this, CurrentDevice.DeviceTime);
}

void TFormMain::btnWriteDateTimeClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock) return;
  SetDateTime(device.Host, PickersValue(*this));
}

// The clock is read once; that reading, milliseconds included, is what is
// sent, not the pickers' seconds.
void TFormMain::btnWritePCDateTimeClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock) return;
  const TDateTime now = Clock();
  ShowInPickers(*this, now);
  SetDateTime(device.Host, now);
}

bool TFormMain::SetDateTime(const std::string& host, TDateTime value) {
  const uint32_t status =
      Zudirir().ExchangeTcp(host, BuildSetDateTime(value),
                            [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); });
  if (status == 0) {
    Prompts().Information(tr("Date and time have been changed"));
    return true;
  }
  Prompts().MessageBox(ErrorText("Error: failed to set date/time (errcode=%d)", status));
  return false;
}

void TFormMain::btnGetErrorsClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock) return;
  GetErrors(*this, device.Host);
}

// No confirmation: the erase reply empties the pane, and the fresh report
// that follows shows what the camera holds now.
void TFormMain::btnEraseErrorsClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock) return;
  const uint8_t* reply = nullptr;
  Zudirir().ExchangeUdp(device.Host, std::string(), BuildEraseErrors(), reply, WAIT_SINGLE_REPLY,
                        [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); });
  GetErrors(*this, device.Host);
  UpdateControls();
}

// The error log of a MSG_GET_ERRORS reply, drawn once when complete.
void TFormMain::ShowErrorReport(const uint8_t* payload, uint32_t length) {
  MemoErrors->setUpdatesEnabled(false);
  MemoErrors->setPlainText(AnsiLinesToQStringList(ErrorReportLines(payload, length)).join(QLatin1Char('\n')));
  MemoErrors->setUpdatesEnabled(true);
}
