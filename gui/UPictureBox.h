#pragma once
// A picture pane: shows a picture scaled down to fit, in proportion and
// centred, and keeps the bytes the picture was loaded from unchanged beside
// the decoded pixels, because saving and the image information block work on
// those bytes.

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

class TPictureBox : public QWidget {
  Q_OBJECT
public:
  explicit TPictureBox(QWidget* parent = nullptr);

  bool HasPicture() const { return !Picture.isNull(); }
  const QImage& Image() const { return Picture; }
  const std::vector<uint8_t>& Bytes() const { return PictureBytes; }

  void SetPicture(const QImage& image, std::vector<uint8_t> bytes);
  void Clear();

  // The tag of the original control: the image kind (0 black-and-white, 1 colour).
  int Tag = 0;

signals:
  void doubleClicked();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  QImage Picture;
  std::vector<uint8_t> PictureBytes;
};
