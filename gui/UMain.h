#pragma once
// The main window of Lumidor. One class; its operations are spread over
// files by feature:
//   UMain.cpp             start-up, settings, enabling, File and Help menus
//   UMainLayout.cpp       the controls and their wiring to the handlers
//   UMainSearch.cpp       device search, the device list, the interface choice
//   UMainDispatch.cpp     the reply dispatcher HandleReply
//   UMainServer.cpp       the event server
//   UMainMaintenance.cpp  clock, reboot, error log, ping, browser
//   UMainFiles.cpp        device files and backup
//   UMainCapture.cpp      pictures: capture and the panes
//   UMainSave.cpp         saving pictures, re-opening them from the message list
//
// A feature's handler, in its feature file:
//   - takes its decisions from gui/logic (no rule is written inside a widget);
//   - asks the user only through Prompts() (message box, confirmation, input
//     box, pickers, and ExecDialog for the tool's own dialogs);
//   - holds a TExchangeLock around its exchange and returns when it cannot get
//     one, since the window keeps handling events while a UDP exchange waits;
//   - lets network and decoder errors escape: ConnectHandlers wraps every
//     handler so that they reach the standard error box (Prompts().ErrorBox);
//   - ends with UpdateControls when it changed the selection, the server
//     state, the pictures or LastReadFile.
// Window tests build the program's windows with TLumidorRig (tests/gui), answer
// with TScriptedPrompts and talk to dozusim through TSimProcess.

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "UDateTime.h"
#include "UDesktop.h"
#include "UDeviceGrid.h"
#include "UNIC.h"
#include "UPrompts.h"
#include "UServerCollector.h"
#include "UTypes.h"

class QAction;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTcpServer;
class QTcpSocket;
class QTimer;
class QToolBar;
class QToolButton;
class QTimeEdit;
class QTreeWidget;
class QWidget;
class TFormAbout;
class TFormImage;
class TFormPassword;
class TFormSelect;
class TFormSetup;
class TFormZudirir;
class TPictureBox;
struct TJpegPicture;

class TFormMain : public QMainWindow {
  Q_OBJECT
public:
  // zudirir: the protocol component, created before any window. prompts: the
  // user interaction (null: real dialogs). settingsFile: the settings file
  // (empty: beside the program, named after it).
  TFormMain(TFormZudirir& zudirir, std::unique_ptr<TPrompts> prompts = nullptr,
            const QString& settingsFile = QString(), QWidget* parent = nullptr);
  ~TFormMain() override;

  TPrompts& Prompts() { return *Prompts_; }
  TFormZudirir& Zudirir() { return Zudirir_; }
  const QString& SettingsFile() const { return SettingsFile_; }
  // An exchange is waiting for replies (the window still handles events).
  bool ExchangeRunning() const { return ExchangeActive; }
  // True once the first search after showing has ended.
  bool Started() const { return Started_; }

  // ---- The other windows (created after this one, living as long).
  TFormImage* FormImage = nullptr;
  TFormSelect* FormSelect = nullptr;
  TFormSetup* FormSetup = nullptr;
  TFormAbout* FormAbout = nullptr;
  TFormPassword* FormPassword = nullptr;

  // ---- State besides the controls.
  TNetworkInterfaceList Interfaces;
  TDeviceInfo CurrentDevice;
  TImageInfo ImageInfo1;  // the picture in Image1 (black-and-white)
  TImageInfo ImageInfo2;  // the picture in Image2 (colour)
  bool SaveImages = false;
  std::string SaveFolder;
  std::string LastReadFile;
  bool AutoSplit = true;
  std::string BackupUserName;  // kept for this run only, never stored
  std::string BackupPassword;
  std::string PeerAddress;  // the camera that last reached the event server
  // The event server's received bytes, per connection, until complete; the
  // complete messages and texts waiting for the dispatcher, in arrival order.
  TServerCollector ServerCollector;
  std::deque<TServerEvent> ServerQueue;
  size_t ServerQueueBytes = 0;
  // Above this many queued bytes the connections are not read: TCP then
  // holds back cameras that send faster than the window lists.
  size_t ServerQueueLimit = 4 * 1024 * 1024;
  uint64_t ServerReadsHeld = 0;  // how often a connection was left unread
  bool ServerProcessQueued = false;
  std::vector<std::string> StringListReadFile;
  std::vector<std::string> StringListWriteFile;
  // MemoFile holds the contents of LastReadFile as read (false after a
  // failed read, so "Write file" cannot send the empty pane over the file).
  bool LastReadFileLoaded = false;

