#pragma once
// Fits a folder path into a label of a given width by cutting the folder part
// from its end and marking the cut with "...": C:\Data\Images becomes
// C:\Data...\Images, C:\Dat...\Images, ... , ...\Images and at last Images.

#include <functional>
#include <string>

#include "UPaths.h"

// Width of a text in the label's font, in pixels.
using TTextMeasure = std::function<int(const std::string&)>;

// The folder is the path up to and including its last separator or ":"; the
// rest is the name, which is never cut (the result may stay wider than
// maxWidth once only the name is left).
std::string ShortenPath(const std::string& path, int maxWidth, const TTextMeasure& measure,
                        char separator = NativePathDelimiter);
