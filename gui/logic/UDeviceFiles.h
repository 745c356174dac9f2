#pragma once
// The camera's configuration files as the tool lists, reads, edits and writes
// them: reply texts into lines, the "Read file" choice list, the edits that
// "device.ini" and "ocrp_cfg.ini" get, and the plate locator settings read
// back from "ocrp_cfg.ini". Texts are 8-bit, taken without decoding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "UTypes.h"

using TLines = std::vector<std::string>;

// The bytes as 8-bit text up to the first zero byte or size, split at CR, LF
// and CR LF; a final line break adds no empty line.
TLines ReplyTextLines(const uint8_t* bytes, size_t size);
// Reply to MSG_READ_FILE: a size word n, then n bytes of the file (never more
// than the payload holds).
TLines FileContentsLines(const uint8_t* payload, size_t length);
// Reply to MSG_LIST_FILES: the whole payload is the listing.
TLines FileListLines(const uint8_t* payload, size_t length);

// The "Read file" choices: each listing line without its first eight
// characters, trimmed, kept when it contains ".ini" (exact case), sorted
// without regard to case; Index is the position of lastReadFile (compared
// without case) or -1.
struct TReadFileChoices {
  TLines Names;
  int Index = -1;
};
TReadFileChoices ReadFileChoices(const TLines& listing, const std::string& lastReadFile);

// What MSG_WRITE_FILE sends: every line followed by CR LF, the last included.
std::string WriteFileText(const TLines& lines);

// "device.ini" after setting the host name, addresses and DHCP of record;
// sections, keys and their order stay, comments and blank lines go.
TLines NetworkSettingsLines(const TLines& deviceIni, const TDeviceInfo& record);
// "ocrp_cfg.ini" after setting the search window (in "PLATE LOCATOR" when it
// is in percent, else in "SEARCH WINDOW") and the character size limits.
TLines OcrSettingsLines(const TLines& ocrCfg, const TDeviceInfo& record);

// The search window and character size limits in "ocrp_cfg.ini". Without a
// "SEARCH WINDOW" section holding a line the window is in percent, from
// "PLATE LOCATOR" (defaults 0, 100, 0, 100); else in pixels (defaults 0, 0
// and 2147483647 for the right and bottom edges). Limits default to 0.
struct TPlateLocator {
  TSearchWindow SearchWindow;
  TCharSizeLimits CharSizeLimits;
};
TPlateLocator ReadPlateLocator(const TLines& ocrCfg);

// File name proposed for a configuration backup: "ANPR_" + serial + ".bin".
std::string BackupFileName(const std::string& serialText);