  // ---- Operations shared by the features.
  void UpdateControls();
  void ClearDevicePanes();
  bool HandleReply(const uint8_t* reply, uint32_t length);
  void SearchDevices(const std::string& address);
  void CopyRowToDevice(int row);
  void UpdateDeviceRow();
  void ShowImageInfo(TPictureBox* picture, TImageInfo& info, QPlainTextEdit* memo, bool allowEdit,
                     bool allowCapture);
  // The picture pane of an image kind (0 black-and-white, 1 colour).
  TPictureBox* PicturePane(int kind);
  void ShowPicture(int kind, const TJpegPicture& picture, bool allowEdit, bool allowCapture);
  void SaveImageToFolder(const TPictureBox& picture, const std::string& fileName);
  void ShowErrorReport(const uint8_t* payload, uint32_t length);
  void ShowFileContents(const uint8_t* payload, uint32_t length);
  void ShowFileList(const uint8_t* payload, uint32_t length);
  // Device commands, also used by the dialogs. They run an exchange of their
  // own, so the caller holds TExchangeLock (the handlers do).
  bool SetDateTime(const std::string& host, TDateTime value);
  bool RebootDevice(const std::string& host, const std::string& mac);
  bool ReadDeviceFile(const std::string& host, const std::string& mac, const std::string& fileName);
  bool WriteDeviceFile(const std::string& host, const std::string& mac, const std::string& fileName);
  bool WriteNetworkSettings(const std::string& host, const std::string& mac, TDeviceInfo record);
  bool WriteOcrSettings(const std::string& host, const std::string& mac, TDeviceInfo record);
  void ReadPlateLocator(const std::vector<std::string>& lines);
  bool GetImage(const std::string& address, int kind);
  // The PC clock that "Write PC time" reads, and the start of ping in a
  // window of its own; tests replace both.
  std::function<TDateTime()> Clock = Now;
  std::function<bool(const std::string& host, std::string& error)> LaunchPing = StartPingWindow;
  void LoadSettings(const QString& fileName);
  void SaveSettings(const QString& fileName);
  bool ServerActive() const;
  bool StartServer(int64_t port);
  void StopServer();
  void ProcessServerData();
  void AddTextMessageLine(const uint8_t* bytes, size_t count);
  // Adds a line to the message list and scrolls it into view.
  void AddMessageLine(const QString& from, const QString& type, const QString& value);

  // One exchange at a time: the protocol component has one socket per
  // transport and one reply buffer, and a UDP wait keeps the window's events
  // flowing. A command that would start a second exchange meanwhile is ignored.
  class TExchangeLock {
  public:
    explicit TExchangeLock(TFormMain& form) : Form(form), Owns(!form.ExchangeActive) {
      Form.ExchangeActive = true;
    }
    ~TExchangeLock() {
      if (Owns) Form.ExchangeActive = false;
    }
    explicit operator bool() const { return Owns; }

  private:
    TFormMain& Form;
    bool Owns;
  };

  // ---- Event handlers, named after their controls and events.
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormClose();
  void OnSplitterMoved();
  void Timer1Timer();
  void mnuFileOpenClick();
  void mnuExitClick();
  void mnuAboutClick();
  void OnImage1DblClick();
  void OnImage2DblClick();
  // device search and list
  void btnDiscoverClick();
  void btnDiscoverOneClick();
  void GridDevicesBeforeSelect(int column, int row, bool& accept);
  void GridDevicesSelectCell(int column, int row);
  void OnSetupIPAddr();
  void mnuSelectNICClick();
  // event server
  void btnServerStartClick();
  void btnServerStopClick();
  void btnServerClearClick();
  void chkServerSaveImagesClick();
  void lblServerSaveImagesClick();
  void TcpServerTimerTimer();
  void TCPServer1Connect();
  void TCPServer1Execute(QTcpSocket* connection);
  void TCPServer1Exception(QTcpSocket* connection);
  // maintenance
  void btnWebConfigClick();
  void btnPingClick();
  void btnRebootClick();
  void btnReadDateTimeClick();
  void btnWriteDateTimeClick();
  void btnWritePCDateTimeClick();
  void btnGetErrorsClick();
  void btnEraseErrorsClick();
  // device files
  void btnReadFileClick();
  void btnWriteFileClick();
  void btnBackupClick();
  // pictures; kind is the sender's tag (0 black-and-white, 1 colour)
  void btnGetImageClick(int kind);
  void btnSaveImageClick(int kind);
  void ListViewMsgRxDblClick();

  // ---- Controls.
  QToolBar* ToolBar1;
  QList<QPixmap> ImgList1;
  QToolButton* tbnDiscover;
  QToolButton* btnDiscoverOne;
  QToolButton* tbnGetImage;
  QToolButton* tbnSetupIP;
  QToolButton* tbnWebConfig;
  QToolButton* tbnPing;
  QToolButton* tbnReboot;
  QToolButton* tbnServerStart;
  QToolButton* tbnServerStop;

