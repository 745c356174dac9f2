#pragma once
// The test tool's settings file: INI text beside the program, named like the
// program file with ".ini" (Lumidor.exe has Lumidor.ini), one section
// "options" with "port" (event server port, default 32000) and "path" (the
// folder for saved pictures, default empty). Read once at start, written once
// at close; other keys and sections in the file are kept.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int32_t DefaultServerPort = 32000;

struct TSettings {
  int32_t Port = DefaultServerPort;
  std::string SaveFolder;
  bool operator==(const TSettings&) const = default;
};

// The program file's name with its extension replaced by ".ini" (added when
// the name has none, as on POSIX systems).
std::string SettingsFileName(const std::string& programFile);

// From the file's lines: "port" in decimal (optional sign) or hexadecimal
// with "0x" or "$", else the default; "path" as it stands.
TSettings ParseSettings(const std::vector<std::string>& lines);
// The file's lines with "port" and "path" set; everything else stays.
std::vector<std::string> RenderSettings(const std::vector<std::string>& existing, const TSettings& settings);

// A missing or unreadable file reads as all defaults.
TSettings LoadSettings(const std::string& fileName);
// Creates the file when missing. Throws EFileError when it cannot be written.
void SaveSettings(const std::string& fileName, const TSettings& settings);
