#include "UImage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "UPictureBox.h"
#include "UPrompts.h"

TFormImage::TFormImage(TPrompts& prompts, QWidget* parent) : QDialog(parent), Prompts(prompts) {
  setObjectName(QStringLiteral("FormImage"));
  setWindowTitle(tr("Image"));
  resize(1024, 768);
  auto* layout = new QVBoxLayout(this);
  ScrollBox = new QScrollArea(this);
  ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
  ImageView = new QLabel;
  ImageView->setObjectName(QStringLiteral("ImageView"));
  ScrollBox->setWidget(ImageView);
  ScrollBox->setAlignment(Qt::AlignCenter);
  layout->addWidget(ScrollBox, 1);
  auto* buttons = new QHBoxLayout;
  btnClose = new QPushButton(tr("Close"), this);
  btnClose->setObjectName(QStringLiteral("btnClose"));
  buttons->addStretch(1);
  buttons->addWidget(btnClose);
  layout->addLayout(buttons);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormImage::ShowImageSettings(const TPictureBox& image, TDeviceInfo device, const QStringList& infoLines,
                                  TImageInfo imageInfo) {
  Picture = image.Image();
  Device = std::move(device);
  InfoLines = infoLines;
  ImageInfo = std::move(imageInfo);
  WithSettings = true;
  return Open();
}

int TFormImage::ShowImage(const TPictureBox& image, TDeviceInfo device, const QStringList& infoLines) {
  Picture = image.Image();
  Device = std::move(device);
  InfoLines = infoLines;
  ImageInfo = TImageInfo{};
  WithSettings = false;
  return Open();
}

int TFormImage::Open() {
  ImageView->setPixmap(QPixmap::fromImage(Picture));
  ImageView->adjustSize();
  return Prompts.ExecDialog(*this);
}
