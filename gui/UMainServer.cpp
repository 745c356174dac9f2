// The event server: cameras connect and push their plate reads, which are
// listed in ListViewMsgRx; pushed pictures can be saved as they arrive.

#include <QTcpServer>

#include "UMain.h"

void TFormMain::btnServerStartClick() {}

void TFormMain::btnServerStopClick() {}

void TFormMain::btnServerClearClick() {}

void TFormMain::chkServerSaveImagesClick() {}

void TFormMain::TcpServerTimerTimer() {}

void TFormMain::StopServer() { TCPServer1->close(); }
