#include "USimErrorLog.h"

#include <algorithm>
#include <cstring>

#include "UZudirir.h"

void TSimErrorLog::Add(const TSimErrorEntry& entry) {
  Entries.insert(Entries.begin(), entry);
  if (BufferSize >= 0 && Entries.size() > static_cast<size_t>(BufferSize))
    Entries.resize(static_cast<size_t>(BufferSize));
  ++TotalCount;
}

void TSimErrorLog::Erase() {
  Entries.clear();
  TotalCount = 0;
}

static void PutText(uint8_t* field, size_t size, const std::string& text) {
  std::memcpy(field, text.data(), std::min(size, text.size()));
}

static void PutInt(uint8_t* at, int32_t value) { WriteWordLE(at, static_cast<uint32_t>(value)); }

std::vector<uint8_t> BuildErrorReport(const TSimErrorLog& log, uint32_t maxEntries, int32_t timerMs,
                                      int32_t freeMemory, int32_t usedMemory) {
  const size_t n = std::min<size_t>(log.Entries.size(), maxEntries);
  std::vector<uint8_t> out(ErrorHeaderSize + n * ErrorEntrySize, 0);
  uint8_t* h = out.data();
  PutText(h + 0, 40, log.FirmwareDescription);
  PutText(h + 40, 16, log.CompilationDate);
  PutText(h + 56, 12, log.CompilationTime);
  PutInt(h + 68, log.TotalCount);
  PutInt(h + 72, log.BufferSize);
  PutInt(h + 76, timerMs);
  PutInt(h + 80, freeMemory);
  PutInt(h + 84, usedMemory);
  PutInt(h + 100, static_cast<int32_t>(n));
  for (size_t i = 0; i < n; ++i) {
    const TSimErrorEntry& e = log.Entries[i];
    uint8_t* p = h + ErrorHeaderSize + i * ErrorEntrySize;
    PutText(p + 0, 64, e.Description);
    PutInt(p + 64, e.Code);
    PutText(p + 68, 32, e.SourceFile);
    PutInt(p + 100, e.SourceLine);
    PutInt(p + 104, e.TimerMs);
    PutInt(p + 108, e.FreeMemory);
    PutInt(p + 112, e.UsedMemory);
  }
  return out;
}

TSimErrorLog DefaultErrorLog(int cameraIndex, int entries, const std::string& firmware) {
  static const TSimErrorEntry kinds[] = {
      {"Trigger input timeout", 0x0301, "trigger.c", 412, 0, 0, 0},
      {"FTP upload failed: connection refused", 0x0702, "ftp_client.c", 88, 0, 0, 0},
      {"OCR engine restarted after watchdog", 0x0410, "ocr_task.c", 1290, 0, 0, 0},
      {"Strobe current above limit", 0x0205, "strobe.c", 57, 0, 0, 0},
      {"NTP server not reachable", 0x0803, "timesync.c", 230, 0, 0, 0},
      {"Event server connection lost", 0x0901, "push.c", 316, 0, 0, 0},
      {"Flash write retried", 0x0102, "flash.c", 744, 0, 0, 0},
  };
  TSimErrorLog log;
  log.FirmwareDescription = "DOZU ANPR firmware " + firmware;
  log.CompilationDate = "Mar 14 2024";
  log.CompilationTime = "10:22:31";
  // Older errors that fell out of the list still count, as on a camera that
  // has been running for a while.
  log.TotalCount = 9 + cameraIndex % 5;
  const int kindCount = static_cast<int>(std::size(kinds));
  int32_t timer = 3600000 + cameraIndex * 1000;
  for (int i = 0; i < entries; ++i) {
    TSimErrorEntry e = kinds[(cameraIndex + i) % kindCount];
    timer += 600000 + 37000 * i;
    e.TimerMs = timer;
    e.FreeMemory = 187000000 - 20000 * i;
    e.UsedMemory = 81000000 + 20000 * i;
    log.Add(e);
  }
  return log;
}
