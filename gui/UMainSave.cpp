// Saving pictures: the Save buttons of the two panes, the saving of pushed
// pictures, and re-opening a saved picture from the message list.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTabWidget>
#include <QTreeWidget>

#include "UErrors.h"
#include "UMain.h"
#include "UPicture.h"
#include "UPictureBox.h"
#include "UQtBridge.h"

namespace {

// Writes the bytes exactly as they are into the file, creating its folder
// and every missing parent first.
void WritePictureFile(const std::vector<uint8_t>& bytes, const QString& name) {
  const QFileInfo where(name);
  if (!QDir().mkpath(where.absolutePath())) {
    throw EFileError(QStringToAnsi(QStringLiteral("Cannot create folder \"%1\"").arg(where.absolutePath())));
  }
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.flush()) {
    const QString why = file.errorString();
    file.close();
    throw EFileError(QStringToAnsi(QStringLiteral("Cannot create file \"%1\". %2").arg(name, why)));
  }
}

// A picture file as a pane shows it: a JPEG picture decoded as the camera's
// pictures are, any other format by Qt's readers; the bytes stay as read.
bool LoadPictureFile(const QString& name, QImage& image, std::vector<uint8_t>& bytes) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray data = file.readAll();
  bytes.assign(data.begin(), data.end());
  try {
    image = JpegToQImage(DecodeJpeg(bytes.data(), bytes.size()));
  } catch (const std::exception&) {
    QBuffer buffer;
    buffer.setData(data);
    image = QImageReader(&buffer).read();
  }
  return !image.isNull();
}

}  // namespace

// A JPEG picture is written as the bytes it was loaded from, so the image
// information block stays in the file.
void TFormMain::SaveImageToFolder(const TPictureBox& picture, const std::string& fileName) {
  WritePictureFile(picture.Bytes(), AnsiToQString(fileName));
}

void TFormMain::btnSaveImageClick(int kind) {
  const TPictureBox* pane = PicturePane(kind);
  if (!pane->HasPicture()) return;
  const TFileDialogSpec spec{QStringLiteral("Save As"),
                             QStringLiteral("JPEG Image File (*.jpg *.jpeg);;All files (*)"), QStringLiteral("jpg")};
  QString fileName;
  if (!Prompts().SaveFile(spec, fileName)) return;
  // The chosen name is used as the user sees it, whatever its characters.
  WritePictureFile(pane->Bytes(), fileName);
  Prompts().MessageBox(QStringLiteral("File saved ") + QDir::toNativeSeparators(fileName));
}

// A line of a pushed picture that was saved loads that picture back into its
// pane. Every other line, and a file that is gone or is no picture, does
// nothing, silently.
void TFormMain::ListViewMsgRxDblClick() {
  try {
    const QTreeWidgetItem* line = ListViewMsgRx->currentItem();
    if (!line) return;
    const QString type = line->text(2);
    const QString value = line->text(3);
    int kind = -1;
    if (type == QLatin1String("IMAGE_BW")) kind = 0;
    if (type == QLatin1String("IMAGE_COL")) kind = 1;
    if (kind >= 0) {
      QImage image;
      std::vector<uint8_t> bytes;
      if (value.isEmpty() || !LoadPictureFile(value, image, bytes)) return;
      PicturePane(kind)->SetPicture(image, std::move(bytes));
      if (kind == 0) {
        ShowImageInfo(Image1, ImageInfo1, MemoInfo1, false, false);
        PageControlImage->setCurrentWidget(tsIMAGE1);
      } else {
        ShowImageInfo(Image2, ImageInfo2, MemoInfo2, false, false);
        PageControlImage->setCurrentWidget(tsIMAGE2);
      }
    }
    UpdateControls();
  } catch (...) {
  }
}