  QWidget* PanelMain;
  TDeviceGrid* GridDevices;
  QSplitter* SplitterTop;
  QWidget* PanelBottom;
  QSplitter* SplitterCenter;
  QWidget* PanelImage;
  QTabWidget* PageControlImage;
  QWidget* tsIMAGE1;
  QWidget* PanelImage1Controls;
  QPushButton* btnGetImage1;
  QPushButton* btnSaveImage1;
  TPictureBox* Image1;
  QPlainTextEdit* MemoInfo1;
  QWidget* tsIMAGE2;
  QWidget* PanelImage2Controls;
  QPushButton* btnGetImage2;
  QPushButton* btnSaveImage2;
  TPictureBox* Image2;
  QPlainTextEdit* MemoInfo2;

  QWidget* PanelSettings;
  QTabWidget* PageControlSettings;
  QWidget* tsSERVER;
  QWidget* PanelServer;
  QLabel* lblServerPort;
  QLineEdit* EditServerPort;
  QPushButton* btnServerStart;
  QPushButton* btnServerStop;
  QPushButton* btnServerClear;
  QCheckBox* chkServerSaveImages;
  QLabel* lblServerSaveImages;
  QTreeWidget* ListViewMsgRx;
  QLabel* lblServerStatus;
  QWidget* tsDATETIME;
  QGroupBox* grpSetupDateTime;
  QLabel* lblDate;
  QDateEdit* EditDate1;
  QLabel* lblTime;
  QTimeEdit* EditTime1;
  QPushButton* btnReadDateTime;
  QPushButton* btnWriteDateTime;
  QPushButton* btnWritePCDateTime;
  QWidget* tsDIAGNOSE;
  QSplitter* Splitter1;
  QWidget* PanelErrors;
  QWidget* PanelErrorsButtons;
  QPushButton* btnGetErrors;
  QPushButton* btnEraseErrors;
  QPlainTextEdit* MemoErrors;
  QWidget* PanelFile;
  QWidget* PanelFileButtons;
  QPushButton* btnBackup;
  QPushButton* btnReadFile;
  QPushButton* btnWriteFile;
  QPlainTextEdit* MemoFile;

  QLabel* StatusBarPanel0;
  QLabel* StatusBarPanel1;  // date
  QLabel* StatusBarPanel2;  // time

  QMenu* mnuFile;
  QAction* mnuFileOpen;
  QAction* mnuExit;
  QMenu* mnuOptions;
  QAction* mnuSelectNIC;
  QMenu* mnuDevice;
  QAction* mnuDiscover;
  QAction* mnuDiscoverOne;
  QAction* mnuSetupIP;
  QAction* mnuWebConfig;
  QAction* mnuPing;
  QAction* mnuReboot;
  QMenu* mnuServer;
  QAction* mnuServerStart;
  QAction* mnuServerStop;
  QAction* Clearmessages1;
  QMenu* mnuHelp;
  QAction* mnuAbout;

  QMenu* PopupMenu1;
  QAction* popGetImage;
  QAction* popSetupIP;
  QAction* popWebConfig;
  QAction* popPing;
  QAction* popReboot;

  // The list's context menu while a device is selected, else none.
  QMenu* GridDevicesPopupMenu = nullptr;

  QTcpServer* TCPServer1;
  QTimer* TcpServerTimer;
  QTimer* Timer1;

signals:
  // The first search after showing the window has ended.
  void Ready();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void CreateLayout();
  void CreateMenus();
  void CreateToolBar();
  QWidget* CreateServerTab();
  QWidget* CreateDateTimeTab();
  QWidget* CreateDiagnoseTab();
  QWidget* CreateImageTab(int kind);
  void ConnectHandlers();
  // Runs one handler as the application runs every event: an error that
  // escapes it reaches the standard error box and the window goes on.
  template <class F>
  void Guarded(F&& handler) {
    try {
      handler();
    } catch (const std::exception& error) {
      ShowException(error.what());
    } catch (...) {
      ShowException("Unknown error");
    }
  }
  void ShowException(const char* message);
  template <class Sender, class Signal>
  void On(Sender* sender, Signal signal, void (TFormMain::*handler)()) {
    connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  }
  void ShowGridPopup(const QPoint& position);
  void ShowSaveFolder();

  TFormZudirir& Zudirir_;
  std::unique_ptr<TPrompts> Prompts_;
  QString SettingsFile_;
  bool ExchangeActive = false;
  bool Shown_ = false;
  bool Started_ = false;
  bool Closed_ = false;
};
