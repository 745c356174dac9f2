#pragma once
// Numbers the simulated cameras answer to and the record identifiers they
// write. The message numbers are the tools' catalogue; the identifiers are the
// ones real cameras put in their replies and pushed messages.

#include <cstdint>
#include <string>

#include "UMessages.h"

// "MSG_DEVICE_INFO(4096)" for a catalogue number, "message 1234" for any other.
std::string SimMsgName(uint32_t msgNumber);

namespace SimId {
// Device identity and network (device information reply).
inline constexpr uint32_t SerialNumber = 12000;
inline constexpr uint32_t MacAddress = 12001;
inline constexpr uint32_t IpAddress = 12002;
inline constexpr uint32_t Netmask = 12003;
inline constexpr uint32_t Gateway = 12004;
inline constexpr uint32_t Dns = 12005;
inline constexpr uint32_t Dhcp = 12007;
inline constexpr uint32_t NetbiosName = 12008;
inline constexpr uint32_t Description = 12010;
inline constexpr uint32_t BoardCode = 12013;
inline constexpr uint32_t BoardRevision = 12014;
inline constexpr uint32_t Temperature = 12019;
inline constexpr uint32_t FpgaVersion = 12020;
inline constexpr uint32_t CpuUptime = 12021;
inline constexpr uint32_t MemoryTotal = 12022;
inline constexpr uint32_t MemoryUsed = 12023;
inline constexpr uint32_t MemoryFree = 12024;
inline constexpr uint32_t Time = 12026;
inline constexpr uint32_t DeviceStatus = 12033;
inline constexpr uint32_t NumHwChannel = 12040;
inline constexpr uint32_t DigitalInputNumber = 12041;
inline constexpr uint32_t DigitalOutputNumber = 12042;
inline constexpr uint32_t DigitalInputStatus = 12043;
inline constexpr uint32_t DigitalOutputStatus = 12044;
inline constexpr uint32_t CamSignature = 12518;
// Older firmware reports identity and network in the 10000 range instead.
inline constexpr uint32_t LegacySerialNumber = 0;
inline constexpr uint32_t LegacyMacAddress = 10000;
inline constexpr uint32_t LegacyIpAddress = 10001;
inline constexpr uint32_t LegacyNetmask = 10002;
inline constexpr uint32_t LegacyGateway = 10003;
inline constexpr uint32_t LegacyDhcp = 10006;
inline constexpr uint32_t LegacyNetbiosName = 10008;
inline constexpr uint32_t LegacyDescription = 10010;
inline constexpr uint32_t JpegQuality = 10015;
inline constexpr uint32_t Timezone = 10037;
inline constexpr uint32_t FirmwareVersionHigh = 10111;
inline constexpr uint32_t FirmwareVersionLow = 10112;
// Captured pictures.
inline constexpr uint32_t Image = 2000;
inline constexpr uint32_t ImageTime = 2001;
// Transit events.
inline constexpr uint32_t TrDate = 14000;
inline constexpr uint32_t TrTime = 14001;
inline constexpr uint32_t TrNetbiosName = 14002;
inline constexpr uint32_t TrPlate = 14003;
inline constexpr uint32_t TrPlateString = 14004;
inline constexpr uint32_t TrPlateCountry = 14005;
inline constexpr uint32_t TrNRead = 14006;
inline constexpr uint32_t TrTransitId = 14009;
inline constexpr uint32_t TrPlateMinX = 14010;
inline constexpr uint32_t TrPlateMinY = 14011;
inline constexpr uint32_t TrPlateMaxX = 14012;
inline constexpr uint32_t TrPlateMaxY = 14013;
inline constexpr uint32_t TrSpeed = 14014;
inline constexpr uint32_t TrClass = 14015;
inline constexpr uint32_t TrClassString = 14016;
inline constexpr uint32_t TrSerialNumber = 14017;
inline constexpr uint32_t TrDirection = 14018;
inline constexpr uint32_t TrImageBw = 14020;
inline constexpr uint32_t TrImageCol = 14021;
inline constexpr uint32_t TrOcrScore = 14022;
}  // namespace SimId

// Completion codes a simulated camera puts in Status.
namespace SimStatus {
inline constexpr uint32_t Ok = 0;
inline constexpr uint32_t Unsupported = 1;  // message number the camera does not serve
inline constexpr uint32_t BadRequest = 2;   // payload missing or malformed
inline constexpr uint32_t NoSuchFile = 3;   // file read of a name the camera does not hold
inline constexpr uint32_t BadValue = 4;     // an invalid date, channel or file name
}  // namespace SimStatus
