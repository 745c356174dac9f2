#include "USimIds.h"

std::string SimMsgName(uint32_t msgNumber) {
  const char* name = nullptr;
  switch (msgNumber) {
    case MSG_DEVICE_INFO: name = "MSG_DEVICE_INFO"; break;
    case MSG_REBOOT: name = "MSG_REBOOT"; break;
    case MSG_READ_FILE: name = "MSG_READ_FILE"; break;
    case MSG_GET_ERRORS: name = "MSG_GET_ERRORS"; break;
    case MSG_ERASE_ERRORS: name = "MSG_ERASE_ERRORS"; break;
    case MSG_WRITE_FILE: name = "MSG_WRITE_FILE"; break;
    case MSG_LIST_FILES: name = "MSG_LIST_FILES"; break;
    case MSG_GET_IMAGE: name = "MSG_GET_IMAGE"; break;
    case MSG_SET_DATE_TIME: name = "MSG_SET_DATE_TIME"; break;
    case MSG_GET_DATE_TIME: name = "MSG_GET_DATE_TIME"; break;
    case MSG_TRANSIT: name = "MSG_TRANSIT"; break;
    default: return "message " + std::to_string(msgNumber);
  }
  return std::string(name) + "(" + std::to_string(msgNumber) + ")";
}
