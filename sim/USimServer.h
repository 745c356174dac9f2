#pragma once
// The simulated cameras on the network: one Asio event loop serves every
// camera's UDP socket, TCP and HTTP listeners, the shared broadcast socket,
// the reboot timers and the event pushing. Requests are handled by the
// socket-free request handler; this file only moves bytes and keeps time.

#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <asio.hpp>

#include "USimCamera.h"
#include "USimOptions.h"
#include "USimReassembly.h"

class TSimLog;
namespace httplib {
class ThreadPool;
}

class TSimServer {
public:
  TSimServer(asio::io_context& io, const TSimOptions& options, const std::vector<TSimCameraConfig>& cameras,
             TSimLog& log);
  ~TSimServer();
  TSimServer(const TSimServer&) = delete;
  TSimServer& operator=(const TSimServer&) = delete;

  // Opens every socket and starts serving. Throws std::runtime_error that
  // names the address and port that could not be opened.
  void Start();
  // Closes every socket and timer and waits for the HTTP workers.
  void Stop();

  // The address the broadcast socket listens on.
  const std::string& BroadcastListenAddress() const { return BroadcastListen_; }

private:
  struct TNode;
  struct TTcpSession;
  struct TPusher;

  void OpenCamera(TNode& node, uint32_t address);
  void CloseCamera(TNode& node);
  void WaitUdp(asio::ip::udp::socket& socket, TNode* node);
  void DrainUdp(asio::ip::udp::socket& socket, TNode* node);
  void OnDatagram(TNode* node, const asio::ip::udp::endpoint& from, const uint8_t* data, size_t size);
  void AnswerUdp(TNode& node, const asio::ip::udp::endpoint& from, const std::vector<uint8_t>& request,
                 bool viaBroadcast);
  void AcceptTcp(TNode& node);
  void AcceptHttp(TNode& node);
  void BeginReboot(TNode& node);
  void FinishReboot(TNode& node);
  void StartPushers();
  void PushConnect(const std::shared_ptr<TPusher>& p);
  void PushTransit(const std::shared_ptr<TPusher>& p);
  void PushWrite(const std::shared_ptr<TPusher>& p, size_t index);
  void PushRetry(const std::shared_ptr<TPusher>& p, const std::string& why);
  uint32_t ReplyBroadcast(const TNode& node) const;
  bool TakesSender(const TNode& node, uint32_t sender) const;

  asio::io_context& Io_;
  TSimOptions Options_;
  TSimLog& Log_;
  std::vector<std::unique_ptr<TNode>> Nodes_;
  asio::ip::udp::socket Broadcast_;
  TSimReassembler BroadcastReassembler_;
  std::string BroadcastListen_;
  bool ReuseAddress_ = false;
  std::vector<uint8_t> Datagram_;
  std::mt19937 Spread_;
  std::vector<std::shared_ptr<TPusher>> Pushers_;
  std::unique_ptr<httplib::ThreadPool> HttpWorkers_;
  std::atomic<bool> Stopping_{false};
};

// Milliseconds of a steady clock, and the moment for the request handler.
int64_t SteadyMs();
TSimNow SimNow();
