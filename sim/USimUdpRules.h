#pragma once
// Who acts on a UDP request and where the answer goes.

#include <array>
#include <cstdint>

#include "USimAddress.h"

// The TargetMAC of a request's fragment header selects this camera: eight
// 0xFF bytes name every camera, otherwise the first six bytes must be the
// camera's MAC, last octet first. Any other value selects no camera.
bool TargetMacSelects(const std::array<uint8_t, 8>& targetMac, const TSimMac& own);
bool TargetMacIsEveryDevice(const std::array<uint8_t, 8>& targetMac);

struct TSimReplyRoute {
  uint32_t Address = 0;
  uint16_t Port = 0;
  bool Broadcast = false;
};

// A camera answers the sender directly when the sender's address lies in the
// camera's own subnet. Otherwise it cannot route to it and answers by
// broadcast to the sender's port, which is how a camera with a wrong address
// can still be found and set up by its MAC.
TSimReplyRoute RouteReply(uint32_t cameraAddress, uint32_t cameraNetmask, uint32_t senderAddress,
                          uint16_t senderPort, uint32_t broadcastAddress);
