// The main window: start-up and close, layout, settings file, enabling of the
// controls, File > Open / Exit, Help > About, the picture panes' double
// click, the splitter and the clock.

#include "UMain.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "UAbout.h"
#include "UImage.h"
#include "UPictureBox.h"
#include "UPrompts.h"
#include "UQtBridge.h"
#include "USettings.h"
#include "UShortenPath.h"
#include "UControlRules.h"
#include "UToolbarPictures.h"
#include "UVersionInfo.h"
#include "UZudirir.h"

namespace {

QPushButton* NewButton(QWidget* parent, const char* name, const QString& text, int width = 95) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setFixedSize(width, 25);
  return button;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QPlainTextEdit* NewMemo(QWidget* parent, const char* name, bool readOnly) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(QString::fromLatin1(name));
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setReadOnly(readOnly);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(9);
  memo->setFont(font);
  return memo;
}

QWidget* NewPanel(QWidget* parent, const char* name) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QString::fromLatin1(name));
  return panel;
}

QTabWidget* NewPageControl(QWidget* parent, const char* name) {
  auto* pages = new QTabWidget(parent);
  pages->setObjectName(QString::fromLatin1(name));
  pages->setDocumentMode(false);
  pages->tabBar()->setExpanding(false);
  pages->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 112px; height: 25px; }"));
  return pages;
}

QSplitter* NewSplitter(Qt::Orientation orientation, QWidget* parent, const char* name, int handle) {
  auto* splitter = new QSplitter(orientation, parent);
  splitter->setObjectName(QString::fromLatin1(name));
  splitter->setHandleWidth(handle);
  splitter->setChildrenCollapsible(false);
  return splitter;
}

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

// ---------------------------------------------------------------- layout

void TFormMain::CreateLayout() {
  resize(808, 680);
  CreateMenus();
  CreateToolBar();

  PanelMain = NewPanel(this, "PanelMain");
  auto* mainLayout = new QVBoxLayout(PanelMain);
  mainLayout->setContentsMargins(10, 10, 10, 10);
  setCentralWidget(PanelMain);

  SplitterTop = NewSplitter(Qt::Vertical, PanelMain, "SplitterTop", 10);
  mainLayout->addWidget(SplitterTop);

  GridDevices = new TDeviceGrid(SplitterTop);
  GridDevices->setObjectName(QStringLiteral("GridDevices"));
  GridDevices->setContextMenuPolicy(Qt::CustomContextMenu);
  SplitterTop->addWidget(GridDevices);

  PanelBottom = NewPanel(SplitterTop, "PanelBottom");
  auto* bottomLayout = new QHBoxLayout(PanelBottom);
  bottomLayout->setContentsMargins(0, 0, 0, 0);
  SplitterTop->addWidget(PanelBottom);
  SplitterTop->setStretchFactor(0, 0);
  SplitterTop->setStretchFactor(1, 1);
  SplitterTop->setSizes({120, 440});

  SplitterCenter = NewSplitter(Qt::Horizontal, PanelBottom, "SplitterCenter", 10);
  bottomLayout->addWidget(SplitterCenter);

  PanelImage = NewPanel(SplitterCenter, "PanelImage");
  auto* imageLayout = new QVBoxLayout(PanelImage);
  imageLayout->setContentsMargins(0, 0, 0, 0);
  PageControlImage = NewPageControl(PanelImage, "PageControlImage");
  imageLayout->addWidget(PageControlImage);
  tsIMAGE1 = CreateImageTab(0);
  tsIMAGE2 = CreateImageTab(1);
  PageControlImage->addTab(tsIMAGE1, tr("IMAGE_BW"));
  PageControlImage->addTab(tsIMAGE2, tr("IMAGE_COL"));
  SplitterCenter->addWidget(PanelImage);

  PanelSettings = NewPanel(SplitterCenter, "PanelSettings");
  auto* settingsLayout = new QVBoxLayout(PanelSettings);
  settingsLayout->setContentsMargins(0, 0, 0, 0);
  PageControlSettings = NewPageControl(PanelSettings, "PageControlSettings");
  settingsLayout->addWidget(PageControlSettings);
  tsSERVER = CreateServerTab();
  tsDATETIME = CreateDateTimeTab();
  tsDIAGNOSE = CreateDiagnoseTab();
  PageControlSettings->addTab(tsSERVER, tr("SERVER"));
  PageControlSettings->addTab(tsDATETIME, tr("DATE/TIME"));
  PageControlSettings->addTab(tsDIAGNOSE, tr("DIAGNOSE"));
  SplitterCenter->addWidget(PanelSettings);
  SplitterCenter->setStretchFactor(0, 1);
  SplitterCenter->setStretchFactor(1, 1);
  SplitterCenter->installEventFilter(this);

  // Status bar: panel 0 takes the free width, 1 shows the date, 2 the time.
  StatusBarPanel0 = NewLabel(this, "StatusBarPanel0", QString());
  StatusBarPanel1 = NewLabel(this, "StatusBarPanel1", QString());
  StatusBarPanel2 = NewLabel(this, "StatusBarPanel2", QString());
  for (QLabel* panel : {StatusBarPanel1, StatusBarPanel2}) {
    panel->setFixedWidth(100);
    panel->setAlignment(Qt::AlignCenter);
  }
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->addWidget(StatusBarPanel0, 1);
  statusBar()->addPermanentWidget(StatusBarPanel1);
  statusBar()->addPermanentWidget(StatusBarPanel2);

  TCPServer1 = new QTcpServer(this);
  TCPServer1->setObjectName(QStringLiteral("TCPServer1"));
  TcpServerTimer = new QTimer(this);
  TcpServerTimer->setObjectName(QStringLiteral("TcpServerTimer"));
  TcpServerTimer->setInterval(2000);
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  Timer1->start();
}

