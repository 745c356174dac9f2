#include "UToolbarPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

const QColor Ink(0x33, 0x3D, 0x47);
const QColor Housing(0x5B, 0x6B, 0x7A);
const QColor Lens(0x1E, 0x88, 0xE5);
const QColor Green(0x2E, 0x9D, 0x4A);
const QColor Red(0xD3, 0x3B, 0x2F);
const QColor Orange(0xF0, 0x8C, 0x1A);

// An ANPR camera housing seen from the side: sun shield, body, lens.
void DrawCamera(QPainter& p, QRectF r) {
  const qreal w = r.width(), h = r.height();
  QPainterPath shield;
  shield.moveTo(r.left(), r.top() + h * 0.18);
  shield.lineTo(r.right(), r.top());
  shield.lineTo(r.right(), r.top() + h * 0.16);
  shield.lineTo(r.left(), r.top() + h * 0.30);
  shield.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Ink);
  p.drawPath(shield);
  const QRectF body(r.left() + w * 0.04, r.top() + h * 0.30, w * 0.86, h * 0.42);
  p.setBrush(Housing);
  p.drawRoundedRect(body, 2, 2);
  p.setBrush(Lens);
  p.drawEllipse(QPointF(body.right(), body.center().y()), h * 0.15, h * 0.15);
  // The bracket it hangs on.
  p.setBrush(Ink);
  p.drawRect(QRectF(r.left() + w * 0.40, body.bottom(), w * 0.12, h * 0.2));
  p.drawRect(QRectF(r.left() + w * 0.28, r.bottom() - h * 0.1, w * 0.36, h * 0.1));
}

void DrawMagnifier(QPainter& p, QPointF centre, qreal radius) {
  QPen pen(Ink, radius * 0.45, Qt::SolidLine, Qt::RoundCap);
  p.setPen(pen);
  const qreal d = radius * 0.72;
  p.drawLine(centre + QPointF(d, d), centre + QPointF(radius * 1.8, radius * 1.8));
  p.setPen(QPen(Ink, radius * 0.28));
  p.setBrush(QColor(0xE3, 0xF2, 0xFD, 220));
  p.drawEllipse(centre, radius, radius);
}

void DrawBadge(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
  p.setPen(QPen(Qt::white, 1.5));
  p.setBrush(colour);
  p.drawEllipse(centre, radius, radius);
}

// A server: two rack units with their lights.
void DrawServer(QPainter& p, QRectF r) {
  p.setPen(Qt::NoPen);
  const qreal unit = r.height() / 2 - 1;
  for (int i = 0; i < 2; ++i) {
    const QRectF box(r.left(), r.top() + i * (unit + 2), r.width(), unit);
    p.setBrush(Housing);
    p.drawRoundedRect(box, 2, 2);
    p.setBrush(QColor(0x9C, 0xCC, 0x65));
    p.drawEllipse(QPointF(box.left() + 5, box.center().y()), 1.8, 1.8);
    p.setBrush(QColor(0xCF, 0xD8, 0xDC));
    p.drawRect(QRectF(box.left() + 10, box.center().y() - 1, box.width() - 15, 2));
  }
}

void DrawGlobe(QPainter& p, QPointF c, qreal r) {
  p.setBrush(QColor(0xBB, 0xDE, 0xFB));
  p.setPen(QPen(Lens, 2));
  p.drawEllipse(c, r, r);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Lens, 1.4));
  p.drawEllipse(c, r * 0.45, r);
  p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
  p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
  p.drawLine(QPointF(c.x() - r * 0.86, c.y() - r * 0.5), QPointF(c.x() + r * 0.86, c.y() - r * 0.5));
  p.drawLine(QPointF(c.x() - r * 0.86, c.y() + r * 0.5), QPointF(c.x() + r * 0.86, c.y() + r * 0.5));
}

void DrawArrowHead(QPainter& p, QPointF tip, qreal angleDegrees, qreal size, const QColor& colour) {
  const qreal a = angleDegrees * M_PI / 180.0;
  const QPointF dir(std::cos(a), -std::sin(a));
  const QPointF normal(-dir.y(), dir.x());
  QPolygonF head;
  head << tip << tip - dir * size + normal * size * 0.6 << tip - dir * size - normal * size * 0.6;
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPolygon(head);
}

void DrawText(QPainter& p, QRectF r, const QString& text, const QColor& colour, int pixelSize) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(true);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(r, Qt::AlignCenter, text);
}

