// Device files and backup: the camera's INI files listed, read, edited and
// written back, and the configuration backup downloaded over HTTP.

#include "UDeviceFiles.h"
#include "UMain.h"

void TFormMain::btnReadFileClick() {}

void TFormMain::btnWriteFileClick() {}

void TFormMain::btnBackupClick() {}

void TFormMain::ShowFileContents(const uint8_t* payload, uint32_t length) {
  StringListReadFile = FileContentsLines(payload, length);
}

void TFormMain::ShowFileList(const uint8_t* payload, uint32_t length) {
  StringListReadFile = FileListLines(payload, length);
}
