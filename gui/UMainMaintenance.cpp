// Device maintenance: the camera's clock, reboot, error log, ping and its
// web pages in the browser.

#include <QPlainTextEdit>

#include "UMain.h"
#include "UQtBridge.h"
#include "UErrorReport.h"

void TFormMain::btnWebConfigClick() {}

void TFormMain::btnPingClick() {}

void TFormMain::btnRebootClick() {}

void TFormMain::btnReadDateTimeClick() {}

void TFormMain::btnWriteDateTimeClick() {}

void TFormMain::btnWritePCDateTimeClick() {}

void TFormMain::btnGetErrorsClick() {}

void TFormMain::btnEraseErrorsClick() {}

// The error log of a MSG_GET_ERRORS reply, drawn once when complete.
void TFormMain::ShowErrorReport(const uint8_t* payload, uint32_t length) {
  MemoErrors->setUpdatesEnabled(false);
  MemoErrors->setPlainText(AnsiLinesToQStringList(ErrorReportLines(payload, length)).join(QLatin1Char('\n')));
  MemoErrors->setUpdatesEnabled(true);
}
