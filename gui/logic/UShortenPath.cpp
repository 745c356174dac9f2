// Path shortening for the folder label of the event server.

#include "UShortenPath.h"

std::string ShortenPath(const std::string& path, int maxWidth, const TTextMeasure& measure, char separator) {
  const size_t cut = path.find_last_of(std::string{separator, ':'});
  std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  std::string ellipsis;
  std::string result = path;
  while ((!folder.empty() || !ellipsis.empty()) && measure(result) > maxWidth) {
    if (!folder.empty()) {
      folder.pop_back();
      ellipsis = std::string("...") + separator;
    } else {
      ellipsis.clear();
    }
    result = folder + ellipsis + name;
  }
  return result;
}