void TFormMain::CreateMenus() {
  auto action = [this](QMenu* menu, const char* name, const QString& text, QKeySequence key = {}) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) a->setShortcut(key);
    return a;
  };
  menuBar()->setObjectName(QStringLiteral("MainMenu1"));
  mnuFile = menuBar()->addMenu(tr("&File"));
  mnuFileOpen = action(mnuFile, "mnuFileOpen", tr("&Open"));
  mnuFile->addSeparator();
  mnuExit = action(mnuFile, "mnuExit", tr("E&xit"));

  mnuOptions = menuBar()->addMenu(tr("&Options"));
  mnuSelectNIC = action(mnuOptions, "mnuSelectNIC", tr("Select network interface"));

  mnuDevice = menuBar()->addMenu(tr("&Device"));
  mnuDiscover = action(mnuDevice, "mnuDiscover", tr("Search devices"), QKeySequence(Qt::Key_F5));
  mnuDiscoverOne = action(mnuDevice, "mnuDiscoverOne", tr("Search one specific device"));
  mnuDevice->addSeparator();
  mnuSetupIP = action(mnuDevice, "mnuSetupIP", tr("Setup IP address"));
  mnuDevice->addSeparator();
  mnuWebConfig = action(mnuDevice, "mnuWebConfig", tr("Open with browser"));
  mnuPing = action(mnuDevice, "mnuPing", tr("Ping"));
  mnuReboot = action(mnuDevice, "mnuReboot", tr("Reboot"));

  mnuServer = menuBar()->addMenu(tr("&Server"));
  mnuServerStart = action(mnuServer, "mnuServerStart", tr("Start server"), QKeySequence(Qt::Key_F2));
  mnuServerStop = action(mnuServer, "mnuServerStop", tr("Stop server"), QKeySequence(Qt::SHIFT | Qt::Key_F2));
  mnuServer->addSeparator();
  Clearmessages1 = action(mnuServer, "Clearmessages1", tr("Clear messages"), QKeySequence(Qt::CTRL | Qt::Key_Delete));

  mnuHelp = menuBar()->addMenu(tr("&Help"));
  mnuAbout = action(mnuHelp, "mnuAbout", tr("About ..."));

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  popGetImage = action(PopupMenu1, "popGetImage", tr("Capture image"));
  PopupMenu1->addSeparator();
  popSetupIP = action(PopupMenu1, "popSetupIP", tr("Setup IP address"));
  PopupMenu1->addSeparator();
  popWebConfig = action(PopupMenu1, "popWebConfig", tr("Open with browser"));
  popPing = action(PopupMenu1, "popPing", tr("Ping"));
  popReboot = action(PopupMenu1, "popReboot", tr("Reboot"));
}