QPixmap NewPicture() {
  QPixmap pixmap(ToolbarPictureWidth, ToolbarPictureHeight);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QPixmap SearchDevices() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // Several cameras, one behind the other, and the search glass.
  DrawCamera(p, QRectF(14, 2, 24, 14));
  DrawCamera(p, QRectF(6, 15, 24, 15));
  DrawMagnifier(p, QPointF(46, 13), 7);
  return pm;
}

QPixmap SearchOneDevice() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  DrawCamera(p, QRectF(6, 8, 28, 18));
  DrawMagnifier(p, QPointF(44, 13), 7);
  DrawText(p, QRectF(37, 6, 14, 14), QStringLiteral("1"), Ink, 11);
  return pm;
}

QPixmap CaptureImage() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // A picture with a number plate in it.
  const QRectF frame(16, 4, 32, 24);
  p.setPen(QPen(Ink, 1.5));
  p.setBrush(QColor(0x90, 0xA4, 0xAE));
  p.drawRect(frame);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x60, 0x7D, 0x8B));
  QPolygonF road;
  road << QPointF(20, 28) << QPointF(30, 12) << QPointF(34, 12) << QPointF(44, 28);
  p.drawPolygon(road);
  p.setBrush(Qt::white);
  p.setPen(QPen(Ink, 1));
  p.drawRect(QRectF(24, 18, 16, 6));
  p.setPen(QPen(Ink, 1));
  for (int i = 0; i < 5; ++i) p.drawLine(QPointF(26.5 + i * 2.8, 19.5), QPointF(26.5 + i * 2.8, 22.5));
  // The shutter flash.
  QPolygonF bolt;
  bolt << QPointF(52, 2) << QPointF(47, 12) << QPointF(51, 12) << QPointF(48, 20) << QPointF(56, 9)
       << QPointF(52, 9) << QPointF(55, 2);
  p.setPen(QPen(QColor(0x8D, 0x6E, 0x00), 0.8));
  p.setBrush(QColor(0xFF, 0xCA, 0x28));
  p.drawPolygon(bolt);
  return pm;
}

QPixmap SetupIp() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // A gear behind the letters.
  const QPointF c(22, 16);
  p.setPen(Qt::NoPen);
  p.setBrush(Housing);
  for (int i = 0; i < 8; ++i) {
    p.save();
    p.translate(c);
    p.rotate(i * 45.0);
    p.drawRect(QRectF(-2.5, -13, 5, 6));
    p.restore();
  }
  p.drawEllipse(c, 10, 10);
  p.setBrush(QColor(0xEC, 0xEF, 0xF1));
  p.drawEllipse(c, 4, 4);
  p.setBrush(Lens);
  p.drawRoundedRect(QRectF(30, 9, 26, 15), 3, 3);
  DrawText(p, QRectF(30, 9, 26, 15), QStringLiteral("IP"), Qt::white, 11);
  return pm;
}

QPixmap OpenWithBrowser() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  DrawGlobe(p, QPointF(32, 16), 12);
  return pm;
}

QPixmap Ping() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // Echo waves going out and coming back.
  p.setBrush(Green);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 3; ++i) {
    p.setPen(QPen(Green, 2.2, Qt::SolidLine, Qt::RoundCap));
    const qreal r = 5.0 + i * 5.0;
    p.drawArc(QRectF(16 - r, 16 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  }
  DrawCamera(p, QRectF(36, 8, 22, 16));
  return pm;
}

QPixmap Reboot() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(32, 16);
  const qreal r = 10;
  p.setPen(QPen(Orange, 3.2, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 110 * 16, 300 * 16);
  const qreal a = 50 * M_PI / 180.0;
  DrawArrowHead(p, QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a)) + QPointF(-2, -3), 140, 8, Orange);
  return pm;
}

QPixmap ServerStart() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  DrawServer(p, QRectF(12, 5, 28, 22));
  DrawBadge(p, QPointF(44, 20), 9, Green);
  QPolygonF play;
  play << QPointF(41, 15) << QPointF(49, 20) << QPointF(41, 25);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPolygon(play);
  return pm;
}

QPixmap ServerStop() {
  QPixmap pm = NewPicture();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  DrawServer(p, QRectF(12, 5, 28, 22));
  DrawBadge(p, QPointF(44, 20), 9, Red);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(40, 16, 8, 8));
  return pm;
}

}  // namespace

QList<QPixmap> ToolbarPictures() {
  return {SearchDevices(), OpenWithBrowser(), CaptureImage(), Ping(), Reboot(),
          ServerStart(),   ServerStop(),      SetupIp(),      SearchOneDevice()};
}
