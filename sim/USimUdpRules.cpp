#include "USimUdpRules.h"

bool TargetMacIsEveryDevice(const std::array<uint8_t, 8>& targetMac) {
  for (uint8_t b : targetMac)
    if (b != 0xFF) return false;
  return true;
}

bool TargetMacSelects(const std::array<uint8_t, 8>& targetMac, const TSimMac& own) {
  if (TargetMacIsEveryDevice(targetMac)) return true;
  for (int i = 0; i < 6; ++i)
    if (targetMac[i] != own[5 - i]) return false;
  return true;
}

TSimReplyRoute RouteReply(uint32_t cameraAddress, uint32_t cameraNetmask, uint32_t senderAddress,
                          uint16_t senderPort, uint32_t broadcastAddress) {
  if (SameSubnet(cameraAddress, senderAddress, cameraNetmask)) return {senderAddress, senderPort, false};
  return {broadcastAddress, senderPort, true};
}
