#pragma once
// The camera's configuration backup over HTTP: one GET of
// "/cgi-bin/DozuConfig.bin" with basic authentication, the body kept byte for
// byte. A new client is made for every attempt. Credentials go into the
// request's "Authorization" header and nowhere else: no message, file or
// log ever carries them.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "UErrors.h"

// An HTTP answer other than success, with its status line as the message
// ("HTTP/1.1 401 Unauthorized").
class EHttpError : public EZudirirError {
public:
  EHttpError(int status, const std::string& message) : EZudirirError("EHttpError", message), Status(status) {}
  int Status;
};

inline constexpr const char* BackupPath = "/cgi-bin/DozuConfig.bin";

// Limits that keep a silent or runaway camera from holding the window:
// connecting, each wait for more bytes of the answer, sending the request,
// the whole transfer, and the size of the body.
struct TBackupLimits {
  std::chrono::milliseconds Connect{5000};
  std::chrono::milliseconds Read{10000};
  std::chrono::milliseconds Write{5000};
  std::chrono::milliseconds Transfer{120000};
  uint64_t MaxBytes = 256ull * 1024 * 1024;
};

// The body of a 2xx answer. Throws EConnectError (no connection), EReadTimeout
// (the answer stopped coming or broke off), EHttpError (an HTTP error status)
// or ESocketError (anything else); the messages name host and port only.
std::vector<uint8_t> DownloadBackup(const std::string& host, uint16_t port, const std::string& userName,
                                    const std::string& password, const TBackupLimits& limits = {});
