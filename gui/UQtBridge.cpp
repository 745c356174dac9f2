#include "UQtBridge.h"

#include "UCodePage.h"
#include "UPicture.h"

QString AnsiToQString(std::string_view ansi) {
  QString text;
  text.reserve(static_cast<qsizetype>(ansi.size()));
  for (char c : ansi) {
    // Every character of the code page lies in the Basic Multilingual Plane.
    text.append(QChar(static_cast<char16_t>(AnsiToUnicode(static_cast<uint8_t>(c)))));
  }
  return text;
}

std::string QStringToAnsi(const QString& text) {
  std::string ansi;
  ansi.reserve(static_cast<size_t>(text.size()));
  for (char32_t ch : text.toUcs4()) {
    uint8_t byte = 0;
    ansi += UnicodeToAnsi(ch, byte) ? static_cast<char>(byte) : AnsiSubstitute;
  }
  return ansi;
}

QStringList AnsiLinesToQStringList(const std::vector<std::string>& lines) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) list.append(AnsiToQString(line));
  return list;
}

std::vector<std::string> QStringListToAnsiLines(const QStringList& lines) {
  std::vector<std::string> list;
  list.reserve(static_cast<size_t>(lines.size()));
  for (const QString& line : lines) list.push_back(QStringToAnsi(line));
  return list;
}

QImage JpegToQImage(const TJpegPicture& picture) {
  if (picture.Width <= 0 || picture.Height <= 0) return {};
  const qsizetype stride = static_cast<qsizetype>(picture.Width) * 3;
  if (picture.Rgb.size() < static_cast<size_t>(stride) * static_cast<size_t>(picture.Height)) return {};
  const QImage view(picture.Rgb.data(), picture.Width, picture.Height, stride, QImage::Format_RGB888);
  return view.copy();
}
