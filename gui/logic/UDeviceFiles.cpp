// Camera configuration files.

#include "UDeviceFiles.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "UIniText.h"

namespace {

constexpr std::string_view NetworkSection = "Network ETH_IMX_0";
constexpr std::string_view DeviceSection = "Device Parameters";
constexpr std::string_view SearchWindowSection = "SEARCH WINDOW";
constexpr std::string_view PlateLocatorSection = "PLATE LOCATOR";
constexpr std::string_view CharLimitsSection = "PLATE CHAR SIZE LIMITS";

unsigned char Fold(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

bool LessWithoutCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return Fold(static_cast<unsigned char>(x)) < Fold(static_cast<unsigned char>(y));
  });
}

}  // namespace

TLines ReplyTextLines(const uint8_t* bytes, size_t size) {
  if (!bytes || size == 0) return {};
  const uint8_t* end = std::find(bytes, bytes + size, uint8_t{0});
  return SplitLines(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(end - bytes)));
}

TLines FileContentsLines(const uint8_t* payload, size_t length) {
  if (!payload || length < 4) return {};
  const uint32_t n = static_cast<uint32_t>(payload[0]) | (static_cast<uint32_t>(payload[1]) << 8) |
                     (static_cast<uint32_t>(payload[2]) << 16) | (static_cast<uint32_t>(payload[3]) << 24);
  return ReplyTextLines(payload + 4, std::min<size_t>(n, length - 4));
}

TLines FileListLines(const uint8_t* payload, size_t length) { return ReplyTextLines(payload, length); }

TReadFileChoices ReadFileChoices(const TLines& listing, const std::string& lastReadFile) {
  TReadFileChoices c;
  for (const std::string& line : listing) {
    if (line.size() <= 8) continue;
    const std::string name(TrimIni(std::string_view(line).substr(8)));
    if (!name.empty() && name.find(".ini") != std::string::npos) c.Names.push_back(name);
  }
  std::stable_sort(c.Names.begin(), c.Names.end(), LessWithoutCase);
  for (size_t i = 0; i < c.Names.size(); ++i) {
    if (SameText(c.Names[i], lastReadFile)) {
      c.Index = static_cast<int>(i);
      break;
    }
  }
  return c;
}

std::string WriteFileText(const TLines& lines) { return JoinLines(lines, "\r\n"); }

TLines NetworkSettingsLines(const TLines& deviceIni, const TDeviceInfo& record) {
  TIniText ini(deviceIni);
  ini.WriteString(DeviceSection, "NetBiosName", record.HostName);
  ini.WriteString(NetworkSection, "IP", record.IpAddress);
  ini.WriteString(NetworkSection, "NetMask", record.Netmask);
  ini.WriteString(NetworkSection, "Gateway", record.Gateway);
  ini.WriteInteger(NetworkSection, "DHCP", record.Dhcp ? 1 : 0);
  return ini.Render();
}

TLines OcrSettingsLines(const TLines& ocrCfg, const TDeviceInfo& record) {
  TIniText ini(ocrCfg);
  const TSearchWindow& w = record.SearchWindow;
  if (w.Percent) {
    ini.WriteInteger(PlateLocatorSection, "PercLaneLeft", w.MinX);
    ini.WriteInteger(PlateLocatorSection, "PercLaneRight", w.MaxX);
    ini.WriteInteger(PlateLocatorSection, "PercLaneUp", w.MinY);
    ini.WriteInteger(PlateLocatorSection, "PercLaneDown", w.MaxY);
  } else {
    ini.WriteInteger(SearchWindowSection, "WinMinX", w.MinX);
    ini.WriteInteger(SearchWindowSection, "WinMinY", w.MinY);
    ini.WriteInteger(SearchWindowSection, "WinMaxX", w.MaxX);
    ini.WriteInteger(SearchWindowSection, "WinMaxY", w.MaxY);
  }
  const TCharSizeLimits& c = record.CharSizeLimits;
  ini.WriteInteger(CharLimitsSection, "CharMinWidth", c.MinWidth);
  ini.WriteInteger(CharLimitsSection, "CharMaxWidth", c.MaxWidth);
  ini.WriteInteger(CharLimitsSection, "CharMinHeight", c.MinHeight);
  ini.WriteInteger(CharLimitsSection, "CharMaxHeight", c.MaxHeight);
  return ini.Render();
}

TPlateLocator ReadPlateLocator(const TLines& ocrCfg) {
  const TIniText ini(ocrCfg);
  constexpr int32_t Far = std::numeric_limits<int32_t>::max();
  TPlateLocator p;
  TSearchWindow& w = p.SearchWindow;
  const TIniSection* pixels = ini.FindSection(SearchWindowSection);
  w.Percent = !pixels || pixels->Lines.empty();
  if (w.Percent) {
    w.MinX = ini.ReadInteger(PlateLocatorSection, "PercLaneLeft", 0);
    w.MaxX = ini.ReadInteger(PlateLocatorSection, "PercLaneRight", 100);
    w.MinY = ini.ReadInteger(PlateLocatorSection, "PercLaneUp", 0);
    w.MaxY = ini.ReadInteger(PlateLocatorSection, "PercLaneDown", 100);
  } else {
    w.MinX = ini.ReadInteger(SearchWindowSection, "WinMinX", 0);
    w.MinY = ini.ReadInteger(SearchWindowSection, "WinMinY", 0);
    w.MaxX = ini.ReadInteger(SearchWindowSection, "WinMaxX", Far);
    w.MaxY = ini.ReadInteger(SearchWindowSection, "WinMaxY", Far);
  }
  TCharSizeLimits& c = p.CharSizeLimits;
  c.MinWidth = ini.ReadInteger(CharLimitsSection, "CharMinWidth", 0);
  c.MaxWidth = ini.ReadInteger(CharLimitsSection, "CharMaxWidth", 0);
  c.MinHeight = ini.ReadInteger(CharLimitsSection, "CharMinHeight", 0);
  c.MaxHeight = ini.ReadInteger(CharLimitsSection, "CharMaxHeight", 0);
  return p;
}

std::string BackupFileName(const std::string& serialText) { return "ANPR_" + serialText + ".bin"; }
