#pragma once
// A camera's error log and the fixed layout in which it reports it: a 104-byte
// header (firmware description, build date and time, counters, the number of
// entries) followed by 128-byte entries.

#include <cstdint>
#include <string>
#include <vector>

struct TSimErrorEntry {
  std::string Description;  // up to 64 bytes
  int32_t Code = 0;
  std::string SourceFile;   // up to 32 bytes
  int32_t SourceLine = 0;
  int32_t TimerMs = 0;
  int32_t FreeMemory = 0;
  int32_t UsedMemory = 0;
};

struct TSimErrorLog {
  std::string FirmwareDescription;  // up to 40 bytes
  std::string CompilationDate;      // up to 16 bytes
  std::string CompilationTime;      // up to 12 bytes
  int32_t TotalCount = 0;           // every error since the log was erased, listed or not
  int32_t BufferSize = 100;         // entries the camera keeps
  std::vector<TSimErrorEntry> Entries;  // newest first

  // Appends an entry as the newest, dropping the oldest beyond BufferSize.
  void Add(const TSimErrorEntry& entry);
  void Erase();
};

inline constexpr size_t ErrorHeaderSize = 104;
inline constexpr size_t ErrorEntrySize = 128;

// The reply payload: at most maxEntries entries (newest first). Texts longer
// than their field fill it without a zero byte.
std::vector<uint8_t> BuildErrorReport(const TSimErrorLog& log, uint32_t maxEntries, int32_t timerMs,
                                      int32_t freeMemory, int32_t usedMemory);

// A few plausible entries for a freshly started camera.
TSimErrorLog DefaultErrorLog(int cameraIndex, int entries, const std::string& firmware);
