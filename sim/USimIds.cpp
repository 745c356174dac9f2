#include "USimIds.h"

std::string SimMsgName(uint32_t msgNumber) {
  const char* name = MsgName(msgNumber);
  if (name == nullptr || *name == 0) return "message " + std::to_string(msgNumber);
  return std::string(name) + "(" + std::to_string(msgNumber) + ")";
}
