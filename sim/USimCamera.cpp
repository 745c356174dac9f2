#include "USimCamera.h"

#include <cstdio>

std::string TSimCameraConfig::FirmwareText() const {
  return std::to_string(FirmwareMajor) + "." + std::to_string(FirmwareMinor) + "." + std::to_string(FirmwareBuild);
}

TSimCameraConfig DefaultCameraConfig(int index, int32_t firstSerial, uint32_t firstIp, uint32_t netmask,
                                     uint32_t gateway) {
  static const char* const Countries[] = {"D", "F", "I", "NL", "A", "CH", "B", "PL"};
  TSimCameraConfig c;
  c.Number = index + 1;
  c.SerialNumber = firstSerial + index;
  const uint32_t n = static_cast<uint32_t>(index) + 1;
  c.Mac = {0x02, 0x0A, 0x1B, static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
  c.IpAddress = firstIp + static_cast<uint32_t>(index);
  c.Netmask = netmask;
  c.Gateway = gateway;
  c.Dns = gateway;
  char name[32];
  std::snprintf(name, sizeof name, "DOZU-%d", c.SerialNumber);
  c.HostName = name;
  c.Description = "DOZU camera, lane " + std::to_string(index + 1);
  c.FirmwareBuild = 1187 + index % 3;
  // Clocks of cameras in the field drift apart by a few seconds.
  c.ClockOffsetSeconds = static_cast<double>((index * 7) % 23) - 11.0;
  c.PixelSearchWindow = index % 2 == 1;
  c.Country = Countries[index % 8];
  return c;
}

TSimFileIdentity FileIdentityOf(const TSimCameraConfig& c) {
  TSimFileIdentity id;
  id.SerialNumber = c.SerialNumber;
  id.HostName = c.HostName;
  id.IpAddress = c.IpAddress;
  id.Netmask = c.Netmask;
  id.Gateway = c.Gateway;
  id.Dns = c.Dns;
  id.Dhcp = c.Dhcp;
  id.Lane = c.Number;
  id.PixelSearchWindow = c.PixelSearchWindow;
  id.Country = c.Country;
  return id;
}

TSimCamera::TSimCamera(const TSimCameraConfig& config, TSimFiles files, int64_t nowMs)
    : Config(config), Files(std::move(files)), BootMs_(nowMs) {
  ErrorLog = DefaultErrorLog(config.Number - 1, config.ErrorEntries, config.FirmwareText());
  ClockOffsetDays_ = config.ClockOffsetSeconds / 86400.0;
  Random_ = static_cast<uint32_t>(config.SerialNumber) * 2654435761u + 12345u;
  if (Random_ == 0) Random_ = 1;
}

TDateTime TSimCamera::Clock(TDateTime pcNow) const { return pcNow + ClockOffsetDays_; }

void TSimCamera::SetClock(TDateTime value, TDateTime pcNow) { ClockOffsetDays_ = value - pcNow; }

void TSimCamera::BeginReboot() { Down_ = true; }

std::string TSimCamera::FinishReboot(int64_t nowMs) {
  Down_ = false;
  BootMs_ = nowMs;
  std::string changes;
  auto it = Files.find("device.ini");
  if (it == Files.end()) return "no device.ini, settings kept";
  const TSimNetworkSettings s = ReadNetworkSettings(it->second);
  auto note = [&](const char* what, const std::string& from, const std::string& to) {
    if (from == to) return;
    if (!changes.empty()) changes += ", ";
    changes += std::string(what) + " " + from + " -> " + to;
  };
  if (s.IpAddress) {
    note("IP", FormatIPv4(Config.IpAddress), FormatIPv4(*s.IpAddress));
    Config.IpAddress = *s.IpAddress;
  }
  if (s.Netmask) {
    note("netmask", FormatIPv4(Config.Netmask), FormatIPv4(*s.Netmask));
    Config.Netmask = *s.Netmask;
  }
  if (s.Gateway) {
    note("gateway", FormatIPv4(Config.Gateway), FormatIPv4(*s.Gateway));
    Config.Gateway = *s.Gateway;
  }
  if (s.Dhcp) {
    note("DHCP", Config.Dhcp ? "1" : "0", *s.Dhcp ? "1" : "0");
    Config.Dhcp = *s.Dhcp;
  }
  if (s.HostName) {
    note("host name", Config.HostName, *s.HostName);
    Config.HostName = *s.HostName;
  }
  return changes.empty() ? "settings unchanged" : changes;
}

uint32_t TSimCamera::NextRandom() {
  // xorshift32: cheap, and the same serial always gives the same sequence
  uint32_t x = Random_;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  Random_ = x;
  return x;
}

std::string TSimCamera::NextPlate() {
  static const char Letters[] = "ABCDEFGHJKLMNPRSTVWXYZ";
  const size_t nLetters = sizeof Letters - 1;
  std::string plate;
  for (int i = 0; i < 2; ++i) plate += Letters[NextRandom() % nLetters];
  for (int i = 0; i < 3; ++i) plate += static_cast<char>('0' + NextRandom() % 10);
  for (int i = 0; i < 2; ++i) plate += Letters[NextRandom() % nLetters];
  return plate;
}

int32_t TSimCamera::Temperature(int64_t nowMs) const {
  return 38 + Config.Number % 7 + static_cast<int32_t>((UptimeMs(nowMs) / 60000) % 4);
}

int32_t TSimCamera::MemoryUsed(int64_t nowMs) const {
  return 81000000 + static_cast<int32_t>((UptimeMs(nowMs) / 1000) % 4096) * 1024;
}
