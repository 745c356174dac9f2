#pragma once
// The image information block a camera writes into every picture: INI-style
// KEY=VALUE lines, UTF-8, with the recognition settings in "S_OCR_CFG".

#include <cstdint>
#include <string>
#include <string_view>

struct TSimImageInfo {
  std::string FirmwareVer;
  std::string NetbiosName;  // UTF-8
  int32_t SerialNumber = 0;
  std::string Date;  // "yyyy-mm-dd"
  std::string Time;  // "hh-nn-ss-zzz"
  std::string Plate;
  std::string Country;
  int32_t NRead = 0;
  int32_t OcrScore = 0;
  int32_t JpegQuality = 0;
  int32_t Gain = 0;
  int32_t Shutter = 0;
  int32_t Strobo = 0;
  std::string ClassString;
  std::string OcrCfg;
  int32_t PlateMinX = 0, PlateMinY = 0, PlateMaxX = 0, PlateMaxY = 0;
  int32_t Width = 0, Height = 0, Channel = 0;
};

// The block's text, one KEY=VALUE per line, lines ended by CR LF.
std::string BuildImageInfoText(const TSimImageInfo& info);

// The recognition settings as a camera states them in its pictures, from the
// current "ocrp_cfg.ini": "Win:(l,t) (r,b) Ch:WxH WxH" when the file has a
// "SEARCH WINDOW" section with lines, else the percent lane
// "Mode(M UDLR:(up,down,left,right) Ch:WxH WxH". The same defaults apply as
// when the tools read the file.
std::string OcrCfgText(std::string_view ocrpCfgIni);
