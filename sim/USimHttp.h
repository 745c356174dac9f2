#pragma once
// The cameras' HTTP backup download: GET "/cgi-bin/DozuConfig.bin" with basic
// authentication. The event loop accepts the connection; a worker thread then
// serves it with cpp-httplib from a snapshot of the camera taken at accept
// time, so no camera state is shared between threads.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class TSimLog;

inline constexpr const char* BackupPath = "/cgi-bin/DozuConfig.bin";

struct TSimBackupSnapshot {
  std::string CameraName;  // "cam 1 [127.0.0.11]" for the log
  std::string User;
  std::string Password;
  std::vector<uint8_t> Body;  // the backup archive
  bool Always401 = false;
  int64_t DelayMs = 0;
};

// True when an "Authorization" header value carries these basic credentials.
bool BasicAuthMatches(const std::string& header, const std::string& user, const std::string& password);
// Standard base64 decoding; false on characters outside the alphabet.
bool Base64Decode(const std::string& text, std::string& out);

// Serves one HTTP connection on a connected socket descriptor and closes it.
// Waits for a slow answer in small steps so that stopping stays quick.
void ServeBackupConnection(int fd, const TSimBackupSnapshot& snapshot, TSimLog& log,
                           const std::atomic<bool>& stopping);
