#pragma once
// The about box: banner, product name, version, copyright and the maker's
// web address, read from the program's version record. A click anywhere but
// the web address, or any key, closes it.

#include <QDialog>

class QLabel;
class QWidget;
class TPrompts;

class TFormAbout : public QDialog {
  Q_OBJECT
public:
  TFormAbout(TPrompts& prompts, QWidget* parent = nullptr);

  QLabel* Image1;
  QLabel* lblProductName;
  QWidget* PanelMain;
  QLabel* lblProductVersion;
  QLabel* lblCopyright;
  QLabel* lblWebsite;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  void FormCreate();
  void CloseClick();
  void FormKeyPress();
  void lblWebsiteClick();

  TPrompts& Prompts;
};

// The banner across the top of the about box (400 x 100).
QPixmap AboutBanner();