void TFormMain::CreateToolBar() {
  ToolBar1 = addToolBar(tr("Tools"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setFixedHeight(44);
  ToolBar1->setIconSize(QSize(ToolbarPictureWidth, ToolbarPictureHeight));
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
  ImgList1 = ToolbarPictures();
  auto button = [this](const char* name, const QString& hint, int picture) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setIcon(QIcon(ImgList1.value(picture)));
    b->setIconSize(QSize(ToolbarPictureWidth, ToolbarPictureHeight));
    b->setFixedSize(71, 38);
    b->setAutoRaise(true);
    ToolBar1->addWidget(b);
    return b;
  };
  tbnDiscover = button("tbnDiscover", tr("Search devices"), 0);
  btnDiscoverOne = button("btnDiscoverOne", tr("Search one specific device"), 8);
  ToolBar1->addSeparator();
  tbnGetImage = button("tbnGetImage", tr("Capture image"), 2);
  ToolBar1->addSeparator();
  tbnSetupIP = button("tbnSetupIP", tr("Setup IP address"), 7);
  ToolBar1->addSeparator();
  tbnWebConfig = button("tbnWebConfig", tr("Open with browser"), 1);
  tbnPing = button("tbnPing", tr("Ping"), 3);
  tbnReboot = button("tbnReboot", tr("Reboot the device"), 4);
  ToolBar1->addSeparator();
  tbnServerStart = button("tbnServerStart", tr("Start server"), 5);
  tbnServerStop = button("tbnServerStop", tr("Stop server"), 6);
}

QWidget* TFormMain::CreateImageTab(int kind) {
  auto* tab = NewPanel(PageControlImage, kind == 0 ? "tsIMAGE1" : "tsIMAGE2");
  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  auto* strip = NewPanel(tab, kind == 0 ? "PanelImage1Controls" : "PanelImage2Controls");
  strip->setFixedHeight(35);
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(0, 0, 0, 0);
  auto* capture = NewButton(strip, kind == 0 ? "btnGetImage1" : "btnGetImage2", tr("Capture"));
  auto* save = NewButton(strip, kind == 0 ? "btnSaveImage1" : "btnSaveImage2", tr("Save"));
  capture->setProperty("Tag", kind);
  save->setProperty("Tag", kind);
  stripLayout->addWidget(capture);
  stripLayout->addWidget(save);
  stripLayout->addStretch(1);
  auto* picture = new TPictureBox(tab);
  picture->setObjectName(kind == 0 ? QStringLiteral("Image1") : QStringLiteral("Image2"));
  picture->Tag = kind;
  auto* memo = NewMemo(tab, kind == 0 ? "MemoInfo1" : "MemoInfo2", true);
  memo->setFixedHeight(100);
  memo->hide();
  layout->addWidget(strip);
  layout->addWidget(picture, 1);
  layout->addWidget(memo);
  if (kind == 0) {
    PanelImage1Controls = strip;
    btnGetImage1 = capture;
    btnSaveImage1 = save;
    Image1 = picture;
    MemoInfo1 = memo;
  } else {
    PanelImage2Controls = strip;
    btnGetImage2 = capture;
    btnSaveImage2 = save;
    Image2 = picture;
    MemoInfo2 = memo;
  }
  return tab;
}

QWidget* TFormMain::CreateServerTab() {
  auto* tab = NewPanel(PageControlSettings, "tsSERVER");
  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);

  PanelServer = NewPanel(tab, "PanelServer");
  PanelServer->setFixedHeight(80);
  auto* grid = new QGridLayout(PanelServer);
  grid->setContentsMargins(4, 4, 4, 4);
  lblServerPort = NewLabel(PanelServer, "lblServerPort", tr("Server port:"));
  EditServerPort = new QLineEdit(QStringLiteral("0"), PanelServer);
  EditServerPort->setObjectName(QStringLiteral("EditServerPort"));
  EditServerPort->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), EditServerPort));
  EditServerPort->setFixedWidth(70);
  EditServerPort->setAlignment(Qt::AlignRight);
  lblServerPort->setBuddy(EditServerPort);
  btnServerStart = NewButton(PanelServer, "btnServerStart", tr("Start"), 75);
  btnServerStop = NewButton(PanelServer, "btnServerStop", tr("Stop"), 75);
  btnServerClear = NewButton(PanelServer, "btnServerClear", tr("Clear"), 75);
  chkServerSaveImages = new QCheckBox(tr("Save images"), PanelServer);
  chkServerSaveImages->setObjectName(QStringLiteral("chkServerSaveImages"));
  lblServerSaveImages = NewLabel(PanelServer, "lblServerSaveImages", QString());
  lblServerSaveImages->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblServerSaveImages->setCursor(Qt::PointingHandCursor);
  lblServerSaveImages->installEventFilter(this);
  auto* row1 = new QHBoxLayout;
  row1->addWidget(lblServerPort);
  row1->addWidget(EditServerPort);
  row1->addSpacing(8);
  row1->addWidget(btnServerStart);
  row1->addWidget(btnServerStop);
  row1->addWidget(btnServerClear);
  row1->addStretch(1);
  auto* row2 = new QHBoxLayout;
  row2->addWidget(chkServerSaveImages);
  row2->addWidget(lblServerSaveImages, 1);
  grid->addLayout(row1, 0, 0);
  grid->addLayout(row2, 1, 0);
  layout->addWidget(PanelServer);

  ListViewMsgRx = new QTreeWidget(tab);
  ListViewMsgRx->setObjectName(QStringLiteral("ListViewMsgRx"));
  ListViewMsgRx->setColumnCount(4);
  ListViewMsgRx->setHeaderLabels({tr("Time"), tr("From"), tr("Type"), tr("Value")});
  ListViewMsgRx->setRootIsDecorated(false);
  ListViewMsgRx->setUniformRowHeights(true);
  ListViewMsgRx->setAlternatingRowColors(true);
  ListViewMsgRx->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListViewMsgRx->setSelectionMode(QAbstractItemView::SingleSelection);
  ListViewMsgRx->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListViewMsgRx->header()->setSectionsClickable(false);
  ListViewMsgRx->header()->setStretchLastSection(true);
  ListViewMsgRx->setColumnWidth(0, 90);
  ListViewMsgRx->setColumnWidth(1, 90);
  ListViewMsgRx->setColumnWidth(2, 120);
  layout->addWidget(ListViewMsgRx, 1);

  lblServerStatus = NewLabel(tab, "lblServerStatus", QString());
  lblServerStatus->setAlignment(Qt::AlignCenter);
  layout->addWidget(lblServerStatus);
  return tab;
}

