#pragma once
// What a camera answers to one request. Takes the request's bytes (header and
// payload, however they arrived) and gives the reply message; the sockets
// only carry bytes in and out. Every read is bounded by the bytes given.

#include <cstddef>
#include <cstdint>
#include <string>

#include "UZudirir.h"
#include "USimCamera.h"

enum class TSimTransport { Udp, Tcp };

struct TSimAnswer {
  bool Reply = false;   // false: the bytes were no request (too short, wrong header size)
  TZudirirMsg Message;  // the reply
  std::string Request;  // "MSG_DEVICE_INFO(4096)"
  std::string Summary;  // what the reply says, for the log
  bool Reboot = false;  // go down once the reply has left
};

// Rebooting takes the camera off the network; the server brings it back.
TSimAnswer HandleRequest(TSimCamera& camera, const uint8_t* request, size_t size, TSimTransport transport,
                         const TSimNow& now);
