// Builders of the requests the tools send.

#include "UMessages.h"

namespace {

TZudirirMsg Init(uint32_t number, uint32_t targetChannel) {
  TZudirirMsg msg;
  TFormZudirir::InitMsg(msg, number, targetChannel);
  return msg;
}

}  // namespace

const char* MsgName(uint32_t msgNumber) {
  switch (msgNumber) {
    case MSG_DEVICE_INFO: return "MSG_DEVICE_INFO";
    case MSG_REBOOT: return "MSG_REBOOT";
    case MSG_READ_FILE: return "MSG_READ_FILE";
    case MSG_GET_ERRORS: return "MSG_GET_ERRORS";
    case MSG_ERASE_ERRORS: return "MSG_ERASE_ERRORS";
    case MSG_WRITE_FILE: return "MSG_WRITE_FILE";
    case MSG_LIST_FILES: return "MSG_LIST_FILES";
    case MSG_GET_IMAGE: return "MSG_GET_IMAGE";
    case MSG_SET_DATE_TIME: return "MSG_SET_DATE_TIME";
    case MSG_GET_DATE_TIME: return "MSG_GET_DATE_TIME";
    case MSG_TRANSIT: return "MSG_TRANSIT";
    default: return "";
  }
}

TZudirirMsg BuildDeviceInfo() { return Init(MSG_DEVICE_INFO, 0); }

TZudirirMsg BuildReboot() { return Init(MSG_REBOOT, 0); }

TZudirirMsg BuildReadFile(const std::string& fileName) {
  TZudirirMsg msg = Init(MSG_READ_FILE, 0);
  TFormZudirir::AddString(msg, fileName);
  return msg;
}

TZudirirMsg BuildWriteFile(const std::string& fileName, const std::string& text) {
  TZudirirMsg msg = Init(MSG_WRITE_FILE, 0);
  TFormZudirir::AddString(msg, fileName);
  TFormZudirir::AddWord(msg, static_cast<uint32_t>(text.size()));  // the zero bytes are not counted
  TFormZudirir::AddString(msg, text);
  return msg;
}

TZudirirMsg BuildGetErrors() {
  TZudirirMsg msg = Init(MSG_GET_ERRORS, 0xFFFFFFFF);
  TFormZudirir::AddWord(msg, 100);
  return msg;
}

TZudirirMsg BuildEraseErrors() { return Init(MSG_ERASE_ERRORS, 0xFFFFFFFF); }

TZudirirMsg BuildListFiles() { return Init(MSG_LIST_FILES, 0); }

TZudirirMsg BuildGetImage(uint32_t channel) { return Init(MSG_GET_IMAGE, channel); }

TZudirirMsg BuildSetDateTime(TDateTime value) {
  const TDateTimeParts t = DecodeDateTime(value);
  TZudirirMsg msg = Init(MSG_SET_DATE_TIME, 0xFFFFFFFF);
  const uint32_t time[3] = {
      static_cast<uint32_t>(t.Day) + (static_cast<uint32_t>(t.Month) << 8) + (static_cast<uint32_t>(t.Year) << 16),
      static_cast<uint32_t>(t.Hour) + (static_cast<uint32_t>(t.Minute) << 16),
      static_cast<uint32_t>(t.Second) + (static_cast<uint32_t>(t.Millisecond) << 16),
  };
  const uint32_t zero = 0;
  TFormZudirir::AddParam(msg, PARAM_TIME, 3, time);
  TFormZudirir::AddParam(msg, PARAM_TIMEZONE, 1, &zero);
  TFormZudirir::AddParam(msg, PARAM_13210, 1, &zero);
  return msg;
}

TZudirirMsg BuildGetDateTime() { return Init(MSG_GET_DATE_TIME, 0xFFFFFFFF); }