QWidget* TFormMain::CreateDateTimeTab() {
  auto* tab = NewPanel(PageControlSettings, "tsDATETIME");
  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(8, 8, 8, 8);
  grpSetupDateTime = new QGroupBox(tr("Date / time"), tab);
  grpSetupDateTime->setObjectName(QStringLiteral("grpSetupDateTime"));
  auto* grid = new QGridLayout(grpSetupDateTime);
  lblDate = NewLabel(grpSetupDateTime, "lblDate", tr("Date:"));
  EditDate1 = new QDateEdit(grpSetupDateTime);
  EditDate1->setObjectName(QStringLiteral("EditDate1"));
  EditDate1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  EditDate1->setCalendarPopup(true);
  // Until a date is set the field reads "0000-00-00": the lowest date shows
  // that text instead of itself.
  EditDate1->setMinimumDate(QDate(100, 1, 1));
  EditDate1->setSpecialValueText(QStringLiteral("0000-00-00"));
  EditDate1->setDate(EditDate1->minimumDate());
  lblTime = NewLabel(grpSetupDateTime, "lblTime", tr("Time:"));
  EditTime1 = new QTimeEdit(grpSetupDateTime);
  EditTime1->setObjectName(QStringLiteral("EditTime1"));
  EditTime1->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  lblDate->setBuddy(EditDate1);
  lblTime->setBuddy(EditTime1);
  btnReadDateTime = NewButton(grpSetupDateTime, "btnReadDateTime", tr("Read"));
  btnReadDateTime->setToolTip(tr("Read date and time from device"));
  btnWriteDateTime = NewButton(grpSetupDateTime, "btnWriteDateTime", tr("Write"));
  btnWriteDateTime->setToolTip(tr("Write date and time into device"));
  btnWritePCDateTime = NewButton(grpSetupDateTime, "btnWritePCDateTime", tr("Write PC time"));
  btnWritePCDateTime->setToolTip(tr("Write PC date and time into device"));
  grid->addWidget(lblDate, 0, 0);
  grid->addWidget(EditDate1, 0, 1);
  grid->addWidget(btnReadDateTime, 0, 2);
  grid->addWidget(lblTime, 1, 0);
  grid->addWidget(EditTime1, 1, 1);
  grid->addWidget(btnWriteDateTime, 1, 2);
  grid->addWidget(btnWritePCDateTime, 2, 2);
  grid->setColumnStretch(3, 1);
  layout->addWidget(grpSetupDateTime);
  layout->addStretch(1);
  return tab;
}

