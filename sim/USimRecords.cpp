#include "USimRecords.h"

void AddIntRecord(TZudirirMsg& msg, uint32_t id, int32_t value) {
  const uint32_t word = static_cast<uint32_t>(value);
  TFormZudirir::AddParam(msg, id, 1, &word);
}

void AddIPv4Record(TZudirirMsg& msg, uint32_t id, uint32_t address) {
  TFormZudirir::AddParam(msg, id, 1, &address);
}

void AddMacRecord(TZudirirMsg& msg, uint32_t id, const TSimMac& mac) {
  uint8_t value[8] = {};
  for (int i = 0; i < 6; ++i) value[i] = mac[5 - i];
  AddBytesRecord(msg, id, value, sizeof value);
}

void AddTextRecord(TZudirirMsg& msg, uint32_t id, std::string_view utf8) {
  TFormZudirir::AddWord(msg, id);
  TFormZudirir::AddWord(msg, static_cast<uint32_t>(utf8.size() + 1));
  // AddString writes the bytes, the zero byte and the filler.
  TFormZudirir::AddString(msg, utf8);
}

void AddRawBytes(TZudirirMsg& msg, const uint8_t* data, size_t size) {
  const size_t words = (size + 3) / 4;
  msg.Payload.reserve(msg.Payload.size() + words);
  for (size_t w = 0; w < words; ++w) {
    uint32_t word = 0;
    for (size_t b = 0; b < 4 && w * 4 + b < size; ++b)
      word |= static_cast<uint32_t>(data[w * 4 + b]) << (8 * b);
    TFormZudirir::AddWord(msg, word);
  }
}

void AddBytesRecord(TZudirirMsg& msg, uint32_t id, const uint8_t* data, size_t size) {
  TFormZudirir::AddWord(msg, id);
  TFormZudirir::AddWord(msg, static_cast<uint32_t>(size));
  AddRawBytes(msg, data, size);
}

void AddDateTimeRecord(TZudirirMsg& msg, uint32_t id, const TDateTimeParts& p) {
  const uint32_t words[3] = {
      static_cast<uint32_t>(p.Day) | (static_cast<uint32_t>(p.Month) << 8) |
          (static_cast<uint32_t>(p.Year) << 16),
      static_cast<uint32_t>(p.Hour) | (static_cast<uint32_t>(p.Minute) << 16),
      static_cast<uint32_t>(p.Second) | (static_cast<uint32_t>(p.Millisecond) << 16)};
  TFormZudirir::AddParam(msg, id, 3, words);
}
