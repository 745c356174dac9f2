// Device files and backup: the camera's INI files listed, read, edited and
// written back, and the configuration backup downloaded over HTTP.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <QTextDocument>

#include "UBackupDownload.h"
#include "UDeviceFiles.h"
#include "UMain.h"
#include "UMainCommands.h"
#include "UMessages.h"
#include "UPassword.h"
#include "UQtBridge.h"
#include "USelect.h"
#include "UZudirir.h"

namespace {

// The memo's text holds each line followed by a line break, and a final
// empty line of the editor is no line of the file. So every list of lines,
// an empty last line and an empty file included, comes back from an
// unedited memo exactly as it went in.
void ShowLines(QPlainTextEdit& memo, const TLines& lines) {
  QString text;
  for (const std::string& line : lines) {
    text += AnsiToQString(line);
    text += QLatin1Char('\n');
  }
  memo.setPlainText(text);
}

// The editor's lines as typed. Each block's own text is taken: the plain
// text of the whole document would turn no-break spaces (byte 0xA0) into
// blanks.
TLines MemoLines(const QPlainTextEdit& memo) {
  TLines lines;
  for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
    lines.push_back(QStringToAnsi(block.text()));
  }
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// The busy cursor while an HTTP attempt blocks the window.
class TBusyCursor {
public:
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

void SaveBytes(const QString& fileName, const std::vector<uint8_t>& bytes) {
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.flush()) {
    throw EFileError(QStringToAnsi(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString())));
  }
}

}  // namespace

bool TFormMain::ReadDeviceFile(const std::string& host, const std::string& mac, const std::string& fileName) {
  const uint8_t* reply = nullptr;
  const bool answered = Zudirir().ExchangeUdp(
      host, mac, BuildReadFile(fileName), reply, WAIT_SINGLE_REPLY,
      [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); });
  // Only a reply with Status 0 carried the contents into StringListReadFile.
  return answered && reply && DeliveredStatus(reply) == 0;
}

bool TFormMain::WriteDeviceFile(const std::string& host, const std::string& mac, const std::string& fileName) {
  const uint8_t* reply = nullptr;
  return Zudirir().ExchangeUdp(host, mac, BuildWriteFile(fileName, WriteFileText(StringListWriteFile)), reply,
                               WAIT_SINGLE_REPLY,
                               [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); });
}

// Read, edit, write back; nothing is written when the read fails.
bool TFormMain::WriteNetworkSettings(const std::string& host, const std::string& mac, TDeviceInfo record) {
  StringListReadFile.clear();
  StringListWriteFile.clear();
  if (!ReadDeviceFile(host, mac, "device.ini")) return false;
  StringListWriteFile = NetworkSettingsLines(StringListReadFile, record);
  return WriteDeviceFile(host, mac, "device.ini");
}

bool TFormMain::WriteOcrSettings(const std::string& host, const std::string& mac, TDeviceInfo record) {
  StringListReadFile.clear();
  StringListWriteFile.clear();
  if (!ReadDeviceFile(host, mac, "ocrp_cfg.ini")) return false;
  StringListWriteFile = OcrSettingsLines(StringListReadFile, record);
  return WriteDeviceFile(host, mac, "ocrp_cfg.ini");
}

void TFormMain::btnReadFileClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock || !FormSelect) return;

  const uint8_t* reply = nullptr;
  // Every camera answer within the wait replaces the listing before it.
  if (!Zudirir().ExchangeUdp(device.Host, std::string(), BuildListFiles(), reply, WAIT_LIST_FILES,
                             [this](const uint8_t* bytes, uint32_t length) { return HandleReply(bytes, length); })) {
    Prompts().MessageBox(
        QString::asprintf("Error: failed to list files (errcode=%d)", static_cast<int>(DeliveredStatus(reply))));
    return;
  }

  const TReadFileChoices choices = ReadFileChoices(StringListReadFile, LastReadFile);
  int index = choices.Index;
  QFont font = FormSelect->Listbox1->font();
  font.setPointSize(8);
  FormSelect->Listbox1->setFont(font);
  if (FormSelect->SelectItem(QString::fromLatin1(ApplicationTitle), tr("Read file:"),
                             AnsiLinesToQStringList(choices.Names), index) &&
      index >= 0 && index < static_cast<int>(choices.Names.size())) {
    LastReadFile = choices.Names[static_cast<size_t>(index)];
    LastReadFileLoaded = false;
    MemoFile->clear();
    if (ReadDeviceFile(device.Host, std::string(), LastReadFile)) {
      ShowLines(*MemoFile, StringListReadFile);
      LastReadFileLoaded = true;
      // Half the page for the text pane brings it into view.
      const int page = tsDIAGNOSE->height();
      const int pane = page / 2;
      Splitter1->setSizes({std::max(0, page - pane - Splitter1->handleWidth()), pane});
    }
  }
  UpdateControls();
}

void TFormMain::btnWriteFileClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TExchangeLock lock(*this);
  if (!lock) return;
  const QString name = AnsiToQString(LastReadFile);
  // After a failed read the pane is empty and hidden: writing it would
  // replace the camera's file with nothing.
  if (!LastReadFileLoaded) {
    Prompts().MessageBox(QStringLiteral("Error: file ") + name +
                         QStringLiteral(" has not been read; nothing was written"));
    return;
  }
  if (!Prompts().Confirm(QStringLiteral("Write file ") + name + QStringLiteral(" ?"))) return;
  StringListWriteFile = MemoLines(*MemoFile);
  if (WriteDeviceFile(device.Host, std::string(), LastReadFile) &&
      Prompts().Confirm(QStringLiteral("File ") + name + QStringLiteral(" written. Reboot now?"))) {
    RebootDevice(device.Host, std::string());
  }
  UpdateControls();
}

// Factory credentials first, quietly; then the user's, once. The
// credentials live in memory for this run only.
void TFormMain::btnBackupClick() {
  TSelectedDevice device;
  if (!SelectedDevice(*GridDevices, device)) return;
  TFileDialogSpec spec;
  spec.DefaultSuffix = QStringLiteral("bin");
  QString fileName = AnsiToQString(BackupFileName(device.Serial));
  if (!Prompts().SaveFile(spec, fileName)) return;

  QCoreApplication::processEvents();
  const uint16_t port = Zudirir().Endpoints().HttpPort;
  std::vector<uint8_t> backup;
  bool done = false;
  {
    TBusyCursor busy;
    try {
      backup = DownloadBackup(device.Host, port, "fieldtech", "fieldtech");
      done = true;
    } catch (...) {
      // Only marks the attempt as failed: the user is asked next.
    }
  }
  if (!done) {
    QString userName = AnsiToQString(BackupUserName);
    QString password = AnsiToQString(BackupPassword);
    if (!FormPassword || !FormPassword->AskCredentials(userName, password)) return;
    BackupUserName = QStringToAnsi(userName);
    BackupPassword = QStringToAnsi(password);
    TBusyCursor busy;
    // An error here goes on to the standard error box; nothing is saved.
    backup = DownloadBackup(device.Host, port, BackupUserName, BackupPassword);
  }
  SaveBytes(fileName, backup);
  Prompts().MessageBox(QStringLiteral("Backup saved ") + QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()));
}

void TFormMain::ShowFileContents(const uint8_t* payload, uint32_t length) {
  StringListReadFile = FileContentsLines(payload, length);
}

void TFormMain::ShowFileList(const uint8_t* payload, uint32_t length) {
  StringListReadFile = FileListLines(payload, length);
}
