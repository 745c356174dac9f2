#include "UImage.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <exception>

#include "UImageView.h"
#include "UMain.h"
#include "UNumberEdit.h"
#include "UPictureBox.h"
#include "UPrompts.h"
#include "UQtBridge.h"

namespace {

const QColor PlateColour(255, 240, 0);
const QColor LimitsTextColour(64, 208, 64);
const QColor BoxColour(64, 224, 64);

// Qt keeps widget sizes below 2^24; positions are kept in the same range so
// that no sum of position and size leaves int.
constexpr int WidgetRange = (1 << 24) - 1;

int ToWidget(int32_t v) { return std::clamp<int32_t>(v, -WidgetRange, WidgetRange); }
int ToWidgetSize(int32_t v) { return std::clamp<int32_t>(v, 0, WidgetRange); }

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, int x, int y) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(x, y, 120, 25);
  // Enter in a number field must not press a button.
  button->setAutoDefault(false);
  return button;
}

QLabel* NewCaption(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(10, 4, 128, 16);
  return label;
}

// One labelled number field of a settings panel, row 0 to 3.
TNumberEdit* NewField(QWidget* parent, const char* name, const QString& caption, int row) {
  const int top = 24 + row * 23;
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QStringLiteral("lbl") + QLatin1String(name));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setGeometry(2, top, 74, 21);
  // Wide enough for 2147483647, the value of an edge the camera's file leaves open.
  auto* edit = new TNumberEdit(10, parent);
  edit->setObjectName(QLatin1String(name));
  edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  edit->setGeometry(80, top, 50, 21);
  label->setBuddy(edit);
  return edit;
}

void SetTextIfChanged(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

int32_t Number(const TNumberEdit* edit) { return FieldNumber(edit->text().toStdString()); }

}  // namespace

template <class F>
void TFormImage::Guarded(F&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    Prompts.ErrorBox(AnsiToQString(error.what()));
  } catch (...) {
    Prompts.ErrorBox(QStringLiteral("Unknown error"));
  }
}

