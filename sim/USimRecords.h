#pragma once
// Parameter records as a camera writes them into its replies and pushed
// messages, appended with the protocol builder. Every record carries the exact
// byte length of its value; the value is filled with zero bytes up to the
// next word.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "UDateTime.h"
#include "UZudirir.h"
#include "USimAddress.h"

void AddIntRecord(TZudirirMsg& msg, uint32_t id, int32_t value);
// One word whose most significant byte is the first octet.
void AddIPv4Record(TZudirirMsg& msg, uint32_t id, uint32_t address);
// Eight bytes: the six octets last octet first, then two zero bytes.
void AddMacRecord(TZudirirMsg& msg, uint32_t id, const TSimMac& mac);
// UTF-8 text and its zero byte.
void AddTextRecord(TZudirirMsg& msg, uint32_t id, std::string_view utf8);
void AddBytesRecord(TZudirirMsg& msg, uint32_t id, const uint8_t* data, size_t size);
// Three words: day | month << 8 | year << 16, hour | minute << 16,
// second | millisecond << 16.
void AddDateTimeRecord(TZudirirMsg& msg, uint32_t id, const TDateTimeParts& parts);
// Bytes straight into the payload (replies without records), zero-filled to
// the next word.
void AddRawBytes(TZudirirMsg& msg, const uint8_t* data, size_t size);
