#pragma once
// Bridges between the tools' own values and Qt's: 8-bit texts in the tools'
// code page and QString; decoded camera pictures and QImage.

#include <QImage>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

struct TJpegPicture;

// An 8-bit text as the user sees it (every byte is one character).
QString AnsiToQString(std::string_view ansi);
// Back to 8-bit text; a character the code page lacks becomes '?'.
std::string QStringToAnsi(const QString& text);

QStringList AnsiLinesToQStringList(const std::vector<std::string>& lines);
std::vector<std::string> QStringListToAnsiLines(const QStringList& lines);

// The pixels of a decoded JPEG picture as a QImage (a deep copy).
QImage JpegToQImage(const TJpegPicture& picture);
