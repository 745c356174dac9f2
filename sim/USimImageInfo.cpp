#include "USimImageInfo.h"

#include "UCodePage.h"
#include "UIniText.h"

namespace {

void Add(std::string& out, const char* key, const std::string& value) {
  out += key;
  out += '=';
  out += value;
  out += "\r\n";
}

void Add(std::string& out, const char* key, int32_t value) { Add(out, key, std::to_string(value)); }

}  // namespace

std::string BuildImageInfoText(const TSimImageInfo& i) {
  std::string t;
  Add(t, "S_FIRMWARE_VER", i.FirmwareVer);
  Add(t, "S_NETBIOSNAME", i.NetbiosName);
  Add(t, "I_SN", i.SerialNumber);
  Add(t, "S_DATE", i.Date);
  Add(t, "S_TIME", i.Time);
  Add(t, "I_CHANNEL", i.Channel);
  Add(t, "I_WIDTH", i.Width);
  Add(t, "I_HEIGHT", i.Height);
  Add(t, "S_PLATE", i.Plate);
  Add(t, "S_COUNTRY", i.Country);
  Add(t, "I_NREAD", i.NRead);
  Add(t, "F_OCRSCORE", i.OcrScore);
  Add(t, "I_JPEG_QUALITY", i.JpegQuality);
  Add(t, "I_GAIN", i.Gain);
  Add(t, "I_SHUTTER", i.Shutter);
  Add(t, "I_STROBO", i.Strobo);
  Add(t, "S_CLASS_STRING", i.ClassString);
  Add(t, "S_OCR_CFG", i.OcrCfg);
  Add(t, "I_PLATE_MIN_X", i.PlateMinX);
  Add(t, "I_PLATE_MIN_Y", i.PlateMinY);
  Add(t, "I_PLATE_MAX_X", i.PlateMaxX);
  Add(t, "I_PLATE_MAX_Y", i.PlateMaxY);
  return t;
}

std::string OcrCfgText(std::string_view ocrpCfgIni) {
  const TIniText ini = TIniText::FromText(ocrpCfgIni);
  auto num = [&](const char* section, const char* key, int32_t fallback) {
    return std::to_string(ini.ReadInteger(section, key, fallback));
  };
  const std::string chars = " Ch:" + num("PLATE CHAR SIZE LIMITS", "CharMinWidth", 0) + "x" +
                            num("PLATE CHAR SIZE LIMITS", "CharMinHeight", 0) + " " +
                            num("PLATE CHAR SIZE LIMITS", "CharMaxWidth", 0) + "x" +
                            num("PLATE CHAR SIZE LIMITS", "CharMaxHeight", 0);
  const TIniSection* window = ini.FindSection("SEARCH WINDOW");
  if (window && !window->Lines.empty()) {
    return "Win:(" + num("SEARCH WINDOW", "WinMinX", 0) + "," + num("SEARCH WINDOW", "WinMinY", 0) + ") (" +
           num("SEARCH WINDOW", "WinMaxX", 2147483647) + "," + num("SEARCH WINDOW", "WinMaxY", 2147483647) +
           ")" + chars;
  }
  // The mode name is one word in the text; the file's own text is 8-bit.
  std::string mode = ini.ReadString("OCR", "Mode", "Std");
  std::string word;
  for (char c : mode)
    if (static_cast<uint8_t>(c) > ' ') word += c;
  if (word.empty()) word = "Std";
  return "Mode(" + AnsiToUtf8(word) + " UDLR:(" + num("PLATE LOCATOR", "PercLaneUp", 0) + "," +
         num("PLATE LOCATOR", "PercLaneDown", 100) + "," + num("PLATE LOCATOR", "PercLaneLeft", 0) + "," +
         num("PLATE LOCATOR", "PercLaneRight", 100) + ")" + chars;
}
