#pragma once
// One simulated camera: its identity and network settings, clock, files,
// error log and counters. Plain state, driven by the request handler and the
// server; time comes in as arguments so every rule is tested without a clock.

#include <cstdint>
#include <string>
#include <vector>

#include "UDateTime.h"
#include "USimAddress.h"
#include "USimErrorLog.h"
#include "USimFaults.h"
#include "USimFiles.h"

// The moment a request is handled: the PC's wall clock and a steady
// millisecond count for uptimes and timers.
struct TSimNow {
  TDateTime Wall = 0.0;
  int64_t SteadyMs = 0;
};

struct TSimCameraConfig {
  int Number = 1;  // 1-based, as the log and the fault switches name cameras
  int32_t SerialNumber = 0;
  TSimMac Mac{};
  uint32_t IpAddress = 0, Netmask = 0, Gateway = 0, Dns = 0;
  uint32_t BindAddress = 0;  // where its sockets listen; 0: its IP address
  bool Dhcp = false;
  std::string HostName;     // UTF-8
  std::string Description;  // UTF-8
  int FirmwareMajor = 4, FirmwareMinor = 2, FirmwareBuild = 1187;
  double ClockOffsetSeconds = 0.0;
  std::string HttpUser = "fieldtech";
  std::string HttpPassword = "fieldtech";
  int ErrorEntries = 3;
  bool LegacyIds = false;  // identity in the 10000 range, as older firmware sends it
  bool PixelSearchWindow = false;
  std::string Country = "D";
  std::string FilesFolder;  // files read from this folder replace the defaults
  std::vector<TSimFault> Faults;

  std::string FirmwareText() const;  // "4.2.1187"
  uint32_t ListenAddress() const { return BindAddress ? BindAddress : IpAddress; }
};

// Distinct, realistic identities: serials from firstSerial, MACs from a
// locally administered prefix, consecutive addresses from firstIp.
TSimCameraConfig DefaultCameraConfig(int index, int32_t firstSerial, uint32_t firstIp, uint32_t netmask,
                                     uint32_t gateway);

class TSimCamera {
public:
  TSimCamera(const TSimCameraConfig& config, TSimFiles files, int64_t nowMs);

  TSimCameraConfig Config;  // network fields change when a reboot takes "device.ini"
  TSimFiles Files;
  TSimErrorLog ErrorLog;

  // The camera's clock: the PC's clock plus an offset that setting the time moves.
  TDateTime Clock(TDateTime pcNow) const;
  void SetClock(TDateTime value, TDateTime pcNow);
  int64_t UptimeMs(int64_t nowMs) const { return nowMs - BootMs_; }

  bool IsDown() const { return Down_; }
  void BeginReboot();
  // Starts again with the settings of "device.ini"; returns what changed, for the log.
  std::string FinishReboot(int64_t nowMs);

  // A new plate text for the next picture or transit, and counters.
  std::string NextPlate();
  uint32_t NextRandom();
  int32_t NextReadNumber() { return ++NRead_; }
  int32_t NextTransitId() { return ++TransitId_; }

  // Readings that vary a little over time.
  int32_t Temperature(int64_t nowMs) const;
  int32_t MemoryTotal() const { return 268435456; }
  int32_t MemoryUsed(int64_t nowMs) const;

private:
  int64_t BootMs_ = 0;
  bool Down_ = false;
  double ClockOffsetDays_ = 0.0;
  int32_t NRead_ = 0;
  int32_t TransitId_ = 0;
  uint32_t Random_ = 0;
};

TSimFileIdentity FileIdentityOf(const TSimCameraConfig& config);
