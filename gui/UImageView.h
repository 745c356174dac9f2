#pragma once
// The pieces of the image detail window's view: the picture drawn 1:1, and
// the rectangles laid over it (hatched strips, the plate frame, the two
// character boxes). A rectangle either ignores the mouse or reports what the
// mouse does on it in its own coordinates.

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class TImageCanvas : public QWidget {
  Q_OBJECT
public:
  explicit TImageCanvas(QWidget* parent = nullptr);
  // Shows the picture at full size; the canvas takes its size.
  void SetPicture(const QImage& picture);

signals:
  void mouseMoved(int x, int y);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  QPixmap Pixmap;
};

// A rectangle with a one-pixel outline and an optional fill pattern.
class TShapeBox : public QWidget {
  Q_OBJECT
public:
  // interactive: the shape takes the mouse (else events fall through to
  // whatever lies below it).
  TShapeBox(const QColor& pen, const QBrush& brush, bool interactive, QWidget* parent = nullptr);

signals:
  void mousePressed(int x, int y);
  void mouseMoved(int x, int y, Qt::KeyboardModifiers modifiers);
  void mouseReleased();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  QColor Pen;
  QBrush Brush;
};
