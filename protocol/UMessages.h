#pragma once
// The catalogue of messages the tools exchange with cameras: numbers, and one
// builder per request so features build requests by name.

#include <cstdint>
#include <string>

#include "UDateTime.h"
#include "UZudirir.h"

inline constexpr uint32_t MSG_DEVICE_INFO = 4096;     // UDP, records of identity and network
inline constexpr uint32_t MSG_REBOOT = 4098;          // UDP
inline constexpr uint32_t MSG_READ_FILE = 4100;       // UDP, reply without records
inline constexpr uint32_t MSG_GET_ERRORS = 4118;      // UDP, reply without records
inline constexpr uint32_t MSG_ERASE_ERRORS = 4119;    // UDP, reply without records
inline constexpr uint32_t MSG_WRITE_FILE = 4120;      // UDP
inline constexpr uint32_t MSG_LIST_FILES = 4126;      // UDP, reply without records
inline constexpr uint32_t MSG_GET_IMAGE = 25166;      // TCP
inline constexpr uint32_t MSG_SET_DATE_TIME = 26010;  // TCP
inline constexpr uint32_t MSG_GET_DATE_TIME = 26011;  // TCP
inline constexpr uint32_t MSG_TRANSIT = 40000;        // pushed by cameras to the event server

// Identifiers the tools send.
inline constexpr uint32_t PARAM_TIME = 12026;
inline constexpr uint32_t PARAM_TIMEZONE = 10037;
inline constexpr uint32_t PARAM_13210 = 13210;

// How many silent 100 ms polls the UDP exchange listens for, per request.
inline constexpr int WAIT_DEVICE_SEARCH = 10;
inline constexpr int WAIT_LIST_FILES = 3;
inline constexpr int WAIT_SINGLE_REPLY = 1;

// Image channels of MSG_GET_IMAGE.
inline constexpr uint32_t CHANNEL_BW = 0;
inline constexpr uint32_t CHANNEL_COLOUR = 1;

// The name of a message number ("MSG_DEVICE_INFO"), or empty for others.
const char* MsgName(uint32_t msgNumber);

TZudirirMsg BuildDeviceInfo();
TZudirirMsg BuildReboot();
TZudirirMsg BuildReadFile(const std::string& fileName);
// text: the file text as it is to be stored (lines ended by CR LF), 8-bit.
TZudirirMsg BuildWriteFile(const std::string& fileName, const std::string& text);
TZudirirMsg BuildGetErrors();
TZudirirMsg BuildEraseErrors();
TZudirirMsg BuildListFiles();
TZudirirMsg BuildGetImage(uint32_t channel);
// The clock to set, milliseconds included.
TZudirirMsg BuildSetDateTime(TDateTime value);
TZudirirMsg BuildGetDateTime();
