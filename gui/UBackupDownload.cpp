// HTTP backup download with cpp-httplib.

#include "UBackupDownload.h"

#include <httplib.h>

namespace {

std::string Where(const std::string& host, uint16_t port) { return host + ":" + std::to_string(port); }

}  // namespace

std::vector<uint8_t> DownloadBackup(const std::string& host, uint16_t port, const std::string& userName,
                                    const std::string& password, const TBackupLimits& limits) {
  httplib::Client client(host, port);
  client.set_connection_timeout(limits.Connect);
  client.set_read_timeout(limits.Read);
  client.set_write_timeout(limits.Write);
  client.set_keep_alive(false);
  client.set_follow_location(false);

  // Sent even when both texts are empty (the client would leave it out).
  httplib::Headers headers{httplib::make_basic_authentication_header(userName, password)};

  int status = 0;
  std::string statusLine;
  enum class TStop { None, TooLong, TooLarge } stop = TStop::None;
  std::vector<uint8_t> body;
  const auto started = std::chrono::steady_clock::now();

  const httplib::Result result = client.Get(
      BackupPath, headers,
      [&](const httplib::Response& response) {
        status = response.status;
        statusLine = response.version + " " + std::to_string(response.status) + " " + response.reason;
        // An error answer's body is of no use: stop before reading it.
        return response.status >= 200 && response.status < 300;
      },
      [&](const char* data, size_t size) {
        if (body.size() + size > limits.MaxBytes) {
          stop = TStop::TooLarge;
          return false;
        }
        if (std::chrono::steady_clock::now() - started > limits.Transfer) {
          stop = TStop::TooLong;
          return false;
        }
        body.insert(body.end(), reinterpret_cast<const uint8_t*>(data), reinterpret_cast<const uint8_t*>(data) + size);
        return true;
      });

  if (result && result.error() == httplib::Error::Success) return body;
  if (status != 0 && (status < 200 || status >= 300)) throw EHttpError(status, statusLine);
  switch (stop) {
    case TStop::TooLarge:
      throw ESocketError("Backup from " + Where(host, port) + " is larger than " + std::to_string(limits.MaxBytes) +
                         " bytes; download stopped.");
    case TStop::TooLong:
      throw EReadTimeout("Backup download from " + Where(host, port) + " took longer than " +
                         std::to_string(limits.Transfer.count() / 1000) + " s; download stopped.");
    case TStop::None:
      break;
  }
  switch (result.error()) {
    case httplib::Error::Connection:
    case httplib::Error::ConnectionTimeout:
    case httplib::Error::BindIPAddress:
      throw EConnectError("Could not connect to " + Where(host, port) + ".");
    case httplib::Error::Read:
      throw EReadTimeout("No complete answer from " + Where(host, port) + " (read timed out or connection closed).");
    case httplib::Error::Write:
      throw ESocketError("Could not send the request to " + Where(host, port) + ".");
    default:
      throw ESocketError("Backup download from " + Where(host, port) + " failed (" +
                         httplib::to_string(result.error()) + ").");
  }
}
