#pragma once
// Records shared by the protocol, the console tool, the test tool's logic and
// the simulated cameras. Texts are 8-bit texts in the tools' code page
// (see UCodePage.h); dates are TDateTime values (see UDateTime.h).

#include <cstdint>
#include <string>

#include "UDateTime.h"

struct TSearchWindow {
  int32_t MinX = 0;
  int32_t MinY = 0;
  int32_t MaxX = 0;
  int32_t MaxY = 0;
  bool Percent = false;  // edges are percentages of the picture's width / height
  bool operator==(const TSearchWindow&) const = default;
};

struct TCharSizeLimits {
  int32_t MinWidth = 0;
  int32_t MaxWidth = 0;
  int32_t MinHeight = 0;
  int32_t MaxHeight = 0;
  bool operator==(const TCharSizeLimits&) const = default;
};

// One camera as the test tool knows it.
struct TDeviceInfo {
  int32_t SerialNumber = 0;
  bool Dhcp = false;
  std::string MacAddress;   // "00-0A-1B-2C-3D-4E"
  std::string IpAddress;
  std::string Netmask;
  std::string Gateway;
  std::string HostName;
  std::string Description;
  TDateTime DeviceTime = 0.0;
  TSearchWindow SearchWindow;
  TCharSizeLimits CharSizeLimits;
};

// What a camera embeds in each picture it produces.
struct TImageInfo {
  std::string FirmwareVer;
  std::string NetbiosName;
  int32_t SerialNumber = 0;
  std::string Date;
  std::string Time;
  std::string Plate;
  int32_t NRead = 0;
  int32_t OcrScore = 0;
  int32_t JpegQuality = 0;
  int32_t Gain = 0;
  int32_t Shutter = 0;
  int32_t Strobo = 0;
  std::string ClassString;
  std::string OcrCfg;
  bool AllowEdit = false;     // captured on this tool's request
  bool AllowCapture = false;  // came from a camera
  int32_t PlateMinX = 0;
  int32_t PlateMinY = 0;
  int32_t PlateMaxX = 0;
  int32_t PlateMaxY = 0;
  TSearchWindow SearchWindow;
  TCharSizeLimits CharSizeLimits;
};