QWidget* TFormMain::CreateDiagnoseTab() {
  auto* tab = NewPanel(PageControlSettings, "tsDIAGNOSE");
  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(4, 4, 4, 4);
  Splitter1 = NewSplitter(Qt::Vertical, tab, "Splitter1", 3);
  layout->addWidget(Splitter1);

  PanelErrors = NewPanel(Splitter1, "PanelErrors");
  auto* errors = new QVBoxLayout(PanelErrors);
  errors->setContentsMargins(0, 0, 0, 0);
  PanelErrorsButtons = NewPanel(PanelErrors, "PanelErrorsButtons");
  auto* errorButtons = new QHBoxLayout(PanelErrorsButtons);
  errorButtons->setContentsMargins(0, 0, 0, 0);
  btnGetErrors = NewButton(PanelErrorsButtons, "btnGetErrors", tr("Get errors"));
  btnEraseErrors = NewButton(PanelErrorsButtons, "btnEraseErrors", tr("Erase errors"));
  errorButtons->addWidget(btnGetErrors);
  errorButtons->addWidget(btnEraseErrors);
  errorButtons->addStretch(1);
  MemoErrors = NewMemo(PanelErrors, "MemoErrors", true);
  errors->addWidget(PanelErrorsButtons);
  errors->addWidget(MemoErrors, 1);
  Splitter1->addWidget(PanelErrors);

  // The file pane shows only its buttons until a file is read into it.
  PanelFile = NewPanel(Splitter1, "PanelFile");
  auto* file = new QVBoxLayout(PanelFile);
  file->setContentsMargins(0, 0, 0, 0);
  MemoFile = NewMemo(PanelFile, "MemoFile", false);
  MemoFile->setMinimumHeight(0);
  PanelFileButtons = NewPanel(PanelFile, "PanelFileButtons");
  PanelFileButtons->setFixedHeight(35);
  auto* fileButtons = new QHBoxLayout(PanelFileButtons);
  fileButtons->setContentsMargins(0, 5, 0, 5);
  btnBackup = NewButton(PanelFileButtons, "btnBackup", tr("Download backup"), 125);
  btnReadFile = NewButton(PanelFileButtons, "btnReadFile", tr("Read file"));
  btnWriteFile = NewButton(PanelFileButtons, "btnWriteFile", tr("Write file"));
  fileButtons->addWidget(btnBackup);
  fileButtons->addStretch(1);
  fileButtons->addWidget(btnReadFile);
  fileButtons->addWidget(btnWriteFile);
  file->addWidget(MemoFile, 1);
  file->addWidget(PanelFileButtons);
  Splitter1->addWidget(PanelFile);
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  Splitter1->setSizes({400, 35});
  return tab;
}

