#include "UPictureBox.h"

#include <QMouseEvent>
#include <QPainter>

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumSize(32, 32);
}

void TPictureBox::SetPicture(const QImage& image, std::vector<uint8_t> bytes) {
  Picture = image;
  PictureBytes = std::move(bytes);
  update();
}

void TPictureBox::Clear() {
  Picture = QImage();
  PictureBytes.clear();
  update();
}

void TPictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Base));
  if (Picture.isNull()) {
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect(), Qt::AlignCenter, tr("No picture"));
    return;
  }
  // Scaled down in proportion, never up, and centred.
  QSize size = Picture.size();
  if (size.width() > width() || size.height() > height()) size.scale(this->size(), Qt::KeepAspectRatio);
  const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, Picture);
}

void TPictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
  QWidget::mouseDoubleClickEvent(event);
}
