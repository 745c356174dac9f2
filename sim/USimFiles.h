#pragma once
// A camera's files: the defaults a new camera holds, the listing it answers
// with, the backup archive it serves over HTTP, and the network settings it
// takes from "device.ini" when it starts.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "USimAddress.h"

// File name -> contents (8-bit bytes, kept exactly as written).
using TSimFiles = std::map<std::string, std::string>;

struct TSimFileIdentity {
  int32_t SerialNumber = 0;
  std::string HostName;  // UTF-8
  uint32_t IpAddress = 0, Netmask = 0, Gateway = 0, Dns = 0;
  bool Dhcp = false;
  int Lane = 1;
  bool PixelSearchWindow = false;  // "SEARCH WINDOW" in pixels instead of the percent lane
  std::string Country = "D";
};

TSimFiles DefaultFiles(const TSimFileIdentity& id);

// One line per file: eight characters (the size, right-aligned in seven, and
// a blank), then the name; lines end with LF.
std::string FileListing(const TSimFiles& files);

// A ustar archive of every file in name order, with fixed owner, mode and
// time, so the same files always give the same bytes.
std::vector<uint8_t> BackupArchive(const TSimFiles& files);

// The settings a camera starts with, read from its "device.ini"; a key that
// is missing or does not parse leaves its field empty.
struct TSimNetworkSettings {
  std::optional<uint32_t> IpAddress, Netmask, Gateway;
  std::optional<bool> Dhcp;
  std::optional<std::string> HostName;  // UTF-8
};
TSimNetworkSettings ReadNetworkSettings(const std::string& deviceIni);

// Adds the regular files of a folder to files, replacing those of the same
// name; names a camera would refuse are skipped. False with a message when the
// folder cannot be read.
bool LoadFilesFolder(const std::string& folder, TSimFiles& files, std::string& error);

// A file name a camera accepts for writing: not empty, no path separators,
// no control characters, at most 64 bytes.
bool IsValidFileName(const std::string& name);