void TFormMain::ConnectHandlers() {
  On(tbnDiscover, &QToolButton::clicked, &TFormMain::btnDiscoverClick);
  On(mnuDiscover, &QAction::triggered, &TFormMain::btnDiscoverClick);
  On(btnDiscoverOne, &QToolButton::clicked, &TFormMain::btnDiscoverOneClick);
  On(mnuDiscoverOne, &QAction::triggered, &TFormMain::btnDiscoverOneClick);
  GridDevices->OnBeforeSelect = [this](int column, int row, bool& accept) {
    GridDevicesBeforeSelect(column, row, accept);
  };
  connect(GridDevices, &TDeviceGrid::SelectCell, this,
          [this](int column, int row) { Guarded([&] { GridDevicesSelectCell(column, row); }); });
  On(GridDevices, &TDeviceGrid::DoubleClick, &TFormMain::OnSetupIPAddr);
  connect(GridDevices, &QWidget::customContextMenuRequested, this, &TFormMain::ShowGridPopup);
  for (auto* setup : {mnuSetupIP, popSetupIP}) On(setup, &QAction::triggered, &TFormMain::OnSetupIPAddr);
  On(tbnSetupIP, &QToolButton::clicked, &TFormMain::OnSetupIPAddr);

  for (auto* capture : {btnGetImage1, btnGetImage2}) {
    connect(capture, &QPushButton::clicked, this, [this, capture] {
      Guarded([&] { btnGetImageClick(capture->property("Tag").toInt()); });
    });
  }
  for (auto* save : {btnSaveImage1, btnSaveImage2}) {
    connect(save, &QPushButton::clicked, this,
            [this, save] { Guarded([&] { btnSaveImageClick(save->property("Tag").toInt()); }); });
  }
  connect(tbnGetImage, &QToolButton::clicked, this, [this] { Guarded([&] { btnGetImageClick(0); }); });
  connect(popGetImage, &QAction::triggered, this, [this] { Guarded([&] { btnGetImageClick(0); }); });
  On(Image1, &TPictureBox::doubleClicked, &TFormMain::OnImage1DblClick);
  On(Image2, &TPictureBox::doubleClicked, &TFormMain::OnImage2DblClick);

  On(mnuFileOpen, &QAction::triggered, &TFormMain::mnuFileOpenClick);
  On(mnuExit, &QAction::triggered, &TFormMain::mnuExitClick);
  On(mnuAbout, &QAction::triggered, &TFormMain::mnuAboutClick);
  On(mnuSelectNIC, &QAction::triggered, &TFormMain::mnuSelectNICClick);

  On(tbnWebConfig, &QToolButton::clicked, &TFormMain::btnWebConfigClick);
  On(mnuWebConfig, &QAction::triggered, &TFormMain::btnWebConfigClick);
  On(popWebConfig, &QAction::triggered, &TFormMain::btnWebConfigClick);
  On(tbnPing, &QToolButton::clicked, &TFormMain::btnPingClick);
  On(mnuPing, &QAction::triggered, &TFormMain::btnPingClick);
  On(popPing, &QAction::triggered, &TFormMain::btnPingClick);
  On(tbnReboot, &QToolButton::clicked, &TFormMain::btnRebootClick);
  On(mnuReboot, &QAction::triggered, &TFormMain::btnRebootClick);
  On(popReboot, &QAction::triggered, &TFormMain::btnRebootClick);
  On(btnReadDateTime, &QPushButton::clicked, &TFormMain::btnReadDateTimeClick);
  On(btnWriteDateTime, &QPushButton::clicked, &TFormMain::btnWriteDateTimeClick);
  On(btnWritePCDateTime, &QPushButton::clicked, &TFormMain::btnWritePCDateTimeClick);
  On(btnGetErrors, &QPushButton::clicked, &TFormMain::btnGetErrorsClick);
  On(btnEraseErrors, &QPushButton::clicked, &TFormMain::btnEraseErrorsClick);
  On(btnReadFile, &QPushButton::clicked, &TFormMain::btnReadFileClick);
  On(btnWriteFile, &QPushButton::clicked, &TFormMain::btnWriteFileClick);
  On(btnBackup, &QPushButton::clicked, &TFormMain::btnBackupClick);

  On(tbnServerStart, &QToolButton::clicked, &TFormMain::btnServerStartClick);
  On(btnServerStart, &QPushButton::clicked, &TFormMain::btnServerStartClick);
  On(mnuServerStart, &QAction::triggered, &TFormMain::btnServerStartClick);
  On(tbnServerStop, &QToolButton::clicked, &TFormMain::btnServerStopClick);
  On(btnServerStop, &QPushButton::clicked, &TFormMain::btnServerStopClick);
  On(mnuServerStop, &QAction::triggered, &TFormMain::btnServerStopClick);
  On(btnServerClear, &QPushButton::clicked, &TFormMain::btnServerClearClick);
  On(Clearmessages1, &QAction::triggered, &TFormMain::btnServerClearClick);
  On(chkServerSaveImages, &QCheckBox::clicked, &TFormMain::chkServerSaveImagesClick);
  On(ListViewMsgRx, &QTreeWidget::itemDoubleClicked, &TFormMain::ListViewMsgRxDblClick);
  On(TcpServerTimer, &QTimer::timeout, &TFormMain::TcpServerTimerTimer);
  On(TCPServer1, &QTcpServer::newConnection, &TFormMain::TCPServer1Connect);

  On(SplitterCenter, &QSplitter::splitterMoved, &TFormMain::OnSplitterMoved);
  On(Timer1, &QTimer::timeout, &TFormMain::Timer1Timer);
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
