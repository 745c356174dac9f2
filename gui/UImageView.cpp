#include "UImageView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TImageCanvas::TImageCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
}

void TImageCanvas::SetPicture(const QImage& picture) {
  // A pixmap draws a region of itself without converting pixels on every
  // paint, which keeps dragging over the picture cheap.
  Pixmap = QPixmap::fromImage(picture);
  resize(picture.size());
  update();
}

void TImageCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect();
  painter.fillRect(area, palette().color(QPalette::Window));
  painter.drawPixmap(area, Pixmap, area);
}

void TImageCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mouseMoved(p.x(), p.y());
  QWidget::mouseMoveEvent(event);
}

TShapeBox::TShapeBox(const QColor& pen, const QBrush& brush, bool interactive, QWidget* parent)
    : QWidget(parent), Pen(pen), Brush(brush) {
  setAttribute(Qt::WA_TransparentForMouseEvents, !interactive);
  setAttribute(Qt::WA_NoSystemBackground);
}

void TShapeBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(Pen, 0));
  painter.setBrush(Brush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TShapeBox::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mousePressed(p.x(), p.y());
}

void TShapeBox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit mouseMoved(p.x(), p.y(), event->modifiers());
}

void TShapeBox::mouseReleaseEvent(QMouseEvent*) { emit mouseReleased(); }
