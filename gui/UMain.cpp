// The main window: start-up and close, settings file, enabling of the
// controls, File > Open / Exit, Help > About, the picture panes' double
// click, the splitter and the clock. The controls are built in UMainLayout.cpp.

#include "UMain.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTcpServer>
#include <QTimer>
#include <QToolButton>

#include "UAbout.h"
#include "UControlRules.h"
#include "UImage.h"
#include "UPictureBox.h"
#include "UQtBridge.h"
#include "USettings.h"
#include "UShortenPath.h"
#include "UVersionInfo.h"
#include "UZudirir.h"

namespace {

QStringList MemoLines(const QPlainTextEdit* memo) {
  const QString text = memo->toPlainText();
  return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

}  // namespace

TFormMain::TFormMain(TFormZudirir& zudirir, std::unique_ptr<TPrompts> prompts, const QString& settingsFile,
                     QWidget* parent)
    : QMainWindow(parent), Zudirir_(zudirir), Prompts_(std::move(prompts)) {
  setObjectName(QStringLiteral("FormMain"));
  if (!Prompts_) Prompts_ = std::make_unique<TQtPrompts>(this);
  SettingsFile_ = settingsFile.isEmpty()
                      ? AnsiToQString(SettingsFileName(QStringToAnsi(QCoreApplication::applicationFilePath())))
                      : settingsFile;
  // While a UDP exchange listens the window keeps handling its events; a TCP
  // exchange blocks and shows the busy cursor instead.
  Zudirir_.Pump = [] { QCoreApplication::processEvents(); };
  Zudirir_.BusyCursor = [](bool busy) {
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  };
  CreateLayout();
  ConnectHandlers();
  FormCreate();
}

TFormMain::~TFormMain() {
  Zudirir_.Pump = nullptr;
  Zudirir_.BusyCursor = nullptr;
}

// ------------------------------------------------------- start-up and close

void TFormMain::ShowException(const char* message) { Prompts().ErrorBox(AnsiToQString(message)); }

void TFormMain::FormCreate() {
  setWindowTitle(QString::fromLatin1(ApplicationTitle) + QStringLiteral(" v") + VersionInfo().ProductVersion);
  // Every step is guarded: a failure is shown and start-up goes on.
  Guarded([this] {
    AutoSplit = true;
    SaveImages = false;
    SaveFolder.clear();
    LastReadFile.clear();
    BackupUserName.clear();
    BackupPassword.clear();
    EditServerPort->setText(QString::number(DefaultServerPort));
    // The short date and time formats are fixed for every platform (UDateTime.h).
    ShowImageInfo(nullptr, ImageInfo1, MemoInfo1, false, false);
    ShowImageInfo(nullptr, ImageInfo2, MemoInfo2, false, false);
    PageControlImage->setCurrentIndex(0);
    PageControlSettings->setCurrentIndex(0);
    LoadSettings(SettingsFile_);
  });
  UpdateControls();
  Timer1Timer();
}

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (Shown_) return;
  Shown_ = true;
  // The first search runs once the window is on screen, so rows appear as
  // the cameras answer.
  QTimer::singleShot(0, this, [this] {
    Guarded([this] { FormShow(); });
    Started_ = true;
    emit Ready();
  });
}

void TFormMain::FormShow() {
  SearchDevices(std::string());
  if (GridDevices->SelectedRow() < 0 && GridDevices->RowCount() > 0) GridDevices->SelectRow(0);
}

void TFormMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == SplitterCenter) {
    FormResize();
  } else if (event->type() == QEvent::Resize && watched == lblServerSaveImages) {
    // A drag of the splitter resizes the label too; only its text follows.
    ShowSaveFolder();
  } else if (watched == lblServerSaveImages && event->type() == QEvent::MouseButtonRelease) {
    lblServerSaveImagesClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFormMain::FormResize() {
  if (AutoSplit) {
    const int total = SplitterCenter->width() - SplitterCenter->handleWidth();
    const int left = SplitterCenter->width() / 2;
    if (total > 0 && SplitterCenter->sizes().value(0) != left) SplitterCenter->setSizes({left, total - left});
  }
  // The status bar's panel 0 takes the free width by its stretch.
  ShowSaveFolder();
}

// The folder for saved pictures, shortened to the label's width.
void TFormMain::ShowSaveFolder() {
  QString caption;
  if (SaveImages) {
    const QFontMetrics metrics(lblServerSaveImages->font());
    caption = AnsiToQString(ShortenPath(SaveFolder, lblServerSaveImages->width(), [&](const std::string& text) {
      return metrics.horizontalAdvance(AnsiToQString(text));
    }));
  }
  if (lblServerSaveImages->text() != caption) lblServerSaveImages->setText(caption);
}

void TFormMain::OnSplitterMoved() { AutoSplit = false; }

void TFormMain::closeEvent(QCloseEvent* event) {
  FormClose();
  QMainWindow::closeEvent(event);
}

void TFormMain::FormClose() {
  if (Closed_) return;
  Closed_ = true;
  // Neither failure keeps the window open.
  try {
    StopServer();
  } catch (...) {
  }
  try {
    SaveSettings(SettingsFile_);
  } catch (...) {
  }
}

void TFormMain::Timer1Timer() {
  const TDateTime now = Now();
  StatusBarPanel1->setText(AnsiToQString(FormatShortDate(now)));
  StatusBarPanel2->setText(AnsiToQString(FormatShortTime(now)));
}

// --------------------------------------------------------------- settings

void TFormMain::LoadSettings(const QString& fileName) {
  const TSettings settings = ::LoadSettings(QStringToAnsi(fileName));
  EditServerPort->setText(QString::number(settings.Port));
  SaveFolder = settings.SaveFolder;
}

void TFormMain::SaveSettings(const QString& fileName) {
  TSettings settings;
  settings.Port = EditServerPort->text().toInt();
  settings.SaveFolder = SaveFolder;
  ::SaveSettings(QStringToAnsi(fileName), settings);
}

// --------------------------------------------------------------- enabling

void TFormMain::UpdateControls() {
  TControlState state;
  state.DeviceSelected = GridDevices->SelectedRow() >= 0;
  state.ServerActive = ServerActive();
  state.Image1HasPicture = Image1->HasPicture();
  state.Image2HasPicture = Image2->HasPicture();
  state.LastReadFile = LastReadFile;
  const TControlFlags flags = ControlRules(state);

  PageControlSettings->setTabVisible(PageControlSettings->indexOf(tsDATETIME), flags.tsDATETIMEVisible);
  PageControlSettings->setTabVisible(PageControlSettings->indexOf(tsDIAGNOSE), flags.tsDIAGNOSEVisible);
  MemoInfo1->setVisible(flags.MemoInfo1Visible);
  MemoInfo2->setVisible(flags.MemoInfo2Visible);
  auto enable = [](bool enabled, std::initializer_list<QWidget*> widgets, std::initializer_list<QAction*> actions) {
    for (QWidget* w : widgets) w->setEnabled(enabled);
    for (QAction* a : actions) a->setEnabled(enabled);
  };
  enable(flags.GetImageEnabled, {btnGetImage1, btnGetImage2, tbnGetImage}, {popGetImage});
  enable(flags.btnSaveImage1Enabled, {btnSaveImage1}, {});
  enable(flags.btnSaveImage2Enabled, {btnSaveImage2}, {});
  enable(flags.SetupIPEnabled, {tbnSetupIP}, {mnuSetupIP, popSetupIP});
  enable(flags.WebConfigEnabled, {tbnWebConfig}, {mnuWebConfig, popWebConfig});
  enable(flags.PingEnabled, {tbnPing}, {mnuPing, popPing});
  enable(flags.RebootEnabled, {tbnReboot}, {mnuReboot, popReboot});
  enable(flags.DateTimeEnabled, {btnReadDateTime, btnWriteDateTime, btnWritePCDateTime}, {});
  enable(flags.ErrorsEnabled, {btnGetErrors, btnEraseErrors}, {});
  enable(flags.ReadFileEnabled, {btnReadFile, btnBackup}, {});
  enable(flags.btnWriteFileEnabled, {btnWriteFile}, {});
  GridDevicesPopupMenu = flags.GridPopupMenu ? PopupMenu1 : nullptr;
  enable(flags.ServerStartEnabled, {EditServerPort, btnServerStart, tbnServerStart}, {mnuServerStart});
  enable(flags.ServerStopEnabled, {btnServerStop, tbnServerStop}, {mnuServerStop});
}

void TFormMain::ShowGridPopup(const QPoint& position) {
  if (GridDevicesPopupMenu) GridDevicesPopupMenu->popup(GridDevices->viewport()->mapToGlobal(position));
}

void TFormMain::ClearDevicePanes() {
  lblServerStatus->clear();
  Image1->Clear();
  Image2->Clear();
  MemoInfo1->clear();
  MemoInfo2->clear();
  UpdateControls();
}

// ------------------------------------------------------ File and Help menus

void TFormMain::mnuFileOpenClick() {
  QString fileName;
  if (Prompts().OpenFile(TFileDialogSpec{tr("Open"), QString(), QString()}, fileName)) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
      UpdateControls();
      throw EFileError(QStringToAnsi(tr("Cannot open file \"%1\". %2").arg(fileName, file.errorString())));
    }
    const QByteArray bytes = file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    if (image.isNull()) {
      UpdateControls();
      throw EFileError(QStringToAnsi(reader.errorString()));
    }
    // The picture keeps the bytes it was loaded from, unchanged.
    Image1->SetPicture(image, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    ShowImageInfo(Image1, ImageInfo1, MemoInfo1, false, false);
  }
  UpdateControls();
}

void TFormMain::mnuExitClick() { close(); }

void TFormMain::mnuAboutClick() {
  if (FormAbout) Prompts().ExecDialog(*FormAbout);
}

void TFormMain::OnImage1DblClick() {
  if (!Image1->HasPicture() || !FormImage) return;
  FormImage->ShowImageSettings(*Image1, CurrentDevice, MemoLines(MemoInfo1), ImageInfo1);
}

void TFormMain::OnImage2DblClick() {
  if (!Image2->HasPicture() || !FormImage) return;
  FormImage->ShowImage(*Image2, CurrentDevice, MemoLines(MemoInfo2));
}

TPictureBox* TFormMain::PicturePane(int kind) { return kind == 1 ? Image2 : Image1; }

bool TFormMain::ServerActive() const { return TCPServer1->isListening(); }
