#include "UImageInfo.h"

#include <algorithm>

#include "CFunctions.h"
#include "UCodePage.h"
#include "UIniText.h"

namespace {

#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif

// A JFIF header segment is 16 long; the information block is longer.
constexpr size_t MinBlockLength = 33;

// The block's text, or false when the picture holds no block.
bool BlockText(std::span<const uint8_t> p, std::string_view& text) {
  if (p.size() < 8 || p[0] != 0xFF || p[1] != 0xD8 || p[2] != 0xFF || p[3] != 0xE0) return false;
  const size_t length = static_cast<size_t>(p[4]) << 8 | p[5];
  if (length < MinBlockLength || length > p.size() - 4) return false;
  text = std::string_view(reinterpret_cast<const char*>(p.data()) + 6, length - 2);
  return true;
}

// A part of a file name taken from a picture: separators (and NUL, which
// would cut the name short) cannot move the file out of its folder.
std::string NamePart(std::string text) {
  for (char& c : text) {
    if (c == '/' || c == '\\' || c == '\0'
#ifdef _WIN32
        || c == ':'
#endif
    )
      c = '_';
  }
  return text;
}

std::string Digits(int value, int width) {
  std::string text = std::to_string(value);
  if (text.size() < static_cast<size_t>(width)) text.insert(0, static_cast<size_t>(width) - text.size(), '0');
  return text;
}

}  // namespace

void ParseOcrCfg(const std::string& text, TSearchWindow& window, TCharSizeLimits& limits) {
  window = TSearchWindow{};
  limits = TCharSizeLimits{};
  int n = ScanFormat(text, "Win:(%d,%d) (%d,%d) Ch:%dx%d %dx%d", window.MinX, window.MinY, window.MaxX, window.MaxY,
                     limits.MinWidth, limits.MinHeight, limits.MaxWidth, limits.MaxHeight);
  // Each later form runs only when the one before stopped short; what an
  // earlier form stored stays where a later one does not reach, and Percent
  // follows the count of the last form tried.
  std::string mode;
  if (n < 8) {
    n = ScanFormat(text, "Mode(%s UDLR:(%d,%d,%d,%d) Ch:%dx%d %dx%d", mode, window.MinY, window.MaxY, window.MinX,
                   window.MaxX, limits.MinWidth, limits.MinHeight, limits.MaxWidth, limits.MaxHeight);
    window.Percent = n >= 5;
  }
  if (n < 8) {
    n = ScanFormat(text, "Mode(%s LUDR:(%d,%d,%d,%d) Ch:%dx%d %dx%d", mode, window.MinX, window.MinY, window.MaxY,
                   window.MaxX, limits.MinWidth, limits.MinHeight, limits.MaxWidth, limits.MaxHeight);
    window.Percent = n >= 5;
  }
}

bool ReadImageInfo(std::span<const uint8_t> picture, TImageInfo& info, std::vector<std::string>& lines) {
  std::string_view utf8;
  if (!BlockText(picture, utf8)) return false;
  std::string text;
  Utf8ToAnsi(utf8, text);  // text stays empty when the bytes are not UTF-8
  lines = SplitLines(TrimIni(text));

  // The lines are read as the body of a section "INFO"; an [INFO] line of
  // their own starts it afresh, any other section ends it.
  std::vector<std::string> body;
  body.reserve(lines.size() + 1);
  body.emplace_back("[INFO]");
  body.insert(body.end(), lines.begin(), lines.end());
  const TIniText ini(body);
  const auto str = [&](const char* key) { return ini.ReadString("INFO", key); };
  const auto num = [&](const char* key) { return ini.ReadInteger("INFO", key, 0); };

  info.FirmwareVer = str("S_FIRMWARE_VER");
  info.NetbiosName = str("S_NETBIOSNAME");
  info.SerialNumber = num("I_SN");
  info.Date = str("S_DATE");
  info.Time = str("S_TIME").substr(0, 8);
  std::replace(info.Time.begin(), info.Time.end(), '-', ':');
  info.Plate = str("S_PLATE");
  info.NRead = num("I_NREAD");
  info.OcrScore = num("F_OCRSCORE");
  info.JpegQuality = num("I_JPEG_QUALITY");
  info.Gain = num("I_GAIN");
  info.Shutter = num("I_SHUTTER");
  info.Strobo = num("I_STROBO");
  info.ClassString = str("S_CLASS_STRING");
  info.OcrCfg = str("S_OCR_CFG");
  info.PlateMinX = num("I_PLATE_MIN_X");
  info.PlateMinY = num("I_PLATE_MIN_Y");
  info.PlateMaxX = num("I_PLATE_MAX_X");
  info.PlateMaxY = num("I_PLATE_MAX_Y");
  ParseOcrCfg(info.OcrCfg, info.SearchWindow, info.CharSizeLimits);
  return true;
}

void ShowImageInfoText(std::span<const uint8_t> picture, TImageInfo& info, std::vector<std::string>& memo,
                       bool allowEdit, bool allowCapture) {
  info = TImageInfo{};
  info.AllowEdit = allowEdit;
  info.AllowCapture = allowCapture;
  memo.clear();
  if (picture.empty()) return;
  TImageInfo read = info;
  std::vector<std::string> lines;
  if (!ReadImageInfo(picture, read, lines)) return;
  info = read;
  memo = std::move(lines);
}

std::string ImageFileName(const TImageInfo& info, const std::string& suffix, const std::string& saveFolder,
                          TDateTime now) {
  std::string d;
  std::string t;
  if (!info.Date.empty()) {
    d = info.Date;
    std::erase(d, '-');
    t = info.Time;
    std::erase(t, ':');
  } else {
    const TDateTimeParts p = DecodeDateTime(now);
    d = Digits(p.Year, 4) + Digits(p.Month, 2) + Digits(p.Day, 2);
    t = Digits(p.Hour, 2) + Digits(p.Minute, 2) + Digits(p.Second, 2);
  }
  d = NamePart(d);
  // The folder of the day stays inside saveFolder: no "..", nor "..." that
  // Windows trims to it.
  if (!d.empty() && d.find_first_not_of('.') == std::string::npos) d.assign(d.size(), '_');
  std::string name = NamePart(info.NetbiosName) + "_" + d + "_" + NamePart(t);
  if (!info.Plate.empty()) name += "_" + NamePart(info.Plate);
  return saveFolder + PathDelim + d + PathDelim + name + suffix + ".jpg";
}
