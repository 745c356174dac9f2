// The main window's controls: toolbar, device list, picture tabs, the
// SERVER, DATE/TIME and DIAGNOSE tabs, status bar, menus, and the wiring of
// every control to its handler.

#include <QCheckBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
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

#include "UMain.h"
#include "UPictureBox.h"
#include "UToolbarPictures.h"

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


}  // namespace

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
