#include "UAbout.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "UPrompts.h"
#include "UVersionInfo.h"

namespace {
const QColor AboutBackground(0, 138, 204);
const QColor AboutPanel(0, 138, 207);

QLabel* WhiteLabel(QWidget* parent, const char* name, int height) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFixedHeight(height);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  label->setPalette(palette);
  return label;
}
}  // namespace

QPixmap AboutBanner() {
  QPixmap banner(400, 100);
  QPainter p(&banner);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 400, 100);
  sky.setColorAt(0.0, QColor(0x0D, 0x2B, 0x45));
  sky.setColorAt(1.0, AboutBackground);
  p.fillRect(banner.rect(), sky);
  // A road running into the picture, with the camera watching it.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 28));
  QPolygonF road;
  road << QPointF(180, 100) << QPointF(300, 30) << QPointF(320, 30) << QPointF(400, 70) << QPointF(400, 100);
  p.drawPolygon(road);
  p.setBrush(QColor(255, 255, 255, 60));
  for (int i = 0; i < 5; ++i) p.drawRect(QRectF(262 + i * 24, 75 - i * 10, 12, 2.5));
  // Camera on its pole.
  p.setBrush(QColor(0xEC, 0xEF, 0xF1));
  p.drawRect(QRectF(66, 44, 5, 56));
  QPainterPath shield;
  shield.moveTo(36, 28);
  shield.lineTo(110, 18);
  shield.lineTo(110, 24);
  shield.lineTo(36, 34);
  shield.closeSubpath();
  p.drawPath(shield);
  p.drawRoundedRect(QRectF(40, 32, 62, 18), 3, 3);
  p.setBrush(QColor(0x4F, 0xC3, 0xF7));
  p.drawEllipse(QPointF(103, 41), 6, 6);
  // The camera's view of a number plate.
  p.setBrush(QColor(255, 255, 255, 40));
  QPolygonF cone;
  cone << QPointF(108, 41) << QPointF(340, 48) << QPointF(340, 78);
  p.drawPolygon(cone);
  p.setBrush(Qt::white);
  p.setPen(QPen(QColor(0x0D, 0x2B, 0x45), 1.5));
  p.drawRoundedRect(QRectF(300, 52, 66, 22), 3, 3);
  QFont plate(QStringLiteral("DejaVu Sans Mono"));
  plate.setPixelSize(14);
  plate.setBold(true);
  p.setFont(plate);
  p.drawText(QRectF(300, 52, 66, 22), Qt::AlignCenter, QStringLiteral("AB 123"));
  QFont maker(QStringLiteral("DejaVu Sans"));
  maker.setPixelSize(13);
  maker.setBold(true);
  maker.setLetterSpacing(QFont::AbsoluteSpacing, 4);
  p.setFont(maker);
  p.setPen(QColor(255, 255, 255, 200));
  p.drawText(QRectF(130, 8, 260, 20), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("KALTO"));
  return banner;
}

TFormAbout::TFormAbout(TPrompts& prompts, QWidget* parent) : QDialog(parent), Prompts(prompts) {
  setObjectName(QStringLiteral("FormAbout"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setFixedSize(400, 300);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, AboutBackground);
  setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(400, 100);
  Image1->setPixmap(AboutBanner());
  layout->addWidget(Image1);

  lblProductName = WhiteLabel(this, "lblProductName", 44);
  lblProductName->setAlignment(Qt::AlignCenter);
  lblProductName->setWordWrap(true);
  QFont nameFont(QStringLiteral("Arial"));
  nameFont.setPixelSize(37);
  nameFont.setBold(true);
  lblProductName->setFont(nameFont);
  layout->addWidget(lblProductName);

  PanelMain = new QWidget(this);
  PanelMain->setObjectName(QStringLiteral("PanelMain"));
  PanelMain->setAutoFillBackground(true);
  QPalette panelPalette = PanelMain->palette();
  panelPalette.setColor(QPalette::Window, AboutPanel);
  PanelMain->setPalette(panelPalette);
  auto* panel = new QVBoxLayout(PanelMain);
  panel->setContentsMargins(20, 20, 20, 20);
  panel->setSpacing(0);
  panel->addStretch(1);
  lblProductVersion = WhiteLabel(PanelMain, "lblProductVersion", 16);
  lblCopyright = WhiteLabel(PanelMain, "lblCopyright", 36);
  lblCopyright->setWordWrap(true);
  lblWebsite = WhiteLabel(PanelMain, "lblWebsite", 16);
  QFont link = lblWebsite->font();
  link.setUnderline(true);
  lblWebsite->setFont(link);
  lblWebsite->setCursor(Qt::PointingHandCursor);
  panel->addWidget(lblProductVersion);
  panel->addWidget(lblCopyright);
  panel->addWidget(lblWebsite);
  layout->addWidget(PanelMain, 1);

  for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(lblProductName), PanelMain,
                     static_cast<QWidget*>(lblProductVersion), static_cast<QWidget*>(lblCopyright),
                     static_cast<QWidget*>(lblWebsite)}) {
    w->installEventFilter(this);
  }
  FormCreate();
}

// The labels read the version record once, when the window is built.
void TFormAbout::FormCreate() {
  const TVersionInfo& version = VersionInfo();
  lblProductName->setText(version.ProductName);
  lblProductVersion->setText(version.ProductVersion);
  lblCopyright->setText(version.LegalCopyright);
  lblWebsite->setText(version.WebSite);
  lblProductVersion->setText(tr("Version: ") + lblProductVersion->text());
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
  // The press is taken here too, so it does not reach the window beneath.
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) return true;
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == lblWebsite) {
      lblWebsiteClick();
    } else {
      CloseClick();
    }
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFormAbout::mousePressEvent(QMouseEvent* event) {
  QDialog::mousePressEvent(event);
  CloseClick();
}

void TFormAbout::keyPressEvent(QKeyEvent*) { FormKeyPress(); }

void TFormAbout::CloseClick() { accept(); }

void TFormAbout::FormKeyPress() { accept(); }

void TFormAbout::lblWebsiteClick() { Prompts.OpenUrl(QStringLiteral("http://") + lblWebsite->text()); }