TFormImage::TFormImage(TPrompts& prompts, TFormMain* main) : QDialog(main), Prompts(prompts), Main(main) {
  setObjectName(QStringLiteral("FormImage"));
  setWindowTitle(tr("Image detail"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  resize(800, 645);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // ---- Left panel: buttons on top, settings and pointer position at the bottom.
  PanelLeft = new QWidget(this);
  PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
  PanelLeft->setFixedWidth(140);
  auto* left = new QVBoxLayout(PanelLeft);
  left->setContentsMargins(0, 0, 0, 0);
  left->setSpacing(0);
  layout->addWidget(PanelLeft);

  PanelCapture = new QWidget(PanelLeft);
  PanelCapture->setObjectName(QStringLiteral("PanelCapture"));
  PanelCapture->setFixedHeight(120);
  btnClose = NewButton(PanelCapture, "btnClose", tr("Close"), 10, 10);
  btnGetImage = NewButton(PanelCapture, "btnGetImage", tr("Capture"), 10, 60);
  btnShowInfo = NewButton(PanelCapture, "btnShowInfo", tr("Show info"), 10, 90);
  left->addWidget(PanelCapture);
  left->addStretch(1);

  PanelConfig = new QWidget(PanelLeft);
  PanelConfig->setObjectName(QStringLiteral("PanelConfig"));
  PanelConfig->setFixedHeight(280);
  auto* config = new QVBoxLayout(PanelConfig);
  config->setContentsMargins(0, 0, 0, 0);
  config->setSpacing(0);
  left->addWidget(PanelConfig);

  PanelCSL = new QWidget(PanelConfig);
  PanelCSL->setObjectName(QStringLiteral("PanelCSL"));
  PanelCSL->setFixedHeight(120);
  LabelCSL = NewCaption(PanelCSL, "LabelCSL", tr("Char Size Limits"));
  EditCSLMinX = NewField(PanelCSL, "EditCSLMinX", tr("Min Width:"), 0);
  EditCSLMinY = NewField(PanelCSL, "EditCSLMinY", tr("Min Height:"), 1);
  EditCSLMaxX = NewField(PanelCSL, "EditCSLMaxX", tr("Max Width:"), 2);
  EditCSLMaxY = NewField(PanelCSL, "EditCSLMaxY", tr("Max Height:"), 3);
  config->addWidget(PanelCSL);

  PanelSW = new QWidget(PanelConfig);
  PanelSW->setObjectName(QStringLiteral("PanelSW"));
  PanelSW->setFixedHeight(120);
  LabelSW = NewCaption(PanelSW, "LabelSW", tr("Plate Locator Window"));
  EditSWMinX = NewField(PanelSW, "EditSWMinX", tr("Win Min X:"), 0);
  EditSWMinY = NewField(PanelSW, "EditSWMinY", tr("Win Min Y:"), 1);
  EditSWMaxX = NewField(PanelSW, "EditSWMaxX", tr("Win Max X:"), 2);
  EditSWMaxY = NewField(PanelSW, "EditSWMaxY", tr("Win Max Y:"), 3);
  config->addWidget(PanelSW);
  config->addStretch(1);

  // Cancel lies below the strip's 40 pixels: only Apply shows, Cancel keeps its action.
  PanelApply = new QWidget(PanelConfig);
  PanelApply->setObjectName(QStringLiteral("PanelApply"));
  PanelApply->setFixedHeight(40);
  btnApply = NewButton(PanelApply, "btnApply", tr("Apply"), 10, 0);
  btnCancel = NewButton(PanelApply, "btnCancel", tr("Cancel"), 10, 40);
  config->addWidget(PanelApply);

  PanelXY = new QLabel(QStringLiteral("PanelXY"), PanelLeft);
  PanelXY->setObjectName(QStringLiteral("PanelXY"));
  PanelXY->setFixedHeight(20);
  PanelXY->setAlignment(Qt::AlignCenter);
  PanelXY->setAutoFillBackground(true);
  QPalette grey = PanelXY->palette();
  grey.setColor(QPalette::Window, Qt::gray);
  grey.setColor(QPalette::WindowText, Qt::white);
  PanelXY->setPalette(grey);
  left->addWidget(PanelXY);

  // ---- The view. The picture and what belongs to it (strips, plate) scroll;
  // the character boxes and their label are children of the viewport and
  // stay where they are in the view.
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setWidgetResizable(false);
  ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(ScrollBox1, 1);

  Image1 = new TImageCanvas;
  Image1->setObjectName(QStringLiteral("Image1"));
  ScrollBox1->setWidget(Image1);

  const QBrush hatch(Qt::red, Qt::BDiagPattern);
  auto strip = [&](const char* name) {
    auto* s = new TShapeBox(Qt::black, hatch, false, Image1);
    s->setObjectName(QLatin1String(name));
    return s;
  };
  SearchWindowTop = strip("SearchWindowTop");
  SearchWindowLeft = strip("SearchWindowLeft");
  SearchWindowRight = strip("SearchWindowRight");
  SearchWindowBottom = strip("SearchWindowBottom");
  Plate = new TShapeBox(PlateColour, Qt::NoBrush, false, Image1);
  Plate->setObjectName(QStringLiteral("Plate"));
  lblPlate = new QLabel(Image1);
  lblPlate->setObjectName(QStringLiteral("lblPlate"));
  lblPlate->setAlignment(Qt::AlignCenter);
  lblPlate->setAutoFillBackground(true);
  lblPlate->setAttribute(Qt::WA_TransparentForMouseEvents);
  QPalette plate = lblPlate->palette();
  plate.setColor(QPalette::Window, PlateColour);
  plate.setColor(QPalette::WindowText, Qt::black);
  lblPlate->setPalette(plate);

  QWidget* viewport = ScrollBox1->viewport();
  lblCharSizeLimits = new QLabel(tr("Char size limits"), viewport);
  lblCharSizeLimits->setObjectName(QStringLiteral("lblCharSizeLimits"));
  lblCharSizeLimits->setAttribute(Qt::WA_TransparentForMouseEvents);
  QPalette limits = lblCharSizeLimits->palette();
  limits.setColor(QPalette::WindowText, LimitsTextColour);
  lblCharSizeLimits->setPalette(limits);
  lblCharSizeLimits->adjustSize();
  CharSizeMin = new TShapeBox(BoxColour, Qt::NoBrush, true, viewport);
  CharSizeMin->setObjectName(QStringLiteral("CharSizeMin"));
  CharSizeMax = new TShapeBox(BoxColour, Qt::NoBrush, true, viewport);
  CharSizeMax->setObjectName(QStringLiteral("CharSizeMax"));
  CharSizeMax->setToolTip(tr("Click to drag, Shift+click to resize max, Ctrl+click to resize min"));
  lblCharSizeLimits->raise();
  CharSizeMin->raise();
  CharSizeMax->raise();

  // The information memo lies over the view's top left corner.
  MemoInfo = new QPlainTextEdit(this);
  MemoInfo->setObjectName(QStringLiteral("MemoInfo"));
  MemoInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MemoInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MemoInfo->setFrameShape(QFrame::NoFrame);
  MemoInfo->document()->setDocumentMargin(3);
  QPalette memo = MemoInfo->palette();
  memo.setColor(QPalette::Base, Qt::black);
  memo.setColor(QPalette::Text, Qt::white);
  MemoInfo->setPalette(memo);
  MemoInfo->move(150, 10);
  MemoInfo->raise();

  // ---- Events.
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnGetImage, &QPushButton::clicked, this, [this] { Guarded([this] { btnGetImageClick(); }); });
  connect(btnShowInfo, &QPushButton::clicked, this, [this] { btnShowInfoClick(); });
  connect(btnApply, &QPushButton::clicked, this, [this] { Guarded([this] { btnApplyClick(); }); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
  for (TNumberEdit* edit : {EditCSLMinX, EditCSLMinY, EditCSLMaxX, EditCSLMaxY, EditSWMinX, EditSWMinY, EditSWMaxX,
                            EditSWMaxY}) {
    connect(edit, &TNumberEdit::focusLost, this, [this] { OnEditExit(); });
  }
  connect(MemoInfo, &QPlainTextEdit::textChanged, this, [this] { MemoInfoChange(); });
  connect(Image1, &TImageCanvas::mouseMoved, this, [this](int x, int y) { Image1MouseMove(x, y); });
  for (QScrollBar* bar : {ScrollBox1->horizontalScrollBar(), ScrollBox1->verticalScrollBar()}) {
    connect(bar, &QScrollBar::valueChanged, this, [this] { OnScroll(); });
  }
  for (TShapeBox* box : {CharSizeMin, CharSizeMax}) {
    connect(box, &TShapeBox::mousePressed, this, [this, box](int x, int y) { OnCharSizeMouseDown(box, x, y); });
    connect(box, &TShapeBox::mouseMoved, this,
            [this, box](int x, int y, Qt::KeyboardModifiers m) { OnCharSizeMouseMove(box, x, y, m); });
    connect(box, &TShapeBox::mouseReleased, this, [this, box] { OnCharSizeMouseUp(box); });
  }
  // The wheel scrolls the view in steps of its own, wherever over the view it turns.
  for (QWidget* w : {viewport, static_cast<QWidget*>(Image1), static_cast<QWidget*>(CharSizeMin),
                     static_cast<QWidget*>(CharSizeMax)}) {
    w->installEventFilter(this);
  }

  FormCreate();
}

void TFormImage::FormCreate() {
  Dragging = false;
  Image1->move(0, 0);
  HideSearchWindow();
  HideCharSizeLimits();
  HidePlate();
  UpdateImageControls();
}

// ---------------------------------------------------------------- opening

void TFormImage::SetPicture(const TPictureBox& source) { SetPicture(source.Image()); }

void TFormImage::SetPicture(const QImage& picture) {
  Picture_ = picture;
  Image1->SetPicture(picture);
  ScrollBox1->horizontalScrollBar()->setValue(0);
  ScrollBox1->verticalScrollBar()->setValue(0);
}

// The lines as one text without leading and trailing blanks and control characters.
void TFormImage::SetMemoText(const QStringList& lines) {
  QString text = lines.join(QLatin1Char('\n'));
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text.at(first).unicode() <= 32) ++first;
  while (last > first && text.at(last - 1).unicode() <= 32) --last;
  MemoInfo->setPlainText(text.mid(first, last - first));
}

int TFormImage::MemoLineCount() const {
  return MemoInfo->toPlainText().isEmpty() ? 0 : MemoInfo->document()->blockCount();
}

int TFormImage::ShowImage(const TPictureBox& source, TDeviceInfo device, const QStringList& lines) {
  SetPicture(source);
  Device = std::move(device);
  ImageKind = source.Tag;
  SetMemoText(lines);
  HideSearchWindow();
  HidePlate();
  HideCharSizeLimits();
  btnGetImage->show();
  UpdateImageControls();
  return OpenModal();
}

int TFormImage::ShowImageSettings(const TPictureBox& source, TDeviceInfo device, const QStringList& lines,
                                  const TImageInfo& info) {
  SetPicture(source);
  Device = std::move(device);
  ImageKind = source.Tag;
  SetMemoText(lines);
  btnApply->show();
  EnablePanel(PanelSW, true);
  EnablePanel(PanelCSL, true);
  if (info.SerialNumber > 0) {
    // The picture carries the camera's settings as they were when it was taken.
    SavedWindow = info.SearchWindow;
    SavedLimits = info.CharSizeLimits;
    CharSizeMax->move(10, 10);
    ShowSearchWindow(info.SearchWindow);
    ShowCharSizeLimits(info.CharSizeLimits);
    if (!info.AllowEdit) {
      EnablePanel(PanelSW, false);
      EnablePanel(PanelCSL, false);
    }
    btnGetImage->setVisible(info.AllowCapture);
    btnApply->setVisible(info.AllowEdit);
    ShowPlate(info);
  } else {
    // No camera information: the settings last read from the device; Capture
    // keeps the visibility the previous opening left.
    SavedWindow = Device.SearchWindow;
    SavedLimits = Device.CharSizeLimits;
    CharSizeMax->move(10, 10);
    ShowSearchWindow(Device.SearchWindow);
    HidePlate();
    ShowCharSizeLimits(Device.CharSizeLimits);
  }
  UpdateImageControls();
  return OpenModal();
}

int TFormImage::OpenModal() {
  const int result = Prompts.ExecDialog(*this);
  // A drag cut short by the window closing ends here.
  Dragging = false;
  CharSizeMin->unsetCursor();
  CharSizeMax->unsetCursor();
  return result;
}

void TFormImage::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFormImage::FormShow() {
  if (QLayout* l = layout()) l->activate();
  MemoInfo->hide();
  MemoInfo->resize(InfoMemoWidth(ScrollBox1->width()), MemoInfo->height());
  btnShowInfo->setText(tr("Show info"));
  btnShowInfo->setVisible(MemoLineCount() >= 1);
}

void TFormImage::btnShowInfoClick() {
  MemoInfo->setVisible(MemoInfo->isHidden());
  if (!MemoInfo->isHidden()) MemoInfo->raise();
  btnShowInfo->setText(MemoInfo->isHidden() ? tr("Show info") : tr("Hide info"));
}

void TFormImage::MemoInfoChange() {
  // One line as the memo lays it out in its font.
  const int lineHeight = QFontMetrics(MemoInfo->font()).lineSpacing();
  MemoInfo->resize(MemoInfo->width(), ToWidgetSize(InfoMemoHeight(lineHeight, MemoLineCount())));
}

// ---------------------------------------------------------------- overlay

void TFormImage::PlaceOverlay(QWidget* overlay, const TRect& r) {
  overlay->setGeometry(ToWidget(r.Left), ToWidget(r.Top), ToWidgetSize(r.Width), ToWidgetSize(r.Height));
}

void TFormImage::ShowSearchWindow(const TSearchWindow& w) {
  Window = w;
  const int32_t width = Picture_.width(), height = Picture_.height();
  const TSearchStrips strips = SearchWindowStrips(w, width, height);
  PanelSW->setVisible(strips.PanelVisible);
  const TRect bounds = OverlayBounds(width, height);
  const std::pair<TShapeBox*, const TStrip*> all[] = {{SearchWindowLeft, &strips.Left},
                                                      {SearchWindowRight, &strips.Right},
                                                      {SearchWindowTop, &strips.Top},
                                                      {SearchWindowBottom, &strips.Bottom}};
  for (const auto& [shape, s] : all) {
    if (s->Visible) PlaceOverlay(shape, ClipRect(s->Rect, bounds));
    shape->setVisible(s->Visible);
  }
}

void TFormImage::ShowPlate(const TImageInfo& info) {
  const TPlateFrame p = PlateFrame(info);
  lblPlate->setText(AnsiToQString(p.Text));
  const TRect bounds = OverlayBounds(Picture_.width(), Picture_.height());
  PlaceOverlay(Plate, ClipRect(p.Frame, bounds));
  PlaceOverlay(lblPlate, ClipRect(p.Label, bounds));
  Plate->setVisible(p.Visible);
  lblPlate->setVisible(p.Visible);
}

void TFormImage::SetBoxSize(TShapeBox* box, TSize size) {
  (box == CharSizeMin ? MinBox_ : MaxBox_) = size;
  box->resize(ToWidgetSize(size.Width), ToWidgetSize(size.Height));
}

void TFormImage::ShowCharSizeLimits(const TCharSizeLimits& c) {
  Limits = c;
  PanelCSL->show();
  const TCharBoxes boxes = CharSizeBoxes(c);
  SetBoxSize(CharSizeMin, {boxes.MinWidth, boxes.MinHeight});
  CharSizeMin->setVisible(boxes.MinVisible);
  SetBoxSize(CharSizeMax, {boxes.MaxWidth, boxes.MaxHeight});
  CharSizeMax->setVisible(boxes.MaxVisible);
  MaxBoxLeft = CharSizeMax->x();
  MaxBoxTop = CharSizeMax->y();
}

void TFormImage::HideSearchWindow() {
  PanelSW->hide();
  for (QWidget* s : {SearchWindowTop, SearchWindowLeft, SearchWindowRight, SearchWindowBottom}) s->hide();
}

void TFormImage::HidePlate() {
  Plate->hide();
  lblPlate->hide();
}

void TFormImage::HideCharSizeLimits() {
  PanelCSL->hide();
  CharSizeMin->hide();
  CharSizeMax->hide();
  lblCharSizeLimits->hide();
}

void TFormImage::EnablePanel(QWidget* panel, bool enabled) {
  for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setEnabled(enabled);
}

TPoint TFormImage::MaxBoxPos() const { return {CharSizeMax->x(), CharSizeMax->y()}; }

void TFormImage::UpdateImageControls() {
  btnGetImage->setEnabled(!Device.IpAddress.empty());
  btnApply->setEnabled(ApplyEnabled(SettingsChanged(Window, SavedWindow, Limits, SavedLimits), Device.MacAddress));

  const TPoint minPos = CentreMinBox(MaxBoxPos(), MaxBox_, MinBox_);
  CharSizeMin->move(ToWidget(minPos.X), ToWidget(minPos.Y));

  lblCharSizeLimits->setVisible(!CharSizeMin->isHidden() || !CharSizeMax->isHidden());
  const TPoint labelPos = LimitsLabelPos(MaxBoxPos(), MaxBox_);
  lblCharSizeLimits->move(ToWidget(labelPos.X), ToWidget(labelPos.Y));

  SetTextIfChanged(EditCSLMinX, QString::number(MinBox_.Width));
  SetTextIfChanged(EditCSLMinY, QString::number(MinBox_.Height));
  SetTextIfChanged(EditCSLMaxX, QString::number(MaxBox_.Width));
  SetTextIfChanged(EditCSLMaxY, QString::number(MaxBox_.Height));

  // The window's fields always hold the window, also while their panel is
  // hidden (pictures up to 1024 x 768): leaving a size field and Apply read
  // them, and stale numbers there would be written to the camera.
  const QString suffix = QString::fromLatin1(SearchWindowSuffix(Window.Percent));
  const std::pair<TNumberEdit*, int32_t> window[] = {
      {EditSWMinX, Window.MinX}, {EditSWMinY, Window.MinY}, {EditSWMaxX, Window.MaxX}, {EditSWMaxY, Window.MaxY}};
  for (const auto& [edit, value] : window) {
    SetTextIfChanged(edit, QString::number(value));
    edit->SetSuffix(suffix);
  }

  PanelConfig->setVisible(!PanelCSL->isHidden() || !PanelSW->isHidden());
}

// ---------------------------------------------------------------- editing

void TFormImage::OnEditExit() {
  Window.MinX = Number(EditSWMinX);
  Window.MinY = Number(EditSWMinY);
  Window.MaxX = Number(EditSWMaxX);
  Window.MaxY = Number(EditSWMaxY);
  if (!PanelCSL->isHidden()) {
    Limits.MinWidth = Number(EditCSLMinX);
    Limits.MinHeight = Number(EditCSLMinY);
    Limits.MaxWidth = Number(EditCSLMaxX);
    Limits.MaxHeight = Number(EditCSLMaxY);
  }
  // Typed values are taken as they are, beyond what dragging allows.
  ShowSearchWindow(Window);
  ShowCharSizeLimits(Limits);
  UpdateImageControls();
}

void TFormImage::OnCharSizeMouseDown(TShapeBox*, int x, int y) {
  if (Dragging) return;
  Dragging = true;
  DragX = x;
  DragY = y;
}

void TFormImage::OnCharSizeMouseMove(TShapeBox* box, int x, int y, Qt::KeyboardModifiers modifiers) {
  if (!Dragging) return;
  const int32_t dx = x - DragX, dy = y - DragY;
  if (modifiers & Qt::ShiftModifier) {
    const TSize size = ResizeMaxBox(MaxBox_, MinBox_, dx, dy);
    SetBoxSize(CharSizeMax, size);
    Limits.MaxWidth = size.Width;
    Limits.MaxHeight = size.Height;
    box->setCursor(Qt::SizeFDiagCursor);
    DragX = x;
    DragY = y;
  } else if (modifiers & Qt::ControlModifier) {
    const TSize size = ResizeMinBox(MinBox_, MaxBox_, dx, dy);
    SetBoxSize(CharSizeMin, size);
    Limits.MinWidth = size.Width;
    Limits.MinHeight = size.Height;
    box->setCursor(Qt::SizeFDiagCursor);
    DragX = x;
    DragY = y;
  } else {
    // The pointer stays at the same place on the box, so DragX, DragY stay.
    const TPoint pos = MoveBox(MaxBoxPos(), dx, dy);
    CharSizeMax->move(ToWidget(pos.X), ToWidget(pos.Y));
    MaxBoxLeft = CharSizeMax->x();
    MaxBoxTop = CharSizeMax->y();
    box->setCursor(Qt::SizeAllCursor);
  }
  UpdateImageControls();
}

void TFormImage::OnCharSizeMouseUp(TShapeBox* box) {
  if (!Dragging) return;
  box->unsetCursor();
  Dragging = false;
}

void TFormImage::btnCancelClick() {
  if (!PanelSW->isHidden()) ShowSearchWindow(SavedWindow);
  if (!PanelCSL->isHidden()) ShowCharSizeLimits(SavedLimits);
  UpdateImageControls();
}

void TFormImage::btnApplyClick() {
  if (!Main) return;
  TFormMain::TExchangeLock lock(*Main);
  if (!lock) return;
  TDeviceInfo settings;
  settings.SearchWindow = {Number(EditSWMinX), Number(EditSWMinY), Number(EditSWMaxX), Number(EditSWMaxY),
                           Window.Percent};
  settings.CharSizeLimits.MinWidth = Number(EditCSLMinX);
  settings.CharSizeLimits.MaxWidth = Number(EditCSLMaxX);
  settings.CharSizeLimits.MinHeight = Number(EditCSLMinY);
  settings.CharSizeLimits.MaxHeight = Number(EditCSLMaxY);
  if (!Main->WriteOcrSettings(Device.IpAddress, std::string(), settings)) return;
  SavedWindow = settings.SearchWindow;
  SavedLimits = settings.CharSizeLimits;
  if (Prompts.Confirm(tr("Settings changed. Reboot now?"))) {
    Main->RebootDevice(Device.IpAddress, std::string());
    reject();
  }
}

void TFormImage::btnGetImageClick() {
  if (!Main) return;
  TFormMain::TExchangeLock lock(*Main);
  if (!lock) return;
  if (!Main->GetImage(Device.IpAddress, ImageKind)) return;
  SetPicture(*(ImageKind == 0 ? Main->Image1 : Main->Image2));
  MemoInfo->clear();
  FormShow();
  if (!PanelSW->isHidden()) ShowSearchWindow(Window);
  HidePlate();
  if (!PanelCSL->isHidden()) ShowCharSizeLimits(Limits);
  UpdateImageControls();
}

// ---------------------------------------------------------------- pointer, wheel, keys

void TFormImage::Image1MouseMove(int x, int y) {
  PanelXY->setText(QStringLiteral("X=%1, Y=%2").arg(x).arg(y));
}

void TFormImage::FormMouseWheel(int delta) {
  QScrollBar* bar = ScrollBox1->verticalScrollBar();
  bar->setValue(WheelScrollPosition(bar->value(), delta, bar->maximum()));
  OnScroll();
}

void TFormImage::OnScroll() {
  CharSizeMax->move(ToWidget(MaxBoxLeft), ToWidget(MaxBoxTop));
  UpdateImageControls();
}

void TFormImage::wheelEvent(QWheelEvent* event) {
  if (event->angleDelta().y() == 0) return QDialog::wheelEvent(event);
  FormMouseWheel(event->angleDelta().y());
  event->accept();
}

bool TFormImage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->angleDelta().y() != 0) {
      FormMouseWheel(wheel->angleDelta().y());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFormImage::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    FormKeyPress(event->key());
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFormImage::FormKeyPress(int key) {
  if (key == Qt::Key_Escape) reject();
}
